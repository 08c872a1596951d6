#include "DatabaseError.h"
#include "PluPool.h"
#include "TestServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

using R = PluPool::Registers;

void exec(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString() << "\n" << sql.toStdString();
}

// Digits 0-9 as rows, to build number ranges without one insert per row.
const QString kDigits = QStringLiteral(
    "(SELECT 0 AS n UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 "
    "UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9)");

} // namespace

class PluPoolTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        exec(db(), QStringLiteral("DELETE FROM product"));
        exec(db(), QStringLiteral("INSERT INTO tax (taxid, name, value) VALUES (1, 'PDV', 20) "
                                  "ON DUPLICATE KEY UPDATE value = 20"));
    }

    void addProducts(const QString& pluValuesSql)
    {
        exec(db(), QStringLiteral("INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) "
                                  "SELECT CONCAT('P', COALESCE(plu, '-')), 'kom', 1, 'RSD', plu FROM (%1) AS plus")
                       .arg(pluValuesSql));
    }

    void addProducts(std::initializer_list<const char*> plus)
    {
        QStringList rows;
        for (const char* plu : plus)
            rows << QStringLiteral("SELECT %1 AS plu").arg(QString::fromLatin1(plu));
        addProducts(rows.join(QStringLiteral(" UNION ALL ")));
    }
};

TEST_F(PluPoolTest, FreeNumbersAreTheGapsLowestFirst)
{
    // Two products share PLU 3; NULL, 0, negatives and numbers past both
    // ranges are no PLUs of any register.
    addProducts({"1", "2", "3", "3", "5", "9", "10000", "10001", "NULL", "0", "-4", "100000"});
    const PluPool pool(db());
    EXPECT_EQ(pool.freePlus(R::Ordinary, 5), QList<qint64>({4, 6, 7, 8, 10}));
    EXPECT_EQ(pool.freePlus(R::Vireo, 3), QList<qint64>({4, 6, 7}));
    EXPECT_EQ(pool.lowestFree(R::Ordinary), 4);

    const QList<qint64> allVireo = pool.freePlus(R::Vireo, 0);
    EXPECT_EQ(allVireo.size(), 9999 - 5);
    EXPECT_EQ(allVireo.last(), 9999);
    const QList<qint64> allOrdinary = pool.freePlus(R::Ordinary, -1);
    EXPECT_EQ(allOrdinary.size(), 99999 - 7);
    EXPECT_FALSE(allOrdinary.contains(10000));
    EXPECT_EQ(allOrdinary.last(), 99999);
}

TEST_F(PluPoolTest, AnEmptyTableOffersTheStartOfEachRange)
{
    addProducts({"NULL"});
    EXPECT_EQ(PluPool(db()).lowestFree(R::Vireo), PluPool::range(R::Vireo).first);
    QStringList target{QStringLiteral("stale")};
    GetPLUs(db(), target, 2, false);
    EXPECT_EQ(target, QStringList({QStringLiteral("1"), QStringLiteral("2")}));
}

TEST_F(PluPoolTest, AFullVireoRangeLeavesOnlyOrdinaryNumbers)
{
    // PLUs 1..9999 and 10000..10001 taken.
    addProducts(QStringLiteral("SELECT a.n + 10*b.n + 100*c.n + 1000*d.n + 1 AS plu FROM %1 a, %1 b, %1 c, %1 d "
                               "WHERE a.n + 10*b.n + 100*c.n + 1000*d.n < 9999 "
                               "UNION ALL SELECT 10000 UNION ALL SELECT 10001")
                    .arg(kDigits));
    const PluPool pool(db());
    EXPECT_EQ(pool.lowestFree(R::Vireo), std::nullopt);
    EXPECT_TRUE(pool.freePlus(R::Vireo, 5).isEmpty());
    EXPECT_EQ(pool.lowestFree(R::Ordinary), 10002);

    // What the editor sees: exactly one entry, or not.
    QStringList target;
    GetPLUs(db(), target, 1, true);
    EXPECT_TRUE(target.isEmpty());
    GetPLUs(db(), target, 1, false);
    EXPECT_EQ(target, QStringList({QStringLiteral("10002")}));

    // Freeing one number makes it the one offered.
    exec(db(), QStringLiteral("UPDATE product SET kasaplu = NULL WHERE kasaplu = 4711"));
    GetPLUs(db(), target, 1, true);
    EXPECT_EQ(target, QStringList({QStringLiteral("4711")}));
}
