// The editor's cached lists: rebates and working operations are written only
// by apply (new products' rows get the new id), dropped by cancel, and the
// working-operations page follows the product type; moving an operation
// swaps positions in the cache.

#include "DBControls.h"
#include "DBGrid.h"
#include "Productcachedlists.h"
#include "Productdetailunit.h"
#include "Productrebatepage.h"
#include "Productworkoperationspage.h"
#include "Modal.h"
#include "Pwodesceditorunit.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

bool pageShown(TProductDetailForm& form, QWidget* page)
{
    return form.PageControl()->isTabVisible(form.PageControl()->indexOf(page));
}

QStringList operationsInOrder()
{
    QStringList shown;
    QueryDataSet& rows = *ProductDM->ProductWorkingOperationZQ;
    for (int row = 0; row < rows.recordCount(); ++row)
        shown << rows.textAt(row, rows.fieldByName("machinetype").index());
    return shown;
}

void addRebate(double quantity, double rebate, const char* type)
{
    QueryDataSet& rows = *ProductDM->ProductRebateZQ;
    rows.append();
    rows.fieldByName("quantity").setValue(quantity);
    rows.fieldByName("rebate").setValue(rebate);
    rows.fieldByName("rebatetype").setValue(QString::fromUtf8(type));
    rows.post();
}

} // namespace

class EditorLists : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("DELETE FROM productrebate");
        sql("DELETE FROM productworkingoperation");
        sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, type) VALUES "
            "(20, 'Sto', 'kom', 1, 'RSD', 'p'), (21, 'Stolica', 'kom', 1, 'RSD', 'p')");
        // Operations of another product give the machine lists their values.
        sql("INSERT INTO productworkingoperation (productid, machinetype, machinenumber, sort) VALUES "
            "(20, 'Strug', 'S-1', 1), (20, 'Brusilica', 'B-7', 2), (21, 'Strug', 'S-2', 1)");
    }
};

TEST_F(EditorLists, RebatesOfANewProductAreStoredWithItsIdOnlyByApply)
{
    ScriptedDialogs script;
    newProduct();
    TProductDetailForm form;
    ASSERT_TRUE(pageShown(form, form.RebateTS));
    EXPECT_EQ(form.PageControl()->tabText(form.PageControl()->indexOf(form.RebateTS)), "Rabat");
    EXPECT_EQ(form.PageControl()->indexOf(form.RebateTS), form.PageControl()->indexOf(form.DetailsTS) + 1);
    EXPECT_TRUE(ProductDM->ProductRebateZQ->isEmpty());

    addRebate(100, 5, "I");
    addRebate(10, 2.5, "P");
    // The cursor stays on the row just typed.
    EXPECT_EQ(ProductDM->ProductRebateZQ->fieldByName("quantity").asFloat(), 10);
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productrebate").toInt(), 0);
    form.PageControl()->setCurrentWidget(form.RebateTS);

    type(form.NameDBE, QStringLiteral("Jogurt"));
    type(form.UnitNameDBE, QStringLiteral("kom"));
    form.CustomApply()->trigger();
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
    const qint64 id = ProductDM->ProductZQ->fieldByName("productid").asLargeInt();
    ASSERT_GT(id, 0);
    EXPECT_EQ(stored(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(quantity, ':', rebate, ':', rebatetype) ORDER BY "
                                    "quantity) FROM productrebate WHERE productid = %1")
                         .arg(id))
                  .toString(),
              "10:2.5:P,100:5:I");
    EXPECT_FALSE(ProductDM->ProductRebateZQ->updatesPending());
    EXPECT_FALSE(form.CustomApply()->isEnabled());
}

TEST_F(EditorLists, CancelDropsCachedRebatesAndOperations)
{
    ScriptedDialogs script;
    showProduct(20);
    TProductDetailForm form;
    addRebate(5, 1, "T");
    ProductDM->ProductWorkingOperationZQ->first();
    ProductDM->ProductWorkingOperationZQ->deleteRecord();
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    form.CustomCancel()->trigger();
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productrebate").toInt(), 0);
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productworkingoperation WHERE productid = 20").toInt(), 2);
}

TEST_F(EditorLists, TheOperationsPageFollowsTheSavedType)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    EXPECT_FALSE(pageShown(form, form.WorkOperationsTS));
    ProductDM->ProductZQ->edit();
    ProductDM->ProductZQ->fieldByName("type").setValue(QStringLiteral("l"));
    EXPECT_FALSE(pageShown(form, form.WorkOperationsTS));
    form.CustomApply()->trigger();
    EXPECT_TRUE(pageShown(form, form.WorkOperationsTS));
    EXPECT_EQ(form.PageControl()->tabText(form.PageControl()->indexOf(form.WorkOperationsTS)), "Radne operacije");

    ProductDM->ProductZQ->edit();
    ProductDM->ProductZQ->fieldByName("type").setValue(QStringLiteral("r"));
    form.CustomApply()->trigger();
    EXPECT_FALSE(pageShown(form, form.WorkOperationsTS));
}

TEST_F(EditorLists, OperationsOpenInOrderWithTheStoredMachinesOffered)
{
    ScriptedDialogs script;
    sql("UPDATE productworkingoperation SET sort = 3 - sort WHERE productid = 20");
    showProduct(20);
    TProductDetailForm form;
    ASSERT_TRUE(pageShown(form, form.WorkOperationsTS));
    EXPECT_EQ(operationsInOrder(), QStringList({"Brusilica", "Strug"}));
    EXPECT_EQ(form.WorkOperationsTS->machineTypes(), QStringList({"Brusilica", "Strug"}));
    EXPECT_EQ(form.WorkOperationsTS->machineNumbers(), QStringList({"B-7", "S-1", "S-2"}));
    form.PageControl()->setCurrentWidget(form.WorkOperationsTS);

    // A new operation goes last.
    ProductDM->ProductWorkingOperationZQ->append();
    EXPECT_EQ(ProductDM->ProductWorkingOperationZQ->fieldByName("sort").asInteger(), 3);
    ProductDM->ProductWorkingOperationZQ->fieldByName("machinetype").setValue(QStringLiteral("Presa"));
    form.CustomApply()->trigger();
    EXPECT_EQ(stored("SELECT machinetype FROM productworkingoperation WHERE productid = 20 AND sort = 3").toString(),
              "Presa");
}

TEST_F(EditorLists, MovingAnOperationSwapsPositionsInTheCacheUntilApply)
{
    ScriptedDialogs script;
    showProduct(20);
    TProductDetailForm form;
    TProductWorkOperationsPage& page = *form.WorkOperationsTS;
    QueryDataSet& rows = *ProductDM->ProductWorkingOperationZQ;
    ASSERT_EQ(operationsInOrder(), QStringList({"Strug", "Brusilica"}));
    // On the first row nothing moves up.
    EXPECT_FALSE(page.WOItemMoveUp()->isEnabled());
    page.MoveWOItem(true);
    EXPECT_EQ(operationsInOrder(), QStringList({"Strug", "Brusilica"}));
    EXPECT_FALSE(rows.updatesPending());

    rows.next();
    EXPECT_TRUE(page.WOItemMoveUp()->isEnabled());
    page.WOItemMoveUp()->trigger();
    EXPECT_EQ(operationsInOrder(), QStringList({"Brusilica", "Strug"}));
    EXPECT_EQ(rows.fieldByName("machinetype").asString(), "Brusilica");
    EXPECT_EQ(rows.fieldByName("sort").asInteger(), 1);
    EXPECT_EQ(stored("SELECT sort FROM productworkingoperation WHERE machinetype = 'Brusilica'").toInt(), 2);

    // Moving down from the last row changes nothing either.
    rows.last();
    page.MoveWOItem(false);
    EXPECT_EQ(operationsInOrder(), QStringList({"Brusilica", "Strug"}));

    // While a row is edited, or the list is in another order, nothing moves.
    rows.first();
    rows.edit();
    EXPECT_FALSE(page.WOItemMoveDown()->isEnabled());
    rows.cancel();
    EXPECT_TRUE(page.WOItemMoveDown()->isEnabled());
    rows.setSortedFields(QStringLiteral("machinetype"));
    page.WOItemMoveDownUpdate();
    EXPECT_FALSE(page.WOItemMoveDown()->isEnabled());
    rows.setSortedFields(QStringLiteral("sort"));

    form.CustomApply()->trigger();
    EXPECT_EQ(stored("SELECT GROUP_CONCAT(machinetype ORDER BY sort) FROM productworkingoperation WHERE productid = "
                     "20")
                  .toString(),
              "Brusilica,Strug");
}

TEST_F(EditorLists, TheDescriptionEllipsisStoresTheEditedText)
{
    ScriptedDialogs script;
    showProduct(20);
    TProductDetailForm form;
    TProductWorkOperationsPage& page = *form.WorkOperationsTS;
    QueryDataSet& rows = *ProductDM->ProductWorkingOperationZQ;

    // The cell's ellipsis opens the description window on the cell's text.
    sql("UPDATE productworkingoperation SET description = 'Seći' WHERE productid = 20 AND sort = 1");
    OpenCachedList(rows, 20, QStringLiteral("sort"));
    DBGrid* grid = page.WorkingOperationDBG();
    form.show();
    grid->edit(grid->model()->index(0, 3));
    auto* ellipsis = grid->findChild<QToolButton*>(QStringLiteral("DescriptionEllipsis"));
    ASSERT_NE(ellipsis, nullptr);
    QString shown;
    {
        ScopedModalHandler describe([&](QDialog& dialog) {
            auto& editor = dynamic_cast<TPWODescEditorForm&>(dialog);
            shown = editor.PWODescMemo()->toPlainText();
            editor.PWODescMemo()->setPlainText(QStringLiteral("Seći na meru"));
            editor.OKButton()->click();
            return dialog.result();
        });
        ellipsis->click();
    }
    EXPECT_EQ(shown, "Seći");
    EXPECT_EQ(rows.fieldByName("description").asString(), "Seći na meru");
    rows.cancel();

    QString offered;
    bool confirm = false;
    page.setDescriptionEditor([&](QString& text) {
        offered = text;
        text = QStringLiteral("Struganje na meru");
        return confirm;
    });
    page.WorkingOperationDBGEditButtonClick();
    EXPECT_EQ(offered, "Seći");
    EXPECT_EQ(rows.state(), DataSetState::Browse);

    confirm = true;
    page.WorkingOperationDBGEditButtonClick();
    EXPECT_EQ(rows.state(), DataSetState::Edit);
    form.CustomApply()->trigger();
    EXPECT_EQ(stored("SELECT description FROM productworkingoperation WHERE machinetype = 'Strug' AND productid = 20")
                  .toString(),
              "Struganje na meru");
}

TEST_F(EditorLists, TheListButtonsOpenTheirWindowsAndNeedTheProductionModule)
{
    ScriptedDialogs script;
    showProduct(20);
    TProductDetailForm form;
    form.show();
    // Without a console there is no production module: said, and the editor stays.
    form.ProductRaws->trigger();
    form.ProductProducts->trigger();
    EXPECT_EQ(script.messages(),
              (QStringList{"Modul \"Proizvodnja\" nije dostupan.", "Modul \"Proizvodnja\" nije dostupan."}));
    EXPECT_TRUE(form.isVisible());

    QStringList opened;
    ScopedModalHandler windows([&](QDialog& dialog) {
        opened << dialog.windowTitle();
        dialog.reject();
        return int(QDialog::Rejected);
    });
    form.ProductPackaging->trigger(); // ends with the editor closed
    EXPECT_FALSE(form.isVisible());
    form.show();
    form.AlternativesAction->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(opened, (QStringList{"Ambalaža", "Zamene"}));
}
