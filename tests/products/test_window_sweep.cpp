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
#include "DBControls.h"
#include "CustomDetailForm.h"
#include "DBGrid.h"
#include "Getproductunit.h"
#include "HostStrings.h"
#include "Inventoryallwarehousesunit.h"
#include "Inventoryunit.h"
#include "Productdetailunit.h"
#include "Productproductsunit.h"
#include "Pwodesceditorunit.h"
#include "QueryDataSet.h"
#include "Stockhistoryunit.h"
#include "Stocksoverviewunit.h"
#include "Taxunit.h"
#include "Turnoverallwarehousesunit.h"
#include "UserDriving.h"
#include "Warehouseunit.h"
#include "test_editor_support.h"
#include "test_refwindows.h"

#include <QComboBox>
#include <QMap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

struct Window {
    const char* name;
    std::function<void()> open;  // shows the window modally
};

// Brings a grid on a hidden page of a tab control into view.
void showPageOf(QWidget* widget, QWidget* window)
{
    for (QWidget* w = widget; w && w != window; w = w->parentWidget())
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                if (tabs->isTabVisible(tabs->indexOf(w)))
                    tabs->setCurrentWidget(w);
}

DBNavigator* navigatorOf(QWidget* window, const DataSet* ds)
{
    for (DBNavigator* navigator : window->findChildren<DBNavigator*>())
        if (navigator->dataSet() == ds && navigator->isVisible())
            return navigator;
    return nullptr;
}

bool usable(DBNavigator* navigator, DBNavigator::Button which)
{
    return navigator && navigator->button(which)->isVisible() && navigator->button(which)->isEnabled();
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
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    if (!text.isEmpty())
        typeText(text);
}

// Starts a row of the grid: the navigator's + or the first row.
int startRow(QWidget& window, DBGrid* grid)
{
    DataSet* ds = grid->dataSet();
    DBNavigator* navigator = navigatorOf(&window, ds);
    if (usable(navigator, DBNavigator::Insert))
        click(navigator->button(DBNavigator::Insert));
    return ds->isEmpty() ? -1 : ds->currentRow();
}

void post(QWidget& window, DBGrid* grid)
{
    DBNavigator* navigator = navigatorOf(&window, grid->dataSet());
    if (usable(navigator, DBNavigator::Post))
        click(navigator->button(DBNavigator::Post));
    else
        pressKey(Qt::Key_Return);
}

void dropEdit(QWidget& window, DBGrid* grid)
{
    DataSet* ds = grid->dataSet();
    DBNavigator* navigator = navigatorOf(&window, ds);
    if (usable(navigator, DBNavigator::Cancel))
        click(navigator->button(DBNavigator::Cancel));
    else if (ds->isEditing())
        ds->cancel();
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

// Types into every editable cell of every grid and posts; then posts a text
// too long for its column.
void sweepGrids(QWidget& window, LiveDialogs& live)
{
    for (DBGrid* grid : window.findChildren<DBGrid*>()) {
        showPageOf(grid, &window);
        DataSet* ds = grid->dataSet();
        if (!grid->isVisible() || !ds || !ds->isActive() || ds->isReadOnly())
            continue;
        const QList<int> columns = editableColumns(grid);
        if (columns.isEmpty())
            continue;
        SCOPED_TRACE(grid->objectName().toStdString());
        live.clear();
        int row = startRow(window, grid);
        if (row < 0)
            continue;
        for (int c : columns)
            typeIntoCell(grid, row, c, sampleFor(*grid->fieldOfSection(c), 1));
        post(window, grid);
        // Stored, or refused with a word.
        EXPECT_TRUE(!ds->isEditing() || !live.messages().isEmpty());
        dropEdit(window, grid);

        for (int c : columns) {
            const Field* field = grid->fieldOfSection(c);
            if (field->dataType() != FieldType::String || field->size() <= 0)
                continue;
            live.clear();
            row = startRow(window, grid);
            if (row < 0)
                break;
            typeIntoCell(grid, row, c, QString(field->size() + 5, QLatin1Char('w')));
            // A column chosen from a fixed list takes no typed text.
            if (auto* list = qobject_cast<QComboBox*>(openEditor(grid)); list && !list->isEditable()) {
                grid->discardEditor();
                dropEdit(window, grid);
                continue;
            }
            post(window, grid);
            // A list kept until the window saves meets the database there.
            auto* editor = qobject_cast<TCustomDetailForm*>(&window);
            if (editor && !ds->isEditing())
                click(editor->ApplyButton());
            EXPECT_FALSE(live.messages().isEmpty()) << "too long " << field->fieldName().toStdString();
            dropEdit(window, grid);
            break;
        }
        EXPECT_EQ(openEditor(grid), nullptr);
    }
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

} // namespace

class WindowSweep : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        allowWrites();
        sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
            "(1, 0, 'Pića', 5, 3, 2)");
        sql("INSERT INTO attributepr (attributeprid, attribute) VALUES (1, 'Boja')");
        // A row in every list, so each grid has a row to start from even before its + is pressed.
        sql("INSERT INTO attributeprvalue (attributeprid, attributevalue, sort) VALUES (1, 'Crvena', 1)");
        sql("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency, type, active) VALUES "
            "(20, 'Sto', 'kom', 1, 300, 'RSD', 'p', 'y')");
        sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (20, 1, 2, 300)");
        sql("INSERT INTO productworkingoperation (productid, machinetype, sort) VALUES (20, 'Strug', 1)");
        sql("INSERT INTO productrebate (productid, quantity, rebate) VALUES (20, 10, 5)");
    }

    // Qt's word that a cell editor was closed twice (or after it was gone).
    static inline QStringList s_editorWarnings;
    static inline QtMessageHandler s_previousHandler = nullptr;
    static void watchEditors(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (text.contains(QStringLiteral("does not belong to this view")))
            s_editorWarnings << text;
        if (s_previousHandler)
            s_previousHandler(type, context, text);
    }

    // Opens the window and runs the step in its modal loop; the window must
    // be gone afterwards, and no cell editor closed twice.
    static void inWindow(const Window& window, const std::function<void(QWidget&)>& step)
    {
        SCOPED_TRACE(window.name);
        s_editorWarnings.clear();
        s_previousHandler = qInstallMessageHandler(&WindowSweep::watchEditors);
        bool ran = false;
        onModal([&](QWidget& shown) {
            ran = true;
            step(shown);
        });
        window.open();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qInstallMessageHandler(s_previousHandler);
        EXPECT_TRUE(ran);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(s_editorWarnings.isEmpty()) << s_editorWarnings.join('\n').toStdString();
    }

    // The server refuses every new or changed row of the table.
    static void refuseWrites(const QString& table)
    {
        for (const char* when : {"INSERT", "UPDATE"})
            sql(QStringLiteral("CREATE TRIGGER sweep_refuses_%1 BEFORE %2 ON %3 FOR EACH ROW SIGNAL SQLSTATE '45000' "
                               "SET MESSAGE_TEXT = 'sweep refusal'")
                    .arg(QString::fromLatin1(when).toLower(), QString::fromLatin1(when), table));
    }
    static void allowWrites()
    {
        for (const char* when : {"insert", "update"})
            sql(QStringLiteral("DROP TRIGGER IF EXISTS sweep_refuses_") + QString::fromLatin1(when));
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
            {"Proizvod", [] { showProduct(20); OpenProductDetail(nullptr); }},
            {"Zamene", [] { AlternativesManage(20); }},
            {"Proizvodi", [] { ProductProductsManage(20, nullptr); }},
            {"Izaberite proizvod", [] {
                 TProductDesc desc;
                 ProductGet(desc);
             }},
            {"Editor", [] {
                 QString text = QStringLiteral("opis");
                 EditPWODesc(text);
             }},
            {"Inventar", [] { OpenWarehouseInventory(1, QStringLiteral("Glavni")); }},
            {"Inventar svih magacina", [] { OpenInventoryAllWarehouses(); }},
            {"Promet", [] { OpenTurnoverAllWarehouses(); }},
            {"Pregled zaliha", [] { OpenStocksOverview(); }},
        };
    }
};

TEST_F(WindowSweep, EveryGridTakesTypingPostsAndSaysWhyItRefusesATooLongText)
{
    LiveDialogs live;
    for (const Window& window : windows()) {
        inWindow(window, [&](QWidget& shown) {
            sweepGrids(shown, live);
            // Unsaved work is dropped when the window asks.
            live.answer(ButtonNo);
            if (QPushButton* button = closingButton(shown))
                click(button);
            else
                shown.close();
            if (shown.isVisible())
                shown.close();
        });
        live.clear();
    }
}

TEST_F(WindowSweep, EveryGridSaysWhyTheServerRefusedItsRowAndNothingOfItStays)
{
    LiveDialogs live;
    int refusedGrids = 0;
    for (const Window& window : windows()) {
        QMap<QString, int> counts;
        inWindow(window, [&](QWidget& shown) {
            for (DBGrid* grid : shown.findChildren<DBGrid*>()) {
                showPageOf(grid, &shown);
                auto* ds = qobject_cast<QueryDataSet*>(grid->dataSet());
                const QList<int> columns = editableColumns(grid);
                if (!grid->isVisible() || !ds || !ds->isActive() || ds->isReadOnly() || ds->updateTable().isEmpty() ||
                    columns.isEmpty())
                    continue;
                SCOPED_TRACE(grid->objectName().toStdString());
                const QString table = ds->updateTable();
                counts.insert(table, stored(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt());
                refuseWrites(table);
                live.clear();
                const int row = startRow(shown, grid);
                if (row >= 0) {
                    for (int c : columns)
                        typeIntoCell(grid, row, c, sampleFor(*grid->fieldOfSection(c), 3));
                    post(shown, grid);
                    // A list kept until the window saves meets the server there.
                    auto* editor = qobject_cast<TCustomDetailForm*>(&shown);
                    if (editor && !ds->isEditing() && editor->ApplyButton()->isEnabled())
                        click(editor->ApplyButton());
                    EXPECT_TRUE(live.messages().join(QLatin1Char('\n')).contains(QStringLiteral("sweep refusal")))
                        << live.messages().join(QLatin1Char('\n')).toStdString();
                    ++refusedGrids;
                    dropEdit(shown, grid);
                    EXPECT_EQ(openEditor(grid), nullptr);
                }
                allowWrites();
            }
            // What the server refused is not saved on the way out either.
            live.answer(ButtonNo);
            if (QPushButton* button = closingButton(shown))
                click(button);
            if (shown.isVisible())
                shown.close();
        });
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            EXPECT_EQ(stored(QStringLiteral("SELECT COUNT(*) FROM ") + it.key()).toInt(), it.value())
                << window.name << " " << it.key().toStdString();
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
        if (!grid->isVisible() || columns.isEmpty() || !grid->dataSet() || grid->dataSet()->isEmpty())
            continue;
        typeIntoCell(grid, grid->dataSet()->currentRow(), columns.first(),
                     sampleFor(*grid->fieldOfSection(columns.first()), 2));
        return;
    }
}

TEST_F(WindowSweep, EveryWindowClosesEveryWayEvenWithACellBeingTypedIn)
{
    LiveDialogs live;
    for (const Window& window : windows()) {
        for (const char* way : {"escape", "close box", "button", "typing, escape", "typing, close box",
                                "typing, button"}) {
            SCOPED_TRACE(way);
            const bool typing = QString::fromUtf8(way).startsWith("typing");
            // An editor asks about what was typed: the answer drops it.
            live.answer(ButtonNo);
            inWindow(window, [&](QWidget& shown) {
                if (typing)
                    typeIntoFirstCell(shown);
                if (QString::fromUtf8(way).endsWith("escape")) {
                    // The first Escape leaves a cell being typed in, the next the window.
                    for (int i = 0; i < 3 && shown.isVisible(); ++i) {
                        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &shown;
                        QTest::keyClick(focus, Qt::Key_Escape);
                    }
                } else if (QString::fromUtf8(way).endsWith("close box")) {
                    shown.close();
                } else if (QPushButton* button = closingButton(shown)) {
                    click(button);
                } else {
                    shown.close();
                }
                EXPECT_FALSE(shown.isVisible());
                if (shown.isVisible())
                    static_cast<QDialog&>(shown).done(QDialog::Rejected);
            });
            // Only the question about unsaved changes may come, and only after typing.
            for (const QString& said : live.messages())
                EXPECT_TRUE(typing && said == CMN_SAVE_CHANGES_PROMT) << said.toStdString();
            live.reset();
        }
    }
}
