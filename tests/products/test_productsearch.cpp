#include "ProductDMFixture.h"
#include "Productsearch.h"

#include <gtest/gtest.h>

using namespace products;
using namespace tarvex::test;

using Ids = QList<qint64>;

// The search on a small shop whose answers are known.
class ProductSearchTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary'), (2, 'PDV10', 10, 'standard')");
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Glavni', 'primary'), (2, 'Drugi', 'standard'), "
            "(3, 'Treći', 'standard')");
        sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića')");
        sql("INSERT INTO product (productid, name, code, barcode, manufname, unitname, taxid, pricecurrency, type, active) "
            "VALUES (1, 'Mleko', 'M1', NULL, 'Imlek', 'l', 1, 'RSD', 'r', 'y'),"
            "(2, 'Mlevena paprika', 'M2', NULL, 'Aleva', 'kg', 2, 'RSD', 'r', 'y'),"
            "(3, 'Kafa mlevena', 'K1', NULL, 'Atlantic', 'kg', 2, 'RSD', 'u', 'n'),"
            "(9001, 'Čaj \"Zeleni\" O''Neil', 'Q-1', '2999999999991', NULL, 'kom', 1, 'RSD', 'r', 'y'),"
            "(9002, 'Čaj crni', 'Q-10', '2999999999992', NULL, 'kom', 1, 'RSD', 'r', 'n'),"
            "(9003, 'Sok\\ 1l', 'Q-20', '2999999999993', NULL, 'kom', 1, 'RSD', 'r', 'y'),"
            "(9004, 'Sok% 1l', 'Q-21', '2999999999994', NULL, 'kom', 1, 'RSD', 'r', 'y')");
        sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (1, 1)");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (1, 2, 5), (2, 3, 1)");
        sql("INSERT INTO productattribute (productid, prodattbarcode) VALUES (9002, '2888'), (9002, '2889'), (9001, '2888')");
    }
    void SetUp() override
    {
        dm().Options = TProductOptions();
        dm().SetDefWarehouseID(0);
        chosen = 0;
    }
    // The product ids the search lists, ascending.
    Ids search(const QMap<QString, QString>& criteria)
    {
        last = ProductSearch(dm()).parse(criteria, chosen);
        // The typed values are bound, never part of the text.
        for (const QString& typed : criteria)
            EXPECT_FALSE(typed.size() >= 3 && last.sql.contains(typed)) << last.sql.toStdString();
        tarvex::QueryDataSet list(&connection(), QString());
        applySearch(list, last);
        QVariantList values;
        QSqlQuery q = connection().select(list.boundSql(last.sql, values), values);
        Ids ids;
        while (q.next())
            ids << q.value(0).toLongLong();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    const Ids all{1, 2, 3, 9001, 9002, 9003, 9004};
    qint32 chosen = 0;
    ProductSearchResult last;
};

TEST_F(ProductSearchTest, TextCriteriaMatchFromTheStart)
{
    EXPECT_EQ(search({{"name", "Ml"}}), (Ids{1, 2}));
    EXPECT_EQ(search({{"name", "leko"}}), Ids());
    EXPECT_EQ(search({{"name", "Čaj \"Zeleni\" O'Neil"}}), Ids{9001}); // quotes literally
    EXPECT_EQ(search({{"name", "Sok\\"}}), Ids{9003});                  // a backslash too
    EXPECT_EQ(search({{"name", "Sok\\x"}}), Ids());
    EXPECT_EQ(search({}), all); // no criterion: everything
    EXPECT_EQ(search({{"manufname", "A"}}), (Ids{2, 3}));
    EXPECT_EQ(search({{"general", "Q-1"}}), (Ids{9001, 9002}));
}

TEST_F(ProductSearchTest, CodesAndBarcodesByTheOptions)
{
    EXPECT_EQ(search({{"code", "Q-1"}}), (Ids{9001, 9002}));
    dm().Options.SearchEqualCodeBarcode = true;
    EXPECT_EQ(search({{"code", "Q-1"}}), Ids{9001});
    EXPECT_EQ(search({{"barcode", "2999999999992"}}), Ids{9002});
    // With stock by attributes, barcodes are the variants', each product once.
    dm().Options.AttributeStock = true;
    EXPECT_EQ(search({{"barcode", "2888"}}), (Ids{9001, 9002}));
    EXPECT_EQ(search({{"barcode", "2999999999992"}}), Ids());
    dm().Options.SearchEqualCodeBarcode = false;
    EXPECT_EQ(search({{"code", "Q-1"}, {"barcode", "2889"}}), Ids{9002});
}

TEST_F(ProductSearchTest, ActiveTypeTaxAndCategory)
{
    EXPECT_EQ(search({{"active", "Neaktivan"}}), (Ids{3, 9002}));
    EXPECT_EQ(search({{"active", "Aktivan"}}), (Ids{1, 2, 9001, 9003, 9004}));
    EXPECT_EQ(search({{"type", "Usluga"}}), Ids{3});
    EXPECT_EQ(search({{"vat", "10"}}), (Ids{2, 3}));
    const Ids uncategorised{2, 3, 9001, 9002, 9003, 9004};
    EXPECT_EQ(search({{"category", "bez kategorije"}}), uncategorised);
    EXPECT_EQ(search({{"category", "BEZ Kategorije"}}), uncategorised);
    EXPECT_EQ(search({{"category", "Pića"}}), Ids{1});
    // A path list that names no category adds no condition.
    EXPECT_EQ(search({{"category", "Nema>Takve"}}), all);
}

TEST_F(ProductSearchTest, WarehousesRestrictAndChooseTheShownColumns)
{
    EXPECT_EQ(search({{"warehouse", "Drugi"}}), Ids{1});
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(last.shownWarehouseId, 2);
    EXPECT_EQ(last.priceCaption, "Drugi:Cena");

    // The local default warehouse wins over another pick.
    dm().Options.OnlyLocalDefaultWarehouseProds = true;
    dm().Options.DefWarehouseName = QStringLiteral("Treći");
    chosen = 2;
    EXPECT_EQ(search({{"warehouse", "Drugi"}}), Ids{2});
    EXPECT_EQ(chosen, 3);
    // Without a warehouse criterion the list shows the local default's columns.
    search({{"name", "Ml"}});
    EXPECT_EQ(last.shownWarehouseId, 3);
    dm().Options = TProductOptions();
    search({{"name", "Ml"}});
    EXPECT_EQ(last.shownWarehouseId, 1);
}
