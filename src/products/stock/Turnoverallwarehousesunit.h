#pragma once
// The turnover of all warehouses ("Promet (količine iz svih magacina)"): for
// each warehouse and product, the quantity before a period, the quantities
// received and issued within it, their difference and the quantity at its
// end, counted from the posted stock documents.

#include "Reportdates.h"
#include "Reportwindow.h"
#include "Turnoverdata.h"

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

class TTurnoverAllWarehousesForm : public TReportWindow {
    Q_OBJECT
public:
    explicit TTurnoverAllWarehousesForm(QWidget* parent = nullptr);

    QLineEdit* FromDateEdit() const { return m_dates.from; }
    QLineEdit* ToDateEdit() const { return m_dates.to; }
    QPushButton* FromDateButton() const { return m_dates.fromButton; }
    QPushButton* ToDateButton() const { return m_dates.toButton; }
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

    // Counts on a worker's connection; returns when the list is shown or
    // the counting was stopped, the window answering meanwhile.
    void FindButtonClick();
    // Prints the grid through the console: the caption and "Datum <today>".
    void PrintButtonClick();
    QString GetPrintHeader() const;
    // Opens the current row's product in the product editor.
    void TurnoverAllWarehousesDBGDblClick();

private:
    void FormCreate();
    TDateRange m_dates;
    QComboBox* m_warehouse = nullptr;
    QCheckBox* m_excludeServices = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::MemoryTable* m_table = nullptr;
};

// Shows the turnover window (modal); nothing is counted until "&Prikaži".
void OpenTurnoverAllWarehouses();

} // namespace products
