#include "Inventoryallwarehousesunit.h"
#include "Inventoryattributeunit.h"
#include "Inventoryunit.h"
#include "Turnoverallwarehousesunit.h"
#include "Warehouseunit.h"
#include "test_stockreports.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWheelEvent>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;
using stocktest::column;

// "warehouse|product|previous|in|out|difference|end" per row.
const QStringList kTurnoverFields = {"warehousename", "name", "amountprevbalance", "amountin", "amountout",
                                     "amountbalance", "amountnewbalance"};

// On the shop, whose documents all move Alfa unless said.
class InventoryTest : public stocktest::ReportTest {
protected:
    InventoryTest() : ReportTest(stocktest::kShopNow, 2) {}
    QStringList turnover(const TTurnoverRequest& request)
    {
        const auto table = stocktest::tableOf(DefineTurnoverFields);
        FillTurnover(db(), *table, request);
        return stocktest::rows(*table, kTurnoverFields);
    }
    // From the day of the first documents of March to the last one counted.
    static inline const TTurnoverRequest kPeriod{"2024-03-05", "2024-03-08", "", true};
    // The same period, services counted too.
    static inline const TTurnoverRequest kWithServices{"2024-03-05", "2024-03-08", "", false};

    void expectTurnover(const TTurnoverRequest& request, const QStringList& expected)
    {
        test::expectSameTable(turnover(request), expected, kTurnoverFields);
    }

    // Opens the warehouse window on the named warehouse (all warehouses
    // listed), runs `press` in it and gives each window it opened: its
    // caption, then a stock list's quantities.
    static QList<QStringList> opened(const QString& current, const std::function<void(TWarehouseForm&)>& press)
    {
        QList<QStringList> captions;
        ScopedModalHandler handler([&](QDialog& dialog) {
            if (auto* form = dynamic_cast<TWarehouseForm*>(&dialog)) {
                QTest::mouseClick(form->findChild<QCheckBox*>(), Qt::LeftButton);
                EXPECT_TRUE(dm().WarehouseZQ->locate("name", current));
                press(*form);
                form->CloseButton()->click();
                return form->result();
            }
            auto* list = dynamic_cast<TInventoryWindow*>(&dialog);
            captions << (QStringList{dialog.windowTitle()} +
                         (list && list->ZQ()->findField("amount") ? column(*list->ZQ(), "amount") : QStringList()));
            dialog.reject();
            return int(QDialog::Rejected);
        });
        WarehouseManage();
        return captions;
    }
};

TEST_F(InventoryTest, OpeningListsTheWarehouseWithBothExclusionsTotalsPrintAndProducts)
{
    QTableView other;
    stocktest::drive<TInventoryForm>([] { OpenWarehouseInventory(1, "Centralni"); }, [&](auto& form) {
        EXPECT_TRUE(form.ExcludeZeroAmountsCB()->isChecked());
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        QueryDataSet& list = *form.InventoryZQ();
        // -2 at 10 is worth -20; 0.001 is no zero at three decimals.
        stocktest::expectRows(list, {"name", "amount", "pricevat", "ProductValue"},
                              {"Alfa|12,545|120,00|1.254,50", "Beta|-2|12,00|-20,00", "Epsilon|0,001|0,00|0,00"});
        EXPECT_EQ(list.recNo(), 1);
        // Thousands and two decimals; a negative value lowers the total.
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 1.234,50  Ukupna vrednost sa PDV-om: 1.481,40");
        EXPECT_EQ(InventoryTotalText({-20, 0}), "Ukupna vrednost: -20,00  Ukupna vrednost sa PDV-om: 0,00");

        // Printing lends the grid to the console and gives its own back; a
        // double-click opens the product in the default warehouse; the mouse
        // wheel steps the grid one row.
        console->SetActiveGrid(&other);
        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
        console.expectPrint("Zalihe magacina (magacinske cene) - Centralni", "Datum 05.03.2024", form.InventoryDBG());
        EXPECT_EQ(console->GetActiveGrid(), &other);
        doubleClickCell(form.InventoryDBG(), "name", 1);
        EXPECT_EQ(console.products().opened, (QList<QPair<qint32, qint32>>{{2, 2}}));
        form.InventoryDBG()->setFocus();
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.InventoryDBG()->viewport(), &wheel);
        EXPECT_EQ(list.recNo(), 3);

        // Both boxes cleared: every stock row of the warehouse, the row
        // without a product first (no name).
        form.ExcludeZeroAmountsCB()->setChecked(false);
        form.ExcludeServicesCB()->setChecked(false);
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_ROWS(column(list, "name"), QStringList({"", "Alfa", "Beta", "Čišćenje", "Delta", "Epsilon"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 1.287,52  Ukupna vrednost sa PDV-om: 1.541,42");

        // Services only excluded: the row without a product goes too.
        form.ExcludeServicesCB()->setChecked(true);
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_ROWS(column(list, "name"), QStringList({"Alfa", "Beta", "Delta", "Epsilon"}));

        // Without a product module the user is told so.
        altertest::TestConsole without(false, true);
        doubleClickCell(form.InventoryDBG(), "name", 1);
        EXPECT_ROWS(script.messages(), QStringList({CMN_NO_MODULE.arg(CMN_MOD_PRODUCT_NAME)}));
    });
}

TEST_F(InventoryTest, AttributeListShowsVariantsWithEmptyMissingAttributes)
{
    TInventoryAttributeForm form(1, "Centralni");
    form.OpenList();
    QueryDataSet& list = *form.InventoryAttributeZQ();
    stocktest::expectRows(list, {"attvalue1", "attname2", "prodattbarcode", "amount"},
                          {"Crvena|Veličina|2000002|1,5", "Plava||2000001|4"});
    EXPECT_TRUE(list.valueAt(1, list.fieldByName("attvalue2").index()).isNull());

    form.ExcludeZeroAmountsCB()->setChecked(false);
    form.ExcludeServicesCB()->setChecked(false);
    QTest::mouseClick(form.FindButton(), Qt::LeftButton);
    EXPECT_ROWS(column(list, "name"), QStringList({"Alfa", "Alfa", "Beta", "Čišćenje"}));
    // No double-click action here.
    doubleClickCell(form.InventoryAttributeDBG(), "name", 0);
    EXPECT_TRUE(console.products().opened.isEmpty());
}

TEST_F(InventoryTest, WarehouseWindowButtonsOpenTheReportsOfTheCurrentWarehouse)
{
    EXPECT_ROWS(opened("Prodavnica",
                       [](TWarehouseForm& f) {
                           // The attribute list's button shows only with attribute stock.
                           EXPECT_FALSE(f.InventoryAttributeButton()->isVisibleTo(&f));
                           QTest::mouseClick(f.InventoryWarePriceButton(), Qt::LeftButton);
                           QTest::mouseClick(f.InventoryStockPriceButton(), Qt::LeftButton);
                           QTest::mouseClick(f.TurnoverAllWareButton(), Qt::LeftButton);
                           EXPECT_FALSE(f.StocksOverviewButton()->isHidden());
                           QTest::mouseClick(f.StocksOverviewButton(), Qt::LeftButton);
                       }),
                (QList<QStringList>{{"Zalihe magacina (magacinske cene) - Prodavnica", "7", "2"},
                                    {"Zalihe magacina (cene sa robnih kartica) - Prodavnica"},
                                    {"Promet (količine iz svih magacina)"}, {"Stanje zaliha"}}));
    // The current inventory of all warehouses, then the stock cards of all, of the retail ones and of this one.
    EXPECT_ROWS(opened("Prodavnica",
                       [](TWarehouseForm& f) {
                           for (QAction* entry : f.QuantitiesMenu()->actions())
                               entry->trigger();
                       }),
                (QList<QStringList>{{"Zalihe (količine iz svih magacina)"}, {"Zalihe (količine sa robnih kartica)"},
                                    {"Zalihe (količine sa robnih kartica)"},
                                    {"Zalihe (količine sa robnih kartica) - Prodavnica"}}));

    // Kept to its own warehouse, the workstation opens no other warehouse's
    // lists nor book; the turnover of all of them still opens.
    dm().Options.OnlyLocalDefaultWarehouseProds = true;
    dm().Options.DefWarehouseName = "Centralni";
    EXPECT_ROWS(opened("Prodavnica",
                       [](TWarehouseForm& f) {
                           for (QPushButton* report : {f.InventoryWarePriceButton(), f.InventoryStockPriceButton(),
                                                       f.KepuWizardButton(), f.TurnoverAllWareButton()})
                               QTest::mouseClick(report, Qt::LeftButton);
                       }),
                (QList<QStringList>{{"Promet (količine iz svih magacina)"}}));
    EXPECT_TRUE(console.wizards.isEmpty());
    EXPECT_ROWS(opened("Centralni",
                       [](TWarehouseForm& f) {
                           QTest::mouseClick(f.InventoryWarePriceButton(), Qt::LeftButton);
                           QTest::mouseClick(f.KepuWizardButton(), Qt::LeftButton);
                       }),
                (QList<QStringList>{{"Zalihe magacina (magacinske cene) - Centralni", "12,545", "-2", "0,001"}}));
    ASSERT_EQ(console.wizards.size(), 1);
    EXPECT_EQ(console.wizards[0].name, "Knjiga evidencije prometa");
    EXPECT_EQ(console.wizards[0].parameters, "warehouse:Centralni");

    dm().Options = TProductOptions();
    dm().Options.AttributeStock = true;
    EXPECT_ROWS(opened("Centralni",
                       [](TWarehouseForm& f) {
                           EXPECT_TRUE(f.InventoryAttributeButton()->isVisibleTo(&f));
                           QTest::mouseClick(f.InventoryAttributeButton(), Qt::LeftButton);
                       }),
                (QList<QStringList>{{"Zalihe magacina (atributi) - Centralni", "1,5", "4"}}));
}

TEST_F(InventoryTest, InventorySumsEveryWarehouseWithTheExclusionsAsTicked)
{
    stocktest::drive<TInventoryAllWarehousesForm>([] { OpenInventoryAllWarehouses(); }, [&](auto& form) {
        EXPECT_TRUE(form.ExcludeZeroAmountsCB()->isChecked());
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        QueryDataSet& list = *form.InventoryAllWarehousesZQ();
        // -2 and 2 stay a product with 0; a row of 0.0004 is no stock. Then
        // zeros counted; services and the row without a product (no name)
        // too; then zeros left out again.
        const std::tuple<QCheckBox*, bool, QStringList> steps[] = {
            {nullptr, true, {"Alfa|19,545", "Beta|0", "Epsilon|0,001"}},
            {form.ExcludeZeroAmountsCB(), false, {"Alfa|19,545", "Beta|0", "Delta|0", "Epsilon|0,001"}},
            {form.ExcludeServicesCB(), false, {"|3", "Alfa|19,545", "Beta|0", "Čišćenje|5", "Delta|0", "Epsilon|0,001"}},
            {form.ExcludeZeroAmountsCB(), true, {"|3", "Alfa|19,545", "Beta|0", "Čišćenje|5", "Epsilon|0,001"}}};
        for (const auto& [box, ticked, expected] : steps) {
            if (box) {
                box->setChecked(ticked);
                QTest::mouseClick(form.FindButton(), Qt::LeftButton);
            }
            stocktest::expectRows(list, {"name", "sumamount"}, expected);
        }

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
    });
    console.expectPrint("Zalihe (količine iz svih magacina)", "Datum 05.03.2024");
}

TEST_F(InventoryTest, TurnoverSplitsEachWarehouseIntoBeforeWithinAndEnd)
{
    // Before: in 10, out 12; within: in 8 and 1, out 3 and 5 (the first and
    // the last day count). The transfer is an issue in Centralni and a
    // receipt in Prodavnica. Epsilon is gone (nothing moved, nothing left).
    // A draft, a document of another kind, after the end or in an unknown
    // warehouse does not count.
    expectTurnover(kPeriod, {"Centralni|Alfa|-2|9|8|1|-1", "Prodavnica|Alfa|0|5|0|5|5"});

    // Services counted too: received on the first day of the period.
    EXPECT_EQ(turnover(kWithServices).value(1), "Centralni|Čišćenje|0|1|0|1|1");

    // One warehouse: its own rows, opening balances from its own documents.
    TTurnoverRequest shop = kPeriod;
    shop.warehouseName = "Prodavnica";
    expectTurnover(shop, {"Prodavnica|Alfa|0|5|0|5|5"});
    shop.warehouseName = "Prodavnica' OR 'x'='x";
    expectTurnover(shop, {});

    // A period after every movement keeps only what is left at its start,
    // now with the receipt of 2024-03-09.
    expectTurnover({"2024-03-10", "2024-03-31", "", true}, {"Centralni|Alfa|99|0|0|0|99", "Prodavnica|Alfa|5|0|0|0|5"});
}

TEST_F(InventoryTest, TurnoverWindowDefaultsStopWarehouseListPrintingAndProducts)
{
    stocktest::drive<TTurnoverAllWarehousesForm>([] { OpenTurnoverAllWarehouses(); }, [&](auto& form) {
        EXPECT_EQ(form.FromDateEdit()->text(), "01.01.2024");
        EXPECT_EQ(form.ToDateEdit()->text(), "05.03.2024");
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        // Nothing is counted before "&Prikaži"; no warehouse is chosen and
        // the list has no empty entry.
        EXPECT_TRUE(form.TurnoverAllWarehousesCDS()->isEmpty());
        QComboBox* warehouses = form.WarehouseCB();
        EXPECT_EQ(warehouses->currentIndex(), -1);
        EXPECT_EQ(warehouses->count(), 3);
        EXPECT_EQ(warehouses->itemText(0), "Apoteka");

        EXPECT_EQ(stocktest::pickDate(script, form.FromDateButton(), form.FromDateEdit(), QDate(2024, 3, 5)),
                  "05.03.2024");
        EXPECT_EQ(stocktest::pickDate(script, form.ToDateButton(), form.ToDateEdit(), QDate(2024, 3, 8)),
                  "08.03.2024");
        // Another session holds the documents: the count, off the window,
        // waits on the server until "Prekini" kills its statement. The next
        // count, services ticked off, shows the whole list.
        EXPECT_FALSE(form.CancelButton()->isVisible());
        expectPrekiniStops(form, form.FindButton(), form.PrintButton(), "document", "Dokumenti", script);
        EXPECT_TRUE(form.TurnoverAllWarehousesCDS()->isEmpty());
        QTest::mouseClick(form.ExcludeServicesCB(), Qt::LeftButton);
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        MemoryTable& rows = *form.TurnoverAllWarehousesCDS();
        test::expectSameTable(stocktest::rows(rows, kTurnoverFields), turnover(kWithServices), kTurnoverFields);
        EXPECT_FALSE(form.CancelButton()->isVisible());

        doubleClickCell(form.TurnoverAllWarehousesDBG(), "name", 1);
        EXPECT_EQ(console.products().opened, (QList<QPair<qint32, qint32>>{{3, 2}}));

        warehouses->setCurrentIndex(warehouses->findText("Prodavnica"));
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_ROWS(column(rows, "warehousename"), QStringList({"Prodavnica"}));

        QTest::mouseClick(form.PrintButton(), Qt::LeftButton);
    });
    console.expectPrint("Promet (količine iz svih magacina)", "Datum 05.03.2024");
}
