#include "DBControls.h"
#include "HostStrings.h"
#include "PickListDelegate.h"
#include "ProductDMFixture.h"
#include "Productresourcestring.h"
#include "ScriptedDialogs.h"
#include "Warehouserestriction.h"
#include "Warehouseunit.h"
#include "test_refwindows.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QString current(TWarehouseForm& form)
{
    return form.WarehouseDBG()->dataSet()->fieldByName(QStringLiteral("name")).asString();
}

} // namespace

class WarehouseFormTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO currency (code, name) VALUES ('RSD', 'Dinar'), ('EUR', 'Evro')");
    }
    void SetUp() override
    {
        sql("DELETE FROM warehouse");
        // By name: Centar SKA, Dimaco, Magacin Novi Sad, MALOPRODAJA, Šabac, Stari magacin (inactive).
        sql("INSERT INTO warehouse (warehouseid, name, code, pricetype, warehousecurrency, active, status) VALUES "
            "(1, 'Magacin Novi Sad', 'NS', 'v', 'RSD', 1, 'primary'), (2, 'MALOPRODAJA', 'MP', 'm', 'RSD', 1, "
            "'standard'), (3, 'Dimaco', 'DI', '', 'EUR', 1, 'standard'), (4, 'Centar SKA', 'CS', 'm', NULL, 1, "
            "'standard'), (5, 'Stari magacin', 'ST', 'v', 'RSD', 0, 'standard'), (6, 'Šabac', 'SA', 'v', 'RSD', 1, "
            "'standard')");
        dm().SetDefWarehouseID(0);
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(WarehouseFormTest, NameSearchByPrefixOrContainedTextIgnoringAsciiCase)
{
    ScriptedDialogs script;
    inModal<TWarehouseForm>(WarehouseManage, [&script](TWarehouseForm& form) {
        const QPair<const char*, const char*> cases[] = {
            {"%ska", "Centar SKA"}, {"Ma", "Magacin Novi Sad"} /* not Dimaco */, {"Ma%xyz", "Magacin Novi Sad"},
            {"%%dima", "Dimaco"},   {"%", "Centar SKA"},       {"ŠABAC", "Šabac"}};
        for (const auto& [text, found] : cases) {
            EXPECT_TRUE(form.WarehouseNameLocate(QString::fromUtf8(text), true)) << text;
            EXPECT_EQ(current(form), QString::fromUtf8(found)) << text;
        }
        // From the current row on, the next one matches.
        form.WarehouseNameLocate(QStringLiteral("Ma"), true);
        form.WarehouseDBG()->dataSet()->next();
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("ma"), false));
        EXPECT_EQ(current(form), QStringLiteral("MALOPRODAJA"));
        // Only A-Z fold; the inactive warehouse is not listed.
        EXPECT_FALSE(form.WarehouseNameLocate(QStringLiteral("šabac"), true));
        EXPECT_FALSE(form.WarehouseNameLocate(QStringLiteral("Stari"), true));

        // No match: the first row and a warning (Enter in the name field searches).
        form.NameEdit()->setText(QStringLiteral("Zrenjanin"));
        QTest::keyClick(form.NameEdit(), Qt::Key_Return);
        EXPECT_EQ(current(form), QStringLiteral("Centar SKA"));
        EXPECT_EQ(script.messages(), QStringList{WAREHOUSE_NAME_LOC_WRN});
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });
}

TEST_F(WarehouseFormTest, LookUpByIdFindsAnInactiveWarehouseBehindTheActiveOnlyView)
{
    inModal<TWarehouseForm>(WarehouseManage, [](TWarehouseForm& form) {
        EXPECT_TRUE(form.ActiveWarehouseCB()->isChecked());
        EXPECT_EQ(form.WarehouseDBG()->model()->rowCount(), 5);
        TWarehouseDesc desc;
        desc.id = 5;
        EXPECT_TRUE(GetWarehouse(desc, true));
        EXPECT_EQ(desc.name, QStringLiteral("Stari magacin"));
        form.CloseButton()->click();
    });

    // An empty price type reads as wholesale; a missing warehouse changes nothing.
    TWarehouseDesc desc;
    desc.id = 3;
    ASSERT_TRUE(GetWarehouse(desc, true));
    EXPECT_EQ(desc.priceType, QLatin1Char('v'));
    qint32 id = 42;
    QString name = QStringLiteral("x");
    EXPECT_FALSE(GetWarehouse(id, name, true));
    EXPECT_EQ(name, QStringLiteral("x"));
}

TEST_F(WarehouseFormTest, PickingFillsTheDescriptorAndDoubleClickPicksOnlyThen)
{
    TWarehouseDesc desc;
    desc.id = 1;
    inModal<TWarehouseForm>([&] { EXPECT_TRUE(GetWarehouse(desc, false)); }, [](TWarehouseForm& form) {
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
        // The incoming identifier does not position the list.
        EXPECT_EQ(current(form), "Centar SKA");
        doubleClickCell(form.WarehouseDBG(), "code", 1); // Dimaco
    });
    EXPECT_EQ(QString("%1 %2 %3 %4").arg(desc.id).arg(desc.name, desc.currency, desc.priceType), "3 Dimaco EUR v");

    inModal<TWarehouseForm>(WarehouseManage, [](TWarehouseForm& form) {
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        doubleClickCell(form.WarehouseDBG(), QStringLiteral("code"), 1);
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });
}

TEST_F(WarehouseFormTest, DefaultIsRefusedWhileOnlyActiveWarehousesAreListed)
{
    // Every row is posted, and a row without a price type cannot be.
    sql("UPDATE warehouse SET pricetype = 'v' WHERE pricetype = ''");
    ScriptedDialogs script;
    inModal<TWarehouseForm>(WarehouseManage, [&script](TWarehouseForm& form) {
        DataSet& list = *form.WarehouseDBG()->dataSet();
        list.locate(QStringLiteral("warehouseid"), 2);
        const int before = updatesRun(db());
        form.DefaultButton()->click();
        EXPECT_EQ(script.messages(), QStringList{WARE_ACTIVE_WRN});
        EXPECT_EQ(updatesRun(db()), before);

        form.ActiveWarehouseCB()->click();
        EXPECT_EQ(form.WarehouseDBG()->model()->rowCount(), 6);
        list.locate(QStringLiteral("warehouseid"), 1);
        form.DefaultButton()->click(); // already the default: nothing written
        EXPECT_EQ(updatesRun(db()), before);
        list.locate(QStringLiteral("warehouseid"), 5);
        const int row = list.currentRow();
        form.DefaultButton()->click();
        EXPECT_EQ(list.fieldByName(QStringLiteral("warehouseid")).asInteger(), 5);
        EXPECT_EQ(cellOf(form.WarehouseDBG(), QStringLiteral("name"), row).data(Qt::BackgroundRole).value<QColor>(),
                  QColor(0xC0, 0xC0, 0xC0));
        EXPECT_EQ(script.messages(), QStringList{WARE_ACTIVE_WRN});
        form.CloseButton()->click();
    });
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(warehouseid) FROM warehouse WHERE status = 'primary'").toString(),
              QStringLiteral("5"));
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM warehouse WHERE status = 'standard'").toInt(), 5);
    EXPECT_EQ(dm().GetDefWarehouseID(), 5);
}

TEST_F(WarehouseFormTest, CodedColumnsChangeOnlyThroughTheirPickLists)
{
    ScriptedDialogs script;
    inModal<TWarehouseForm>(WarehouseManage, [](TWarehouseForm& form) {
        DBGrid* grid = form.WarehouseDBG();
        EXPECT_EQ(grid->visibleColumns().size(), 13);
        EXPECT_EQ(form.PickLists()->pickList(QStringLiteral("warehousecurrency")), (QStringList{"EUR", "RSD", ""}));

        // Row 0 is Centar SKA: typing, Backspace and Delete do nothing in a coded column.
        grid->setFocus();
        grid->setCurrentIndex(cellOf(grid, QStringLiteral("pricetype"), 0));
        QTest::keyClicks(grid, QStringLiteral("v"));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_FALSE(grid->dataSet()->isEditing());
        EXPECT_EQ(openEditor(grid), nullptr);
        // ... but do start editing a plain one.
        grid->setCurrentIndex(cellOf(grid, QStringLiteral("city"), 0));
        QTest::keyClicks(grid, QStringLiteral("N"));
        QWidget* editor = openEditor(grid);
        EXPECT_NE(qobject_cast<QLineEdit*>(editor), nullptr);
        if (editor)
            QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // The list's caption is stored as its code.
        const QModelIndex priceCell = cellOf(grid, QStringLiteral("pricetype"), 0);
        grid->setCurrentIndex(priceCell);
        grid->edit(priceCell);
        auto* combo = grid->viewport()->findChild<QComboBox*>();
        EXPECT_NE(combo, nullptr);
        if (combo) {
            EXPECT_EQ(combo->currentText(), PRICE_RETAIL_CAP);
            combo->setCurrentText(PRICE_WHOLESALE_CAP);
            emit combo->activated(combo->currentIndex());
        }
        form.WarehouseNavigator()->button(DBNavigator::Post)->click();
        form.CloseButton()->click();
    });
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(scalar(db(), "SELECT CONCAT(pricetype, '/', IFNULL(city, '-')) FROM warehouse WHERE warehouseid = 4")
                  .toString(),
              QStringLiteral("v/-"));
}

TEST(WarehouseRestriction, PerWarehouseCommandsOnlyOnTheLocalDefault)
{
    using C = TWarehouseCommand;
    TProductOptions options;
    options.OnlyLocalDefaultWarehouseProds = true;
    options.DefWarehouseName = QStringLiteral("Lokal");
    TProductOptions noName = options;
    noName.DefWarehouseName.clear();
    TProductOptions off = options;
    off.OnlyLocalDefaultWarehouseProds = false;

    for (C command : {C::InventoryWarePrice, C::InventoryStockPrice, C::InventoryAttribute, C::KepuWizard}) {
        EXPECT_FALSE(WarehouseCommandAllowed(command, options, true, QStringLiteral("lokal"))); // exact name only
        EXPECT_TRUE(WarehouseCommandAllowed(command, options, true, QStringLiteral("Lokal")));
        EXPECT_FALSE(WarehouseCommandAllowed(command, options, false, QStringLiteral("Lokal")));
        // Either half missing lifts the restriction.
        EXPECT_TRUE(WarehouseCommandAllowed(command, noName, true, QStringLiteral("Drugi")));
        EXPECT_TRUE(WarehouseCommandAllowed(command, off, true, QStringLiteral("Drugi")));
    }
    for (C command : {C::TurnoverAll, C::StocksOverview, C::CurrentInventoryAll, C::FromStockCardOne}) {
        EXPECT_TRUE(WarehouseCommandAllowed(command, options, true, QStringLiteral("Drugi")));
        EXPECT_FALSE(WarehouseCommandAllowed(command, off, false, QString()));
    }
    EXPECT_FALSE(WarehouseCommandAllowed(C::InventoryQuantities, options, true, QStringLiteral("Lokal")));
    EXPECT_TRUE(WarehouseCommandAllowed(C::InventoryQuantities, noName, false, QString()));
}
