#include "Inventorylistdata.h"

#include "Controlsoff.h"
#include "DataSet.h"
#include "DisplayFormat.h"
#include "Format.h"
#include "Productlistsql.h"
#include "Productresourcestring.h"

#include <QStringList>

namespace products {

namespace {

// The warehouse price with VAT (unrounded, as every list reads it).
const QString kPriceVat = priceWithVatSql(QStringLiteral("pw.price"));

const QString kInventorySql = QStringLiteral(
    "SELECT pw.productid, p.name, p.code, p.unitname, pw.amount, pw.price, %1 AS pricevat, "
    "pw.amount * pw.price AS ProductValue, %1 * pw.amount AS productvaluevat "
    "FROM productwarehouse AS pw "
    "LEFT JOIN product AS p ON p.productid = pw.productid "
    "LEFT JOIN tax AS t ON t.taxid = p.taxid");

const QString kAllWarehousesSql = QStringLiteral(
    "SELECT pw.productid, p.name, p.code, p.unitname, SUM(pw.amount) AS sumamount "
    "FROM productwarehouse AS pw "
    "LEFT JOIN product AS p ON p.productid = pw.productid");

// CONCAT(x,'') turns a missing attribute into NULL text, shown empty.
const QString kAttributeSql = QStringLiteral(
    "SELECT paw.productattributeid, p.name, p.code, p.unitname, "
    "CONCAT(a1.attribute,'') AS attname1, CONCAT(av1.attributevalue,'') AS attvalue1, "
    "CONCAT(a2.attribute,'') AS attname2, CONCAT(av2.attributevalue,'') AS attvalue2, "
    "pa.prodattbarcode, paw.amount "
    "FROM productattributewarehouse AS paw "
    "LEFT JOIN productattribute AS pa ON pa.productattributeid = paw.productattributeid "
    "LEFT JOIN attributepr AS a1 ON a1.attributeprid = pa.attributeprid1 "
    "LEFT JOIN attributeprvalue AS av1 ON av1.attributeprvalueid = pa.attributeprvalueid1 "
    "LEFT JOIN attributepr AS a2 ON a2.attributeprid = pa.attributeprid2 "
    "LEFT JOIN attributeprvalue AS av2 ON av2.attributeprvalueid = pa.attributeprvalueid2 "
    "LEFT JOIN product AS p ON p.productid = pa.productid");

const QString kTotalFormat = tarvex::AMOUNT_FORMAT;

// The conditions of a list, its exclusions after the fixed ones, as a WHERE
// clause; none gives none. A row without a product is no service either.
QString where(QStringList conditions, bool excludeServices, bool excludeZero, const QString& amount)
{
    if (excludeServices)
        conditions << QStringLiteral("NOT (p.type = 'u')");
    // Rounded to three decimals: 0.0004 counts as nothing left, 0.001 does not.
    if (excludeZero)
        conditions << QStringLiteral("ROUND(%1,3) != 0").arg(amount);
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

} // namespace

QString InventoryStatement(bool excludeServices, bool excludeZero)
{
    return kInventorySql.arg(kPriceVat) +
           where({QStringLiteral("pw.warehouseid = :IDWarehouse")}, excludeServices, excludeZero,
                 QStringLiteral("pw.amount")) +
           QStringLiteral(" ORDER BY p.name");
}

QString InventoryAllWarehousesStatement(bool excludeServices, bool excludeZero)
{
    return kAllWarehousesSql + where({}, excludeServices, excludeZero, QStringLiteral("pw.amount")) +
           QStringLiteral(" GROUP BY pw.productid ORDER BY p.name");
}

QString InventoryAttributeStatement(bool excludeServices, bool excludeZero)
{
    return kAttributeSql +
           where({QStringLiteral("paw.warehouseid = :IDWarehouse")}, excludeServices, excludeZero,
                 QStringLiteral("paw.amount")) +
           QStringLiteral(" ORDER BY p.name, attname1, attvalue1, attname2, attvalue2");
}

TInventoryTotals SumInventory(tarvex::DataSet& inventory)
{
    TInventoryTotals totals;
    if (!inventory.isActive())
        return totals;
    const tarvex::Field& value = inventory.fieldByName(QStringLiteral("ProductValue"));
    const tarvex::Field& valueVat = inventory.fieldByName(QStringLiteral("productvaluevat"));
    TControlsOff off(inventory);
    for (inventory.first(); !inventory.eof(); inventory.next()) {
        totals.value += value.asFloat();
        totals.valueVat += valueVat.asFloat();
    }
    inventory.first();
    return totals;
}

QString InventoryTotalText(const TInventoryTotals& totals)
{
    return tarvex::Format(PROD_INVEN_TOTAL_FMT, {tarvex::FormatFloat(kTotalFormat, totals.value),
                                                 tarvex::FormatFloat(kTotalFormat, totals.valueVat)});
}

} // namespace products
