#include "Productoptionstabunit.h"

#include "Dialogs.h"
#include "Productresourcestring.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace products {

using namespace optionkeys;

namespace {

QLineEdit* readOnlyEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    // Shaded like every read-only edit of the module.
    edit->setBackgroundRole(QPalette::Window);
    return edit;
}

} // namespace

TProductOptionsTabFrame::TProductOptionsTabFrame(ProductOptionStores& stores, TProductOptions& options, QWidget* parent)
    : QWidget(parent), m_stores(stores), m_options(options)
{
    // "Slike"
    auto* images = new QGroupBox(QStringLiteral("Slike"), this);
    m_imageDir = readOnlyEdit(images);
    m_browse = new QPushButton(QStringLiteral("Pronađi..."), images);
    auto* imagesLayout = new QHBoxLayout(images);
    imagesLayout->addWidget(new QLabel(QStringLiteral("Direktorijum slika:"), images));
    imagesLayout->addWidget(m_imageDir, 1);
    imagesLayout->addWidget(m_browse);
    connect(m_browse, &QPushButton::clicked, this, &TProductOptionsTabFrame::BrowseButtonClick);

    // "Opcije", in the page's order.
    auto* group = new QGroupBox(QStringLiteral("Opcije"), this);
    auto* grid = new QGridLayout(group);
    int row = 0;
    auto place = [&](QWidget* w) {
        grid->addWidget(w, row / 2, row % 2);
        ++row;
    };
    place(addBool(QStringLiteral("UniqueProductCode"), QStringLiteral("Šifra (kod) proizvoda je jedinstvena"), true));
    place(addBool(QStringLiteral("UniqueProductBarcode"), QStringLiteral("Barkod proizvoda je jedinstven"), false));
    {
        auto* holder = new QWidget(group);
        auto* h = new QHBoxLayout(holder);
        h->setContentsMargins(0, 0, 0, 0);
        m_uniqueName = new QCheckBox(QStringLiteral("Ime proizvoda je jedinstveno"), holder);
        m_uniqueNameChars = new QSpinBox(holder);
        m_uniqueNameChars->setRange(1, 100);
        m_uniqueNameChars->setValue(100);
        m_uniqueNameChars->setEnabled(false);
        h->addWidget(m_uniqueName);
        h->addWidget(m_uniqueNameChars);
        h->addStretch();
        connect(m_uniqueName, &QCheckBox::toggled, this, &TProductOptionsTabFrame::UniqueProductNameCBClick);
        place(holder);
    }
    place(addBool(QStringLiteral("ProductCategoryRequired"), QStringLiteral("Kategorija proizvoda je obavezna"), false));
    place(addBool(QStringLiteral("ProductCodeRequired"), QStringLiteral("Kod proizvoda je obavezan"), false));
    place(addBool(QStringLiteral("ProductNameUnchangeable"),
                  QStringLiteral("Ime i poreska stopa proizvoda su nepromenljivi ako je definisan PLU"), false));
    {
        auto* holder = new QWidget(group);
        auto* h = new QHBoxLayout(holder);
        h->setContentsMargins(0, 0, 0, 0);
        m_defaultUnit = new QLineEdit(holder);
        m_defaultUnit->setMaxLength(15);
        h->addWidget(new QLabel(QStringLiteral("Podrazumevana jedinica mere:"), holder));
        h->addWidget(m_defaultUnit);
        place(holder);
    }
    place(addBool(QStringLiteral("ProductHideInPrices"), QStringLiteral("Sakrij ulazne cene"), false, true));
    place(addBool(QStringLiteral("OnlyLocalDefaultWarehouseProds"),
                  QStringLiteral("Prikaži samo proizvode iz lokalnog podrazumevanog magacina"), false));
    place(addBool(QStringLiteral("OnlyDocumentChangePrices"), QStringLiteral("Dozvoli promenu cena samo kroz dokumente"),
                  false));
    place(addBool(QStringLiteral("ShowRatePrice"), QStringLiteral("Prikaži cenu po kursu"), false));
    place(addBool(QStringLiteral("OnlyLowestProductCategoryAllowed"),
                  QStringLiteral("Samo najniži nivo kategorije je dozvoljen"), false));
    place(addBool(QStringLiteral("SearchEqualCodeBarcode"), QStringLiteral("Pretraži samo jednak kod ili barkod"), false));
    place(addBool(QStringLiteral("ManufacturerNameRequired"), QStringLiteral("Ime proizvođača je obavezno"), false));
    place(addBool(QStringLiteral("AttributeStock"), QStringLiteral("Vodi evidenciju o zalihama atributa"), false));
    place(addBool(QStringLiteral("LockRecommendedPriceRebate"), QStringLiteral("Zaključaj prepor. cenu i rabat"), false));
    place(addBool(QStringLiteral("ForeignNameRequired"), QStringLiteral("Strano ime je obavezno"), false));
    place(addBool(QStringLiteral("CheckProductAmounts"), QStringLiteral("Proveri količine proizvoda"), false));
    place(addBool(QStringLiteral("AutoProductCode"), QStringLiteral("Automatski generiši šifru (kod)"), false));
    place(addBool(QStringLiteral("AutoProductBarcode"), QStringLiteral("Automatski generiši barkod"), false));
    {
        auto* holder = new QWidget(group);
        auto* h = new QHBoxLayout(holder);
        h->setContentsMargins(0, 0, 0, 0);
        m_codeFormat = new QLineEdit(holder);
        h->addWidget(new QLabel(QStringLiteral("Format koda:"), holder));
        h->addWidget(m_codeFormat);
        place(holder);
    }

    // "Skenirani dokumenti"
    auto* scans = new QGroupBox(QStringLiteral("Skenirani dokumenti"), this);
    m_scanDir = readOnlyEdit(scans);
    m_scanBrowse = new QPushButton(QStringLiteral("Pronađi..."), scans);
    auto* scansLayout = new QHBoxLayout(scans);
    scansLayout->addWidget(new QLabel(QStringLiteral("Direktorijum skeniranih dokumenata:"), scans));
    scansLayout->addWidget(m_scanDir, 1);
    scansLayout->addWidget(m_scanBrowse);
    connect(m_scanBrowse, &QPushButton::clicked, this, &TProductOptionsTabFrame::ScannedDocumentsDirectoryButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(images);
    layout->addWidget(group);
    layout->addWidget(scans);
    layout->addStretch();
}

QCheckBox* TProductOptionsTabFrame::addBool(const QString& key, const QString& caption, bool defaultValue, bool local)
{
    auto* box = new QCheckBox(caption, this);
    m_bools << BoolOption{key, Product, local, defaultValue, box};
    return box;
}

QCheckBox* TProductOptionsTabFrame::checkBox(const QString& key) const
{
    for (const BoolOption& option : m_bools)
        if (option.key == key)
            return option.box;
    return nullptr;
}

void TProductOptionsTabFrame::OptionsToControls()
{
    m_imageDir->setText(m_stores.GetProductImageDir());
    for (const BoolOption& option : m_bools) {
        const bool value = option.local ? m_stores.local().ReadBool(option.section, option.key, option.defaultValue)
                                        : m_stores.database().ReadBool(option.section, option.key, option.defaultValue);
        option.box->setChecked(value);
    }
    const int chars = m_stores.database().ReadInteger(Product, QStringLiteral("UniqueProductNameCharsNum"), 0);
    m_uniqueName->setChecked(chars > 0);
    if (chars > 0)
        m_uniqueNameChars->setValue(chars);
    m_uniqueNameChars->setEnabled(chars > 0);
    m_defaultUnit->setText(m_stores.database().ReadString(Product, QStringLiteral("DefaultProductUnitName"), QString()));
    m_codeFormat->setText(m_stores.database().ReadString(Product, QStringLiteral("AutoProductCodeFormat"), kDefaultCodeFormat));
    m_scanDir->setText(m_stores.scanDocDir());
}

void TProductOptionsTabFrame::ControlsToOptions()
{
    for (const BoolOption& option : m_bools) {
        if (option.local)
            m_stores.local().WriteBool(option.section, option.key, option.box->isChecked());
        else
            m_stores.database().WriteBool(option.section, option.key, option.box->isChecked());
    }
    const int chars = m_uniqueName->isChecked() ? m_uniqueNameChars->value() : 0;
    m_stores.database().WriteInteger(Product, QStringLiteral("UniqueProductNameCharsNum"), chars);
    m_stores.database().WriteString(Product, QStringLiteral("DefaultProductUnitName"), m_defaultUnit->text());
    m_stores.database().WriteString(Product, QStringLiteral("AutoProductCodeFormat"), m_codeFormat->text());
    m_stores.setScanDocDir(m_scanDir->text());

    // The data module works on from memory: bring it up to date at once.
    auto box = [&](const char* key) { return checkBox(QLatin1String(key))->isChecked(); };
    m_options.UniqueProductCode = box("UniqueProductCode");
    m_options.UniqueProductBarcode = box("UniqueProductBarcode");
    m_options.UniqueProductNameCharsNum = chars;
    m_options.ProductCategoryRequired = box("ProductCategoryRequired");
    m_options.ProductCodeRequired = box("ProductCodeRequired");
    m_options.ProductNameUnchangeable = box("ProductNameUnchangeable");
    m_options.DefaultProductUnitName = m_defaultUnit->text();
    m_options.ProductHideInPrices = box("ProductHideInPrices");
    m_options.OnlyLocalDefaultWarehouseProds = box("OnlyLocalDefaultWarehouseProds");
    m_options.OnlyDocumentChangePrices = box("OnlyDocumentChangePrices");
    m_options.ShowRatePrice = box("ShowRatePrice");
    m_options.OnlyLowestProductCategoryAllowed = box("OnlyLowestProductCategoryAllowed");
    m_options.SearchEqualCodeBarcode = box("SearchEqualCodeBarcode");
    m_options.ManufacturerNameRequired = box("ManufacturerNameRequired");
    m_options.AttributeStock = box("AttributeStock");
    m_options.LockRecommendedPriceRebate = box("LockRecommendedPriceRebate");
    m_options.ForeignNameRequired = box("ForeignNameRequired");
    m_options.CheckProductAmounts = box("CheckProductAmounts");
    m_options.AutoProductCode = box("AutoProductCode");
    m_options.AutoProductBarcode = box("AutoProductBarcode");
    m_options.AutoProductCodeFormat = m_codeFormat->text();
    m_stores.SetProductImageDir(m_imageDir->text());
}

void TProductOptionsTabFrame::UniqueProductNameCBClick()
{
    m_uniqueNameChars->setEnabled(m_uniqueName->isChecked());
}

void TProductOptionsTabFrame::BrowseButtonClick()
{
    const QString dir = tarvex::dialogs().browseFolder(IMG_DIR_TITLE, m_imageDir->text());
    if (!dir.isEmpty())
        m_imageDir->setText(dir);
}

void TProductOptionsTabFrame::ScannedDocumentsDirectoryButtonClick()
{
    const QString dir = tarvex::dialogs().browseFolder(SCAN_DOC_DIR_TITLE, m_scanDir->text());
    if (!dir.isEmpty())
        m_scanDir->setText(dir);
}

} // namespace products
