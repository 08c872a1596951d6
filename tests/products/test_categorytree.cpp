#include "Categorytree.h"
#include "Connection.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex::test;

namespace {
void execSql(QSqlDatabase db, const QString& sql)
{
    tarvex::execSql(db, sql);
}
} // namespace

namespace {

qint64 insertCategory(QSqlDatabase db, qint64 parent, const QString& name)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO categorypr (parentid, name) VALUES (?, ?)"));
    q.addBindValue(parent);
    q.addBindValue(name);
    EXPECT_TRUE(q.exec());
    return q.lastInsertId().toLongLong();
}

} // namespace

TEST(CategoryPaths, SplittingAndJoiningPathLists)
{
    QStringList list{QStringLiteral("kept")};
    CatPathsToStrings(QStringLiteral("X>Y;;Z"), list);
    EXPECT_EQ(list, (QStringList{"kept", "X>Y", "", "Z"}));
    list.clear();
    CatPathsToStrings(QStringLiteral("X;"), list);
    EXPECT_EQ(list, QStringList{"X"});
    list.clear();
    CatPathsToStrings(QString(), list);
    EXPECT_TRUE(list.isEmpty());
    CatPathsToStrings(QStringLiteral(";X"), list);
    EXPECT_EQ(list, (QStringList{"", "X"}));

    EXPECT_EQ(CatStringsToPath({"X", "Y>Z"}), QStringLiteral("X;Y>Z"));
    EXPECT_EQ(CatStringsToPath({}), QString());
}

class CategoryTreeTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        // The delete log of a test before goes with its triggers.
        for (const char* statement : {"DROP TRIGGER IF EXISTS logcat", "DROP TRIGGER IF EXISTS loglink",
                                      "DROP TABLE IF EXISTS deletelog", "DELETE FROM categorypr",
                                      "DELETE FROM productcategorypr"})
            execSql(db(), statement);
        drinks = insertCategory(db(), 0, "Pića");
        juices = insertCategory(db(), drinks, "Sokovi");
        orange = insertCategory(db(), juices, "Pomorandža");
        food = insertCategory(db(), 0, "Hrana");
        firstTwin = insertCategory(db(), food, "Hleb");
        secondTwin = insertCategory(db(), food, "Hleb");
    }

    qint64 drinks = 0, juices = 0, orange = 0, food = 0, firstTwin = 0, secondTwin = 0;
};

TEST_F(CategoryTreeTest, PathsAndIdentifiersConvertBothWays)
{
    const tarvex::TIntArray ids = CatPathsToIDs(db(), QStringLiteral("Pića>Sokovi>Pomorandža;Hrana;Nema>Ovog;Pića"));
    EXPECT_EQ(ids, (tarvex::TIntArray{qint32(orange), qint32(food), qint32(drinks)}));
    EXPECT_EQ(CatIDsToPaths(db(), {qint32(juices), 9999, qint32(food)}), QStringLiteral("Pića>Sokovi;Hrana"));
    // Same-name siblings: the path resolves to the first in name order.
    EXPECT_EQ(CatPathsToIDs(db(), QStringLiteral("Hrana>Hleb")), tarvex::TIntArray{qint32(firstTwin)});
    EXPECT_TRUE(CatPathsToIDs(db(), QStringLiteral("Pića>Hleb")).isEmpty());
    // Names are matched exactly, letter case included.
    EXPECT_TRUE(CatPathsToIDs(db(), QStringLiteral("pića")).isEmpty());
}

TEST_F(CategoryTreeTest, SingleSelectionKeepsTheLastFocusAndGivesNamesOnly)
{
    CategoryTree tree(db());
    tree.createTree();
    tree.setMultiSelect(false);
    tree.selectCategories(QString(), {qint32(food), 4242, qint32(orange), 4343}, false);
    QString paths;
    tarvex::TIntArray ids;
    tree.getSelectedCategories(paths, ids, true);
    EXPECT_EQ(paths, QStringLiteral("Pomorandža"));
    EXPECT_EQ(ids, tarvex::TIntArray{qint32(orange)});
    // Focusing expands the node one level.
    EXPECT_TRUE(tree.findNode(orange)->expanded);
    EXPECT_FALSE(tree.findNode(juices)->expanded);
}

TEST_F(CategoryTreeTest, SelectAllIncludesTheRootWithAnEmptyPath)
{
    CategoryTree tree(db());
    tree.createTree();
    tree.setMultiSelect(true);
    tree.selectAll();
    QString paths;
    tarvex::TIntArray ids;
    tree.getSelectedCategories(paths, ids, false);
    EXPECT_EQ(ids.size(), 7);
    EXPECT_EQ(ids.first(), 0);
    EXPECT_TRUE(paths.startsWith(QStringLiteral(";Hrana;Hrana>Hleb;Hrana>Hleb;Pića;")));

    tree.deselectAll();
    tree.getSelectedCategories(paths, ids, false);
    EXPECT_TRUE(paths.isEmpty());
    EXPECT_TRUE(ids.isEmpty());
}

TEST_F(CategoryTreeTest, AddRenameAndTheEmptyNameRefusal)
{
    tarvex::ScriptedDialogs script;
    CategoryTree tree(db());
    tree.createTree();
    CategoryNode* added = tree.addCategory(QStringLiteral("Voće 'n' \\povrće"), tree.findNode(food));
    ASSERT_NE(added, nullptr);
    EXPECT_GT(added->id, secondTwin);
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT name FROM categorypr WHERE categoryprid = %1").arg(added->id)).toString(),
              QStringLiteral("Voće 'n' \\povrće"));
    EXPECT_EQ(CategoryTree::nodeToPath(added), QStringLiteral("Hrana>Voće 'n' \\povrće"));
    EXPECT_EQ(tree.addCategory(QStringLiteral("x"), nullptr), nullptr);

    QString name = QStringLiteral("Sveže");
    EXPECT_TRUE(tree.editCategory(name, added));
    name.clear();
    EXPECT_FALSE(tree.editCategory(name, added));
    EXPECT_EQ(name, QStringLiteral("Sveže"));
    EXPECT_EQ(script.messages(), QStringList{QStringLiteral("Ime kategorije ne može biti prazno")});
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT name FROM categorypr WHERE categoryprid = %1").arg(added->id)).toString(),
              QStringLiteral("Sveže"));
}

TEST_F(CategoryTreeTest, DeletingASubtreeRemovesGrandchildrenFirstWithTheirLinks)
{
    execSql(db(), QStringLiteral("INSERT INTO productcategorypr VALUES (1, %1), (2, %2), (3, %3), (4, %4)")
                      .arg(drinks).arg(juices).arg(orange).arg(food));
    // Triggers write down the order of the deletes.
    execSql(db(), "CREATE TABLE deletelog (n INT AUTO_INCREMENT PRIMARY KEY, what VARCHAR(20))");
    execSql(db(), "CREATE TRIGGER logcat BEFORE DELETE ON categorypr FOR EACH ROW "
                  "INSERT INTO deletelog (what) VALUES (CONCAT('c', OLD.categoryprid))");
    execSql(db(), "CREATE TRIGGER loglink BEFORE DELETE ON productcategorypr FOR EACH ROW "
                  "INSERT INTO deletelog (what) VALUES (CONCAT('l', OLD.productid))");
    CategoryTree tree(db());
    tree.createTree();
    tree.deleteCategories(drinks);
    tree.removeNode(tree.findNode(drinks));
    const QString log = scalar(db(), "SELECT GROUP_CONCAT(what ORDER BY n) FROM deletelog").toString();
    EXPECT_EQ(log, QStringLiteral("l3,c%1,l2,c%2,l1,c%3").arg(orange).arg(juices).arg(drinks));
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM categorypr").toInt(), 3);
    EXPECT_EQ(tree.findNode(orange), nullptr);
    EXPECT_NE(tree.findNode(food), nullptr);
}
