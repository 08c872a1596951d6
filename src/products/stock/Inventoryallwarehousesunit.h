#pragma once
// The inventory of all warehouses ("Zalihe (količine iz svih magacina)"):
// every product's quantity summed over its stock rows in all warehouses.

#include "Inventorylistdata.h"
#include "Inventorywindow.h"

namespace products {

class TInventoryAllWarehousesForm : public TInventoryWindow {
    Q_OBJECT
public:
    explicit TInventoryAllWarehousesForm(QWidget* parent = nullptr);

    tarvex::DBGrid* InventoryAllWarehousesDBG() const { return DBG(); }
    tarvex::QueryDataSet* InventoryAllWarehousesZQ() const { return ZQ(); }

protected:
    QString statement(bool excludeServices, bool excludeZero) const override;
};

// Lists the stock of all warehouses (modal).
void OpenInventoryAllWarehouses();

} // namespace products
