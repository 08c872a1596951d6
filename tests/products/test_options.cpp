#include "Productoptionsunit.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"
#include "test_refwindows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class ProductOptionsTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        QSqlDatabase d = db();
        execSql(d, "DELETE FROM dbinifile");
        stores = std::make_unique<ProductOptionStores>(db(), dir.filePath("tarvex.ini"), dir.path());
    }
    QTemporaryDir dir;
    std::unique_ptr<ProductOptionStores> stores;
};

TEST_F(ProductOptionsTest, AFreshDatabaseGivesTheDefaults)
{
    const TProductOptions o = stores->load();
    EXPECT_TRUE(o.UniqueProductCode);
    EXPECT_FALSE(o.AutoProductCode || o.ProductCodeRequired || o.AutoProductBarcode || o.UniqueProductBarcode ||
                 o.SearchEqualCodeBarcode || o.ProductCategoryRequired || o.OnlyLowestProductCategoryAllowed ||
                 o.ForeignNameRequired || o.ManufacturerNameRequired || o.ProductNameUnchangeable ||
                 o.CheckProductAmounts || o.OnlyLocalDefaultWarehouseProds || o.OnlyDocumentChangePrices ||
                 o.LockRecommendedPriceRebate || o.ShowRatePrice || o.AttributeStock || o.AttributeDesc ||
                 o.ProductHideInPrices);
    EXPECT_EQ(o.AutoProductCodeFormat, QStringLiteral("{c}{c}{c}{c}{c}"));
    EXPECT_EQ(o.DefaultExchangeList, QStringLiteral("Podraz. lista"));
    EXPECT_EQ(o.UniqueProductNameCharsNum, 0);
    // Until loaded, the in-memory options are all off.
    EXPECT_FALSE(TProductOptions().UniqueProductCode);
}

TEST_F(ProductOptionsTest, PictureAndDocumentPathsSitBesideTheProgram)
{
    EXPECT_EQ(stores->GetProductImageFilePath(42), dir.path() + "/images/42.jpg");
    EXPECT_EQ(stores->GetProductImageFilePathNew(42), dir.path() + "/images/42_1.jpg");
    stores->SetProductImageDir(dir.path() + "/slike");
    EXPECT_EQ(stores->GetProductImageFilePath(7), dir.path() + "/slike/7.jpg");
}

TEST_F(ProductOptionsTest, MissingScanFolderIsCreatedOrReplacedOrGivenUp)
{
    ScriptedDialogs script;
    // No, then a cancelled folder dialog: empty, and the setting stays.
    script.answer(ButtonNo).answer(QString());
    EXPECT_EQ(stores->GetScannedDocumentFilePath(), QString());
    EXPECT_FALSE(stores->local().ValueExists("Product", "ScanDocDir"));
    // No, then an existing folder: it is remembered.
    script.answer(ButtonNo).answer(dir.path());
    EXPECT_EQ(stores->GetScannedDocumentFilePath(), dir.path());
    EXPECT_EQ(stores->scanDocDir(), dir.path());
    // Yes creates the missing folder.
    stores->setScanDocDir(dir.path() + "/skenirano");
    script.answer(ButtonYes);
    EXPECT_EQ(stores->GetScannedDocumentFilePath(), dir.path() + "/skenirano");
    EXPECT_TRUE(QDir(dir.path() + "/skenirano").exists());
    EXPECT_EQ(script.shown()[0].kind, MessageKind::Warning);
    EXPECT_TRUE(script.shown()[0].text.startsWith("Direktorijum skeniranih dokumenata ne postoji."));
    EXPECT_FALSE(script.pending());
}

TEST_F(ProductOptionsTest, ThePageStoresIntoBothStoresAndMemory)
{
    TProductOptions memory;
    {
        TProductOptionsTabFrame frame(*stores, memory);
        frame.OptionsToControls();
        EXPECT_TRUE(frame.checkBox("UniqueProductCode")->isChecked());
        EXPECT_FALSE(frame.uniqueProductNameCB()->isChecked());
        EXPECT_FALSE(frame.uniqueProductNameChars()->isEnabled());
        EXPECT_EQ(frame.uniqueProductNameChars()->value(), 100);

        frame.uniqueProductNameCB()->setChecked(true);
        EXPECT_TRUE(frame.uniqueProductNameChars()->isEnabled());
        frame.uniqueProductNameChars()->setValue(5);
        frame.checkBox("ProductHideInPrices")->setChecked(true);
        frame.checkBox("UniqueProductCode")->setChecked(false);
        frame.defaultUnitEdit()->setText("kom");
        frame.ControlsToOptions();
    }
    EXPECT_EQ(stores->database().ReadInteger("Product", "UniqueProductNameCharsNum", -1), 5);
    EXPECT_FALSE(stores->database().ReadBool("Product", "UniqueProductCode", true));
    EXPECT_TRUE(stores->local().ReadBool("Product", "ProductHideInPrices", false));
    EXPECT_FALSE(stores->database().ValueExists("Product", "ProductHideInPrices"));
    EXPECT_EQ(memory.UniqueProductNameCharsNum, 5);
    EXPECT_EQ(memory.DefaultProductUnitName, "kom");
    EXPECT_TRUE(memory.ProductHideInPrices);
    EXPECT_EQ(stores->load().DefaultProductUnitName, "kom");

    // Cleared box: 0 is stored whatever the number shows; reopened, the field is disabled at 100.
    {
        TProductOptionsTabFrame frame(*stores, memory);
        frame.OptionsToControls();
        EXPECT_TRUE(frame.uniqueProductNameCB()->isChecked());
        EXPECT_EQ(frame.uniqueProductNameChars()->value(), 5);
        frame.uniqueProductNameCB()->setChecked(false);
        frame.ControlsToOptions();
    }
    EXPECT_EQ(stores->database().ReadInteger("Product", "UniqueProductNameCharsNum", -1), 0);
    TProductOptionsTabFrame reopened(*stores, memory);
    reopened.OptionsToControls();
    EXPECT_FALSE(reopened.uniqueProductNameChars()->isEnabled());
    EXPECT_EQ(reopened.uniqueProductNameChars()->value(), 100);
}

TEST_F(ProductOptionsTest, TheWindowStoresOnOkOnly)
{
    TProductOptions memory;
    const auto show = [&] { ShowProductOptions(*stores, memory); };
    inModal<TOptionsForm>(show, [](TOptionsForm& form) {
        form.frame()->checkBox("AutoProductCode")->setChecked(true);
        form.cancelButton()->click();
    });
    EXPECT_FALSE(stores->database().ValueExists("Product", "AutoProductCode"));
    inModal<TOptionsForm>(show, [](TOptionsForm& form) {
        form.frame()->checkBox("AutoProductCode")->setChecked(true);
        form.okButton()->click();
    });
    EXPECT_TRUE(stores->database().ReadBool("Product", "AutoProductCode", false));
    EXPECT_TRUE(memory.AutoProductCode);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
