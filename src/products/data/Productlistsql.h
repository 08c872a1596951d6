#pragma once
// The statements that read products with their prices with tax, made here
// once: every list applies the tax rate to a price in SQL alike, and the
// product list (search, editor, snap-in) always reads the same columns.

#include <QString>

namespace products {

// One plus the rate (in percent) of the tax row joined as `tax`: the same
// factor as productTaxFactor().
QString taxFactorSql(const QString& tax = QStringLiteral("t"));
// A price column with tax at that rate. Unrounded: each list rounds as it
// shows.
QString priceWithVatSql(const QString& price, const QString& tax = QStringLiteral("t"));

// The product list: each product once, with its prices with tax, its rate,
// and its stock and price in one warehouse (`warehouse`, an SQL value: a
// number or a parameter such as ":shownwarehouse"). `condition` is the WHERE
// (none when empty), over p (product), t (tax), pw (productwarehouse), pa
// (productalter), pc (productcategorypr) and pd (productdetail); `joins` adds
// the LEFT JOINs a condition needs beyond those.
QString productListSql(const QString& warehouse, const QString& condition, const QString& joins = QString());

// A product's rows in the warehouses, by warehouse name, with the free
// quantity and the price with tax; `condition` over pw, w (warehouse), p, t.
QString productWarehouseRowsSql(const QString& condition);

} // namespace products
