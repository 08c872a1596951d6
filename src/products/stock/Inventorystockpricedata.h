#pragma once
// Every product of one warehouse valued from its stock card at the end of
// a date: the quantity, the average stock-card price, the value and the
// value total.

#include "Reportprogress.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

namespace tarvex {
class DataSet;
class MemoryTable;
} // namespace tarvex


namespace products {

// The statement of the warehouse's products (services and zero stock
// included), by name; the warehouse is the parameter IDWarehouse.
extern const QString kStockPriceProductsSql;

struct TStockPrice {
    double amount = 0;
    double price = 0; // value / quantity from exact decimal sums, rounded half up to the cent
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

} // namespace products
