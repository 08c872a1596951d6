#include "Connection.h"
#include "Documentrules.h"
#include "TestServer.h"

using namespace products::docrules;
using namespace tarvex::test;

class DocumentRulesTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        tarvex::execSql(db(), "INSERT INTO warehouse (warehouseid, name) VALUES (1, 'A'), (2, 'B')");
        tarvex::execSql(db(), "INSERT INTO partner (partnerid, name) VALUES (1, 'Dobavljač d.o.o.'), (2, 'Drugi')");
        // id, date, kind, number, direction, warehouse, in-warehouse, status, partner
        tarvex::execSql(db(), "INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, "
               "inwarehouseid, status, partnerid) VALUES "
               "(100, '2024-01-01', 'G', '1', 1, 1, NULL, 'p', NULL),"   // opening stock 10 in A
               "(101, '2024-02-01', 'K', '2', 1, 1, NULL, 'p', 1),"      // receipt 8 in A
               "(102, '2024-03-05', 'I', '3', -1, 1, 2, 'p', NULL),"     // transfer 5 from A to B
               "(103, '2024-03-06', 'R', '4', -1, 2, NULL, 'p', NULL),"  // sale 2 in B
               "(104, '2024-03-07', 'R', '5', -1, 1, NULL, 'n', NULL),"  // draft sale 4 in A
               "(105, '2024-03-08', 'K', '6', 1, 1, NULL, 'p', 2),"      // K with -3: no supply
               "(106, '2024-01-15', 'W', '7', -1, 1, NULL, 'p', 2),"     // W with -3: a supply
               "(107, '2024-03-09', 'X', '8', 1, 1, NULL, 'p', NULL),"   // not a stock kind
               "(18,  '2024-12-31', 'K', '9', 1, 1, NULL, 'p', 2)");     // excluded from last supply
        tarvex::execSql(db(), "INSERT INTO documentitem (documentid, productid, quantity) VALUES "
               "(100, 1, 10), (101, 1, 8), (102, 1, 5), (103, 1, 2), (104, 1, 4), (105, 1, -3), (106, 1, -3),"
               "(107, 1, 99), (18, 1, 1), (100, 2, 4)");
        tarvex::execSql(db(), "INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity, debit, credit) "
               "VALUES (100, 1, 1, 10, 0, 1000, 0), (101, 1, 1, 8, 0, 960, 0), (102, 1, 1, 0, 5, 0, 550),"
               "(104, 1, 1, 0, 4, 0, 440)");
    }
};

// Transfers count in both warehouses, drafts nowhere but on the stock card,
// cut-off dates inclusively; the last supply is a positive receipt or a
// negative supplier return, sales of any status count.
TEST_F(DocumentRulesTest, BalancesStockCardsLastSupplyAndSales)
{
    const auto balances = documentBalances(db(), 1);
    const StockCardBalance card = stockCardBalance(db(), 1, {}, QDate(2030, 1, 1));
    // A: 10 + 8 in, 5 out by transfer, -3 by the K line (direction 1), -3 out
    // by W; the draft sale and the unknown kind do not count. Cut-off dates
    // are inclusive, for the balances and for the stock cards.
    const std::tuple<const char*, double, double> figures[] = {
        {"A in", balances.value(1).input, 10 + 8 - 3 + 1},
        {"A out", balances.value(1).output, 5 + -3},
        {"B in", balances.value(2).input, 5},
        {"B out", balances.value(2).output, 2},
        {"B balance", documentBalance(db(), 1, 2).balance(), 3},
        {"B in to 5.3.", documentBalance(db(), 1, 2, QDate(2024, 3, 5)).input, 5},
        {"B in to 4.3.", documentBalance(db(), 1, 2, QDate(2024, 3, 4)).input, 0},
        {"A card to 5.3.", stockCardBalance(db(), 1, {1}, QDate(2024, 3, 5)).quantity(), 13},
        {"A card to 4.3.", stockCardBalance(db(), 1, {1}, QDate(2024, 3, 4)).quantity(), 18},
        {"card quantity", card.quantity(), 18 - 5 - 4},
        {"card value", card.value(), 1960 - 990},
        {"B card price", stockCardBalance(db(), 1, {2}, QDate(2030, 1, 1)).price(), 0}};
    for (const auto& [what, figure, expected] : figures)
        EXPECT_DOUBLE_EQ(figure, expected) << what;
    EXPECT_NEAR(card.price(), 970.0 / 9, 1e-9);

    // K on 2024-02-01 is later than W on 2024-01-15; the K with -3 and the
    // excluded document do not count. Without any supply the opening stock
    // entry gives the date alone.
    const LastSupply first = lastSupply(db(), 1);
    EXPECT_EQ(first.date, QDate(2024, 2, 1));
    EXPECT_EQ(first.partner, "Dobavljač d.o.o.");
    const LastSupply opening = lastSupply(db(), 2);
    EXPECT_EQ(opening.date, QDate(2024, 1, 1));
    EXPECT_EQ(opening.partner, "");
    EXPECT_FALSE(lastSupply(db(), 3).found);

    // Sales count retail and wholesale documents whatever their status.
    const auto sales = salesByWarehouse(db(), 1, QDate(2024, 3, 6), QDate(2024, 3, 7));
    EXPECT_EQ(sales.value(2), 2);
    EXPECT_EQ(sales.value(1), 4);
    EXPECT_TRUE(salesByWarehouse(db(), 1, QDate(2024, 3, 8), QDate(2024, 3, 31)).isEmpty());
}
