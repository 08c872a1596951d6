#include "Alterproductunit.h"
#include "DBGrid.h"
#include "Modal.h"
#include "ProductDMFixture.h"
#include "QueryDataSet.h"
#include "ScriptedDialogs.h"
#include "Screenshots.h"
#include "test_alter_console.h"
#include "test_refwindows.h"

#include <QAction>
#include <QApplication>
#include <QWheelEvent>
#include <QCoreApplication>
#include <QPushButton>
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
            "(3, 'Jogurt', 'J1', 'kom', 1, 80, 'RSD'), (4, 'Kefir', 'K1', 'kom', 1, 90, 'RSD'),"
            "(5, 'Pavlaka', 'P1', 'kom', 1, 150, 'RSD')");
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
    static QStringList members(qint32 group)
    {
        QSqlQuery query(db());
        query.exec(QStringLiteral("SELECT productid FROM productalter WHERE groupid = %1 ORDER BY productid").arg(group));
        QStringList ids;
        while (query.next())
            ids << query.value(0).toString();
        return ids;
    }
    static QStringList names(TAlterProductForm& form)
    {
        QStringList shown;
        for (int row = 0; row < form.AlterDBG()->model()->rowCount(); ++row)
            shown << cellText(form.AlterDBG(), QStringLiteral("name"), row);
        shown.sort();
        return shown;
    }
};

TEST_F(AlternativesTest, TwoProductsWithoutGroupsStartGroupOne)
{
    altertest::TestConsole console;
    console.products().pick(2);
    manage(1, [](TAlterProductForm& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Zamene"));
        EXPECT_EQ(form.groupId(), -1);
        EXPECT_EQ(form.AlterDBG()->model()->rowCount(), 0);
        EXPECT_TRUE(form.AddGroup()->isEnabled());
        EXPECT_FALSE(form.RemoveGroup()->isEnabled());

        form.findChild<QPushButton*>(QStringLiteral("AddGroupButton"))->click();
        EXPECT_EQ(form.groupId(), 1);
        EXPECT_EQ(names(form), (QStringList{QStringLiteral("Mleko 0,5l"), QStringLiteral("Mleko 1l")}));
        EXPECT_FALSE(form.AddGroup()->isEnabled());
        EXPECT_TRUE(form.RemoveGroup()->isEnabled());
        const QStringList titles{form.AlterDBG()->model()->headerData(0, Qt::Horizontal).toString(),
                                 form.AlterDBG()->model()->headerData(1, Qt::Horizontal).toString(),
                                 form.AlterDBG()->model()->headerData(2, Qt::Horizontal).toString()};
        EXPECT_EQ(titles, (QStringList{"Kod", "Ime", "Cena"}));
        form.AlterDBG()->dataSet()->locate(QStringLiteral("productid"), 2);
        EXPECT_EQ(cellText(form.AlterDBG(), QStringLiteral("price"), form.AlterDBG()->dataSet()->currentRow()),
                  QStringLiteral("65.50"));
        saveScreenshot(form, QStringLiteral("alternatives"));
    });
    EXPECT_EQ(members(1), (QStringList{"1", "2"}));
}

TEST_F(AlternativesTest, JoiningAGroupedProductTakesItsGroupAndNewGroupsFollowTheLargest)
{
    sql("INSERT INTO productalter (groupid, productid) VALUES (5, 2), (5, 3), (7, 4)");
    altertest::TestConsole console;
    console.products().pick(3);
    manage(1, [](TAlterProductForm& form) {
        form.AddGroup()->trigger();
        EXPECT_EQ(form.groupId(), 5);
        EXPECT_EQ(names(form), (QStringList{"Jogurt", "Mleko 0,5l", "Mleko 1l"}));
    });
    EXPECT_EQ(members(5), (QStringList{"1", "2", "3"}));

    // Product 5 joins the lone product 1 of a fresh pair: the next group is 8.
    sql("DELETE FROM productalter WHERE productid <> 4");
    console.products().pick(1);
    manage(5, [](TAlterProductForm& form) { form.AddGroup()->trigger(); });
    EXPECT_EQ(members(8), (QStringList{"1", "5"}));
    EXPECT_EQ(members(7), QStringList{"4"});
}

TEST_F(AlternativesTest, LeavingEmptiesTheListAndLeavesTheOthersGrouped)
{
    sql("INSERT INTO productalter (groupid, productid) VALUES (3, 1), (3, 2)");
    altertest::TestConsole console;
    manage(1, [](TAlterProductForm& form) {
        EXPECT_EQ(form.groupId(), 3);
        EXPECT_EQ(names(form), (QStringList{"Mleko 0,5l", "Mleko 1l"}));
        EXPECT_FALSE(form.AddGroup()->isEnabled());

        // While the window is open the wheel steps the grid row by row.
        DataSet& list = *form.AlterDBG()->dataSet();
        form.show();
        form.AlterDBG()->setFocus();
        list.first();
        auto turn = [&form](int delta) {
            QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(form.AlterDBG()->viewport(), &wheel);
        };
        turn(-120);
        EXPECT_EQ(list.recNo(), 2);
        turn(120);
        EXPECT_EQ(list.recNo(), 1);

        form.findChild<QPushButton*>(QStringLiteral("RemoveGroupButton"))->click();
        EXPECT_EQ(form.groupId(), -1);
        EXPECT_EQ(form.AlterDBG()->model()->rowCount(), 0);
        EXPECT_TRUE(form.AddGroup()->isEnabled());
        EXPECT_FALSE(form.RemoveGroup()->isEnabled());
        EXPECT_FALSE(form.findChild<QPushButton*>(QStringLiteral("RemoveGroupButton"))->isEnabled());
    });
    EXPECT_EQ(members(3), QStringList{"2"}); // alone, but still grouped
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM productalter WHERE productid = 1").toInt(), 0);
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
