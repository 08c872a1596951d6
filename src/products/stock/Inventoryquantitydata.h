#pragma once
// The stock-card quantities of every product: received, issued and on hand
// at the end of a date, for one warehouse, all retail warehouses together or
// all warehouses together.

#include "Reportprogress.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

namespace tarvex {
class DataSet;
class MemoryTable;
class QueryDataSet;
} // namespace tarvex


namespace products {

// Which stock cards the report reads.
struct TQuantityScope {
    // Above 0 one warehouse, 0 all warehouses, below 0 all retail warehouses.
    qint32 warehouseId = 0;
    // The retail warehouses' identifiers joined with ",", "0" when there are
    // none; empty unless warehouseId is below 0.
    QString warehouseIds;
};

// The scope of a warehouse identifier; the retail case reads the
// warehouses whose price type is 'm', in the order the database gives them.
TQuantityScope QuantityScope(QSqlDatabase db, qint32 warehouseId);
// Sets the statement of the products to list (name, code, unitname,
// amount, productid) by name, and its values.
void SetInventoryQuantityList(tarvex::QueryDataSet& list, const TQuantityScope& scope);

struct TStockQuantities {
    double amountIn = 0;
    double amountOut = 0;
};
// A product's received and issued stock-card quantities up to and including
// the date (used as typed); both 0 unless one of them is not 0 at six
// decimals.
TStockQuantities CalculateQuantities(QSqlDatabase db, const TQuantityScope& scope, qint64 productId,
                                     const QString& date);

// The same for every product with stock-card entries in the scope, in one
// pass; products missing from it have both quantities 0.
QHash<qint64, TStockQuantities> CalculateAllQuantities(QSqlDatabase db, const TQuantityScope& scope,
                                                       const QString& date);

// Fields of the table: name, code, unitname, amountin, amountout,
// amountbalance, productid (not shown).
void DefineInventoryQuantityFields(tarvex::MemoryTable& table);
// Empties the open table and appends every product of the list whose
// balance is not 0 at six decimals, then goes to the first row. A failure
// throws and keeps the rows appended so far.
void FillInventoryQuantities(QSqlDatabase db, const TQuantityScope& scope, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const QString& date, const TProgress& progress = {});
// The second half of the above, on cards read before (by a worker).
void ShowInventoryQuantities(const QHash<qint64, TStockQuantities>& cards, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const TProgress& progress = {});

} // namespace products
