// The editor's attribute pages: variants built slot by slot from the
// attribute picker with their generated barcodes, removed, kept in the cache
// until apply; and the descriptive form with its value lists.

#include "Attributeunit.h"
#include "Clock.h"
#include "DBGrid.h"
#include "Modal.h"
#include "Productattributesunit.h"
#include "Productdetailunit.h"
#include "Productresourcestring.h"
#include "RandomSource.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QAction>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <optional>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

struct Pick {
    qint64 attributeId;
    qint64 valueId;
};

// Answers the attribute picker from a list: a pick confirms that attribute
// and value, nothing cancels.
ScopedModalHandler answerPicks(QList<std::optional<Pick>>& picks)
{
    return ScopedModalHandler([&picks](QDialog& dialog) {
        auto& form = dynamic_cast<TAttributeForm&>(dialog);
        EXPECT_FALSE(picks.isEmpty()) << "an unexpected pick";
        const std::optional<Pick> pick = picks.isEmpty() ? std::nullopt : picks.takeFirst();
        if (pick) {
            EXPECT_TRUE(ProductDM->AttributePrZQ->locate("attributeprid", pick->attributeId));
            EXPECT_TRUE(ProductDM->AttributePrValueZQ->locate("attributeprvalueid", pick->valueId));
        }
        pick ? form.OKButtonClick() : form.CloseButton()->click();
        return form.result();
    });
}

QString variantText(const char* field, int row = 0)
{
    DataSet& rows = *ProductDM->ProductAttributeZQ;
    return rows.textAt(row, rows.fieldByName(field).index());
}

} // namespace

class EditorAttributes : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("INSERT INTO attributepr (attributeprid, attribute, required, sort) VALUES (1, 'Boja', 1, 1), "
            "(2, 'Veličina', 0, 2), (3, 'Materijal', 0, 3), (4, 'Kroj', 0, 4), (5, 'Sezona', 0, 5)");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
            "(1, 1, 'Crvena', 1), (2, 1, 'Plava', 2), (3, 2, 'M', 1), (4, 2, 'L', 2), (5, 3, 'Pamuk', 1), "
            "(6, 4, 'Slim', 1), (7, 5, 'Leto', 1)");
        hostClock().setNow(QDateTime(QDate(2024, 3, 3), QTime(10, 0)));
        randomSource().seed(7);
    }
    void TearDown() override
    {
        dm().ProductAttributeZQ->cancelUpdates();
        hostClock().reset();
        randomSource().reseedFromSystem();
        EditorTest::TearDown();
    }
};

TEST_F(EditorAttributes, FiveConfirmedPicksFillOneVariantThenTheLimitIsShown)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    EXPECT_FALSE(form.CustomApply()->isEnabled());
    QList<std::optional<Pick>> picks{Pick{1, 2}, Pick{2, 3}, Pick{3, 5}, Pick{4, 6}, Pick{5, 7}};
    for (int i = 0; i < 4; ++i)
        script.answer(ButtonYes);
    {
        auto picker = answerPicks(picks);
        form.AttributesTS->AddAttribute()->trigger();
    }
    EXPECT_TRUE(picks.isEmpty());
    QStringList expected(4, PROD_ADD_ATTRIBUTE_CNF);
    expected << CAT_MAX_ATTRIBUTE_ERR;
    EXPECT_EQ(script.messages(), expected);
    EXPECT_EQ(script.shown().last().kind, MessageKind::Error);

    ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 1);
    EXPECT_EQ(variantText("attname1") + "=" + variantText("attvalue1"), "Boja=Plava");
    EXPECT_EQ(variantText("attname5") + "=" + variantText("attvalue5"), "Sezona=Leto");
    // 2, the year, five digits, month, day, check digit.
    const QString barcode = variantText("prodattbarcode");
    EXPECT_TRUE(QRegularExpression("^224\\d{5}0303\\d$").match(barcode).hasMatch()) << barcode.toStdString();

    // Only the cache holds it until apply.
    EXPECT_EQ(rows("productattribute"), 0);
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_EQ(rows("productattribute", "productid = 10"), 1);
    EXPECT_EQ(text("SELECT CONCAT_WS(',', attributeprid1, attributeprid2, attributeprid3, attributeprid4, attributeprid5, "
                   "attributeprvalueid1, attributeprvalueid5, prodattrequired1, prodattrequired2, prodattribute, "
                   "prodattributevalue, prodattbarcode) FROM productattribute"),
              "1,2,3,4,5,2,7,1,0,Boja,Plava," + barcode);
    EXPECT_FALSE(form.CustomApply()->isEnabled());
}

TEST_F(EditorAttributes, ACancelledPickKeepsTheSlotAndStillAsksForMore)
{
    ScriptedDialogs script;
    showProduct(10);
    TProductDetailForm form;
    {
        // Cancel, then Boja, then cancel: one variant with slot 1 only.
        QList<std::optional<Pick>> picks{std::nullopt, Pick{1, 1}, std::nullopt};
        script.answer(ButtonYes).answer(ButtonYes).answer(ButtonNo);
        auto picker = answerPicks(picks);
        form.AttributesTS->AddAttribute()->trigger();
        EXPECT_EQ(script.messages(), QStringList(3, PROD_ADD_ATTRIBUTE_CNF));
    }
    ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 1);
    EXPECT_EQ(variantText("attvalue1"), "Crvena");
    EXPECT_EQ(variantText("attname2"), "");
    {
        // Cancelled at once and answered No: no variant.
        QList<std::optional<Pick>> picks{std::nullopt};
        script.answer(ButtonNo);
        auto picker = answerPicks(picks);
        form.AttributesTS->AddAttribute()->trigger();
    }
    EXPECT_EQ(dm().ProductAttributeZQ->recordCount(), 1);
    {
        // A second "Dodaj" makes a second variant with a barcode of its own.
        QList<std::optional<Pick>> picks{Pick{1, 2}};
        script.answer(ButtonNo);
        auto picker = answerPicks(picks);
        form.AttributesTS->AddAttribute()->trigger();
    }
    ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 2);
    EXPECT_NE(variantText("prodattbarcode", 0), variantText("prodattbarcode", 1));
    form.OKButton()->click();
    EXPECT_EQ(rows("productattribute", "productid = 10"), 2);
}

TEST_F(EditorAttributes, RemovedVariantsGoWithApplyAndComeBackWithCancel)
{
    sql("INSERT INTO productattribute (productattributeid, productid, attributeprid1, attributeprvalueid1, "
        "prodattribute, prodattributevalue, prodattbarcode) VALUES (1, 10, 1, 1, 'Boja', 'Crvena', '2240000103030'), "
        "(2, 10, 1, 2, 'Boja', 'Plava', '2240000203031')");
    ScriptedDialogs script;
    showProduct(10);
    {
        TProductDetailForm form;
        form.show();
        ASSERT_EQ(dm().ProductAttributeZQ->recordCount(), 2);
        EXPECT_EQ(variantText("attvalue2"), "");
        EXPECT_EQ(variantText("attvalue1", 1), "Plava");
        form.AttributesTS->RemoveAttribute()->trigger();
        EXPECT_EQ(dm().ProductAttributeZQ->recordCount(), 1);
        EXPECT_TRUE(form.CustomApply()->isEnabled());
        // "No" to the close question drops the removal.
        script.answer(ButtonNo);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(dm().ProductAttributeZQ->recordCount(), 2);
    }
    TProductDetailForm form;
    form.AttributesTS->RemoveAttribute()->trigger();
    form.ApplyButton()->click();
    EXPECT_EQ(text("SELECT GROUP_CONCAT(prodattributevalue) FROM productattribute"), "Plava");
}

TEST_F(EditorAttributes, ANewProductAddsVariantsOnlyAfterItsFirstSave)
{
    ScriptedDialogs script;
    newProduct();
    TProductDetailForm form;
    EXPECT_FALSE(form.AttributesTS->AddAttribute()->isEnabled());
    EXPECT_FALSE(form.AttributesTS->RemoveAttribute()->isEnabled());
    EXPECT_TRUE(dm().ProductAttributeZQ->isEmpty());
    type(form.NameDBE, "Majica");
    type(form.UnitNameDBE, "kom");
    form.ApplyButton()->click();
    ASSERT_TRUE(form.AttributesTS->AddAttribute()->isEnabled());
    QList<std::optional<Pick>> picks{Pick{2, 4}};
    script.answer(ButtonNo);
    auto picker = answerPicks(picks);
    form.AttributesTS->AddAttribute()->trigger();
    form.ApplyButton()->click();
    EXPECT_EQ(text("SELECT p.name FROM productattribute AS pa JOIN product AS p ON p.productid = pa.productid"), "Majica");
}

TEST_F(EditorAttributes, TheDescriptiveFormTypesFreeAttributesAndListsTheValuesUsed)
{
    sql("INSERT INTO productattribute (productid, prodattribute, prodattributevalue) VALUES (99, 'Boja', 'Zelena'), "
        "(98, 'Boja', 'Žuta'), (97, 'Boja', 'Zelena'), (96, 'O''Neil', 'Sivo'), (95, 'Materijal', 'Vuna')");
    ScriptedDialogs script;
    dm().Options.AttributeDesc = true;
    showProduct(10);
    TProductDetailForm form;
    form.show();
    QTabWidget* pages = form.PageControl();
    EXPECT_TRUE(pageShown(pages, form.AttributesDescTS));
    EXPECT_FALSE(pageShown(pages, form.AttributesTS));
    EXPECT_EQ(pageTitle(pages, form.AttributesDescTS), "Atributi");

    DataSet& rows = *dm().ProductAttributeZQ;
    rows.append();
    rows.fieldByName("prodattribute").setValue("Boja");
    form.AttributesDescTS->AttributesDescDBGColExit();
    EXPECT_EQ(form.AttributesDescTS->valueSuggestions(), (QStringList{"Zelena", "Žuta"}));
    rows.fieldByName("prodattributevalue").setValue("Crna");
    rows.post();
    // A quote in the name is plain text.
    rows.append();
    rows.fieldByName("prodattribute").setValue("O'Neil");
    form.AttributesDescTS->AttributesDescDBGColExit();
    EXPECT_EQ(form.AttributesDescTS->valueSuggestions(), QStringList{"Sivo"});
    rows.fieldByName("prodattributevalue").setValue("Belo");
    pages->setCurrentWidget(form.AttributesDescTS);
    form.OKButton()->click();
    EXPECT_EQ(script.messages(), QStringList());
    EXPECT_EQ(text("SELECT GROUP_CONCAT(CONCAT(prodattribute, '=', prodattributevalue) ORDER BY productattributeid) "
                   "FROM productattribute WHERE productid = 10"),
              "Boja=Crna,O'Neil=Belo");
}
