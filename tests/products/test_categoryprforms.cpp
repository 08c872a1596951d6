#include "Attributeunit.h"
#include "Categoryprattributeunit.h"
#include "Categoryprrebateunit.h"
#include "DBControls.h"
#include "ProductDMFixture.h"
#include "Productresourcestring.h"
#include "ScriptedDialogs.h"
#include "test_refwindows.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class CategoryPrFormsTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO categorypr (categoryprid, parentid, name, maxrebate, webrebate, b2brebate) VALUES "
            "(1, 0, 'Pića', 10, 5, 7), (2, 1, 'Sokovi', 0, 0, 0)");
        sql("INSERT INTO attributepr (attributeprid, attribute, required, sort) VALUES "
            "(1, 'Boja', 1, 1), (2, 'Veličina', 0, 2), (3, 'Ukus', 0, 3), (4, 'Pakovanje', 0, 4), "
            "(5, 'Zemlja porekla', 0, 5), (6, 'Zapremina', 0, 6)");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
            "(61, 6, '0,5 l', 1), (62, 6, '1 l', 2), (11, 1, 'Crvena', 1)");
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(CategoryPrFormsTest, RebateAndMarginFollowEachOtherAndOnlyThePostedEditIsKept)
{
    ScriptedDialogs script;
    inModal<TCategoryPrRebateForm>([&] { CategoryPrRebateManage(1); }, [](TCategoryPrRebateForm& form) {
        DBGrid* grid = form.CategoryPrRebateDBG();
        DataSet& category = *grid->dataSet();
        EXPECT_EQ(cellText(grid, QStringLiteral("maxmargin"), 0), QStringLiteral("11.11"));

        EXPECT_TRUE(setCell(grid, QStringLiteral("maxrebate"), 0, QStringLiteral("20")));
        EXPECT_EQ(cellText(grid, QStringLiteral("maxmargin"), 0), QStringLiteral("25.00"));
        EXPECT_TRUE(setCell(grid, QStringLiteral("maxmargin"), 0, QStringLiteral("25")));
        EXPECT_EQ(cellText(grid, QStringLiteral("maxrebate"), 0), QStringLiteral("20.00"));
        EXPECT_TRUE(setCell(grid, QStringLiteral("webrebate"), 0, QStringLiteral("3.5")));

        // No key reaches or makes a second row, nor deletes this one.
        grid->setFocus();
        for (int key : {int(Qt::Key_Down), int(Qt::Key_Tab)})
            QTest::keyClick(grid, Qt::Key(key));
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(category.recordCount(), 1);
        EXPECT_EQ(category.state(), DataSetState::Edit);

        form.CategoryPrNavigator()->button(DBNavigator::Post)->click();
        EXPECT_FALSE(category.isEditing());
        // An edit left unposted when the window closes is not written.
        EXPECT_TRUE(setCell(grid, QStringLiteral("b2brebate"), 0, QStringLiteral("9")));
        form.CloseButton()->click();
    });
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(scalar(db(), "SELECT CONCAT(maxrebate, '/', webrebate, '/', b2brebate) FROM categorypr "
                           "WHERE categoryprid = 1")
                  .toString(),
              QStringLiteral("20/3.5/7"));

    // The row is read afresh each time the window opens.
    sql("UPDATE categorypr SET maxrebate = 50 WHERE categoryprid = 1");
    inModal<TCategoryPrRebateForm>([&] { CategoryPrRebateManage(1); }, [](TCategoryPrRebateForm& form) {
        EXPECT_EQ(cellText(form.CategoryPrRebateDBG(), QStringLiteral("maxmargin"), 0), QStringLiteral("100.00"));
        form.CloseButton()->click();
    });
}

TEST_F(CategoryPrFormsTest, AtMostFiveAttributesAndAddingNamesThePickedAttribute)
{
    sql("INSERT INTO categoryprattribute (categoryprid, attributeprid, catattribute) VALUES "
        "(2, 1, 'Boja'), (2, 2, 'Veličina'), (2, 3, 'Ukus'), (2, 4, 'Pakovanje'), (2, 5, 'Zemlja porekla')");
    ScriptedDialogs script;
    int pickers = 0;
    ScopedModalHandler manage([&](QDialog& dialog) {
        if (auto* picker = dynamic_cast<TAttributeForm*>(&dialog)) {
            ++pickers;
            picker->AttributeDBG()->dataSet()->locate(QStringLiteral("attributeprid"), 6);
            picker->AttributeValueDBG()->dataSet()->last();
            picker->OKButton()->click();
            return dialog.result();
        }
        auto& form = dynamic_cast<TCategoryPrAttributeForm&>(dialog);
        DBGrid* grid = form.CategoryPrAttributeDBG();
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        form.AddButton()->click();
        EXPECT_EQ(script.messages(), QStringList{CAT_MAX_ATTRIBUTE_ERR});
        EXPECT_EQ(script.shown().first().kind, MessageKind::Error);
        EXPECT_EQ(pickers, 0);

        grid->dataSet()->locate(QStringLiteral("catattribute"), QStringLiteral("Ukus"));
        form.CategoryPrAttributeNavigator()->button(DBNavigator::Delete)->click(); // no question
        form.AddButton()->click();
        EXPECT_EQ(pickers, 1);
        EXPECT_EQ(grid->model()->rowCount(), 5);
        EXPECT_EQ(grid->dataSet()->fieldByName(QStringLiteral("catattribute")).asString(), QStringLiteral("Zapremina"));
        form.CloseButton()->click();
        return dialog.result();
    });
    CategoryPrAttributeManage(2);
    EXPECT_EQ(script.messages(), QStringList{CAT_MAX_ATTRIBUTE_ERR});
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(attributeprid ORDER BY attributeprid) FROM categoryprattribute "
                           "WHERE categoryprid = 2")
                  .toString(),
              QStringLiteral("1,2,4,5,6"));
    // The picked value is not kept in the row.
    EXPECT_EQ(scalar(db(), "SELECT CONCAT(catattribute, '|', catattributevalue, '|') FROM categoryprattribute "
                           "WHERE attributeprid = 6")
                  .toString(),
              QStringLiteral("Zapremina||"));
}
