#include "Productsearch.h"

#include "Captions.h"
#include "Categorytree.h"
#include "Connection.h"
#include "HostStrings.h"
#include "Productdmunit.h"
#include "Productlistsql.h"
#include "Productresourcestring.h"
#include "QueryDataSet.h"
#include "SqlText.h"

namespace products {

QString ProductSearch::prefix(const QString& value)
{
    // LIKE reads a backslash as its escape: double it so a typed one is
    // searched for as it stands.
    QString pattern = value;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return pattern + QLatin1Char('%');
}

ProductSearchResult ProductSearch::parse(const QMap<QString, QString>& criteria, qint32& chosenWarehouseId) const
{
    const TProductOptions& o = m_dm.Options;
    QStringList conditions;
    QMap<QString, QVariant> params;
    // A typed value as a parameter of its own.
    auto bound = [&](const QVariant& v) {
        const QString name = QStringLiteral("s%1").arg(params.size() + 1);
        params.insert(name, v);
        return QLatin1Char(':') + name;
    };
    auto quoted = [&](const QString& v) { return bound(v); };
    auto prefix = [&](const QString& v) { return bound(ProductSearch::prefix(v)); };
    auto value = [&](const char* key) { return criteria.value(QString::fromUtf8(key)); };
    auto filled = [&](const char* key) { return !value(key).isEmpty(); };

    if (filled("name"))
        conditions << QStringLiteral("p.name LIKE ") + prefix(value("name"));
    if (filled("code"))
        conditions << (o.SearchEqualCodeBarcode ? QStringLiteral("p.code = ") + quoted(value("code"))
                                                : QStringLiteral("p.code LIKE ") + prefix(value("code")));
    if (filled("barcode")) {
        if (o.AttributeStock)
            conditions << QStringLiteral("patt.prodattbarcode = ") + quoted(value("barcode"));
        else
            conditions << (o.SearchEqualCodeBarcode ? QStringLiteral("p.barcode = ") + quoted(value("barcode"))
                                                    : QStringLiteral("p.barcode LIKE ") + prefix(value("barcode")));
    }
    if (filled("foreignname"))
        conditions << QStringLiteral("p.foreignname LIKE ") + prefix(value("foreignname"));
    if (filled("type"))
        conditions << QStringLiteral("p.type = ") + quoted(tarvex::GetProdTypeName(value("type")));
    if (filled("active"))
        conditions << (value("active") == tarvex::ACTIVE_N_CAP ? QStringLiteral("p.active = 'n'")
                                                               : QStringLiteral("p.active != 'n'"));
    if (filled("warehouse")) {
        const QString local = o.DefWarehouseName;
        bool done = false;
        if (o.OnlyLocalDefaultWarehouseProds && !local.isEmpty() && value("warehouse") != local) {
            // The workstation sees its own default warehouse only.
            const qint32 id = m_dm.GetWarehouseIDByName(local);
            if (id > 0) {
                chosenWarehouseId = id;
                conditions << QStringLiteral("pw.warehouseid = ") + bound(id);
            }
            done = true;
        }
        if (!done) {
            if (chosenWarehouseId > 0) {
                conditions << QStringLiteral("pw.warehouseid = ") + bound(chosenWarehouseId);
            } else if (const qint32 id = m_dm.GetWarehouseIDByName(value("warehouse")); id > 0) {
                chosenWarehouseId = id;
                conditions << QStringLiteral("pw.warehouseid = ") + bound(id);
            }
        }
    }
    bool categoryIgnored = false;
    if (filled("category")) {
        if (value("category").toLower() == CAT_NO_CATEGORY) {
            conditions << QStringLiteral("pc.categoryprid IS NULL ");
        } else {
            const tarvex::TIntArray ids = CatPathsToIDs(m_dm.connection().database(), value("category"));
            if (!ids.isEmpty()) {
                QVariantList values;
                for (qint32 id : ids)
                    values << id;
                conditions << QStringLiteral("pc.categoryprid IN (") + bound(values) + QLatin1Char(')');
            } else {
                categoryIgnored = true;
            }
        }
    }
    if (filled("vat"))
        conditions << QStringLiteral("t.value = ") + quoted(value("vat"));
    if (filled("manufname"))
        conditions << QStringLiteral("p.manufname LIKE ") + prefix(value("manufname"));
    if (filled("manufcode"))
        conditions << QStringLiteral("p.manufcode LIKE ") + prefix(value("manufcode"));
    if (filled("characteristics"))
        conditions << QStringLiteral("pd.characteristics LIKE ") + prefix(value("characteristics"));
    if (filled("general")) {
        const QString p = prefix(value("general"));
        conditions << QStringLiteral("((p.name LIKE %1) OR (p.code LIKE %1) OR (p.barcode LIKE %1) OR "
                                     "(p.manufcode LIKE %1) OR (pd.characteristics LIKE %1))")
                          .arg(p);
    }

    const QString attributeJoin =
        o.AttributeStock ? QStringLiteral("LEFT JOIN productattribute AS patt ON p.productid = patt.productid")
                         : QString();

    ProductSearchResult result;
    result.categoryIgnored = categoryIgnored;
    if (filled("warehouse") && chosenWarehouseId > 0)
        result.shownWarehouseId = chosenWarehouseId;
    else if (o.OnlyLocalDefaultWarehouseProds && !o.DefWarehouseName.isEmpty())
        result.shownWarehouseId = m_dm.GetWarehouseIDByName(o.DefWarehouseName);
    else
        result.shownWarehouseId = m_dm.GetDefWarehouseID();

    QString name = m_dm.GetWarehouseNameByID(result.shownWarehouseId);
    if (name.isEmpty())
        name = PROD_WH;
    result.amountCaption = name;
    result.priceCaption = name + QLatin1Char(':') + PROD_PRICE;
    result.priceWithVatCaption = name + QLatin1Char(':') + PROD_PRICE_VAT;

    result.sql =
        productListSql(QStringLiteral(":shownwarehouse"), conditions.join(QStringLiteral(" AND ")), attributeJoin);
    params.insert(QStringLiteral("shownwarehouse"), result.shownWarehouseId);
    result.params = params;
    return result;
}

void applySearch(tarvex::QueryDataSet& list, const ProductSearchResult& result)
{
    list.setSql(result.sql);
    for (auto it = result.params.cbegin(); it != result.params.cend(); ++it)
        list.setParam(it.key(), it.value());
}

void applyWarehouseCaptions(TProductDM& dm, const ProductSearchResult& result)
{
    dm.ProductZQ->declareField(QStringLiteral("primaryamount")).setDisplayLabel(result.amountCaption);
    dm.ProductZQ->declareField(QStringLiteral("wh_price")).setDisplayLabel(result.priceCaption);
    dm.ProductZQ->declareField(QStringLiteral("wh_pricewithvat")).setDisplayLabel(result.priceWithVatCaption);
}

} // namespace products
