#include "DBControls.h"
#include "Dialogs.h"
#include "HostStrings.h"
#include "Modal.h"
#include "ProductDMFixture.h"
#include "ScriptedDialogs.h"
#include "Screenshots.h"
#include "Taxunit.h"
#include "test_refwindows.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QSqlQuery>
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

QString statuses(QSqlDatabase db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT name, status FROM tax ORDER BY name"));
    QStringList list;
    while (query.next())
        list << query.value(0).toString() + QLatin1Char('=') + query.value(1).toString();
    return list.join(QLatin1Char(' '));
}

} // namespace

class TaxFormTest : public ProductDMTest {
protected:
    void SetUp() override
    {
        sql("DELETE FROM preceptitem");
        sql("DELETE FROM accountnew");
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
        EXPECT_EQ(form.TaxDBG()->visibleColumns(), (QStringList{"name", "description", "value"}));
        EXPECT_EQ(form.TaxDBG()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Vrednost"));
        EXPECT_EQ(cellText(form.TaxDBG(), QStringLiteral("value"), 0), QStringLiteral("20.00"));

        EXPECT_TRUE(taxes.locate(QStringLiteral("taxid"), 1));
        const int before = updatesRun(db());
        form.DefaultButton()->click();
        EXPECT_EQ(updatesRun(db()), before);

        EXPECT_TRUE(taxes.locate(QStringLiteral("taxid"), 2));
        const int row = taxes.currentRow();
        form.DefaultButton()->click();
        EXPECT_EQ(taxes.fieldByName(QStringLiteral("taxid")).asInteger(), 2);
        EXPECT_EQ(form.TaxDBG()->currentIndex().row(), row);
        // Drawn on silver; the former default no longer.
        EXPECT_EQ(cellOf(form.TaxDBG(), QStringLiteral("name"), row).data(Qt::BackgroundRole).value<QColor>(),
                  QColor(0xC0, 0xC0, 0xC0));
        taxes.locate(QStringLiteral("taxid"), 1);
        EXPECT_FALSE(cellOf(form.TaxDBG(), QStringLiteral("name"), taxes.currentRow()).data(Qt::BackgroundRole).isValid());
        saveScreenshot(form, QStringLiteral("taxes"));
        form.CloseButton()->click();
        return dialog.result();
    });
    TaxManage();
    EXPECT_EQ(statuses(db()), QStringLiteral("Opšta=standard Oslobođeno=standard Posebna=primary"));
    EXPECT_EQ(dm().GetDefaultTaxID(), 2);
    EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(TaxFormTest, DoubleClickPicksOnlyWhilePicking)
{
    ScriptedDialogs script;
    ScopedModalHandler manage([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        EXPECT_TRUE(form.OKButton()->isHidden());
        EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CLOSE);
        doubleClickCell(form.TaxDBG(), QStringLiteral("name"), 1);
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.confirmed());
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
            EXPECT_FALSE(form.OKButton()->isHidden());
            EXPECT_EQ(form.CloseButton()->text(), CMN_CAPTION_CANCEL);
            // Rows by name: Opšta, Oslobođeno, Posebna.
            doubleClickCell(form.TaxDBG(), QStringLiteral("value"), 2);
            return dialog.result();
        });
        EXPECT_TRUE(GetTax(id, name, value, false));
    }
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, QStringLiteral("Posebna"));
    EXPECT_DOUBLE_EQ(value, 10.0);

    ScopedModalHandler cancel([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        clickCell(form.TaxDBG(), QStringLiteral("name"), 0);
        form.CloseButton()->click();
        return dialog.result();
    });
    EXPECT_FALSE(GetTax(id, name, value, false));
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, QStringLiteral("Posebna"));
}

TEST_F(TaxFormTest, OkOnAnEmptyListDoesNothing)
{
    sql("DELETE FROM tax");
    qint32 id = 7;
    QString name = QStringLiteral("x");
    double value = 1;
    ScopedModalHandler pick([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        form.OKButton()->click();
        EXPECT_TRUE(form.isVisible());
        form.CloseButton()->click();
        return dialog.result();
    });
    EXPECT_FALSE(GetTax(id, name, value, false));
    EXPECT_EQ(id, 7);
    EXPECT_EQ(name, QStringLiteral("x"));
}

TEST_F(TaxFormTest, LookUpByIdReadsTheTableAfresh)
{
    qint32 id = 2;
    QString name;
    double value = 0;
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, QStringLiteral("Posebna"));
    EXPECT_DOUBLE_EQ(value, 10.0);
    EXPECT_EQ(dm().TaxZQ->fieldByName(QStringLiteral("taxid")).asInteger(), 2);

    sql("UPDATE tax SET value = 8.5, name = 'Snižena' WHERE taxid = 2");
    ASSERT_TRUE(GetTax(id, name, value, true));
    EXPECT_EQ(name, QStringLiteral("Snižena"));
    EXPECT_DOUBLE_EQ(value, 8.5);

    id = 99;
    EXPECT_FALSE(GetTax(id, name, value, true));
    EXPECT_EQ(id, 99);
    EXPECT_EQ(name, QStringLiteral("Snižena"));
    EXPECT_DOUBLE_EQ(value, 8.5);
}

TEST_F(TaxFormTest, DeletingARateAnAccountRefersToIsRefusedWithoutAsking)
{
    sql("INSERT INTO accountnew (accountnewid, type) VALUES (1, 'tax')");
    sql("INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 1)");
    ScriptedDialogs script;
    ScopedModalHandler manage([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        DataSet& taxes = *form.TaxDBG()->dataSet();
        taxes.locate(QStringLiteral("taxid"), 1);
        form.TaxNavigator()->button(DBNavigator::Delete)->click();
        taxes.locate(QStringLiteral("taxid"), 3);
        form.TaxNavigator()->button(DBNavigator::Delete)->click();
        form.CloseButton()->click();
        return dialog.result();
    });
    TaxManage();
    EXPECT_EQ(script.messages(), QStringList{CMN_RELATIONAL_INTEGRITY_ERR});
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(taxid ORDER BY taxid) FROM tax").toString(), QStringLiteral("1,2"));
}

TEST_F(TaxFormTest, ANewRateIsStandardAndNeedsAName)
{
    ScriptedDialogs script;
    ScopedModalHandler manage([](QDialog& dialog) {
        TTaxForm& form = taxForm(dialog);
        DBGrid* grid = form.TaxDBG();
        form.TaxNavigator()->button(DBNavigator::Insert)->click();
        const int row = grid->dataSet()->currentRow();
        EXPECT_TRUE(setCell(grid, QStringLiteral("value"), row, QStringLiteral("5")));
        form.TaxNavigator()->button(DBNavigator::Post)->click();
        EXPECT_TRUE(grid->dataSet()->isEditing());
        EXPECT_TRUE(setCell(grid, QStringLiteral("name"), row, QStringLiteral("Nova")));
        form.TaxNavigator()->button(DBNavigator::Post)->click();
        EXPECT_FALSE(grid->dataSet()->isEditing());
        form.CloseButton()->click();
        return dialog.result();
    });
    TaxManage();
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().first(), CMN_FIELD_REQUIRED_ERR.arg(QStringLiteral("Ime")));
    EXPECT_EQ(scalar(db(), "SELECT CONCAT(value, ' ', status) FROM tax WHERE name = 'Nova'").toString(),
              QStringLiteral("5 standard"));
}
