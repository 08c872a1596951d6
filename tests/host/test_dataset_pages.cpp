// A list of many rows read a page at a time: the keys' statement leaves out
// the joins nothing needs, the rows come in the server's order and read
// as a whole list reads, sorting and locating ask the server but the rows
// decide, and far pages are let go.
#include "Connection.h"
#include "PagedSelect.h"
#include "QueryDataSet.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// The product list's statement as the search panel builds it.
const QString kListSql = QStringLiteral(
    "SELECT DISTINCT p.*,p.price * (1+t.value/100) AS pricewithvat, (pw.price + 0.0) AS wh_price "
    "FROM product AS p LEFT JOIN productcategorypr pc ON p.productid = pc.productid LEFT JOIN tax t ON p.taxid = "
    "t.taxid LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid AND pw.warehouseid = :w) LEFT JOIN "
    "productdetail AS pd ON p.productid = pd.productid");

} // namespace

TEST(PagedSelect, TheKeysLeaveOutTheJoinsNothingNeedsAndAPageNarrowsTheStatement)
{
    const PagedSelect list(kListSql, QStringLiteral("productid"));
    ASSERT_TRUE(list.isValid());
    const QString from = QStringLiteral("SELECT p.productid FROM product AS p");
    const QString pw = QStringLiteral(" LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid AND "
                                      "pw.warehouseid = :w)");
    // Order, condition, keys' statement.
    const std::tuple<QString, QString, QString> cases[] = {
        {"name", "", from + " ORDER BY p.name ASC, p.productid ASC"},
        // A computed column keeps the joins it names, and theirs.
        {"wh_price DESC", "", from + pw + " ORDER BY ((pw.price + 0.0)) DESC, p.productid ASC"},
        {"pricewithvat", "", from + " LEFT JOIN tax t ON p.taxid = t.taxid ORDER BY (p.price * (1+t.value/100)) ASC, "
                                    "p.productid ASC"},
        {"", "pc.categoryprid IN (3)", from + " LEFT JOIN productcategorypr pc ON p.productid = pc.productid WHERE "
                                             "pc.categoryprid IN (3) ORDER BY p.productid ASC"},
    };
    for (const auto& [order, condition, sql] : cases)
        EXPECT_EQ(list.keysSql(list.orderBy(order), condition), sql) << order.toStdString();
    EXPECT_EQ(list.orderBy("name sideways"), "");
    EXPECT_EQ(list.withCondition("p.productid IN (1,2)"), kListSql + " WHERE p.productid IN (1,2)");
    const PagedSelect narrowed(kListSql + " WHERE p.active = 'y'", "productid");
    EXPECT_EQ(narrowed.withCondition("p.productid IN (1)"), kListSql + " WHERE (p.active = 'y') AND (p.productid IN (1))");
    // Grouped, ordered or united statements are read whole.
    for (const char* sql : {"SELECT p.* FROM product AS p ORDER BY name", "SELECT taxid, COUNT(*) FROM product GROUP BY taxid",
                            "SELECT p.* FROM product p UNION SELECT p.* FROM product p"})
        EXPECT_FALSE(PagedSelect(sql, "productid").isValid()) << sql;
}

namespace {

class PagedList : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        for (const char* table : {"product", "tax", "productwarehouse", "productcategorypr", "productdetail"})
            execSql(db(), QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        execSql(db(), "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        // Names that the server's collation and the Serbian alphabet order
        // differently, several prices alike, two categories for some.
        execSql(db(), "INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency) SELECT seq, "
                   "CONCAT(ELT(1 + seq % 6, 'Čaj ', 'cvekla ', 'Ćevap ', 'šargarepa ', 'Džem ', 'Sapun '), seq), "
                   "'kom', 1, (seq * 37) % 101, 'RSD' FROM seq_1_to_500");
        execSql(db(), "INSERT INTO productcategorypr (productid, categoryprid) SELECT seq, 1 FROM seq_1_to_500 "
                   "UNION ALL SELECT seq, 2 FROM seq_1_to_500 WHERE seq % 3 = 0");
    }

    void SetUp() override
    {
        list.setParam("w", 1);
        list.setPaging("productid", 100, 5);
        whole.setParam("w", 1);
    }

    // The keys of every row in the view, read as a walk over the list reads them.
    static QStringList walk(QueryDataSet& ds)
    {
        QStringList ids;
        for (ds.first(); !ds.eof(); ds.next())
            ids << ds.fieldByName("productid").asString();
        return ids;
    }

    Connection connection{db()};
    QueryDataSet list{&connection, kListSql};
    QueryDataSet whole{&connection, kListSql};  // the same statement, read at once
};

} // namespace

TEST_F(PagedList, RowsComeInTheServersOrderAsAWholeReadHasThemAndFarPagesAreLetGo)
{
    list.setSortedFields("name");
    list.open();
    ASSERT_TRUE(list.isPaged());
    // Each product once, though its categories repeat it in the join.
    EXPECT_EQ(list.recordCount(), 500);
    EXPECT_EQ(list.heldRows(), 5);  // the first page
    EXPECT_ROWS(walk(list), rowsOf(db(), "SELECT productid FROM product ORDER BY name, productid"));
    EXPECT_LT(list.heldRows(), 500);  // far pages let go on the way

    // Every value of a row as a whole read gives it.
    whole.open();
    ASSERT_FALSE(whole.isPaged());
    for (int row : {0, 137, 499}) {
        list.setRecNo(row + 1);
        ASSERT_TRUE(whole.locate("productid", list.fieldByName("productid").value()));
        for (int c = 0; c < list.fieldCount(); ++c)
            EXPECT_EQ(list.field(c).displayText(), whole.field(c).displayText()) << list.field(c).fieldName().toStdString();
    }

    // Sorted again by the server, on the same product.
    list.setRecNo(300);
    const qint64 current = list.fieldByName("productid").asLargeInt();
    list.setSortedFields("price DESC");
    EXPECT_EQ(list.fieldByName("productid").asLargeInt(), current);
    EXPECT_ROWS(walk(list), rowsOf(db(), "SELECT productid FROM product ORDER BY price DESC, productid"));

    // A search that finds few reads them at once and sorts them by the alphabet.
    list.close();
    list.setSql(kListSql + " WHERE p.price < 20");
    list.setSortedFields("name");
    list.open();
    whole.close();
    whole.setSql(list.sql());
    whole.setSortedFields("name");
    whole.open();
    EXPECT_FALSE(list.isPaged());
    EXPECT_ROWS(walk(list), walk(whole));
}

TEST_F(PagedList, LocateFindsTheFirstRowAWholeListFindsAndASavedRowStaysCurrent)
{
    list.setSortedFields("price");
    list.open();
    whole.open();
    whole.setSortedFields("price");
    ASSERT_TRUE(list.isPaged());
    ASSERT_ROWS(walk(list), walk(whole));  // the same order to look in
    // Field, value, options. The server's collation takes "sargarepa" for
    // "šargarepa": the rows still decide as the whole list's do.
    const std::tuple<const char*, QVariant, int> cases[] = {
        {"name", "Čaj 6", 0},
        {"name", "čaj 6", 0},
        {"name", "čaj 6", LocateCaseInsensitive},
        {"name", "sargarepa 3", LocateCaseInsensitive},
        {"price", 73, 0},
        {"wh_price", QVariant(), 0},
        {"name", "Sapun 4", LocatePartialKey},
    };
    for (const auto& [field, value, options] : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(field, value.toString()).toStdString());
        list.first();
        whole.first();
        EXPECT_EQ(list.locate(field, value, options), whole.locate(field, value, options));
        EXPECT_EQ(list.recNo(), whole.recNo());
    }

    // An edit posted from far down the list: the row stays where it is and
    // reads as saved when its page comes back.
    list.last();
    const int at = list.recNo();
    const qint64 id = list.fieldByName("productid").asLargeInt();
    list.edit();
    list.fieldByName("price").setValue(1234.5);
    list.post();
    EXPECT_EQ(list.recNo(), at);
    walk(list);
    list.setRecNo(at);
    EXPECT_EQ(list.fieldByName("productid").asLargeInt(), id);
    EXPECT_EQ(list.fieldByName("price").asFloat(), 1234.5);  // written: test_snapin's save from the editor
    execSql(db(), QStringLiteral("UPDATE product SET price = MOD(productid * 37, 101) WHERE productid = %1").arg(id));
}
