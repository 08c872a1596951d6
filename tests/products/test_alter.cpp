#include "Alterproductunit.h"
#include "Modal.h"
#include "ProductDMFixture.h"
#include "QueryDataSet.h"
#include "ScriptedDialogs.h"
#include "test_alter_console.h"
#include "test_refwindows.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

class AlternativesTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
        sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
        sql("INSERT INTO product (productid, name, code, unitname, taxid, price, pricecurrency) VALUES "
            "(1, 'Mleko 1l', 'M1', 'kom', 1, 120, 'RSD'), (2, 'Mleko 0,5l', 'M2', 'kom', 1, 65.5, 'RSD'),"
            "(3, 'Jogurt', 'J1', 'kom', 1, 80, 'RSD'), (4, 'Kefir', 'K1', 'kom', 1, 90, 'RSD')");
    }
    void SetUp() override { sql("DELETE FROM productalter"); }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Opens the window for a product and lets the test drive it.
    static void manage(qint32 productId, const std::function<void(TAlterProductForm&)>& drive)
    {
        ScopedModalHandler handler([&drive](QDialog& dialog) {
            auto& form = dynamic_cast<TAlterProductForm&>(dialog);
            drive(form);
            form.CloseButton()->click();
            return dialog.result();
        });
        AlternativesManage(productId);
    }
    static QString members(int group)
    {
        return scalar(db(), QStringLiteral("SELECT GROUP_CONCAT(productid ORDER BY productid) FROM productalter "
                                           "WHERE groupid = %1").arg(group)).toString();
    }
    static QString shown(TAlterProductForm& form, const char* field = "name")
    {
        QStringList texts;
        for (int row = 0; row < form.AlterDBG()->model()->rowCount(); ++row)
            texts << cellText(form.AlterDBG(), QString::fromUtf8(field), row);
        texts.sort();
        return texts.join(QLatin1Char('|'));
    }
    static void turnWheel(QWidget* widget, int delta)
    {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    }
};

TEST_F(AlternativesTest, TwoLoneProductsStartGroupOneAndLeavingKeepsTheOtherGrouped)
{
    altertest::TestConsole console;
    console.products().pick(2);
    manage(1, [](TAlterProductForm& form) {
        QPushButton* add = form.findChild<QPushButton*>(QStringLiteral("AddGroupButton"));
        QPushButton* remove = form.findChild<QPushButton*>(QStringLiteral("RemoveGroupButton"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Zamene"));
        EXPECT_EQ(form.groupId(), -1);
        EXPECT_EQ(shown(form), QString());
        EXPECT_TRUE(add->isEnabled() && !remove->isEnabled());

        add->click();
        EXPECT_EQ(form.groupId(), 1);
        EXPECT_EQ(shown(form), QStringLiteral("Mleko 0,5l|Mleko 1l"));
        EXPECT_EQ(shown(form, "price"), QStringLiteral("120.00|65.50"));
        EXPECT_TRUE(!add->isEnabled() && remove->isEnabled());
        EXPECT_EQ(form.AlterDBG()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kod"));
        EXPECT_EQ(members(1), QStringLiteral("1,2"));

        // While the window is open the wheel steps the grid row by row.
        DataSet& list = *form.AlterDBG()->dataSet();
        form.AlterDBG()->setFocus();
        list.first();
        turnWheel(form.AlterDBG()->viewport(), -120);
        EXPECT_EQ(list.recNo(), 2);
        turnWheel(form.AlterDBG()->viewport(), 120);
        EXPECT_EQ(list.recNo(), 1);

        remove->click();
        EXPECT_EQ(form.groupId(), -1);
        EXPECT_EQ(shown(form), QString());
        EXPECT_TRUE(add->isEnabled() && !remove->isEnabled());
    });
    EXPECT_EQ(members(1), QStringLiteral("2")); // alone, but still grouped
}

TEST_F(AlternativesTest, JoiningAGroupedProductTakesItsGroupAndNewGroupsFollowTheLargest)
{
    sql("INSERT INTO productalter (groupid, productid) VALUES (5, 2), (5, 3), (7, 4)");
    altertest::TestConsole console;
    console.products().pick(3);
    manage(1, [](TAlterProductForm& form) {
        form.AddGroup()->trigger();
        EXPECT_EQ(form.groupId(), 5);
        EXPECT_EQ(shown(form), QStringLiteral("Jogurt|Mleko 0,5l|Mleko 1l"));
    });
    EXPECT_EQ(members(5), QStringLiteral("1,2,3"));

    // Product 2 leaves and joins the lone product 1 again: the next group is 8.
    sql("DELETE FROM productalter WHERE groupid = 5");
    console.products().pick(1);
    manage(2, [](TAlterProductForm& form) { form.AddGroup()->trigger(); });
    EXPECT_EQ(members(8), QStringLiteral("1,2"));
    EXPECT_EQ(members(7), QStringLiteral("4"));
}

TEST_F(AlternativesTest, PickingItselfCancellingOrNoProductServiceChangesNothing)
{
    ScriptedDialogs script;
    {
        altertest::TestConsole console;
        manage(1, [&console](TAlterProductForm& form) {
            console.products().pick(1);
            form.AddGroup()->trigger();
            console.products().answer.reset();
            form.AddGroup()->trigger();
            EXPECT_EQ(console.products().picks, 2);
            EXPECT_EQ(form.groupId(), -1);
            EXPECT_TRUE(form.AddGroup()->isEnabled());
        });
    }
    altertest::TestConsole without(false);
    manage(1, [](TAlterProductForm& form) { form.AddGroup()->trigger(); });
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM productalter").toInt(), 0);
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
}

} // namespace
