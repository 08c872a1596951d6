#include "DBControls.h"
#include "HostStrings.h"
#include "Modal.h"
#include "PickListDelegate.h"
#include "ProductDMFixture.h"
#include "Productresourcestring.h"
#include "ScriptedDialogs.h"
#include "Screenshots.h"
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

TWarehouseForm& warehouseForm(QDialog& dialog)
{
    return dynamic_cast<TWarehouseForm&>(dialog);
}

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
    ScopedModalHandler manage([&script](QDialog& dialog) {
        TWarehouseForm& form = warehouseForm(dialog);
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("%ska"), true));
        EXPECT_EQ(current(form), QStringLiteral("Centar SKA"));
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("Ma"), true));
        EXPECT_EQ(current(form), QStringLiteral("Magacin Novi Sad")); // not Dimaco
        // From the current row on, the next one matches.
        form.WarehouseDBG()->dataSet()->next();
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("ma"), false));
        EXPECT_EQ(current(form), QStringLiteral("MALOPRODAJA"));
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("Ma%xyz"), true));
        EXPECT_EQ(current(form), QStringLiteral("Magacin Novi Sad"));
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("%%dima"), true));
        EXPECT_EQ(current(form), QStringLiteral("Dimaco"));
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("%"), true));
        EXPECT_EQ(current(form), QStringLiteral("Centar SKA"));
        // Only A-Z fold: Š and š differ.
        EXPECT_FALSE(form.WarehouseNameLocate(QStringLiteral("šabac"), true));
        EXPECT_TRUE(form.WarehouseNameLocate(QStringLiteral("ŠABAC"), true));
        // The inactive warehouse is not listed.
        EXPECT_FALSE(form.WarehouseNameLocate(QStringLiteral("Stari"), true));

        // The action: a match moves there silently, none goes to the first row with a warning.
        form.NameEdit()->setText(QStringLiteral("%novi"));
        form.SearchWarehouseAction()->trigger();
        EXPECT_EQ(current(form), QStringLiteral("Magacin Novi Sad"));
        EXPECT_EQ(form.WarehouseDBG()->currentIndex().row(), form.WarehouseDBG()->dataSet()->currentRow());
        EXPECT_TRUE(script.messages().isEmpty());
        form.NameEdit()->setText(QStringLiteral("Zrenjanin"));
        QTest::keyClick(form.NameEdit(), Qt::Key_Return);
        EXPECT_EQ(current(form), QStringLiteral("Centar SKA"));
        EXPECT_EQ(script.messages(), QStringList{WAREHOUSE_NAME_LOC_WRN});
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
        return dialog.result();
    });
    WarehouseManage();
}

TEST_F(WarehouseFormTest, LookUpByIdFindsAnInactiveWarehouseBehindTheActiveOnlyView)
{
    ScopedModalHandler manage([](QDialog& dialog) {
        TWarehouseForm& form = warehouseForm(dialog);
        EXPECT_TRUE(form.ActiveWarehouseCB()->isChecked());
        EXPECT_EQ(form.WarehouseDBG()->model()->rowCount(), 5);
        TWarehouseDesc desc;
        desc.id = 5;
        EXPECT_TRUE(GetWarehouse(desc, true));
        EXPECT_EQ(desc.name, QStringLiteral("Stari magacin"));
        EXPECT_EQ(desc.code, QStringLiteral("ST"));
        EXPECT_EQ(desc.currency, QStringLiteral("RSD"));
        EXPECT_EQ(desc.priceType, QLatin1Char('v'));
        form.CloseButton()->click();
        return dialog.result();
    });
    WarehouseManage();

    // An empty price type reads as wholesale; a missing warehouse changes nothing.
    TWarehouseDesc desc;
    desc.id = 3;
    ASSERT_TRUE(GetWarehouse(desc, true));
    EXPECT_EQ(desc.priceType, QLatin1Char('v'));
    desc.id = 2;
    ASSERT_TRUE(GetWarehouse(desc, true));
    EXPECT_EQ(desc.priceType, QLatin1Char('m'));
    desc.id = 42;
    EXPECT_FALSE(GetWarehouse(desc, true));
    EXPECT_EQ(desc.name, QStringLiteral("MALOPRODAJA"));

    qint32 id = 5;
    QString name;
    EXPECT_TRUE(GetWarehouse(id, name, true));
    EXPECT_EQ(name, QStringLiteral("Stari magacin"));
    id = 42;
    EXPECT_FALSE(GetWarehouse(id, name, true));
    EXPECT_EQ(id, 42);
    EXPECT_EQ(name, QStringLiteral("Stari magacin"));
}

TEST_F(WarehouseFormTest, PickingFillsTheDescriptorAndDoubleClickPicksOnlyThen)
{
    TWarehouseDesc desc;
    desc.id = 1;
    {
        ScopedModalHandler pick([](QDialog& dialog) {
            TWarehouseForm& form = warehouseForm(dialog);
            EXPECT_FALSE(form.OKButton()->isHidden());
            EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
            // The incoming identifier does not position the list.
            EXPECT_EQ(current(form), QStringLiteral("Centar SKA"));
            doubleClickCell(form.WarehouseDBG(), QStringLiteral("code"), 1); // Dimaco
            return dialog.result();
        });
        ASSERT_TRUE(GetWarehouse(desc, false));
    }
    EXPECT_EQ(desc.id, 3);
    EXPECT_EQ(desc.name, QStringLiteral("Dimaco"));
    EXPECT_EQ(desc.currency, QStringLiteral("EUR"));
    EXPECT_EQ(desc.priceType, QLatin1Char('v'));

    qint32 id = 0;
    QString name;
    {
        ScopedModalHandler pick([](QDialog& dialog) {
            TWarehouseForm& form = warehouseForm(dialog);
            clickCell(form.WarehouseDBG(), QStringLiteral("name"), 3);
            form.OKButton()->click();
            return dialog.result();
        });
        ASSERT_TRUE(GetWarehouse(id, name, false));
    }
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, QStringLiteral("MALOPRODAJA"));

    ScopedModalHandler manage([](QDialog& dialog) {
        TWarehouseForm& form = warehouseForm(dialog);
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        doubleClickCell(form.WarehouseDBG(), QStringLiteral("code"), 1);
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
        return dialog.result();
    });
    WarehouseManage();
    ScopedModalHandler cancel([](QDialog& dialog) {
        warehouseForm(dialog).CloseButton()->click();
        return dialog.result();
    });
    EXPECT_FALSE(GetWarehouse(id, name, false));
    EXPECT_EQ(id, 2);
}

TEST_F(WarehouseFormTest, DefaultIsRefusedWhileOnlyActiveWarehousesAreListed)
{
    // Every row is posted, and a row without a price type cannot be.
    sql("UPDATE warehouse SET pricetype = 'v' WHERE pricetype = ''");
    ScriptedDialogs script;
    ScopedModalHandler manage([&script](QDialog& dialog) {
        TWarehouseForm& form = warehouseForm(dialog);
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
        saveScreenshot(form, QStringLiteral("warehouses"));

        form.ActiveWarehouseCB()->click();
        EXPECT_EQ(form.WarehouseDBG()->model()->rowCount(), 5);
        form.CloseButton()->click();
        return dialog.result();
    });
    WarehouseManage();
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(warehouseid) FROM warehouse WHERE status = 'primary'").toString(),
              QStringLiteral("5"));
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM warehouse WHERE status = 'standard'").toInt(), 5);
    EXPECT_EQ(dm().GetDefWarehouseID(), 5);
}

TEST_F(WarehouseFormTest, CodedColumnsChangeOnlyThroughTheirPickLists)
{
    ScriptedDialogs script;
    ScopedModalHandler manage([](QDialog& dialog) {
        TWarehouseForm& form = warehouseForm(dialog);
        DBGrid* grid = form.WarehouseDBG();
        EXPECT_EQ(grid->visibleColumns(),
                  (QStringList{"name", "code", "address", "zip", "city", "pricetype", "active", "organizationunit",
                               "warehousecurrency", "warehousemethodtype", "warehouseautopricechange",
                               "warehouseonlyfreeamount", "warehouseinternalsupplyprice"}));
        EXPECT_EQ(form.PickLists()->pickList(QStringLiteral("warehousecurrency")), (QStringList{"EUR", "RSD", ""}));
        EXPECT_EQ(form.PickLists()->pickList(QStringLiteral("active")), (QStringList{ACTIVE_Y_CAP, ACTIVE_N_CAP}));
        EXPECT_EQ(form.PickLists()->pickList(QStringLiteral("warehousemethodtype")).size(), 4);
        EXPECT_EQ(cellText(grid, QStringLiteral("pricetype"), 0), PRICE_RETAIL_CAP);
        EXPECT_EQ(cellText(grid, QStringLiteral("warehouseautopricechange"), 0), YES_CAP);

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
        return dialog.result();
    });
    WarehouseManage();
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(scalar(db(), "SELECT CONCAT(pricetype, '/', IFNULL(city, '-')) FROM warehouse WHERE warehouseid = 4")
                  .toString(),
              QStringLiteral("v/-"));
}

TEST(WarehouseRestriction, PerWarehouseCommandsOnlyOnTheLocalDefault)
{
    TProductOptions options;
    options.OnlyLocalDefaultWarehouseProds = true;
    options.DefWarehouseName = QStringLiteral("Lokal");
    using C = TWarehouseCommand;
    const C perWarehouse[] = {C::InventoryWarePrice, C::InventoryStockPrice, C::InventoryAttribute, C::KepuWizard};
    const C anyWarehouse[] = {C::TurnoverAll, C::StocksOverview, C::CurrentInventoryAll, C::FromStockCardAll,
                              C::FromStockCardAllRetail, C::FromStockCardOne};

    EXPECT_TRUE(SingleWarehouseRestrictionInForce(options));
    for (C command : perWarehouse) {
        EXPECT_FALSE(WarehouseCommandAllowed(command, options, true, QStringLiteral("Drugi")));
        EXPECT_FALSE(WarehouseCommandAllowed(command, options, true, QStringLiteral("lokal"))); // exact name only
        EXPECT_TRUE(WarehouseCommandAllowed(command, options, true, QStringLiteral("Lokal")));
        EXPECT_FALSE(WarehouseCommandAllowed(command, options, false, QStringLiteral("Lokal")));
    }
    for (C command : anyWarehouse) {
        EXPECT_TRUE(WarehouseCommandAllowed(command, options, true, QStringLiteral("Drugi")));
        EXPECT_FALSE(WarehouseCommandAllowed(command, options, false, QString()));
    }
    EXPECT_FALSE(WarehouseCommandAllowed(C::InventoryQuantities, options, true, QStringLiteral("Lokal")));

    // Either half missing lifts the restriction.
    TProductOptions noName = options;
    noName.DefWarehouseName.clear();
    TProductOptions off = options;
    off.OnlyLocalDefaultWarehouseProds = false;
    for (const TProductOptions& free : {noName, off}) {
        EXPECT_FALSE(SingleWarehouseRestrictionInForce(free));
        EXPECT_TRUE(WarehouseCommandAllowed(C::InventoryQuantities, free, false, QString()));
        for (C command : perWarehouse)
            EXPECT_TRUE(WarehouseCommandAllowed(command, free, true, QStringLiteral("Drugi")));
    }
}

TEST_F(WarehouseFormTest, RestrictionReadsTheWarehouseListsCurrentRow)
{
    TProductOptions options;
    options.OnlyLocalDefaultWarehouseProds = true;
    options.DefWarehouseName = QStringLiteral("Dimaco");
    TWarehouseDesc desc;
    desc.id = 3;
    ASSERT_TRUE(GetWarehouse(desc, true)); // leaves WarehouseZQ on Dimaco
    EXPECT_TRUE(WarehouseCommandAllowed(TWarehouseCommand::InventoryWarePrice, options, *dm().WarehouseZQ));
    dm().WarehouseZQ->first();
    EXPECT_FALSE(WarehouseCommandAllowed(TWarehouseCommand::InventoryWarePrice, options, *dm().WarehouseZQ));
    EXPECT_TRUE(WarehouseCommandAllowed(TWarehouseCommand::TurnoverAll, options, *dm().WarehouseZQ));
    sql("DELETE FROM warehouse");
    dm().WarehouseZQ->close();
    dm().WarehouseZQ->open();
    EXPECT_FALSE(WarehouseCommandAllowed(TWarehouseCommand::TurnoverAll, options, *dm().WarehouseZQ));
}
