#pragma once
// Writing a table as a real .xlsx spreadsheet: numbers as numbers (with their
// display format), dates as dates, texts as texts, a bold title row.

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

namespace tarvex {

struct SheetColumn {
    enum class Kind { Text, Number, Date };
    QString title;
    Kind kind = Kind::Text;
    // The column's display format ("#,##0.00", "0.00 %", "0.###"); empty: general.
    QString numberFormat;
};

struct SheetTable {
    QString sheetName;
    QList<SheetColumn> columns;
    QVector<QVector<QVariant>> rows;
};

// Writes the table; returns false and the reason when the file cannot be made.
bool writeSpreadsheet(const SheetTable& table, const QString& fileName, QString* error = nullptr);

// The spreadsheet's number format for one of the module's display formats.
// Literal text is quoted; "%" stays a literal sign, nothing is multiplied.
QString spreadsheetNumberFormat(const QString& displayFormat);
// The format for the whole numbers of a column whose decimals are all
// optional ("#,##0.######" gives "#,##0"); empty for other formats.
QString wholeNumberFormat(const QString& displayFormat);

} // namespace tarvex
