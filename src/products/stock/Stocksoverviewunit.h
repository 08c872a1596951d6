#pragma once
// The stocks overview window ("Stanje zaliha"), a purchasing aid: products
// narrowed by code, name, active flag, categories and a stock mode, with
// their stock per retail and wholesale warehouse, sales, days on stock, last
// supplier and prices; sorted by a click on a column title, exported as a
// spreadsheet. The grid's column layout is kept in "StocksOverviewDS.cfg" in
// the program's folder.

#include "Reportdates.h"
#include "Reportwindow.h"
#include "Stocksoverviewdata.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvex {
class DBGrid;
class RememberedState;
class MemoryTable;
} // namespace tarvex

namespace products {

class TStocksOverviewForm : public TReportWindow {
    Q_OBJECT
public:
    // stateFile: where the column layout is remembered (empty: the user's state file).
    explicit TStocksOverviewForm(const QString& stateFile = QString(), QWidget* parent = nullptr);

    QTreeWidget* TreeView() const { return m_tree; }
    QLineEdit* CodeEdit() const { return m_code; }
    QLineEdit* NameEdit() const { return m_name; }
    QComboBox* ActiveCB() const { return m_active; }
    QPushButton* FindButton() const { return m_find; }
    QRadioButton* StockWsRtRB() const { return m_stockWsRt; }
    QRadioButton* StockRtRB() const { return m_stockRt; }
    QRadioButton* StockWsRB() const { return m_stockWs; }
    QRadioButton* AllRB() const { return m_all; }
    QLineEdit* FromDateEdit() const { return m_dates.from; }
    QLineEdit* ToDateEdit() const { return m_dates.to; }
    QPushButton* FromDateButton() const { return m_dates.fromButton; }
    QPushButton* ToDateButton() const { return m_dates.toButton; }
    tarvex::DBGrid* StocksOverviewDBG() const { return m_grid; }
    tarvex::MemoryTable* StocksOverviewCDS() const { return m_table; }
    QPlainTextEdit* ProdDescMemo() const { return m_memo; }
    QPushButton* ExportToExcelButton() const { return m_export; }
    QPushButton* CloseButton() const { return m_close; }
    // Shown while the overview is counted: the step and rows so far, and
    // "Prekini", which stops it and leaves the table as it was.
    QProgressBar* ProgressBar() const;
    QLabel* StepLabel() const;
    QPushButton* CancelButton() const;
    // The state file's section "StocksOverviewDS".
    tarvex::RememberedState LayoutState() const;

    // The first node, in the tree's order, of the category; null when none.
    QTreeWidgetItem* FindNode(qint64 id) const;
    // The narrowing as the controls show it now.
    TStocksOverviewFilter CurrentFilter() const;

    // Counts on a worker's connection; returns when the table is shown or
    // the count was stopped, the window answering meanwhile.
    void FindButtonClick();
    // Sorts by the field: ascending first, then alternating.
    void StocksOverviewDBGTitleClick(const QString& fieldName);
    // Opens the current product; nothing when no module offers products.
    void StocksOverviewDBGDblClick();
    void ExportToExcelButtonClick();
    // Shows the current product's description.
    void StocksOverviewCDSAfterScroll();

protected:
    // Keeps the column layout once.
    void closing() override;

private:
    void buildLeftPanel(QLayout* into);
    QLayout* buildStockModeRow();
    void FormCreate();
    void buildCategoryTree();

    QString m_stateFile;
    bool m_layoutSaved = false;
    // A computation has filled the table: the memo follows its rows.
    bool m_shown = false;
    tarvex::MemoryTable* m_table = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_active = nullptr;
    QPushButton* m_find = nullptr;
    QRadioButton* m_stockWsRt = nullptr;
    QRadioButton* m_stockRt = nullptr;
    QRadioButton* m_stockWs = nullptr;
    QRadioButton* m_all = nullptr;
    TDateRange m_dates;
    tarvex::DBGrid* m_grid = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
};

// Shows the stocks overview (modal).
void OpenStocksOverview();

} // namespace products
