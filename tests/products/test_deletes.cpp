// Deleting through the windows: the question comes first with "Ne" as the
// default button; a tax rate, warehouse, attribute or value that other rows
// still need is refused with what holds it, also when another workstation
// adds such a row at the same moment; a category delete works in the one
// session the database has; the product picker deletes nothing.

#include "Attributeunit.h"
#include "Categoryunit.h"
#include "Connection.h"
#include "DatabaseErrorText.h"
#include "DBControls.h"
#include "Error.h"
#include "Format.h"
#include "Getproductunit.h"
#include "HostStrings.h"
#include "Productcounts.h"
#include "Productnavigatorunit.h"
#include "Productviewerunit.h"
#include "Productresourcestring.h"
#include "QtWarnings.h"
#include "ScriptedDialogs.h"
#include "SqlText.h"
#include "Taxunit.h"
#include "UserDriving.h"
#include "Warehouseunit.h"
#include "WriteRetry.h"
#include "test_refwindows.h"

#include <QMenu>
#include <QPushButton>
#include <QSqlError>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <atomic>
#include <thread>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QStringList shownActions(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* action : actions)
        if (action->isVisible())
            texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

// Brings the row with that key into view and clicks its cell of the column, then clicks "–".
void clickMinusOn(DBGrid* grid, DBNavigator* navigator, const char* key, qint64 id, const char* column = "name")
{
    ASSERT_TRUE(grid->dataSet()->locate(QString::fromLatin1(key), id));
    clickCell(grid, column, grid->dataSet()->currentRow());
    click(navigator->button(DBNavigator::Delete));
}

// Clicks "–" on each warehouse in turn in the warehouse window and closes
// it; gives the names it lists by then.
QStringList minusOnWarehouses(std::initializer_list<qint64> ids)
{
    QStringList listed;
    inModal<TWarehouseForm>(WarehouseManage, [&](TWarehouseForm& form) {
        for (qint64 id : ids)
            clickMinusOn(form.WarehouseDBG(), form.WarehouseNavigator(), "warehouseid", id);
        listed = columnTexts(form.WarehouseDBG(), "name");
        form.CloseButton()->click();
    });
    return listed;
}

// Clicks the category in the tree, then the tool bar's delete, and closes the window.
void deleteCategory(TCategoryForm& form, qint64 id)
{
    const QRect item = form.treeView()->visualItemRect(form.itemOf(form.tree().findNode(id)));
    QTest::mouseClick(form.treeView()->viewport(), Qt::LeftButton, {}, item.center());
    click(form.findChild<QToolBar*>()->widgetForAction(form.categoryDelete()));
    click(form.cancelButton());
}

} // namespace

class Deletes : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'Opšta', 20, 'primary'), (2, 'Posebna', 10, "
            "'standard'), (3, 'Oslobođeno', 0, 'standard'), (4, 'Stara', 18, 'standard')");
        sql("INSERT INTO warehouse (warehouseid, name, status) VALUES (1, 'Centralni magacin', 'primary'), "
            "(2, 'Magacin reklamacija', 'standard'), (3, 'Prazan magacin', 'standard')");
        sql("INSERT INTO product (productid, name, unitname, taxid, price, pricecurrency) VALUES "
            "(7, 'Mleko', 'l', 1, 100, 'RSD'), (8, 'Hleb', 'kom', 2, 50, 'RSD'), (9, 'Knjiga', 'kom', 3, 900, "
            "'RSD'), (10, 'Lek', 'kom', 3, 300, 'RSD'), (11, 'Markica', 'kom', 3, 5, 'RSD')");
    }
    void TearDown() override
    {
        noDeadlocks();
        WindowTest::TearDown();
        EXPECT_TRUE(warnings.seen().isEmpty()) << warnings.text().toStdString();
        EXPECT_ROWS(Connection::enlisted(), QStringList{db().connectionName()});
        EXPECT_EQ(Connection::working(db()), &connection());
    }
    // The next @deadlocks statements of that kind on the table fail as
    // deadlocks (1213): a session variable, which no rollback undoes.
    static void deadlocksOn(const char* table, const char* statement)
    {
        sql(QStringLiteral("CREATE TRIGGER %1_%2_deadlocks BEFORE %2 ON %1 FOR EACH ROW IF @deadlocks > 0 THEN "
                           "SET @deadlocks = @deadlocks - 1; SIGNAL SQLSTATE '40001' SET MYSQL_ERRNO = 1213, "
                           "MESSAGE_TEXT = 'Deadlock found when trying to get lock; try restarting transaction'; "
                           "END IF")
                .arg(QLatin1String(table), QLatin1String(statement)));
        s_deadlockTriggers << QStringLiteral("%1_%2_deadlocks").arg(QLatin1String(table), QLatin1String(statement));
    }
    static void noDeadlocks()
    {
        sql("SET @deadlocks = 0");
        for (const QString& trigger : s_deadlockTriggers)
            sql(QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger);
        s_deadlockTriggers.clear();
        RetryBudget::setBudgetMs(10000);
    }

    const QtWarnings warnings;  // a window test counts Qt's warnings as faults
    static inline QStringList s_deadlockTriggers;
};

TEST_F(Deletes, TaxMinusRefusesARateInUseAsksWithNeAsTheDefaultAndDeletesOnlyOnDa)
{
    ScriptedDialogs script;
    script.answer(ButtonNo).answer(ButtonYes);
    inModal<TTaxForm>(TaxManage, [](TTaxForm& form) {
        clickMinusOn(form.TaxDBG(), form.TaxNavigator(), "taxid", 3);
        clickMinusOn(form.TaxDBG(), form.TaxNavigator(), "taxid", 4); // Ne
        clickMinusOn(form.TaxDBG(), form.TaxNavigator(), "taxid", 4); // Da
        EXPECT_ROWS(columnTexts(form.TaxDBG(), "name"), (QStringList{"Opšta", "Oslobođeno", "Posebna"}));
        form.CloseButton()->click();
    });
    EXPECT_ROWS(script.messages(), (QStringList{"Porez \"Oslobođeno\" koriste 3 proizvoda.",
                                              "Da li želite da izbrišete porez \"Stara\"?",
                                              "Da li želite da izbrišete porez \"Stara\"?"}));
    EXPECT_EQ(script.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(script.shown()[1].buttons, ButtonYes | ButtonNo | DefaultNo);
    EXPECT_ROWS(rowsOf(db(), "SELECT taxid FROM tax ORDER BY taxid"), (QStringList{"1", "2", "3"}));
}

TEST_F(Deletes, WarehouseMinusNamesTheStockRowsAndDocumentsThatHoldItTheAccountingGuardStays)
{
    // 217 stock rows, and 21 documents: 18 issued from it, 2 transfers into
    // it, 1 named only by a stock-card line (lines of the others repeat them).
    QStringList stock;
    for (int i = 0; i < 217; ++i)
        stock << QStringLiteral("(%1, 2, 1, 10)").arg(1000 + i);
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES " + stock.join(','));
    QStringList documents;
    for (int i = 1; i <= 21; ++i)
        documents << QStringLiteral("(%1, '2026-03-01', 'R', '%1', %2, %3)")
                         .arg(i)
                         .arg(i <= 18 ? "2" : "1")
                         .arg(i == 19 || i == 20 ? "2" : "NULL");
    sql("INSERT INTO document (documentid, documentdate, documenttype, number, warehouseid, inwarehouseid) VALUES " +
        documents.join(','));
    sql("INSERT INTO docfinitem (documentid, productid, warehouseid) VALUES (1, 7, 2), (1, 8, 2), (21, 7, 2)");
    sql("INSERT INTO accountnew (accountnewid, type) VALUES (1, 'warehouse')");
    sql("INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 1)");

    ScriptedDialogs script;
    script.answer(ButtonYes);
    EXPECT_ROWS(minusOnWarehouses({2, 1, 3}), (QStringList{"Centralni magacin", "Magacin reklamacija"}));
    EXPECT_ROWS(script.messages(), (QStringList{"Magacin \"Magacin reklamacija\" ima 217 stavki zaliha i 21 dokument.",
                                              CMN_RELATIONAL_INTEGRITY_ERR,
                                              "Da li želite da izbrišete magacin \"Prazan magacin\"?"}));
    EXPECT_ROWS(rowsOf(db(), "SELECT warehouseid FROM warehouse ORDER BY warehouseid"), (QStringList{"1", "2"}));
    EXPECT_EQ(text("SELECT COUNT(*) FROM productwarehouse WHERE warehouseid = 2"), "217");
}

TEST_F(Deletes, CountsAreSaidInSerbianForms)
{
    const std::pair<qint64, const char*> cases[] = {
        {1, "1 dokument"},      {2, "2 dokumenta"},     {4, "4 dokumenta"},     {5, "5 dokumenata"},
        {11, "11 dokumenata"},  {12, "12 dokumenata"},  {14, "14 dokumenata"},  {21, "21 dokument"},
        {22, "22 dokumenta"},   {25, "25 dokumenata"},  {101, "101 dokument"},  {111, "111 dokumenata"},
        {112, "112 dokumenata"}, {1004, "1004 dokumenta"}};
    for (const auto& [n, expected] : cases)
        EXPECT_EQ(CountText(n, "dokument", "dokumenta", "dokumenata"), QString::fromUtf8(expected)) << n;
    // The verb agrees with the count.
    sql("UPDATE product SET taxid = 4 WHERE productid = 9");
    EXPECT_EQ(dm().TaxDeleteRefusal(4), "Porez \"Stara\" koristi 1 proizvod.");
    sql("UPDATE product SET taxid = 4");
    EXPECT_EQ(dm().TaxDeleteRefusal(4), "Porez \"Stara\" koristi 5 proizvoda.");
    EXPECT_EQ(dm().TaxDeleteRefusal(3), QString());
}

TEST_F(Deletes, AttributeAndValueMinusRefuseWhatProductsAndCategoriesUse)
{
    sql("INSERT INTO attributepr (attributeprid, attribute, required, sort) VALUES (1, 'Boja', 0, 1), "
        "(2, 'Veličina', 0, 2), (3, 'Ukus', 0, 3)");
    sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
        "(11, 1, 'Crvena', 1), (12, 1, 'Plava', 2), (13, 1, 'Bela', 3), (21, 2, 'S', 1)");
    // Mleko comes in red, in two variants; a category suggests red and one more suggests size.
    sql("INSERT INTO productattribute (productid, attributeprid1, attributeprvalueid1, prodattribute, "
        "prodattributevalue) VALUES (7, 1, 11, 'Boja', 'Crvena'), (7, 1, 11, 'Boja', 'Crvena'), "
        "(8, 2, 21, 'Veličina', 'S')");
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića'), (2, 0, 'Hrana')");
    sql("INSERT INTO categoryprattribute (categoryprid, attributeprid, catattribute, catattributevalue) VALUES "
        "(1, 1, 'Boja', 'Crvena'), (2, 2, 'Veličina', ''), (2, 1, 'Boja', 'Plava')");

    ScriptedDialogs script;
    script.answer(ButtonYes).answer(ButtonYes);
    inModal<TAttributeForm>(AttributeManage, [](TAttributeForm& form) {
        for (qint64 id : {1, 2, 3})
            clickMinusOn(form.AttributeDBG(), form.AttributeNavigator(), "attributeprid", id, "attribute");
        form.AttributeDBG()->dataSet()->locate("attributeprid", 1);
        for (qint64 id : {11, 12, 13})
            clickMinusOn(form.AttributeValueDBG(), form.AttributeValueNavigator(), "attributeprvalueid", id,
                         "attributevalue");
        form.CloseButton()->click();
    });
    EXPECT_ROWS(script.messages(),
              (QStringList{"Atribut \"Boja\" ima 3 vrednosti, a koristi ga 1 proizvod i 2 kategorije.",
                           "Atribut \"Veličina\" ima 1 vrednost, a koristi ga 1 proizvod i 1 kategorija.",
                           "Da li želite da izbrišete atribut \"Ukus\"?",
                           "Vrednost atributa \"Crvena\" koristi 1 proizvod i 1 kategorija.",
                           "Vrednost atributa \"Plava\" koristi 1 kategorija.",
                           "Da li želite da izbrišete vrednost atributa \"Bela\"?"}));
    EXPECT_ROWS(rowsOf(db(), "SELECT attributeprid FROM attributepr ORDER BY attributeprid"), (QStringList{"1", "2"}));
    EXPECT_ROWS(rowsOf(db(), "SELECT attributeprvalueid FROM attributeprvalue ORDER BY attributeprvalueid"),
                (QStringList{"11", "12", "21"}));
    // Once nothing uses it, its values still hold it.
    sql("DELETE FROM productattribute");
    sql("DELETE FROM categoryprattribute");
    EXPECT_EQ(dm().AttributeDeleteRefusal(1), "Atribut \"Boja\" ima 2 vrednosti.");
}

// Two workstations at once: one adds a stock row to a warehouse while the
// other deletes it. Whichever comes first, no stock row is left without its
// warehouse.
TEST_F(Deletes, AStockRowAddedMeanwhileByAnotherWorkstationEitherStopsTheDeleteOrIsRefused)
{
    const ConnectionSettings other = database().settings();
    ScriptedDialogs script;

    // The other workstation's row is written but not committed yet: the
    // delete waits for it and then counts it.
    std::atomic<bool> written{false};
    std::thread adds([&] {
        {
            QSqlDatabase b = openConnection(other, QStringLiteral("other-workstation"));
            QSqlQuery q(b);
            q.exec("START TRANSACTION");
            q.exec("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (7, 3, 5, 100)");
            written = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            q.exec("COMMIT");
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other-workstation"));
    });
    while (!written)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    script.answer(ButtonYes);
    minusOnWarehouses({3});
    adds.join();
    EXPECT_ROWS(script.messages(), (QStringList{"Da li želite da izbrišete magacin \"Prazan magacin\"?",
                                              "Magacin \"Prazan magacin\" ima 1 stavku zaliha."}));
    EXPECT_EQ(text("SELECT COUNT(*) FROM warehouse WHERE warehouseid = 3"), "1");

    // The delete holds the warehouse when the other workstation adds its
    // row: the row waits, then is refused by the database.
    sql("DELETE FROM productwarehouse");
    sql("CREATE TABLE IF NOT EXISTS deletepause (warehouseid BIGINT PRIMARY KEY)");
    sql("DELETE FROM deletepause");
    sql("CREATE TRIGGER deletepause BEFORE DELETE ON warehouse FOR EACH ROW BEGIN "
        "INSERT INTO deletepause VALUES (OLD.warehouseid); DO SLEEP(0.8); END");
    int refusedWith = 0;
    std::thread late([&] {
        {
            QSqlDatabase b = openConnection(other, QStringLiteral("other-workstation"));
            QSqlQuery q(b);
            // Sees the delete under way before it commits.
            q.exec("SET SESSION TRANSACTION ISOLATION LEVEL READ UNCOMMITTED");
            for (int i = 0; i < 1000; ++i) {
                if (q.exec("SELECT COUNT(*) FROM deletepause") && q.next() && q.value(0).toInt() > 0)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (!q.exec("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (7, 3, 5, 100)"))
                refusedWith = q.lastError().nativeErrorCode().toInt();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other-workstation"));
    });
    script.clear();
    script.answer(ButtonYes);
    minusOnWarehouses({3});
    late.join();
    sql("DROP TRIGGER deletepause");
    sql("DROP TABLE deletepause");
    EXPECT_ROWS(script.messages(), QStringList{"Da li želite da izbrišete magacin \"Prazan magacin\"?"});
    EXPECT_EQ(refusedWith, 1452); // no parent row
    EXPECT_EQ(text("SELECT COUNT(*) FROM warehouse WHERE warehouseid = 3"), "0");
    EXPECT_EQ(text("SELECT COUNT(*) FROM productwarehouse"), "0");
}

TEST_F(Deletes, ACategoryDeleteWorksInTheDatabasesOneSessionWhichASecondConnectionCannotTake)
{
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića'), (2, 1, 'Sokovi'), "
        "(3, 0, 'Hrana')");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (7, 2), (8, 3)");
    ScriptedDialogs script;
    script.answer(ButtonYes);
    inModal<TCategoryForm>([] { CatManage(db()); }, [](TCategoryForm& form) { deleteCategory(form, 1); });
    EXPECT_EQ(script.shown().value(0).buttons, ButtonYes | ButtonNo | DefaultNo);
    EXPECT_ROWS(rowsOf(db(), "SELECT categoryprid FROM categorypr"), QStringList{"3"});
    EXPECT_ROWS(rowsOf(db(), "SELECT productid FROM productcategorypr"), QStringList{"8"});
    EXPECT_THROW(Connection second(db()), InternalError);
    EXPECT_EQ(Connection::working(db()), &connection());

    // The delete joins a transaction already open on the session: undone
    // with it, and the work before it is not committed by it.
    {
        Transaction outer(connection());
        connection().execute("INSERT INTO tax (taxid, name, value) VALUES (9, 'Probna', 1)");
        CategoryTree tree(db());
        tree.createTree();
        tree.deleteCategories(3);
        EXPECT_EQ(connection().transactionDepth(), 1);
    }
    EXPECT_ROWS(rowsOf(db(), "SELECT categoryprid FROM categorypr"), QStringList{"3"});
    EXPECT_EQ(text("SELECT COUNT(*) FROM tax WHERE taxid = 9"), "0");
}

TEST_F(Deletes, ThePickersToolBarHasNoDeleteAndNoReferenceDataAndItsShortCutsDoNothing)
{
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES (7, 1, 2, 100)");
    ScriptedDialogs script;
    TProductDesc desc;
    inModal<TGetProductForm>([&desc] { EXPECT_FALSE(ProductGet(desc)); }, [](TGetProductForm& form) {
        TProductViewerForm* list = form.viewer();
        EXPECT_ROWS(shownActions(list->toolBar()->actions()), (QStringList{"Dodaj", "Uredi", "|", "Zamene"}));
        EXPECT_ROWS(shownActions(list->popupMenu()->actions()), (QStringList{"Dodaj", "Uredi", "|", "Zamene", "|",
                                                                            "Kolone..."}));
        form.navigator()->SearchVLE()->setValue(QStringLiteral("name"), QStringLiteral("Mleko"));
        click(form.navigator()->FindButton());
        clickCell(list->DBG(), "name", 0);
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_T, Qt::Key_M, Qt::Key_K, Qt::Key_A, Qt::Key_O})
            QTest::keyClick(list->DBG(), key, Qt::ControlModifier);
        EXPECT_EQ(QApplication::activeModalWidget(), &form);
        form.cancelButton()->click();
    });
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
    EXPECT_EQ(text("SELECT COUNT(*) FROM product WHERE productid = 7"), "1");
}

// A delete or a category write the server refuses for another session's
// sake runs again and settles: the user sees only the question. The second
// deadlock of each meets the commit mark, after the row already left its
// list: the next try finds it again. Past the budget the user is told once
// and the row is back in its list.
TEST_F(Deletes, ADeadlockedDeleteOrCategoryWriteRunsAgainAndSettlesTheUserSeesOnlyTheQuestion)
{
    for (const auto& [table, statement] : {std::pair{"warehouse", "DELETE"}, {"product", "DELETE"},
                                           {"categorypr", "DELETE"}, {"categorypr", "INSERT"},
                                           {"commitmark", "INSERT"}})
        deadlocksOn(table, statement);
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića'), (2, 1, 'Sokovi')");
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (7, 2)");
    ScriptedDialogs script;

    script.answer(ButtonYes);
    sql("SET @deadlocks = 2");
    EXPECT_ROWS(minusOnWarehouses({3}), (QStringList{"Centralni magacin", "Magacin reklamacija"}));
    EXPECT_EQ(text("SELECT @deadlocks"), "0");
    EXPECT_ROWS(rowsOf(db(), "SELECT warehouseid FROM warehouse ORDER BY warehouseid"), (QStringList{"1", "2"}));

    {
        const auto viewer = productListWindow("p.productid IN (10, 11)");
        script.answer(ButtonYes);
        sql("SET @deadlocks = 2");
        clickCell(viewer->DBG(), "name", 1);
        ASSERT_EQ(productZQ().fieldByName("name").asString(), "Markica");
        click(viewer->toolBar()->widgetForAction(viewer->ProductDelete));
        EXPECT_ROWS(columnTexts(viewer->DBG(), "name"), QStringList{"Lek"});
    }
    EXPECT_EQ(text("SELECT @deadlocks"), "0");
    EXPECT_EQ(text("SELECT COUNT(*) FROM product WHERE productid = 11"), "0");

    script.answer(ButtonYes);
    sql("SET @deadlocks = 2");
    inModal<TCategoryForm>([] { CatManage(db()); }, [](TCategoryForm& form) { deleteCategory(form, 1); });
    EXPECT_EQ(text("SELECT @deadlocks"), "0");
    EXPECT_EQ(text("SELECT COUNT(*) FROM categorypr"), "0");
    EXPECT_EQ(text("SELECT COUNT(*) FROM productcategorypr"), "0");
    sql("SET @deadlocks = 2");
    const qint64 added = dm().AddCategory(0, QStringLiteral("Hrana"));
    EXPECT_EQ(text("SELECT @deadlocks"), "0");
    EXPECT_ROWS(rowsOf(db(), "SELECT categoryprid, name FROM categorypr"),
                QStringList{QStringLiteral("%1|Hrana").arg(added)});
    EXPECT_ROWS(script.messages(), (QStringList{"Da li želite da izbrišete magacin \"Prazan magacin\"?",
                                              Format(PROD_DELETE_CNF, {"Markica"}),
                                              Format(CAT_DEL_CONF_FMT, {"Pića"})}));

    // Deadlocks past the budget: told once, in Serbian; the warehouse is kept and listed.
    RetryBudget::setBudgetMs(300);
    script.clear();
    script.answer(ButtonYes);
    sql("SET @deadlocks = 1000000");
    EXPECT_ROWS(minusOnWarehouses({2}), (QStringList{"Centralni magacin", "Magacin reklamacija"}));
    EXPECT_ROWS(script.messages(), (QStringList{"Da li želite da izbrišete magacin \"Magacin reklamacija\"?",
                                              DB_CONFLICT_ERR}));
    EXPECT_ROWS(rowsOf(db(), "SELECT warehouseid FROM warehouse ORDER BY warehouseid"), (QStringList{"1", "2"}));
}
