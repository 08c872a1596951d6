#include "Connection.h"
#include "CustomNavigatorForm.h"
#include "CustomViewerForm.h"
#include "Modal.h"
#include "QueryDataSet.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// Typing into a row and searching with the value still being typed: the
// product search panel's (test_user_slips).
class Panel : public TCustomNavigatorForm {
public:
    Panel() { SearchVLE()->addKey("warehouse"); }
    void SetSearchProps() override
    {
        SearchVLE()->setEditButton("warehouse", true);
        SearchVLE()->setTypingBlocked("warehouse", true);
        TCustomNavigatorForm::SetSearchProps();
    }
    void SearchVLEEditButtonClick(const QString& key) override { SearchVLE()->setValue(key, "Glavni magacin"); }
};

} // namespace

class ViewerTest : public DatabaseTest {};

TEST_F(ViewerTest, SearchPanelFillsARowThatRefusesTypingByItsButtonAndTheListWindowChoosesItsColumns)
{
    Panel panel;
    panel.SetSearchProps();
    panel.show();
    SearchValueList* list = panel.SearchVLE();

    // The warehouse row refuses typing; its button fills it.
    list->setCurrentCell(0, 1);
    list->editItem(list->item(0, 1));
    auto* line = list->viewport()->findChild<QLineEdit*>("value");
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "xyz");
    list->commitPending();
    EXPECT_EQ(list->value("warehouse"), QString());
    list->editItem(list->item(0, 1));
    auto* dots = list->viewport()->findChild<QToolButton*>();
    ASSERT_NE(dots, nullptr);
    QTest::mouseClick(dots, Qt::LeftButton);
    EXPECT_EQ(list->value("warehouse"), "Glavni magacin");
    // A value wider than its cell shows whole as the cell's tip.
    EXPECT_EQ(list->item(0, 1)->toolTip(), "Glavni magacin");

    // The editor's apply and close check: the product editor's (test_editor).

    // The list window chooses its columns.
    execSql(db(), "INSERT INTO tax (name, value, status) VALUES ('A', 20, 'primary'), ('B', 10, 'standard')");
    Connection connection(db());
    QueryDataSet taxes(&connection, "SELECT * FROM tax ORDER BY name");
    taxes.open();
    TCustomViewerForm viewer;
    viewer.DBG()->setDataSet(&taxes);
    QAction* edit = viewer.addListAction("Izmeni", "Izmeni porez", QKeySequence(Qt::Key_F2));
    EXPECT_TRUE(viewer.toolBar()->actions().contains(edit));
    EXPECT_EQ(viewer.popupMenu()->actions().first(), edit);
    EXPECT_EQ(viewer.popupMenu()->actions().last(), viewer.columnsAction());

    ScopedModalHandler untick([](QDialog& dialog) {
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            if (box->text() == "description")
                box->setChecked(false);
        dialog.accept();
        return int(QDialog::Accepted);
    });
    viewer.columnsAction()->trigger();
    EXPECT_FALSE(viewer.DBG()->visibleColumns().contains("description"));
    EXPECT_TRUE(viewer.DBG()->visibleColumns().contains("value"));
}
