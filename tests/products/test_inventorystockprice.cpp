#include "Inventorystockpriceunit.h"
#include "MemoryTable.h"
#include "test_stockreports.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;
using stocktest::column;

// Stock cards of warehouse 1 up to 2024-03-05: Alfa 10 in at 12000 and 4 out
// at 4800 (and, not counting, 50 in warehouse 2 and 100 on 2024-03-06);
// Beta 3 in at 10; Gama 0.0000001 in although its stock row says 8; Delta 2
// out at 30; the service Usluga 1 in at 7; Omega has a stock row only.
class InventoryStockPriceTest : public stocktest::ReportTest {
protected:
    InventoryStockPriceTest() : ReportTest(QDateTime(QDate(2024, 3, 5), QTime(12, 0))) {}
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Centralni', 'primary'), "
            "(2, 'Prodavnica', 'standard')");
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) VALUES "
            "(1, 'Alfa', 'A1', 'kom', 1, 'RSD', 'r'), (2, 'Beta', 'B1', 'kg', 1, 'RSD', 'r'),"
            "(3, 'Gama', 'G1', 'l', 1, 'RSD', 'r'), (4, 'Delta', 'D1', 'kom', 1, 'RSD', 'r'),"
            "(5, 'Usluga', 'U1', 'h', 1, 'RSD', 'u'), (6, 'Omega', 'O1', 'kom', 1, 'RSD', 'r')");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (1, 1, 6, 1), (2, 1, 3, 1),"
            "(3, 1, 8, 1), (4, 1, 0, 1), (5, 1, 0, 1), (6, 1, 4, 1), (1, 2, 50, 1)");
        sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid) VALUES "
            "(1, '2024-03-01', 'K', '1', 1, 1), (2, '2024-03-05', 'R', '2', -1, 1), (3, '2024-03-06', 'K', '3', 1, 1)");
        sql("INSERT INTO docfinitem (documentid, productid, warehouseid, inquantity, outquantity, debit, credit) "
            "VALUES (1, 1, 1, 10, 0, 12000, 0), (2, 1, 1, 0, 4, 0, 4800), (1, 1, 2, 50, 0, 999, 0),"
            "(3, 1, 1, 100, 0, 5000, 0), (1, 2, 1, 3, 0, 10, 0), (1, 3, 1, 0.0000001, 0, 5, 0),"
            "(2, 4, 1, 0, 2, 0, 30), (1, 5, 1, 1, 0, 7, 0)");
    }
};

// The cards value each product from its own warehouse up to the date; the
// window values the list only on "&Prikaži".
TEST_F(InventoryStockPriceTest, ValuedFromTheOwnCardUpToTheDateOnShowSortedByTitleAndStopped)
{
    const TStockPrice alfa = CalculatePrice(db(), 1, 1, "2024-03-05");
    EXPECT_EQ(QList<double>({alfa.amount, alfa.price, alfa.value}), QList<double>({6, 1200, 7200}));
    // The entry dated on the day counts, the one of the next day does not;
    // a date text with a quote stays one literal.
    EXPECT_EQ(CalculatePrice(db(), 1, 1, "2024-03-04").amount, 10);
    EXPECT_EQ(CalculatePrice(db(), 2, 1, "2024-03-05").value, 999);
    EXPECT_EQ(CalculatePrice(db(), 1, 1, "x' OR 'a'='a").amount, 0);

    stocktest::drive<TInventoryStockPriceForm>([] { OpenInventoryStockPrice(1, "Centralni"); }, [&](auto& form) {
        EXPECT_EQ(form.ToDateEdit()->text(), "2024-03-05");
        EXPECT_EQ(form.InventoryZQ()->recordCount(), 6);
        EXPECT_EQ(form.InventoryStockPriceCDS()->recordCount(), 0);
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 0.00");
        EXPECT_TRUE(form.TotalLabel()->font().bold());

        form.show();
        QTest::keyClick(&form, Qt::Key_Return); // "&Prikaži" is the default button
        MemoryTable& table = *form.InventoryStockPriceCDS();
        // Services are valued and -2 is listed; Gama's 0.0000001 is nothing,
        // whatever its value; 10 for 3 units is 3.33 a unit but still worth 10.
        EXPECT_EQ(stocktest::rows(table, {"name", "amount", "price", "productvalue"}),
                  QStringList({"Alfa|6|1,200.00|7,200.00", "Beta|3|3.33|10.00", "Delta|-2|15.00|-30.00",
                               "Usluga|1|7.00|7.00"}));
        EXPECT_EQ(table.recNo(), 1);
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 7,187.00");
        DBGrid* grid = form.InventoryStockPriceDBG();
        EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Vrednost");
        EXPECT_EQ(grid->visibleColumns(), QStringList({"name", "code", "unitname", "amount", "price", "productvalue"}));

        stocktest::clickTitle(grid, "price");
        EXPECT_EQ(column(table, "name"), QStringList({"Beta", "Usluga", "Delta", "Alfa"}));
        stocktest::clickTitle(grid, "price");
        EXPECT_EQ(column(table, "name"), QStringList({"Alfa", "Delta", "Usluga", "Beta"}));

        // Another session holds the stock cards: the reading waits on the
        // server. After "Prekini" the list of 5 March stays as it was.
        form.ToDateEdit()->setText("2024-03-06");
        expectPrekiniStops(form, form.FindButton(), form.PrintButton(), "docfinitem", "Robne kartice", script);
        EXPECT_EQ(column(table, "amount"), QStringList({"6", "-2", "1", "3"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 7,187.00");
        // The window is usable; a refill keeps the order chosen.
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_EQ(table.indexName(), "priceD");
        EXPECT_EQ(column(table, "amount"), QStringList({"106", "-2", "1", "3"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 12,187.00");

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        EXPECT_TRUE(script.messages().isEmpty());
    });
    console.expectPrint("Zalihe magacina (cene sa robnih kartica) - Centralni", "Datum 2024-03-06");
}
