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

// On the shop's stock cards of Centralni up to 2024-03-05: Alfa 18 in at
// 1880 and 15 out at 1530 (and, not counting, the transfer of 2024-03-06 of
// 5 at 550 into Prodavnica); Beta's card leaves 0.0000001 though its stock
// row says -2; the service 6 in at 20; Delta 2 out at 30; Epsilon has a
// stock row only.
class InventoryStockPriceTest : public stocktest::ReportTest {};

TEST_F(InventoryStockPriceTest, ValuedFromTheOwnCardUpToTheDateOnShowSortedByTitleAndStopped)
{
    const TStockPrice alfa = CalculatePrice(db(), 1, 1, "2024-03-06");
    EXPECT_EQ(QList<double>({alfa.amount, alfa.price, alfa.value}), QList<double>({-2, 100, -200}));
    // The entries dated on the day count, those of the next day do not; a
    // date text with a quote stays one literal.
    EXPECT_EQ(CalculatePrice(db(), 1, 1, "2024-03-05").amount, 3);
    EXPECT_EQ(CalculatePrice(db(), 1, 1, "2024-03-04").amount, -2);
    EXPECT_EQ(CalculatePrice(db(), 2, 1, "2024-03-06").value, 550);
    EXPECT_EQ(CalculatePrice(db(), 2, 1, "2024-03-05").amount, 0);
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
        // Services are valued and -2 is listed; Beta's 0.0000001 is nothing,
        // whatever its value; 20 for 6 units is 3.33 a unit but still worth 20.
        EXPECT_EQ(stocktest::rows(table, {"name", "amount", "price", "productvalue"}),
                  QStringList({"Alfa|3|116.67|350.00", "Čišćenje|6|3.33|20.00", "Delta|-2|15.00|-30.00"}));
        EXPECT_EQ(table.recNo(), 1);
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 340.00");
        DBGrid* grid = form.InventoryStockPriceDBG();
        EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Vrednost");
        EXPECT_EQ(grid->visibleColumns(), QStringList({"name", "code", "unitname", "amount", "price", "productvalue"}));

        stocktest::clickTitle(grid, "price");
        EXPECT_EQ(column(table, "name"), QStringList({"Čišćenje", "Delta", "Alfa"}));
        stocktest::clickTitle(grid, "price");
        EXPECT_EQ(column(table, "name"), QStringList({"Alfa", "Delta", "Čišćenje"}));

        // Another session holds the stock cards: the reading waits on the
        // server. After "Prekini" the list of 5 March stays as it was.
        form.ToDateEdit()->setText("2024-03-06");
        expectPrekiniStops(form, form.FindButton(), form.PrintButton(), "docfinitem", "Robne kartice", script);
        EXPECT_EQ(column(table, "amount"), QStringList({"3", "-2", "6"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 340.00");
        // The window is usable; a refill keeps the order chosen.
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_EQ(table.indexName(), "priceD");
        EXPECT_EQ(column(table, "amount"), QStringList({"-2", "-2", "6"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: -210.00");

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        EXPECT_TRUE(script.messages().isEmpty());
    });
    console.expectPrint("Zalihe magacina (cene sa robnih kartica) - Centralni", "Datum 2024-03-06");
}
