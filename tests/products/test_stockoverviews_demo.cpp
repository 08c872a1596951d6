#include "Clock.h"
#include "DemoData.h"
#include "MemoryTable.h"
#include "ProductDMFixture.h"
#include "QueryDataSet.h"
#include "Stocksoverviewdata.h"
#include "Turnoverallwarehousesunit.h"

#include <QElapsedTimer>
#include <QMap>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <cstdio>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

// The reports over the demo shop, whose stock rows agree with its documents.
class StockOverviewsDemoTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        QSqlDatabase d = db();
        generateDemoData(d, DemoScale::tiny(), 11, kLastDay);
    }
    void SetUp() override { hostClock().setNow(QDateTime(kLastDay, QTime(18, 0))); }
    void TearDown() override { hostClock().reset(); }

    // productid:warehouseid -> amount, of the non-zero stock rows.
    static QMap<QString, double> stockRows(const QString& where)
    {
        QMap<QString, double> rows;
        QSqlQuery query(db());
        query.exec("SELECT productid, warehouseid, amount FROM productwarehouse " + where);
        while (query.next())
            rows[query.value(0).toString() + ":" + query.value(1).toString()] = query.value(2).toDouble();
        return rows;
    }

    static inline const QDate kLastDay = QDate(2025, 6, 30);
};

TEST_F(StockOverviewsDemoTest, TurnoverEndsWhereTheStockRowsStand)
{
    MemoryTable table;
    DefineTurnoverFields(table);
    table.createDataSet();
    TTurnoverRequest request;
    request.fromText = "2025-01-01";
    request.toText = "2025-06-30";
    request.excludeServices = false;
    QElapsedTimer timer;
    timer.start();
    FillTurnover(db(), table, request);
    std::printf("turnover of %d rows: %lld ms\n", table.recordCount(), qint64(timer.elapsed()));

    ASSERT_GT(table.recordCount(), 10);
    QMap<QString, double> ends;
    for (int row = 0; row < table.recordCount(); ++row) {
        auto value = [&](const char* field) { return table.valueAt(row, table.fieldByName(field).index()); };
        const double previous = value("amountprevbalance").toDouble();
        EXPECT_NEAR(value("amountnewbalance").toDouble(),
                    previous + value("amountin").toDouble() - value("amountout").toDouble(), 1e-6);
        ends[value("productid").toString() + ":" + value("warehouseid").toString()] =
            value("amountnewbalance").toDouble();
    }
    // Every stock row that holds something ends the period with its amount.
    const QMap<QString, double> stock = stockRows("WHERE ROUND(amount,6) != 0");
    ASSERT_FALSE(stock.isEmpty());
    for (auto it = stock.begin(); it != stock.end(); ++it) {
        ASSERT_TRUE(ends.contains(it.key())) << it.key().toStdString();
        EXPECT_NEAR(ends[it.key()], it.value(), 1e-6) << it.key().toStdString();
    }
}

TEST_F(StockOverviewsDemoTest, OverviewCountsEveryPositiveStockRowOnce)
{
    MemoryTable table;
    DefineStocksOverviewFields(table);
    table.createDataSet();
    TStocksOverviewFilter filter;
    filter.active = 0;
    filter.stockMode = TStockMode::All;
    filter.fromText = "2025-05-30";
    filter.toText = "2025-06-30";
    QElapsedTimer timer;
    timer.start();
    FillStocksOverview(db(), table, filter, hostClock().now());
    std::printf("stocks overview of %d products: %lld ms\n", table.recordCount(), qint64(timer.elapsed()));

    // Each product once, and its stock columns hold its positive stock in
    // the warehouses that have a column.
    QSqlQuery sums(db());
    ASSERT_TRUE(sums.exec("SELECT SUM(IF(pw.amount > 0 AND pw.warehouseid IN (1,2,3,4,5,6,7,10,11,15,19,20,23), "
                          "pw.amount, 0)), COUNT(DISTINCT pw.productid) FROM productwarehouse AS pw JOIN product AS "
                          "p ON p.productid = pw.productid WHERE p.type != 'u'"));
    ASSERT_TRUE(sums.next());
    ASSERT_GT(sums.value(0).toDouble(), 0);
    EXPECT_EQ(table.recordCount(), sums.value(1).toInt());
    double shown = 0;
    QStringList stockColumns;
    for (int i = 1; i <= 9; ++i)
        stockColumns << QStringLiteral("mp%1amount").arg(i);
    stockColumns << "vp1amount";
    for (int row = 0; row < table.recordCount(); ++row)
        for (const QString& field : stockColumns)
            shown += table.valueAt(row, table.fieldByName(field).index()).toDouble();
    EXPECT_NEAR(shown, sums.value(0).toDouble(), 1e-6);
}
