#pragma once
// The frame the ware history and the stock history share: a date range with
// pickers, "&Prikaži", a read-only grid on the window's in-memory table, and
// "Š&tampaj" / "&Zatvori". Both look at one product in one warehouse.

#include "Reportdates.h"
#include "Reportwindow.h"
#include "Reportworker.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tarvex {
class DBGrid;
class MemoryTable;
} // namespace tarvex

namespace products {

// The product and warehouse a history is about.
struct THistorySubject {
    qint64 productId = 0;
    QString productName;
    QString productCode;
    qint64 warehouseId = 0;
    QString warehouseName;

    // The data module's current product and the current row of its
    // per-warehouse stock list.
    static THistorySubject FromDataModule();
};

class THistoryWindow : public TReportWindow {
    Q_OBJECT
public:
    THistoryWindow(const QString& caption, const THistorySubject& subject, QWidget* parent);

    const THistorySubject& subject() const { return m_subject; }
    QLineEdit* FromDateEdit() const { return m_dates.from; }
    QLineEdit* ToDateEdit() const { return m_dates.to; }
    QPushButton* FromDateButton() const { return m_dates.fromButton; }
    QPushButton* ToDateButton() const { return m_dates.toButton; }
    QPushButton* FindButton() const { return m_find; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* CloseButton() const { return m_close; }
    tarvex::DBGrid* DBG() const { return m_grid; }
    tarvex::MemoryTable* CDS() const { return m_table; }

    // "Od datuma <start>" and "Do datuma <end>" on two lines, as typed.
    QString GetPrintHeader() const;
    // Caption, product name, code and warehouse name: the printout's title.
    QString PrintTitle() const;

    // The range's dates for the statements; a text that is no date refuses the run.
    QString FromDateText() const { return ReportDateText(m_dates.from); }
    QString ToDateText() const { return ReportDateText(m_dates.to); }
    virtual void FindButtonClick() = 0;
    virtual void PrintButtonClick() = 0;
    virtual void DBGDblClick() = 0;

protected:
    // Set up by the windows: the table's fields, then the grid on it.
    void showTable();
    QHBoxLayout* topRow() const { return m_topRow; }
    QVBoxLayout* mainLayout() const { return m_layout; }
    // Reads on the worker, the window answering; false when "Prekini" stopped it.
    bool runOnWorker(const TReportWorker::Work& work);

private:
    THistorySubject m_subject;
    TDateRange m_dates;
    QPushButton* m_find = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::MemoryTable* m_table = nullptr;
    QHBoxLayout* m_topRow = nullptr;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace products
