#include "Productplus.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using products::TProductPlus;
using namespace tarvex::test;

using R = PluPool::Registers;

class PluPoolTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        execSql(db(), "DELETE FROM product");
        execSql(db(), "INSERT IGNORE INTO tax (taxid, name, value) VALUES (1, 'PDV', 20)");
    }

    // One product per value of the column plu that the given SELECT yields.
    void addProducts(const QString& selectPlus)
    {
        execSql(db(), "INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) "
                      "SELECT CONCAT('P', COALESCE(plu, '-')), 'kom', 1, 'RSD', plu FROM (" + selectPlus + ") AS plus");
    }
};

TEST_F(PluPoolTest, FreeNumbersAreTheGapsLowestFirst)
{
    // NULL, 0, negatives and numbers past both ranges are no PLUs of any
    // register.
    QStringList plus;
    for (const char* plu : {"1", "2", "3", "NULL", "5", "9", "10000", "10001", "NULL", "0", "-4", "100000"})
        plus << QStringLiteral("SELECT %1 AS plu").arg(plu);
    addProducts(plus.join(" UNION ALL "));
    const TProductPlus holders;
    const PluPool pool(holders, db());
    EXPECT_EQ(pool.freePlus(R::Ordinary, 5), QList<qint64>({4, 6, 7, 8, 10}));
    EXPECT_EQ(pool.freePlus(R::Vireo, 3), QList<qint64>({4, 6, 7}));
    EXPECT_EQ(pool.lowestFree(R::Ordinary), 4);
    EXPECT_EQ(pool.freePlus(R::Vireo, 0).size(), 9999 - 5);
    const QList<qint64> allOrdinary = pool.freePlus(R::Ordinary, -1);
    EXPECT_EQ(allOrdinary.size(), 99999 - 7);
    EXPECT_FALSE(allOrdinary.contains(10000));
    EXPECT_EQ(allOrdinary.last(), 99999);
}

TEST_F(PluPoolTest, AFullVireoRangeLeavesOnlyOrdinaryNumbers)
{
    // PLUs 1..10001 taken.
    addProducts("WITH RECURSIVE d (n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 99) "
                "SELECT a.n * 100 + b.n + 1 AS plu FROM d a, d b UNION ALL SELECT 10001");
    const TProductPlus holders;
    const PluPool pool(holders, db());
    EXPECT_EQ(pool.lowestFree(R::Vireo), std::nullopt);
    EXPECT_EQ(pool.lowestFree(R::Ordinary), 10002);

    // What the editor sees: exactly one entry, or none; the list is cleared first.
    QStringList target{"stale"};
    GetPLUs(holders, db(), target, 1, true);
    EXPECT_TRUE(target.isEmpty());
    GetPLUs(holders, db(), target, 1, false);
    EXPECT_EQ(target, QStringList({"10002"}));

    // Freeing one number makes it the one offered.
    execSql(db(), "UPDATE product SET kasaplu = NULL WHERE kasaplu = 4711");
    GetPLUs(holders, db(), target, 1, true);
    EXPECT_EQ(target, QStringList({"4711"}));
}
