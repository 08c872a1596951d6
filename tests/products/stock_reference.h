#pragma once
// The stock reports computed product by product (or row by row), with the
// statements of the reports' rules taken literally: the reference the
// set-based reports of the module must agree with.

#include "Clock.h"
#include "DemoData.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "MemoryTable.h"
#include "ProductDMFixture.h"
#include "Stocksoverviewdata.h"
#include "Turnoverallwarehousesunit.h"

namespace products::reference {

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request);
void FillStocksOverview(tarvex::QueryDataSet& query, tarvex::MemoryTable& table,
                        const TStocksOverviewFilter& filter, const QDateTime& now);
void FillInventoryQuantities(QSqlDatabase db, const TQuantityScope& scope, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const QString& date);
double FillInventoryStockPrice(QSqlDatabase db, qint32 warehouseId, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const QString& date);

// Expects the same rows with the same values (numbers within 1e-9). With
// key fields the rows are matched by them, and the two tables' sequences of
// order fields must agree; without, row i meets row i.
void ExpectSameRows(tarvex::MemoryTable& fast, tarvex::MemoryTable& reference, const QStringList& keyFields = {},
                    const QStringList& orderFields = {});

} // namespace products::reference

// What the fast-path tests and the exact prices share: a report's table, each
// report filled both ways, and the demo shop made once for all tests on it.
namespace stockfast {

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

// An empty table of a report's fields.
template <typename Define>
std::unique_ptr<MemoryTable> tableOf(Define define)
{
    auto table = std::make_unique<MemoryTable>();
    define(*table);
    table->createDataSet();
    return table;
}

inline QVariant valueAt(MemoryTable& table, int row, const char* field)
{
    return table.valueAt(row, table.fieldByName(field).index());
}

class StockFastPathTest : public ProductDMTest {
protected:
    void TearDown() override { hostClock().reset(); }

    // The report filled by `fill` the module's way (first table) and the
    // reference's way (second): the same rows; m_rows counts them.
    template <typename Define, typename Fill>
    void agree(Define define, Fill fill, const QStringList& keys = {}, const QStringList& order = {})
    {
        const auto fast = tableOf(define);
        const auto slow = tableOf(define);
        fill(*fast, *slow);
        reference::ExpectSameRows(*fast, *slow, keys, order);
        m_rows = fast->recordCount();
    }
    void compareTurnover(const TTurnoverRequest& request)
    {
        const auto fill = [&](MemoryTable& fast, MemoryTable& slow) {
            FillTurnover(db(), fast, request);
            reference::FillTurnover(db(), slow, request);
        };
        agree(DefineTurnoverFields, fill, {"warehouseid", "productid"}, {"warehousename", "name"});
    }
    void compareOverview(const TStocksOverviewFilter& filter)
    {
        agree(DefineStocksOverviewFields, [&](MemoryTable& fast, MemoryTable& slow) {
            QueryDataSet query(&connection(), QString());
            FillStocksOverview(db(), fast, filter, hostClock().now());
            reference::FillStocksOverview(query, slow, filter, hostClock().now());
        });
    }
    void compareQuantities(qint32 warehouseId, const QString& date)
    {
        agree(DefineInventoryQuantityFields, [&](MemoryTable& fast, MemoryTable& slow) {
            const TQuantityScope scope = QuantityScope(db(), warehouseId);
            QueryDataSet products(&connection(), QString());
            SetInventoryQuantityList(products, scope);
            products.open();
            FillInventoryQuantities(db(), scope, products, fast, date);
            reference::FillInventoryQuantities(db(), scope, products, slow, date);
        });
    }
    void compareStockPrice(qint32 warehouseId, const QString& date)
    {
        agree(DefineInventoryStockPriceFields, [&](MemoryTable& fast, MemoryTable& slow) {
            QueryDataSet products(&connection(), kStockPriceProductsSql);
            products.setParam(QStringLiteral("IDWarehouse"), warehouseId);
            products.open();
            EXPECT_NEAR(FillInventoryStockPrice(db(), warehouseId, products, fast, date),
                        reference::FillInventoryStockPrice(db(), warehouseId, products, slow, date), 1e-6);
        });
    }

    int m_rows = 0;
};

// The small demo shop: 500 products, 25 warehouses, 20 000 document lines
// up to 30 June 2025. The reports and the exact prices are held on it.
class StockFastPathDemoTest : public StockFastPathTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        QSqlDatabase d = db();
        generateDemoData(d, DemoScale::small(), 7, kLastDay);
    }
    void SetUp() override { hostClock().setNow(QDateTime(kLastDay, QTime(18, 0))); }
    static inline const QDate kLastDay = QDate(2025, 6, 30);
};

} // namespace stockfast
