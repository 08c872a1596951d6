// The reference-list windows: taxes, warehouses, attributes and a category's
// rebates and attributes. The picking or administering behaviour they share
// is driven once, on the tax list; the others keep their own rules.

#include "Attributeunit.h"
#include "Categoryprattributeunit.h"
#include "Categoryprrebateunit.h"
#include "DBControls.h"
#include "HostStrings.h"
#include "PickListDelegate.h"
#include "ProductDMFixture.h"
#include "Productresourcestring.h"
#include "ScriptedDialogs.h"
#include "Taxunit.h"
#include "Warehouserestriction.h"
#include "Warehouseunit.h"
#include "test_refwindows.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QString current(TWarehouseForm& form)
{
    return form.WarehouseDBG()->dataSet()->fieldByName(QStringLiteral("name")).asString();
}

QStringList shownValues(TAttributeForm& form)
{
    return columnTexts(form.AttributeValueDBG(), QStringLiteral("attributevalue"));
}

void filterBy(TAttributeForm& form, const QString& text)
{
    form.FilterEdit()->setText(text);
    form.AttributeValueFilter()->trigger();
}

} // namespace

class RefWindows : public WindowTest {
protected:
    // Attribute 3 has no values; 6 is only linked to categories.
    static void insertAttributes()
    {
        sql("INSERT INTO attributepr (attributeprid, attribute, required, sort) VALUES (1, 'Boja', 1, 1), "
            "(2, 'Veličina', 0, 2), (3, 'Materijal', 0, 3), (4, 'Ukus', 0, 4), (5, 'Pakovanje', 0, 5), "
            "(6, 'Zapremina', 0, 6)");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
            "(11, 1, 'Crvena', 1), (12, 1, 'Crna', 2), (13, 1, 'Bela', 3), (14, 1, 'O''Neil plava', 4), "
            "(15, 1, 'C\\', 5), (16, 1, 'C%', 6), (21, 2, 'S', 1), (22, 2, 'M', 2), (23, 2, 'L', 3), "
            "(61, 6, '0,5 l', 1), (62, 6, '1 l', 2)");
    }
};

TEST_F(RefWindows, TheTaxListPicksOnlyWhilePickingAndItsDefaultWritesOnlyAChange)
{
    sql("INSERT INTO tax (taxid, name, description, value, status) VALUES "
        "(1, 'Opšta', 'Opšta stopa PDV', 20, 'primary'), (2, 'Posebna', 'Posebna stopa PDV', 10, 'standard'), "
        "(3, 'Oslobođeno', 'Bez PDV', 0, 'standard')");
    qint32 id = 0;
    QString name;
    double value = -1;
    inModal<TTaxForm>([&] { EXPECT_TRUE(GetTax(id, name, value, false)); }, [](TTaxForm& form) {
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
        doubleClickCell(form.TaxDBG(), "value", 2); // by name: Opšta, Oslobođeno, Posebna
    });
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, "Posebna");
    EXPECT_EQ(value, 10);
    inModal<TTaxForm>([&] { EXPECT_FALSE(GetTax(id, name, value, false)); }, [](TTaxForm& form) {
        clickCell(form.TaxDBG(), "name", 0);
        form.CloseButton()->click();
    });
    EXPECT_EQ(id, 2);

    // Looking up by identifier reads the table afresh; a missing one changes nothing.
    sql("UPDATE tax SET value = 8.5, name = 'Snižena' WHERE taxid = 2");
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, "Snižena");
    EXPECT_EQ(value, 8.5);
    id = 99;
    EXPECT_FALSE(GetTax(id, name, value, true));
    EXPECT_EQ(id, 99);
    EXPECT_EQ(name, "Snižena");

    // A second primary left behind by someone else is cleared as well.
    sql("UPDATE tax SET status = 'primary' WHERE taxid = 3");
    ScriptedDialogs script;
    inModal<TTaxForm>(TaxManage, [](TTaxForm& form) {
        DataSet& taxes = *form.TaxDBG()->dataSet();
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        EXPECT_EQ(cellText(form.TaxDBG(), "value", 0), "20,00");
        taxes.locate("taxid", 1);
        const int before = updatesRun(db());
        form.DefaultButton()->click();
        EXPECT_EQ(updatesRun(db()), before);

        taxes.locate("taxid", 2);
        const int row = taxes.currentRow();
        form.DefaultButton()->click();
        EXPECT_EQ(taxes.currentRow(), row);
        EXPECT_EQ(form.TaxDBG()->currentIndex().row(), row);
        EXPECT_EQ(cellOf(form.TaxDBG(), "name", row).data(Qt::BackgroundRole).value<QColor>(), QColor(0xC0, 0xC0, 0xC0));
        EXPECT_FALSE(cellOf(form.TaxDBG(), "name", 0).data(Qt::BackgroundRole).isValid());
        // Administering, a double-click picks nothing and the window stays.
        doubleClickCell(form.TaxDBG(), "name", 1);
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });
    EXPECT_ROWS(rowsOf(db(), "SELECT taxid, status FROM tax ORDER BY taxid"),
                (QStringList{"1|standard", "2|primary", "3|standard"}));
    EXPECT_EQ(dm().GetDefaultTaxID(), 2);
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(RefWindows, WarehouseNameSearchPickingLookUpsTheDefaultAndCodedColumns)
{
    sql("INSERT INTO currency (code, name) VALUES ('RSD', 'Dinar'), ('EUR', 'Evro')");
    // By name: Centar SKA, Dimaco, Magacin Novi Sad, MALOPRODAJA, Šabac, Stari magacin (inactive).
    sql("INSERT INTO warehouse (warehouseid, name, code, pricetype, warehousecurrency, active, status) VALUES "
        "(1, 'Magacin Novi Sad', 'NS', 'v', 'RSD', 1, 'primary'), (2, 'MALOPRODAJA', 'MP', 'm', 'RSD', 1, "
        "'standard'), (3, 'Dimaco', 'DI', '', 'EUR', 1, 'standard'), (4, 'Centar SKA', 'CS', 'm', NULL, 1, "
        "'standard'), (5, 'Stari magacin', 'ST', 'v', 'RSD', 0, 'standard'), (6, 'Šabac', 'SA', 'v', 'RSD', 1, "
        "'standard')");
    ScriptedDialogs script;
    inModal<TWarehouseForm>(WarehouseManage, [&script](TWarehouseForm& form) {
        // Enter in the name field searches from the first row. Only A-Z
        // fold; the inactive warehouse is not listed. No match (nullptr):
        // the first row and a warning.
        const QPair<const char*, const char*> cases[] = {
            {"%ska", "Centar SKA"}, {"Ma", "Magacin Novi Sad"} /* not Dimaco */, {"Ma%xyz", "Magacin Novi Sad"},
            {"%%dima", "Dimaco"},   {"%", "Centar SKA"},       {"ŠABAC", "Šabac"},
            {"šabac", nullptr},     {"Stari", nullptr},        {"Zrenjanin", nullptr}};
        for (const auto& [text, found] : cases) {
            script.clear();
            form.NameEdit()->setText(QString::fromUtf8(text));
            QTest::keyClick(form.NameEdit(), Qt::Key_Return);
            EXPECT_EQ(current(form), QString::fromUtf8(found ? found : "Centar SKA")) << text;
            EXPECT_ROWS(script.messages(), found ? QStringList() : QStringList{WAREHOUSE_NAME_LOC_WRN}) << text;
        }
        EXPECT_TRUE(form.isVisible());

        // Looking up by identifier finds the inactive warehouse the list leaves out.
        EXPECT_TRUE(form.ActiveWarehouseCB()->isChecked());
        EXPECT_EQ(form.WarehouseDBG()->model()->rowCount(), 5);
        TWarehouseDesc desc;
        desc.id = 5;
        EXPECT_TRUE(GetWarehouse(desc, true));
        EXPECT_EQ(desc.name, QStringLiteral("Stari magacin"));
        form.CloseButton()->click();
    });

    TWarehouseDesc desc;
    desc.id = 1;
    inModal<TWarehouseForm>([&] { EXPECT_TRUE(GetWarehouse(desc, false)); }, [](TWarehouseForm& form) {
        // The incoming identifier does not position the list.
        EXPECT_EQ(current(form), "Centar SKA");
        doubleClickCell(form.WarehouseDBG(), "code", 1); // Dimaco
    });
    // An empty price type reads as wholesale.
    EXPECT_EQ(desc.id, 3);
    EXPECT_EQ(desc.name, "Dimaco");
    EXPECT_EQ(desc.currency, "EUR");
    EXPECT_EQ(desc.priceType, QLatin1Char('v'));
    desc = TWarehouseDesc();
    desc.id = 3;
    ASSERT_TRUE(GetWarehouse(desc, true));
    EXPECT_EQ(desc.priceType, QLatin1Char('v'));
    qint32 id = 42;
    QString name = QStringLiteral("x");
    EXPECT_FALSE(GetWarehouse(id, name, true));
    EXPECT_EQ(name, QStringLiteral("x"));

    // The default needs the whole list, and coded columns change only through
    // their pick lists. Every row is posted, and a row without a price type cannot be.
    sql("UPDATE warehouse SET pricetype = 'v' WHERE pricetype = ''");
    script.clear();
    inModal<TWarehouseForm>(WarehouseManage, [&script](TWarehouseForm& form) {
        DBGrid* grid = form.WarehouseDBG();
        DataSet& list = *grid->dataSet();
        list.locate(QStringLiteral("warehouseid"), 2);
        const int before = updatesRun(db());
        form.DefaultButton()->click();
        EXPECT_ROWS(script.messages(), QStringList{WARE_ACTIVE_WRN});
        EXPECT_EQ(updatesRun(db()), before);

        form.ActiveWarehouseCB()->click();
        EXPECT_EQ(grid->model()->rowCount(), 6);
        list.locate(QStringLiteral("warehouseid"), 1);
        form.DefaultButton()->click(); // already the default: nothing written
        EXPECT_EQ(updatesRun(db()), before);
        list.locate(QStringLiteral("warehouseid"), 5);
        const int row = list.currentRow();
        form.DefaultButton()->click();
        EXPECT_EQ(list.fieldByName(QStringLiteral("warehouseid")).asInteger(), 5);
        EXPECT_EQ(cellOf(grid, QStringLiteral("name"), row).data(Qt::BackgroundRole).value<QColor>(),
                  QColor(0xC0, 0xC0, 0xC0));
        EXPECT_ROWS(script.messages(), QStringList{WARE_ACTIVE_WRN});

        EXPECT_ROWS(form.PickLists()->pickList(QStringLiteral("warehousecurrency")), (QStringList{"EUR", "RSD", ""}));
        // Row 0 is Centar SKA: typing, Backspace and Delete do nothing in a coded column.
        grid->setFocus();
        grid->setCurrentIndex(cellOf(grid, QStringLiteral("pricetype"), 0));
        QTest::keyClicks(grid, QStringLiteral("v"));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_FALSE(list.isEditing());
        EXPECT_EQ(openEditor(grid), nullptr);
        // ... but do start editing a plain one.
        grid->setCurrentIndex(cellOf(grid, QStringLiteral("city"), 0));
        QTest::keyClicks(grid, QStringLiteral("N"));
        QWidget* editor = openEditor(grid);
        ASSERT_NE(qobject_cast<QLineEdit*>(editor), nullptr);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // The list's caption is stored as its code.
        const QModelIndex priceCell = cellOf(grid, QStringLiteral("pricetype"), 0);
        grid->setCurrentIndex(priceCell);
        grid->edit(priceCell);
        auto* combo = grid->viewport()->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->currentText(), PRICE_RETAIL_CAP);
        combo->setCurrentText(PRICE_WHOLESALE_CAP);
        emit combo->activated(combo->currentIndex());
        form.WarehouseNavigator()->button(DBNavigator::Post)->click();
        form.CloseButton()->click();
    });
    EXPECT_ROWS(script.messages(), QStringList{WARE_ACTIVE_WRN});
    // The one primary, the five others, and Centar SKA as the pick list left it.
    EXPECT_ROWS(rowsOf(db(), "SELECT warehouseid FROM warehouse WHERE status = 'primary'"), QStringList{"5"});
    EXPECT_EQ(text("SELECT COUNT(*) FROM warehouse WHERE status = 'standard'"), "5");
    EXPECT_ROWS(rowsOf(db(), "SELECT pricetype, city FROM warehouse WHERE warehouseid = 4"), QStringList{"v|-"});
    EXPECT_EQ(dm().GetDefWarehouseID(), 5);
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

TEST_F(RefWindows, AttributeFilterPickingAndLookUps)
{
    insertAttributes();
    ScriptedDialogs script;
    inModal<TAttributeForm>(AttributeManage, [](TAttributeForm& form) {
        DataSet& attributes = *form.AttributeDBG()->dataSet();
        EXPECT_FALSE(form.AttributeValueClear()->isEnabled());

        // Wildcards keep their meaning; quotes and backslashes are plain text. An
        // empty filter lists everything, yet counts as filtered.
        const std::pair<const char*, QStringList> filters[] = {
            {"Cr", {"Crvena", "Crna"}}, {"_r", {"Crvena", "Crna"}}, {"O'N", {"O'Neil plava"}}, {"C\\", {"C\\"}},
            {"C%", {"Crvena", "Crna", "C\\", "C%"}}, {"", {"Crvena", "Crna", "Bela", "O'Neil plava", "C\\", "C%"}}};
        for (const auto& [filter, values] : filters) {
            filterBy(form, QString::fromUtf8(filter));
            EXPECT_ROWS(shownValues(form), values) << filter;
            EXPECT_TRUE(form.AttributeValueClear()->isEnabled());
        }

        // Another attribute shows all its values; the filter text stays.
        filterBy(form, QStringLiteral("Bel"));
        attributes.next();
        EXPECT_ROWS(shownValues(form), (QStringList{"S", "M", "L"}));
        EXPECT_FALSE(form.AttributeValueClear()->isEnabled());
        EXPECT_EQ(form.FilterEdit()->text(), QStringLiteral("Bel"));
        // The re-read values still fill the grid's width.
        EXPECT_EQ(form.AttributeValueDBG()->horizontalHeader()->length(),
                  form.AttributeValueDBG()->viewport()->width());

        filterBy(form, QStringLiteral("M"));
        form.AttributeValueClear()->trigger();
        EXPECT_ROWS(shownValues(form), (QStringList{"S", "M", "L"}));
        EXPECT_TRUE(form.FilterEdit()->text().isEmpty());
        EXPECT_FALSE(form.AttributeValueClear()->isEnabled());

        // Enter in the filter field filters and leaves the window open.
        form.FilterEdit()->setText(QStringLiteral("L"));
        QTest::keyClick(form.FilterEdit(), Qt::Key_Return);
        EXPECT_ROWS(shownValues(form), QStringList{"L"});
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();

    qint32 attributeId = 0;
    qint32 valueId = 0;
    QString attribute;
    QString value;
    bool required = true;
    const auto pick = [&] { EXPECT_TRUE(GetAttribute(attributeId, attribute, required, valueId, value, false)); };
    inModal<TAttributeForm>(pick, [](TAttributeForm& form) {
        clickCell(form.AttributeDBG(), "attribute", 2); // Materijal: no values
        form.OKButton()->click();
        EXPECT_TRUE(form.isVisible());
        doubleClickCell(form.AttributeDBG(), "attribute", 2);
        EXPECT_TRUE(form.isVisible());
        clickCell(form.AttributeDBG(), "attribute", 1);
        doubleClickCell(form.AttributeValueDBG(), "attributevalue", 1);
    });
    EXPECT_EQ(attributeId, 2);
    EXPECT_EQ(attribute, "Veličina");
    EXPECT_FALSE(required);
    EXPECT_EQ(valueId, 22);
    EXPECT_EQ(value, "M");

    attribute.clear();
    required = true;
    valueId = 23;
    ASSERT_TRUE(GetAttribute(attributeId, attribute, required, valueId, value, true));
    EXPECT_EQ(value, QStringLiteral("L"));
    valueId = 11; // a value of Boja
    EXPECT_FALSE(GetAttribute(attributeId, attribute, required, valueId, value, true));
    attributeId = 9;
    EXPECT_FALSE(GetAttribute(attributeId, attribute, required, valueId, value, true));
    EXPECT_EQ(attribute, "Veličina");
    EXPECT_FALSE(required);
    EXPECT_EQ(value, "L");
}

TEST_F(RefWindows, CategoryRebateAndMarginFollowEachOtherOnlyThePostedEditIsKeptAndAtMostFiveAttributes)
{
    sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
        "(1, 0, 'Pića', 10, 5, 7)");
    ScriptedDialogs script;
    inModal<TCategoryPrRebateForm>([&] { CategoryPrRebateManage(1); }, [](TCategoryPrRebateForm& form) {
        DBGrid* grid = form.CategoryPrRebateDBG();
        DataSet& category = *grid->dataSet();
        EXPECT_EQ(cellText(grid, QStringLiteral("maxmargin"), 0), QStringLiteral("11,11"));
        EXPECT_TRUE(setCell(grid, QStringLiteral("maxrebate"), 0, QStringLiteral("0")));
        EXPECT_EQ(cellText(grid, QStringLiteral("maxmargin"), 0), QStringLiteral("0,00"));
        EXPECT_TRUE(setCell(grid, QStringLiteral("maxrebate"), 0, QStringLiteral("20")));
        EXPECT_EQ(cellText(grid, QStringLiteral("maxmargin"), 0), QStringLiteral("25,00"));
        EXPECT_TRUE(setCell(grid, QStringLiteral("maxmargin"), 0, QStringLiteral("25")));
        EXPECT_EQ(cellText(grid, QStringLiteral("maxrebate"), 0), QStringLiteral("20,00"));
        EXPECT_TRUE(setCell(grid, QStringLiteral("webrebate"), 0, QStringLiteral("3.5")));

        // No key reaches or makes a second row, nor deletes this one.
        grid->setFocus();
        for (int key : {int(Qt::Key_Down), int(Qt::Key_Tab)})
            QTest::keyClick(grid, Qt::Key(key));
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(category.recordCount(), 1);
        EXPECT_EQ(category.state(), DataSetState::Edit);

        form.CategoryPrNavigator()->button(DBNavigator::Post)->click();
        EXPECT_FALSE(category.isEditing());
        // An edit left unposted when the window closes is not written.
        EXPECT_TRUE(setCell(grid, QStringLiteral("b2brebate"), 0, QStringLiteral("9")));
        form.CloseButton()->click();
    });
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_ROWS(rowsOf(db(), "SELECT maxrebate, webrebate, b2brebate FROM categorypr"), QStringList{"20|3.5|7"});

    // The row is read afresh each time the window opens; a rebate of 100 % has no margin.
    sql("UPDATE categorypr SET maxrebate = 100 WHERE categoryprid = 1");
    inModal<TCategoryPrRebateForm>([&] { CategoryPrRebateManage(1); }, [](TCategoryPrRebateForm& form) {
        EXPECT_EQ(cellText(form.CategoryPrRebateDBG(), QStringLiteral("maxmargin"), 0), QString());
        form.CloseButton()->click();
    });

    // At most five attributes to a category; adding names the picked attribute.
    insertAttributes();
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (2, 0, 'Sokovi')");
    sql("INSERT INTO categoryprattribute (categoryprid, attributeprid, catattribute) VALUES "
        "(2, 1, 'Boja'), (2, 2, 'Veličina'), (2, 3, 'Materijal'), (2, 4, 'Ukus'), (2, 5, 'Pakovanje')");
    int pickers = 0;
    ScopedModalHandler manage([&](QDialog& dialog) {
        if (auto* picker = dynamic_cast<TAttributeForm*>(&dialog)) {
            ++pickers;
            picker->AttributeDBG()->dataSet()->locate(QStringLiteral("attributeprid"), 6);
            picker->AttributeValueDBG()->dataSet()->last();
            picker->OKButton()->click();
            return dialog.result();
        }
        auto& form = dynamic_cast<TCategoryPrAttributeForm&>(dialog);
        DBGrid* grid = form.CategoryPrAttributeDBG();
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        form.AddButton()->click();
        EXPECT_ROWS(script.messages(), QStringList{CAT_MAX_ATTRIBUTE_ERR});
        EXPECT_EQ(script.shown().first().kind, MessageKind::Error);
        EXPECT_EQ(pickers, 0);

        grid->dataSet()->locate(QStringLiteral("catattribute"), QStringLiteral("Ukus"));
        script.answer(ButtonYes);
        form.CategoryPrAttributeNavigator()->button(DBNavigator::Delete)->click();
        form.AddButton()->click();
        EXPECT_EQ(pickers, 1);
        EXPECT_EQ(grid->model()->rowCount(), 5);
        EXPECT_EQ(grid->dataSet()->fieldByName(QStringLiteral("catattribute")).asString(), QStringLiteral("Zapremina"));
        form.CloseButton()->click();
        return dialog.result();
    });
    CategoryPrAttributeManage(2);
    EXPECT_ROWS(script.messages(), (QStringList{CAT_MAX_ATTRIBUTE_ERR, "Da li želite da izbrišete izabrani red?"}));
    // The picked value is not kept in the row.
    EXPECT_ROWS(rowsOf(db(), "SELECT attributeprid, catattribute, catattributevalue FROM categoryprattribute "
                             "ORDER BY attributeprid"),
                (QStringList{"1|Boja|", "2|Veličina|", "3|Materijal|", "5|Pakovanje|", "6|Zapremina|"}));
}
