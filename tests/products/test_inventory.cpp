#include "HostStrings.h"
#include "Inventoryattributeunit.h"
#include "Inventoryunit.h"
#include "ScriptedDialogs.h"
#include "Warehouseunit.h"
#include "test_stockreports.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;
using stocktest::column;

class InventoryTest : public stocktest::ReportTest {
protected:
    InventoryTest() : ReportTest(QDateTime(QDate(2024, 3, 5), QTime(12, 0)), 2) {}
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary'), (2, 'Nulta', 0, "
            "'standard')");
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Centralni', 'primary'), (2, "
            "'Prodavnica', 'standard')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, pricecurrency, type) VALUES "
            "(1, 'Alfa', 'A1', 'kom', 1, 'RSD', 'r'), (2, 'Beta', 'B1', 'kg', 1, 'RSD', 'r'),"
            "(3, 'Čišćenje', 'U1', 'h', 1, 'RSD', 'u'), (4, 'Delta', 'D1', 'l', 2, 'RSD', 'r'),"
            "(5, 'Epsilon', 'E1', 'kom', 2, 'RSD', 'r')");
        // Alfa and Beta make the totals 1234.5 and 1481.4; the service, the
        // 0.0004 and the row without a product are left out while excluding.
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES "
            "(1, 1, 12.545, 100), (2, 1, -2, 10), (3, 1, 5, 10), (4, 1, 0.0004, 50), (5, 1, 0.001, 0),"
            "(999, 1, 3, 1), (1, 2, 7, 100)");
        sql("INSERT INTO attributepr (attributeprid, attribute) VALUES (1, 'Boja'), (2, 'Veličina')");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue) VALUES "
            "(1, 1, 'Plava'), (2, 1, 'Crvena'), (3, 2, 'M')");
        sql("INSERT INTO productattribute (productattributeid, productid, attributeprid1, attributeprvalueid1, "
            "attributeprid2, attributeprvalueid2, prodattbarcode) VALUES (1, 1, 1, 1, 0, 0, '2000001'),"
            "(2, 1, 1, 2, 2, 3, '2000002'), (3, 3, 1, 1, 0, 0, NULL), (4, 2, 1, 2, 0, 0, NULL)");
        sql("INSERT INTO productattributewarehouse (productattributeid, warehouseid, amount) VALUES "
            "(1, 1, 4), (2, 1, 1.5), (3, 1, 2), (4, 1, 0.0004), (2, 2, 9)");
    }
};

TEST_F(InventoryTest, OpeningListsTheWarehouseWithBothExclusionsAndTheTotals)
{
    ScriptedDialogs script;
    int shown = 0;
    ScopedModalHandler modal([&](QDialog& dialog) {
        ++shown;
        auto& form = dynamic_cast<TInventoryForm&>(dialog);
        EXPECT_TRUE(form.ExcludeZeroAmountsCB()->isChecked());
        EXPECT_TRUE(form.ExcludeServicesCB()->isChecked());
        QueryDataSet& list = *form.InventoryZQ();
        EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Beta", "Epsilon"}));
        EXPECT_EQ(list.recNo(), 1);
        // -2 at 10 is worth -20; 0.001 is no zero at three decimals.
        EXPECT_EQ(column(list, "ProductValue"), QStringList({"1,254.50", "-20.00", "0.00"}));
        EXPECT_EQ(column(list, "pricevat"), QStringList({"120.00", "12.00", "0.00"}));
        EXPECT_EQ(column(list, "amount"), QStringList({"12.545", "-2", "0.001"}));
        // Thousands and two decimals; a negative value lowers the total.
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 1,234.50  Ukupna vrednost sa PDV-om: 1,481.40");
        EXPECT_EQ(InventoryTotalText({-20, 0}), "Ukupna vrednost: -20.00  Ukupna vrednost sa PDV-om: 0.00");
        EXPECT_TRUE(form.TotalLabel()->font().bold());
        EXPECT_EQ(headerTitles(form.InventoryDBG()), QStringList({"Proizvod", "Kod", "JM", "Količina", "Cena", "Cena+PDV", "Vrednost",
                                       "Vred.+PDV"}));

        // Both boxes cleared: every stock row of the warehouse, the row
        // without a product first (no name).
        form.ExcludeZeroAmountsCB()->setChecked(false);
        form.ExcludeServicesCB()->setChecked(false);
        QTest::mouseClick(form.FindButton(), Qt::LeftButton);
        EXPECT_EQ(column(list, "name"), QStringList({"", "Alfa", "Beta", "Čišćenje", "Delta", "Epsilon"}));
        EXPECT_EQ(form.TotalLabel()->text(), "Ukupna vrednost: 1,287.52  Ukupna vrednost sa PDV-om: 1,541.42");

        // Services only excluded: the row without a product goes too.
        form.ExcludeServicesCB()->setChecked(true);
        form.FindButtonClick();
        EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Beta", "Delta", "Epsilon"}));
        EXPECT_TRUE(script.messages().isEmpty());
        form.CloseButton()->click();
        return 0;
    });
    OpenWarehouseInventory(1, QStringLiteral("Centralni"));
    EXPECT_EQ(shown, 1);
}

TEST_F(InventoryTest, PrintLendsTheGridAndADoubleClickOpensTheProductInTheDefaultWarehouse)
{
    ScriptedDialogs script;
    auto* form = new TInventoryForm(1, "Centralni");
    form->show();
    form->OpenList();
    EXPECT_EQ(form->GetPrintHeader(), "Datum 2024-03-05");
    QTableView other;
    console->SetActiveGrid(&other);
    QTest::mouseClick(form->PrintButton(), Qt::LeftButton);
    ASSERT_EQ(console.wizards.size(), 1);
    EXPECT_EQ(console.wizards[0].name, CMN_PRINT_WIZ_NAME);
    EXPECT_EQ(console.wizards[0].parameters,
              "title:Zalihe magacina (magacinske cene) - Centralni;header:Datum 2024-03-05");
    EXPECT_EQ(console.wizards[0].grid, form->InventoryDBG());
    EXPECT_EQ(console->GetActiveGrid(), &other);

    doubleClickCell(form->InventoryDBG(), "name", 1);
    ASSERT_EQ(console.products.opened.size(), 1);
    EXPECT_EQ(console.products.opened[0], qMakePair(qint32(2), qint32(2)));

    // The mouse wheel steps the grid one row.
    form->InventoryDBG()->setFocus();
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->InventoryDBG()->viewport(), &wheel);
    EXPECT_EQ(form->InventoryZQ()->recNo(), 3);

    console.offer(false, true);
    form->InventoryDBGDblClick();
    EXPECT_EQ(script.messages(), QStringList({CMN_NO_MODULE.arg(CMN_MOD_PRODUCT_NAME)}));
    delete form;
}

TEST_F(InventoryTest, AttributeListShowsVariantsWithEmptyMissingAttributes)
{
    auto* form = new TInventoryAttributeForm(1, "Centralni");
    form->OpenList();
    QueryDataSet& list = *form->InventoryAttributeZQ();
    EXPECT_EQ(column(list, "attvalue1"), QStringList({"Crvena", "Plava"}));
    EXPECT_EQ(column(list, "attname2"), QStringList({"Veličina", ""}));
    EXPECT_TRUE(list.valueAt(1, list.fieldByName("attvalue2").index()).isNull());
    EXPECT_EQ(column(list, "prodattbarcode"), QStringList({"2000002", "2000001"}));
    EXPECT_EQ(column(list, "amount"), QStringList({"1.5", "4"}));
    EXPECT_EQ(form->InventoryAttributeDBG()->dataModel()->columnCount(), 9);
    EXPECT_EQ(form->InventoryAttributeDBG()->model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Vrednost atr. 1");

    form->ExcludeZeroAmountsCB()->setChecked(false);
    form->ExcludeServicesCB()->setChecked(false);
    form->FindButtonClick();
    EXPECT_EQ(column(list, "name"), QStringList({"Alfa", "Alfa", "Beta", "Čišćenje"}));
    // No double-click action here.
    doubleClickCell(form->InventoryAttributeDBG(), "name", 0);
    EXPECT_TRUE(console.products.opened.isEmpty());
    delete form;
}

TEST_F(InventoryTest, WarehouseWindowButtonsOpenTheListsOfTheCurrentWarehouse)
{
    QStringList opened;
    ScopedModalHandler modal([&opened](QDialog& dialog) {
        if (auto* warehouses = dynamic_cast<TWarehouseForm*>(&dialog)) {
            QueryDataSet& ds = *dm().WarehouseZQ;
            EXPECT_FALSE(warehouses->InventoryAttributeButton()->isVisibleTo(warehouses));
            ds.locate("name", "Prodavnica");
            warehouses->InventoryWarePriceButton()->click();
            warehouses->InventoryAttributeButtonClick();
            // Kept to its own warehouse, the workstation lists only that one.
            dm().Options.OnlyLocalDefaultWarehouseProds = true;
            dm().Options.DefWarehouseName = "Centralni";
            warehouses->InventoryWarePriceButtonClick();
            ds.locate("name", "Centralni");
            warehouses->InventoryWarePriceButtonClick();
            warehouses->close();
            return 0;
        }
        auto& list = dynamic_cast<TInventoryWindow&>(dialog);
        opened << list.windowTitle() + ": " + column(*list.ZQ(), "amount").join(",");
        list.close();
        return 0;
    });
    WarehouseManage();
    EXPECT_EQ(opened, QStringList({"Zalihe magacina (magacinske cene) - Prodavnica: 7",
                                   "Zalihe magacina (atributi) - Prodavnica: 9",
                                   "Zalihe magacina (magacinske cene) - Centralni: 12.545,-2,0.001"}));

    dm().Options = TProductOptions();
    dm().Options.AttributeStock = true;
    bool visible = false;
    ScopedModalHandler check([&visible](QDialog& dialog) {
        auto& warehouses = dynamic_cast<TWarehouseForm&>(dialog);
        visible = warehouses.InventoryAttributeButton()->isVisibleTo(&warehouses);
        warehouses.close();
        return 0;
    });
    WarehouseManage();
    EXPECT_TRUE(visible);
}
