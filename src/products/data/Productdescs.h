#pragma once
// A product's descriptor (TProductDesc) as the product services hand it to
// the other modules: read here straight from the database, with its tax's
// name and rate, or filled from a row of the product list.

#include "Productintf.h"

#include <QString>
#include <QVariant>
#include <functional>

namespace tarvex {
class Connection;
} // namespace tarvex

namespace products {

// The fields every way of filling shares, each read by its column's name.
void FillDescCommon(tarvex::TProductDesc& desc, const std::function<QVariant(const char*)>& value);

// The product with its recommended price and rebate; false without it.
bool ReadProductDesc(tarvex::Connection& connection, qint32 productId, qint32 warehouseId,
                     tarvex::TProductDesc& desc);
// The active products; with a warehouse (above 0) only those it has a row
// for, their quantities there in `amounts` (left as it was when none).
tarvex::TProductDescArr ReadActiveProductDescs(tarvex::Connection& connection, qint32 warehouseId,
                                               tarvex::TDoubleArray& amounts);
// The id of the product variant with the barcode; false without one.
bool ReadProductAttributeId(tarvex::Connection& connection, const QString& barcode, qint32& productAttributeId);

} // namespace products
