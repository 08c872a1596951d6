#pragma once
// Single-value look-ups of the product data module: each runs one statement
// on the module's connection and reads its first row.

#include "Productintf.h"

#include <QSqlDatabase>
#include <QString>

namespace products::lookups {

// productwarehouse.price of the product in the warehouse, 0 without a row.
double GetProductPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId);
// productwarehouse.amount, 0 without a row.
double GetProductAmount(QSqlDatabase db, qint64 productId, qint64 warehouseId);
// The stock summed over all warehouses is not zero (after rounding to six decimals).
bool ProductGetAmounts(QSqlDatabase db, qint64 productId);
// product.pricecurrency, empty without a row.
QString GetProductCurrency(QSqlDatabase db, qint64 productId);
// An accounting precept item refers to the object ("product", "tax", "warehouse").
bool PreceptExist(QSqlDatabase db, const QString& kind, qint64 id);
// At least one of the categories has sub-categories (every id is asked).
bool CheckOnlyLowestCategory(QSqlDatabase db, const tarvex::TIntArray& ids);

} // namespace products::lookups
