#pragma once
// The turnover of all warehouses ("Promet (količine iz svih magacina)"): for
// each warehouse and product, the quantity before a period, the quantities
// received and issued within it, their difference and the quantity at its
// end, counted from the posted stock documents.

#include "Reportprogress.h"
#include "Reportwindow.h"

#include <QSqlDatabase>
#include <QVariant>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tarvex {
class DBGrid;
class MemoryTable;
} // namespace tarvex

namespace products {

struct TTurnoverRequest {
    QString fromText;      // first day of the period, as typed ("yyyy-mm-dd")
    QString toText;        // last day, as typed
    QString warehouseName; // empty: every warehouse
    bool excludeServices = true;
};

// One row of the turnover: a product in a warehouse.
struct TTurnoverRow {
    qint64 productId = 0;
    qint64 warehouseId = 0;
    QVariant name;
    QVariant code;
    QVariant unitName;
    QVariant warehouseName;
    double previous = 0; // before the period
    double in = 0;       // received within it
    double out = 0;      // issued within it
};

// Fields of the result: productid and warehouseid (not shown), then name,
// code, unitname, the five quantities and warehousename.
void DefineTurnoverFields(tarvex::MemoryTable& table);

// Fills the open table afresh, by warehouse name and product name. Products
// without movement in the period and nothing left at its end (zero at six
// decimals) are left out, and so are lines of documents that name no
// existing warehouse. The date texts go to the database as typed (quoted).
// Throws DatabaseError.
void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request,
                  const TProgress& progress = {});
// The same in two halves: the rows, computed without touching a window
// (a worker's thread), then put into the table.
std::vector<TTurnoverRow> ComputeTurnover(QSqlDatabase db, const TTurnoverRequest& request,
                                          const TProgress& progress = {});
void ShowTurnover(tarvex::MemoryTable& table, const std::vector<TTurnoverRow>& rows);

class TTurnoverAllWarehousesForm : public TReportWindow {
    Q_OBJECT
public:
    explicit TTurnoverAllWarehousesForm(QWidget* parent = nullptr);

    QLineEdit* FromDateEdit() const { return m_from; }
    QLineEdit* ToDateEdit() const { return m_to; }
    QPushButton* FromDateButton() const { return m_fromButton; }
    QPushButton* ToDateButton() const { return m_toButton; }
    QComboBox* WarehouseCB() const { return m_warehouse; }
    QCheckBox* ExcludeServicesCB() const { return m_excludeServices; }
    QPushButton* FindButton() const { return m_find; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* CloseButton() const { return m_close; }
    // Shown while the turnover is counted: the step and rows so far, and
    // "Prekini", which stops it and leaves the list as it was.
    QProgressBar* ProgressBar() const;
    QLabel* StepLabel() const;
    QPushButton* CancelButton() const;
    tarvex::DBGrid* TurnoverAllWarehousesDBG() const { return m_grid; }
    tarvex::MemoryTable* TurnoverAllWarehousesCDS() const { return m_table; }

    void FromDateButtonClick();
    void ToDateButtonClick();
    // Counts on a worker's connection; returns when the list is shown or
    // the counting was stopped, the window answering meanwhile.
    void FindButtonClick();
    // Prints the grid through the console: the caption and "Datum <today>".
    void PrintButtonClick();
    QString GetPrintHeader() const;
    // Opens the current row's product in the product editor.
    void TurnoverAllWarehousesDBGDblClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QPushButton* m_fromButton = nullptr;
    QPushButton* m_toButton = nullptr;
    QComboBox* m_warehouse = nullptr;
    QCheckBox* m_excludeServices = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    class TWorkerBar* m_workerBar = nullptr;
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::MemoryTable* m_table = nullptr;
};

// Shows the turnover window (modal); nothing is counted until "&Prikaži".
void OpenTurnoverAllWarehouses();

} // namespace products
