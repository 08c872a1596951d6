// Deleting a tax rate, a warehouse, an attribute or an attribute value: the
// guards that refuse a row other rows still need, naming what holds it, and
// the delete itself in one transaction with its guard.
//
// Two workstations: one adds a stock row while the other deletes the
// warehouse. The guard first locks the row being deleted (FOR UPDATE) and
// only then reads anything, so its counts see every row committed before it
// got the lock; a row added on the product side meets that lock through its
// foreign key (the insert waits, then fails on the deleted parent). The
// document module's tables have no foreign keys: their rows are counted
// here, and their writers are to lock the warehouse row in share mode.

#include "Productdmunit.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "Format.h"
#include "HostStrings.h"
#include "Productcounts.h"
#include "Productresourcestring.h"
#include "WriteRetry.h"

#include <QSqlQuery>

namespace products {

using tarvex::DataSet;

namespace {

qint64 count(tarvex::Connection& c, const QString& sql, const QVariantList& values)
{
    return c.value(sql, values).toLongLong();
}

// "koriste 3 proizvoda i 2 kategorije": the verb agrees with the first count.
QString usedBy(const QList<std::pair<qint64, QStringList>>& users, const QString& object = QString())
{
    QStringList parts;
    qint64 first = -1;
    for (const auto& [n, forms] : users) {
        if (n == 0)
            continue;
        if (first < 0)
            first = n;
        parts << CountText(n, forms[0], forms[1], forms[2]);
    }
    if (parts.isEmpty())
        return QString();
    QString verb = countForm(first) == CountForm::Few ? QStringLiteral("koriste") : QStringLiteral("koristi");
    if (!object.isEmpty())
        verb += QLatin1Char(' ') + object;
    return verb + QLatin1Char(' ') + JoinedWithAnd(parts);
}

const QStringList kProducts = {QStringLiteral("proizvod"), QStringLiteral("proizvoda"), QStringLiteral("proizvoda")};
const QStringList kCategories = {QStringLiteral("kategorija"), QStringLiteral("kategorije"),
                                 QStringLiteral("kategorija")};

QString columnIn(const char* column)
{
    QStringList positions;
    for (int i = 1; i <= 5; ++i)
        positions << QString::fromLatin1(column) + QString::number(i);
    return QStringLiteral("? IN (%1)").arg(positions.join(QStringLiteral(", ")));
}

} // namespace

const TProductDM::DeleteKind* TProductDM::deleteKind(const DataSet& ds) const
{
    static const DeleteKind tax{"tax", "taxid", "name", &TAX_DELETE_CNF};
    static const DeleteKind warehouse{"warehouse", "warehouseid", "name", &WAREHOUSE_DELETE_CNF};
    static const DeleteKind attribute{"attributepr", "attributeprid", "attribute", &ATTRIBUTE_DELETE_CNF};
    static const DeleteKind value{"attributeprvalue", "attributeprvalueid", "attributevalue",
                                  &ATTRIBUTE_VALUE_DELETE_CNF};
    if (&ds == TaxZQ)
        return &tax;
    if (&ds == WarehouseZQ)
        return &warehouse;
    if (&ds == AttributePrZQ)
        return &attribute;
    if (&ds == AttributePrValueZQ)
        return &value;
    return nullptr;
}

QString TProductDM::TaxDeleteRefusal(qint64 id)
{
    tarvex::Connection& c = connection();
    if (PreceptExist(QStringLiteral("tax"), qint32(id)))
        return tarvex::CMN_RELATIONAL_INTEGRITY_ERR;
    const QString uses =
        usedBy({{count(c, QStringLiteral("SELECT COUNT(*) FROM product WHERE taxid = ?"), {id}), kProducts}});
    if (uses.isEmpty())
        return QString();
    const QString name = c.value(QStringLiteral("SELECT name FROM tax WHERE taxid = ?"), {id}).toString();
    return tarvex::Format(TAX_DELETE_USED_ERR, {name, uses});
}

QString TProductDM::WarehouseDeleteRefusal(qint64 id)
{
    tarvex::Connection& c = connection();
    if (PreceptExist(QStringLiteral("warehouse"), qint32(id)))
        return tarvex::CMN_RELATIONAL_INTEGRITY_ERR;
    const qint64 stock = count(c, QStringLiteral("SELECT COUNT(*) FROM productwarehouse WHERE warehouseid = ?"), {id});
    const qint64 variants =
        count(c, QStringLiteral("SELECT COUNT(*) FROM productattributewarehouse WHERE warehouseid = ?"), {id});
    // A transfer names the warehouse as its source or its destination.
    const qint64 documents = count(c,
                                   QStringLiteral("SELECT COUNT(*) FROM (SELECT documentid FROM document WHERE "
                                                  "warehouseid = ? UNION SELECT documentid FROM document WHERE "
                                                  "inwarehouseid = ? UNION SELECT documentid FROM docfinitem WHERE "
                                                  "warehouseid = ?) AS d"),
                                   {id, id, id});
    QStringList held;
    if (stock > 0)
        held << CountText(stock, QStringLiteral("stavku zaliha"), QStringLiteral("stavke zaliha"),
                          QStringLiteral("stavki zaliha"));
    if (variants > 0)
        held << CountText(variants, QStringLiteral("stavku zaliha varijanti"), QStringLiteral("stavke zaliha varijanti"),
                          QStringLiteral("stavki zaliha varijanti"));
    if (documents > 0)
        held << CountText(documents, QStringLiteral("dokument"), QStringLiteral("dokumenta"),
                          QStringLiteral("dokumenata"));
    if (held.isEmpty())
        return QString();
    const QString name = c.value(QStringLiteral("SELECT name FROM warehouse WHERE warehouseid = ?"), {id}).toString();
    return tarvex::Format(WAREHOUSE_DELETE_HELD_ERR, {name, JoinedWithAnd(held)});
}

QString TProductDM::AttributeDeleteRefusal(qint64 id)
{
    tarvex::Connection& c = connection();
    const qint64 values = count(c, QStringLiteral("SELECT COUNT(*) FROM attributeprvalue WHERE attributeprid = ?"), {id});
    const qint64 products = count(
        c, QStringLiteral("SELECT COUNT(DISTINCT productid) FROM productattribute WHERE ") + columnIn("attributeprid"),
        {id});
    const qint64 categories = count(
        c, QStringLiteral("SELECT COUNT(DISTINCT categoryprid) FROM categoryprattribute WHERE attributeprid = ?"), {id});
    const QString has = values > 0 ? CountText(values, QStringLiteral("vrednost"), QStringLiteral("vrednosti"),
                                               QStringLiteral("vrednosti"))
                                   : QString();
    if (has.isEmpty() && products == 0 && categories == 0)
        return QString();
    const QString name =
        c.value(QStringLiteral("SELECT attribute FROM attributepr WHERE attributeprid = ?"), {id}).toString();
    if (products == 0 && categories == 0)
        return tarvex::Format(ATTRIBUTE_DELETE_HAS_ERR, {name, has});
    if (has.isEmpty())
        return tarvex::Format(ATTRIBUTE_DELETE_USED_ERR, {name, usedBy({{products, kProducts}, {categories, kCategories}})});
    return tarvex::Format(ATTRIBUTE_DELETE_BOTH_ERR,
                          {name, has, usedBy({{products, kProducts}, {categories, kCategories}}, QStringLiteral("ga"))});
}

QString TProductDM::AttributeValueDeleteRefusal(qint64 id)
{
    tarvex::Connection& c = connection();
    const qint64 products =
        count(c,
              QStringLiteral("SELECT COUNT(DISTINCT productid) FROM productattribute WHERE ") +
                  columnIn("attributeprvalueid"),
              {id});
    // A category names the value by its text.
    const qint64 categories =
        count(c,
              QStringLiteral("SELECT COUNT(DISTINCT c.categoryprid) FROM categoryprattribute AS c INNER JOIN "
                             "attributeprvalue AS v ON c.attributeprid = v.attributeprid AND c.catattributevalue = "
                             "v.attributevalue WHERE v.attributeprvalueid = ?"),
              {id});
    const QString uses = usedBy({{products, kProducts}, {categories, kCategories}});
    if (uses.isEmpty())
        return QString();
    const QString name =
        c.value(QStringLiteral("SELECT attributevalue FROM attributeprvalue WHERE attributeprvalueid = ?"), {id})
            .toString();
    return tarvex::Format(ATTRIBUTE_VALUE_DELETE_USED_ERR, {name, uses});
}

QString TProductDM::DeleteRefusal(const DataSet& ds)
{
    const DeleteKind* kind = deleteKind(ds);
    if (!kind || !ds.isActive() || ds.isEmpty())
        return QString();
    const qint64 id = ds.fieldByName(QString::fromLatin1(kind->key)).asLargeInt();
    if (&ds == TaxZQ)
        return TaxDeleteRefusal(id);
    if (&ds == WarehouseZQ)
        return WarehouseDeleteRefusal(id);
    if (&ds == AttributePrZQ)
        return AttributeDeleteRefusal(id);
    return AttributeValueDeleteRefusal(id);
}

QString TProductDM::DeleteQuestion(const DataSet& ds) const
{
    const DeleteKind* kind = deleteKind(ds);
    if (!kind || !ds.isActive() || ds.isEmpty())
        return QString();
    return tarvex::Format(*kind->question, {ds.fieldByName(QString::fromLatin1(kind->name)).asString()});
}

void TProductDM::ReferenceBeforeDelete(DataSet& ds)
{
    CommonBeforeDelete(ds);
    const DeleteKind* kind = deleteKind(ds);
    const qint64 id = ds.fieldByName(QString::fromLatin1(kind->key)).asLargeInt();
    // Before anything is read: see the comment at the top.
    connection().select(QStringLiteral("SELECT %2 FROM %1 WHERE %2 = ? FOR UPDATE")
                            .arg(QLatin1String(kind->table), QLatin1String(kind->key)),
                        {id});
    const QString refusal = DeleteRefusal(ds);
    if (!refusal.isEmpty())
        throw tarvex::DataSetError(refusal);
}

void TProductDM::DeleteReferenceRow(QueryDataSet& ds)
{
    const DeleteKind* kind = deleteKind(ds);
    if (!kind || !ds.isActive() || ds.isEmpty())
        return;
    ds.checkBrowseMode();
    const QString key = QString::fromLatin1(kind->key);
    const qint64 id = ds.fieldByName(key).asLargeInt();
    const int rows = ds.recordCount();
    try {
        tarvex::writeTransaction(connection(), [&] {
            // A try whose commit the server undid took the row out of the
            // list already: the list is read again to find it.
            if (ds.isEmpty() || ds.fieldByName(key).asLargeInt() != id) {
                ds.refresh();
                if (!ds.locate(key, id))
                    return;  // another workstation deleted it meanwhile
            }
            ds.deleteRecord();
        }, QStringLiteral("Reference delete"));
    } catch (...) {
        // The row left the list with a delete that did not hold.
        if (ds.isActive() && ds.recordCount() != rows)
            ds.refresh();
        throw;
    }
    if (&ds == TaxZQ && id == m_defTaxId)
        m_defTaxId = 0;
    if (&ds == WarehouseZQ && id == m_defWarehouseId)
        m_defWarehouseId = 0;
}

} // namespace products
