// The data module's parts below the windows: the option stores and their
// page, product codes and variant barcodes, and the plain look-ups.

#include "Barcode.h"
#include "Productidentifiers.h"
#include "Productlookups.h"
#include "Productoptionsunit.h"
#include "RandomSource.h"
#include "ScriptedDialogs.h"
#include "TestServer.h"
#include "test_refwindows.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace products;
using namespace tarvex;
using namespace tarvex::test;

class ProductData : public WindowTest {
protected:
    QTemporaryDir dir;
    ProductOptionStores stores{db(), dir.filePath("tarvex.ini"), dir.path()};
};

TEST_F(ProductData, AFreshDatabaseGivesTheDefaultOptionsAndThePageAndWindowStoreThem)
{
    const TProductOptions o = stores.load();
    TProductOptions memory;
    EXPECT_TRUE(o.UniqueProductCode);
#define OFF(option) std::pair{#option, o.option}
    for (const auto& [name, on] : {OFF(AutoProductCode), OFF(ProductCodeRequired), OFF(AutoProductBarcode),
                                   OFF(UniqueProductBarcode), OFF(SearchEqualCodeBarcode), OFF(ProductCategoryRequired),
                                   OFF(OnlyLowestProductCategoryAllowed), OFF(ForeignNameRequired),
                                   OFF(ManufacturerNameRequired), OFF(ProductNameUnchangeable), OFF(CheckProductAmounts),
                                   OFF(OnlyLocalDefaultWarehouseProds), OFF(OnlyDocumentChangePrices),
                                   OFF(LockRecommendedPriceRebate), OFF(ShowRatePrice), OFF(AttributeStock),
                                   OFF(AttributeDesc), OFF(ProductHideInPrices)})
        EXPECT_FALSE(on) << name;
#undef OFF
    EXPECT_EQ(o.AutoProductCodeFormat, QStringLiteral("{c}{c}{c}{c}{c}"));
    EXPECT_EQ(o.DefaultExchangeList, QStringLiteral("Podraz. lista"));
    EXPECT_EQ(o.UniqueProductNameCharsNum, 0);

    // The page stores into both stores and memory.
    {
        TProductOptionsTabFrame frame(stores, memory);
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
    // The hiding is the workstation's own.
    EXPECT_EQ(stores.database().ReadInteger("Product", "UniqueProductNameCharsNum", -1), 5);
    EXPECT_FALSE(stores.database().ReadBool("Product", "UniqueProductCode", true));
    EXPECT_TRUE(stores.local().ReadBool("Product", "ProductHideInPrices", false));
    EXPECT_FALSE(stores.database().ValueExists("Product", "ProductHideInPrices"));
    EXPECT_EQ(memory.UniqueProductNameCharsNum, 5);
    EXPECT_EQ(memory.DefaultProductUnitName, "kom");
    EXPECT_TRUE(memory.ProductHideInPrices);
    EXPECT_EQ(stores.load().DefaultProductUnitName, "kom");

    // Cleared box: 0 is stored whatever the number shows (which opens as the fresh page above).
    {
        TProductOptionsTabFrame frame(stores, memory);
        frame.OptionsToControls();
        EXPECT_TRUE(frame.uniqueProductNameCB()->isChecked());
        EXPECT_EQ(frame.uniqueProductNameChars()->value(), 5);
        frame.uniqueProductNameCB()->setChecked(false);
        frame.ControlsToOptions();
    }
    EXPECT_EQ(stores.database().ReadInteger("Product", "UniqueProductNameCharsNum", -1), 0);

    // The window stores on OK only.
    for (const bool ok : {false, true}) {
        inModal<TOptionsForm>([&] { ShowProductOptions(stores, memory); }, [ok](TOptionsForm& form) {
            form.frame()->checkBox("AutoProductCode")->setChecked(true);
            (ok ? form.okButton() : form.cancelButton())->click();
        });
        EXPECT_EQ(stores.database().ReadBool("Product", "AutoProductCode", false), ok);
        EXPECT_EQ(memory.AutoProductCode, ok);
    }
}

TEST_F(ProductData, AMissingScanFolderIsCreatedOrReplacedOrGivenUp)
{
    ScriptedDialogs script;
    // No, then a cancelled folder dialog: empty, and the setting stays.
    script.answer(ButtonNo).answer(QString());
    EXPECT_EQ(stores.GetScannedDocumentFilePath(), QString());
    EXPECT_FALSE(stores.local().ValueExists("Product", "ScanDocDir"));
    // No, then an existing folder: it is remembered.
    script.answer(ButtonNo).answer(dir.path());
    EXPECT_EQ(stores.GetScannedDocumentFilePath(), dir.path());
    EXPECT_EQ(stores.scanDocDir(), dir.path());
    // Yes creates the missing folder.
    stores.setScanDocDir(dir.path() + "/skenirano");
    script.answer(ButtonYes);
    EXPECT_EQ(stores.GetScannedDocumentFilePath(), dir.path() + "/skenirano");
    EXPECT_TRUE(QDir(dir.path() + "/skenirano").exists());
    EXPECT_EQ(script.shown()[0].kind, MessageKind::Warning);
    EXPECT_TRUE(script.shown()[0].text.startsWith("Direktorijum skeniranih dokumenata ne postoji."));
    EXPECT_FALSE(script.pending());
}

// A workstation that never chose them keeps pictures and scans under the
// user's data folder, never beside the program (which may be read-only).
TEST_F(ProductData, TheDefaultPictureAndScanFoldersAreUnderTheUsersDataFolder)
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    products::TProductDM fresh;
    fresh.SetZConnection(&connection());
    if (dataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", dataHome);
    const products::ProductOptionStores& own = *fresh.OptionStores();
    EXPECT_EQ(own.defaultImageDir(), dir.path() + "/tarvex/images");
    EXPECT_EQ(own.defaultScanDocDir(), dir.path() + "/tarvex/scanned");
    EXPECT_FALSE(own.defaultImageDir().startsWith(QCoreApplication::applicationDirPath()));
    fresh.SetZConnection(nullptr);
}

TEST_F(ProductData, CodeTemplatesVariantNumbersAndVariantBarcodesCarryingTheDateNeverRepeated)
{
    // Codes fill the template's positions from the right; variant numbers are padded on the right.
    const std::tuple<const char*, int, const char*> codes[] = {
        {"{c}{c}{c}{c}{c}", 43, "00043"}, {"{c}{c}{c}{c}{c}", 1, "00001"}, {"{c}{c}{c}{c}{c}", 100000, "100000"},
        {"{c}{c}{c}", 1501, "1501"},      {"A/{c}{c}{c}.{c}", 7, "A/000.7"}, {"A/{c}{c}{c}.{c}", 12345, "A/1234.5"},
        {"MP-{c}{c}", 5, "MP-05"}};
    for (const auto& [pattern, number, code] : codes)
        EXPECT_EQ(formatProductCode(pattern, number), code) << pattern << " " << number;
    for (const auto& [number, text] : {std::pair{42, "42000"}, {0, "00000"}, {99998, "99998"}})
        EXPECT_EQ(variantNumberText(number), text);

    const QDate date(2024, 3, 3);
    randomSource().seed(7);
    const QString first = GenerateAttributeBarcode(db(), date, 15);
    EXPECT_TRUE(IsValidEan13(first)) << first.toStdString();
    EXPECT_EQ(first.left(3), "224");
    EXPECT_EQ(first.mid(8, 4), "0303");

    // The same chance again meets the stored barcode and draws anew.
    sql(QStringLiteral("INSERT INTO productattribute (productid, prodattbarcode) VALUES (1, '%1')").arg(first));
    randomSource().seed(7);
    const QString second = GenerateAttributeBarcode(db(), date, 15);
    EXPECT_NE(second, first);
    EXPECT_TRUE(IsValidEan13(second)) << second.toStdString();
    EXPECT_EQ(second.mid(8, 4), "0303");
    randomSource().reseedFromSystem();
}

TEST_F(ProductData, LookUpsOfPricesAmountsCurrenciesPreceptsAndCategoryLevels)
{
    using namespace products::lookups;
    sql("INSERT INTO tax (taxid, name, value) VALUES (1, 'Opšta', 20)");
    sql("INSERT INTO warehouse (warehouseid, name) VALUES (1, 'Glavni'), (2, 'Prodavnica')");
    sql("INSERT INTO product (productid, name, unitname, taxid, pricecurrency) VALUES "
        "(1, 'Hleb', 'kom', 1, 'RSD'), (2, 'Mleko', 'l', 1, 'EUR'), (3, 'Jaja', 'kom', 1, 'RSD')");
    sql("INSERT INTO productwarehouse (productid, warehouseid, amount, price) VALUES "
        "(1, 1, 5, 49.9), (1, 2, -5, 51), (2, 1, 0.0000004, 120), (3, 1, 0.000001, 10)");
    sql("INSERT INTO accountnew (accountnewid, type) VALUES (1, 'product'), (2, 'tax')");
    sql("INSERT INTO preceptitem (accountnewid, foreignid) VALUES (1, 2), (2, 1)");
    sql("INSERT INTO categorypr (categoryprid, parentid, name) VALUES (1, 0, 'A'), (2, 1, 'B')");

    EXPECT_EQ(GetProductPrice(db(), 1, 1), 49.9);
    EXPECT_EQ(GetProductPrice(db(), 1, 9), 0);
    EXPECT_EQ(GetProductAmount(db(), 1, 2), -5);
    EXPECT_EQ(GetProductCurrency(db(), 2), "EUR");
    EXPECT_EQ(GetProductCurrency(db(), 42), QString());
    // Stock totals are zero after rounding to six decimals: 5 and -5, 0.0000004, 0.000001, none.
    const std::pair<qint64, bool> amounts[] = {{1, false}, {2, false}, {3, true}, {42, false}};
    for (const auto& [product, some] : amounts)
        EXPECT_EQ(ProductGetAmounts(db(), product), some) << product;
    // Precepts of product 2 and tax 1; a quote in the type is plain text. Only-lowest needs a leaf.
    const std::tuple<const char*, qint64, bool> precepts[] = {
        {"product", 2, true}, {"product", 1, false}, {"tax", 1, true}, {"warehouse' OR '1'='1", 1, false}};
    for (const auto& [type, id, exists] : precepts)
        EXPECT_EQ(PreceptExist(db(), type, id), exists) << type << " " << id;
    EXPECT_TRUE(CheckOnlyLowestCategory(db(), {2, 1}));
    EXPECT_FALSE(CheckOnlyLowestCategory(db(), {2}));
    EXPECT_FALSE(CheckOnlyLowestCategory(db(), {}));
}
