#include "Categoryunit.h"
#include "Connection.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"
#include "test_refwindows.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QSqlQuery>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {


void clickItem(TCategoryForm& form, qint64 id)
{
    QTreeWidgetItem* item = form.itemOf(form.tree().findNode(id));
    ASSERT_NE(item, nullptr);
    item->setSelected(true);
}

} // namespace

class CategoryFormTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        execSql(db(), "DELETE FROM categorypr");
        execSql(db(), "INSERT INTO categorypr (categoryprid, parentid, name) VALUES "
                      "(1, 0, 'Pića'), (2, 1, 'Sokovi'), (3, 0, 'Hrana'), (4, 3, 'Hleb')");
    }
};

TEST_F(CategoryFormTest, PickingOneReturnsItsNameAndCancellingChangesNothing)
{
    QString paths = QStringLiteral("Hrana");
    TIntArray ids{77};
    inModal<TCategoryForm>([&] { EXPECT_TRUE(CatGet(db(), paths, ids, true)); }, [](TCategoryForm& form) {
        // Pre-selected by path (the identifiers are ignored).
        EXPECT_EQ(form.tree().selection().size(), 1);
        EXPECT_EQ(form.tree().selected()->id, 3);
        clickItem(form, 2);
        EXPECT_EQ(form.tree().selection().size(), 1);
        form.TreeViewDblClick(); // confirms in picking mode
    });
    EXPECT_EQ(paths, QStringLiteral("Sokovi"));
    EXPECT_EQ(ids, TIntArray{2});

    inModal<TCategoryForm>([&] { EXPECT_FALSE(CatGet(db(), paths, ids, false)); }, [](TCategoryForm& form) {
        clickItem(form, 4);
        form.cancelButton()->click();
    });
    EXPECT_EQ(paths, QStringLiteral("Sokovi"));
    EXPECT_EQ(ids, TIntArray{2});
}

TEST_F(CategoryFormTest, PickingSeveralKeepsSelectionOrderAndFullPaths)
{
    QString paths;
    TIntArray ids{4, 2};
    inModal<TCategoryForm>([&] { EXPECT_TRUE(CatGet(db(), paths, ids, false)); }, [](TCategoryForm& form) {
        EXPECT_TRUE(form.categorySelectAll()->isEnabled());
        EXPECT_FALSE(form.categoryAdd()->isEnabled()); // two nodes selected
        clickItem(form, 1);
        form.okButton()->click();
    });
    EXPECT_EQ(paths, QStringLiteral("Hrana>Hleb;Pića>Sokovi;Pića"));
    EXPECT_EQ(ids, (TIntArray{4, 2, 1}));
}

TEST_F(CategoryFormTest, AdministrationAddsAndDeletesThroughTheDialogs)
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
        form.TreeViewDblClick();
        EXPECT_TRUE(form.isVisible());
        clickItem(form, 3);
        form.categoryDelete()->trigger();
        EXPECT_EQ(form.tree().findNode(4), nullptr);
        form.cancelButton()->click();
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(script.shown()[1].text,
              QStringLiteral("Da li želite da izbrišete kategoriju \"Hrana\" i sve njene podkategorije?"));
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM categorypr WHERE name = 'Mineralna voda' AND parentid = 1").toInt(), 1);
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM categorypr WHERE categoryprid IN (3, 4)").toInt(), 0);
}
