// The windows around a product's lists: alternatives grouped with a
// picked product, packaging added from the picker, and the products a raw
// material goes into.

#include "Alterproductunit.h"
#include "DBControls.h"
#include "Getproductunit.h"
#include "ProductDMFixture.h"
#include "Productnavigatorunit.h"
#include "Productpackagingunit.h"
#include "Productproductsunit.h"
#include "ScriptedDialogs.h"
#include "test_alter_console.h"
#include "test_refwindows.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QWheelEvent>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

// Opens the window for a product and lets the test drive it.
void manage(qint32 productId, const std::function<void(TAlterProductForm&)>& drive)
{
    inModal<TAlterProductForm>([productId] { AlternativesManage(productId); }, [&drive](TAlterProductForm& form) {
        drive(form);
        form.CloseButton()->click();
    });
}

QStringList members(int group)
{
    return rowsOf(ProductDM->ZConnection()->database(),
                  QStringLiteral("SELECT productid FROM productalter WHERE groupid = %1 ORDER BY productid").arg(group));
}

QStringList shown(TAlterProductForm& form, const char* field = "name")
{
    QStringList texts = columnTexts(form.AlterDBG(), QString::fromUtf8(field));
    texts.sort();
    return texts;
}

using AlternativesTest = WindowTest;

TEST_F(AlternativesTest, PickingItselfOrNoServiceChangesNothingTwoLoneProductsStartAGroupAndJoiningTakesTheGroup)
{
    sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
    sql("INSERT INTO product (productid, name, code, unitname, taxid, price, pricecurrency) VALUES "
        "(1, 'Mleko 1l', 'M1', 'kom', 1, 120, 'RSD'), (2, 'Mleko 0,5l', 'M2', 'kom', 1, 65.5, 'RSD'),"
        "(3, 'Jogurt', 'J1', 'kom', 1, 80, 'RSD'), (4, 'Kefir', 'K1', 'kom', 1, 90, 'RSD')");
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
    {
        altertest::TestConsole without(false);
        manage(1, [](TAlterProductForm& form) { form.AddGroup()->trigger(); });
    }
    EXPECT_EQ(text("SELECT COUNT(*) FROM productalter"), "0");

    // Two lone products start group 1; leaving keeps the other grouped.
    altertest::TestConsole console;
    console.products().pick(2);
    manage(1, [](TAlterProductForm& form) {
        QPushButton* add = form.findChild<QPushButton*>(QStringLiteral("AddGroupButton"));
        QPushButton* remove = form.findChild<QPushButton*>(QStringLiteral("RemoveGroupButton"));
        EXPECT_EQ(form.groupId(), -1);
        EXPECT_ROWS(shown(form), QStringList());
        EXPECT_TRUE(add->isEnabled());
        EXPECT_FALSE(remove->isEnabled());

        add->click();
        EXPECT_EQ(form.groupId(), 1);
        EXPECT_ROWS(shown(form), (QStringList{"Mleko 0,5l", "Mleko 1l"}));
        EXPECT_ROWS(shown(form, "price"), (QStringList{"120,00", "65,50"}));
        EXPECT_FALSE(add->isEnabled());
        EXPECT_TRUE(remove->isEnabled());
        EXPECT_ROWS(members(1), (QStringList{"1", "2"}));

        // While the window is open the wheel steps the grid row by row.
        DataSet& list = *form.AlterDBG()->dataSet();
        form.AlterDBG()->setFocus();
        list.first();
        for (const auto& [delta, recNo] : {std::pair{-120, 2}, std::pair{120, 1}}) {
            QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(form.AlterDBG()->viewport(), &wheel);
            EXPECT_EQ(list.recNo(), recNo) << delta;
        }

        remove->click();
        EXPECT_EQ(form.groupId(), -1);
        EXPECT_ROWS(shown(form), QStringList());
        EXPECT_TRUE(add->isEnabled());
        EXPECT_FALSE(remove->isEnabled());
    });
    EXPECT_ROWS(members(1), (QStringList{"2"})); // alone, but still grouped

    // Joining a grouped product takes its group, and new groups follow the largest.
    sql("DELETE FROM productalter");
    sql("INSERT INTO productalter (groupid, productid) VALUES (5, 2), (5, 3), (7, 4)");
    console.products().pick(3);
    manage(1, [](TAlterProductForm& form) {
        form.AddGroup()->trigger();
        EXPECT_EQ(form.groupId(), 5);
        EXPECT_ROWS(shown(form), (QStringList{"Jogurt", "Mleko 0,5l", "Mleko 1l"}));
    });
    EXPECT_ROWS(members(5), (QStringList{"1", "2", "3"}));

    // Product 2 leaves and joins the lone product 1 again: the next group is 8.
    sql("DELETE FROM productalter WHERE groupid = 5");
    console.products().pick(1);
    manage(2, [](TAlterProductForm& form) { form.AddGroup()->trigger(); });
    EXPECT_ROWS(members(8), (QStringList{"1", "2"}));
    EXPECT_ROWS(members(7), (QStringList{"4"}));
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
}

// The product the editor would show: the data module's current product.
void showProduct(qint32 id)
{
    openProduct(id);
    QueryDataSet& packaging = *ProductDM->ProductPackagingZQ;
    packaging.close();
    packaging.setParam(QStringLiteral("idproduct"), id);
    packaging.open();
}

using ProductListsTest = WindowTest;

TEST_F(ProductListsTest, PackagingIsAddedOncePerProductAndReachesTheDatabaseOnlyWithApplyComponentOfListsUsers)
{
    sql("INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV20', 20, 'primary')");
    sql("INSERT INTO product (productid, name, code, barcode, manufcode, unitname, taxid, price, pricecurrency, "
        "type) VALUES "
        "(1, 'Sok od jabuke', 'S1', '8600000000011', 'JB-1', 'l', 1, 120, 'RSD', 'p'),"
        "(2, 'Boca 1l', 'B1', NULL, NULL, 'kom', 1, 10, 'RSD', 'r'),"
        "(3, 'Gajba', 'G1', NULL, NULL, 'kom', 1, 300, 'RSD', 'r'),"
        "(4, 'Voćni miks', 'V1', '8600000000042', NULL, 'l', 1, 180, 'RSD', 'p'),"
        "(5, 'Jabuka', 'J1', NULL, 'JAB', 'kg', 1, 60, 'RSD', 'r')");
    // Apples go into the juice and the fruit mix.
    sql("INSERT INTO component (rawid, productid, quantity) VALUES (5, 1, 1.25), (5, 4, 0.3333333)");
    showProduct(1);
    altertest::TestConsole console;
    ScriptedDialogs script;
    QStringList picks{QStringLiteral("Boca"), QStringLiteral("Boca"), QString(), QStringLiteral("Gajba")};
    ScopedModalHandler handler([&picks, &console, &script](QDialog& dialog) {
        // The picker searches by name and confirms the first row, or is cancelled for an empty name.
        if (auto* picker = qobject_cast<TGetProductForm*>(&dialog)) {
            const QString name = picks.takeFirst();
            if (!name.isEmpty()) {
                picker->navigator()->SearchVLE()->setValue(QStringLiteral("name"), name);
                QTest::mouseClick(picker->navigator()->FindButton(), Qt::LeftButton);
            }
            (name.isEmpty() ? picker->cancelButton() : picker->okButton())->click();
            return picker->result();
        }
        auto& form = dynamic_cast<TProductPackagingForm&>(dialog);
        DBGrid* grid = form.ProductPackagingDBG();
        EXPECT_FALSE(form.ProductPackagingNavigator()->button(DBNavigator::Insert)->isVisibleTo(&form));

        form.AddPackagingButton()->click();
        EXPECT_ROWS(columnTexts(grid, "name"), QStringList{"Boca 1l"});
        EXPECT_ROWS(columnTexts(grid, "productamount"), QStringList{"1"});
        EXPECT_ROWS(columnTexts(grid, "packagingamount"), QStringList{"1"});
        form.AddPackagingButton()->click(); // the same packaging again
        form.AddPackagingButton()->click(); // the picker cancelled
        EXPECT_EQ(grid->model()->rowCount(), 1);

        // A row left half-inserted gives way to the picked packaging.
        grid->dataSet()->append();
        form.AddPackagingButton()->click();
        EXPECT_ROWS(columnTexts(grid, "name"), (QStringList{"Boca 1l", "Gajba"}));
        EXPECT_FALSE(grid->dataSet()->isEditing());

        // Quantities are typed; the packaging's name is not.
        EXPECT_TRUE(setCell(grid, QStringLiteral("productamount"), 1, QStringLiteral("24")));
        EXPECT_FALSE(setCell(grid, QStringLiteral("name"), 1, QStringLiteral("Kutija")));
        form.ProductPackagingNavigator()->button(DBNavigator::Post)->click();
        EXPECT_ROWS(columnTexts(grid, "productamount"), (QStringList{"1", "24"}));

        form.PrintButton()->click();
        console.expectPrint(QStringLiteral("Ambalaža - Sok od jabuke"), QString(), grid);
        EXPECT_EQ(console->GetActiveGrid(), nullptr); // the console's own print source is back
        grid->dataSet()->first();
        script.answer(ButtonYes);
        form.ProductPackagingNavigator()->button(DBNavigator::Delete)->click();
        EXPECT_ROWS(columnTexts(grid, "name"), QStringList{"Gajba"});
        form.CloseButton()->click();
        return dialog.result();
    });
    ProductPackagingManage(nullptr);
    EXPECT_TRUE(picks.isEmpty());
    EXPECT_EQ(text("SELECT COUNT(*) FROM productpackaging"), "0");

    dm().ProductPackagingZQ->applyUpdates(); // the editor's apply
    expectSameTable(rowsOf(db(), "SELECT productid, packagingid, productamount, packagingamount FROM productpackaging"),
                    {"1|3|24|1"}, {"productid", "packagingid", "productamount", "packagingamount"});
    EXPECT_ROWS(script.messages(), QStringList{"Da li želite da izbrišete izabrani red?"});

    // "Component of" lists the products using the raw material.
    showProduct(5);
    console.wizards.clear();
    inModal<TProductProductsForm>([&] { ProductProductsManage(5, nullptr); }, [&console](TProductProductsForm& form) {
        DBGrid* grid = form.ProductProductsDBG();
        // A click on a title sorts by it, a second click turns the order.
        QHeaderView* header = grid->horizontalHeader();
        const QPoint nameTitle(header->sectionViewportPosition(0) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameTitle);
        EXPECT_ROWS(columnTexts(grid, "name"), (QStringList{"Sok od jabuke", "Voćni miks"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameTitle);
        EXPECT_ROWS(columnTexts(grid, "name"), (QStringList{"Voćni miks", "Sok od jabuke"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameTitle);
        EXPECT_ROWS(columnTexts(grid, "quantity"), (QStringList{"1,25", "0,333333"}));
        EXPECT_ROWS(columnTexts(grid, "manufcode"), (QStringList{"JB-1", ""}));
        EXPECT_FALSE(setCell(grid, QStringLiteral("quantity"), 0, QStringLiteral("2")));
        form.PrintButton()->click();
        console.expectPrint(QStringLiteral("Proizvodi - Jabuka"), QString(), grid);
        form.CloseButton()->click();
    });

    // Bottles go into nothing.
    showProduct(2);
    inModal<TProductProductsForm>([&] { ProductProductsManage(2, nullptr); }, [](TProductProductsForm& form) {
        EXPECT_EQ(form.ProductProductsDBG()->model()->rowCount(), 0);
        form.CloseButton()->click();
    });
}

} // namespace
