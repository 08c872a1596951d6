#pragma once
// The data of price labels, offered by the module that keeps the products to
// the console's price-label wizard: the host reads no product table.

#include "Tarvexinterfaces.h"

#include <QList>
#include <QString>

namespace tarvex {

// One product as its shelf label shows it.
struct TPriceLabelDesc {
    qint64 productId = 0;
    QString name;
    QString code;
    QString barcode;
    double priceWithTax = 0;   // rounded to 2 decimals
    QString currency;
};

inline constexpr QUuid IID_IPriceLabelService{0x6E1B7D10, 0x2C41, 0x4F0B, 0x9A, 0x53, 0x41, 0x0C, 0x7E, 0x21, 0x0B, 0x04};

class IPriceLabelService : public IInterface {
public:
    // The listed products that exist, once each, in any order. The price is
    // the warehouse's price of the product when the warehouse has a row for
    // it, else the product's own price, with the product's VAT added.
    // Throws DatabaseError.
    virtual QList<TPriceLabelDesc> GetPriceLabels(const QList<qint64>& productIds, qint64 warehouseId) = 0; // 3

protected:
    ~IPriceLabelService() = default;
};

} // namespace tarvex
