// Average stock-card prices against the plain rule, taken literally by the
// server: the card's decimal sums divided in DECIMAL and rounded half away
// from zero to the cent. On hand-made ties and on the demo shop, every
// product of every warehouse, through each place the program shows one.

#include "Productresourcestring.h"
#include "Rounding.h"
#include "Stockhistoryunit.h"
#include "stock_reference.h"

#include <QMap>
#include <QRegularExpression>
#include <QSqlQuery>
#include <iostream>

using namespace stockfast;

namespace {

struct CardPrice {
    QString exact; // the plain rule's price, "368.54"
    QString quotient; // the unrounded quotient as the server's decimals hold it
    double doubleRule = 0; // the same division and rounding in double
};

// Per warehouse and product, the cards with a quantity other than 0 at six
// decimals up to and including `date`.
QMap<QPair<qint64, qint64>, CardPrice> plainRule(QSqlDatabase db, const QString& date)
{
    QSqlQuery query(db);
    query.setNumericalPrecisionPolicy(QSql::HighPrecision); // decimals as their digits
    const QString sql = QStringLiteral(
        "SELECT dfi.warehouseid, dfi.productid, ROUND(v / q, 2), v / q, dv / dq FROM (SELECT dfi.warehouseid, "
        "dfi.productid, SUM(CAST(dfi.debit AS DECIMAL(30,10))) - SUM(CAST(dfi.credit AS DECIMAL(30,10))) AS v, "
        "SUM(CAST(dfi.inquantity AS DECIMAL(30,10))) - SUM(CAST(dfi.outquantity AS DECIMAL(30,10))) AS q, "
        "SUM(dfi.debit) - SUM(dfi.credit) AS dv, SUM(dfi.inquantity) - SUM(dfi.outquantity) AS dq "
        "FROM docfinitem AS dfi JOIN document AS d ON d.documentid = dfi.documentid WHERE d.documentdate <= '%1' "
        "GROUP BY dfi.warehouseid, dfi.productid) AS dfi WHERE ROUND(q, 6) <> 0").arg(date);
    EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
    QMap<QPair<qint64, qint64>, CardPrice> prices;
    while (query.next())
        prices[{query.value(0).toLongLong(), query.value(1).toLongLong()}] =
            CardPrice{query.value(2).toString(), query.value(3).toString(),
                      BetterRoundTo(query.value(4).toDouble(), -2)};
    return prices;
}

QString cents(double price)
{
    return QString::number(price, 'f', 2);
}

// Each price the program shows for the card, against the plain rule: the
// stock-price list (one statement per product and one for the warehouse),
// the stock card's current price and the price of its row for the state
// before a range starting the day after. Returns the number of cards compared.
int expectPlainRuleEverywhere(QSqlDatabase db, const QString& date, const QList<qint64>& warehouses)
{
    const auto reference = plainRule(db, date);
    const QString dayAfter = QDate::fromString(date, Qt::ISODate).addDays(1).toString(Qt::ISODate);
    int compared = 0;
    for (qint64 warehouse : warehouses) {
        const QHash<qint64, TStockPrice> all = CalculateAllPrices(db, qint32(warehouse), date);
        for (auto it = all.begin(); it != all.end(); ++it)
            EXPECT_TRUE(reference.contains({warehouse, it.key()})) << warehouse << " " << it.key();
        for (auto it = reference.begin(); it != reference.end(); ++it) {
            if (it.key().first != warehouse)
                continue;
            const qint64 product = it.key().second;
            const std::string where = QStringLiteral("warehouse %1, product %2, quotient %3")
                                          .arg(warehouse).arg(product).arg(it->quotient).toStdString();
            EXPECT_EQ(cents(all.value(product).price), it->exact) << where;
            EXPECT_EQ(cents(CalculatePrice(db, qint32(warehouse), product, date).price), it->exact) << where;
            EXPECT_EQ(cents(CurrentStockCardPrice(db, product, warehouse, date)), it->exact) << where;
            const auto card = tableOf(DefineStockHistoryFields);
            FillStockHistory(db, *card, product, warehouse, dayAfter, dayAfter);
            if (card->recordCount() == 0) {
                ADD_FAILURE() << where << ": no rows on the card";
                continue;
            }
            EXPECT_EQ(valueAt(*card, 0, "document").toString(), PROD_PREV_SITUATION);
            EXPECT_EQ(cents(valueAt(*card, 0, "price").toDouble()), it->exact) << where;
            ++compared;
        }
    }
    return compared;
}

// Ties whose double quotient lies just below the half, a value summed in
// double just below it, negative quantities and values, a third, and a
// quantity left of 0.0000001 (no price, no row).
class ExactPriceEdgeTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        sql("INSERT INTO warehouse (warehouseid, name, pricetype) VALUES (3, 'Apoteka', 'm'), (4, 'Veleprodaja', "
            "'v')");
        for (int id = 60; id <= 68; ++id)
            sql(QStringLiteral("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) "
                               "VALUES (%1, 'Proizvod %1', 'P%1', 'kom', 1, 'RSD', 'r')").arg(id));
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, status) "
            "VALUES (120, '2024-01-10', 'K', '20', 1, 3, 'p'), (121, '2024-01-20', 'R', '21', -1, 3, 'p'), "
            "(122, '2024-01-10', 'K', '22', 1, 4, 'p'), (123, '2024-02-01', 'R', '23', -1, 3, 'p')");
        sql("INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity, debit, credit) "
            "VALUES (120, 60, 3, 60, 0, 21000.89, 0), (121, 60, 3, 0, 6, 0, 1100),"   // 19 900,89 / 54
            "(120, 61, 3, 6, 0, 4.05, 0),"                                            // 4,05 / 6
            "(120, 62, 3, 2, 0, 0.3, 0), (121, 62, 3, 0, 1, 0, 0.025),"               // 0.3 - 0.025 in double
            "(121, 63, 3, 0, 2, 0, 737.07),"                                          // -737,07 / -2
            "(120, 64, 3, 1, 0, 0, 1.005),"                                           // -1,005 / 1
            "(120, 65, 3, 3, 0, 10, 0),"                                              // 10 / 3
            "(120, 66, 3, 0.0000001, 0, 5, 0),"                                       // no quantity left
            "(122, 67, 4, 54, 0, 19900.89, 0), (120, 67, 3, 1, 0, 2.5, 0),"           // the warehouse counts
            "(123, 68, 3, 4, 0, 1.5, 0)");                                            // after the first date
    }
};

TEST_F(ExactPriceEdgeTest, TiesRoundUpToTheCentEverywhereAsThePlainRuleDoes)
{
    // The plain rule itself, for the cases the comments above name.
    const auto reference = plainRule(db(), "2024-01-31");
    const std::pair<QPair<qint64, qint64>, const char*> named[] = {
        {{3, 60}, "368.54"}, {{3, 61}, "0.68"}, {{3, 62}, "0.28"}, {{3, 63}, "368.54"},
        {{3, 64}, "-1.01"},  {{3, 65}, "3.33"}, {{4, 67}, "368.54"}, {{3, 67}, "2.50"}};
    for (const auto& [card, price] : named)
        EXPECT_EQ(reference.value(card).exact, price) << card.first << " " << card.second;
    EXPECT_FALSE(reference.contains({3, 66}));
    EXPECT_FALSE(reference.contains({3, 68}));
    // Where the division in double gives the cent below.
    for (const auto& card : {QPair<qint64, qint64>{3, 60}, {3, 61}, {3, 62}})
        EXPECT_EQ(cents(reference.value(card).doubleRule), cents(reference.value(card).exact.toDouble() - 0.01))
            << card.second;

    EXPECT_EQ(expectPlainRuleEverywhere(db(), "2024-01-31", {3, 4}), 8);
    EXPECT_EQ(expectPlainRuleEverywhere(db(), "2024-02-01", {3, 4}), 9);
}

TEST_F(StockFastPathDemoTest, EveryCardOfEveryWarehouseHasThePlainRulesPriceAndOnlyTiesDifferInDouble)
{
    QList<qint64> warehouses;
    for (const QString& id : rowsOf(db(), "SELECT warehouseid FROM warehouse"))
        warehouses << id.toLongLong();
    EXPECT_GT(expectPlainRuleEverywhere(db(), "2025-06-30", warehouses), 1000);

    // The division in double misses a cent only at exact ties, and then
    // always the one below.
    int ties = 0;
    for (const CardPrice& card : plainRule(db(), "2025-06-30")) {
        if (cents(card.doubleRule) == card.exact)
            continue;
        // An exact tie: the quotient ends in 5 at the third decimal, zeros after.
        EXPECT_TRUE(card.quotient.contains(QRegularExpression("\\.\\d\\d50*$"))) << card.quotient.toStdString();
        ++ties;
    }
    std::cout << "stock cards whose double price misses the cent: " << ties << "\n";
}

} // namespace
