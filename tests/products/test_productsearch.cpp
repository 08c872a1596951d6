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

TEST_F(ProductSearchTest, TextCodesBarcodesActiveTypeTaxAndCategory)
{
    enum { equal = 1, variants = 2 }; // codes and barcodes compared whole; barcodes are the variants'
    const Ids uncategorised{2, 3, 9001, 9002, 9003, 9004};
    const std::tuple<int, QMap<QString, QString>, Ids> cases[] = {
        // Text criteria match from the start; quotes and a backslash literally.
        {0, {{"name", "Ml"}}, {1, 2}}, {0, {{"name", "leko"}}, {}}, {0, {{"name", "Čaj \"Zeleni\" O'Neil"}}, {9001}},
        {0, {{"name", "Sok\\"}}, {9003}}, {0, {{"name", "Sok\\x"}}, {}}, {0, {}, all},
        {0, {{"manufname", "A"}}, {2, 3}}, {0, {{"general", "Q-1"}}, {9001, 9002}},
        {0, {{"code", "Q-1"}}, {9001, 9002}}, {equal, {{"code", "Q-1"}}, {9001}},
        {equal, {{"barcode", "2999999999992"}}, {9002}},
        // With stock by attributes, barcodes are the variants', each product once.
        {equal | variants, {{"barcode", "2888"}}, {9001, 9002}}, {equal | variants, {{"barcode", "2999999999992"}}, {}},
        {variants, {{"code", "Q-1"}, {"barcode", "2889"}}, {9002}},
        {0, {{"active", "Neaktivan"}}, {3, 9002}}, {0, {{"active", "Aktivan"}}, {1, 2, 9001, 9003, 9004}},
        {0, {{"type", "Usluga"}}, {3}}, {0, {{"vat", "10"}}, {2, 3}},
        {0, {{"category", "bez kategorije"}}, uncategorised}, {0, {{"category", "BEZ Kategorije"}}, uncategorised},
        {0, {{"category", "Pića"}}, {1}},
        // A path list that names no category adds no condition.
        {0, {{"category", "Nema>Takve"}}, all}};
    for (const auto& [options, criteria, ids] : cases) {
        dm().Options.SearchEqualCodeBarcode = options & equal;
        dm().Options.AttributeStock = options & variants;
        EXPECT_EQ(search(criteria), ids) << criteria.values().join(' ').toStdString();
    }
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
