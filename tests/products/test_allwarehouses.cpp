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

class AllWarehousesTest : public stocktest::ReportTest {
protected:
    AllWarehousesTest() : ReportTest(QDateTime(QDate(2024, 3, 5), QTime(12, 0)), 2) {}
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Centar', 'primary'), (2, 'Jug', "
            "'standard'), (3, 'Arhiva', 'standard')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) VALUES "
            "(1, 'Alfa', 'A1', 'kom', 1, 'RSD', 'r'), (2, 'Beta', 'B1', 'kg', 1, 'RSD', 'r'),"
            "(3, 'Gama', 'G1', 'kom', 1, 'RSD', 'r'), (4, 'Usluga', 'U1', 'h', 1, 'RSD', 'u'),"
            "(5, 'Delta', 'D1', 'kom', 1, 'RSD', 'r')");
        // Alfa cancels out over two warehouses; Beta's 0.0004 counts as none.
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (1, 1, 5), (1, 2, -5), "
            "(2, 1, 3), (2, 2, 0.0004), (4, 1, 2), (3, 1, 0)");
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, "
            "inwarehouseid, status) VALUES "
            "(1, '2024-01-10', 'K', '1', 1, 1, NULL, 'p'), (2, '2024-01-20', 'R', '2', -1, 1, NULL, 'p'),"
            "(3, '2024-02-05', 'K', '3', 1, 1, NULL, 'p'), (4, '2024-02-29', 'R', '4', -1, 1, NULL, 'p'),"
            "(5, '2024-01-15', 'K', '5', 1, 2, NULL, 'p'), (6, '2024-02-10', 'I', '6', -1, 1, 2, 'p'),"
            "(7, '2024-02-12', 'K', '7', 1, 1, NULL, 'x'), (8, '2024-03-01', 'K', '8', 1, 1, NULL, 'p'),"
            "(9, '2024-02-01', 'K', '9', 1, 1, NULL, 'p'), (10, '2024-02-03', 'K', '10', 1, 99, NULL, 'p'),"
            "(11, '2024-02-03', 'Z', '11', 1, 1, NULL, 'p')");
        sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES "
            "(1, 1, 10), (2, 1, 4), (3, 1, 5), (4, 1, 2),"   // Alfa in Centar
            "(1, 2, 4), (2, 2, 4), (5, 2, 2),"               // Beta: 0 in Centar, 2 in Jug before the period
            "(6, 3, 3),"                                     // Gama moves from Centar to Jug
            "(7, 5, 100), (8, 5, 100), (10, 5, 100), (11, 5, 100),"  // none of these count
            "(9, 4, 1)");                                    // a service received on the first day
    }
    QStringList turnover(const TTurnoverRequest& request)
    {
        MemoryTable table;
        DefineTurnoverFields(table);
        table.createDataSet();
        FillTurnover(db(), table, request);
        return turnoverRows(table);
    }
    static TTurnoverRequest february()
    {
        TTurnoverRequest request;
        request.fromText = "2024-02-01";
        request.toText = "2024-02-29";
        return request;
    }
};

TEST_F(AllWarehousesTest, InventorySumsEveryWarehouseWithTheExclusionsAsTicked)
{
    stocktest::drive<TInventoryAllWarehousesForm>([] { OpenInventoryAllWarehouses(); }, [&](auto& form) {
        EXPECT_TRUE(form.ExcludeZeroAmountsCB()->isChecked());
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        QueryDataSet& list = *form.InventoryAllWarehousesZQ();
        // +5 and -5 stay a product with 0; a row of 0.0004 is no stock.
        EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Beta"}));
        EXPECT_EQ(column(list, "sumamount"), QStringList({"0", "3"}));
        EXPECT_EQ(form.InventoryAllWarehousesDBG()->dataModel()->columnCount(), 4);
        EXPECT_EQ(form.InventoryAllWarehousesDBG()->model()->headerData(3, Qt::Horizontal).toString(), "Količina");

        form.ExcludeZeroAmountsCB()->setChecked(false);
        form.FindButton()->click();
        EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Beta", "Gama"}));
        EXPECT_EQ(column(list, "sumamount"), QStringList({"0", "3.0004", "0"}));
        form.ExcludeServicesCB()->setChecked(false);
        form.FindButtonClick();
        EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Beta", "Gama", "Usluga"}));
        form.ExcludeZeroAmountsCB()->setChecked(true);
        form.FindButtonClick();
        EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Beta", "Usluga"}));

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
    });
    console.expectPrint("Zalihe (količine iz svih magacina)", "Datum 2024-03-05");
}

TEST_F(AllWarehousesTest, TurnoverSplitsEachWarehouseIntoBeforeWithinAndEnd)
{
    // Before: in 10, out 4; within: in 5, out 2 (the last day counts).
    // Beta is gone from Centar (nothing moved, nothing left) but stays in Jug.
    // The transfer is an issue in Centar and a receipt in Jug. A document of
    // another status, another kind, after the end or in an unknown
    // warehouse does not count.
    EXPECT_EQ(turnover(february()), QStringList({"Centar|Alfa|6|5|2|3|9", "Centar|Gama|0|0|3|-3|-3",
                                                 "Jug|Beta|2|0|0|0|2", "Jug|Gama|0|3|0|3|3"}));

    // Services counted too: received on the first day of the period.
    TTurnoverRequest services = february();
    services.excludeServices = false;
    EXPECT_EQ(turnover(services).at(2), "Centar|Usluga|0|1|0|1|1");

    // One warehouse: its own rows, opening balances from its own documents.
    TTurnoverRequest south = february();
    south.warehouseName = "Jug";
    EXPECT_EQ(turnover(south), QStringList({"Jug|Beta|2|0|0|0|2", "Jug|Gama|0|3|0|3|3"}));
    south.warehouseName = "Jug' OR 'x'='x";
    EXPECT_TRUE(turnover(south).isEmpty());

    // A period after every movement keeps only what is left at its start,
    // now with the receipt of 2024-03-01.
    TTurnoverRequest march;
    march.fromText = "2024-03-02";
    march.toText = "2024-03-31";
    EXPECT_EQ(turnover(march), QStringList({"Centar|Alfa|9|0|0|0|9", "Centar|Delta|100|0|0|0|100",
                                            "Centar|Gama|-3|0|0|0|-3", "Jug|Beta|2|0|0|0|2",
                                            "Jug|Gama|3|0|0|0|3"}));
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
        EXPECT_EQ(warehouses->itemText(0), "Arhiva");
        EXPECT_EQ(warehouses->maxVisibleItems(), 20);

        EXPECT_EQ(stocktest::pickDate(script, form.FromDateButton(), form.FromDateEdit(), QDate(2024, 2, 1)),
                  "2024-02-01");
        EXPECT_EQ(stocktest::pickDate(script, form.ToDateButton(), form.ToDateEdit(), QDate(2024, 2, 29)),
                  "2024-02-29");
        // Another session holds the documents: the count, off the window,
        // waits on the server until "Prekini" kills its statement. The next
        // count shows the whole list.
        EXPECT_FALSE(form.CancelButton()->isVisible());
        expectPrekiniStops(form, form.FindButton(), form.PrintButton(), "document", "Dokumenti", script);
        EXPECT_TRUE(form.TurnoverAllWarehousesCDS()->isEmpty());
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        MemoryTable& rows = *form.TurnoverAllWarehousesCDS();
        EXPECT_EQ(turnoverRows(rows), turnover(february()));
        EXPECT_FALSE(form.CancelButton()->isVisible());
        EXPECT_EQ(headerTitles(form.TurnoverAllWarehousesDBG()),
                  QStringList({"Proizvod", "Kod", "JM", "Kol. pret. stanje", "Kol. ulaz", "Kol. izlaz", "Kol. razlika",
                               "Kol. stanje", "Magacin"}));

        doubleClickCell(form.TurnoverAllWarehousesDBG(), "name", 1);
        EXPECT_EQ(console.products().opened, (QList<QPair<qint32, qint32>>{{3, 2}}));

        warehouses->setCurrentIndex(warehouses->findText("Jug"));
        form.FindButtonClick();
        EXPECT_EQ(column(rows, "warehousename"), QStringList({"Jug", "Jug"}));

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
    });
    console.expectPrint("Promet (količine iz svih magacina)", "Datum 2024-03-05");
}
