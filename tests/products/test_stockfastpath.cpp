// The stock reports as the module computes them (one pass over the lines)
// against the same reports computed product by product with the rules'
// statements: on hand-made edge data and on the demo shop, row for row.

#include "Collationorder.h"
#include "stock_reference.h"

#include <QMap>
#include <QSqlQuery>

using namespace stockfast;

// Transfers, drafts, returns, documents on the limits of the periods,
// documents the last-supply rule excludes, a warehouse that does not exist,
// kg quantities that cancel out to about 1e-17, stock-card entries of a
// missing document.
class StockFastPathEdgeTest : public StockFastPathTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        sql("INSERT INTO warehouse (warehouseid, name, pricetype) VALUES (1, 'Veleprodaja', 'v'), (2, 'Radnja', "
            "'m'), (5, 'Radnja Sever', 'm'), (11, 'Radnja Istok', 'm'), (8, 'Rezerva', 'v'), (30, 'Skladište', 'v')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type, active, supplyprice, "
            "recommendedprice) VALUES (1, 'Alfa', 'A1', 'kom', 1, 'RSD', 'r', 'y', 80, 100), (2, 'Beta', 'B1', 'kg', "
            "1, 'RSD', 'r', 'y', 1, 2), (3, 'Gama', 'G1', 'm', 1, 'RSD', 'r', 'y', 3, 4), (4, 'Usluga', 'U1', 'h', 1, "
            "'RSD', 'u', 'y', 0, 0), (5, 'Delta', 'D1', 'kom', 1, 'RSD', 'r', 'n', 5, 6), (6, 'Eta', 'E1', 'kom', 1, "
            "'RSD', 'r', 'y', 7, 8)");
        sql("INSERT INTO productdetail (productid, webprice, b2bprice, tariffnumber, description) VALUES "
            "(1, 110, 90, NULL, 'Opis alfe'), (6, 9, 8, '2024-01-15', NULL)");
        sql("INSERT INTO partner (partnerid, name) VALUES (1, 'Dobavljač A'), (2, 'Dobavljač B')");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, orderedamount, reservedamount, "
            "reversedamount) VALUES (1, 1, 10, 2, 1, 0), (1, 2, 5, 0, 0, 1), (1, 8, 7, 0, 2, 0), (2, 2, 0.0000001, "
            "0, 0, 0), (2, 5, -1, 3, 0, 0), (3, 5, 3, 0, 0, 0), (3, 11, 2, 0, 0, 0), (3, 30, 4, 0, 0, 0), "
            "(4, 1, 1, 0, 0, 0), (5, 2, 1, 0, 0, 0), (6, 1, 2, 0, 0, 0)");
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, "
            "inwarehouseid, status, docreturn, partnerid) VALUES "
            "(1, '2024-01-10', 'K', '1', 1, 1, NULL, 'p', 'n', 1), (2, '2024-02-01', 'K', '2', 1, 1, NULL, 'p', "
            "'n', 2), (3, '2024-02-29', 'R', '3', -1, 2, NULL, 'p', 'n', NULL), (4, '2024-03-01', 'K', '4', 1, 1, "
            "NULL, 'p', 'n', 1), (5, '2024-02-10', 'I', '5', -1, 1, 2, 'p', 'n', NULL), (6, '2024-02-12', 'K', "
            "'6', 1, 1, NULL, 'x', 'n', 1), (7, '2024-02-15', 'K', '7', 1, 1, NULL, 'p', 'y', 2), (18, "
            "'2024-02-20', 'K', '18', 1, 1, NULL, 'p', 'n', 2), (19, '2024-02-20', 'G', '19', 1, 30, NULL, 'p', "
            "'n', NULL), (25, '2024-01-05', 'G', '25', 1, 30, NULL, 'p', 'n', NULL), (26, '2024-02-27', 'M', '26', "
            "-1, 5, NULL, 'p', 'n', NULL), (27, '2024-02-26', 'R', '27', -1, 11, NULL, 'p', 'n', NULL), (28, "
            "'2024-02-03', 'K', '28', 1, 99, NULL, 'p', 'n', 1), (29, '2024-02-05', 'W', '29', 1, 1, NULL, 'p', "
            "'n', 1), (30, '2024-03-01', 'K', '30', 1, 1, NULL, 'p', 'n', 2), (31, '2024-01-20', 'K', '31', 1, 5, "
            "NULL, 'p', 'n', 1), (32, '2024-01-25', 'R', '32', -1, 5, NULL, 'p', 'n', NULL), (33, '2024-02-14', "
            "'Z', '33', 1, 1, NULL, 'p', 'n', 1)");
        sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES "
            "(1, 1, 10), (2, 1, 5), (3, 1, 4), (4, 1, 3), (5, 1, 2), (6, 1, 100), (7, 1, -1), (18, 1, 6), "
            "(26, 1, 1), (27, 1, 1), (28, 1, 50), (30, 1, 1), (33, 1, 40),"
            "(1, 2, 0.1), (1, 2, 0.2), (3, 2, 0.3), (31, 2, 0.1), (31, 2, 0.2), (32, 2, 0.3),"
            "(29, 3, -2), (19, 3, 5), (25, 3, 4), (26, 3, 1.5),"
            "(2, 4, 1), (3, 5, 1), (33, 6, 3)");
        sql("INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity, debit, credit) "
            "VALUES (1, 1, 1, 10, 0, 1000, 0), (2, 1, 1, 5, 0, 550, 0), (3, 1, 2, 0, 4, 0, 420), (5, 1, 1, 0, 2, "
            "0, 200), (5, 1, 2, 2, 0, 200, 0), (4, 1, 1, 3, 0, 330, 0), (28, 1, 99, 50, 0, 5000, 0), (999, 1, 1, "
            "100, 0, 1, 0), (1, 2, 2, 0.1, 0, 1, 0), (1, 2, 2, 0.2, 0, 2, 0), (3, 2, 2, 0, 0.3, 0, 3), (25, 3, 30, "
            "4, 0, 40, 0), (19, 3, 30, 5, 0, 55, 0), (26, 3, 5, 0, 1.5, 0, 15), (2, 4, 1, 1, 0, 10, 0), (1, 5, 2, "
            "3, 0, 0.004, 0), (3, 5, 2, 0, 1, 0, 0.001)");
    }
    void SetUp() override { hostClock().setNow(QDateTime(QDate(2024, 3, 5), QTime(8, 0))); }
};

TEST_F(StockFastPathEdgeTest, EveryReportAgreesForEveryPeriodScopeModeAndNarrowing)
{
    compareTurnover({"2024-02-01", "2024-02-29", "", true});
    EXPECT_GE(m_rows, 6);
    compareTurnover({"2024-02-01", "2024-02-29", "", false});
    compareTurnover({"2024-02-29", "2024-02-29", "Radnja", true});
    compareTurnover({"2024-01-01", "2024-12-31", "Radnja Sever", false});
    compareTurnover({"2024-03-02", "2024-03-01", "", true});

    // Beta's 0.1 + 0.2 - 0.3 in Radnja Sever before February is no row of
    // five zeros; in Veleprodaja it came in before, in Radnja it left within.
    const auto turnover = tableOf(DefineTurnoverFields);
    FillTurnover(db(), *turnover, {"2024-02-01", "2024-02-29", "", true});
    QStringList betaRows;
    for (int row = 0; row < turnover->recordCount(); ++row)
        if (valueAt(*turnover, row, "productid").toInt() == 2)
            betaRows << valueAt(*turnover, row, "warehousename").toString() + "|" +
                            turnover->displayTextAt(row, turnover->fieldByName("amountnewbalance").index());
    expectSameTable(betaRows, {"Radnja|-0,3", "Veleprodaja|0,3"}, {"warehousename", "amountnewbalance"});

    for (const char* date : {"2024-01-09", "2024-02-29", "2024-03-01", "2024-12-31"}) {
        SCOPED_TRACE(date);
        for (qint32 scope : {1, 2, 5, 0, -1})
            compareQuantities(scope, date);
        for (qint32 warehouse : {1, 2, 30})
            compareStockPrice(warehouse, date);
    }
    // Delta's 3 in and 1 out in Radnja up to the end of February.
    compareQuantities(-1, "2024-02-29");
    EXPECT_EQ(m_rows, 3);

    for (TStockMode mode : {TStockMode::WholesaleOrRetail, TStockMode::Retail, TStockMode::Wholesale,
                            TStockMode::All}) {
        for (int active : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << int(mode) << " " << active);
            compareOverview({"", "", active, {}, mode, "2024-02-01", "2024-02-29"});
        }
    }
    compareOverview({"", "Al", 1, {}, TStockMode::WholesaleOrRetail, "2024-02-01", "2024-02-29"});
    EXPECT_EQ(m_rows, 1);

    // Of two supplies on the last day the later document names the supplier.
    const TStocksOverviewFilter filter{"", "", 0, {}, TStockMode::All, "2024-02-01", "2024-02-29"};
    const auto overview = tableOf(DefineStocksOverviewFields);
    FillStocksOverview(db(), *overview, filter, hostClock().now());
    ASSERT_TRUE(overview->locate("ProductID", 1));
    EXPECT_EQ(overview->fieldByName("lastsupplier").asString(), "Dobavljač B");
    EXPECT_EQ(overview->fieldByName("daysonstock").asString(), "4");

    // Names and codes the server orders by its collation: letter case and
    // accents alike, trailing spaces as none, a tab before the padding.
    sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type, active) VALUES "
        "(40, 'ab', 'k2', 'kom', 1, 'RSD', 'r', 'y'), (41, 'ab ', 'K1', 'kom', 1, 'RSD', 'r', 'y'), "
        "(42, CONCAT('ab', CHAR(9)), 'k0', 'kom', 1, 'RSD', 'r', 'y'), (43, 'AB', 'k1 ', 'kom', 1, 'RSD', 'r', 'y'), "
        "(44, 'Čaj', 'c', 'kom', 1, 'RSD', 'r', 'y'), (45, 'caj', 'C', 'kom', 1, 'RSD', 'r', 'y'), "
        "(46, 'Ćevap', NULL, 'kom', 1, 'RSD', 'r', 'y'), (47, 'cevap', '', 'kom', 1, 'RSD', 'r', 'y'), "
        "(48, '', 'z', 'kom', 1, 'RSD', 'r', 'y'), (49, 'ab', 'k2', 'kom', 1, 'RSD', 'r', 'y')");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) SELECT productid, 2, 1 FROM product WHERE "
        "productid BETWEEN 40 AND 49");
    compareOverview(filter);
    EXPECT_EQ(m_rows, 15);
}

TEST_F(StockFastPathEdgeTest, TextsSortAsTheServerSortsThemWithAndWithoutPadding)
{
    for (const char* collation : {"utf8mb4_unicode_ci", "utf8mb4_unicode_nopad_ci", "utf8mb4_bin"}) {
        SCOPED_TRACE(collation);
        sql("DROP TABLE IF EXISTS sortprobe");
        sql(QStringLiteral("CREATE TABLE sortprobe (id INT PRIMARY KEY, t VARCHAR(20) COLLATE %1 NULL)")
                .arg(QLatin1String(collation)));
        sql("INSERT INTO sortprobe VALUES (1, 'ab'), (2, 'ab '), (3, CONCAT('ab', CHAR(9))), (4, 'AB'), (5, 'Čaj'), "
            "(6, 'caj'), (7, NULL), (8, ''), (9, ' '), (10, 'abc'), (11, 'ab  '), (12, 'ć')");
        // Enough texts of long common beginnings, trailing spaces and equal
        // ones for the byte-by-byte sort to split them many times.
        sql("INSERT INTO sortprobe SELECT seq, CONCAT(ELT(1 + seq % 6, 'ab', 'Ab ', 'abc', 'Čaj ', 'caj', 'ć'), "
            "REPEAT(' ', seq % 3), IF(seq % 4 = 0, '', seq % 11)) FROM seq_13_to_400");
        // The server's order with each text's weight; the client sorts the
        // rows, reversed first, by the weights alone.
        QList<QPair<int, QVariant>> server;
        QSqlQuery ordered(db());
        ASSERT_TRUE(ordered.exec("SELECT id, WEIGHT_STRING(t) FROM sortprobe ORDER BY t, id"));
        while (ordered.next())
            server << qMakePair(ordered.value(0).toInt(), ordered.value(1));
        const TCollationOrder order(db(), "sortprobe", "t");
        QList<QPair<int, QVariant>> client(server.rbegin(), server.rend());
        std::sort(client.begin(), client.end(), [&](const auto& a, const auto& b) {
            const int c = order.compare(a.second, b.second);
            return c != 0 ? c < 0 : a.first < b.first;
        });
        EXPECT_EQ(client, server);
        // The same order from the byte-by-byte sort, equal texts by id.
        std::vector<qint32> rows;
        for (int i = 0; i < client.size(); ++i)
            rows.push_back(qint32(client.size() - 1 - i));
        QList<QByteArray> weights;
        for (const auto& row : client)
            weights << row.second.toByteArray();
        order.sort(
            rows,
            [&](qint32 r) {
                return client[r].second.isNull() ? TCollationOrder::Weight{}
                                                 : TCollationOrder::Weight{weights[r].constData(), size_t(weights[r].size())};
            },
            [&](qint32 a, qint32 b) { return client[a].first < client[b].first; });
        ASSERT_EQ(int(rows.size()), server.size());
        for (int i = 0; i < server.size(); ++i)
            ASSERT_EQ(client[rows[size_t(i)]].first, server[i].first) << "at place " << i;
    }
    sql("DROP TABLE sortprobe");
}

TEST_F(StockFastPathDemoTest, EveryReportAgreesWithTheProductByProductRulesAndTheStockRows)
{
    compareTurnover({"2025-01-01", "2025-06-30", "", true});
    EXPECT_GT(m_rows, 500);
    compareTurnover({"2025-06-30", "2025-06-30", "", false});

    compareOverview({"", "", 1, {}, TStockMode::WholesaleOrRetail, "2025-05-30", "2025-06-30"});
    EXPECT_GT(m_rows, 200); // read without narrowing to the listed products
    // All products, active or not, in every stock mode.
    const TStocksOverviewFilter filter{"", "", 0, {}, TStockMode::All, "2025-05-30", "2025-06-30"};
    compareOverview(filter);
    compareOverview({"", "A", 0, {}, TStockMode::All, "2025-05-30", "2025-06-30"});
    EXPECT_GT(m_rows, 0);

    for (qint32 scope : {0, -1, 1, 2})
        compareQuantities(scope, "2025-06-30");
    compareQuantities(0, "2025-03-15");
    for (qint32 warehouse : {1, 2, 3})
        compareStockPrice(warehouse, "2025-06-30");

    // The reports against the stock rows, which the demo shop keeps equal to
    // its documents.
    const auto turnover = tableOf(DefineTurnoverFields);
    FillTurnover(db(), *turnover, {"2025-01-01", "2025-06-30", "", false});
    QMap<QString, double> ends;
    for (int row = 0; row < turnover->recordCount(); ++row) {
        auto value = [&](const char* field) { return valueAt(*turnover, row, field).toDouble(); };
        EXPECT_NEAR(value("amountnewbalance"), value("amountprevbalance") + value("amountin") - value("amountout"), 1e-6);
        ends[valueAt(*turnover, row, "productid").toString() + ":" + valueAt(*turnover, row, "warehouseid").toString()] =
            value("amountnewbalance");
    }
    QSqlQuery stock(db());
    ASSERT_TRUE(stock.exec("SELECT CONCAT(productid, ':', warehouseid), amount FROM productwarehouse "
                           "WHERE ROUND(amount, 6) != 0"));
    int rows = 0;
    for (; stock.next(); ++rows)
        EXPECT_NEAR(ends.value(stock.value(0).toString(), 1e9), stock.value(1).toDouble(), 1e-6)
            << stock.value(0).toString().toStdString();
    EXPECT_GT(rows, 100);

    // Each product once, its stock columns holding its positive stock in the warehouses that have one.
    const auto overview = tableOf(DefineStocksOverviewFields);
    FillStocksOverview(db(), *overview, filter, hostClock().now());
    QSqlQuery sums(db());
    ASSERT_TRUE(sums.exec("SELECT SUM(IF(pw.amount > 0 AND pw.warehouseid IN (1,2,3,4,5,6,7,10,11,15,19,20,23), "
                          "pw.amount, 0)), COUNT(DISTINCT pw.productid) FROM productwarehouse AS pw JOIN product AS "
                          "p ON p.productid = pw.productid WHERE p.type != 'u'") && sums.next());
    EXPECT_EQ(overview->recordCount(), sums.value(1).toInt());
    double shown = 0;
    for (int row = 0; row < overview->recordCount(); ++row) {
        for (int i = 1; i <= 9; ++i)
            shown += valueAt(*overview, row, QStringLiteral("mp%1amount").arg(i).toLatin1().constData()).toDouble();
        shown += valueAt(*overview, row, "vp1amount").toDouble();
    }
    EXPECT_NEAR(shown, sums.value(0).toDouble(), 1e-6);
    EXPECT_GT(shown, 0);
}
