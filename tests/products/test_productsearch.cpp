#include "DemoData.h"
#include "ProductDMFixture.h"
#include "Productsearch.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex::test;

// The search runs on the demo shop; each statement's rows are checked
// against the same question asked directly of the tables.
class ProductSearchTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        QSqlDatabase d = db();
        tarvex::generateDemoData(d, tarvex::DemoScale::tiny(), 7, QDate(2026, 12, 6));
        sql("INSERT INTO product (productid, name, code, barcode, unitname, taxid, pricecurrency, active) VALUES "
            "(9001, 'Čaj \"Zeleni\" O''Neil', 'Q-1', '2999999999991', 'kom', 1, 'RSD', 'y'),"
            "(9002, 'Čaj crni', 'Q-10', '2999999999992', 'kom', 1, 'RSD', 'n'),"
            "(9003, 'Sok\\ 1l', 'Q-20', '2999999999993', 'kom', 1, 'RSD', 'y'),"
            "(9004, 'Sok% 1l', 'Q-21', '2999999999994', 'kom', 1, 'RSD', 'y')");
        sql("INSERT INTO productattribute (productid, prodattbarcode) VALUES (9002, '2888'), (9002, '2889'), (9001, '2888')");
    }
    void SetUp() override
    {
        dm().Options = TProductOptions();
        dm().SetDefWarehouseID(0);
        chosen = 0;
    }
    // The product ids the search lists, ascending.
    QList<qint64> search(const QMap<QString, QString>& criteria)
    {
        last = ProductSearch(dm()).parse(criteria, chosen);
        // The typed values are bound, never part of the text.
        for (const QString& typed : criteria)
            EXPECT_FALSE(typed.size() >= 3 && last.sql.contains(typed)) << last.sql.toStdString();
        tarvex::QueryDataSet list(&connection(), QString());
        applySearch(list, last);
        QVariantList values;
        QSqlQuery q = connection().select(list.boundSql(last.sql, values), values);
        QList<qint64> ids;
        while (q.next())
            ids << q.value(0).toLongLong();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    static QList<qint64> ids(const QString& where)
    {
        QSqlQuery q(db());
        EXPECT_TRUE(q.exec("SELECT productid FROM product AS p WHERE " + where + " ORDER BY productid"));
        QList<qint64> list;
        while (q.next())
            list << q.value(0).toLongLong();
        return list;
    }
    qint32 chosen = 0;
    ProductSearchResult last;
};

TEST_F(ProductSearchTest, TextCriteriaMatchFromTheStart)
{
    EXPECT_EQ(search({{"name", "Ml"}}), ids("p.name LIKE 'Ml%'"));
    EXPECT_FALSE(search({{"name", "Ml"}}).isEmpty());
    EXPECT_EQ(search({{"name", "leko"}}), ids("p.name LIKE 'leko%'"));
    EXPECT_EQ(search({{"name", "Čaj \"Zeleni\" O'Neil"}}), QList<qint64>{9001}); // quotes literally
    EXPECT_EQ(search({{"name", "Sok\\"}}), QList<qint64>{9003});                  // a backslash too
    EXPECT_TRUE(search({{"name", "Sok\\x"}}).isEmpty());
    EXPECT_EQ(search({}).size(), ids("1=1").size());                           // no criterion: everything
    EXPECT_EQ(search({{"manufname", "A"}}), ids("p.manufname LIKE 'A%'"));
    EXPECT_EQ(search({{"general", "Q-1"}}), (QList<qint64>{9001, 9002}));
}

TEST_F(ProductSearchTest, CodesAndBarcodesByTheOptions)
{
    EXPECT_EQ(search({{"code", "Q-1"}}), (QList<qint64>{9001, 9002}));
    dm().Options.SearchEqualCodeBarcode = true;
    EXPECT_EQ(search({{"code", "Q-1"}}), QList<qint64>{9001});
    EXPECT_EQ(search({{"barcode", "2999999999992"}}), QList<qint64>{9002});
    // With stock by attributes, barcodes are the variants', each product once.
    dm().Options.AttributeStock = true;
    EXPECT_EQ(search({{"barcode", "2888"}}), (QList<qint64>{9001, 9002}));
    EXPECT_TRUE(search({{"barcode", "2999999999992"}}).isEmpty());
    dm().Options.SearchEqualCodeBarcode = false;
    EXPECT_EQ(search({{"code", "Q-1"}, {"barcode", "2889"}}), QList<qint64>{9002});
}

TEST_F(ProductSearchTest, ActiveTypeTaxAndCategory)
{
    EXPECT_EQ(search({{"active", "Neaktivan"}}), ids("p.active = 'n'"));
    EXPECT_EQ(search({{"active", "Aktivan"}}), ids("p.active <> 'n'"));
    EXPECT_EQ(search({{"type", "Usluga"}}), ids("p.type = 'u'"));
    EXPECT_FALSE(search({{"type", "Usluga"}}).isEmpty());
    EXPECT_EQ(search({{"vat", "10"}}), ids("p.taxid IN (SELECT taxid FROM tax WHERE value = 10)"));
    const QList<qint64> uncategorised = ids("NOT EXISTS (SELECT 1 FROM productcategorypr pc WHERE pc.productid = p.productid)");
    EXPECT_EQ(search({{"category", "bez kategorije"}}), uncategorised);
    EXPECT_EQ(search({{"category", "BEZ Kategorije"}}), uncategorised);
    // A path list that names no category adds no condition.
    EXPECT_EQ(search({{"category", "Nema>Takve"}}).size(), ids("1=1").size());
}

TEST_F(ProductSearchTest, WarehousesRestrictAndChooseTheShownColumns)
{
    const qint32 second = qint32(scalar(db(), "SELECT warehouseid FROM warehouse WHERE warehouseid = 2").toInt());
    const QString secondName = scalar(db(), "SELECT name FROM warehouse WHERE warehouseid = 2").toString();
    EXPECT_EQ(search({{"warehouse", secondName}}), ids("p.productid IN (SELECT productid FROM productwarehouse WHERE warehouseid = 2)"));
    EXPECT_EQ(chosen, second);
    EXPECT_EQ(last.shownWarehouseId, second);
    EXPECT_EQ(last.priceCaption, secondName + ":Cena");

    // The local default warehouse wins over another pick.
    const QString third = scalar(db(), "SELECT name FROM warehouse WHERE warehouseid = 3").toString();
    dm().Options.OnlyLocalDefaultWarehouseProds = true;
    dm().Options.DefWarehouseName = third;
    chosen = second;
    EXPECT_EQ(search({{"warehouse", secondName}}), ids("p.productid IN (SELECT productid FROM productwarehouse WHERE warehouseid = 3)"));
    EXPECT_EQ(chosen, 3);
    // Without a warehouse criterion the list shows the local default's columns.
    search({{"name", "Ml"}});
    EXPECT_EQ(last.shownWarehouseId, 3);
    dm().Options = TProductOptions();
    search({{"name", "Ml"}});
    EXPECT_EQ(last.shownWarehouseId, dm().GetDefWarehouseID());
}
