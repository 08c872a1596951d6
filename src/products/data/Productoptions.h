#pragma once
// The product module's options: the 24 kept in memory by the data module, the
// two stores they live in (the database store shared by every workstation
// and the workstation's settings file), and the picture and scanned-document
// folders.

#include "DBIniFile.h"
#include "IniFile.h"

#include <QString>

namespace products {

namespace optionkeys {
inline const QString Product = QStringLiteral("Product");
inline const QString Document = QStringLiteral("Document");
inline const QString Appearance = QStringLiteral("Appearance");
} // namespace optionkeys

// Until loaded every option is false, 0 or empty (UniqueProductCode too,
// although its stored default is true).
struct TProductOptions {
    bool AutoProductCode = false;
    QString AutoProductCodeFormat;
    bool UniqueProductCode = false;
    bool ProductCodeRequired = false;
    bool AutoProductBarcode = false;
    bool UniqueProductBarcode = false;
    bool SearchEqualCodeBarcode = false;
    int UniqueProductNameCharsNum = 0;
    bool ProductCategoryRequired = false;
    bool OnlyLowestProductCategoryAllowed = false;
    bool ForeignNameRequired = false;
    bool ManufacturerNameRequired = false;
    bool ProductNameUnchangeable = false;
    QString DefaultProductUnitName;
    bool CheckProductAmounts = false;
    bool OnlyLocalDefaultWarehouseProds = false;
    bool OnlyDocumentChangePrices = false;
    bool LockRecommendedPriceRebate = false;
    bool ShowRatePrice = false;
    bool AttributeStock = false;
    bool AttributeDesc = false;
    QString DefaultExchangeList;
    bool ProductHideInPrices = false;
    QString DefWarehouseName;
};

// Defaults of the stored options.
inline const QString kDefaultCodeFormat = QStringLiteral("{c}{c}{c}{c}{c}");

class ProductOptionStores {
public:
    // `localFile` is the workstation's settings file; `programDir` the folder
    // the default picture and scanned-document folders sit in.
    ProductOptionStores(const QSqlDatabase& db, const QString& localFile, const QString& programDir);

    tarvex::TDBIniFile& database() { return m_database; }
    tarvex::TIniFile& local() { return m_local; }

    // Reads all 24 options with their defaults.
    TProductOptions load() const;

    QString defaultImageDir() const;
    QString defaultScanDocDir() const;
    QString GetProductImageDir() const;
    void SetProductImageDir(const QString& dir);
    QString GetProductImageFilePath(qint64 productId) const;
    QString GetProductImageFilePathNew(qint64 productId) const;
    QString scanDocDir() const;
    void setScanDocDir(const QString& dir);
    // The scanned-document folder, made to exist: asks whether to create a
    // missing one, or to pick another; empty when the user gives up.
    QString GetScannedDocumentFilePath();

private:
    tarvex::TDBIniFile m_database;
    tarvex::TIniFile m_local;
    QString m_programDir;
};

} // namespace products
