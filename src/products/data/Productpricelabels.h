#pragma once
// What the shelf labels of products show, read for the console's price-label
// wizard (IPriceLabelService).

#include "Pricelabelintf.h"

#include <QSqlDatabase>

namespace products {

// The listed products that exist, once each: the warehouse's price when the
// warehouse has a row for the product, else the product's own, with the
// product's VAT, rounded to 2 decimals. Throws DatabaseError.
QList<tarvex::TPriceLabelDesc> PriceLabelRows(const QSqlDatabase& db, const QList<qint64>& productIds,
                                              qint64 warehouseId);

} // namespace products
