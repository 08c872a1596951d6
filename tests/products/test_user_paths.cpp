// Windows driven as a user drives them: clicks on grid cells and buttons,
// typing into the focused widget, real modal loops (the windows and the
// message boxes) answered from a timer. Each case walks a path on which a
// window once crashed, lost what was typed or picked the wrong rows.
//
// Every window of the module, used the same way: opened in its own modal
// loop; in every grid that edits, a row is started (the navigator's + when
// it has one), every editable cell typed into and the row posted with the
// navigator's ✓; then a text longer than its column is typed and posted, so
// the save path meets a database error; then the window is closed each way
// it can be closed (Escape, the close box, its own button). Nothing may
// crash, every refusal must be said, and no refused row may stay behind.
// Last, the server itself refuses every write to a grid's table.

#include "Alterproductunit.h"
#include "Attributeunit.h"
#include "Categoryprattributeunit.h"
#include "Categoryprrebateunit.h"
#include "Categoryunit.h"
#include "CustomDetailForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Getproductunit.h"
#include "HostStrings.h"
#include "Inventoryallwarehousesunit.h"
#include "Inventoryunit.h"
#include "Productdetailunit.h"
#include "Productnavigatorunit.h"
#include "Productproductsunit.h"
#include "Productrebatepage.h"
#include "Productviewerunit.h"
#include "Productworkoperationspage.h"
#include "Pwodesceditorunit.h"
#include "QueryDataSet.h"
#include "Stocksoverviewunit.h"
#include "Taxunit.h"
#include "Turnoverallwarehousesunit.h"
#include "Warehouseunit.h"
#include "test_user_paths.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// A window's title, and how it is shown modally.
using Window = std::pair<const char*, std::function<void()>>;

// Brings a grid on a hidden page of a tab control into view.
void showPageOf(QWidget* widget, QWidget* window)
{
    for (QWidget* w = widget; w && w != window; w = w->parentWidget())
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                if (tabs->isTabVisible(tabs->indexOf(w)))
                    tabs->setCurrentWidget(w);
}

// The window's visible navigator (of the dataset, when one is named).
DBNavigator* navigatorOf(QWidget* window, const DataSet* ds = nullptr)
{
    for (DBNavigator* navigator : window->findChildren<DBNavigator*>())
        if ((!ds || navigator->dataSet() == ds) && navigator->isVisible())
            return navigator;
    return nullptr;
}

QString sampleFor(const Field& field, int round)
{
    switch (field.dataType()) {
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Float: return QString::number(3 + round);
    case FieldType::Date: return QStringLiteral("2026-01-0%1").arg(round + 1);
    case FieldType::String: return QStringLiteral("Sw%1").arg(round);
    default: return QString();
    }
}

// Types the text into the cell as a user does: a click, then the keys.
void typeIntoCell(DBGrid* grid, int row, int column, const QString& text)
{
    grid->scrollTo(grid->model()->index(row, column));
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    typeText(text);
}

// Clicks the button of the grid's navigator; false when there is none to click.
bool press(QWidget& window, DBGrid* grid, DBNavigator::Button which)
{
    DBNavigator* navigator = navigatorOf(&window, grid->dataSet());
    QToolButton* button = navigator ? navigator->button(which) : nullptr;
    const bool usable = button && button->isVisible() && button->isEnabled();
    if (usable)
        click(button);
    return usable;
}

// Starts a row of the grid: the navigator's + or the first row.
int startRow(QWidget& window, DBGrid* grid)
{
    press(window, grid, DBNavigator::Insert);
    return grid->dataSet()->isEmpty() ? -1 : grid->dataSet()->currentRow();
}

void post(QWidget& window, DBGrid* grid)
{
    if (!press(window, grid, DBNavigator::Post))
        pressKey(Qt::Key_Return);
}

void dropEdit(QWidget& window, DBGrid* grid)
{
    if (!press(window, grid, DBNavigator::Cancel) && grid->dataSet()->isEditing())
        grid->dataSet()->cancel();
}

QList<int> editableColumns(DBGrid* grid)
{
    QList<int> columns;
    if (grid->editTriggers() == QAbstractItemView::NoEditTriggers)
        return columns;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c) && !grid->fieldOfSection(c)->readOnly())
            columns << c;
    return columns;
}

// Starts a row and types into the columns; false when no row could be started.
bool typeRow(QWidget& window, DBGrid* grid, const QList<int>& columns, int round)
{
    const int row = startRow(window, grid);
    for (int c : columns)
        if (row >= 0)
            typeIntoCell(grid, row, c, sampleFor(*grid->fieldOfSection(c), round));
    return row >= 0;
}

// Posts the row; a list kept until the window saves meets the database there.
void postAndSave(QWidget& window, DBGrid* grid)
{
    post(window, grid);
    auto* editor = qobject_cast<TCustomDetailForm*>(&window);
    if (editor && !grid->dataSet()->isEditing() && editor->ApplyButton()->isEnabled())
        click(editor->ApplyButton());
}

QPushButton* closingButton(QWidget& window)
{
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        const QString text = button->text().remove(QLatin1Char('&'));
        if (button->isVisible() && (text == "Zatvori" || text == "Otkaži" || text == CMN_CAPTION_CLOSE))
            return button;
    }
    return nullptr;
}

// Closes the window by its own button, or its close box; unsaved work is
// dropped when the window asks.
void closeDropping(QWidget& window, LiveDialogs& live)
{
    live.answer(ButtonNo);
    if (QPushButton* button = closingButton(window))
        click(button);
    if (window.isVisible())
        window.close();
}

} // namespace

// A rebate type chosen from its list (Down, then Enter twice) leaves no cell
// editor for the description window's modal loop to meet. A new operation
// goes in after the row it was added on and moves up from there; the
// description window stores its text only when confirmed.
TEST_F(UserPaths, ANewOperationTakesItsPlaceByPositionAndTheDescriptionWindowStoresTheTextOnlyWhenConfirmed)
{
    inEditor(20, [&](TProductDetailForm& form) {
        form.PageControl()->setCurrentWidget(form.RebateTS);
        DBGrid* rebates = form.RebateTS->findChild<DBGrid*>(QStringLiteral("RebateDBG"));
        click(navigatorOf(form.RebateTS)->button(DBNavigator::Insert));
        clickCell(rebates, QStringLiteral("quantity"), 0);
        typeText(QStringLiteral("10"));
        pressKey(Qt::Key_Return);
        clickCell(rebates, QStringLiteral("rebatetype"), 0);
        pressKey(Qt::Key_F2);
        pressKey(Qt::Key_Down);
        pressKey(Qt::Key_Return);
        pressKey(Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << "Enter stays in the rebate grid";
        EXPECT_EQ(cellText(rebates, QStringLiteral("rebatetype"), 0), "I");

        form.PageControl()->setCurrentWidget(form.WorkOperationsTS);
        DBGrid* grid = form.WorkOperationsTS->WorkingOperationDBG();
        clickCell(grid, QStringLiteral("machinetype"), 0);
        click(navigatorOf(form.WorkOperationsTS)->button(DBNavigator::Insert));
        clickCell(grid, QStringLiteral("machinenumber"), grid->dataSet()->currentRow());
        typeText(QStringLiteral("P-1"));
        click(navigatorOf(form.WorkOperationsTS)->button(DBNavigator::Post));
        EXPECT_ROWS(columnTexts(grid, QStringLiteral("machinenumber")), (QStringList{"S-1", "B-7", "P-1"}));
        EXPECT_EQ(grid->currentIndex().row(), 2);
        form.WorkOperationsTS->WOItemMoveUp()->trigger();
        EXPECT_ROWS(columnTexts(grid, QStringLiteral("machinenumber")), (QStringList{"S-1", "P-1", "B-7"}));
        // Cancelled first: nothing is edited; then confirmed.
        for (const bool confirm : {false, true}) {
            clickCell(grid, QStringLiteral("description"), 0);
            QTest::keyClick(grid, Qt::Key_F2);
            auto* ellipsis = grid->findChild<QToolButton*>(QStringLiteral("DescriptionEllipsis"));
            ASSERT_NE(ellipsis, nullptr);
            QString offered;
            onModal([&offered, confirm](QWidget& window) {
                auto& editor = dynamic_cast<TPWODescEditorForm&>(window);
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
    EXPECT_ROWS(rowsOf(db(), "SELECT machinenumber, IFNULL(description, '') FROM productworkingoperation ORDER BY sort"),
                (QStringList{"S-1|Seći na meru", "P-1|", "B-7|"}));
    EXPECT_ROWS(rowsOf(db(), "SELECT quantity, rebatetype FROM productrebate WHERE productid = 20"), QStringList{"10|I"});
    EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
}

TEST_F(UserPaths, ACategoryNameTheDatabaseRefusesIsShownAndATaxCellIsPostedByTheNavigatorOrDroppedByItsCancel)
{
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića')");
    const QString tooLong(55, QLatin1Char('x'));
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
        for (const int box : {0, 2}) {
            EXPECT_EQ(live.messages().value(box), QStringLiteral("Tekst polja \"name\" je predugačak. Skratite ga pa sačuvajte ponovo."));
            EXPECT_TRUE(live.details().value(box).contains("1406")) << live.details().value(box).toStdString();
        }
        pressKey(Qt::Key_Escape);
    });
    EXPECT_ROWS(rowsOf(db(), "SELECT name FROM categorypr"), QStringList{"Pića"});
    live.reset();

    // What is typed into a grid cell is posted by the navigator or dropped by its cancel.
    inWindow<TTaxForm>(TaxManage, [&](TTaxForm& form) {
        DBGrid* grid = form.TaxDBG();
        // A new rate: +, its name, then its value, and ✓ with the cell still open.
        click(navigatorOf(&form)->button(DBNavigator::Insert));
        const int row = grid->dataSet()->currentRow();
        clickCell(grid, QStringLiteral("name"), row);
        typeText(QStringLiteral("Snizena"));
        clickCell(grid, QStringLiteral("value"), row);
        typeText(QStringLiteral("8"));
        click(navigatorOf(&form)->button(DBNavigator::Post));
        // Typing into a stored rate's cell offers ✓ and ✗ at once; ✗ drops it.
        clickCell(grid, QStringLiteral("value"), 0);
        typeText(QStringLiteral("33"));
        EXPECT_TRUE(navigatorOf(&form)->button(DBNavigator::Post)->isEnabled());
        ASSERT_TRUE(navigatorOf(&form)->button(DBNavigator::Cancel)->isEnabled());
        click(navigatorOf(&form)->button(DBNavigator::Cancel));
        EXPECT_EQ(grid->dataSet()->state(), DataSetState::Browse);
        EXPECT_EQ(openEditor(grid), nullptr);
        click(form.CloseButton());
    });
    EXPECT_ROWS(rowsOf(db(), "SELECT name, value FROM tax ORDER BY taxid"),
                (QStringList{"PDV 20|20", "PDV 10|10", "Snizena|8"}));
    EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
}

// A row clicked twice is unmarked again; Ctrl+Enter, from the keypad too,
// opens the editor; the titles show the search order.
TEST_F(UserPaths, ClickedProductsArePickedInTheOrderTheyWereClickedAndCtrlEnterOpensTheEditor)
{
    QStringList clicked;
    TProductDescArr picked;
    int opened = 0;
    inWindow<TGetProductForm>([&] { EXPECT_TRUE(ProductGet(picked)); }, [&](TGetProductForm& form) {
        TProductViewerForm::Windows windows;
        windows.productEditor = [&opened] { ++opened; };
        form.viewer()->setWindows(windows);
        click(form.navigator()->FindButton());
        DBGrid* grid = form.viewer()->DBG();
        QHeaderView* header = grid->horizontalHeader();
        const int code = grid->dataModel()->columnOf(grid->dataSet()->findField(QStringLiteral("code")));
        const int name = grid->dataModel()->columnOf(grid->dataSet()->findField(QStringLiteral("name")));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(code) + header->sectionSize(code) / 2,
                                 header->height() / 2));
        EXPECT_EQ(header->sortIndicatorSection(), code);
        click(form.navigator()->FindButton());
        EXPECT_EQ(grid->dataSet()->sortedFields().section(QLatin1Char(' '), 0, 0), "name");
        EXPECT_EQ(header->sortIndicatorSection(), name);

        const QStringList names = columnTexts(grid, QStringLiteral("name"));
        ASSERT_GE(names.size(), 5);
        for (const int row : {2, 0, 4, 1, 1}) {
            clickCell(grid, QStringLiteral("name"), row);
            if (row != 1)
                clicked << names[row];
        }
        QTest::keyClick(grid, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(opened, 2);
        click(form.okButton());
    });
    QStringList names;
    for (const TProductDesc& desc : picked)
        names << desc.name;
    EXPECT_EQ(names, clicked);
}

TEST_F(UserPaths, ARefusedApplyStopsAndCancelDropsAnInvalidPrice)
{
    // A category and details for the action that applies first.
    sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
        "(1, 0, 'Nameštaj', 5, 10, 15)");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 1)");
    sql("INSERT INTO productdetail (productid, webprice, b2bprice) VALUES (10, 1, 2)");
    inEditor(10, [&](TProductDetailForm& form) {
        typeOver(form.UnitNameDBE, QString());
        typeOver(form.PriceDBE, QStringLiteral("500"));
        form.PageControl()->setCurrentWidget(form.DetailsTS);
        click(form.DetailsTS->findChild<QPushButton*>(QStringLiteral("LoadDetailsFromCategoryButton")));
        EXPECT_ROWS(live.messages(), QStringList{"Polje \"JM\" mora biti popunjeno."});
        live.clear();
        form.PageControl()->setCurrentIndex(0);
        typeOver(form.PriceDBE, QStringLiteral("12a"));
        EXPECT_EQ(form.PriceDBE->text(), "12a");
        click(form.CancelButton());
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(live.messages(), QStringList());
    EXPECT_ROWS(rowsOf(db(), "SELECT webprice, b2bprice FROM productdetail WHERE productid = 10"), QStringList{"1|2"});
    EXPECT_ROWS(rowsOf(db(), "SELECT price, unitname FROM product WHERE productid = 10"), QStringList{"100|kom"});
}

class WindowSweep : public UserPaths {
protected:
    void SetUp() override
    {
        UserPaths::SetUp();
        refuseWrites();
        sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
            "(1, 0, 'Pića', 5, 3, 2)");
        sql("INSERT INTO attributepr (attributeprid, attribute) VALUES (1, 'Boja')");
        // A row in every list, so each grid has a row to start from even before its + is pressed.
        sql("INSERT INTO attributeprvalue (attributeprid, attributevalue, sort) VALUES (1, 'Crvena', 1)");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (20, 1, 2, 300)");
        sql("INSERT INTO productrebate (productid, quantity, rebate) VALUES (20, 10, 5)");
    }

    // The server refuses every new or changed row of the table; of none, when no table is named.
    static void refuseWrites(const QString& table = QString())
    {
        for (const QString when : {"INSERT", "UPDATE"}) {
            sql(QStringLiteral("DROP TRIGGER IF EXISTS sweep_refuses_") + when);
            if (!table.isEmpty())
                sql(QStringLiteral("CREATE TRIGGER sweep_refuses_%1 BEFORE %1 ON %2 FOR EACH ROW SIGNAL SQLSTATE "
                                   "'45000' SET MESSAGE_TEXT = 'sweep refusal'")
                        .arg(when, table));
        }
    }

    // Types into every editable cell of every grid and posts; posts a text
    // too long for its column; then the server refuses a row of the grid's
    // table, whose rows are counted first. Returns the grids refused.
    static int sweep(QWidget& window, LiveDialogs& live, QMap<QString, int>& counts)
    {
        int refused = 0;
        for (DBGrid* grid : window.findChildren<DBGrid*>()) {
            // Only a grid in view on an open dataset that takes rows.
            showPageOf(grid, &window);
            const DataSet* shown = grid->isVisible() ? grid->dataSet() : nullptr;
            const QList<int> columns =
                shown && shown->isActive() && !shown->isReadOnly() ? editableColumns(grid) : QList<int>();
            SCOPED_TRACE(grid->objectName().toStdString());
            live.clear();
            if (columns.isEmpty() || !typeRow(window, grid, columns, 1))
                continue;
            post(window, grid);
            // Stored, or refused with a word.
            EXPECT_TRUE(!grid->dataSet()->isEditing() || !live.messages().isEmpty());
            dropEdit(window, grid);

            for (int c : columns) {
                const Field* field = grid->fieldOfSection(c);
                if (field->dataType() != FieldType::String || field->size() <= 0)
                    continue;
                live.clear();
                const int row = startRow(window, grid);
                if (row < 0)
                    break;
                typeIntoCell(grid, row, c, QString(field->size() + 5, QLatin1Char('w')));
                // A column chosen from a fixed list takes no typed text.
                if (auto* list = qobject_cast<QComboBox*>(openEditor(grid)); list && !list->isEditable()) {
                    grid->discardEditor();
                    dropEdit(window, grid);
                    continue;
                }
                postAndSave(window, grid);
                EXPECT_FALSE(live.messages().isEmpty()) << "too long " << field->fieldName().toStdString();
                dropEdit(window, grid);
                break;
            }
            EXPECT_EQ(openEditor(grid), nullptr);

            auto* ds = qobject_cast<QueryDataSet*>(grid->dataSet());
            if (!ds || ds->updateTable().isEmpty())
                continue;
            const QString table = ds->updateTable();
            counts.insert(table, rows(table));
            refuseWrites(table);
            live.clear();
            if (typeRow(window, grid, columns, 3)) {
                postAndSave(window, grid);
                EXPECT_TRUE(live.details().value(0).contains(QStringLiteral("sweep refusal")))
                    << live.details().value(0).toStdString();
                ++refused;
                dropEdit(window, grid);
                EXPECT_EQ(openEditor(grid), nullptr);
            }
            refuseWrites();
        }
        return refused;
    }

    static QList<Window> windows()
    {
        return {
            {"Porezi", [] { TaxManage(); }},
            {"Magacini", [] { WarehouseManage(); }},
            {"Atributi", [] { AttributeManage(); }},
            {"Kategorije", [] { CatManage(db(), &CategoryPrAttributeManage, &CategoryPrRebateManage); }},
            {"Rabat kategorije", [] { CategoryPrRebateManage(1); }},
            {"Atributi kategorije", [] { CategoryPrAttributeManage(1); }},
            {"Proizvod", [] { openProduct(20); OpenProductDetail(nullptr); }},
            {"Zamene", [] { AlternativesManage(20); }},
            {"Proizvodi", [] { ProductProductsManage(20, nullptr); }},
            {"Izaberite proizvod", [] { TProductDesc desc; ProductGet(desc); }},
            {"Editor", [] { QString text = QStringLiteral("opis"); EditPWODesc(text); }},
            {"Inventar", [] { OpenWarehouseInventory(1, QStringLiteral("Glavni")); }},
            {"Inventar svih magacina", [] { OpenInventoryAllWarehouses(); }},
            {"Promet", [] { OpenTurnoverAllWarehouses(); }},
            {"Pregled zaliha", [] { OpenStocksOverview(); }},
        };
    }
};

TEST_F(WindowSweep, EveryGridTakesTypingAndSaysWhyATooLongTextOrTheServerRefusedItsRowAndNothingOfItStays)
{
    int refusedGrids = 0;
    for (const auto& [name, open] : windows()) {
        SCOPED_TRACE(name);
        QMap<QString, int> counts;
        inWindow<QWidget>(open, [&](QWidget& shown) {
            refusedGrids += sweep(shown, live, counts);
            // What the server refused is not saved on the way out either.
            closeDropping(shown, live);
        });
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            EXPECT_EQ(rows(it.key()), it.value()) << it.key().toStdString();
        live.reset();
    }
    // The lists of taxes, warehouses, attributes (two), category rebates and
    // the editor's operations, rebates and warehouses.
    EXPECT_EQ(refusedGrids, 8);
}

// The first editable cell of the window's first editing grid, typed into
// and left open.
void typeIntoFirstCell(QWidget& window)
{
    for (DBGrid* grid : window.findChildren<DBGrid*>()) {
        const QList<int> columns = editableColumns(grid);
        if (grid->isVisible() && !columns.isEmpty() && grid->dataSet() && !grid->dataSet()->isEmpty())
            return typeIntoCell(grid, grid->dataSet()->currentRow(), columns.first(),
                                sampleFor(*grid->fieldOfSection(columns.first()), 2));
    }
}

TEST_F(WindowSweep, EveryWindowClosesEveryWayEvenWithACellBeingTypedIn)
{
    for (const auto& [name, open] : windows()) {
        SCOPED_TRACE(name);
        for (const char* way : {"escape", "close box", "button", "typing, escape", "typing, close box",
                                "typing, button"}) {
            SCOPED_TRACE(way);
            const bool typing = QString::fromUtf8(way).startsWith("typing");
            // An editor asks about what was typed: the answer drops it.
            live.answer(ButtonNo);
            inWindow<QWidget>(open, [&](QWidget& shown) {
                if (typing)
                    typeIntoFirstCell(shown);
                QPushButton* button = QString::fromUtf8(way).endsWith("button") ? closingButton(shown) : nullptr;
                if (QString::fromUtf8(way).endsWith("escape")) {
                    // The first Escape leaves a cell being typed in, the next the window.
                    for (int i = 0; i < 3 && shown.isVisible(); ++i) {
                        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &shown;
                        QTest::keyClick(focus, Qt::Key_Escape);
                    }
                } else if (button) {
                    click(button);
                } else {
                    shown.close(); // the close box, or a window without a closing button
                }
                EXPECT_FALSE(shown.isVisible());
            });
            // Only the question about unsaved changes may come, and only after typing.
            for (const QString& said : live.messages())
                EXPECT_TRUE(typing && said == CMN_SAVE_CHANGES_PROMT) << said.toStdString();
            live.reset();
        }
    }
}

// Every "–" and every "Izbriši" of every window asks first, with "Ne" as the
// default button, or refuses a row that others still need; "Ne" deletes
// nothing, not even from a list kept until the editor saves. ("Izbriši PLU"
// only empties a field of the product being edited; "Otkaži" undoes it.)
TEST_F(WindowSweep, EveryMinusAndIzbrisiAsksWithNeAsTheDefaultAndNeDeletesNothing)
{
    int questions = 0;
    for (const auto& [name, open] : windows()) {
        SCOPED_TRACE(name);
        inWindow<QWidget>(open, [&](QWidget& shown) {
            QList<std::pair<QString, std::function<void()>>> deletes;
            for (DBNavigator* navigator : shown.findChildren<DBNavigator*>())
                deletes.append({navigator->dataSet()->objectName(), [navigator, &shown] {
                                    showPageOf(navigator, &shown);
                                    QToolButton* minus = navigator->button(DBNavigator::Delete);
                                    if (minus->isVisible() && minus->isEnabled())
                                        click(minus);
                                }});
            for (QAction* action : shown.findChildren<QAction*>())
                if (action->toolTip().startsWith(QStringLiteral("Izbriši")) && action->text() != "Izbriši PLU")
                    deletes.append({action->toolTip(), [action] {
                                        if (action->isEnabled())
                                            action->trigger();
                                    }});
            for (const auto& [what, press] : deletes) {
                SCOPED_TRACE(what.toStdString());
                QMap<DataSet*, int> counts;
                for (DBGrid* grid : shown.findChildren<DBGrid*>())
                    if (grid->dataSet() && grid->dataSet()->isActive())
                        counts.insert(grid->dataSet(), grid->dataSet()->recordCount());
                live.clear();
                press();
                for (int i = 0; i < live.messages().size(); ++i) {
                    const bool question = live.messages()[i].endsWith(QLatin1Char('?'));
                    questions += question;
                    if (question) {
                        EXPECT_EQ(live.defaultButtons().value(i), "Ne") << live.messages()[i].toStdString();
                    }
                }
                for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                    EXPECT_EQ(it.key()->recordCount(), it.value()) << it.key()->objectName().toStdString();
            }
            closeDropping(shown, live);
        });
        live.reset();
    }
    // A tax rate, a warehouse and an attribute value; the editor's operations,
    // rebates and scanned document. (The attribute is refused: it has a value.)
    EXPECT_EQ(questions, 6);
}

// Numbers typed as they are written here: minutes with a decimal comma, a
// price with thousands; what is shown types back unchanged, and a number
// that reads two ways is refused with the form expected, nothing kept.
TEST_F(UserPaths, MinutesAndPricesTakeNumbersAsWrittenHereAndRefuseATextThatReadsTwoWays)
{
    // Filled as a saved price change needs them.
    sql("UPDATE product SET inputprice = 200, inputpricecurrency = 'RSD', supplyprice = 200, planprice = 250 "
        "WHERE productid = 20");
    inEditor(20, [&](TProductDetailForm& form) {
        form.PageControl()->setCurrentWidget(form.WorkOperationsTS);
        DBGrid* grid = form.WorkOperationsTS->WorkingOperationDBG();
        const auto typeCell = [grid](int row, const char* field, const QString& text) {
            typeIntoCell(grid, row, cellOf(grid, QString::fromLatin1(field), row).column(), text);
            pressKey(Qt::Key_Return);
            QCoreApplication::processEvents(); // the delegate writes the cell queued
        };
        // Row, cell, typed, shown after Enter.
        const std::tuple<int, const char*, const char*, const char*> typed[] = {
            {0, "preparationtime", "1,5", "1,5"}, {0, "productiontime", "1.5", "1,5"},
            {1, "preparationtime", "1.250,5", "1250,5"}, {1, "productiontime", "12", "12"}};
        for (const auto& [row, field, text, shown] : typed) {
            typeCell(row, field, QString::fromLatin1(text));
            EXPECT_EQ(cellText(grid, QString::fromLatin1(field), row), shown) << field << " " << text;
        }
        EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();

        // Refused at the cell, with the forms to use; the cell keeps its value.
        typeCell(1, "productiontime", QStringLiteral("1.250"));
        EXPECT_ROWS(live.messages(), QStringList({"Polje \"Vreme izrade (min)\": \"1.250\" može da znači 1250 ili "
                                                "1,250. Upišite 1.250,00 ili 1,250."}));
        EXPECT_EQ(cellText(grid, QStringLiteral("productiontime"), 1), "12");
        live.clear();

        // The price field: shown with thousands, edited without; either text typed back keeps the price.
        form.PageControl()->setCurrentIndex(0);
        typeOver(form.PriceDBE, QStringLiteral("10.770,13"));
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(form.PriceDBE->text(), "10.770,13");
        QTest::mouseClick(form.PriceDBE, Qt::LeftButton);
        EXPECT_EQ(form.PriceDBE->text(), "10770,13");
        typeOver(form.PriceDBE, form.PriceDBE->text());
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(form.PriceDBE->text(), "10.770,13");
        EXPECT_TRUE(live.messages().isEmpty()) << live.messages().join('\n').toStdString();
        click(form.OKButton());
    });
    EXPECT_ROWS(rowsOf(db(), "SELECT preparationtime, productiontime FROM productworkingoperation ORDER BY sort"),
                (QStringList{"1.5|1.5", "1250.5|12"}));
    EXPECT_EQ(text("SELECT price FROM product WHERE productid = 20"), "10770.13");
}
