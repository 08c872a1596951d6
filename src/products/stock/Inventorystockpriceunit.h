#pragma once
// The warehouse inventory at stock-card prices ("Zalihe magacina (cene sa
// robnih kartica)"): every product of one warehouse valued from its stock
// card at the end of a date, with the quantity, the average stock-card
// price, the stock-card value and the value total.

#include "Inventorystockpricedata.h"
#include "Stockcardwindow.h"

class QLabel;

namespace products {

class TInventoryStockPriceForm : public TStockCardWindow {
    Q_OBJECT
public:
    TInventoryStockPriceForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    qint32 warehouseId() const { return m_warehouseId; }
    QLabel* TotalLabel() const { return m_total; }
    tarvex::DBGrid* InventoryStockPriceDBG() const { return DBG(); }
    tarvex::MemoryTable* InventoryStockPriceCDS() const { return CDS(); }

    // Reads the warehouse's products; nothing is valued yet.
    void OpenList() override;
    void FindButtonClick() override;

private:
    qint32 m_warehouseId;
    QLabel* m_total = nullptr;
};

// Opens the window for the warehouse (modal).
void OpenInventoryStockPrice(qint32 WarehouseID, const QString& WarehouseName);

} // namespace products
