#include "Productoptions.h"

#include "Dialogs.h"
#include "Productresourcestring.h"

#include <QDir>
#include <QFileInfo>

namespace products {

using namespace optionkeys;

ProductOptionStores::ProductOptionStores(const QSqlDatabase& db, const QString& localFile, const QString& programDir)
    : m_database(db), m_local(localFile), m_programDir(QDir::cleanPath(programDir))
{
}

TProductOptions ProductOptionStores::load() const
{
    TProductOptions o;
    const tarvex::TDBIniFile& d = m_database;
    o.AutoProductCode = d.ReadBool(Product, QStringLiteral("AutoProductCode"), false);
    o.AutoProductCodeFormat = d.ReadString(Product, QStringLiteral("AutoProductCodeFormat"), kDefaultCodeFormat);
    o.UniqueProductCode = d.ReadBool(Product, QStringLiteral("UniqueProductCode"), true);
    o.ProductCodeRequired = d.ReadBool(Product, QStringLiteral("ProductCodeRequired"), false);
    o.AutoProductBarcode = d.ReadBool(Product, QStringLiteral("AutoProductBarcode"), false);
    o.UniqueProductBarcode = d.ReadBool(Product, QStringLiteral("UniqueProductBarcode"), false);
    o.SearchEqualCodeBarcode = d.ReadBool(Product, QStringLiteral("SearchEqualCodeBarcode"), false);
    o.UniqueProductNameCharsNum = d.ReadInteger(Product, QStringLiteral("UniqueProductNameCharsNum"), 0);
    o.ProductCategoryRequired = d.ReadBool(Product, QStringLiteral("ProductCategoryRequired"), false);
    o.OnlyLowestProductCategoryAllowed = d.ReadBool(Product, QStringLiteral("OnlyLowestProductCategoryAllowed"), false);
    o.ForeignNameRequired = d.ReadBool(Product, QStringLiteral("ForeignNameRequired"), false);
    o.ManufacturerNameRequired = d.ReadBool(Product, QStringLiteral("ManufacturerNameRequired"), false);
    o.ProductNameUnchangeable = d.ReadBool(Product, QStringLiteral("ProductNameUnchangeable"), false);
    o.DefaultProductUnitName = d.ReadString(Product, QStringLiteral("DefaultProductUnitName"), QString());
    o.CheckProductAmounts = d.ReadBool(Product, QStringLiteral("CheckProductAmounts"), false);
    o.OnlyLocalDefaultWarehouseProds = d.ReadBool(Product, QStringLiteral("OnlyLocalDefaultWarehouseProds"), false);
    o.OnlyDocumentChangePrices = d.ReadBool(Product, QStringLiteral("OnlyDocumentChangePrices"), false);
    o.LockRecommendedPriceRebate = d.ReadBool(Product, QStringLiteral("LockRecommendedPriceRebate"), false);
    o.ShowRatePrice = d.ReadBool(Product, QStringLiteral("ShowRatePrice"), false);
    o.AttributeStock = d.ReadBool(Product, QStringLiteral("AttributeStock"), false);
    o.AttributeDesc = d.ReadBool(Product, QStringLiteral("AttributeDesc"), false);
    o.DefaultExchangeList = d.ReadString(Document, QStringLiteral("DefaultExchangeList"), DEFAULT_EXCHANGE_LIST);
    o.ProductHideInPrices = m_local.ReadBool(Product, QStringLiteral("ProductHideInPrices"), false);
    o.DefWarehouseName = m_local.ReadString(Document, QStringLiteral("DefWarehouseName"), QString());
    return o;
}

QString ProductOptionStores::defaultImageDir() const
{
    return m_programDir + QStringLiteral("/images");
}

QString ProductOptionStores::defaultScanDocDir() const
{
    return m_programDir + QStringLiteral("/scanned");
}

QString ProductOptionStores::GetProductImageDir() const
{
    return m_local.ReadString(Product, QStringLiteral("ImageDir"), defaultImageDir());
}

void ProductOptionStores::SetProductImageDir(const QString& dir)
{
    m_local.WriteString(Product, QStringLiteral("ImageDir"), dir);
}

QString ProductOptionStores::GetProductImageFilePath(qint64 productId) const
{
    return GetProductImageDir() + QDir::separator() + QString::number(productId) + QStringLiteral(".jpg");
}

QString ProductOptionStores::GetProductImageFilePathNew(qint64 productId) const
{
    return GetProductImageDir() + QDir::separator() + QString::number(productId) + QStringLiteral("_1.jpg");
}

QString ProductOptionStores::scanDocDir() const
{
    return m_local.ReadString(Product, QStringLiteral("ScanDocDir"), defaultScanDocDir());
}

void ProductOptionStores::setScanDocDir(const QString& dir)
{
    m_local.WriteString(Product, QStringLiteral("ScanDocDir"), dir);
}

QString ProductOptionStores::GetScannedDocumentFilePath()
{
    const QString dir = scanDocDir();
    if (QFileInfo(dir).isDir())
        return dir;
    tarvex::Dialogs& ask = tarvex::dialogs();
    if (ask.message(tarvex::MessageKind::Warning, SCAN_DOC_DIR_WRN, tarvex::ButtonYes | tarvex::ButtonNo) ==
        tarvex::ButtonYes) {
        // One level only: a missing parent is the user's to fix.
        if (QDir().mkdir(dir))
            return dir;
        return QFileInfo(dir).isDir() ? dir : QString();
    }
    const QString picked = ask.browseFolder(SCAN_DOC_DIR_TITLE, dir);
    if (picked.isEmpty() || !QFileInfo(picked).isDir())
        return QString();
    setScanDocDir(picked);
    return picked;
}

} // namespace products
