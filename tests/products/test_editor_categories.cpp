// The editor's categories group, the category-required rule around it, the
// attribute suggestions of the categories and "Učitaj iz kat.".

#include "Categoryunit.h"
#include "Modal.h"
#include "Productattributesunit.h"
#include "Productcategoriesunit.h"
#include "Productdetailunit.h"
#include "Productresourcestring.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// Answers the category picker by selecting the categories, in order, and
// confirming.
ScopedModalHandler pickCategories(QList<qint64> ids)
{
    return ScopedModalHandler([ids](QDialog& dialog) {
        auto& form = dynamic_cast<TCategoryForm&>(dialog);
        for (qint64 id : ids)
            form.tree().focusNode(form.tree().findNode(id));
        form.OKButtonClick();
        return form.result();
    });
}

} // namespace

class EditorCategories : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO categorypr (categoryprid, name, parentid, maxrebate, webrebate, b2brebate) VALUES "
            "(1, 'Pića', 0, 0, 0, 0), (2, 'Sokovi', 1, 15, 10, 5), (3, 'Voda', 1, 12, 20, 2), (4, 'Hrana', 0, 0, 0, 0)");
        sql("INSERT INTO categoryprattribute (categoryprid, attributeprid, catattribute) VALUES "
            "(2, 1, 'Ukus'), (2, 2, 'Pakovanje'), (3, 2, 'Pakovanje'), (4, 3, 'Rok')");
    }
    static int storedLinks(qint64 productId) { return rows("productcategorypr", QString("productid = %1").arg(productId)); }
    static QStringList lines(TProductDetailForm& form) { return form.Categories->lines(); }
};

TEST_F(EditorCategories, AddingAppendsNewPathsAndMarksTheListChangedEvenWhenNothingIsNew)
{
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 2)");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    EXPECT_EQ(lines(form), QStringList{"Pića>Sokovi"});
    EXPECT_FALSE(form.CategoriesChanged);
    EXPECT_FALSE(form.CustomApply()->isEnabled());
    {
        auto picker = pickCategories({4, 2, 3});
        form.Categories->AddButton()->click();
    }
    EXPECT_EQ(lines(form), (QStringList{"Pića>Sokovi", "Hrana", "Pića>Voda"}));
    EXPECT_TRUE(form.CategoriesChanged);
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_FALSE(form.CategoriesChanged);
    EXPECT_EQ(storedLinks(10), 3);

    // Nothing new in the pick: the list stays, the flag is set all the same.
    {
        auto picker = pickCategories({2});
        form.Categories->AddButton()->click();
    }
    EXPECT_EQ(lines(form).size(), 3);
    EXPECT_TRUE(form.CategoriesChanged);
    form.ApplyButton()->click();

    // A line differing only in letter case counts as held.
    form.Categories->CategoriesLB()->item(1)->setText("HRANA");
    {
        auto picker = pickCategories({4});
        form.Categories->AddButton()->click();
    }
    EXPECT_EQ(lines(form), (QStringList{"Pića>Sokovi", "HRANA", "Pića>Voda"}));

    // A cancelled pick does nothing.
    form.ApplyButton()->click();
    {
        ScopedModalHandler cancel([](QDialog& dialog) { return dialog.result(); });
        form.Categories->AddButton()->click();
    }
    EXPECT_FALSE(form.CategoriesChanged);
}

TEST_F(EditorCategories, RemovingNeedsASelectionAndAnEmptyListSavedLeavesNoLinks)
{
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 2), (10, 4)");
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    // The last linked first.
    EXPECT_EQ(lines(form), (QStringList{"Hrana", "Pića>Sokovi"}));
    form.Categories->CategoriesLB()->clearSelection();
    form.Categories->RemoveButton()->click();
    EXPECT_FALSE(form.CategoriesChanged);
    EXPECT_EQ(lines(form).size(), 2);

    form.Categories->CategoriesLB()->selectAll();
    form.Categories->RemoveButton()->click();
    EXPECT_TRUE(lines(form).isEmpty());
    EXPECT_TRUE(form.CategoriesChanged);
    form.OKButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(storedLinks(10), 0);
}

TEST_F(EditorCategories, OnlyTheLowestLevelRefusesTheWholePickWhenTheOptionIsOn)
{
    ScriptedDialogs script;
    showProduct(10);
    dm().Options.OnlyLowestProductCategoryAllowed = true;
    TProductDetailForm form;
    {
        auto picker = pickCategories({2, 1});
        form.Categories->AddButton()->click();
    }
    EXPECT_EQ(script.messages(), QStringList{PROD_CAT_PR_LOWEST_ERR});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Error);
    EXPECT_TRUE(lines(form).isEmpty());
    EXPECT_FALSE(form.CategoriesChanged);

    dm().Options.OnlyLowestProductCategoryAllowed = false;
    {
        auto picker = pickCategories({2, 1});
        form.Categories->AddButton()->click();
    }
    EXPECT_EQ(lines(form), (QStringList{"Pića>Sokovi", "Pića"}));
}

TEST_F(EditorCategories, ARequiredCategoryIsCheckedBeforeAndAfterThePosts)
{
    ScriptedDialogs script;
    dm().Options.ProductCategoryRequired = true;
    {
        // A new product with a picked category is saved with it under its new id.
        newProduct();
        TProductDetailForm form;
        type(form.NameDBE, "Sok od jabuke");
        type(form.UnitNameDBE, "l");
        auto picker = pickCategories({2});
        form.Categories->AddButton()->click();
        form.ApplyButton()->click();
        EXPECT_EQ(script.messages(), QStringList());
        const qint64 id = stored("SELECT productid FROM product WHERE name = 'Sok od jabuke'").toLongLong();
        ASSERT_GT(id, 10);
        EXPECT_EQ(storedLinks(id), 1);
        EXPECT_FALSE(form.CategoriesChanged);
    }
    {
        // An existing product without stored categories passes once the list holds one.
        showProduct(10);
        TProductDetailForm form;
        type(form.CodeDBE, "ML9");
        form.ApplyButton()->click();
        EXPECT_EQ(script.messages(), QStringList{PROD_CAT_PR_INVALIDE_ERR});
        EXPECT_EQ(column("code"), "ML1");
        auto picker = pickCategories({4});
        form.Categories->AddButton()->click();
        script.clear();
        form.ApplyButton()->click();
        EXPECT_TRUE(script.messages().isEmpty());
        EXPECT_EQ(column("code"), "ML9");
        EXPECT_EQ(storedLinks(10), 1);
    }
    {
        // Emptying the list: refused before anything is written, the product's change included.
        showProduct(10);
        TProductDetailForm form;
        form.show();
        type(form.CodeDBE, "ML8");
        form.Categories->CategoriesLB()->selectAll();
        form.Categories->RemoveButton()->click();
        script.clear();
        form.ApplyButton()->click();
        EXPECT_EQ(script.messages(), QStringList{PROD_CAT_PR_INVALIDE_ERR});
        EXPECT_EQ(column("code"), "ML9");
        EXPECT_EQ(storedLinks(10), 1);
        EXPECT_TRUE(form.CategoriesChanged);

        // The close check asks, and "Yes" keeps the window open on the same refusal.
        script.clear();
        script.answer(ButtonYes);
        EXPECT_FALSE(form.close());
        EXPECT_EQ(script.messages(), (QStringList{CMN_SAVE_CHANGES_PROMT, PROD_CAT_PR_INVALIDE_ERR}));
        script.answer(ButtonNo);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(storedLinks(10), 1);
    }
}

TEST_F(EditorCategories, TheDescriptivePageSuggestsTheAttributesOfTheListedCategories)
{
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 2)");
    ScriptedDialogs script;
    dm().Options.AttributeDesc = true;
    showProduct(10);
    TProductDetailForm form;
    EXPECT_EQ(form.AttributesDescTS->attributeSuggestions(), (QStringList{"Pakovanje", "Ukus"}));
    auto picker = pickCategories({3, 4});
    form.Categories->AddButton()->click();
    EXPECT_EQ(form.AttributesDescTS->attributeSuggestions(), (QStringList{"Pakovanje", "Rok", "Ukus"}));
}

TEST_F(EditorCategories, DetailsFromCategoriesTakeTheHighestWebRebate)
{
    const auto detail = [](const char* name) {
        return number(QString("SELECT %1 FROM productdetail WHERE productid = 10").arg(name));
    };
    ScriptedDialogs script;
    showProduct(10);
    {
        // No category: rebate 0, both prices the price; the detail row is created.
        TProductDetailForm form;
        EXPECT_TRUE(form.LoadDetailsFromCategory->isEnabled());
        form.LoadDetailsFromCategory->trigger();
        EXPECT_EQ(script.messages(), QStringList());
        EXPECT_DOUBLE_EQ(detail("maxrebate"), 0.0);
        EXPECT_DOUBLE_EQ(detail("webprice"), 100.0);
        EXPECT_DOUBLE_EQ(detail("b2bprice"), 100.0);
    }
    // Two categories with web rebates 10 and 20; the price typed is saved first.
    TProductDetailForm form;
    auto picker = pickCategories({2, 3});
    form.Categories->AddButton()->click();
    type(form.PriceDBE, "200");
    form.LoadDetailsFromCategory->trigger();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(storedLinks(10), 2);
    EXPECT_DOUBLE_EQ(detail("maxrebate"), 12.0);
    EXPECT_DOUBLE_EQ(detail("webprice"), 160.0);
    EXPECT_DOUBLE_EQ(detail("b2bprice"), 196.0);
    EXPECT_EQ(rows("productdetail", "productid = 10"), 1);
    // The details tab shows the new figures.
    EXPECT_EQ(form.DetailsTS->findChild<DBEdit*>("b2bpriceDBE")->text(), "196");
    EXPECT_EQ(form.DetailsTS->findChild<DBEdit*>("maxrebateDBE")->text(), "12");
}
