// The editor's classification: the categories group, the category-required
// rule around it and "Učitaj iz kat."; the attribute pages, with variants
// built slot by slot from the attribute picker and kept in the cache until
// apply, and the descriptive form with its value lists.

#include "Attributeunit.h"
#include "Categoryunit.h"
#include "DBGrid.h"
#include "Productattributesunit.h"
#include "Productcategoriesunit.h"
#include "Productresourcestring.h"
#include "UserDriving.h"
#include "test_editor_support.h"

#include <QListWidget>
#include <QRegularExpression>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// Adds categories through the picker: they are selected, in order, and confirmed.
void addCategories(TProductDetailForm& form, QList<qint64> ids)
{
    inModal<TCategoryForm>([&form] { form.Categories->AddButton()->click(); }, [ids](TCategoryForm& tree) {
        for (qint64 id : ids)
            tree.tree().focusNode(tree.tree().findNode(id));
        click(tree.okButton());
    });
}

QString variantText(const char* field, int row = 0)
{
    DataSet& rows = *ProductDM->ProductAttributeZQ;
    return rows.textAt(row, rows.fieldByName(field).index());
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
};

TEST_F(EditorCategories, AddingAppendsNewPathsMarksTheListChangedAndTheDescriptivePageListsAttributesAndValues)
{
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 2)");
    dm().Options.AttributeDesc = true;
    openProduct(10);
    TProductDetailForm form;
    EXPECT_ROWS(form.Categories->lines(), QStringList{"Pića>Sokovi"});
    EXPECT_FALSE(form.CategoriesChanged);
    EXPECT_FALSE(form.CustomApply()->isEnabled());
    // The descriptive page suggests the attributes of the listed categories.
    EXPECT_ROWS(form.AttributesDescTS->attributeSuggestions(), (QStringList{"Pakovanje", "Ukus"}));
    addCategories(form, {4, 2, 3});
    EXPECT_ROWS(form.Categories->lines(), (QStringList{"Pića>Sokovi", "Hrana", "Pića>Voda"}));
    EXPECT_ROWS(form.AttributesDescTS->attributeSuggestions(), (QStringList{"Pakovanje", "Rok", "Ukus"}));
    EXPECT_TRUE(form.CategoriesChanged);
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_FALSE(form.CategoriesChanged);
    EXPECT_EQ(storedLinks(10), 3);

    // Nothing new in the pick: the list stays, the flag is set all the same.
    addCategories(form, {2});
    EXPECT_EQ(form.Categories->lines().size(), 3);
    EXPECT_TRUE(form.CategoriesChanged);
    form.ApplyButton()->click();

    // A line differing only in letter case counts as held.
    form.Categories->CategoriesLB()->item(1)->setText("HRANA");
    addCategories(form, {4});
    EXPECT_ROWS(form.Categories->lines(), (QStringList{"Pića>Sokovi", "HRANA", "Pića>Voda"}));

    // A cancelled pick does nothing.
    form.ApplyButton()->click();
    inModal<TCategoryForm>([&form] { form.Categories->AddButton()->click(); }, [](TCategoryForm&) {});
    EXPECT_FALSE(form.CategoriesChanged);

    // The descriptive page takes free attributes and lists the values used.
    sql("INSERT INTO productattribute (productid, prodattribute, prodattributevalue) VALUES (99, 'Boja', 'Zelena'), "
        "(98, 'Boja', 'Žuta'), (97, 'Boja', 'Zelena'), (96, 'O''Neil', 'Sivo'), (95, 'Materijal', 'Vuna')");
    form.show();
    QTabWidget* pages = form.PageControl();
    EXPECT_TRUE(pageShown(pages, form.AttributesDescTS));
    EXPECT_FALSE(pageShown(pages, form.AttributesTS));

    DataSet& rows = *dm().ProductAttributeZQ;
    DBGrid* grid = form.AttributesDescTS->AttributesDescDBG();
    pages->setCurrentWidget(form.AttributesDescTS);
    // A quote in the name is plain text.
    const std::pair<const char*, QStringList> typed[] = {{"Boja", {"Zelena", "Žuta"}}, {"O'Neil", {"Sivo"}}};
    for (const auto& [name, values] : typed) {
        if (rows.isEditing())
            rows.post();
        rows.append();
        rows.fieldByName("prodattribute").setValue(QString::fromUtf8(name));
        // Leaving the name's column offers the values it has had.
        clickCell(grid, "prodattribute", rows.currentRow());
        clickCell(grid, "prodattributevalue", rows.currentRow());
        EXPECT_ROWS(form.AttributesDescTS->valueSuggestions(), values);
        rows.fieldByName("prodattributevalue").setValue(values.size() > 1 ? "Crna" : "Belo");
    }
    form.OKButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_ROWS(rowsOf(db(), "SELECT prodattribute, prodattributevalue FROM productattribute WHERE productid = 10 "
                             "ORDER BY productattributeid"),
                (QStringList{"Boja|Crna", "O'Neil|Belo"}));
}

TEST_F(EditorCategories, RemovingNeedsASelectionOnlyTheLowestLevelRefusesAPickAndAnEmptyListLeavesNoLinks)
{
    sql("INSERT INTO productcategorypr (productid, categoryprid) VALUES (10, 2), (10, 4)");
    openProduct(10);
    TProductDetailForm form;
    // The last linked first.
    EXPECT_ROWS(form.Categories->lines(), (QStringList{"Hrana", "Pića>Sokovi"}));
    form.Categories->CategoriesLB()->clearSelection();
    form.Categories->RemoveButton()->click();
    EXPECT_FALSE(form.CategoriesChanged);
    EXPECT_EQ(form.Categories->lines().size(), 2);

    // Under the option one upper level refuses the whole pick.
    dm().Options.OnlyLowestProductCategoryAllowed = true;
    addCategories(form, {3, 1});
    EXPECT_ROWS(script.messages(), QStringList{PROD_CAT_PR_LOWEST_ERR});
    EXPECT_EQ(script.shown().value(0).kind, MessageKind::Error);
    EXPECT_EQ(form.Categories->lines().size(), 2);
    EXPECT_FALSE(form.CategoriesChanged);
    dm().Options.OnlyLowestProductCategoryAllowed = false;
    addCategories(form, {3, 1});
    EXPECT_ROWS(form.Categories->lines(), (QStringList{"Hrana", "Pića>Sokovi", "Pića>Voda", "Pića"}));

    script.clear();
    form.Categories->CategoriesLB()->selectAll();
    form.Categories->RemoveButton()->click();
    EXPECT_TRUE(form.Categories->lines().isEmpty());
    EXPECT_TRUE(form.CategoriesChanged);
    form.OKButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(storedLinks(10), 0);
}

TEST_F(EditorCategories, ARequiredCategoryIsCheckedBeforeAndAfterThePosts)
{
    dm().Options.ProductCategoryRequired = true;
    {
        // A new product with a picked category is saved with it under its new id.
        newProduct();
        TProductDetailForm form;
        addCategories(form, {2});
        type(form.NameDBE, "Sok od jabuke");
        type(form.UnitNameDBE, "l");
        form.ApplyButton()->click();
        EXPECT_EQ(script.messages(), QStringList());
        const qint64 id = text("SELECT productid FROM product WHERE name = 'Sok od jabuke'").toLongLong();
        ASSERT_GT(id, 10);
        EXPECT_EQ(storedLinks(id), 1);
        EXPECT_FALSE(form.CategoriesChanged);
    }
    {
        // An existing product without stored categories passes once the list holds one.
        openProduct(10);
        TProductDetailForm form;
        type(form.CodeDBE, "ML9");
        form.ApplyButton()->click();
        EXPECT_ROWS(script.messages(), QStringList{PROD_CAT_PR_INVALIDE_ERR});
        EXPECT_EQ(column("code"), "ML1");
        addCategories(form, {4});
        script.clear();
        form.ApplyButton()->click();
        EXPECT_TRUE(script.messages().isEmpty());
        EXPECT_EQ(column("code"), "ML9");
        EXPECT_EQ(storedLinks(10), 1);
    }
    // Emptying the list: refused before anything is written, the product's change included.
    openProduct(10);
    TProductDetailForm form;
    type(form.CodeDBE, "ML8");
    form.Categories->CategoriesLB()->selectAll();
    form.Categories->RemoveButton()->click();
    script.clear();
    form.ApplyButton()->click();
    EXPECT_ROWS(script.messages(), QStringList{PROD_CAT_PR_INVALIDE_ERR});
    EXPECT_EQ(column("code"), "ML9");
    EXPECT_EQ(storedLinks(10), 1);
    EXPECT_TRUE(form.CategoriesChanged);
}

TEST_F(EditorCategories, DetailsFromCategoriesTakeTheHighestWebRebate)
{
    // The detail rows: product, rebate, web and B2B price.
    const auto detail = [] { return rowsOf(db(), "SELECT productid, maxrebate, webprice, b2bprice FROM productdetail"); };
    openProduct(10);
    {
        // No category: rebate 0, both prices the price; the detail row is created.
        TProductDetailForm form;
        EXPECT_TRUE(form.LoadDetailsFromCategory->isEnabled());
        form.LoadDetailsFromCategory->trigger();
        EXPECT_EQ(script.messages(), QStringList());
        EXPECT_ROWS(detail(), QStringList{"10|0|100|100"});
    }
    // Two categories with web rebates 10 and 20; the price typed is saved first.
    TProductDetailForm form;
    addCategories(form, {2, 3});
    type(form.PriceDBE, "200");
    form.LoadDetailsFromCategory->trigger();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(storedLinks(10), 2);
    EXPECT_ROWS(detail(), QStringList{"10|12|160|196"});
    // The details tab shows the new figures.
    EXPECT_EQ(form.DetailsTS->findChild<DBEdit*>("b2bpriceDBE")->text(), "196");
    EXPECT_EQ(form.DetailsTS->findChild<DBEdit*>("maxrebateDBE")->text(), "12");
}

using EditorAttributes = EditorTest;

TEST_F(EditorAttributes, FiveConfirmedPicksFillOneVariantACancelledPickKeepsTheSlotAndARemovedVariantGoesWithApply)
{
    sql("INSERT INTO attributepr (attributeprid, attribute, required, sort) VALUES (1, 'Boja', 1, 1), "
        "(2, 'Veličina', 0, 2), (3, 'Materijal', 0, 3), (4, 'Kroj', 0, 4), (5, 'Sezona', 0, 5)");
    sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
        "(1, 1, 'Crvena', 1), (2, 1, 'Plava', 2), (3, 2, 'M', 1), (4, 2, 'L', 2), (5, 3, 'Pamuk', 1), "
        "(6, 4, 'Slim', 1), (7, 5, 'Leto', 1)");
    hostClock().setNow(QDateTime(QDate(2024, 3, 3), QTime(10, 0)));
    randomSource().seed(7);
    openProduct(10);
    TProductDetailForm form;
    EXPECT_FALSE(form.CustomApply()->isEnabled());
    for (int i = 0; i < 4; ++i)
        script.answer(ButtonYes);
    addVariant(form, {Pick{1, 2}, Pick{2, 3}, Pick{3, 5}, Pick{4, 6}, Pick{5, 7}});
    QStringList expected(4, PROD_ADD_ATTRIBUTE_CNF);
    expected << CAT_MAX_ATTRIBUTE_ERR;
    EXPECT_EQ(script.messages(), expected);
    EXPECT_EQ(script.shown().last().kind, MessageKind::Error);

    ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 1);
    const std::pair<const char*, const char*> filled[] = {
        {"attname1", "Boja"}, {"attvalue1", "Plava"}, {"attname5", "Sezona"}, {"attvalue5", "Leto"}};
    for (const auto& [field, shown] : filled)
        EXPECT_EQ(variantText(field), shown) << field;
    // 2, the year, five digits, month, day, check digit.
    const QString barcode = variantText("prodattbarcode");
    EXPECT_TRUE(QRegularExpression("^224\\d{5}0303\\d$").match(barcode).hasMatch()) << barcode.toStdString();

    // Only the cache holds it until apply.
    EXPECT_EQ(rows("productattribute"), 0);
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_EQ(rows("productattribute", "productid = 10"), 1);
    EXPECT_ROWS(rowsOf(db(), "SELECT attributeprid1, attributeprid2, attributeprid3, attributeprid4, attributeprid5, "
                             "attributeprvalueid1, attributeprvalueid5, prodattrequired1, prodattrequired2, prodattribute, "
                             "prodattributevalue, prodattbarcode FROM productattribute"),
                QStringList{"1|2|3|4|5|2|7|1|0|Boja|Plava|" + barcode});
    EXPECT_FALSE(form.CustomApply()->isEnabled());

    // Cancel, then Boja, then cancel: a second variant with slot 1 only.
    script.clear();
    script.answer(ButtonYes).answer(ButtonYes).answer(ButtonNo);
    addVariant(form, {std::nullopt, Pick{1, 1}, std::nullopt});
    EXPECT_ROWS(script.messages(), QStringList(3, PROD_ADD_ATTRIBUTE_CNF));
    ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 2);
    EXPECT_EQ(variantText("attvalue1", 1), "Crvena");
    EXPECT_EQ(variantText("attname2", 1), "");
    // Cancelled at once and answered No: no variant.
    script.answer(ButtonNo);
    addVariant(form, {std::nullopt});
    EXPECT_EQ(dm().ProductAttributeZQ->recordCount(), 2);
    // Another "Dodaj" makes another variant with a barcode of its own.
    script.answer(ButtonNo);
    addVariant(form, {Pick{1, 2}});
    ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 3);
    EXPECT_NE(variantText("prodattbarcode", 1), variantText("prodattbarcode", 2));
    form.OKButton()->click();
    EXPECT_EQ(rows("productattribute", "productid = 10"), 3);

    // Opened again: a removed variant comes back when the close question is
    // answered No, and goes with apply.
    {
        TProductDetailForm again;
        again.show();
        ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 3);
        EXPECT_EQ(variantText("attvalue2", 1), "");
        EXPECT_EQ(variantText("attvalue1", 2), "Plava");
        again.AttributesTS->RemoveAttribute()->trigger();
        EXPECT_EQ(dm().ProductAttributeZQ->recordCount(), 2);
        EXPECT_TRUE(again.CustomApply()->isEnabled());
        script.answer(ButtonNo);
        EXPECT_TRUE(again.close());
        EXPECT_EQ(dm().ProductAttributeZQ->recordCount(), 3);
    }
    TProductDetailForm last;
    last.AttributesTS->RemoveAttribute()->trigger();
    last.ApplyButton()->click();
    EXPECT_ROWS(rowsOf(db(), "SELECT prodattributevalue FROM productattribute ORDER BY productattributeid"),
                (QStringList{"Crvena", "Plava"}));
}
