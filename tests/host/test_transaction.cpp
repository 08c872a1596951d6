// Cached updates and transactions: changes stay in memory until applied;
// applying stops at the first failure and keeps the rest; cancelling brings
// back what was read; a rolled back save leaves posted rows and cached changes
// as the user left them, so saving again writes everything once.
#include "Connection.h"
#include "DatabaseError.h"
#include "QueryDataSet.h"
#include "TestServer.h"
#include "WriteRetry.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

class TransactionTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        execSql(db(), "DELETE FROM productrebate");
        execSql(db(), "DELETE FROM kasagroup");
        execSql(db(), "INSERT INTO productrebate (productrebateid, productid, quantity, rebate) VALUES "
                      "(1, 7, 10, 2), (2, 7, 20, 4), (3, 7, 50, 6), (4, 8, 10, 1)");
        rebates.setCachedUpdates(true);
        rebates.setParam("idproduct", 7);
        rebates.setSortedFields("quantity");
        rebates.open();
        groups.open();
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
    void setRebate(double quantity, double rebate)
    {
        ASSERT_TRUE(rebates.locate("quantity", quantity));
        rebates.edit();
        rebates.fieldByName("rebate").setValue(rebate);
        rebates.post();
    }

    // quantity:rebate of the product's stored rows, by quantity.
    QStringList storedRebates()
    {
        return scalar(db(), "SELECT GROUP_CONCAT(CAST(quantity AS DOUBLE), ':', CAST(rebate AS DOUBLE) ORDER BY quantity) "
                            "FROM productrebate WHERE productid = 7")
            .toString()
            .split(',');
    }
    QStringList shownRebates()
    {
        QStringList rows;
        for (rebates.first(); !rebates.eof(); rebates.next())
            rows << QStringLiteral("%1:%2").arg(rebates.fieldByName("quantity").asFloat()).arg(rebates.fieldByName("rebate").asFloat());
        return rows;
    }
    int groupCount() { return scalar(db(), "SELECT COUNT(*) FROM kasagroup").toInt(); }

    // Edits a rebate, adds one and deletes one: three pending changes.
    void changeRebates()
    {
        setRebate(20, 5);
        add(100, 10);
        ASSERT_TRUE(rebates.locate("quantity", 50.0));
        rebates.deleteRecord();
    }

    Connection connection{db()};
    QueryDataSet rebates{&connection, "SELECT * FROM productrebate WHERE productid = :idproduct"};
    QueryDataSet groups{&connection, "SELECT * FROM kasagroup"};
};

} // namespace

TEST_F(TransactionTest, CancelBringsBackTheRowsAsReadApplyStopsAtTheFirstFailureGuardsCommitOrRollBackAndOnlyDeadlocksAreRetried)
{
    add(30, 3);
    rebates.deleteRecord();
    EXPECT_FALSE(rebates.updatesPending());
    setRebate(20, 9);
    EXPECT_EQ(rebates.fieldByName("rebate").oldValue().toDouble(), 4.0);  // as read
    EXPECT_THROW(rebates.refresh(), std::exception);  // pending changes would be lost
    ASSERT_TRUE(rebates.locate("quantity", 10.0));
    rebates.deleteRecord();
    add(5, 1);
    EXPECT_EQ(rebates.recordCount(), 3);

    rebates.cancelUpdates();
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_ROWS(shownRebates(), QStringList({"10:2", "20:4", "50:6"}));
    EXPECT_EQ(storedRebates(), shownRebates());

    setRebate(10, 3);
    execSql(db(), "ALTER TABLE productrebate ADD CONSTRAINT test_rebatetype CHECK (rebatetype IN ('P', 'V'))");
    add(60, 7, "X");  // the server's check refuses the row
    add(70, 8);

    EXPECT_THROW(rebates.applyUpdates(), DatabaseError);
    execSql(db(), "ALTER TABLE productrebate DROP CONSTRAINT test_rebatetype");
    EXPECT_ROWS(storedRebates(), QStringList({"10:3", "20:4", "50:6"}));  // the first change went in
    EXPECT_TRUE(rebates.updatesPending());

    ASSERT_TRUE(rebates.locate("quantity", 60.0));
    rebates.edit();
    rebates.fieldByName("rebatetype").setValue("P");
    rebates.post();
    rebates.applyUpdates();
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_ROWS(storedRebates(), QStringList({"10:3", "20:4", "50:6", "60:7", "70:8"}));

    // The guard commits on success and nests into the outer (its rollback on an exception: the
    // next test's failed apply); only deadlocks are retried.
    {
        Transaction t(connection);
        connection.execute("INSERT INTO kasagroup (name) VALUES ('a')");
        {
            Transaction inner(connection);
            EXPECT_EQ(connection.transactionDepth(), 2);
            connection.execute("INSERT INTO kasagroup (name) VALUES ('b')");
            inner.commit();
        }
        EXPECT_EQ(groupCount(), 2);  // this session sees its own rows
        t.commit();
    }
    EXPECT_FALSE(connection.inTransaction());
    EXPECT_EQ(groupCount(), 2);

    // An inner failure that someone swallowed still dooms the outer commit.
    bool ended = false;
    bool committed = true;
    {
        Transaction t(connection);
        connection.onTransactionEnd([&](bool c) { ended = true; committed = c; });
        connection.execute("INSERT INTO kasagroup (name) VALUES ('d')");
        try {
            Transaction inner(connection);
            connection.execute("INSERT INTO kasagroup (name, nosuchcolumn) VALUES ('e', 1)");
            inner.commit();
        } catch (const DatabaseError&) {
        }
        EXPECT_THROW(t.commit(), DatabaseError);
    }
    EXPECT_TRUE(ended);
    EXPECT_FALSE(committed);
    EXPECT_EQ(groupCount(), 2);
    EXPECT_FALSE(connection.inTransaction());

    // Only conflicts run again (the save path's retries: test_writeretry);
    // any other failure is told at once.
    int runs = 0;
    EXPECT_THROW(writeTransaction(connection, [&] { ++runs; throw DatabaseError(1048, "failed"); }), DatabaseError);
    EXPECT_EQ(runs, 1);

    // A deadlock rolls the server's transaction back: a caller that goes on
    // after it (a re-read that may fail) must not write outside it.
    const QString deadlock = "BEGIN NOT ATOMIC SIGNAL SQLSTATE '40001' SET MYSQL_ERRNO = 1213, "
                             "MESSAGE_TEXT = 'Deadlock'; END";
    runs = 0;
    writeTransaction(connection, [&] {
        ++runs;
        connection.execute("INSERT INTO kasagroup (name) VALUES ('y')");
        if (runs == 1) {
            EXPECT_THROW(connection.execute(deadlock), DatabaseError);
            EXPECT_THROW(connection.execute("INSERT INTO kasagroup (name) VALUES ('z')"), DatabaseError);
        }
    });
    EXPECT_EQ(runs, 2);
    EXPECT_ROWS(rowsOf(db(), "SELECT name FROM kasagroup ORDER BY name"), (QStringList{"a", "b", "y"}));
}

TEST_F(TransactionTest, RolledBackPostsAndCachedChangesComeBackAsTheUserLeftThemAndASecondSaveWritesThemOnce)
{
    groups.append();
    groups.fieldByName("name").setValue("Pića");
    ASSERT_TRUE(rebates.locate("quantity", 10.0));
    rebates.edit();
    rebates.fieldByName("rebate").setValue(3.0);
    {
        Transaction t(connection);
        groups.post();
        rebates.applyUpdates();  // posts the edit and writes it
        // The save fails after both wrote.
    }
    // The new row is a new row again, once. What else a failed save leaves
    // (nothing stored, no key, the typed values): test_productsave; the
    // cached changes: below.
    EXPECT_EQ(groups.state(), DataSetState::Insert);
    EXPECT_EQ(groups.recordCount(), 1);
    EXPECT_TRUE(rebates.updatesPending());

    {
        Transaction t(connection);
        groups.post();
        rebates.applyUpdates();
        t.commit();
    }
    EXPECT_EQ(groupCount(), 1);
    EXPECT_ROWS(storedRebates(), QStringList({"10:3", "20:4", "50:6"}));

    // An edit of a stored row comes back as an edit whose cancel restores the stored values.
    groups.edit();
    groups.fieldByName("name").setValue("Voće");
    {
        Transaction t(connection);
        groups.post();
    }
    EXPECT_EQ(groups.state(), DataSetState::Edit);
    EXPECT_EQ(groups.fieldByName("name").asString(), "Voće");
    groups.cancel();
    EXPECT_EQ(groups.fieldByName("name").asString(), "Pića");

    // Cached changes wait for apply; a rolled back apply keeps them all, the deleted rows hidden.
    const QStringList before = storedRebates();
    changeRebates();
    const QStringList shown = shownRebates();
    EXPECT_ROWS(shown, QStringList({"10:3", "20:5", "100:10"}));
    EXPECT_EQ(storedRebates(), before);  // nothing written yet
    try {
        Transaction t(connection);
        rebates.applyUpdates();
        EXPECT_EQ(storedRebates(), shown);
        connection.execute("INSERT INTO nosuchtable VALUES (1)");
        t.commit();
    } catch (const DatabaseError&) {
    }
    EXPECT_EQ(storedRebates(), before);
    EXPECT_TRUE(rebates.updatesPending());
    EXPECT_EQ(shownRebates(), shown);

    // A second apply writes all three changes once, with the server's counter
    // behind the stored keys, as a crash can leave it: its next number is
    // taken, and the row goes in under another.
    execSql(db(), "SET insert_id = 2");
    {
        Transaction t(connection);
        rebates.applyUpdates();
        t.commit();
    }
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_EQ(storedRebates(), shown);
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM productrebate").toInt(), 4);  // product 8's row untouched
    ASSERT_TRUE(rebates.locate("quantity", 100.0));
    EXPECT_GT(rebates.fieldByName("productrebateid").asLargeInt(), 4);  // the new key was read back

    // Cancel after a rolled back apply still knows what was read.
    setRebate(20, 7);
    ASSERT_TRUE(rebates.locate("quantity", 10.0));
    rebates.deleteRecord();
    {
        Transaction t(connection);
        rebates.applyUpdates();
    }
    rebates.cancelUpdates();
    EXPECT_EQ(shownRebates(), shown);
}

TEST_F(TransactionTest, ACommitCutOffWithTheConnectionWaitsForItsResolverBeforeTheNextTransaction)
{
    if (connection.onCluster())
        GTEST_SKIP() << "a cluster node's session is asked before COMMIT, so its loss is found before the commit is sent";
    changeRebates();
    const QStringList shown = shownRebates();
    const QString session = scalar(connection.database(), "SELECT CONNECTION_ID()").toString();
    {
        Transaction t(connection);
        rebates.applyUpdates();
        Connection killer(database().settings());
        killer.execute("KILL CONNECTION " + session);
        EXPECT_THROW(t.commit(), DatabaseError);
    }
    // Written or not, nobody knows yet: the rows stay as the apply left them.
    EXPECT_TRUE(connection.transactionInDoubt());
    EXPECT_FALSE(rebates.updatesPending());
    EXPECT_THROW(Transaction{connection}, DatabaseError);  // no resolver: nothing may start

    int asked = 0;
    connection.setDoubtResolver([&] {
        ++asked;
        return scalar(connection.database(), "SELECT COUNT(*) FROM productrebate WHERE quantity = 100").toInt() > 0;
    });
    {
        Transaction t(connection);  // reconnects and asks first
        EXPECT_EQ(asked, 1);
        EXPECT_FALSE(connection.transactionInDoubt());
        EXPECT_TRUE(rebates.updatesPending());
        EXPECT_EQ(shownRebates(), shown);
        rebates.applyUpdates();
        t.commit();
    }
    EXPECT_EQ(storedRebates(), shown);
}
