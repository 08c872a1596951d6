#include "Productdescs.h"

#include "Connection.h"
#include "Productlistsql.h"

#include <QSqlQuery>

namespace products {

using tarvex::TProductDesc;
using tarvex::TProductDescArr;

namespace {

// The price in the warehouse joined as pw, without and with tax.
QString warehousePriceColumns()
{
    return QStringLiteral("(pw.price + 0.0) AS wh_price,") + priceWithVatSql(QStringLiteral("pw.price")) +
           QStringLiteral(" AS wh_pricewithvat,");
}

const QString kTaxColumns = QStringLiteral("t.value as taxvalue,t.name as taxname");
const QString kProductAndTax = QStringLiteral(" FROM product AS p LEFT JOIN tax AS t ON p.taxid = t.taxid");

// Fills from a row of one of the statements here (tax name and value joined).
void fillFromQuery(TProductDesc& desc, const QSqlQuery& row, bool recommended)
{
    auto value = [&row](const char* name) { return row.value(QString::fromUtf8(name)); };
    FillDescCommon(desc, value);
    if (recommended) {
        desc.recommendedPrice = value("recommendedprice").toDouble();
        desc.recommendedRebate = value("recommendedrebate").toDouble();
    }
    desc.taxName = value("taxname").toString();
    desc.taxValue = value("taxvalue").toDouble();
}

} // namespace

void FillDescCommon(TProductDesc& desc, const std::function<QVariant(const char*)>& value)
{
    desc.name = value("name").toString();
    desc.inputPriceCurrency = value("inputpricecurrency").toString();
    desc.priceCurrency = value("pricecurrency").toString();
    desc.unitName = value("unitname").toString();
    desc.code = value("code").toString();
    desc.barcode = value("barcode").toString();
    desc.manufCode = value("manufcode").toString();
    desc.inputPrice = value("inputprice").toDouble();
    desc.rebate = value("rebate").toDouble();
    desc.supplyPrice = value("supplyprice").toDouble();
    desc.price = value("price").toDouble();
    desc.planPrice = value("planprice").toDouble();
    desc.taxID = value("taxid").toInt();
    desc.productType = value("type").toString().isEmpty() ? QChar() : value("type").toString().at(0);
}

bool ReadProductDesc(tarvex::Connection& connection, qint32 productId, qint32 warehouseId, TProductDesc& desc)
{
    QSqlQuery row = connection.select(
        QStringLiteral("SELECT DISTINCT p.*,") + warehousePriceColumns() + kTaxColumns + kProductAndTax +
            QStringLiteral(" LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid AND pw.warehouseid = ?) "
                           "WHERE p.productid = ?"),
        {warehouseId, productId});
    if (!row.next())
        return false;
    fillFromQuery(desc, row, true);
    desc.productID = productId;
    return true;
}

TProductDescArr ReadActiveProductDescs(tarvex::Connection& connection, qint32 warehouseId,
                                       tarvex::TDoubleArray& amounts)
{
    const bool inWarehouse = warehouseId >= 1;
    QSqlQuery rows =
        inWarehouse
            ? connection.select(QStringLiteral("SELECT DISTINCT p.*,") + warehousePriceColumns() + kTaxColumns +
                                    QStringLiteral(",pw.amount") + kProductAndTax +
                                    QStringLiteral(" LEFT JOIN productwarehouse AS pw ON p.productid = pw.productid "
                                                   "WHERE p.active = 'y' AND pw.warehouseid = ?"),
                                {warehouseId})
            : connection.select(QStringLiteral("SELECT DISTINCT p.*,") + kTaxColumns + kProductAndTax +
                                QStringLiteral(" WHERE p.active = 'y'"));
    TProductDescArr found;
    tarvex::TDoubleArray quantities;
    while (rows.next()) {
        TProductDesc desc;
        fillFromQuery(desc, rows, false);
        desc.productID = rows.value(QStringLiteral("productid")).toInt();
        found << desc;
        if (inWarehouse)
            quantities << rows.value(QStringLiteral("amount")).toDouble();
    }
    if (!found.isEmpty())
        amounts = quantities;
    return found;
}

bool ReadProductAttributeId(tarvex::Connection& connection, const QString& barcode, qint32& productAttributeId)
{
    QSqlQuery row = connection.select(
        QStringLiteral("SELECT productattributeid FROM productattribute WHERE prodattbarcode = ?"), {barcode});
    if (!row.next())
        return false;
    productAttributeId = row.value(0).toInt();
    return true;
}

} // namespace products
