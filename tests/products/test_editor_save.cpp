// The editor's save as one unit: a save the database refuses half way leaves
// the window as the user left it, and the next "Primeni" saves everything once.

#include "Productdetailunit.h"
#include "ScriptedDialogs.h"
#include "test_editor_support.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class EditorSave : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        sql("DELETE FROM productrebate");
        // The server refuses one detail text: the failure comes after the product row went in.
        sql("DROP TRIGGER IF EXISTS productdetail_refuses");
        sql("CREATE TRIGGER productdetail_refuses BEFORE INSERT ON productdetail FOR EACH ROW "
            "IF NEW.model = 'kvar' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'model refused'; END IF");
    }
    void TearDown() override
    {
        sql("DROP TRIGGER IF EXISTS productdetail_refuses");
        EditorTest::TearDown();
    }
};

TEST_F(EditorSave, ARefusedSaveLeavesEveryDatasetAsTheUserLeftItAndTheNextApplySavesAll)
{
    ScriptedDialogs script;
    newProduct();
    TProductDetailForm form;
    form.show();
    type(form.NameDBE, QStringLiteral("Sok od jabuke"));
    type(form.UnitNameDBE, QStringLiteral("l"));
    type(form.PriceVATDBE, QStringLiteral("180"));
    form.PageControl()->setCurrentWidget(form.DetailsTS);
    DBEdit* model = form.DetailsTS->findChild<DBEdit*>("modelDBE");
    ASSERT_TRUE(model);
    type(model, QStringLiteral("kvar"));
    QueryDataSet& rebates = *dm().ProductRebateZQ;
    rebates.append();
    rebates.fieldByName("quantity").setValue(12.0);
    rebates.fieldByName("rebate").setValue(3.0);
    rebates.post();

    QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(stored("SELECT COUNT(*) FROM product").toInt(), 1);  // the one the suite started with
    EXPECT_EQ(stored("SELECT COUNT(*) FROM productrebate").toInt(), 0);
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Insert);
    EXPECT_TRUE(dm().ProductZQ->fieldByName("productid").isNull());
    EXPECT_EQ(form.NameDBE->text(), "Sok od jabuke");
    EXPECT_EQ(model->text(), "kvar");
    EXPECT_EQ(dm().ProductDetailZQ->state(), DataSetState::Insert);
    EXPECT_TRUE(rebates.updatesPending());
    EXPECT_TRUE(form.CustomApply()->isEnabled());
    EXPECT_FALSE(form.ProductCopy->isEnabled());  // still a new product

    type(model, QStringLiteral("Bistri"));
    QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(script.messages().size(), 1) << script.messages().join('\n').toStdString();
    const QString id = stored("SELECT productid FROM product WHERE name = 'Sok od jabuke'").toString();
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM product").toInt(), 2);
    EXPECT_EQ(stored("SELECT model FROM productdetail WHERE productid = " + id).toString(), "Bistri");
    EXPECT_EQ(stored("SELECT CONCAT(productid, '/', quantity) FROM productrebate").toString(), id + "/12");
    EXPECT_EQ(dm().ProductZQ->state(), DataSetState::Browse);
    EXPECT_FALSE(form.CustomApply()->isEnabled());
    EXPECT_TRUE(form.ProductCopy->isEnabled());
    form.close();
}
