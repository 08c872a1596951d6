// The data module's look-ups, generated identifiers of new products, the copy
// of a product, the options read from both stores, free cash-register numbers
// and the rows of shelf labels.

#include "test_productdm_support.h"

#include "Productplus.h"
#include "Productpricelabels.h"

using namespace tarvex;
using namespace tarvex::test;

class ProductLookups : public ProductDMCase {
protected:
    static QString count(const char* table, qint64 productId)
    {
        return text(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE productid = %2").arg(QString::fromUtf8(table)).arg(productId));
    }
    // Products holding the values of the column plu that the SELECT yields, and no others.
    static void holdPlus(const QString& selectPlus)
    {
        sql("DELETE FROM product");
        sql("INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) SELECT CONCAT('P', COALESCE(plu, "
            "'-')), 'kom', 1, 'RSD', plu FROM (" + selectPlus + ") AS plus");
    }
};

TEST_F(ProductLookups, NewProductsTakeGeneratedCodesAndBarcodes)
{
    insertProduct(1, QStringLiteral("Hleb"));
    insertProduct(2, QStringLiteral("Mleko"));
    dm().Options.AutoProductCode = true;
    dm().Options.AutoProductCodeFormat = QStringLiteral("A/{c}{c}{c}");
    dm().Options.AutoProductBarcode = true;
    appendProduct(QStringLiteral("Kifla"));
    EXPECT_EQ(P("code").asString(), "A/003");
    EXPECT_EQ(P("barcode").asString(), "2000000000039");
    productZQ().post();
    EXPECT_ROWS(rowsOf(db(), "SELECT code, barcode FROM product WHERE name = 'Kifla'"),
                QStringList{"A/003|2000000000039"});

    // Without a placeholder in the template neither is generated.
    dm().Options.AutoProductCodeFormat = QStringLiteral("ABC");
    appendProduct(QStringLiteral("Jaja"));
    EXPECT_EQ(P("code").asString(), QString());
    EXPECT_EQ(P("barcode").asString(), QString());
    productZQ().cancel();
    dm().Options.AutoProductCode = false;
    dm().Options.AutoProductBarcode = false;
    appendProduct(QStringLiteral("Sir"));
    EXPECT_TRUE(P("code").isNull());
}

TEST_F(ProductLookups, ACopyCarriesTheProductsDescriptionCategoriesAndParts)
{
    insertProduct(1, QStringLiteral("Sto hrastov"));
    sql("UPDATE product SET code = 'S1', kasaplu = 17, price = 250.5 WHERE productid = 1");
    insertProduct(2, QStringLiteral("Mleko"));
    sql("INSERT INTO productdetail (productid, model, webprice) VALUES (1, 'Klasik', 300), (2, 'Tetrapak', 1)");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 10), (1, 11), (2, 10)");
    sql("INSERT INTO productalter (productid, groupid) VALUES (1, 3), (2, 3)");
    sql("INSERT INTO component (rawid, productid, quantity) VALUES (7, 1, 2.5), (1, 9, 4)");
    sql("INSERT INTO fixedasset (productid, inventorynumber, depreciationpercent, depreciationgroupid, "
        "depreciationaccountinggroupid) VALUES (1, 'OS-1', 10, 1, 1)");
    insertWarehouses({1});
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (1, 1, 5, 250.5)");
    sql("INSERT INTO productattribute (productid, prodattribute, prodattributevalue) VALUES (1, 'Boja', 'braon')");
    sql("INSERT INTO productpackaging (productid, packagingid) VALUES (1, 2)");
    sql("INSERT INTO productworkingoperation (productid, machinetype, sort) VALUES (1, 'Rezanje', 1)");
    sql("INSERT INTO productrebate (productid, quantity, rebate) VALUES (1, 10, 5)");

    const qint32 copy = dm().CopyProduct(1, {"name=Sto hrastov (kopija)", "kasaplu=NULL", "code=NULL"});
    ASSERT_GT(copy, 2);
    // What the copy reads, its rows ("a|b" for two columns).
    const QPair<const char*, QStringList> copied[] = {
        {"SELECT name, code, kasaplu, price FROM product WHERE productid = %1", {"Sto hrastov (kopija)|-|-|250.5"}},
        {"SELECT model FROM productdetail WHERE productid = %1", {"Klasik"}},
        {"SELECT categoryprid FROM productcategorypr WHERE productid = %1 ORDER BY categoryprid", {"10", "11"}},
        {"SELECT productid FROM productalter WHERE groupid = 3 AND productid <> %1 ORDER BY productid", {"1", "2"}},
        {"SELECT groupid FROM productalter WHERE productid = %1", {"3"}},
        {"SELECT rawid, quantity FROM component WHERE productid = %1", {"7|2.5"}},
        {"SELECT inventorynumber FROM fixedasset WHERE productid = %1", {"OS-1"}}};
    for (const auto& [query, expected] : copied)
        EXPECT_ROWS(rowsOf(db(), QString::fromUtf8(query).arg(copy)), expected) << query;
    for (const char* table :
         {"productwarehouse", "productattribute", "productpackaging", "productworkingoperation", "productrebate"}) {
        EXPECT_EQ(count(table, copy), "0") << table;
        EXPECT_EQ(count(table, 1), "1") << table;
    }
    // The original keeps its rows.
    EXPECT_EQ(count("productcategorypr", 1), "2");
    EXPECT_EQ(count("component", 1), "1");

    // Nothing to copy beside the product row.
    const qint32 plain = dm().CopyProduct(2, {"name=Mleko 2"});
    EXPECT_GT(plain, copy);
    sql("DELETE FROM productdetail WHERE productid = 2");
    const qint32 bare = dm().CopyProduct(2, {"name=Mleko 3"});
    EXPECT_GT(bare, plain);
    EXPECT_EQ(count("productdetail", bare), "0");
    EXPECT_EQ(count("fixedasset", bare), "0");
    EXPECT_EQ(count("productdetail", plain), "1");
}

// The module's price, amount and currency look-ups pass straight to
// products::lookups (test_product_data.cpp).
TEST_F(ProductLookups, TheDefaultWarehouseIsFoundUnfilteredAndKeptTaxesOfUnknownRowsAreZero)
{
    sql("INSERT INTO warehouse (warehouseid, name, code, status) VALUES (1, 'Centralni', 'C', 'primary'), "
        "(2, 'Prodavnica Novi Sad', 'NS', 'standard'), (3, 'Lager', 'L', 'standard')");
    QueryDataSet& w = *dm().WarehouseZQ;
    w.open();
    w.setFilter(QStringLiteral("code = 'NS'"));
    w.setFiltered(true);
    EXPECT_EQ(dm().GetDefWarehouseID(), 1);
    EXPECT_FALSE(w.isFiltered());
    EXPECT_EQ(w.filter(), QString());
    EXPECT_EQ(w.recordCount(), 3);
    EXPECT_EQ(w.fieldByName("warehouseid").asInteger(), 1);

    // Kept until reset.
    sql("UPDATE warehouse SET status = IF(warehouseid = 2, 'primary', 'standard')");
    EXPECT_EQ(dm().GetDefWarehouseID(), 1);
    dm().SetDefWarehouseID(0);
    EXPECT_EQ(dm().GetDefWarehouseID(), 2);

    // None: 0, the cursor at the end, and the next call looks again.
    sql("UPDATE warehouse SET status = 'standard'");
    dm().SetDefWarehouseID(0);
    EXPECT_EQ(dm().GetDefWarehouseID(), 0);
    EXPECT_TRUE(w.eof());
    sql("UPDATE warehouse SET status = 'primary' WHERE warehouseid = 3");
    EXPECT_EQ(dm().GetDefWarehouseID(), 3);

    // By name letter case aside, by identifier; unknown ones give 0 or nothing.
    EXPECT_EQ(dm().GetWarehouseIDByName(QStringLiteral("prodavnica NOVI sad")), 2);
    EXPECT_EQ(dm().GetWarehouseIDByName(QStringLiteral("Prodavnica")), 0);
    EXPECT_EQ(dm().GetWarehouseNameByID(3), "Lager");
    EXPECT_EQ(dm().GetWarehouseNameByID(42), QString());
    EXPECT_EQ(dm().GetDefaultTaxID(), 1);
    EXPECT_EQ(dm().GetTaxValueByID(2), 10);
    EXPECT_EQ(dm().GetTaxValueByID(42), 0);
}

TEST_F(ProductLookups, OptionsComeFromTheDatabaseAndTheWorkstation)
{
    products::ProductOptionStores& stores = *dm().OptionStores();
    stores.database().WriteBool("Product", "AutoProductCode", true);
    stores.database().WriteBool("Product", "UniqueProductCode", false);
    stores.database().WriteInteger("Product", "UniqueProductNameCharsNum", 7);
    stores.database().WriteString("Product", "DefaultProductUnitName", "kom");
    stores.database().WriteString("Document", "DefaultExchangeList", "Srednji kurs");
    stores.local().WriteBool("Product", "ProductHideInPrices", true);
    stores.local().WriteString("Document", "DefWarehouseName", "Centralni");
    dm().LoadOptions();
    const products::TProductOptions& o = dm().Options;
    EXPECT_TRUE(o.AutoProductCode);
    EXPECT_FALSE(o.UniqueProductCode);
    EXPECT_TRUE(o.ProductHideInPrices);
    EXPECT_EQ(o.UniqueProductNameCharsNum, 7);
    EXPECT_EQ(o.DefaultProductUnitName, "kom");
    EXPECT_EQ(o.DefaultExchangeList, "Srednji kurs");
    EXPECT_EQ(o.DefWarehouseName, "Centralni");

    // -1 stands for the product shown.
    insertProduct(42, QStringLiteral("Hleb"));
    const QString images = tempPath() + "/images/";
    productZQ().open();
    EXPECT_EQ(dm().GetProductImageFilePath(-1), images + "-1.jpg");
    openProduct(42);
    EXPECT_EQ(dm().GetProductImageFilePath(-1), images + "42.jpg");
    EXPECT_EQ(dm().GetProductImageFilePathNew(-1), images + "42_1.jpg");
}

namespace {

using R = PluPool::Registers;

QStringList labelTexts(const QList<TPriceLabelDesc>& rows)
{
    QStringList texts;
    for (const TPriceLabelDesc& row : rows)
        texts << QStringLiteral("%1 %2 %3 %4|%5|%6").arg(QString::number(row.productId), QString::number(row.priceWithTax),
                                                        row.currency, row.barcode, row.name, row.code);
    texts.sort();
    return texts;
}

} // namespace

TEST_F(ProductLookups, FreePlusAreTheGapsLowestFirstAndAFullRangeOffersNone)
{
    // NULL, 0, negatives and numbers past both ranges are no PLUs of any register.
    QStringList plus;
    for (const char* plu : {"1", "2", "3", "NULL", "5", "9", "10000", "10001", "NULL", "0", "-4", "100000"})
        plus << QStringLiteral("SELECT %1 AS plu").arg(plu);
    holdPlus(plus.join(" UNION ALL "));
    const products::TProductPlus holders;
    {
        const PluPool pool(holders, db());
        EXPECT_ROWS(pool.freePlus(R::Ordinary, 5), QList<qint64>({4, 6, 7, 8, 10}));
        EXPECT_ROWS(pool.freePlus(R::Vireo, 3), QList<qint64>({4, 6, 7}));
        EXPECT_EQ(pool.lowestFree(R::Ordinary), 4);
        EXPECT_EQ(pool.freePlus(R::Vireo, 0).size(), 9999 - 5);
        const QList<qint64> allOrdinary = pool.freePlus(R::Ordinary, -1);
        EXPECT_EQ(allOrdinary.size(), 99999 - 7);
        EXPECT_FALSE(allOrdinary.contains(10000));
        EXPECT_EQ(allOrdinary.last(), 99999);
    }

    // PLUs 1..10001 taken: the Vireo range is full.
    holdPlus("WITH RECURSIVE d (n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 99) "
             "SELECT a.n * 100 + b.n + 1 AS plu FROM d a, d b UNION ALL SELECT 10001");
    const PluPool pool(holders, db());
    EXPECT_EQ(pool.lowestFree(R::Vireo), std::nullopt);
    EXPECT_EQ(pool.lowestFree(R::Ordinary), 10002);
    // What the editor sees: exactly one entry, or none; the list is cleared first.
    QStringList target{"stale"};
    GetPLUs(holders, db(), target, 1, true);
    EXPECT_TRUE(target.isEmpty());
    GetPLUs(holders, db(), target, 1, false);
    EXPECT_ROWS(target, QStringList({"10002"}));
    // Freeing one number makes it the one offered.
    sql("UPDATE product SET kasaplu = NULL WHERE kasaplu = 4711");
    GetPLUs(holders, db(), target, 1, true);
    EXPECT_ROWS(target, QStringList({"4711"}));
}

// Shelf labels show the warehouse's price or the product's own, with the product's VAT.
TEST_F(ProductLookups, PriceLabelsShowTheWarehousePriceOrTheProductsOwnWithVat)
{
    sql("INSERT INTO tax (taxid, name, value) VALUES (3, 'Bez PDV', 0)");
    sql("INSERT INTO product (productid, name, code, barcode, unitname, taxid, price, pricecurrency) VALUES "
        "(1, 'Čokolada mlečna 100g', 'C100', '5901234123457', 'kom', 1, 100, 'RSD'),"
        "(2, 'Kafa mlevena 500g', 'K500', ' 4006381333931 ', 'kom', 1, 1028.75, 'RSD'),"
        "(3, 'Hleb', NULL, NULL, 'kom', 3, 55.555, 'EUR')");
    insertWarehouses({3, 4});
    sql("INSERT INTO productwarehouse (productid, warehouseid, price) VALUES (1, 3, 120), (2, 4, 900), (3, 3, 50)");
    // Product 999 does not exist; 1 and 3 have rows of warehouse 3.
    EXPECT_ROWS(labelTexts(products::PriceLabelRows(db(), {1, 2, 999, 3}, 3)),
              (QStringList{"1 144 RSD 5901234123457|Čokolada mlečna 100g|C100",
                           "2 1234.5 RSD 4006381333931|Kafa mlevena 500g|K500", "3 50 EUR |Hleb|"}));
    // Warehouse 4: its own row for product 2; product 3 falls back to its price, rounded.
    EXPECT_ROWS(labelTexts(products::PriceLabelRows(db(), {2, 3}, 4)),
              (QStringList{"2 1080 RSD 4006381333931|Kafa mlevena 500g|K500", "3 55.56 EUR |Hleb|"}));
    EXPECT_TRUE(products::PriceLabelRows(db(), {}, 4).isEmpty());
}
