#include "Productdmunit.h"

#include "Captions.h"
#include "Connection.h"
#include "DataSetErrors.h"
#include "HostStrings.h"
#include "IniFile.h"
#include "Productlistsql.h"
#include "Workstation.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace products {

using tarvex::DataSet;
using tarvex::Field;
using tarvex::FieldType;

TProductDM* ProductDM = nullptr;

namespace {

QString lines(std::initializer_list<const char*> parts)
{
    QStringList list;
    for (const char* part : parts)
        list << QString::fromUtf8(part);
    return list.join(QLatin1Char('\n'));
}

void caption(QueryDataSet* ds, const char* name, const char* label, const char* format = nullptr)
{
    Field& field = ds->declareField(QString::fromUtf8(name));
    field.setDisplayLabel(QString::fromUtf8(label));
    if (format)
        field.setDisplayFormat(QString::fromUtf8(format));
}

// A yes/no column shown as two host texts and stored from them.
void yesNoTexts(QueryDataSet* ds, const char* name, const QString& yes, const QString& no)
{
    Field& field = ds->declareField(QString::fromUtf8(name), FieldType::Boolean);
    field.setOnGetText([yes, no](const Field& f, bool) { return f.isNull() ? QString() : f.asBoolean() ? yes : no; });
    field.setOnSetText([yes](Field& f, const QString& text) { f.setValue(text == yes); });
}

// A coded column shown through the host's caption functions.
void codedTexts(QueryDataSet* ds, const char* name, QString (*captionOf)(const QString&),
                QString (*codeOf)(const QString&))
{
    Field& field = ds->declareField(QString::fromUtf8(name));
    field.setOnGetText([captionOf](const Field& f, bool) { return f.isNull() ? QString() : captionOf(f.asString()); });
    field.setOnSetText([codeOf](Field& f, const QString& text) { f.setValue(codeOf(text)); });
}

} // namespace

QString TProductDM::productDesignSql()
{
    // No warehouse 0: the stock columns stay empty until a search names one.
    return productListSql(QStringLiteral("0"), QStringLiteral("p.productid = -1"));
}

QString TProductDM::productAttributeDesignSql()
{
    QStringList text{QStringLiteral("SELECT pa.*,")};
    for (int i = 1; i <= 5; ++i)
        text << QStringLiteral("  CONCAT(a%1.attribute,'') AS attname%1, CONCAT(av%1.attributevalue,'') AS attvalue%1%2")
                    .arg(i)
                    .arg(i < 5 ? QStringLiteral(",") : QString());
    text << QStringLiteral("FROM productattribute AS pa ");
    for (int i = 1; i <= 5; ++i)
        text << QStringLiteral("  LEFT JOIN attributepr AS a%1 ON pa.attributeprid%1 = a%1.attributeprid LEFT JOIN "
                               "attributeprvalue AS av%1 ON pa.attributeprvalueid%1 = av%1.attributeprvalueid")
                    .arg(i);
    text << QStringLiteral("WHERE pa.productid = :idproduct") << QStringLiteral("ORDER BY pa.productattributeid");
    return text.join(QLatin1Char('\n'));
}

TProductDM::TProductDM(QObject* parent) : tarvex::TCustomDM(parent)
{
    m_iniFile = tarvex::DefaultIniFilePath();
    m_programDir = QCoreApplication::instance() ? tarvex::Workstation::current().dataDir() : QString();

    ProductZQ = makeDataSet(productDesignSql(), false);
    ProductZQ->setUpdateTable(QStringLiteral("product"));
    // The whole catalogue of a big shop is read a page at a time.
    ProductZQ->setPaging(QStringLiteral("productid"));
    ProductDetailZQ =
        makeDataSet(QStringLiteral("SELECT pd.*,") + priceWithVatSql(QStringLiteral("pd.webprice")) +
                        QStringLiteral(" AS webpricewithvat FROM productdetail AS pd LEFT JOIN product AS p ON "
                                       "pd.productid = p.productid LEFT JOIN tax AS t ON p.taxid = t.taxid WHERE "
                                       "pd.productid = :productid"),
                    false);
    TaxZQ = makeDataSet(QStringLiteral("SELECT * FROM tax ORDER BY name"), false);
    WarehouseZQ = makeDataSet(QStringLiteral("SELECT * FROM warehouse ORDER BY name"), false);
    ProductWarehouseZQ = makeDataSet(productWarehouseRowsSql(QStringLiteral("pw.productid = -1")), false);
    FixedAssetZQ = makeDataSet(
        lines({"SELECT fa.*, (dg.percent + 0.0) AS DepreciationGroupPercent, (dag.percent + 0.0) AS "
               "DepreciationAccountingGroupPercent",
               "FROM fixedasset AS fa LEFT JOIN depreciationgroup AS dg ON fa.depreciationgroupid = "
               "dg.depreciationgroupid",
               "  LEFT JOIN depreciationaccountinggroup AS dag ON fa.depreciationaccountinggroupid = "
               "dag.depreciationaccountinggroupid",
               "WHERE productid = :IDProduct"}),
        false);
    DepreciationGroupZQ = makeDataSet(QStringLiteral("SELECT * FROM depreciationgroup ORDER BY percent"), false);
    DepreciationAccountingGroupZQ =
        makeDataSet(QStringLiteral("SELECT * FROM depreciationaccountinggroup ORDER BY percent"), false);
    ProductPackagingZQ = makeDataSet(lines({"SELECT pp.*, CONCAT(p.name,'') AS name", "FROM productpackaging AS pp",
                                            "  LEFT JOIN product AS p ON p.productid = pp.packagingid",
                                            "WHERE pp.productid = :idproduct"}),
                                     true);
    ProductProductsZQ = makeDataSet(
        lines({"SELECT c.quantity, CONCAT(p.name,'') AS name, CONCAT(p.code,'') AS code, CONCAT(p.barcode,'') AS "
               "barcode, CONCAT(p.manufcode,'') AS manufcode",
               "FROM component AS c", "  LEFT JOIN product AS p ON c.productid = p.productid",
               "WHERE c.rawid = :productid"}),
        false);
    ProductProductsZQ->setReadOnly(true);
    ProductWorkingOperationZQ =
        makeDataSet(QStringLiteral("SELECT * FROM productworkingoperation WHERE productid = :idproduct"), true);
    CategoryPrZQ = makeDataSet(lines({"SELECT *, (maxrebate / (100 - maxrebate) * 100) AS maxmargin FROM categorypr",
                                      "WHERE categoryprid = :idcategorypr"}),
                               false);
    CategoryPrAttributeZQ =
        makeDataSet(QStringLiteral("SELECT * FROM categoryprattribute WHERE categoryprid = :idcategorypr"), false);
    ProductAttributeZQ = makeDataSet(productAttributeDesignSql(), true);
    AttributePrZQ = makeDataSet(QStringLiteral("SELECT * FROM attributepr ORDER BY sort"), false);
    AttributePrValueZQ = makeDataSet(
        lines({"SELECT * FROM attributeprvalue ", "WHERE attributeprid = :idattributepr ", "ORDER BY sort"}), false);
    ProductRebateZQ = makeDataSet(QStringLiteral("SELECT * FROM productrebate WHERE productid = :idproduct"), true);

    setUpFields();
    setUpLabels();
    wireEvents();
}

TProductDM::~TProductDM() = default;

QueryDataSet* TProductDM::makeDataSet(const QString& sql, bool cached)
{
    auto* ds = new QueryDataSet(this);
    ds->setSql(sql);
    ds->setCachedUpdates(cached);
    return ds;
}

void TProductDM::setLocalSettings(const QString& iniFile, const QString& programDir)
{
    m_iniFile = iniFile;
    m_programDir = programDir;
    if (ZConnection())
        m_stores = std::make_unique<ProductOptionStores>(db(), m_iniFile, m_programDir);
}

QSqlDatabase TProductDM::db() const
{
    return ZConnection() ? ZConnection()->database() : QSqlDatabase();
}

void TProductDM::SetZConnection(tarvex::Connection* connection)
{
    TCustomDM::SetZConnection(connection);
    for (QueryDataSet* ds : findChildren<QueryDataSet*>(QString(), Qt::FindDirectChildrenOnly))
        ds->setConnection(connection);
    m_stores = connection ? std::make_unique<ProductOptionStores>(db(), m_iniFile, m_programDir) : nullptr;
    m_role = connection ? tarvex::sessionRole(db()) : tarvex::StaffRole::Administrator;
    applyRights();
}

void TProductDM::applyRights()
{
    for (QueryDataSet* ds : {ProductZQ, ProductDetailZQ, TaxZQ, FixedAssetZQ, ProductWorkingOperationZQ, CategoryPrZQ,
                             CategoryPrAttributeZQ, ProductAttributeZQ, AttributePrZQ, AttributePrValueZQ,
                             ProductRebateZQ})
        ds->setReadOnly(!mayChangeCatalogue());
    // The list of products a component goes into is read-only for everyone.
    for (QueryDataSet* ds : {WarehouseZQ, ProductWarehouseZQ, ProductPackagingZQ})
        ds->setReadOnly(!mayChangeStock());
}

void TProductDM::DataModuleCreate()
{
    TCustomDM::DataModuleCreate();
    LoadOptions();
    m_defWarehouseId = 0;
    m_defTaxId = 0;
    m_priceUpdate = false;
    m_renumbering = false;
}

void TProductDM::setUpFields()
{
    // The product list's columns: captions and formats.
    QueryDataSet* p = ProductZQ;
    p->declareField(QStringLiteral("active"), FieldType::Boolean);
    p->declareField(QStringLiteral("serialnumbers"), FieldType::Boolean);
    caption(p, "active", "Aktivan");
    caption(p, "barcode", "Barkod");
    caption(p, "code", "Kod");
    caption(p, "inputprice", "Ul. cena", "#,##0.00####");
    caption(p, "inputpricecurrency", "Moneta ul. cene");
    caption(p, "manufcode", "Kod proizvođača");
    caption(p, "manufname", "Ime proizvođača");
    caption(p, "manufseries", "Serija proizvođača");
    caption(p, "name", "Ime");
    caption(p, "wh_price", "Mag.cena", "#,##0.00");
    caption(p, "wh_pricewithvat", "Mag.cena + PDV", "#,##0.00");
    caption(p, "price", "Cena", "#,##0.00##");
    caption(p, "pricecurrency", "Moneta cene");
    caption(p, "taxid", "Porez");
    caption(p, "type", "Tip");
    caption(p, "unitname", "JM");
    caption(p, "pricewithvat", "Cena + PDV", "#,##0.00");
    caption(p, "taxvalue", "PDV", "0.00 %");
    caption(p, "primaryamount", "Tren. količina", "0.###");
    caption(p, "reservedamount", "Rezervisano", "0.###");
    caption(p, "reversedamount", "Na reversu", "0.###");
    caption(p, "freeamount", "Slobodno", "0.###");
    caption(p, "orderedamount", "Poručeno", "0.###");
    caption(p, "foreignname", "Strano ime");
    caption(p, "priceformula", "Formula cene");
    caption(p, "kasaplu", "PLU");
    caption(p, "kasagroupid", "Grupa");
    caption(p, "kasasort", "R.b.");
    caption(p, "savetoken", "Oznaka snimanja");
    caption(p, "supplyprice", "Nabavna cena", "#,##0.00");
    caption(p, "planprice", "Planska cena", "#,##0.00");
    caption(p, "rebate", "Rabat", "0.####");
    caption(p, "recommendedprice", "Preporučena cena", "#,##0.00");
    caption(p, "recommendedpricewithvat", "Preporučena cena + PDV", "#,##0.00");
    caption(p, "recommendedrebate", "Preporučeni rabat", "0.####");
    caption(p, "serialnumbers", "Serijski brojevi");
    caption(p, "excise", "Akciza", "#,##0.00");
    p->declareField(QStringLiteral("wh_price")).setReadOnly(true);
    p->declareField(QStringLiteral("wh_pricewithvat")).setReadOnly(true);
    for (const char* name :
         {"active", "name", "price", "pricecurrency", "taxid", "type", "unitname", "kasasort", "rebate", "serialnumbers"})
        p->declareField(QString::fromUtf8(name)).setRequired(true);
    codedTexts(p, "type", &tarvex::GetProdTypeCaption, &tarvex::GetProdTypeName);

    // Warehouses: coded and yes/no columns through the host's texts.
    QueryDataSet* w = WarehouseZQ;
    codedTexts(w, "pricetype", &tarvex::GetPriceDescription, &tarvex::GetPriceName);
    codedTexts(w, "warehousemethodtype", &tarvex::GetMethodCaption, &tarvex::GetMethodName);
    yesNoTexts(w, "active", tarvex::ACTIVE_Y_CAP, tarvex::ACTIVE_N_CAP);
    for (const char* name : {"warehouseautopricechange", "warehouseonlyfreeamount", "warehouseinternalsupplyprice"})
        yesNoTexts(w, name, tarvex::YES_CAP, tarvex::NO_CAP);
    w->declareField(QStringLiteral("b2b"), FieldType::Boolean);
    yesNoTexts(AttributePrZQ, "required", tarvex::YES_CAP, tarvex::NO_CAP);

    // The other yes/no columns read as Booleans.
    for (const char* name : {"b2b", "web", "specialprice"})
        ProductDetailZQ->declareField(QString::fromUtf8(name), FieldType::Boolean);
    for (int i = 1; i <= 5; ++i)
        ProductAttributeZQ->declareField(QStringLiteral("prodattrequired%1").arg(i), FieldType::Boolean);

    // Category rebates and margin.
    caption(CategoryPrZQ, "maxrebate", "Maks. rabat", "0.00");
    caption(CategoryPrZQ, "maxmargin", "Maks. marža", "0.00");
    caption(CategoryPrZQ, "webrebate", "Web rabat", "0.00");
    caption(CategoryPrZQ, "b2brebate", "B2B rabat", "0.00");
    for (const char* name : {"maxrebate", "webrebate", "b2brebate"})
        CategoryPrZQ->declareField(QString::fromUtf8(name)).setRequired(true);
    caption(CategoryPrAttributeZQ, "catattribute", "Atribut");
    caption(CategoryPrAttributeZQ, "catattributevalue", "Vrednost atributa");
    // A suggested attribute may come without a value (stored as '').
    CategoryPrAttributeZQ->declareField(QStringLiteral("catattributevalue")).setRequired(false);

    // A long description shows its first 255 characters in a grid.
    ProductWorkingOperationZQ->declareField(QStringLiteral("description"))
        .setOnGetText([](const Field& f, bool) { return f.asString().left(255); });
}

void TProductDM::wireEvents()
{
    auto common = [this](DataSet& ds) { CommonBeforePost(ds); };
    auto commonDelete = [this](DataSet& ds) { CommonBeforeDelete(ds); };

    ProductZQ->events().onNewRecord = [this](DataSet& ds) { ProductZQNewRecord(ds); };
    ProductZQ->events().beforePost = [this](DataSet& ds) { ProductZQBeforePost(ds); };
    ProductZQ->events().beforeDelete = [this](DataSet& ds) { ProductZQBeforeDelete(ds); };
    ProductDetailZQ->events().beforePost = [this](DataSet& ds) { ProductDetailZQBeforePost(ds); };
    TaxZQ->events().beforePost = common;
    auto referenceDelete = [this](DataSet& ds) { ReferenceBeforeDelete(ds); };
    TaxZQ->events().beforeDelete = referenceDelete;
    WarehouseZQ->events().beforePost = common;
    WarehouseZQ->events().beforeDelete = referenceDelete;
    WarehouseZQ->events().onNewRecord = [this](DataSet& ds) { WarehouseZQNewRecord(ds); };
    // Stock rows are never added or removed through this dataset.
    ProductWarehouseZQ->events().onNewRecord = [this](DataSet& ds) { ProductWarehouseZQNewRecord(ds); };
    ProductWarehouseZQ->events().beforeDelete = [this](DataSet& ds) { ProductWarehouseZQNewRecord(ds); };
    FixedAssetZQ->events().beforePost = [this](DataSet& ds) { FixedAssetZQBeforePost(ds); };
    for (QueryDataSet* ds : {DepreciationGroupZQ, DepreciationAccountingGroupZQ, ProductPackagingZQ,
                             CategoryPrAttributeZQ, ProductAttributeZQ, AttributePrZQ, ProductRebateZQ}) {
        ds->events().beforePost = common;
        ds->events().beforeDelete = commonDelete;
    }
    ProductWorkingOperationZQ->events().beforePost = common;
    ProductWorkingOperationZQ->events().beforeDelete = [this](DataSet& ds) { ProductWorkingOperationZQBeforeDelete(ds); };
    ProductWorkingOperationZQ->events().onNewRecord = [this](DataSet& ds) { ProductWorkingOperationZQNewRecord(ds); };
    AttributePrZQ->events().beforeDelete = referenceDelete;
    AttributePrZQ->events().afterScroll = [this](DataSet& ds) { AttributePrZQAfterScroll(ds); };
    AttributePrZQ->events().onNewRecord = [this](DataSet& ds) { AttributePrZQNewRecord(ds); };
    AttributePrValueZQ->events().beforePost = [this](DataSet& ds) { AttributePrValueZQBeforePost(ds); };
    AttributePrValueZQ->events().beforeDelete = referenceDelete;
    AttributePrValueZQ->events().onNewRecord = [this](DataSet& ds) { AttributePrValueZQNewRecord(ds); };
    ProductRebateZQ->events().onNewRecord = [this](DataSet& ds) { ProductRebateZQNewRecord(ds); };

    // Field handlers.
    auto on = [](QueryDataSet* ds, const char* name, auto handler) {
        ds->declareField(QString::fromUtf8(name)).setOnChange(handler);
    };
    on(ProductZQ, "price", [this](Field& f) { ProductZQpriceChange(f); });
    on(ProductZQ, "taxvalue", [this](Field& f) { ProductZQpriceChange(f); });
    on(ProductZQ, "pricewithvat", [this](Field& f) { ProductZQpricewithvatChange(f); });
    on(ProductZQ, "recommendedpricewithvat", [this](Field& f) { ProductZQrecommendedpricewithvatChange(f); });
    on(ProductZQ, "inputprice", [this](Field& f) { ProductZQinputpriceChange(f); });
    on(ProductDetailZQ, "webpricewithvat", [this](Field& f) { ProductDetailZQwebpricewithvatChange(f); });
    on(CategoryPrZQ, "maxrebate", [this](Field& f) { CategoryPrZQmaxrebateChange(f); });
    on(CategoryPrZQ, "maxmargin", [this](Field& f) { CategoryPrZQmaxmarginChange(f); });
    on(AttributePrZQ, "sort", [this](Field& f) { AttributePrZQsortChange(f); });
    on(AttributePrValueZQ, "sort", [this](Field& f) { AttributePrValueZQsortChange(f); });
}

void TProductDM::CreateFieldValidations()
{
    using tarvex::FieldValidation;
    auto field = [](QueryDataSet* ds, const char* name) { return &ds->declareField(QString::fromUtf8(name)); };
    auto own = [this](bool (TProductDM::*test)(Field&)) { return [this, test](Field& f) { return (this->*test)(f); }; };
    FieldValidations = {
        FieldValidation(field(ProductZQ, "name"), own(&TProductDM::TestUniqueProductName), true),
        FieldValidation(field(ProductZQ, "price"), tarvex::TestMoneyNoZero, true),
        FieldValidation(field(ProductZQ, "inputprice"), tarvex::TestMoneyNoZero, true),
        FieldValidation(field(ProductZQ, "pricecurrency"), tarvex::TestZeroLength, true),
        FieldValidation(field(ProductZQ, "inputpricecurrency"), tarvex::TestZeroLength, true),
        FieldValidation(field(ProductZQ, "taxid"), tarvex::TestID, true),
        FieldValidation(field(TaxZQ, "name"), tarvex::TestZeroLength, true),
        FieldValidation(field(TaxZQ, "value"), tarvex::TestMoney, true),
        FieldValidation(field(WarehouseZQ, "name"), tarvex::TestZeroLength, true),
        FieldValidation(field(ProductZQ, "supplyprice"), tarvex::TestMoneyNoZero, true),
        FieldValidation(field(ProductZQ, "code"), own(&TProductDM::TestUniqueProductCode), false),
        FieldValidation(field(ProductZQ, "barcode"), own(&TProductDM::TestUniqueProductBarcode), false),
        FieldValidation(field(WarehouseZQ, "code"), own(&TProductDM::TestUniqueWarehouseCode), false),
        FieldValidation(field(ProductZQ, "planprice"), tarvex::TestMoneyNoZero, true),
        FieldValidation(field(FixedAssetZQ, "depreciationgroupid"), tarvex::TestID, true),
        FieldValidation(field(FixedAssetZQ, "depreciationstartdate"), tarvex::TestDate, true),
        FieldValidation(field(FixedAssetZQ, "depreciationenddate"), tarvex::TestDate, true),
        FieldValidation(field(FixedAssetZQ, "depreciationpercent"), tarvex::TestTaxRate, true),
        FieldValidation(field(FixedAssetZQ, "depreciationaccountinggroupid"), tarvex::TestID, true),
    };
}

// --- options

void TProductDM::LoadOptions()
{
    if (!IsConnected() || !m_stores)
        return;
    Options = m_stores->load();
}

QString TProductDM::GetProductImageDir() const
{
    return m_stores ? m_stores->GetProductImageDir() : QString();
}

void TProductDM::SetProductImageDir(const QString& dir)
{
    if (m_stores)
        m_stores->SetProductImageDir(dir);
}

namespace {

qint64 currentProductOr(QueryDataSet* products, qint64 productId)
{
    if (productId == -1 && products->isActive() && !products->isEmpty())
        return products->fieldByName(QStringLiteral("productid")).asLargeInt();
    return productId;
}

} // namespace

QString TProductDM::GetProductImageFilePath(qint64 productId) const
{
    return m_stores ? m_stores->GetProductImageFilePath(currentProductOr(ProductZQ, productId)) : QString();
}

QString TProductDM::GetProductImageFilePathNew(qint64 productId) const
{
    return m_stores ? m_stores->GetProductImageFilePathNew(currentProductOr(ProductZQ, productId)) : QString();
}

QString TProductDM::GetScannedDocumentFilePath()
{
    return m_stores ? m_stores->GetScannedDocumentFilePath() : QString();
}

} // namespace products
