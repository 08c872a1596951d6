#include "DBGrid.h"
#include "IniFile.h"
#include "Modal.h"
#include "Productdetailunit.h"
#include "Productresourcestring.h"
#include "Productwarehousesunit.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"
#include "test_workerstop.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QStringList columnTitles(DBGrid& grid)
{
    QStringList titles;
    for (int i = 0; i < grid.model()->columnCount(); ++i)
        titles << grid.model()->headerData(i, Qt::Horizontal).toString();
    return titles;
}

} // namespace

class EditorWarehouses : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, reservedamount, reversedamount, price, "
            "minstock, place) VALUES (10, 1, 5, 1, 0.5, 100, 5, 'A1'), (10, 2, 5.5, 0, 0, 90, 5, NULL)");
    }
};

TEST_F(EditorWarehouses, RowsShowTheirColumnsTotalAndOnlyTheLastThreeAreTyped)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    DBGrid& grid = *form.Warehouses->WarehouseDBG();
    EXPECT_EQ(columnTitles(grid), (QStringList{"Ime", "Količina", "Rezervisano", "Na reversu", "Slobodno", "Poručeno",
                                               "Mag.cena", "Mag.cena + PDV", "Min", "Max", "Mesto"}));
    ASSERT_EQ(grid.model()->rowCount(), 2);
    // By warehouse name: Drugi, Glavni.
    EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "Drugi");
    EXPECT_EQ(grid.model()->index(1, 4).data().toString(), "3.5");
    EXPECT_EQ(grid.model()->index(1, 7).data().toString(), "120.00");
    for (int column = 0; column < 11; ++column)
        EXPECT_EQ(bool(grid.model()->flags(grid.model()->index(0, column)) & Qt::ItemIsEditable), column >= 8)
            << column;
    EXPECT_EQ(form.Warehouses->TotalLabel()->text(), "Ukupna slobodna količina: 9");

    // Minimum 5 reaches amount 5 (Glavni) but not 5.5 (Drugi).
    EXPECT_FALSE(grid.model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>().isValid());
    EXPECT_EQ(grid.model()->index(1, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 128, 128));

    // An edited row is posted by apply.
    ASSERT_TRUE(grid.model()->setData(grid.model()->index(1, 10), "B7", Qt::EditRole));
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(stored("SELECT place FROM productwarehouse WHERE productid = 10 AND warehouseid = 1").toString(), "B7");
}

TEST_F(EditorWarehouses, ANullMinimumMarksARowWithoutStock)
{
    showProduct(10);
    sql("UPDATE productwarehouse SET minstock = NULL, amount = 0 WHERE warehouseid = 2");
    sql("UPDATE productwarehouse SET minstock = NULL, amount = 0.5 WHERE warehouseid = 1");
    TProductWarehousesGroup group;
    group.OpenWarehouses();
    EXPECT_TRUE(TProductWarehousesGroup::belowMinimum(*dm().ProductWarehouseZQ, 0));
    EXPECT_FALSE(TProductWarehousesGroup::belowMinimum(*dm().ProductWarehouseZQ, 1));
}

TEST_F(EditorWarehouses, OnlyTheLocalDefaultWarehouseWhenItNamesOne)
{
    showProduct(10);
    TProductWarehousesGroup group;
    dm().Options.OnlyLocalDefaultWarehouseProds = true;
    dm().Options.DefWarehouseName = QStringLiteral("Nepostojeći");
    group.OpenWarehouses();
    EXPECT_EQ(dm().ProductWarehouseZQ->recordCount(), 2);
    dm().Options.DefWarehouseName = QStringLiteral("glavni");
    group.OpenWarehouses();
    ASSERT_EQ(dm().ProductWarehouseZQ->recordCount(), 1);
    EXPECT_EQ(dm().ProductWarehouseZQ->fieldByName("name").asString(), "Glavni");
    EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 3.5");

    showProduct(-1);
    group.OpenWarehouses();
    EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 0");
}

TEST_F(EditorWarehouses, TheRecountRewritesOnlyAmountsThatDifferFromTheDocuments)
{
    // Glavni: +8 received, -2.5 sold, 1 moved to Drugi; an unposted document does not count.
    sql("INSERT INTO document (documentid, documentdate, documenttype, number, direction, warehouseid, inwarehouseid, "
        "status) VALUES (1, '2024-01-05', 'K', '1', 1, 1, NULL, 'p'), (2, '2024-01-06', 'R', '2', -1, 1, NULL, 'p'), "
        "(3, '2024-01-07', 'I', '3', -1, 1, 2, 'p'), (4, '2024-01-08', 'K', '4', 1, 1, NULL, 'o')");
    sql("INSERT INTO documentitem (documentid, productid, quantity) VALUES (1, 10, 8), (2, 10, 2.5), (3, 10, 1), "
        "(4, 10, 100)");
    // Drugi's stored amount equals its count (1) after rounding to 6 decimals.
    sql("UPDATE productwarehouse SET amount = 1.0000000004 WHERE warehouseid = 2");
    dm().Options.CheckProductAmounts = true;
    showProduct(10);
    TProductWarehousesGroup group;
    group.OpenWarehouses();
    EXPECT_DOUBLE_EQ(stored("SELECT amount FROM productwarehouse WHERE warehouseid = 1").toDouble(), 4.5);
    EXPECT_DOUBLE_EQ(stored("SELECT amount FROM productwarehouse WHERE warehouseid = 2").toDouble(), 1.0000000004);
    // The grid shows the corrected amounts.
    ASSERT_TRUE(dm().ProductWarehouseZQ->locate("warehouseid", 1));
    EXPECT_DOUBLE_EQ(dm().ProductWarehouseZQ->fieldByName("amount").asFloat(), 4.5);
    EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 4");

    // The count waits on locked documents until "Prekini": the amounts stay
    // as stored, shown as stored, and the group works on.
    sql("UPDATE productwarehouse SET amount = 7 WHERE warehouseid = 1");
    group.show();
    const workerstop::Stop stop = workerstop::stopWhileLocked(
        db(), "document", *group.RecountBar(), "Stanje iz dokumenata", [&] { group.OpenWarehouses(); },
        [&] { EXPECT_FALSE(group.WareHistoryButton()->isEnabled()); });
    EXPECT_TRUE(stop.clicked);
    EXPECT_LT(stop.elapsedMs, 15000);
    EXPECT_DOUBLE_EQ(stored("SELECT amount FROM productwarehouse WHERE warehouseid = 1").toDouble(), 7);
    ASSERT_TRUE(dm().ProductWarehouseZQ->locate("warehouseid", 1));
    EXPECT_DOUBLE_EQ(dm().ProductWarehouseZQ->fieldByName("amount").asFloat(), 7);
    EXPECT_EQ(group.TotalLabel()->text(), "Ukupna slobodna količina: 6.5");
    EXPECT_TRUE(group.WareHistoryButton()->isEnabled());
    group.OpenWarehouses();
    EXPECT_DOUBLE_EQ(stored("SELECT amount FROM productwarehouse WHERE warehouseid = 1").toDouble(), 4.5);
}

TEST_F(EditorWarehouses, AddingToAWarehouseTwiceWarnsTheSecondTime)
{
    sql("DELETE FROM productwarehouse");
    sql("UPDATE product SET price = 12.3456789 WHERE productid = 10");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    ASSERT_TRUE(form.Warehouses->KasaAddDefaultProductWarehouse()->isEnabled());
    form.Warehouses->KasaAddDefaultProductWarehouse()->trigger();
    EXPECT_EQ(script.messages(), QStringList{PRODWARE_ADD_INF});
    EXPECT_DOUBLE_EQ(stored("SELECT price FROM productwarehouse WHERE productid = 10 AND warehouseid = 1").toDouble(),
                     12.3456789);
    EXPECT_EQ(dm().ProductWarehouseZQ->recordCount(), 1);
    form.Warehouses->KasaAddDefaultProductWarehouse()->trigger();
    EXPECT_EQ(script.messages().last(), PRODWARE_EXIST_WRN);
    EXPECT_EQ(script.shown().last().kind, MessageKind::Warning);
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productwarehouse").toInt(), 1);
}

TEST_F(EditorWarehouses, TheCardButtonsOpenTheProductsCardsOwnedByTheEditor)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    QStringList opened;
    ScopedModalHandler cards([&](QDialog& dialog) {
        EXPECT_EQ(dialog.parentWidget(), &form);
        opened << QString::fromUtf8(dialog.metaObject()->className());
        return int(QDialog::Rejected);
    });
    form.Warehouses->WareHistoryButton()->click();
    form.Warehouses->StockButton()->click();
    EXPECT_EQ(opened, (QStringList{"products::TWareHistoryForm", "products::TStockHistoryForm"}));
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
}

TEST_F(EditorWarehouses, TheEditorShowsFiveWarehouseRowsAndKeepsTheUsersSize)
{
    ScriptedDialogs script;
    TIniFile(dm().localSettingsFile()).EraseSection("ProductDetailForm");
    showProduct(10);
    QSize chosen;
    {
        TProductDetailForm form;
        EXPECT_GE(form.width(), 1100);
        EXPECT_GE(form.height(), 700);
        DBGrid& grid = *form.Warehouses->WarehouseDBG();
        for (int i = 0; i < form.PageControl()->count(); ++i) {
            if (form.PageControl()->widget(i)->isAncestorOf(&grid))
                form.PageControl()->setCurrentIndex(i);
        }
        form.show();
        ASSERT_TRUE(grid.isVisible());
        EXPECT_GE(grid.viewport()->height(), 5 * grid.verticalHeader()->defaultSectionSize());

        // The user makes it larger and closes it.
        form.resize(form.width() + 150, form.height() + 60);
        chosen = form.size();
        form.close();
    }
    EXPECT_EQ(TIniFile(dm().localSettingsFile()).ReadInteger("ProductDetailForm", "Width", 0), chosen.width());
    TProductDetailForm again;
    EXPECT_EQ(again.size(), chosen);
}
