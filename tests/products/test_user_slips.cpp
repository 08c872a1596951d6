// Slips that quietly left a shop's data wrong, walked as a user walks them:
// an inactive product with stock that could not be renamed, an editor that
// took tabbing for a change, a category criterion dropped without a word, the
// stocks overview that the README promised but an option hid.

#include "Getproductunit.h"
#include "HostStrings.h"
#include "Productnavigatorunit.h"
#include "QueryDataSet.h"
#include "Productresourcestring.h"
#include "Productwarehousesunit.h"
#include "Stocksoverviewunit.h"
#include "Warehouseunit.h"
#include "test_user_paths.h"
#include "test_workerstop.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// The criterion's value cell clicked and typed into, as in the search panel.
void typeCriterion(TProductNavigatorForm& panel, const QString& key, const QString& text)
{
    SearchValueList* list = panel.SearchVLE();
    // From the caption into the value: the value cell opens for typing.
    for (int column : {0, 1}) {
        QTableWidgetItem* cell = list->item(list->rowOf(key), column);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(cell).center());
    }
    typeOver(QApplication::focusWidget(), text);
}

// The rows of the report's list as read (a stock-card report computes its
// table from them when asked).
int listed(QWidget& report)
{
    const QueryDataSet* list = report.findChild<QueryDataSet*>();
    return list && list->isActive() ? list->recordCount() : 0;
}

} // namespace

// Only unticking "Aktivan" meets the stock. A product already inactive
// keeps its stock and takes a new name; a box that only had the focus
// deactivates nothing; ticking it again saves. "U redu" or "Primeni" by
// keyboard, the focus left on the box.
TEST_F(UserPaths, OnlyUntickingAktivanMeetsTheStockAndAnInactiveProductWithStockSavesItsOtherChanges)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount) VALUES (10, 1, 4)");
    enum Box { Untouched, Focused, Clicked, Spaced };
    struct Case {
        const char* what;
        const char* stored;  // active as stored
        Box box;
        const char* typed;
        Qt::Key key;  // with Alt
        QStringList said;
        const char* name;  // as stored afterwards
        const char* active;
    };
    const QString refusal = PROD_ACTIVE_INVALIDE_ERR;
    const Case cases[] = {
        {"inactive, renamed", "n", Untouched, "Mleko staro", Qt::Key_U, {}, "Mleko staro", "n"},
        {"inactive, box focused, renamed", "n", Focused, "Mleko 0,5", Qt::Key_U, {}, "Mleko 0,5", "n"},
        {"inactive, ticked", "n", Clicked, "Mleko", Qt::Key_U, {}, "Mleko", "y"},
        {"active, box focused", "y", Focused, "Mleko 1l", Qt::Key_U, {}, "Mleko 1l", "y"},
        // Refused, then asked whether to save: not saved.
        {"active, unticked", "y", Clicked, "Mleko 2l", Qt::Key_U, {refusal, CMN_SAVE_CHANGES_PROMT}, "Mleko", "y"},
        // "Primeni" a moment later, as a pressed button does; "Otkaži" then drops it.
        {"active, unticked by Space, Primeni", "y", Spaced, "Mleko 1l", Qt::Key_P, {refusal}, "Mleko", "y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sql(QStringLiteral("UPDATE product SET name = 'Mleko', active = '%1' WHERE productid = 10").arg(c.stored));
        live.reset();
        live.answer(ButtonNo);
        inEditor(10, [&](TProductDetailForm& form) {
            typeOver(form.NameDBE, QString::fromUtf8(c.typed));
            if (c.box == Clicked)
                click(form.ActiveDBCB);
            if (c.box == Focused || c.box == Spaced)
                form.ActiveDBCB->setFocus(Qt::TabFocusReason);
            if (c.box == Spaced)
                QTest::keyClick(form.ActiveDBCB, Qt::Key_Space);
            const bool toggled = c.box == Clicked || c.box == Spaced;
            EXPECT_EQ(form.ActiveDBCB->isChecked(), (QString::fromUtf8(c.stored) == "y") != toggled);
            QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
            QTRY_VERIFY(c.key == Qt::Key_P ? !live.messages().isEmpty() : !form.isVisible());
            if (c.key == Qt::Key_P)
                click(form.CancelButton());
        });
        EXPECT_ROWS(live.messages(), c.said);
        EXPECT_EQ(column("name"), QString::fromUtf8(c.name));
        EXPECT_EQ(column("active"), c.active);
    }
}

// A category path that names no category lists what the other criteria
// find, and the panel says the category was left out; a known one says nothing.
TEST_F(UserPaths, ACategoryCriterionNamingNoCategoryIsLeftOutAndThePanelSaysSo)
{
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Nameštaj')");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (20, 1), (21, 1)");
    TProductDescArr picked;
    inWindow<TGetProductForm>([&] { ProductGet(picked); }, [&](TGetProductForm& form) {
        TProductNavigatorForm& panel = *form.navigator();
        // Typed, rows listed, what the panel says.
        const std::tuple<const char*, int, QString> cases[] = {{"Nameštaj>Stolovi", 5, CAT_NOT_FOUND_IGNORED_INF},
                                                               {"Nameštaj", 2, QString()},
                                                               {"Nema takve", 5, CAT_NOT_FOUND_IGNORED_INF},
                                                               {"", 5, QString()}};
        for (const auto& [typed, listed, said] : cases) {
            SCOPED_TRACE(typed);
            typeCriterion(panel, QStringLiteral("category"), QString::fromUtf8(typed));
            click(panel.FindButton());
            EXPECT_EQ(dm().ProductZQ->recordCount(), listed);
            EXPECT_EQ(panel.StatusLabel()->text(), said);
            EXPECT_EQ(panel.StatusLabel()->isVisible(), !said.isEmpty());
        }
    });
}

// The README tells how to show the stocks overview with its spreadsheet
// export: its own statement, run as written, brings the button into the
// warehouse window, and the overview opens with "Izvezi u Excel".
TEST_F(UserPaths, TheReadmesStatementShowsTheStocksOverviewWithItsSpreadsheetExport)
{
    QFile readme(QStringLiteral(TARVEX_README));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QRegularExpressionMatch statement =
        QRegularExpression(QStringLiteral("\"(REPLACE INTO dbinifile [^\"]*)\"")).match(text);
    ASSERT_TRUE(statement.hasMatch());

    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "after the README's statement" : "a new shop");
        if (shown)
            sql(statement.captured(1));
        int overviews = 0;
        inWindow<TWarehouseForm>(WarehouseManage, [&](TWarehouseForm& form) {
            QPushButton* button = form.StocksOverviewButton();
            EXPECT_EQ(button->isVisible(), shown);
            if (shown) {
                onModal([&](QWidget& window) {
                    auto& overview = dynamic_cast<TStocksOverviewForm&>(window);
                    ++overviews;
                    EXPECT_TRUE(overview.ExportToExcelButton()->isVisible());
                    EXPECT_TRUE(overview.ExportToExcelButton()->isEnabled());
                    overview.close();
                });
                click(button);
            }
        });
        EXPECT_EQ(overviews, shown ? 1 : 0);
    }
}

// Each list the warehouse window opens that can run to thousands of rows is
// read on a worker: the window is up at once with the strip, the program
// answers while another session holds the table, "Prekini" stops the read on
// the server and leaves the window open and empty; unhindered it lists.
TEST_F(UserPaths, TheWarehouseWindowsListsComeUpAtOnceAndPrekiniStopsTheirReadingOnTheServer)
{
    dm().Options.AttributeStock = true;
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (10, 1, 4, 80), (20, 1, 2, 300)");
    sql("INSERT INTO productattribute (productattributeid, productid, prodattbarcode) VALUES (1, 20, '2000001')");
    sql("INSERT INTO productattributewarehouse (productattributeid, warehouseid, amount) VALUES (1, 1, 2)");
    const auto button = [](QPushButton* (TWarehouseForm::*which)() const) {
        return [which](TWarehouseForm& form) { click((form.*which)()); };
    };
    const auto menuEntry = [](int entry) {
        return [entry](TWarehouseForm& form) { form.QuantitiesMenu()->actions().at(entry)->trigger(); };
    };
    // The list, how it is opened, the table the other session holds, the step shown meanwhile, the rows listed.
    const std::tuple<const char*, std::function<void(TWarehouseForm&)>, const char*, const char*, int> cases[] = {
        {"Lager (magac. cene)", button(&TWarehouseForm::InventoryWarePriceButton), "productwarehouse", "Zalihe", 2},
        {"Lager (atributi)", button(&TWarehouseForm::InventoryAttributeButton), "productattributewarehouse", "Zalihe", 1},
        {"Lager (cene sa robnih kart.)", button(&TWarehouseForm::InventoryStockPriceButton), "productwarehouse",
         "Proizvodi", 2},
        {"Trenutni lager (svi magacini)", menuEntry(0), "productwarehouse", "Zalihe", 2},
        {"Sa robnih kart. (izabrani magacin)", menuEntry(3), "productwarehouse", "Proizvodi", 2},
    };
    for (const auto& [what, open, table, step, rows] : cases) {
        SCOPED_TRACE(what);
        inWindow<TWarehouseForm>(WarehouseManage, [&](TWarehouseForm& form) {
            // The stocked warehouse chosen.
            clickCell(form.WarehouseDBG(), QStringLiteral("name"),
                      int(columnTexts(form.WarehouseDBG(), QStringLiteral("name")).indexOf("Glavni")));
            TWorkerBar* bar = nullptr;
            int shown = -1;
            // Up while it reads: the strip is found there; once read, its rows are counted.
            const auto onReport = [&] {
                onModal([&](QWidget& report) {
                    bar = report.findChild<TWorkerBar*>();
                    whenRead(report, [&, window = &report] {
                        shown = listed(*window);
                        EXPECT_FALSE(bar->cancelButton()->isVisible());
                        window->close();
                    });
                });
            };
            onReport();
            bool clicked = false;
            workerstop::whileLocked(db(), table, [&] { open(form); }, [&] {
                if (clicked || !bar || !bar->stepLabel()->text().startsWith(QString::fromUtf8(step)))
                    return;
                clicked = true;
                EXPECT_TRUE(bar->progressBar()->isVisible());
                EXPECT_TRUE(bar->cancelButton()->isVisible());
                QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
            });
            EXPECT_TRUE(clicked);
            EXPECT_EQ(shown, 0); // stopped: empty

            onReport();
            open(form);
            EXPECT_EQ(shown, rows);
            EXPECT_EQ(live.messages(), QStringList());
        });
    }
}

// Tabbing through every field of the editor, forwards and back, types
// nothing: "Primeni" stays off, "Otkaži" goes without a question, and the
// product is stored as it was.
TEST_F(UserPaths, TabbingThroughTheEditorChangesNothingAndOtkaziAsksNothing)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, minstock, place) VALUES (10, 1, 4, 1, 'A1'), "
        "(10, 2, 0, NULL, NULL)");
    sql("INSERT INTO productdetail (productid, model, description) VALUES (10, 'M1', 'Opis')");
    sql("UPDATE product SET manufname = 'Imlek', excise = 2 WHERE productid = 10");
    const QString stored = "SELECT p.name, p.price, p.manufname, p.excise, p.active, d.model, d.description FROM "
                           "product p JOIN productdetail d ON d.productid = p.productid";
    const QStringList before = rowsOf(db(), stored);
    inEditor(10, [&](TProductDetailForm& form) {
        QTabWidget* pages = form.PageControl();
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabVisible(page))
                continue;
            SCOPED_TRACE(pages->tabText(page).toStdString());
            pages->setCurrentIndex(page);
            pages->setFocus(Qt::TabFocusReason);
            for (const Qt::KeyboardModifiers way : {Qt::NoModifier, Qt::ShiftModifier})
                for (int i = 0; i < 60; ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, way);
            EXPECT_FALSE(form.CustomApply()->isEnabled());
        }
        click(form.CancelButton());
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(live.messages(), QStringList());
    EXPECT_ROWS(rowsOf(db(), stored), before);
}

// "Otkaži" right after a refused "Primeni" drops the typed name without a
// question; a warehouse cell the user typed into is asked about, since
// "Otkaži" leaves the stock rows alone.
TEST_F(UserPaths, OtkaziAfterARefusedPrimeniAsksOnlyAboutWhatTheUserChanged)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, place) VALUES (10, 1, 4, 'A1'), (10, 2, 1, "
        "'B1')");
    // Refused by the name check, or by the server half way through the save.
    sql("CREATE TRIGGER product_refuses BEFORE UPDATE ON product FOR EACH ROW "
        "IF NEW.name = 'Mleko 3l' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'name refused'; END IF");
    // The name typed, and whether a warehouse's place was typed too.
    const std::pair<const char*, bool> cases[] = {
        {"Mleko: 1l", false}, {"Mleko 3l", false}, {"Mleko: 1l", true}, {"Mleko 3l", true}};
    for (const auto& [name, typedPlace] : cases) {
        SCOPED_TRACE(std::string(name) + (typedPlace ? ", a place typed" : ""));
        live.reset();
        live.answer(ButtonNo);
        inEditor(10, [&](TProductDetailForm& form) {
            typeOver(form.NameDBE, QString::fromUtf8(name));
            if (typedPlace) {
                clickCell(form.Warehouses->WarehouseDBG(), QStringLiteral("place"), 1);
                typeText(QStringLiteral("C3"));
            }
            click(form.ApplyButton());
            click(form.CancelButton());
            EXPECT_FALSE(form.isVisible());
        });
        // The refusal, then the question only about a typed place.
        const QStringList said = live.messages();
        EXPECT_EQ(said.size(), typedPlace ? 2 : 1);
        if (QString::fromUtf8(name).contains(QLatin1Char(':')))
            EXPECT_EQ(said.value(0), PROD_NAME_CHAR_ERR);
        else
            EXPECT_TRUE(live.details().value(0).contains("name refused")) << live.details().value(0).toStdString();
        EXPECT_EQ(said.value(1), typedPlace ? CMN_SAVE_CHANGES_PROMT : QString());
        EXPECT_ROWS(rowsOf(db(), "SELECT place FROM productwarehouse ORDER BY warehouseid"), (QStringList{"A1", "B1"}));
        EXPECT_EQ(column("name"), "Mleko");
    }
    sql("DROP TRIGGER product_refuses");
}
