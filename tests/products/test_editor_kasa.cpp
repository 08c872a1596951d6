// The editor's cash-register page: groups and sort numbers, PLUs from the
// free pool, the restaurant-table guard, and the warehouse buttons the page
// carries.

#include "DBControls.h"
#include "Productdetailunit.h"
#include "Productkasaunit.h"
#include "Productresourcestring.h"
#include "Productwarehousesunit.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QVariant productValue(const char* field)
{
    const Field& f = ProductDM->ProductZQ->fieldByName(field);
    return f.isNull() ? QVariant() : f.value();
}

void pickGroup(TProductDetailForm& form, int index)
{
    form.KasaTS->KasaGroupCB()->setCurrentIndex(index);
    emit form.KasaTS->KasaGroupCB()->activated(index);
}

} // namespace

class EditorKasa : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO kasagroup (kasagroupid, name) VALUES (1, 'Piće'), (2, 'Hrana')");
        // Group 1 holds sort numbers 1, 2 and 7; PLUs 1 and 2 are taken.
        sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency, kasagroupid, kasasort, kasaplu) "
            "VALUES (11, 'Sok', 'kom', 1, 'RSD', 1, 1, 1), (12, 'Voda', 'kom', 1, 'RSD', 1, 2, 2), "
            "(13, 'Pivo', 'kom', 1, 'RSD', 1, 7, NULL)");
    }
};

TEST_F(EditorKasa, PickingAGroupPutsTheProductLastAndTheEmptyEntryKeepsTheSortNumber)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    QComboBox* groups = form.KasaTS->KasaGroupCB();
    ASSERT_EQ(groups->count(), 3);
    EXPECT_EQ(groups->itemText(0) + "|" + groups->itemText(1), "|Piće");
    EXPECT_EQ(groups->currentIndex(), 0);
    EXPECT_TRUE(form.KasaTS->KasaPLUDBE()->isReadOnly());

    pickGroup(form, 1);
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Edit);
    EXPECT_EQ(productValue("kasagroupid").toInt(), 1);
    EXPECT_EQ(productValue("kasasort").toInt(), 8);
    EXPECT_EQ(form.KasaTS->KasaSortDBE()->text(), "8");
    // An empty group starts at 1.
    pickGroup(form, 2);
    EXPECT_EQ(productValue("kasasort").toInt(), 1);
    pickGroup(form, 1);
    pickGroup(form, 0);
    EXPECT_TRUE(productValue("kasagroupid").isNull());
    EXPECT_EQ(productValue("kasasort").toInt(), 8);
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(text("SELECT CONCAT(IFNULL(kasagroupid, '-'), ' ', kasasort) FROM product WHERE productid = 10"), "- 8");
}

TEST_F(EditorKasa, TheStoredGroupIsSelectedAndAMissingOneSelectsNothing)
{
    showProduct(12);
    {
        TProductDetailForm form;
        EXPECT_EQ(form.KasaTS->KasaGroupCB()->currentText(), "Piće");
        // Already in the group: it counts itself.
        pickGroup(form, 1);
        EXPECT_EQ(productValue("kasasort").toInt(), 8);
        form.CancelButton()->click();
    }
    sql("UPDATE product SET kasagroupid = 99 WHERE productid = 10");
    showProduct(10);
    TProductDetailForm form;
    EXPECT_EQ(form.KasaTS->KasaGroupCB()->currentIndex(), -1);
    EXPECT_EQ(productValue("kasagroupid").toInt(), 99);
}

TEST_F(EditorKasa, AutoPluTakesTheLowestFreeNumberOnlyWhenThereIsNone)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    form.KasaTS->AutoPLU()->trigger();
    EXPECT_EQ(productValue("kasaplu").toInt(), 3);
    EXPECT_EQ(form.KasaTS->KasaPLUDBE()->text(), "3");
    form.ApplyButton()->click();
    EXPECT_EQ(column("kasaplu").toInt(), 3);
    // A product that has a PLU keeps it, with either action.
    form.KasaTS->AutoPLU()->trigger();
    form.KasaTS->AutoPLUVireo()->trigger();
    EXPECT_EQ(productValue("kasaplu").toInt(), 3);
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
    EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(EditorKasa, AFullVireoRangeWarnsWhileTheOrdinaryRangeGoesOnSilently)
{
    // Every four-digit PLU is taken.
    sql("INSERT INTO product (name, unitname, taxid, pricecurrency, kasaplu) "
        "SELECT CONCAT('P', seq), 'kom', 1, 'RSD', seq FROM seq_3_to_9999");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    form.KasaTS->AutoPLUVireo()->trigger();
    EXPECT_EQ(script.messages(), QStringList{PROD_PLU_NOT_CNG_WRN});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Warning);
    EXPECT_TRUE(productValue("kasaplu").isNull());
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
    form.KasaTS->AutoPLU()->trigger();
    EXPECT_EQ(productValue("kasaplu").toInt(), 10000);
    EXPECT_EQ(script.messages().size(), 1);
}

TEST_F(EditorKasa, APluOfAProductOnARestaurantTableCannotBeCleared)
{
    sql("UPDATE product SET kasaplu = 5 WHERE productid = 10");
    sql("INSERT INTO kasatableitem (productid, quantity) VALUES (10, 2)");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    form.KasaTS->ClearPLU()->trigger();
    EXPECT_EQ(script.messages(), QStringList{PROD_NOT_CHANGE_PLU_ERR});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Error);
    EXPECT_EQ(productValue("kasaplu").toInt(), 5);

    sql("DELETE FROM kasatableitem");
    form.KasaTS->ClearPLU()->trigger();
    EXPECT_TRUE(productValue("kasaplu").isNull());
    form.ApplyButton()->click();
    EXPECT_TRUE(stored("SELECT kasaplu FROM product WHERE productid = 10").isNull());
    EXPECT_EQ(script.messages().size(), 1);
}

TEST_F(EditorKasa, TheWarehouseButtonsSitOnThePageAndThePagesActionsWaitForTheFirstSave)
{
    ScriptedDialogs script;
    newProduct();
    TProductDetailForm form;
    QPushButton* addDefault = nullptr;
    for (QPushButton* button : form.KasaTS->findChildren<QPushButton*>())
        if (button->text() == "Dodaj u podrazumevani magacin")
            addDefault = button;
    ASSERT_NE(addDefault, nullptr);
    EXPECT_EQ(form.Warehouses->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly).size(), 4);  // the cards, print and labels only
    for (QAction* action : {form.KasaTS->AutoPLU(), form.KasaTS->ClearPLU(), form.KasaTS->AutoPLUVireo(),
                            form.LoadDetailsFromCategory})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_FALSE(addDefault->isEnabled());

    type(form.NameDBE, "Jogurt");
    type(form.UnitNameDBE, "kom");
    form.ApplyButton()->click();
    ASSERT_TRUE(addDefault->isEnabled());
    EXPECT_TRUE(form.KasaTS->AutoPLU()->isEnabled());
    addDefault->click();
    EXPECT_EQ(script.messages(), QStringList{PRODWARE_ADD_INF});
    EXPECT_EQ(rows("productwarehouse AS pw JOIN product AS p ON p.productid = pw.productid",
                   "p.name = 'Jogurt' AND pw.warehouseid = 1"), 1);
}
