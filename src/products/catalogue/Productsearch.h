#pragma once
// The product search: the search panel's filled criteria turned into the
// product list's statement, and the warehouse whose prices and quantities
// the list shows. No window is needed to build it.

#include <QMap>
#include <QString>

namespace products {

class TProductDM;

struct ProductSearchResult {
    QString sql;
    qint32 shownWarehouseId = 0;
    // Captions of the warehouse columns for the shown warehouse.
    QString amountCaption;
    QString priceCaption;
    QString priceWithVatCaption;
};

class ProductSearch {
public:
    explicit ProductSearch(TProductDM& dm) : m_dm(dm) {}

    // criteria: value by key (name, code, barcode, foreignname, type, active,
    // category, warehouse, vat, manufname, manufcode, characteristics,
    // general). chosenWarehouseId: the warehouse the picker chose; the search
    // may set it (0 = none).
    ProductSearchResult parse(const QMap<QString, QString>& criteria, qint32& chosenWarehouseId) const;

    // Quoted texts for LIKE (value + "%") and equality.
    static QString prefix(const QString& value);
    static QString quoted(const QString& value);

private:
    TProductDM& m_dm;
};

// Puts the shown warehouse's captions on the product list's columns.
void applyWarehouseCaptions(TProductDM& dm, const ProductSearchResult& result);

} // namespace products
