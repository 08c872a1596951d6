#include "DBControls.h"
#include "HostStrings.h"
#include "Modal.h"
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

namespace {

TTaxForm& taxForm(QDialog& dialog)
{
    return dynamic_cast<TTaxForm&>(dialog);
}

} // namespace

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
    ScopedModalHandler manage([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        DataSet& taxes = *form.TaxDBG()->dataSet();
        EXPECT_EQ(cellText(form.TaxDBG(), QStringLiteral("value"), 0), QStringLiteral("20.00"));
        taxes.locate(QStringLiteral("taxid"), 1);
        const int before = updatesRun(db());
        form.DefaultButton()->click();
        EXPECT_EQ(updatesRun(db()), before);

        taxes.locate(QStringLiteral("taxid"), 2);
        const int row = taxes.currentRow();
        form.DefaultButton()->click();
        EXPECT_EQ(taxes.currentRow(), row);
        EXPECT_EQ(form.TaxDBG()->currentIndex().row(), row);
        EXPECT_EQ(cellOf(form.TaxDBG(), QStringLiteral("name"), row).data(Qt::BackgroundRole).value<QColor>(),
                  QColor(0xC0, 0xC0, 0xC0));
        EXPECT_FALSE(cellOf(form.TaxDBG(), QStringLiteral("name"), 0).data(Qt::BackgroundRole).isValid());
        form.CloseButton()->click();
        return dialog.result();
    });
    TaxManage();
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(taxid, status ORDER BY taxid) FROM tax").toString(),
              QStringLiteral("1standard,2primary,3standard"));
    EXPECT_EQ(dm().GetDefaultTaxID(), 2);
    EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(TaxFormTest, DoubleClickPicksOnlyWhilePicking)
{
    ScopedModalHandler manage([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        doubleClickCell(form.TaxDBG(), QStringLiteral("name"), 1);
        form.TaxDBGDblClick();
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
        return dialog.result();
    });
    TaxManage();

    qint32 id = 0;
    QString name;
    double value = -1;
    {
        ScopedModalHandler pick([](QDialog& dialog) {
            TTaxForm& form = taxForm(dialog);
            EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
            doubleClickCell(form.TaxDBG(), QStringLiteral("value"), 2); // by name: Opšta, Oslobođeno, Posebna
            return dialog.result();
        });
        EXPECT_TRUE(GetTax(id, name, value, false));
    }
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, QStringLiteral("Posebna"));
    EXPECT_DOUBLE_EQ(value, 10.0);

    ScopedModalHandler cancel([](QDialog& dialog) {
        clickCell(taxForm(dialog).TaxDBG(), QStringLiteral("name"), 0);
        taxForm(dialog).CloseButton()->click();
        return dialog.result();
    });
    EXPECT_FALSE(GetTax(id, name, value, false));
    EXPECT_EQ(id, 2);
}

TEST_F(TaxFormTest, LookUpByIdReadsTheTableAfresh)
{
    qint32 id = 2;
    QString name;
    double value = 0;
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, QStringLiteral("Posebna"));
    sql("UPDATE tax SET value = 8.5, name = 'Snižena' WHERE taxid = 2");
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, QStringLiteral("Snižena"));
    EXPECT_DOUBLE_EQ(value, 8.5);

    id = 99;
    EXPECT_FALSE(GetTax(id, name, value, true));
    EXPECT_EQ(id, 99);
    EXPECT_EQ(name, QStringLiteral("Snižena"));
}

TEST_F(TaxFormTest, DeletingARateAnAccountRefersToIsRefusedWithoutAsking)
{
    sql("INSERT INTO accountnew (accountnewid, type) VALUES (1, 'tax')");
    sql("INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 1)");
    ScriptedDialogs script;
    ScopedModalHandler manage([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        for (int id : {1, 3}) {
            form.TaxDBG()->dataSet()->locate(QStringLiteral("taxid"), id);
            form.TaxNavigator()->button(DBNavigator::Delete)->click();
        }
        form.CloseButton()->click();
        return dialog.result();
    });
    TaxManage();
    EXPECT_EQ(script.messages(), QStringList{CMN_RELATIONAL_INTEGRITY_ERR});
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(taxid ORDER BY taxid) FROM tax").toString(), QStringLiteral("1,2"));
}
