// The data module's rules: defaults of new rows, the steps of saving a
// product, the delete guards, the renumbering of working operations and of
// attribute positions, and the duplicate attribute-value guard.

#include "Productdmunit.h"

#include "Connection.h"
#include "DataSetErrors.h"
#include "Format.h"
#include "HostStrings.h"
#include "Productresourcestring.h"
#include "Rounding.h"
#include "SqlText.h"
#include "WriteRetry.h"

#include <QSqlQuery>

namespace products {

using tarvex::DataSet;
using tarvex::Field;

namespace {

Field& F(DataSet& ds, const char* name)
{
    return ds.fieldByName(QString::fromUtf8(name));
}

// A refused change whose text the host shows.
[[noreturn]] void refuse(const QString& text)
{
    throw tarvex::DataSetError(text);
}

// Trims a text field; an empty result stores no value.
void trimOrNull(Field& field)
{
    if (field.isNull())
        return;
    const QString trimmed = field.asString().trimmed();
    if (trimmed.isEmpty())
        field.clear();
    else if (trimmed != field.asString())
        field.setValue(trimmed);
}

void roundIfSet(Field& field, int digits)
{
    if (!field.isNull())
        field.setValue(tarvex::BetterRoundTo(field.asFloat(), digits));
}

// While the new-record handler runs, the row being inserted is already in
// the dataset's count.
int rowsBesidesTheNewOne(const DataSet& ds)
{
    return ds.state() == tarvex::DataSetState::Insert ? ds.recordCount() - 1 : ds.recordCount();
}

} // namespace

// --- new rows

void TProductDM::ProductZQNewRecord(DataSet& ds)
{
    Generated.clearProduct();
    if (Options.AutoProductCode && !Options.AutoProductCodeFormat.isEmpty()) {
        Generated.code = GetNewProductCode();
        F(ds, "code").setValue(Generated.code);
    }
    if (Options.AutoProductBarcode) {
        Generated.barcode = GetNewProductBarcode();
        F(ds, "barcode").setValue(Generated.barcode);
    }
    F(ds, "active").setValue(true);
    F(ds, "serialnumbers").setValue(false);
    F(ds, "type").setValue(QStringLiteral("r"));
    for (const char* name : {"inputprice", "supplyprice", "planprice", "recommendedprice"})
        F(ds, name).setValue(1.0);
    if (!Options.DefaultProductUnitName.isEmpty())
        F(ds, "unitname").setValue(Options.DefaultProductUnitName);
    const qint32 taxId = GetDefaultTaxID();
    if (taxId > 0) {
        F(ds, "taxid").setValue(taxId);
        F(ds, "taxvalue").setValue(GetTaxValueByID(taxId));
    }
    // Last: the price handler fills the price with tax from the tax above.
    F(ds, "price").setValue(1.0);
}

void TProductDM::WarehouseZQNewRecord(DataSet& ds)
{
    F(ds, "active").setValue(true);
    F(ds, "warehouseautopricechange").setValue(true);
    F(ds, "warehouseonlyfreeamount").setValue(true);
    F(ds, "warehouseinternalsupplyprice").setValue(false);
}

void TProductDM::ProductWarehouseZQNewRecord(DataSet&)
{
    throw tarvex::SilentAbort();
}

void TProductDM::ProductWorkingOperationZQNewRecord(DataSet& ds)
{
    F(ds, "sort").setValue(rowsBesidesTheNewOne(ds) + 1);
}

void TProductDM::AttributePrZQNewRecord(DataSet& ds)
{
    F(ds, "sort").setValue(rowsBesidesTheNewOne(ds) + 1);
}

void TProductDM::AttributePrValueZQNewRecord(DataSet& ds)
{
    const bool hasAttribute = AttributePrZQ->isActive() && !AttributePrZQ->isEmpty();
    F(ds, "attributeprid").setValue(hasAttribute ? F(*AttributePrZQ, "attributeprid").asLargeInt() : 0);
    F(ds, "sort").setValue(rowsBesidesTheNewOne(ds) + 1);
}

void TProductDM::ProductRebateZQNewRecord(DataSet& ds)
{
    F(ds, "rebatetype").setValue(QStringLiteral("P"));
}

// --- saving

void TProductDM::ProductZQBeforePost(DataSet& ds)
{
    {
        // No price handler runs while the save rounds.
        m_priceUpdate = true;
        struct Clear {
            bool& flag;
            ~Clear() { flag = false; }
        } clear{m_priceUpdate};
        roundIfSet(F(ds, "inputprice"), -6);
        roundIfSet(F(ds, "supplyprice"), -2);
        roundIfSet(F(ds, "planprice"), -2);
    }
    trimOrNull(F(ds, "name"));
    trimOrNull(F(ds, "code"));
    trimOrNull(F(ds, "barcode"));
    CommonBeforePost(ds);
}

void TProductDM::ProductDetailZQBeforePost(DataSet& ds)
{
    F(ds, "productid").setValue(F(*ProductZQ, "productid").value());
}

void TProductDM::FixedAssetZQBeforePost(DataSet& ds)
{
    F(ds, "productid").setValue(F(*ProductZQ, "productid").value());
    CommonBeforePost(ds);
}

void TProductDM::AttributePrValueZQBeforePost(DataSet& ds)
{
    const qint64 attribute =
        AttributePrZQ->isActive() && !AttributePrZQ->isEmpty() ? F(*AttributePrZQ, "attributeprid").asLargeInt() : 0;
    QSqlQuery query = ZConnection()->select(
        QStringLiteral("SELECT attributeprvalueid FROM attributeprvalue WHERE attributeprid = ? AND attributevalue = ?"),
        {attribute, F(ds, "attributevalue").asString()});
    QList<qint64> ids;
    while (query.next())
        ids << query.value(0).toLongLong();
    const Field& key = F(ds, "attributeprvalueid");
    const bool onlyItself = ids.size() == 1 && !key.isNull() && ids.first() == key.asLargeInt();
    if (!ids.isEmpty() && !onlyItself)
        refuse(PROD_ATTRIBUTE_VALUE_ERR);
    CommonBeforePost(ds);
}

// --- deleting

void TProductDM::ProductZQBeforeDelete(DataSet& ds)
{
    if (PreceptExist(QStringLiteral("product"), qint32(F(ds, "productid").asLargeInt())))
        refuse(tarvex::CMN_RELATIONAL_INTEGRITY_ERR);
    CommonBeforeDelete(ds);
}

namespace {

// Up to five texts of the first column, joined; "..." when there are more.
QString listed(QSqlQuery query)
{
    QStringList items;
    int count = 0;
    while (query.next()) {
        if (++count <= 5)
            items << query.value(0).toString();
    }
    if (count > 5)
        items << QStringLiteral("...");
    return items.join(QStringLiteral(", "));
}

QString productName(tarvex::Connection& connection, qint64 id)
{
    QSqlQuery query = connection.select(QStringLiteral("SELECT name FROM product WHERE productid = ?"), {id});
    return query.next() ? query.value(0).toString() : QString();
}

} // namespace

QString TProductDM::ProductDeleteRefusal(qint64 id)
{
    tarvex::Connection& connection = *ZConnection();
    const QString name = productName(connection, id);
    const QString documentLines = QStringLiteral(
        "SELECT DISTINCT CONCAT(d.documenttype, ' ', d.number) FROM documentitem AS di INNER JOIN document AS d ON "
        "di.documentid = d.documentid WHERE di.productid = ? AND d.status %1 'p' ORDER BY d.documentdate, d.number");
    QString posted = listed(connection.select(documentLines.arg(QLatin1Char('=')), {id}));
    if (posted.isEmpty())
        posted = listed(connection.select(
            QStringLiteral("SELECT DISTINCT CONCAT(d.documenttype, ' ', d.number) FROM docfinitem AS f INNER JOIN "
                           "document AS d ON f.documentid = d.documentid WHERE f.productid = ?"),
            {id}));
    if (!posted.isEmpty())
        return tarvex::Format(PROD_DELETE_DOCUMENTS_ERR, {name, posted});
    const QString drafts = listed(connection.select(documentLines.arg(QStringLiteral("<>")), {id}));
    if (!drafts.isEmpty())
        return tarvex::Format(PROD_DELETE_DRAFTS_ERR, {name, drafts});
    const QString usedIn = listed(connection.select(
        QStringLiteral("SELECT p.name FROM component AS c INNER JOIN product AS p ON c.productid = p.productid "
                       "WHERE c.rawid = ? AND c.productid <> ? ORDER BY p.name"),
        {id, id}));
    if (!usedIn.isEmpty())
        return tarvex::Format(PROD_DELETE_RAW_ERR, {name, usedIn});
    if (PreceptExist(QStringLiteral("product"), qint32(id)))
        return tarvex::CMN_RELATIONAL_INTEGRITY_ERR;
    return QString();
}

QString TProductDM::ProductDeleteQuestion(qint64 id)
{
    const QString name = productName(*ZConnection(), id);
    return tarvex::Format(ProductGetAmounts(qint32(id)) ? PROD_DELETE_STOCK_CNF : PROD_DELETE_CNF, {name});
}

void TProductDM::DeleteProduct(qint64 id)
{
    tarvex::Connection& connection = *ZConnection();
    QueryDataSet& list = *ProductZQ;
    bool removedFromList = false;
    try {
        // A try the server undid may have taken the row out of the list
        // already: the next one deletes it by its key.
        tarvex::writeTransaction(connection, [&] {
            const QString refusal = ProductDeleteRefusal(id);
            if (!refusal.isEmpty())
                refuse(refusal);
            connection.execute(
                QStringLiteral("DELETE paw FROM productattributewarehouse AS paw INNER JOIN productattribute AS pa ON "
                               "paw.productattributeid = pa.productattributeid WHERE pa.productid = ?"),
                {id});
            for (const char* table : {"productdetail", "productwarehouse", "productcategorypr", "productalter",
                                      "productattribute", "productrebate", "productworkingoperation", "fixedasset",
                                      "kasatableitem"})
                connection.execute(QStringLiteral("DELETE FROM %1 WHERE productid = ?").arg(QLatin1String(table)),
                                   {id});
            connection.execute(QStringLiteral("DELETE FROM productpackaging WHERE productid = ? OR packagingid = ?"),
                               {id, id});
            connection.execute(QStringLiteral("DELETE FROM component WHERE productid = ?"), {id});
            if (list.isActive() && !list.isEmpty() && !list.isEditing() && F(list, "productid").asLargeInt() == id) {
                list.deleteRecord();
                removedFromList = true;
            } else {
                connection.execute(QStringLiteral("DELETE FROM product WHERE productid = ?"), {id});
            }
        }, QStringLiteral("Product delete"));
    } catch (...) {
        // The row left the list with a write that did not hold.
        if (removedFromList)
            list.refresh();
        throw;
    }
}

void TProductDM::MakePrimary(QueryDataSet& ds, const QString& keyName, qint64 id)
{
    ds.checkBrowseMode();
    try {
        // Every row is written, so a second "primary" left by anyone is cleared too.
        tarvex::writeTransaction(*ZConnection(), [&] {
            for (ds.first(); !ds.eof(); ds.next()) {
                ds.edit();
                const bool chosen = ds.fieldByName(keyName).asLargeInt() == id;
                F(ds, "status").setValue(chosen ? QStringLiteral("primary") : QStringLiteral("standard"));
                ds.post();
            }
        }, QStringLiteral("Primary row"));
    } catch (...) {
        ds.cancel();
        ds.refresh();
        ds.locate(keyName, id);
        throw;
    }
    ds.locate(keyName, id);
}

void TProductDM::ProductWorkingOperationZQBeforeDelete(DataSet& ds)
{
    CommonBeforeDelete(ds);
    RecalcWOItemSortNum(F(ds, "sort").asInteger());
}

void TProductDM::RecalcWOItemSortNum(int position)
{
    QueryDataSet& ds = *ProductWorkingOperationZQ;
    const auto mark = ds.bookmark();
    ds.disableControls();
    struct Resume {
        QueryDataSet& ds;
        ~Resume() { ds.enableControls(); }
    } resume{ds};
    for (ds.first(); !ds.eof(); ds.next()) {
        Field& sort = F(ds, "sort");
        if (sort.asInteger() > position) {
            if (!ds.isEditing())
                ds.edit();
            sort.setValue(sort.asInteger() - 1);
            ds.post();
        }
    }
    if (ds.bookmarkValid(mark))
        ds.gotoBookmark(mark);
}

// --- attribute values follow the current attribute

void TProductDM::AttributePrZQAfterScroll(DataSet& ds)
{
    const qint64 id = ds.isActive() && !ds.isEmpty() ? F(ds, "attributeprid").asLargeInt() : 0;
    AttributePrValueZQ->close();
    AttributePrValueZQ->setSql(QStringLiteral("SELECT * FROM attributeprvalue WHERE attributeprid = :attributeprid ORDER BY sort"));
    AttributePrValueZQ->setParam(QStringLiteral("attributeprid"), id);
    AttributePrValueZQ->open();
    AttributePrValueZQ->first();
}

// --- renumbering attribute positions

void TProductDM::AttributePrZQsortChange(Field& field)
{
    renumberSort(*AttributePrZQ, QStringLiteral("attributeprid"), field);
}

void TProductDM::AttributePrValueZQsortChange(Field& field)
{
    renumberSort(*AttributePrValueZQ, QStringLiteral("attributeprvalueid"), field);
}

namespace {

void setSort(QueryDataSet& ds, int value)
{
    if (!ds.isEditing())
        ds.edit();
    F(ds, "sort").setValue(value);
    ds.post();
}

// Moving to the last place: every other row keeps its order and takes the
// positions 1 .. n-1, the moved row takes n. (Writing n into the moved row
// alone would leave two rows at the end and a gap where it came from.)
void moveToLast(QueryDataSet& ds, const QString& keyName, const QVariant& movedKey, int count)
{
    int i = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        if (tarvex::sameValue(ds.fieldByName(keyName).value(), movedKey))
            continue;
        ++i;
        if (F(ds, "sort").asInteger() != i)
            setSort(ds, i);
    }
    if (ds.locate(keyName, movedKey) && F(ds, "sort").asInteger() != count)
        setSort(ds, count);
}

} // namespace

void TProductDM::renumberSort(QueryDataSet& ds, const QString& keyName, Field& sortField)
{
    if (m_renumbering)
        return;
    m_renumbering = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{m_renumbering};

    if (ds.fieldByName(keyName).isNull())
        return; // a row not saved yet
    const int count = ds.recordCount();
    int n = sortField.asInteger();
    if (n < 1) {
        n = 1;
        sortField.setValue(n);
    }
    if (n > count && ds.state() != tarvex::DataSetState::Insert) {
        n = count;
        sortField.setValue(n);
    }

    const auto mark = ds.bookmark();
    const QVariant movedKey = ds.fieldByName(keyName).value();
    ds.disableControls();
    struct Resume {
        QueryDataSet& ds;
        ~Resume() { ds.enableControls(); }
    } resume{ds};
    ds.post();
    ds.setSortedFields(QString());
    ds.setSortedFields(QStringLiteral("sort"));

    if (n >= count) {
        moveToLast(ds, keyName, movedKey, count);
    } else {
        int i = 0;
        int p = 0;
        ds.first();
        while (!ds.eof() && F(ds, "sort").asInteger() < n) {
            ++i;
            if (F(ds, "sort").asInteger() != i)
                setSort(ds, i);
            p = F(ds, "sort").asInteger();
            ds.next();
        }
        // Two rows now hold n: the moved one and the one that held n before.
        const int displaced = n <= p + 1 ? n + 1 : p + 1;
        if (!ds.eof()) {
            const bool movedFirst = tarvex::sameValue(ds.fieldByName(keyName).value(), movedKey);
            setSort(ds, movedFirst ? n : displaced);
            ++i;
            ds.next();
            if (!ds.eof()) {
                setSort(ds, movedFirst ? displaced : n);
                ++i;
                ds.next();
            }
        }
        while (!ds.eof()) {
            ++i;
            setSort(ds, i);
            ds.next();
        }
    }
    ds.setSortedFields(QString());
    ds.setSortedFields(QStringLiteral("sort"));
    if (ds.bookmarkValid(mark))
        ds.gotoBookmark(mark);
}

// --- the module's own field tests

bool TProductDM::TestUniqueProductName(Field& field)
{
    if (field.asString().isEmpty())
        return false;
    if (Options.UniqueProductNameCharsNum <= 0)
        return true;
    return tarvex::TestUnique(field, QStringLiteral("product"), QStringLiteral("name"), QStringLiteral("productid"),
                              QString(), Options.UniqueProductNameCharsNum);
}

bool TProductDM::TestUniqueProductCode(Field& field)
{
    if (!Options.UniqueProductCode || field.asString().isEmpty())
        return true;
    return tarvex::TestUnique(field, QStringLiteral("product"), QStringLiteral("code"), QStringLiteral("productid"),
                              QString(), 0);
}

bool TProductDM::TestUniqueProductBarcode(Field& field)
{
    if (!Options.UniqueProductBarcode || field.asString().isEmpty())
        return true;
    return tarvex::TestUnique(field, QStringLiteral("product"), QStringLiteral("barcode"), QStringLiteral("productid"),
                              QString(), 0);
}

bool TProductDM::TestUniqueWarehouseCode(Field& field)
{
    if (field.asString().isEmpty())
        return true;
    return tarvex::TestUnique(field, QStringLiteral("warehouse"), QStringLiteral("code"), QStringLiteral("warehouseid"),
                              QString(), 0);
}

} // namespace products
