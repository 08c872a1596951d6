#include "Connection.h"
#include "Productlookups.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace products::lookups;
using namespace tarvex::test;

class LookupsTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        QSqlDatabase d = db();
        tarvex::execSql(d, "INSERT INTO product (productid, name, unitname, taxid, pricecurrency) VALUES "
                           "(1, 'Hleb', 'kom', 1, 'RSD'), (2, 'Mleko', 'l', 1, 'EUR'), (3, 'Jaja', 'kom', 1, 'RSD')");
        tarvex::execSql(d, "INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES "
                           "(1, 1, 5, 49.9), (1, 2, -5, 51), (2, 1, 0.0000004, 120), (3, 1, 0.000001, 10)");
        tarvex::execSql(d, "INSERT INTO accountnew (accountnewid, type) VALUES (1, 'product'), (2, 'tax')");
        tarvex::execSql(d, "INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 2), (2, 1)");
        tarvex::execSql(d, "INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'A'), (2, 1, 'B')");
    }
};

TEST_F(LookupsTest, PricesAmountsAndCurrencies)
{
    EXPECT_DOUBLE_EQ(GetProductPrice(db(), 1, 1), 49.9);
    EXPECT_DOUBLE_EQ(GetProductPrice(db(), 1, 9), 0);
    EXPECT_DOUBLE_EQ(GetProductAmount(db(), 1, 2), -5);
    EXPECT_EQ(GetProductCurrency(db(), 2), "EUR");
    EXPECT_EQ(GetProductCurrency(db(), 42), QString());
}

TEST_F(LookupsTest, StockTotalsAreZeroAfterRoundingToSixDecimals)
{
    EXPECT_FALSE(ProductGetAmounts(db(), 1)); // 5 and -5
    EXPECT_FALSE(ProductGetAmounts(db(), 2)); // 0.0000004
    EXPECT_TRUE(ProductGetAmounts(db(), 3));  // 0.000001
    EXPECT_FALSE(ProductGetAmounts(db(), 42));
}

TEST_F(LookupsTest, PreceptsAndCategoryLevels)
{
    EXPECT_TRUE(PreceptExist(db(), "product", 2));
    EXPECT_FALSE(PreceptExist(db(), "product", 1));
    EXPECT_TRUE(PreceptExist(db(), "tax", 1));
    EXPECT_FALSE(PreceptExist(db(), "warehouse' OR '1'='1", 1));
    EXPECT_TRUE(CheckOnlyLowestCategory(db(), {2, 1}));
    EXPECT_FALSE(CheckOnlyLowestCategory(db(), {2}));
    EXPECT_FALSE(CheckOnlyLowestCategory(db(), {}));
}
