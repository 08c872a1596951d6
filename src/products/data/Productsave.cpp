#include "Productsave.h"

#include "Categorytree.h"
#include "Clock.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "Productdmunit.h"
#include "Productidentifiers.h"
#include "Productplus.h"
#include "Productresourcestring.h"
#include "Productrules.h"
#include "QueryDataSet.h"
#include "WriteRetry.h"

#include <QPointer>
#include <QSqlQuery>
#include <QUuid>

namespace products {

using tarvex::DataSetState;
using tarvex::QueryDataSet;

namespace {

void postIfEditing(tarvex::DataSet& dataSet)
{
    if (dataSet.isEditing())
        dataSet.post();
}

tarvex::Field& F(const tarvex::DataSet& ds, const char* name)
{
    return ds.fieldByName(QString::fromUtf8(name));
}

// Stored as active and now inactive; a new row has nothing stored.
bool deactivating(const QueryDataSet& product)
{
    const tarvex::Field& active = F(product, "active");
    const QVariant stored = active.oldValue();
    bool ok = false;
    return !stored.isNull() && tarvex::readBoolean(stored, &ok) && ok && !active.asBoolean();
}

} // namespace

Productsave::Productsave(TProductDM& dm) : m_dm(dm)
{
}

// --- checks

QString Productsave::check(const ProductsaveInput& input) const
{
    const QueryDataSet& product = *m_dm.ProductZQ;
    const TProductOptions& options = m_dm.Options;
    const QString name = F(product, "name").asString();

    if (productNameHasForbiddenChars(name))
        return PROD_NAME_CHAR_ERR;
    if (options.ProductNameUnchangeable && !F(product, "kasaplu").isNull()) {
        const QString& loaded = m_dm.LoadedProductName;
        if (name != loaded || (!input.typedName.isNull() && input.typedName != loaded))
            return PROD_NAME_UNCHANGE_ERR;
    }
    if (options.ProductCodeRequired && F(product, "code").asString().isEmpty())
        return PROD_CODE_INVALIDE_ERR;
    if (options.ForeignNameRequired && F(product, "foreignname").asString().isEmpty())
        return PROD_FOREI_NAME_INVALIDE_ERR;
    if (options.ManufacturerNameRequired && F(product, "manufname").asString().isEmpty())
        return PROD_MANUF_NAME_INVALIDE_ERR;

    const bool inserting = product.state() == DataSetState::Insert;
    if (deactivating(product) && F(product, "type").asString() != u"u" &&
        m_dm.ProductGetAmounts(F(product, "productid").asInteger()))
        return PROD_ACTIVE_INVALIDE_ERR;

    if (options.ProductCategoryRequired) {
        bool given = false;
        if (input.categories)
            given = !input.categories->isEmpty();
        else if (!inserting)
            given = m_dm.CategoriesExist(F(product, "productid").asLargeInt());
        if (!given)
            return PROD_CAT_PR_INVALIDE_ERR;
    }
    return QString();
}

// --- writing

void Productsave::write(const ProductsaveInput& input)
{
    tarvex::Connection& connection = *m_dm.ZConnection();
    settleInDoubt();
    try {
        tarvex::writeTransaction(connection, [&] { writeOnce(input); }, QStringLiteral("Product save"));
    } catch (const tarvex::DatabaseError&) {
        // Without a commit mark to read, the token on the product tells,
        // once the server is back.
        if (connection.transactionInDoubt() && !connection.hasDoubtResolver() && !m_token.isEmpty()) {
            connection.setDoubtResolver([&connection, token = m_token] {
                QSqlQuery query = connection.prepare(QStringLiteral("SELECT productid FROM product WHERE savetoken = ?"));
                query.addBindValue(token);
                connection.exec(query);
                return query.next();
            });
        } else if (connection.transactionInDoubt() && !connection.hasDoubtResolver()) {
            // A database without the token cannot tell: the work stays to be saved again.
            connection.settleInDoubt(false);
        }
        throw;
    }
}

void Productsave::settleInDoubt()
{
    m_dm.ZConnection()->resolveDoubt();
}

void Productsave::writeOnce(const ProductsaveInput& input)
{
    tarvex::Connection& connection = *m_dm.ZConnection();
    QueryDataSet& product = *m_dm.ProductZQ;
    m_token.clear();
    // First of all: what the save reads from here on is read under the lock.
    lockIdentifiers(connection, kProductIdentifiers);
    const bool inserting = product.state() == DataSetState::Insert;
    replaceTakenIdentifiers();

    postIfEditing(product);
    const QString loadedBefore = m_dm.LoadedProductName;
    m_dm.LoadedProductName = F(product, "name").asString();
    QPointer<TProductDM> dm(&m_dm);
    connection.onTransactionEnd([dm, loadedBefore](bool committed) {
        if (!committed && dm)
            dm->LoadedProductName = loadedBefore;
    });
    const qint64 id = F(product, "productid").asLargeInt();

    QueryDataSet& detail = *m_dm.ProductDetailZQ;
    // Every product has its detail row, typed into or not.
    if (inserting && detail.isActive() && detail.isEmpty() && !detail.isEditing())
        detail.append();
    postIfEditing(detail);
    postIfEditing(*m_dm.ProductWarehouseZQ);

    QueryDataSet& operations = *m_dm.ProductWorkingOperationZQ;
    if (operations.isActive()) {
        postIfEditing(operations);
        if (operations.updatesPending())
            applyCachedList(operations, id);
    }
    QueryDataSet& variants = *m_dm.ProductAttributeZQ;
    if (variants.isActive()) {
        postIfEditing(variants);
        if (variants.updatesPending()) {
            lockIdentifiers(connection, kVariantBarcodes);
            replaceTakenVariantBarcodes();
            applyCachedList(variants, id);
        }
    }
    if (m_dm.FixedAssetZQ->isActive())
        postIfEditing(*m_dm.FixedAssetZQ);
    for (QueryDataSet* cached : {m_dm.ProductPackagingZQ, m_dm.ProductRebateZQ}) {
        if (!cached->isActive())
            continue;
        postIfEditing(*cached);
        if (cached->updatesPending())
            applyCachedList(*cached, id);
    }
    if (input.categories)
        saveCategories(id, *input.categories);

    // A database made before the token existed saves without it.
    if (!connection.tableInfo(QStringLiteral("product")).column(QStringLiteral("savetoken")))
        return;
    m_token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlQuery token = connection.prepare(QStringLiteral("UPDATE product SET savetoken = ? WHERE productid = ?"));
    token.addBindValue(m_token);
    token.addBindValue(id);
    connection.exec(token);
}

void Productsave::replaceTakenIdentifiers()
{
    QueryDataSet& product = *m_dm.ProductZQ;
    if (!product.isEditing())
        return;
    tarvex::Connection& connection = *m_dm.ZConnection();
    GeneratedIdentifiers& generated = m_dm.Generated;
    if (product.state() != DataSetState::Insert) {
        // Codes and barcodes are generated for new products only: what
        // is left from one saved before is no longer the module's.
        generated.code.clear();
        generated.barcode.clear();
    }
    const qint64 id = F(product, "productid").isNull() ? 0 : F(product, "productid").asLargeInt();
    const QString codeTemplate = m_dm.Options.AutoProductCodeFormat;

    // Only a value that still reads as generated is the module's to change.
    tarvex::Field& code = F(product, "code");
    if (!generated.code.isEmpty() && code.asString() == generated.code &&
        productValueTaken(connection, QStringLiteral("code"), generated.code, id)) {
        generated.code = nextFreeProductCode(connection, codeTemplate, id);
        code.setValue(generated.code);
    }
    tarvex::Field& barcode = F(product, "barcode");
    if (!generated.barcode.isEmpty() && barcode.asString() == generated.barcode &&
        productValueTaken(connection, QStringLiteral("barcode"), generated.barcode, id)) {
        generated.barcode = nextFreeProductBarcode(connection, codeTemplate, id);
        barcode.setValue(generated.barcode);
    }
    tarvex::Field& plu = F(product, "kasaplu");
    if (!generated.plu.isNull() && !plu.isNull() && plu.asLargeInt() == generated.plu.toLongLong() &&
        productValueTaken(connection, QStringLiteral("kasaplu"), generated.plu, id)) {
        const TProductPlus holders;
        const tarvex::PluPool pool(holders, connection.database());
        const auto free = pool.lowestFree(generated.pluVireo ? tarvex::PluPool::Registers::Vireo
                                                             : tarvex::PluPool::Registers::Ordinary);
        if (free) {
            generated.plu = *free;
            plu.setValue(*free);
        } else {
            // No free number left: the product goes without one.
            generated.plu = QVariant();
            plu.clear();
        }
    }
}

void Productsave::replaceTakenVariantBarcodes()
{
    QueryDataSet& variants = *m_dm.ProductAttributeZQ;
    tarvex::Connection& connection = *m_dm.ZConnection();
    QSet<QString>& generated = m_dm.Generated.variantBarcodes;
    const auto mark = variants.bookmark();
    variants.disableControls();
    struct Resume {
        QueryDataSet& ds;
        ~Resume() { ds.enableControls(); }
    } resume{variants};
    QSet<QString> seen;
    for (variants.first(); !variants.eof(); variants.next()) {
        tarvex::Field& barcode = F(variants, "prodattbarcode");
        const QString value = barcode.asString();
        const bool isNew = F(variants, "productattributeid").isNull();
        if (isNew && generated.contains(value) && (seen.contains(value) || variantBarcodeTaken(connection, value))) {
            QString fresh;
            do {
                fresh = m_dm.GenerateAttributeBarcode(tarvex::hostClock().now(), F(variants, "attributeprid1").asInteger());
            } while (seen.contains(fresh));
            variants.edit();
            barcode.setValue(fresh);
            variants.post();
            seen.insert(fresh);
        } else {
            seen.insert(value);
        }
    }
    if (variants.bookmarkValid(mark))
        variants.gotoBookmark(mark);
}

void Productsave::saveCategories(qint64 productId, const QStringList& lines)
{
    tarvex::Connection& connection = *m_dm.ZConnection();
    connection.execute(QStringLiteral("DELETE FROM productcategorypr WHERE productid = ?"), {productId});
    for (qint32 category : CatPathsToIDs(connection.database(), CatStringsToPath(lines)))
        connection.execute(QStringLiteral("INSERT INTO productcategorypr SET productid = ?, categoryprid = ?"),
                           {productId, category});
}

void Productsave::applyCachedList(QueryDataSet& rows, qint64 productId)
{
    tarvex::Field& owner = rows.fieldByName(QStringLiteral("productid"));
    QList<tarvex::DataSet::Bookmark> ownerless;
    {
        rows.disableControls();
        struct Resume {
            QueryDataSet& ds;
            ~Resume() { ds.enableControls(); }
        } resume{rows};
        for (rows.first(); !rows.eof(); rows.next()) {
            if (owner.asLargeInt() == 0) {
                ownerless << rows.bookmark();
                rows.edit();
                owner.setValue(productId);
                rows.post();
            }
        }
        rows.first();
    }
    tarvex::Connection* connection = rows.connection();
    if (connection && connection->inTransaction() && !ownerless.isEmpty()) {
        // A rolled-back save leaves the product without its id again, so
        // its new rows wait for the next one without an owner too.
        QPointer<QueryDataSet> list(&rows);
        connection->onTransactionEnd([list, ownerless](bool committed) {
            if (committed || !list || !list->isActive())
                return;
            list->disableControls();
            for (const auto mark : ownerless) {
                if (!list->bookmarkValid(mark))
                    continue;
                list->gotoBookmark(mark);
                list->edit();
                list->fieldByName(QStringLiteral("productid")).setValue(0);
                list->post();
            }
            list->first();
            list->enableControls();
        });
    }
    rows.applyUpdates();
}

} // namespace products
