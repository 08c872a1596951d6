#include "MemoryTable.h"
#include "Inventoryallwarehousesunit.h"
#include "Turnoverallwarehousesunit.h"
#include "test_stockreports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;
using stocktest::column;

// "warehouse|product|previous|in|out|difference|end" per row.
QStringList turnoverRows(MemoryTable& table)
{
    return stocktest::rows(table, {"warehousename", "name", "amountprevbalance", "amountin", "amountout",
                                   "amountbalance", "amountnewbalance"});
}

// On the shop, whose documents all move Alfa unless said.
class AllWarehousesTest : public stocktest::ReportTest {
protected:
    AllWarehousesTest() : ReportTest(stocktest::kShopNow, 2) {}
    QStringList turnover(const TTurnoverRequest& request)
    {
        MemoryTable table;
        DefineTurnoverFields(table);
        table.createDataSet();
        FillTurnover(db(), table, request);
        return turnoverRows(table);
    }
    // From the day of the first documents of March to the last one counted.
    static inline const TTurnoverRequest kPeriod{"2024-03-05", "2024-03-08", "", true};
};

TEST_F(AllWarehousesTest, InventorySumsEveryWarehouseWithTheExclusionsAsTicked)
{
    stocktest::drive<TInventoryAllWarehousesForm>([] { OpenInventoryAllWarehouses(); }, [&](auto& form) {
        EXPECT_TRUE(form.ExcludeZeroAmountsCB()->isChecked());
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        QueryDataSet& list = *form.InventoryAllWarehousesZQ();
        // -2 and 2 stay a product with 0; a row of 0.0004 is no stock.
        EXPECT_EQ(stocktest::rows(list, {"name", "sumamount"}), QStringList({"Alfa|19.545", "Beta|0", "Epsilon|0.001"}));
        EXPECT_EQ(form.InventoryAllWarehousesDBG()->dataModel()->columnCount(), 4);
        EXPECT_EQ(form.InventoryAllWarehousesDBG()->model()->headerData(3, Qt::Horizontal).toString(), "Količina");

        form.ExcludeZeroAmountsCB()->setChecked(false);
        form.FindButton()->click();
        EXPECT_EQ(stocktest::rows(list, {"name", "sumamount"}),
                  QStringList({"Alfa|19.545", "Beta|0", "Delta|0.0004", "Epsilon|0.0014"}));
        // Services counted, the row without a product shows too (no name).
        form.ExcludeServicesCB()->setChecked(false);
        form.FindButtonClick();
        EXPECT_EQ(column(list, "name"), QStringList({"", "Alfa", "Beta", "Čišćenje", "Delta", "Epsilon"}));
        form.ExcludeZeroAmountsCB()->setChecked(true);
        form.FindButtonClick();
        EXPECT_EQ(column(list, "name"), QStringList({"", "Alfa", "Beta", "Čišćenje", "Epsilon"}));

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
    });
    console.expectPrint("Zalihe (količine iz svih magacina)", "Datum 2024-03-05");
}

TEST_F(AllWarehousesTest, TurnoverSplitsEachWarehouseIntoBeforeWithinAndEnd)
{
    // Before: in 10, out 12; within: in 8 and 1, out 3 and 5 (the first and
    // the last day count). The transfer is an issue in Centralni and a
    // receipt in Prodavnica. Epsilon is gone (nothing moved, nothing left).
    // A draft, a document of another kind, after the end or in an unknown
    // warehouse does not count.
    EXPECT_EQ(turnover(kPeriod), QStringList({"Centralni|Alfa|-2|9|8|1|-1", "Prodavnica|Alfa|0|5|0|5|5"}));

    // Services counted too: received on the first day of the period.
    TTurnoverRequest services = kPeriod;
    services.excludeServices = false;
    EXPECT_EQ(turnover(services).at(1), "Centralni|Čišćenje|0|1|0|1|1");

    // One warehouse: its own rows, opening balances from its own documents.
    TTurnoverRequest shop = kPeriod;
    shop.warehouseName = "Prodavnica";
    EXPECT_EQ(turnover(shop), QStringList({"Prodavnica|Alfa|0|5|0|5|5"}));
    shop.warehouseName = "Prodavnica' OR 'x'='x";
    EXPECT_TRUE(turnover(shop).isEmpty());

    // A period after every movement keeps only what is left at its start,
    // now with the receipt of 2024-03-09.
    EXPECT_EQ(turnover({"2024-03-10", "2024-03-31", "", true}),
              QStringList({"Centralni|Alfa|99|0|0|0|99", "Prodavnica|Alfa|5|0|0|0|5"}));
}

TEST_F(AllWarehousesTest, TurnoverWindowDefaultsStopWarehouseListPrintingAndProducts)
{
    stocktest::drive<TTurnoverAllWarehousesForm>([] { OpenTurnoverAllWarehouses(); }, [&](auto& form) {
        EXPECT_EQ(form.FromDateEdit()->text(), "2024-01-01");
        EXPECT_EQ(form.ToDateEdit()->text(), "2024-03-05");
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        // Nothing is counted before "&Prikaži"; no warehouse is chosen and
        // the list has no empty entry.
        EXPECT_TRUE(form.TurnoverAllWarehousesCDS()->isEmpty());
        QComboBox* warehouses = form.WarehouseCB();
        EXPECT_EQ(warehouses->currentIndex(), -1);
        EXPECT_EQ(warehouses->count(), 3);
        EXPECT_EQ(warehouses->itemText(0), "Apoteka");
        EXPECT_EQ(warehouses->maxVisibleItems(), 20);

        EXPECT_EQ(stocktest::pickDate(script, form.FromDateButton(), form.FromDateEdit(), QDate(2024, 3, 5)),
                  "2024-03-05");
        EXPECT_EQ(stocktest::pickDate(script, form.ToDateButton(), form.ToDateEdit(), QDate(2024, 3, 8)),
                  "2024-03-08");
        // Another session holds the documents: the count, off the window,
        // waits on the server until "Prekini" kills its statement. The next
        // count, services ticked off, shows the whole list.
        EXPECT_FALSE(form.CancelButton()->isVisible());
        expectPrekiniStops(form, form.FindButton(), form.PrintButton(), "document", "Dokumenti", script);
        EXPECT_TRUE(form.TurnoverAllWarehousesCDS()->isEmpty());
        QTest::mouseClick(form.ExcludeServicesCB(), Qt::LeftButton);
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        MemoryTable& rows = *form.TurnoverAllWarehousesCDS();
        TTurnoverRequest services = kPeriod;
        services.excludeServices = false;
        EXPECT_EQ(turnoverRows(rows), turnover(services));
        EXPECT_FALSE(form.CancelButton()->isVisible());
        EXPECT_EQ(headerTitles(form.TurnoverAllWarehousesDBG()),
                  QStringList({"Proizvod", "Kod", "JM", "Kol. pret. stanje", "Kol. ulaz", "Kol. izlaz", "Kol. razlika",
                               "Kol. stanje", "Magacin"}));

        doubleClickCell(form.TurnoverAllWarehousesDBG(), "name", 1);
        EXPECT_EQ(console.products().opened, (QList<QPair<qint32, qint32>>{{3, 2}}));

        warehouses->setCurrentIndex(warehouses->findText("Prodavnica"));
        form.FindButtonClick();
        EXPECT_EQ(column(rows, "warehousename"), QStringList({"Prodavnica"}));

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
    });
    console.expectPrint("Promet (količine iz svih magacina)", "Datum 2024-03-05");
}
