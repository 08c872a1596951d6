#include "Attributeunit.h"
#include "HostStrings.h"
#include "PickListDelegate.h"
#include "ProductDMFixture.h"
#include "ScriptedDialogs.h"
#include "test_refwindows.h"

#include <QAction>
#include <QHeaderView>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

QStringList shownValues(TAttributeForm& form)
{
    QStringList list;
    DBGrid* grid = form.AttributeValueDBG();
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        list << cellText(grid, QStringLiteral("attributevalue"), row);
    return list;
}

void filterBy(TAttributeForm& form, const QString& text)
{
    form.FilterEdit()->setText(text);
    form.AttributeValueFilter()->trigger();
}

} // namespace

class AttributeFormTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO attributepr (attributeprid, attribute, required, sort) VALUES "
            "(1, 'Boja', 1, 1), (2, 'Veličina', 0, 2), (3, 'Materijal', 0, 3)");
        sql("INSERT INTO attributeprvalue (attributeprvalueid, attributeprid, attributevalue, sort) VALUES "
            "(11, 1, 'Crvena', 1), (12, 1, 'Crna', 2), (13, 1, 'Bela', 3), (14, 1, 'O''Neil plava', 4), "
            "(15, 1, 'C\\', 5), (16, 1, 'C%', 6), (21, 2, 'S', 1), (22, 2, 'M', 2), (23, 2, 'L', 3)");
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(AttributeFormTest, FilterListsValuesByTheirBeginningAndClearBringsAllBack)
{
    ScriptedDialogs script;
    inModal<TAttributeForm>(AttributeManage, [](TAttributeForm& form) {
        DataSet& attributes = *form.AttributeDBG()->dataSet();
        EXPECT_EQ(form.PickLists()->pickList(QStringLiteral("required")), (QStringList{YES_CAP, NO_CAP}));
        EXPECT_FALSE(form.AttributeValueClear()->isEnabled());

        filterBy(form, QStringLiteral("Cr"));
        EXPECT_EQ(shownValues(form), (QStringList{"Crvena", "Crna"}));
        EXPECT_TRUE(form.AttributeValueClear()->isEnabled());
        // Wildcards keep their meaning; quotes and backslashes are plain text.
        filterBy(form, QStringLiteral("_r"));
        EXPECT_EQ(shownValues(form), (QStringList{"Crvena", "Crna"}));
        filterBy(form, QStringLiteral("O'N"));
        EXPECT_EQ(shownValues(form), QStringList{"O'Neil plava"});
        filterBy(form, QStringLiteral("C\\"));
        EXPECT_EQ(shownValues(form), QStringList{"C\\"});
        filterBy(form, QStringLiteral("C%"));
        EXPECT_EQ(shownValues(form).size(), 4);
        // An empty filter lists everything, yet counts as filtered.
        filterBy(form, QString());
        EXPECT_EQ(shownValues(form).size(), 6);
        EXPECT_TRUE(form.AttributeValueClear()->isEnabled());

        // Another attribute shows all its values; the filter text stays.
        filterBy(form, QStringLiteral("Bel"));
        attributes.next();
        EXPECT_EQ(shownValues(form), (QStringList{"S", "M", "L"}));
        EXPECT_FALSE(form.AttributeValueClear()->isEnabled());
        EXPECT_EQ(form.FilterEdit()->text(), QStringLiteral("Bel"));
        // The re-read values still fill the grid's width.
        EXPECT_EQ(form.AttributeValueDBG()->horizontalHeader()->length(),
                  form.AttributeValueDBG()->viewport()->width());

        filterBy(form, QStringLiteral("M"));
        form.AttributeValueClear()->trigger();
        EXPECT_EQ(shownValues(form), (QStringList{"S", "M", "L"}));
        EXPECT_TRUE(form.FilterEdit()->text().isEmpty());
        EXPECT_FALSE(form.AttributeValueClear()->isEnabled());

        // Enter in the filter field filters and leaves the window open.
        form.FilterEdit()->setText(QStringLiteral("L"));
        QTest::keyClick(form.FilterEdit(), Qt::Key_Return);
        EXPECT_EQ(shownValues(form), QStringList{"L"});
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(AttributeFormTest, PickingReturnsTheAttributeAndValueAndNeedsAValue)
{
    qint32 attributeId = 0;
    qint32 valueId = 0;
    QString attribute;
    QString value;
    bool required = true;
    const auto pick = [&] { EXPECT_TRUE(GetAttribute(attributeId, attribute, required, valueId, value, false)); };
    inModal<TAttributeForm>(pick, [](TAttributeForm& form) {
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
        clickCell(form.AttributeDBG(), "attribute", 2); // Materijal: no values
        form.OKButton()->click();
        EXPECT_TRUE(form.isVisible());
        form.AttributeDBGDblClick();
        EXPECT_TRUE(form.isVisible());
        clickCell(form.AttributeDBG(), "attribute", 1);
        doubleClickCell(form.AttributeValueDBG(), "attributevalue", 1);
    });
    EXPECT_EQ(attributeId, 2);
    EXPECT_EQ(attribute, QStringLiteral("Veličina"));
    EXPECT_FALSE(required);
    EXPECT_EQ(valueId, 22);
    EXPECT_EQ(value, QStringLiteral("M"));

    // Administration: a double-click on either grid picks nothing.
    inModal<TAttributeForm>(AttributeManage, [](TAttributeForm& form) {
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        doubleClickCell(form.AttributeDBG(), QStringLiteral("attribute"), 0);
        doubleClickCell(form.AttributeValueDBG(), QStringLiteral("attributevalue"), 0);
        form.AttributeDBGDblClick();
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });
}

TEST_F(AttributeFormTest, LookUpByIdentifiersNeedsTheValueOfThatAttribute)
{
    qint32 attributeId = 2;
    qint32 valueId = 23;
    QString attribute;
    QString value;
    bool required = true;
    ASSERT_TRUE(GetAttribute(attributeId, attribute, required, valueId, value, true));
    EXPECT_EQ(attribute, QStringLiteral("Veličina"));
    EXPECT_FALSE(required);
    EXPECT_EQ(value, QStringLiteral("L"));

    valueId = 11; // a value of Boja
    EXPECT_FALSE(GetAttribute(attributeId, attribute, required, valueId, value, true));
    attributeId = 9;
    EXPECT_FALSE(GetAttribute(attributeId, attribute, required, valueId, value, true));
    EXPECT_EQ(attribute, QStringLiteral("Veličina"));
    EXPECT_EQ(value, QStringLiteral("L"));
    EXPECT_FALSE(required);
}
