#pragma once
// The two histories of one product in one warehouse over a date range, each
// after a leading row with the state before the range: the ware history
// ("Magacinska kartica", quantities of the posted stock documents) and the
// stock history ("Robna kartica", quantities and values of the stock-card
// entries). Computed without touching a window (a worker's thread), then put
// into the window's table.

#include <QDate>
#include <QSqlDatabase>
#include <QVariant>
#include <vector>

namespace tarvex {
class MemoryTable;
} // namespace tarvex

namespace products {

// One row of a history; the first one is the state before the range, with
// no partner and no document.
struct THistoryRow {
    QDate date;
    QString document; // "K-4"
    QVariant partner;
    double in = 0;
    double out = 0;
    double quantityBalance = 0;
    // The stock history's values; 0 in the ware history.
    double price = 0;
    double debit = 0;
    double credit = 0;
    double valueBalance = 0;
    QVariant documentId;
};

struct TWareHistoryTotals {
    double amountIn = 0;
    double amountOut = 0;
    double balance = 0;
};

// What each sums to below the list: the state before the range counts on
// the side it falls, then every row of the range.
TWareHistoryTotals WareHistoryTotals(const std::vector<THistoryRow>& rows);

// Fields of the ware history's table: documentdate, document, partner,
// amountin, amountout, amountbalance, documentid (not shown).
void DefineWareHistoryFields(tarvex::MemoryTable& table);
// The product's posted document lines in the warehouse up to toText (bound
// as typed), from fromText on. Throws when the start is not a date (before
// reading) or the query fails.
std::vector<THistoryRow> ComputeWareHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId,
                                            const QString& fromText, const QString& toText);
// Empties the open table, appends the rows and goes to the first one.
TWareHistoryTotals ShowWareHistory(tarvex::MemoryTable& table, const std::vector<THistoryRow>& rows);
// Both in one go, on the caller's thread.
TWareHistoryTotals FillWareHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId,
                                   qint64 warehouseId, const QString& fromText, const QString& toText);

// Fields of the stock history's table: date, document, partner, amountin,
// amountout, amountbalance, price, debit, credit, balance, documentid (not
// shown).
void DefineStockHistoryFields(tarvex::MemoryTable& table);
// The product's stock-card entries in the warehouse, as the ware history's.
// The leading row's price is the average of the state before the range.
std::vector<THistoryRow> ComputeStockHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId,
                                             const QString& fromText, const QString& toText);
void ShowStockHistory(tarvex::MemoryTable& table, const std::vector<THistoryRow>& rows);
void FillStockHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId, qint64 warehouseId,
                      const QString& fromText, const QString& toText);

// Value per unit of the stock-card balance up to toText ("2024-12-31"),
// rounded to the cent from exact sums; 0 when the quantity left rounds to 0
// at six decimals.
double CurrentStockCardPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText);

} // namespace products
