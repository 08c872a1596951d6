#pragma once
// The warehouse inventory by attribute ("Zalihe magacina (atributi)"): the
// stock of every product variant in one warehouse, with its two attribute
// name/value pairs and its barcode.

#include "Inventorylistdata.h"
#include "Inventorywindow.h"

namespace products {

class TInventoryAttributeForm : public TInventoryWindow {
    Q_OBJECT
public:
    TInventoryAttributeForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    tarvex::DBGrid* InventoryAttributeDBG() const { return DBG(); }
    tarvex::QueryDataSet* InventoryAttributeZQ() const { return ZQ(); }

protected:
    QString statement(bool excludeServices, bool excludeZero) const override;
};

// Lists the warehouse's variant stock (modal).
void OpenWarehouseInventoryAttribute(qint32 WarehouseID, const QString& WarehouseName);

} // namespace products
