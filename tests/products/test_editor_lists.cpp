// The editor's cached lists: rebates and working operations are written only
// by apply (new products' rows get the new id), dropped by cancel, and the
// working-operations page follows the product type; moving an operation
// swaps positions in the cache.

#include "DBGrid.h"
#include "Modal.h"
#include "Productdetailunit.h"
#include "Productrebatepage.h"
#include "Productworkoperationspage.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

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

void setType(const char* type)
{
    ProductDM->ProductZQ->edit();
    ProductDM->ProductZQ->fieldByName("type").setValue(QString::fromUtf8(type));
}

} // namespace

class EditorLists : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, type) VALUES "
            "(20, 'Sto', 'kom', 1, 'RSD', 'p'), (21, 'Stolica', 'kom', 1, 'RSD', 'p')");
        // Operations of another product give the machine lists their values.
        sql("INSERT INTO productworkingoperation (productid, machinetype, machinenumber, sort) VALUES "
            "(20, 'Strug', 'S-1', 1), (20, 'Brusilica', 'B-7', 2), (21, 'Strug', 'S-2', 1)");
    }
    static QString operationsStored(int productId = 20)
    {
        return text(QStringLiteral("SELECT GROUP_CONCAT(machinetype ORDER BY sort) FROM productworkingoperation WHERE "
                                   "productid = %1").arg(productId));
    }
};

TEST_F(EditorLists, RebatesOfANewProductAreStoredWithItsIdOnlyByApply)
{
    ScriptedDialogs script;
    newProduct();
    TProductDetailForm form;
    QTabWidget* pages = form.PageControl();
    ASSERT_TRUE(pageShown(pages, form.RebateTS));
    EXPECT_EQ(pageTitle(pages, form.RebateTS), "Rabat");
    EXPECT_EQ(pages->indexOf(form.RebateTS), pages->indexOf(form.DetailsTS) + 1);
    EXPECT_TRUE(ProductDM->ProductRebateZQ->isEmpty());

    addRebate(100, 5, "I");
    addRebate(10, 2.5, "P");
    // The cursor stays on the row just typed.
    EXPECT_EQ(ProductDM->ProductRebateZQ->fieldByName("quantity").asFloat(), 10);
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    EXPECT_EQ(rows("productrebate"), 0);

    type(form.NameDBE, QStringLiteral("Jogurt"));
    type(form.UnitNameDBE, QStringLiteral("kom"));
    form.CustomApply()->trigger();
    EXPECT_EQ(script.messages(), QStringList());
    const qint64 id = ProductDM->ProductZQ->fieldByName("productid").asLargeInt();
    ASSERT_GT(id, 0);
    EXPECT_EQ(text(QStringLiteral("SELECT GROUP_CONCAT(CONCAT(quantity, ':', rebate, ':', rebatetype) ORDER BY "
                                  "quantity) FROM productrebate WHERE productid = %1").arg(id)),
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
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(rows("productrebate"), 0);
    EXPECT_EQ(rows("productworkingoperation", "productid = 20"), 2);
}

TEST_F(EditorLists, TheOperationsPageFollowsTheSavedType)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    EXPECT_FALSE(pageShown(form.PageControl(), form.WorkOperationsTS));
    setType("l");
    EXPECT_FALSE(pageShown(form.PageControl(), form.WorkOperationsTS));
    form.CustomApply()->trigger();
    EXPECT_TRUE(pageShown(form.PageControl(), form.WorkOperationsTS));
    EXPECT_EQ(pageTitle(form.PageControl(), form.WorkOperationsTS), "Radne operacije");
    setType("r");
    form.CustomApply()->trigger();
    EXPECT_FALSE(pageShown(form.PageControl(), form.WorkOperationsTS));
}

TEST_F(EditorLists, OperationsOpenInOrderWithTheStoredMachinesOffered)
{
    ScriptedDialogs script;
    sql("UPDATE productworkingoperation SET sort = 3 - sort WHERE productid = 20");
    showProduct(20);
    TProductDetailForm form;
    ASSERT_TRUE(pageShown(form.PageControl(), form.WorkOperationsTS));
    EXPECT_EQ(operationsInOrder(), QStringList({"Brusilica", "Strug"}));
    EXPECT_EQ(form.WorkOperationsTS->machineTypes(), QStringList({"Brusilica", "Strug"}));
    EXPECT_EQ(form.WorkOperationsTS->machineNumbers(), QStringList({"B-7", "S-1", "S-2"}));
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
    EXPECT_EQ(operationsStored(), "Strug,Brusilica");

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
    EXPECT_EQ(operationsStored(), "Brusilica,Strug");
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
    EXPECT_EQ(script.messages(), QStringList(2, "Modul \"Proizvodnja\" nije dostupan."));
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
