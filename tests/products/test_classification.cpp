// The category tree: paths and identifiers, selecting, adding, renaming and
// deleting subtrees; and the window that picks or administers categories.

#include "Categorytree.h"
#include "Categoryunit.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"
#include "test_refwindows.h"

#include <QAction>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// Clicks (or double-clicks) a category's row as a user does, its branch
// opened first.
void clickItem(TCategoryForm& form, qint64 id, bool twice = false)
{
    QTreeWidgetItem* item = form.itemOf(form.tree().findNode(id));
    ASSERT_NE(item, nullptr);
    QTreeWidget* view = form.treeView();
    view->scrollToItem(item);
    const QPoint at = view->visualItemRect(item).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class Categories : public WindowTest {
protected:
    enum : qint32 { drinks = 1, juices = 2, food = 3, firstTwin = 4, orange = 5, secondTwin = 6 };
    void SetUp() override
    {
        // The delete log of a test before goes with its triggers.
        for (const char* statement :
             {"DROP TRIGGER IF EXISTS logcat", "DROP TRIGGER IF EXISTS loglink", "DROP TABLE IF EXISTS deletelog"})
            execSql(db(), statement);
        WindowTest::SetUp();
        execSql(db(), "INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'Pića'), (2, 1, 'Sokovi'), "
                      "(3, 0, 'Hrana'), (4, 3, 'Hleb'), (5, 2, 'Pomorandža'), (6, 3, 'Hleb')");
    }
};

TEST_F(Categories, PathsIdentifiersPathListsAndSelections)
{
    EXPECT_EQ(CatPathsToIDs(db(), QStringLiteral("Pića>Sokovi>Pomorandža;Hrana;Nema>Ovog;Pića")),
              (TIntArray{orange, food, drinks}));
    EXPECT_EQ(CatIDsToPaths(db(), {juices, 9999, food}), QStringLiteral("Pića>Sokovi;Hrana"));
    // Same-name siblings: the path resolves to the first in name order.
    EXPECT_EQ(CatPathsToIDs(db(), QStringLiteral("Hrana>Hleb")), TIntArray{firstTwin});
    EXPECT_TRUE(CatPathsToIDs(db(), QStringLiteral("Pića>Hleb")).isEmpty());
    // Names are matched exactly, letter case included.
    EXPECT_TRUE(CatPathsToIDs(db(), QStringLiteral("pića")).isEmpty());

    // Split paths are added to what the list holds.
    const std::pair<const char*, QStringList> splits[] = {
        {"X>Y;;Z", {"X>Y", "", "Z"}}, {"X;", {"X"}}, {"", {}}, {";X", {"", "X"}}};
    for (const auto& [paths, parts] : splits) {
        QStringList list{QStringLiteral("kept")};
        CatPathsToStrings(QString::fromUtf8(paths), list);
        EXPECT_ROWS(list, QStringList{"kept"} + parts) << paths;
    }
    EXPECT_EQ(CatStringsToPath({"X", "Y>Z"}), QStringLiteral("X;Y>Z"));
    EXPECT_EQ(CatStringsToPath({}), QString());

    // Single selection keeps the last focus; select-all includes the root with an empty path.
    CategoryTree tree(db());
    tree.createTree();
    tree.setMultiSelect(false);
    tree.selectCategories(QString(), {food, 4242, orange, 4343}, false);
    QString paths;
    TIntArray ids;
    tree.getSelectedCategories(paths, ids, true);
    EXPECT_EQ(paths, QStringLiteral("Pomorandža"));
    EXPECT_EQ(ids, TIntArray{orange});
    // Focusing expands the node one level.
    EXPECT_TRUE(tree.findNode(orange)->expanded);
    EXPECT_FALSE(tree.findNode(juices)->expanded);

    CategoryTree all(db());
    all.createTree();
    all.setMultiSelect(true);
    all.selectAll();
    all.getSelectedCategories(paths, ids, false);
    EXPECT_EQ(ids.size(), 7);
    EXPECT_EQ(ids.first(), 0);
    EXPECT_TRUE(paths.startsWith(QStringLiteral(";Hrana;Hrana>Hleb;Hrana>Hleb;Pića;")));
    all.deselectAll();
    all.getSelectedCategories(paths, ids, false);
    EXPECT_TRUE(paths.isEmpty());
    EXPECT_TRUE(ids.isEmpty());
}

TEST_F(Categories, AddRenameTheEmptyNameRefusalAndDeletingASubtreeGrandchildrenFirstWithTheirLinks)
{
    ScriptedDialogs script;
    execSql(db(), "INSERT INTO productcategorypr VALUES (1, 1), (2, 2), (3, 5), (4, 3)");
    // Triggers write down the order of the deletes.
    execSql(db(), "CREATE TABLE deletelog (n INT AUTO_INCREMENT PRIMARY KEY, what VARCHAR(20))");
    execSql(db(), "CREATE TRIGGER logcat BEFORE DELETE ON categorypr FOR EACH ROW "
                  "INSERT INTO deletelog (what) VALUES (CONCAT('c', OLD.categoryprid))");
    execSql(db(), "CREATE TRIGGER loglink BEFORE DELETE ON productcategorypr FOR EACH ROW "
                  "INSERT INTO deletelog (what) VALUES (CONCAT('l', OLD.productid))");
    CategoryTree tree(db());
    tree.createTree();
    CategoryNode* added = tree.addCategory(QStringLiteral("Voće 'n' \\povrće"), tree.findNode(food));
    ASSERT_NE(added, nullptr);
    EXPECT_GT(added->id, secondTwin);
    const QString stored = QStringLiteral("SELECT name FROM categorypr WHERE categoryprid = %1").arg(added->id);
    EXPECT_EQ(text(stored), QStringLiteral("Voće 'n' \\povrće"));
    EXPECT_EQ(CategoryTree::nodeToPath(added), QStringLiteral("Hrana>Voće 'n' \\povrće"));
    EXPECT_EQ(tree.addCategory(QStringLiteral("x"), nullptr), nullptr);

    QString name = QStringLiteral("Sveže");
    EXPECT_TRUE(tree.editCategory(name, added));
    name.clear();
    EXPECT_FALSE(tree.editCategory(name, added));
    EXPECT_EQ(name, QStringLiteral("Sveže"));
    EXPECT_ROWS(script.messages(), QStringList{QStringLiteral("Ime kategorije ne može biti prazno")});
    EXPECT_EQ(text(stored), QStringLiteral("Sveže"));

    tree.deleteCategories(drinks);
    tree.removeNode(tree.findNode(drinks));
    EXPECT_ROWS(rowsOf(db(), "SELECT what FROM deletelog ORDER BY n"), (QStringList{"l3", "c5", "l2", "c2", "l1", "c1"}));
    EXPECT_EQ(text("SELECT COUNT(*) FROM categorypr"), "4");
    EXPECT_FALSE(tree.findNode(orange));
    EXPECT_TRUE(tree.findNode(food));
}

TEST_F(Categories, PickingOneReturnsItsNameSeveralKeepSelectionOrderAndFullPathsCancellingChangesNothing)
{
    QString paths = QStringLiteral("Hrana");
    TIntArray ids{77};
    inModal<TCategoryForm>([&] { EXPECT_TRUE(CatGet(db(), paths, ids, true)); }, [](TCategoryForm& form) {
        // Pre-selected by path (the identifiers are ignored).
        EXPECT_EQ(form.tree().selection().size(), 1);
        EXPECT_EQ(form.tree().selected()->id, 3);
        clickItem(form, 2);
        EXPECT_EQ(form.tree().selection().size(), 1);
        clickItem(form, 2, true); // a double-click confirms in picking mode
    });
    EXPECT_EQ(paths, QStringLiteral("Sokovi"));
    EXPECT_EQ(ids, TIntArray{2});

    inModal<TCategoryForm>([&] { EXPECT_FALSE(CatGet(db(), paths, ids, false)); }, [](TCategoryForm& form) {
        // Picking shows the attribute and rebate buttons too.
        auto* bar = form.findChild<QToolBar*>();
        for (QAction* action : {form.categoryAttribute(), form.categoryRebate()})
            EXPECT_TRUE(bar->widgetForAction(action) && bar->widgetForAction(action)->isVisible())
                << action->text().toStdString();
        clickItem(form, 4);
        form.cancelButton()->click();
    });
    EXPECT_EQ(paths, QStringLiteral("Sokovi"));
    EXPECT_EQ(ids, TIntArray{2});

    paths.clear();
    ids = {4, 2};
    inModal<TCategoryForm>([&] { EXPECT_TRUE(CatGet(db(), paths, ids, false)); }, [](TCategoryForm& form) {
        EXPECT_TRUE(form.categorySelectAll()->isEnabled());
        EXPECT_FALSE(form.categoryAdd()->isEnabled()); // two nodes selected
        clickItem(form, 1);
        form.okButton()->click();
    });
    EXPECT_EQ(paths, QStringLiteral("Hrana>Hleb;Pića>Sokovi;Pića"));
    EXPECT_EQ(ids, (TIntArray{4, 2, 1}));
}

TEST_F(Categories, AdministrationAddsAndDeletesThroughTheDialogs)
{
    ScriptedDialogs script;
    script.answer(QStringLiteral("Mineralna voda")).answer(ButtonYes);
    inModal<TCategoryForm>([&] { CatManage(db()); }, [](TCategoryForm& form) {
        EXPECT_FALSE(form.okButton()->isVisibleTo(&form));
        EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("Zatvori"));
        EXPECT_FALSE(form.categorySelectAll()->isEnabled());
        // The root can be neither deleted nor renamed.
        clickItem(form, 0);
        EXPECT_FALSE(form.categoryDelete()->isEnabled());
        EXPECT_FALSE(form.itemOf(form.tree().root())->flags() & Qt::ItemIsEditable);
        clickItem(form, 1);
        form.categoryAdd()->trigger();
        CategoryNode* water = form.tree().pathToNode(QStringLiteral("Pića>Mineralna voda"));
        EXPECT_NE(water, nullptr);
        EXPECT_NE(form.itemOf(water), nullptr);
        // A double-click in administration does not close the window.
        clickItem(form, 1, true);
        EXPECT_TRUE(form.isVisible());
        // The subtree leaves the view (its rows and their question: test_deletes).
        clickItem(form, 3);
        form.categoryDelete()->trigger();
        EXPECT_EQ(form.tree().findNode(4), nullptr);
        form.cancelButton()->click();
    });
    EXPECT_EQ(text("SELECT COUNT(*) FROM categorypr WHERE name = 'Mineralna voda' AND parentid = 1"), "1");
}
