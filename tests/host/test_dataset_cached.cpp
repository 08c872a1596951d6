// Cached updates: changes stay in memory until applied; applying stops at the
// first failure and keeps the rest; cancelling brings back what was read.
#include "Connection.h"
#include "DatabaseError.h"
#include "QueryDataSet.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

class CachedUpdatesTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        QSqlDatabase d = db();
        execSql(d, "DELETE FROM productrebate");
        execSql(d, "INSERT INTO productrebate (productrebateid, productid, quantity, rebate) VALUES "
                   "(1, 7, 10, 2), (2, 7, 20, 4), (3, 7, 50, 6), (4, 8, 10, 1)");
        rebates.setCachedUpdates(true);
        rebates.setParam("idproduct", 7);
        rebates.setSortedFields("quantity");
        rebates.open();
    }

    void add(double quantity, double rebate, const QString& type = "P")
    {
        rebates.append();
        rebates.fieldByName("productid").setValue(7);
        rebates.fieldByName("quantity").setValue(quantity);
        rebates.fieldByName("rebate").setValue(rebate);
        rebates.fieldByName("rebatetype").setValue(type);
        rebates.post();
    }

    // quantity:rebate of the product's stored rows, by quantity.
    QStringList stored()
    {
        QStringList rows;
        QSqlQuery q(db());
        q.exec("SELECT quantity, rebate FROM productrebate WHERE productid = 7 ORDER BY quantity");
        while (q.next())
            rows << QStringLiteral("%1:%2").arg(q.value(0).toDouble()).arg(q.value(1).toDouble());
        return rows;
    }

    Connection connection{db()};
    QueryDataSet rebates{&connection, "SELECT * FROM productrebate WHERE productid = :idproduct"};
};

} // namespace

TEST_F(CachedUpdatesTest, ChangesWaitForApplyAndThenAllGoIn)
{
    const QStringList before = stored();
    add(100, 10);
    ASSERT_TRUE(rebates.locate("quantity", 20.0));
    rebates.edit();
    rebates.fieldByName("rebate").setValue(5.0);
    rebates.post();
    ASSERT_TRUE(rebates.locate("quantity", 50.0));
    rebates.deleteRecord();
    EXPECT_TRUE(rebates.updatesPending());
    EXPECT_EQ(stored(), before);  // nothing written yet

    // The server's counter behind the stored keys, as a crash can leave it:
    // its next number is taken, and the row goes in under another.
    QSqlDatabase d = db();
    execSql(d, "SET insert_id = 2");
    rebates.applyUpdates();
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_EQ(stored(), QStringList({"10:2", "20:5", "100:10"}));
    ASSERT_TRUE(rebates.locate("quantity", 100.0));
    EXPECT_GT(rebates.fieldByName("productrebateid").asLargeInt(), 4);  // the new key was read back
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM productrebate WHERE productid = 8").toInt(), 1);
}

TEST_F(CachedUpdatesTest, ApplyStopsAtTheFirstFailureAndKeepsTheRestPending)
{
    ASSERT_TRUE(rebates.locate("quantity", 10.0));
    rebates.edit();
    rebates.fieldByName("rebate").setValue(3.0);
    rebates.post();
    QSqlDatabase d = db();
    execSql(d, "ALTER TABLE productrebate ADD CONSTRAINT test_rebatetype CHECK (rebatetype IN ('P', 'V'))");
    add(60, 7, "X");  // the server's check refuses the row
    add(70, 8);

    EXPECT_THROW(rebates.applyUpdates(), DatabaseError);
    execSql(d, "ALTER TABLE productrebate DROP CONSTRAINT test_rebatetype");
    EXPECT_EQ(stored(), QStringList({"10:3", "20:4", "50:6"}));  // the first change went in
    EXPECT_TRUE(rebates.updatesPending());

    ASSERT_TRUE(rebates.locate("quantity", 60.0));
    rebates.edit();
    rebates.fieldByName("rebatetype").setValue("P");
    rebates.post();
    rebates.applyUpdates();
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_EQ(stored(), QStringList({"10:3", "20:4", "50:6", "60:7", "70:8"}));
}

TEST_F(CachedUpdatesTest, CancelBringsBackTheRowsAsRead)
{
    ASSERT_TRUE(rebates.locate("quantity", 20.0));
    rebates.edit();
    rebates.fieldByName("rebate").setValue(9.0);
    rebates.post();
    ASSERT_TRUE(rebates.locate("quantity", 10.0));
    rebates.deleteRecord();
    add(5, 1);
    EXPECT_EQ(rebates.recordCount(), 3);

    rebates.cancelUpdates();
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_EQ(rebates.recordCount(), 3);
    QStringList shown;
    for (rebates.first(); !rebates.eof(); rebates.next())
        shown << QStringLiteral("%1:%2").arg(rebates.fieldByName("quantity").asFloat()).arg(rebates.fieldByName("rebate").asFloat());
    EXPECT_EQ(shown, QStringList({"10:2", "20:4", "50:6"}));
    EXPECT_EQ(stored(), shown);
}

TEST_F(CachedUpdatesTest, ARowInsertedAndDeletedBeforeApplyLeavesNothing)
{
    add(30, 3);
    rebates.deleteRecord();
    EXPECT_FALSE(rebates.updatesPending());
    ASSERT_TRUE(rebates.locate("quantity", 20.0));
    rebates.edit();
    rebates.fieldByName("rebate").setValue(1.0);
    rebates.post();
    EXPECT_EQ(rebates.fieldByName("rebate").oldValue().toDouble(), 4.0);  // as read
    EXPECT_THROW(rebates.refresh(), std::exception);  // pending changes would be lost
    rebates.cancelUpdates();
    EXPECT_DOUBLE_EQ(rebates.fieldByName("rebate").asFloat(), 4.0);
}
