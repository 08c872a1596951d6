#pragma once
// The warehouse inventory at warehouse prices ("Zalihe magacina (magacinske
// cene)"): every product's quantity in one warehouse as the stock rows hold
// it, its warehouse price with and without VAT, the values, and the two value
// totals below the list.

#include "Inventorylistdata.h"
#include "Inventorywindow.h"

class QLabel;

namespace products {

class TInventoryForm : public TInventoryWindow {
    Q_OBJECT
public:
    TInventoryForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    QLabel* TotalLabel() const { return m_total; }
    tarvex::DBGrid* InventoryDBG() const { return DBG(); }
    tarvex::QueryDataSet* InventoryZQ() const { return ZQ(); }

protected:
    QString statement(bool excludeServices, bool excludeZero) const override;
    void listOpened() override;

private:
    QLabel* m_total = nullptr;
};

// Lists the warehouse's stock (modal).
void OpenWarehouseInventory(qint32 WarehouseID, const QString& WarehouseName);

} // namespace products
