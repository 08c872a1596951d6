#include "DBControls.h"
#include "HostStrings.h"
#include "ProductDMFixture.h"
#include "ScriptedDialogs.h"
#include "Taxunit.h"
#include "test_refwindows.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class TaxFormTest : public ProductDMTest {
protected:
    void SetUp() override
    {
        sql("DELETE FROM tax");
        sql("INSERT INTO tax (taxid, name, description, value, status) VALUES "
            "(1, 'Opšta', 'Opšta stopa PDV', 20, 'primary'), (2, 'Posebna', 'Posebna stopa PDV', 10, 'standard'), "
            "(3, 'Oslobođeno', 'Bez PDV', 0, 'standard')");
        dm().SetDefaultTaxID(0);
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(TaxFormTest, DefaultButtonWritesNothingOnTheDefaultAndLeavesExactlyOnePrimary)
{
    ScriptedDialogs script;
    // A second primary left behind by someone else is cleared as well.
    sql("UPDATE tax SET status = 'primary' WHERE taxid = 3");
    inModal<TTaxForm>(TaxManage, [](TTaxForm& form) {
        DataSet& taxes = *form.TaxDBG()->dataSet();
        EXPECT_EQ(cellText(form.TaxDBG(), "value", 0), "20.00");
        taxes.locate("taxid", 1);
        const int before = updatesRun(db());
        form.DefaultButton()->click();
        EXPECT_EQ(updatesRun(db()), before);

        taxes.locate("taxid", 2);
        const int row = taxes.currentRow();
        form.DefaultButton()->click();
        EXPECT_EQ(taxes.currentRow(), row);
        EXPECT_EQ(form.TaxDBG()->currentIndex().row(), row);
        EXPECT_EQ(cellOf(form.TaxDBG(), "name", row).data(Qt::BackgroundRole).value<QColor>(), QColor(0xC0, 0xC0, 0xC0));
        EXPECT_FALSE(cellOf(form.TaxDBG(), "name", 0).data(Qt::BackgroundRole).isValid());
        form.CloseButton()->click();
    });
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(taxid, status ORDER BY taxid) FROM tax").toString(),
              "1standard,2primary,3standard");
    EXPECT_EQ(dm().GetDefaultTaxID(), 2);
    EXPECT_EQ(script.messages(), QStringList());
}

TEST_F(TaxFormTest, DoubleClickPicksOnlyWhilePicking)
{
    inModal<TTaxForm>(TaxManage, [](TTaxForm& form) {
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        doubleClickCell(form.TaxDBG(), "name", 1);
        form.TaxDBGDblClick();
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
    });

    qint32 id = 0;
    QString name;
    double value = -1;
    const auto pick = [&] { EXPECT_TRUE(GetTax(id, name, value, false)); };
    inModal<TTaxForm>(pick, [](TTaxForm& form) {
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
        doubleClickCell(form.TaxDBG(), "value", 2); // by name: Opšta, Oslobođeno, Posebna
    });
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, "Posebna");
    EXPECT_DOUBLE_EQ(value, 10.0);

    const auto cancel = [&] { EXPECT_FALSE(GetTax(id, name, value, false)); };
    inModal<TTaxForm>(cancel, [](TTaxForm& form) {
        clickCell(form.TaxDBG(), "name", 0);
        form.CloseButton()->click();
    });
    EXPECT_EQ(id, 2);
}

TEST_F(TaxFormTest, LookUpByIdReadsTheTableAfresh)
{
    qint32 id = 2;
    QString name;
    double value = 0;
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, "Posebna");
    sql("UPDATE tax SET value = 8.5, name = 'Snižena' WHERE taxid = 2");
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, "Snižena");
    EXPECT_DOUBLE_EQ(value, 8.5);

    id = 99;
    EXPECT_FALSE(GetTax(id, name, value, true));
    EXPECT_EQ(id, 99);
    EXPECT_EQ(name, "Snižena");
}

TEST_F(TaxFormTest, DeletingARateAnAccountRefersToIsRefusedWithoutAsking)
{
    sql("INSERT INTO accountnew (accountnewid, type) VALUES (1, 'tax')");
    sql("INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 1)");
    ScriptedDialogs script;
    inModal<TTaxForm>(TaxManage, [](TTaxForm& form) {
        for (int id : {1, 3}) {
            form.TaxDBG()->dataSet()->locate("taxid", id);
            form.TaxNavigator()->button(DBNavigator::Delete)->click();
        }
        form.CloseButton()->click();
    });
    EXPECT_EQ(script.messages(), QStringList{CMN_RELATIONAL_INTEGRITY_ERR});
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(taxid ORDER BY taxid) FROM tax").toString(), "1,2");
}
