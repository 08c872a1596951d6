// Windows driven as a user drives them: clicks on grid cells and buttons,
// typing into the focused widget, real modal loops (the windows and the
// message boxes) answered from a timer. Each case walks a path on which a
// window once crashed, lost what was typed or picked the wrong rows.

#include "Categoryunit.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Getproductunit.h"
#include "Modal.h"
#include "Productdetailunit.h"
#include "Productnavigatorunit.h"
#include "Productrebatepage.h"
#include "Productviewerunit.h"
#include "Productworkoperationspage.h"
#include "Pwodesceditorunit.h"
#include "Taxunit.h"
#include "UserDriving.h"
#include "test_editor_support.h"
#include "test_refwindows.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QToolButton* navigatorButton(QWidget* window, DBNavigator::Button which)
{
    for (DBNavigator* navigator : window->findChildren<DBNavigator*>())
        if (navigator->isVisible())
            return navigator->button(which);
    return nullptr;
}

// Clicks into a bound edit and types over its text.
void typeOver(QWidget* edit, const QString& text)
{
    click(edit);
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(text);
}

} // namespace

class UserPaths : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, type, active) VALUES "
            "(20, 'Sto', 'kom', 1, 300, 'RSD', 'p', 'y'), (21, 'Stolica', 'kom', 1, 90, 'RSD', 'r', 'y'),"
            "(22, 'Klupa', 'kom', 1, 120, 'RSD', 'r', 'y'), (23, 'Polica', 'kom', 1, 80, 'RSD', 'r', 'y')");
        sql("INSERT INTO productworkingoperation (productid, machinetype, machinenumber, description, sort) VALUES "
            "(20, 'Strug', 'S-1', 'Seći', 1), (20, 'Brusilica', 'B-7', '', 2)");
    }
    // Opens the window in its own modal loop; the step drives it.
    template <class Form>
    static void inWindow(const std::function<void()>& open, const std::function<void(Form&)>& step)
    {
        bool ran = false;
        onModal([&](QWidget& window) {
            step(dynamic_cast<Form&>(window));
            ran = true;
            if (window.isVisible())
                static_cast<QDialog&>(window).done(QDialog::Rejected);
        });
        open();
        EXPECT_TRUE(ran);
    }
    static void inEditor(qint64 productId, const std::function<void(TProductDetailForm&)>& step)
    {
        showProduct(productId);
        inWindow<TProductDetailForm>([] { OpenProductDetail(nullptr); }, step);
    }
};

TEST_F(UserPaths, TheDescriptionWindowOfAWorkingOperationStoresTheTextOnlyWhenConfirmed)
{
    LiveDialogs live;
    inEditor(20, [&](TProductDetailForm& form) {
        form.PageControl()->setCurrentWidget(form.WorkOperationsTS);
        DBGrid* grid = form.WorkOperationsTS->WorkingOperationDBG();
        // Cancelled first: nothing is edited; then confirmed.
        for (const bool confirm : {false, true}) {
            clickCell(grid, QStringLiteral("description"), 0);
            QTest::keyClick(grid, Qt::Key_F2);
            auto* ellipsis = grid->findChild<QToolButton*>(QStringLiteral("DescriptionEllipsis"));
            ASSERT_NE(ellipsis, nullptr);
            QString offered;
            onModal([&offered, confirm](QWidget& window) {
                auto& editor = dynamic_cast<TPWODescEditorForm&>(window);
                EXPECT_EQ(editor.windowTitle(), "Editor");
                offered = editor.PWODescMemo()->toPlainText();
                editor.PWODescMemo()->setFocus();
                QTest::keyClick(editor.PWODescMemo(), Qt::Key_End, Qt::ControlModifier);
                typeText(QStringLiteral(" na meru"));
                click(confirm ? editor.OKButton() : editor.CancelButton());
            });
            click(ellipsis);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(offered, "Seći");
            EXPECT_EQ(cellText(grid, QStringLiteral("description"), 0), confirm ? "Seći na meru" : "Seći");
            EXPECT_EQ(grid->dataSet()->isEditing(), confirm);
        }
        click(form.OKButton());
    });
    EXPECT_EQ(stored("SELECT description FROM productworkingoperation WHERE sort = 1").toString(), "Seći na meru");
    EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
}

TEST_F(UserPaths, ACategoryNameTheDatabaseRefusesIsShownAndTheTreeKeepsTheStoredOne)
{
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića')");
    const QString tooLong(55, QLatin1Char('x'));
    LiveDialogs live;
    live.answer(tooLong);
    inWindow<TCategoryForm>([] { CatManage(db()); }, [&](TCategoryForm& form) {
        QTreeWidget* tree = form.treeView();
        QTreeWidgetItem* drinks = tree->topLevelItem(0)->child(0);
        ASSERT_NE(drinks, nullptr);
        // Renaming in place: F2, type, Enter.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(drinks).center());
        QTest::keyClick(tree, Qt::Key_F2);
        typeText(tooLong);
        pressKey(Qt::Key_Return);
        QTest::qWait(20);
        EXPECT_EQ(drinks->text(0), "Pića");
        // Adding under it: Ctrl+Insert and a name that is too long.
        QTest::keyClick(tree, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(drinks->childCount(), 0);
        EXPECT_EQ(live.messages().size(), 3) << live.messages().join('\n').toStdString();
        for (const QString& said : {live.messages().value(0), live.messages().value(2)})
            EXPECT_TRUE(said.contains("1406")) << said.toStdString();
        pressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(stored("SELECT GROUP_CONCAT(name) FROM categorypr").toString(), "Pića");
}

TEST_F(UserPaths, WhatIsTypedIntoAGridCellIsPostedByTheNavigatorOrDroppedByItsCancel)
{
    LiveDialogs live;
    inWindow<TTaxForm>(TaxManage, [&](TTaxForm& form) {
        DBGrid* grid = form.TaxDBG();
        // A new rate: +, its name, then its value, and ✓ with the cell still open.
        click(navigatorButton(&form, DBNavigator::Insert));
        const int row = grid->dataSet()->currentRow();
        clickCell(grid, QStringLiteral("name"), row);
        typeText(QStringLiteral("Snizena"));
        clickCell(grid, QStringLiteral("value"), row);
        typeText(QStringLiteral("8"));
        click(navigatorButton(&form, DBNavigator::Post));
        // Typing into a stored rate's cell offers ✓ and ✗ at once; ✗ drops it.
        clickCell(grid, QStringLiteral("value"), 0);
        typeText(QStringLiteral("33"));
        EXPECT_TRUE(navigatorButton(&form, DBNavigator::Post)->isEnabled());
        ASSERT_TRUE(navigatorButton(&form, DBNavigator::Cancel)->isEnabled());
        click(navigatorButton(&form, DBNavigator::Cancel));
        EXPECT_EQ(grid->dataSet()->state(), DataSetState::Browse);
        EXPECT_EQ(openEditor(grid), nullptr);
        click(form.CloseButton());
    });
    EXPECT_EQ(stored("SELECT value FROM tax WHERE name = 'Snizena'").toDouble(), 8.0);
    EXPECT_EQ(stored("SELECT value FROM tax WHERE taxid = 1").toDouble(), 20.0);
    EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
}

TEST_F(UserPaths, ClickedProductsArePickedInTheOrderTheyWereClicked)
{
    LiveDialogs live;
    QStringList clicked;
    TProductDescArr picked;
    inWindow<TGetProductForm>([&] { EXPECT_TRUE(ProductGet(picked)); }, [&](TGetProductForm& form) {
        click(form.navigator()->FindButton());
        DBGrid* grid = form.viewer()->DBG();
        const QStringList names = columnTexts(grid, QStringLiteral("name"));
        ASSERT_GE(names.size(), 5);
        for (const int row : {2, 0, 4, 1, 1}) {
            clickCell(grid, QStringLiteral("name"), row);
            if (row != 1)
                clicked << names[row];
        }
        click(form.okButton());
    });
    QStringList names;
    for (const TProductDesc& desc : picked)
        names << desc.name;
    // Row 2 clicked twice is unmarked again.
    EXPECT_EQ(names, clicked);
}

TEST_F(UserPaths, ARefusedApplyStopsTheActionThatAppliesFirst)
{
    sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
        "(1, 0, 'Nameštaj', 5, 10, 15)");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 1)");
    sql("INSERT INTO productdetail (productid, webprice, b2bprice) VALUES (10, 1, 2)");
    LiveDialogs live;
    inEditor(10, [&](TProductDetailForm& form) {
        typeOver(form.UnitNameDBE, QString());
        typeOver(form.PriceDBE, QStringLiteral("500"));
        form.PageControl()->setCurrentWidget(form.DetailsTS);
        click(form.DetailsTS->findChild<QPushButton*>(QStringLiteral("LoadDetailsFromCategoryButton")));
        EXPECT_EQ(live.messages(), QStringList{"Polje \"JM\" mora biti popunjeno."});
        live.answer(ButtonNo);
        click(form.CancelButton());
    });
    EXPECT_EQ(text("SELECT CONCAT(webprice, ' ', b2bprice) FROM productdetail WHERE productid = 10"), "1 2");
    EXPECT_EQ(text("SELECT CONCAT(price, ' ', unitname) FROM product WHERE productid = 10"), "100 kom");
}

TEST_F(UserPaths, ANewWorkingOperationTakesItsPlaceByPositionAndMovesUpFromThere)
{
    LiveDialogs live;
    inEditor(20, [&](TProductDetailForm& form) {
        form.PageControl()->setCurrentWidget(form.WorkOperationsTS);
        DBGrid* grid = form.WorkOperationsTS->WorkingOperationDBG();
        clickCell(grid, QStringLiteral("machinetype"), 0);
        click(navigatorButton(form.WorkOperationsTS, DBNavigator::Insert));
        clickCell(grid, QStringLiteral("machinenumber"), grid->dataSet()->currentRow());
        typeText(QStringLiteral("P-1"));
        click(navigatorButton(form.WorkOperationsTS, DBNavigator::Post));
        EXPECT_EQ(columnTexts(grid, QStringLiteral("machinenumber")), (QStringList{"S-1", "B-7", "P-1"}));
        EXPECT_EQ(grid->currentIndex().row(), 2);
        form.WorkOperationsTS->WOItemMoveUp()->trigger();
        EXPECT_EQ(columnTexts(grid, QStringLiteral("machinenumber")), (QStringList{"S-1", "P-1", "B-7"}));
        click(form.OKButton());
    });
    EXPECT_EQ(stored("SELECT GROUP_CONCAT(machinenumber ORDER BY sort) FROM productworkingoperation").toString(),
              "S-1,P-1,B-7");
    EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
}

TEST_F(UserPaths, EnterAfterAPickListChoiceStaysInTheRebateGrid)
{
    LiveDialogs live;
    inEditor(10, [&](TProductDetailForm& form) {
        form.PageControl()->setCurrentWidget(form.RebateTS);
        click(navigatorButton(form.RebateTS, DBNavigator::Insert));
        DBGrid* grid = form.RebateTS->findChild<DBGrid*>(QStringLiteral("RebateDBG"));
        clickCell(grid, QStringLiteral("quantity"), 0);
        typeText(QStringLiteral("10"));
        pressKey(Qt::Key_Return);
        clickCell(grid, QStringLiteral("rebatetype"), 0);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* types = qobject_cast<QComboBox*>(openEditor(grid));
        ASSERT_NE(types, nullptr);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        pressKey(Qt::Key_Return);
        pressKey(Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(cellText(grid, QStringLiteral("rebatetype"), 0), "I");
        click(form.OKButton());
    });
    EXPECT_EQ(text("SELECT CONCAT(quantity, rebatetype) FROM productrebate WHERE productid = 10"), "10I");
}

TEST_F(UserPaths, CancelDropsAnInvalidPriceWithoutAWord)
{
    LiveDialogs live;
    bool closed = false;
    inEditor(10, [&](TProductDetailForm& form) {
        typeOver(form.PriceDBE, QStringLiteral("12a"));
        click(form.CancelButton());
        closed = !form.isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
    EXPECT_EQ(stored("SELECT price FROM product WHERE productid = 10").toDouble(), 100.0);
}

TEST_F(UserPaths, ApplyingByKeyboardFromTheActiveBoxOfAStockedProductIsRefused)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (10, 1, 4)");
    LiveDialogs live;
    inEditor(10, [&](TProductDetailForm& form) {
        typeOver(form.NameDBE, QStringLiteral("Mleko 1l"));
        form.ActiveDBCB->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(form.ActiveDBCB->isChecked());
        // Alt+P presses "Primeni" (a moment later, as a pressed button does).
        QTest::keyClick(form.ActiveDBCB, Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(!live.messages().isEmpty());
        EXPECT_EQ(live.messages(),
                  QStringList{"Ne možete deaktivirati ovaj proizvod, jer su količine u magacinima različite od nule."});
        live.answer(ButtonNo);
        click(form.CancelButton());
    });
    EXPECT_EQ(stored("SELECT name FROM product WHERE productid = 10").toString(), "Mleko");
}

TEST_F(UserPaths, TheListOpensTheEditorByKeypadEnterAndItsTitlesShowTheSearchOrder)
{
    LiveDialogs live;
    TGetProductForm form;
    int opened = 0;
    TProductViewerForm::Windows windows;
    windows.productEditor = [&opened] { ++opened; };
    form.viewer()->setWindows(windows);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    click(form.navigator()->FindButton());
    DBGrid* grid = form.viewer()->DBG();
    QHeaderView* header = grid->horizontalHeader();
    const int code = grid->dataModel()->columnOf(grid->dataSet()->findField(QStringLiteral("code")));
    const int name = grid->dataModel()->columnOf(grid->dataSet()->findField(QStringLiteral("name")));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(code) + header->sectionSize(code) / 2, header->height() / 2));
    EXPECT_EQ(header->sortIndicatorSection(), code);
    click(form.navigator()->FindButton());
    EXPECT_EQ(grid->dataSet()->sortedFields().section(QLatin1Char(' '), 0, 0), "name");
    EXPECT_EQ(header->sortIndicatorSection(), name);

    clickCell(grid, QStringLiteral("name"), 0);
    QTest::keyClick(grid, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(opened, 2);
}
