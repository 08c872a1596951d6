#pragma once
// The warehouse inventory at stock-card prices ("Zalihe magacina (cene sa
// robnih kartica)"): every product of one warehouse valued from its stock
// card at the end of a date, with the quantity, the average stock-card
// price, the stock-card value and the value total.

#include "Reportprogress.h"
#include "Stockcardwindow.h"

#include <QHash>

#include <QSqlDatabase>

class QLabel;

namespace tarvex {
class DataSet;
}

namespace products {

// The statement of the warehouse's products (services and zero stock
// included), by name; the warehouse is the parameter IDWarehouse.
extern const QString kStockPriceProductsSql;

struct TStockPrice {
    double amount = 0;
    double price = 0; // value / quantity, rounded to two decimals
    double value = 0;
};
// One product's stock card in the warehouse up to and including the date
// (used as typed); all 0 when the quantity is 0 at six decimals.
TStockPrice CalculatePrice(QSqlDatabase db, qint32 warehouseId, qint64 productId, const QString& date);

// The same for every product of the warehouse in one pass, leaving out the
// ones whose quantity is 0.
QHash<qint64, TStockPrice> CalculateAllPrices(QSqlDatabase db, qint32 warehouseId, const QString& date);

// Fields of the table: name, code, unitname, amount, price, productvalue.
void DefineInventoryStockPriceFields(tarvex::MemoryTable& table);
// Empties the open table, appends every product of the list whose stock-card
// quantity is not 0 at six decimals and returns the sum of their values. A
// failure throws and keeps the rows appended so far.
double FillInventoryStockPrice(QSqlDatabase db, qint32 warehouseId, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const QString& date, const TProgress& progress = {});
// The second half of the above, on cards read before (by a worker).
double ShowInventoryStockPrice(const QHash<qint64, TStockPrice>& cards, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const TProgress& progress = {});
// "Ukupna vrednost: 1,234.50"
QString StockPriceTotalText(double total);

class TInventoryStockPriceForm : public TStockCardWindow {
    Q_OBJECT
public:
    TInventoryStockPriceForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    qint32 warehouseId() const { return m_warehouseId; }
    QLabel* TotalLabel() const { return m_total; }
    tarvex::DBGrid* InventoryStockPriceDBG() const { return DBG(); }
    tarvex::MemoryTable* InventoryStockPriceCDS() const { return CDS(); }

    // Reads the warehouse's products; nothing is valued yet.
    void OpenList();
    void FindButtonClick() override;

private:
    qint32 m_warehouseId;
    QLabel* m_total = nullptr;
};

// Opens the window for the warehouse (modal).
void OpenInventoryStockPrice(qint32 WarehouseID, const QString& WarehouseName);

} // namespace products
