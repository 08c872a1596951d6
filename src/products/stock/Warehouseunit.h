#pragma once
// The warehouse list: administration (WarehouseManage), picking a warehouse
// (GetWarehouse) and the silent look-up of one warehouse by identifier; the
// default warehouse (drawn on silver), the active-only view and the search
// by name. Coded and yes/no columns change only through their pick lists.

#include "PickingListWindow.h"
#include "Productintf.h"
#include "Warehouserestriction.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tarvex {
class DBGrid;
class DBNavigator;
class PickListDelegate;
class QueryDataSet;
} // namespace tarvex

namespace products {

class TWarehouseForm : public tarvex::PickingListWindow {
    Q_OBJECT
public:
    explicit TWarehouseForm(QWidget* parent = nullptr);

    int helpContext() const { return 15003; }

    QLineEdit* NameEdit() const { return m_name; }
    QAction* SearchWarehouseAction() const { return m_search; }
    tarvex::DBGrid* WarehouseDBG() const { return m_grid; }
    tarvex::DBNavigator* WarehouseNavigator() const { return m_navigator; }
    tarvex::PickListDelegate* PickLists() const { return m_pickLists; }
    QCheckBox* ActiveWarehouseCB() const { return m_activeOnly; }
    QPushButton* DefaultButton() const { return m_default; }
    QPushButton* InventoryWarePriceButton() const { return m_inventoryWarePrice; }
    QPushButton* InventoryAttributeButton() const { return m_inventoryAttribute; }
    QPushButton* InventoryStockPriceButton() const { return m_inventoryStockPrice; }
    QPushButton* InventoryQuantitiesButton() const { return m_inventoryQuantities; }
    QPushButton* StocksOverviewButton() const { return m_stocksOverview; }
    QPushButton* TurnoverAllWareButton() const { return m_turnover; }
    QPushButton* KepuWizardButton() const { return m_kepu; }
    QMenu* QuantitiesMenu() const { return m_quantitiesMenu; }

    void WarehouseDBGDblClick() { pickRow(); }
    // Shows only active warehouses (box ticked) or all of them.
    void ActiveWarehouseCBClick();
    // Makes the current row the default warehouse (only while all are listed).
    void DefaultButtonClick();
    void SearchWarehouseActionExecute();
    // Moves to the first row (from the first, or from the current one) whose
    // name begins with Name; a leading "%" searches names containing it, and
    // whatever follows a later "%" is ignored. Letter case of A-Z is ignored.
    bool WarehouseNameLocate(const QString& Name, bool FromFirst);
    // The current warehouse's inventory at warehouse prices / by attribute;
    // nothing on an empty list or, on a workstation kept to its own
    // warehouse, for another one.
    void InventoryWarePriceButtonClick();
    void InventoryAttributeButtonClick();
    void InventoryStockPriceButtonClick();
    void InventoryQuantitiesButtonClick();
    void StocksOverviewButtonClick();
    void KepuWizardButtonClick();
    // The quantities menu's entries from the stock cards.
    void FromStockCardClick(TWarehouseCommand command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The command's report of the current warehouse, when it is allowed.
    void openForCurrent(TWarehouseCommand command, void (*open)(qint32, const QString&));
    void FormCreate();
    bool hasPick() const override;
    void fillPickLists();
    // Typing and Delete are refused in the columns edited through pick lists.
    bool refusesKey(const QKeyEvent& key) const;
    tarvex::QueryDataSet& warehouses() const;

    QLineEdit* m_name = nullptr;
    QAction* m_search = nullptr;
    tarvex::DBGrid* m_grid = nullptr;
    tarvex::PickListDelegate* m_pickLists = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    QCheckBox* m_activeOnly = nullptr;
    QPushButton* m_default = nullptr;
    QPushButton* m_inventoryWarePrice = nullptr;
    QPushButton* m_inventoryAttribute = nullptr;
    QPushButton* m_inventoryStockPrice = nullptr;
    QPushButton* m_inventoryQuantities = nullptr;
    QPushButton* m_turnover = nullptr;
    QPushButton* m_stocksOverview = nullptr;
    QPushButton* m_kepu = nullptr;
    QMenu* m_quantitiesMenu = nullptr;
};

// By identifier (no window): finds the warehouse whatever the window's filter
// (inactive ones too) and fills name, code, currency and price type ("v" for
// an empty one). Picking: on confirmation fills the whole descriptor from the
// chosen row. True when filled; otherwise the descriptor stays as it was.
bool GetWarehouse(tarvex::TWarehouseDesc& Desc, bool ByID);
// The short form: identifier and name.
bool GetWarehouse(qint32& ID, QString& Name, bool ByID);
// Administration of the warehouses (modal).
void WarehouseManage();

} // namespace products
