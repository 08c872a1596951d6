#pragma once
// The inventory of all warehouses ("Zalihe (količine iz svih magacina)"):
// every product's quantity summed over its stock rows in all warehouses.

#include "Inventorywindow.h"

namespace products {

// The statement the list opens with: services and zero rows left out.
extern const QString kInventoryAllWarehousesDesignSql;
// The statement "&Prikaži" runs: each exclusion only when asked for. The
// zero exclusion drops single stock rows before summing, so a product whose
// warehouses cancel out stays with 0.
QString InventoryAllWarehousesStatement(bool excludeServices, bool excludeZero);

class TInventoryAllWarehousesForm : public TInventoryWindow {
    Q_OBJECT
public:
    explicit TInventoryAllWarehousesForm(QWidget* parent = nullptr);

    tarvex::DBGrid* InventoryAllWarehousesDBG() const { return DBG(); }
    tarvex::QueryDataSet* InventoryAllWarehousesZQ() const { return ZQ(); }
    // Opens the current row's product in the product editor.
    void InventoryAllWarehousesDBGDblClick();

protected:
    QString designStatement() const override;
    QString runTimeStatement(bool excludeServices, bool excludeZero) const override;
};

// Lists the stock of all warehouses (modal).
void OpenInventoryAllWarehouses();

} // namespace products
