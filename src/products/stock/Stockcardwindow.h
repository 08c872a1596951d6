#pragma once
// The frame of the inventories read from the stock cards up to a date: "Do
// datuma" with its date picker and "&Prikaži" on top, a read-only grid on the
// window's in-memory table in the middle, "Š&tampaj" and "&Zatvori" below.
// The products to value come from the window's product list, read once when
// the window opens. A click on a column title switches the table between the
// ascending and the descending order of that column.

#include "Reportwindow.h"
#include "Reportworker.h"

class QLabel;
class QProgressBar;
class QLineEdit;

namespace tarvex {
class MemoryTable;
class QueryDataSet;
} // namespace tarvex

namespace products {

// Gives every visible field F of the table the orders F + "A" (ascending)
// and F + "D" (descending).
void AddTitleSortOrders(tarvex::MemoryTable& table);
// The title click: F + "D" when F + "A" is in force, else F + "A", so the
// first click sorts ascending and the next one descending.
void SwitchTitleSort(tarvex::MemoryTable& table, const QString& fieldName);

class TStockCardWindow : public TListReportWindow {
    Q_OBJECT
public:
    TStockCardWindow(const QString& caption, const QString& warehouseName, QWidget* parent = nullptr);

    QLineEdit* ToDateEdit() const { return m_to; }
    QPushButton* ToDateButton() const { return m_toButton; }
    tarvex::MemoryTable* CDS() const { return m_table; }
    tarvex::QueryDataSet* InventoryZQ() const { return m_products; }
    // Shown while the stock cards are read: the step, and "Prekini".
    QProgressBar* ProgressBar() const;
    QLabel* StepLabel() const;
    QPushButton* CancelButton() const;

    // The date picker opens on today; a confirmed date replaces the field.
    void ToDateButtonClick();
    // The field's date for the statements; a text that is no date refuses the run.
    QString ToDateText() const;
    void DBGTitleClick(const QString& fieldName);
    // "Datum" and the "Do datuma" field as typed.
    QString GetPrintHeader() const override;

protected:
    // Set up by the windows once the table's fields are defined: the sort
    // orders, then the grid on the table.
    void showTable();
    // Reads the products to value; an error is shown and leaves the list closed.
    void openProductList(const std::function<void(tarvex::QueryDataSet& list)>& setStatement);
    // Reads the stock cards up to the field's date on a worker's
    // connection ("Robne kartice"), the window answering meanwhile, then
    // shows them; "Prekini" leaves the list as it was, a failure is said.
    void readCards(const std::function<void(QSqlDatabase db, const QString& date)>& read,
                   const std::function<void()>& show);

private:
    tarvex::QueryDataSet* m_products = nullptr;
    tarvex::MemoryTable* m_table = nullptr;
    QLineEdit* m_to = nullptr;
    QPushButton* m_toButton = nullptr;
};

} // namespace products
