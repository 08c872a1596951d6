#include "DBControls.h"
#include "DBGrid.h"
#include "Getproductunit.h"
#include "Modal.h"
#include "ProductDMFixture.h"
#include "Productnavigatorunit.h"
#include "Productpackagingunit.h"
#include "Productproductsunit.h"
#include "Productviewerunit.h"
#include "Pwodesceditorunit.h"
#include "ScriptedDialogs.h"
#include "test_alter_console.h"
#include "test_refwindows.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

namespace {

class ProductListsTest : public ProductDMTest {
protected:
    static void SetUpTestSuite()
    {
        ProductDMTest::SetUpTestSuite();
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
    }
    void SetUp() override { showProduct(1); }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The product the editor would show: the data module's current product.
    static void showProduct(qint32 id)
    {
        QueryDataSet& product = *dm().ProductZQ;
        product.close();
        product.setSql(TProductDM::productDesignSql().replace(QStringLiteral("p.productid = -1"),
                                                              QStringLiteral("p.productid = %1").arg(id)));
        product.open();
        QueryDataSet& packaging = *dm().ProductPackagingZQ;
        packaging.close();
        packaging.setParam(QStringLiteral("idproduct"), id);
        packaging.open();
    }
    // Answers the product picker: searches by name and confirms the first
    // row, or cancels with an empty name.
    static int pick(QDialog& dialog, const QString& name)
    {
        auto& picker = dynamic_cast<TGetProductForm&>(dialog);
        if (name.isEmpty()) {
            picker.cancelButton()->click();
        } else {
            picker.navigator()->SearchVLE()->setValue(QStringLiteral("name"), name);
            picker.navigator()->FindButtonClick();
            picker.okButton()->click();
        }
        return picker.result();
    }
    static QStringList column(DBGrid* grid, const char* field)
    {
        QStringList texts;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << cellText(grid, QString::fromUtf8(field), row);
        return texts;
    }
    static QStringList titles(DBGrid* grid)
    {
        QStringList texts;
        for (int section = 0; section < grid->model()->columnCount(); ++section)
            texts << grid->model()->headerData(section, Qt::Horizontal).toString();
        return texts;
    }
};

TEST_F(ProductListsTest, PackagingIsAddedOncePerProductAndReachesTheDatabaseOnlyWithApply)
{
    altertest::TestConsole console;
    ScriptedDialogs script;
    QStringList picks{QStringLiteral("Boca"), QStringLiteral("Boca"), QString(), QStringLiteral("Gajba")};
    ScopedModalHandler handler([&picks, &console](QDialog& dialog) {
        if (qobject_cast<TGetProductForm*>(&dialog))
            return pick(dialog, picks.takeFirst());
        auto& form = dynamic_cast<TProductPackagingForm&>(dialog);
        DBGrid* grid = form.ProductPackagingDBG();
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Ambalaža"));
        EXPECT_EQ(titles(grid), (QStringList{"Količina", "Naziv ambalaže", "Količina ambalaže"}));
        EXPECT_FALSE(form.ProductPackagingNavigator()->button(DBNavigator::Insert)->isVisibleTo(&form));

        form.AddPackagingButton()->click();
        EXPECT_EQ(column(grid, "name"), QStringList{"Boca 1l"});
        EXPECT_EQ(column(grid, "productamount"), QStringList{"1"});
        EXPECT_EQ(column(grid, "packagingamount"), QStringList{"1"});
        form.AddPackagingButton()->click(); // the same packaging again
        form.AddPackagingButton()->click(); // the picker cancelled
        EXPECT_EQ(grid->model()->rowCount(), 1);

        // A row left half-inserted gives way to the picked packaging.
        grid->dataSet()->append();
        form.AddPackagingButton()->click();
        EXPECT_EQ(column(grid, "name"), (QStringList{"Boca 1l", "Gajba"}));
        EXPECT_FALSE(grid->dataSet()->isEditing());

        // Quantities are typed; the packaging's name is not.
        EXPECT_TRUE(setCell(grid, QStringLiteral("productamount"), 1, QStringLiteral("24")));
        EXPECT_FALSE(setCell(grid, QStringLiteral("name"), 1, QStringLiteral("Kutija")));
        form.ProductPackagingNavigator()->button(DBNavigator::Post)->click();
        EXPECT_EQ(column(grid, "productamount"), (QStringList{"1", "24"}));

        form.PrintButton()->click();
        EXPECT_EQ(console.console.GetActiveGrid(), nullptr); // the console's own print source is back
        grid->dataSet()->first();
        form.ProductPackagingNavigator()->button(DBNavigator::Delete)->click(); // no question asked
        EXPECT_EQ(column(grid, "name"), QStringList{"Gajba"});
        form.CloseButton()->click();
        return dialog.result();
    });
    ProductPackagingManage(nullptr);
    EXPECT_TRUE(picks.isEmpty());
    ASSERT_EQ(console.wizards.size(), 1);
    EXPECT_EQ(console.wizards[0].name, QStringLiteral("Štampa"));
    EXPECT_EQ(console.wizards[0].parameters, QStringLiteral("title:Ambalaža - Sok od jabuke;header:"));
    EXPECT_EQ(console.wizards[0].grid->objectName(), QStringLiteral("ProductPackagingDBG"));
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM productpackaging").toInt(), 0);

    dm().ProductPackagingZQ->applyUpdates(); // the editor's apply
    EXPECT_EQ(scalar(db(), "SELECT GROUP_CONCAT(CONCAT(productid, ':', packagingid, ':', productamount, ':', "
                           "packagingamount)) FROM productpackaging")
                  .toString(),
              QStringLiteral("1:3:24:1"));
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(ProductListsTest, ComponentOfListsTheProductsUsingTheRawMaterial)
{
    showProduct(5);
    altertest::TestConsole console;
    inModal<TProductProductsForm>([&] { ProductProductsManage(5, nullptr); }, [&console](TProductProductsForm& form) {
        DBGrid* grid = form.ProductProductsDBG();
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Proizvodi"));
        EXPECT_EQ(titles(grid), (QStringList{"Proizvod", "Kod", "Barkod", "Kod proizvođača", "Količina"}));
        // A click on a title sorts by it, a second click turns the order.
        QHeaderView* header = grid->horizontalHeader();
        const QPoint nameTitle(header->sectionViewportPosition(0) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameTitle);
        EXPECT_EQ(column(grid, "name"), (QStringList{"Sok od jabuke", "Voćni miks"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameTitle);
        EXPECT_EQ(column(grid, "name"), (QStringList{"Voćni miks", "Sok od jabuke"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameTitle);
        EXPECT_EQ(column(grid, "quantity"), (QStringList{"1.25", "0.333333"}));
        EXPECT_EQ(column(grid, "manufcode"), (QStringList{"JB-1", ""}));
        EXPECT_FALSE(setCell(grid, QStringLiteral("quantity"), 0, QStringLiteral("2")));
        form.PrintButton()->click();
        form.CloseButton()->click();
    });
    ASSERT_EQ(console.wizards.size(), 1);
    EXPECT_EQ(console.wizards[0].parameters, QStringLiteral("title:Proizvodi - Jabuka;header:"));

    // Bottles go into nothing.
    showProduct(2);
    inModal<TProductProductsForm>([&] { ProductProductsManage(2, nullptr); }, [](TProductProductsForm& form) {
        EXPECT_EQ(form.ProductProductsDBG()->model()->rowCount(), 0);
        form.CloseButton()->click();
    });
}

TEST_F(ProductListsTest, TheDescriptionEditorReturnsTheTextOnlyWhenConfirmed)
{
    const QString kept = QStringLiteral("Sečenje\nna meru");
    QString text = kept;
    inModal<TPWODescEditorForm>([&] { EXPECT_FALSE(EditPWODesc(text)); }, [](TPWODescEditorForm& editor) {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Editor"));
        EXPECT_EQ(editor.PWODescMemo()->toPlainText(), QStringLiteral("Sečenje\nna meru"));
        editor.PWODescMemo()->setPlainText(QStringLiteral("izmenjeno"));
        QTest::keyClick(&editor, Qt::Key_Escape);
    });
    EXPECT_EQ(text, kept);

    inModal<TPWODescEditorForm>([&] { EXPECT_TRUE(EditPWODesc(text)); }, [](TPWODescEditorForm& editor) {
        editor.PWODescMemo()->appendPlainText(QStringLiteral("i bušenje"));
        editor.OKButton()->click();
    });
    EXPECT_EQ(text, QStringLiteral("Sečenje\nna meru\ni bušenje"));
}

} // namespace
