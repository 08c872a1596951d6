#pragma once
// The stocks overview's computation: one record per product with its
// positive stock spread over the fixed retail (MP1..MP9) and wholesale (VP)
// warehouse columns, ordered and reserved quantities, sales per warehouse in
// a period and in the last seven days, days since the last supply with the
// supplier, and four prices. The warehouse columns belong to the warehouse
// identifiers of one installation; they are constants here.

#include "Reportprogress.h"

#include <QDateTime>
#include <QHash>
#include <QVariant>
#include <QVector>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <vector>

namespace tarvex {
class MemoryTable;
class ResultStore;
} // namespace tarvex

namespace products {

enum class TStockMode { WholesaleOrRetail, Retail, Wholesale, All };

// What the user narrowed the products to.
struct TStocksOverviewFilter {
    QString code;          // prefix of the product code; empty: any
    QString name;          // prefix of the product name; empty: any
    int active = 1;        // 0: any, 1: active products, 2: inactive products
    QList<qint64> categories; // selected categories (0: the root)
    TStockMode stockMode = TStockMode::WholesaleOrRetail;
    QString fromText;      // the period of the sales, as typed ("yyyy-mm-dd")
    QString toText;
};

// The selected categories followed by their descendants, at most four
// generations below, each generation in the database's order.
QList<qint64> ExpandCategories(QSqlDatabase db, const QList<qint64>& selected);

// " WHERE " and the conditions of the filter joined by " AND ", on the
// stock rows (pw) joined to their product (p) and, when categories are
// chosen, its category links (pc). The typed prefixes and the categories
// stand as parameters, their values put in `params`.
QString StocksOverviewWhere(QSqlDatabase db, const TStocksOverviewFilter& filter, QVariantMap& params);

// Defines the table's fields (ProductID hidden, then the grid's columns in
// order) and, for every shown field F, the sort orders "FA" and "FD".
void DefineStocksOverviewFields(tarvex::MemoryTable& table);

// Fields of the overview in the grid's order (ProductID not among them).
QStringList StocksOverviewColumns();

// The overview as computed: a row per product in a store whose columns are
// the table's fields in their order, and the listed products' rows in the
// list's order (by name, code, id).
struct TStocksOverviewResult {
    std::shared_ptr<tarvex::ResultStore> store;
    std::vector<qint32> rows;
};

// Computes the overview on `db` (a worker's connection may be used): the
// listed products with their stock rows added up; `now` is the moment the
// days on stock count to and whose date ends the seven-day sales. The sales,
// supplies and stock entries are read for all listed products together, one
// pass each. Throws DatabaseError.
TStocksOverviewResult ComputeStocksOverview(QSqlDatabase db, const TStocksOverviewFilter& filter,
                                            const QDateTime& now, const TProgress& progress = {});
// Puts the records into the open table afresh, the user's sort order kept.
void ShowStocksOverview(tarvex::MemoryTable& table, TStocksOverviewResult result);
// Both, on one connection.
void FillStocksOverview(QSqlDatabase db, tarvex::MemoryTable& table, const TStocksOverviewFilter& filter,
                        const QDateTime& now, const TProgress& progress = {});

// The product's description (the memo's text); empty when it has none.
QString StocksOverviewDescription(QSqlDatabase db, qint64 productId);

// Whole days between a date (at its midnight) and a moment, either way.
int WholeDaysBetween(const QDate& date, const QDateTime& now);

} // namespace products
