#pragma once
// Reports of datasets: the stock card through the print engine, and any
// dataset written as a spreadsheet.

#include "GridPrint.h"
#include "SpreadsheetExport.h"

#include <QObject>
#include <QStringList>

namespace tarvex {

class DataSet;

// A print job of a dataset's visible fields, in its current order, with the
// fields' display texts.
PrintJob printJobFromDataSet(const DataSet& dataSet, const QString& title, const QStringList& headerLines);

// The dataset as a sheet: its fields, in its current sort order, numbers as
// numbers with their display formats, dates as dates, the rest as shown.
SheetTable sheetFromDataSet(const DataSet& dataSet);

// Writes the dataset as a spreadsheet; throws a File error with the reason
// as its detail when the file cannot be written.
void ExportDataSet(const DataSet& dataSet, const QString& fileName);

class TReportEngine : public QObject {
    Q_OBJECT
public:
    explicit TReportEngine(QObject* parent = nullptr);

    // The stock card: the title, the header lines and the product's name and
    // code (from the current row of `product`) above the card's rows; shown
    // in the print preview, from where it prints or goes to PDF.
    void ExecuteStockCardReport(const DataSet& card, const DataSet& product, const QString& title,
                                const QStringList& headerLines);

    // The job the stock card prints (what the preview shows).
    static PrintJob stockCardJob(const DataSet& card, const DataSet& product, const QString& title,
                                 const QStringList& headerLines);
};

} // namespace tarvex
