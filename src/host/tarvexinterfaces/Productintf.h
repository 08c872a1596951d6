#pragma once
// The product module's services as other modules see them, and the records
// that carry products and warehouses across the module boundary.

#include "Tarvexinterfaces.h"

#include <QChar>
#include <QString>
#include <QVector>

namespace tarvex {

using TIntArray = QVector<qint32>;
using TDoubleArray = QVector<double>;

struct TProductDesc {
    QString name;
    QString inputPriceCurrency;
    QString priceCurrency;
    QString unitName;
    QString code;
    QString barcode;
    QString manufCode;
    QString taxName;
    double inputPrice = 0;
    double rebate = 0;
    double supplyPrice = 0;
    double price = 0;
    double planPrice = 0;
    double recommendedPrice = 0;
    double recommendedRebate = 0;
    double taxValue = 0;
    qint32 taxID = 0;
    qint32 productID = 0;
    QChar productType;
};
using TProductDescArr = QVector<TProductDesc>;

struct TWarehouseDesc {
    qint32 id = 0;
    QString name;
    QString code;
    QString currency;
    QChar priceType;
};

inline constexpr QUuid IID_IProductService{0x0C33E181, 0x9974, 0x44A7, 0x86, 0xFB, 0x42, 0x2B, 0x45, 0x4F, 0x6E, 0xD8};
inline constexpr QUuid IID_ITaxService{0xBBD30C79, 0xB1E1, 0x4D25, 0x96, 0x47, 0x06, 0x88, 0xB7, 0x08, 0xAC, 0x02};
inline constexpr QUuid IID_IWarehouseService{0xAB67CF11, 0x68E8, 0x4231, 0x95, 0xE5, 0x96, 0xD5, 0xA1, 0xD9, 0xF1, 0x73};
inline constexpr QUuid IID_ICategoryPrService{0xB5D10788, 0xCBBB, 0x49B0, 0xA5, 0xC9, 0x50, 0x1B, 0x4F, 0xAF, 0x7E, 0x43};

class IProductService : public IInterface {
public:
    virtual bool GetProduct(TProductDesc& desc) = 0;                                                   // 3
    virtual TProductDescArr GetProduct(const QString& value, bool byCode, bool byBarcode) = 0;         // 4
    virtual bool GetProduct(const QString& barcode, TProductDesc& desc) = 0;                           // 5
    virtual bool GetProduct(qint32 productID, qint32 warehouseID, TProductDesc& desc) = 0;             // 6
    virtual TProductDescArr GetProductAll(qint32 warehouseID, TDoubleArray& amounts) = 0;              // 7
    virtual double GetProductPrice(qint32 productID, qint32 warehouseID) = 0;                          // 8
    virtual double GetProductAmount(qint32 productID, qint32 warehouseID) = 0;                         // 9
    virtual QString GetProductCurrency(qint32 productID) = 0;                                          // 10
    virtual bool GetProductAttribute(const QString& barcode, TProductDesc& desc, qint32& productAttributeID) = 0; // 11
    virtual bool GetProduct(TProductDescArr& descs) = 0;                                               // 12
    virtual void OpenProduct(qint32 productID, qint32 warehouseID) = 0;                                // 13

protected:
    ~IProductService() = default;
};

class ITaxService : public IInterface {
public:
    virtual bool GetTax(qint32& taxID, QString& name, double& value, bool byID) = 0;  // 3

protected:
    ~ITaxService() = default;
};

class IWarehouseService : public IInterface {
public:
    virtual bool GetWarehouse(qint32& id, QString& name, bool byID) = 0;   // 3
    virtual bool GetWarehouse(TWarehouseDesc& desc, bool byID) = 0;        // 4

protected:
    ~IWarehouseService() = default;
};

class ICategoryPrService : public IInterface {
public:
    virtual bool GetCategoryPr(QString& paths, TIntArray& ids, bool oneOnly) = 0;   // 3
    virtual void GetCatPathsToIDs(const QString& paths, TIntArray& ids) = 0;        // 4

protected:
    ~ICategoryPrService() = default;
};

} // namespace tarvex
