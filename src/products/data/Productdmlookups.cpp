// Look-ups of the data module, its generated codes and barcodes, and the copy
// of a product with its dependent rows.

#include "Productdmunit.h"

#include "Connection.h"
#include "Productidentifiers.h"
#include "Productlookups.h"

#include "Format.h"
#include "WriteRetry.h"
#include <QSqlQuery>

namespace products {

// --- warehouses (move WarehouseZQ's cursor and clear any filter a window set)

namespace {

void reopenUnfiltered(QueryDataSet* ds)
{
    ds->close();
    ds->setFilter(QString());
    ds->setFiltered(false);
    ds->open();
}

} // namespace

qint32 TProductDM::GetDefWarehouseID()
{
    if (m_defWarehouseId != 0)
        return m_defWarehouseId;
    reopenUnfiltered(WarehouseZQ);
    m_defWarehouseId = WarehouseZQ->locate(QStringLiteral("status"), QStringLiteral("primary"))
                           ? qint32(WarehouseZQ->fieldByName(QStringLiteral("warehouseid")).asLargeInt())
                           : 0;
    if (m_defWarehouseId == 0)
        WarehouseZQ->last();
    return m_defWarehouseId;
}

qint32 TProductDM::GetWarehouseIDByName(const QString& name)
{
    reopenUnfiltered(WarehouseZQ);
    if (!WarehouseZQ->locate(QStringLiteral("name"), name, tarvex::LocateCaseInsensitive))
        return 0;
    return qint32(WarehouseZQ->fieldByName(QStringLiteral("warehouseid")).asLargeInt());
}

QString TProductDM::GetWarehouseNameByID(qint32 id)
{
    reopenUnfiltered(WarehouseZQ);
    if (!WarehouseZQ->locate(QStringLiteral("warehouseid"), id))
        return QString();
    return WarehouseZQ->fieldByName(QStringLiteral("name")).asString();
}

// --- taxes (TaxZQ is opened when closed, never reloaded)

qint32 TProductDM::GetDefaultTaxID()
{
    if (m_defTaxId != 0)
        return m_defTaxId;
    if (!TaxZQ->isActive())
        TaxZQ->open();
    m_defTaxId = TaxZQ->locate(QStringLiteral("status"), QStringLiteral("primary"))
                     ? qint32(TaxZQ->fieldByName(QStringLiteral("taxid")).asLargeInt())
                     : 0;
    return m_defTaxId;
}

double TProductDM::GetTaxValueByID(qint32 id)
{
    if (!TaxZQ->isActive())
        TaxZQ->open();
    if (!TaxZQ->locate(QStringLiteral("taxid"), id))
        return 0;
    return TaxZQ->fieldByName(QStringLiteral("value")).asFloat();
}

// --- single-value queries

double TProductDM::GetProductPrice(qint32 productId, qint32 warehouseId)
{
    return lookups::GetProductPrice(db(), productId, warehouseId);
}

double TProductDM::GetProductAmount(qint32 productId, qint32 warehouseId)
{
    return lookups::GetProductAmount(db(), productId, warehouseId);
}

bool TProductDM::ProductGetAmounts(qint32 productId)
{
    return lookups::ProductGetAmounts(db(), productId);
}

QString TProductDM::GetProductCurrency(qint32 productId)
{
    return lookups::GetProductCurrency(db(), productId);
}

bool TProductDM::PreceptExist(const QString& kind, qint32 id)
{
    return lookups::PreceptExist(db(), kind, id);
}

bool TProductDM::CheckOnlyLowestCategory(const tarvex::TIntArray& ids)
{
    return lookups::CheckOnlyLowestCategory(db(), ids);
}

bool TProductDM::CategoriesExist(qint64 productId)
{
    return ZConnection()
        ->select(QStringLiteral("SELECT categoryprid FROM productcategorypr WHERE productid = ?"), {productId})
        .next();
}

// --- identifiers

QString TProductDM::GetNewProductCode()
{
    return products::GetNewProductCode(db(), Options.AutoProductCodeFormat);
}

QString TProductDM::GetNewProductBarcode()
{
    return products::GetNewProductBarcode(db(), Options.AutoProductCodeFormat);
}

QString TProductDM::GenerateAttributeBarcode(const QDateTime& date, qint32 n)
{
    const QString barcode = products::GenerateAttributeBarcode(db(), date.date(), n);
    Generated.variantBarcodes.insert(barcode);
    return barcode;
}

// --- copy

qint32 TProductDM::CopyProduct(qint32 productId, const TStringArr& replacements)
{
    const QString condition = QStringLiteral("productid = ?");
    // The copy is a product of its own: it neither shares the original's
    // PLU (one product per PLU) nor its save token.
    TStringArr columns = replacements;
    auto replaces = [&](const QString& column) {
        for (const QString& r : replacements) {
            if (r.section(QLatin1Char('='), 0, 0).trimmed().compare(column, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    };
    for (const char* name : {"kasaplu", "savetoken"}) {
        const QString column = QString::fromLatin1(name);
        if (!replaces(column) && ZConnection()->tableInfo(QStringLiteral("product")).column(column))
            columns << column + QStringLiteral("=NULL");
    }
    qint32 newId = 0;
    // The copy and its rows go in together, once: a commit whose answer was
    // lost is looked up, not copied again.
    tarvex::writeTransaction(*ZConnection(), [&] {
        CopyDataSet(QStringLiteral("product"), condition, columns, QString(), {productId});
        newId = qint32(GetLastInsertID());
        const QStringList newKey{QStringLiteral("productid=") + QString::number(newId)};
        for (const char* table : {"productdetail", "productcategorypr", "productalter", "component", "fixedasset"})
            CopyDataSet(QString::fromUtf8(table), condition, newKey, QStringLiteral("productid"), {productId});
    }, QStringLiteral("Product copy"));
    return newId;
}

// --- alternatives

qint32 TProductDM::JoinAlternativeGroup(qint32 productId, qint32 otherId)
{
    tarvex::Connection& connection = *ZConnection();
    qint32 group = 0;
    // Under the group lock, so no other workstation opens the same new group.
    tarvex::writeTransaction(connection, [&] {
        lockIdentifiers(connection, kAlternativeGroups);
        const QString insert = QStringLiteral("INSERT INTO productalter (groupid,productid) VALUES (?,?)");
        group = GetGroupID(otherId);
        // Joined already (by a join whose answer never came): nothing to do.
        if (group > 0 && connection.value(QStringLiteral("SELECT COUNT(*) FROM productalter WHERE groupid = ? AND "
                                                         "productid = ?"),
                                          {group, productId})
                                 .toInt() > 0)
            return;
        if (group < 1) {
            QSqlQuery query = connection.select(QStringLiteral("SELECT MAX(groupid) + 1 AS newid FROM productalter"));
            group = query.next() && !query.value(0).isNull() ? query.value(0).toInt() : 1;
            connection.execute(insert, {group, otherId});
        }
        connection.execute(insert, {group, productId});
    }, QStringLiteral("Alternatives join"));
    return group;
}

qint32 TProductDM::GetGroupID(qint32 productId)
{
    QSqlQuery query =
        ZConnection()->select(QStringLiteral("SELECT groupid FROM productalter WHERE productid = ?"), {productId});
    return query.next() ? query.value(0).toInt() : -1;
}

void TProductDM::LeaveAlternativeGroup(qint32 productId, qint32 groupId)
{
    ZConnection()->execute(QStringLiteral("DELETE FROM productalter WHERE productid = ? AND groupid = ?"),
                           {productId, groupId});
}

} // namespace products
