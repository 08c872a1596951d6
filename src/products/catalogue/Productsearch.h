#pragma once
// The product search: the search panel's filled criteria turned into the
// product list's statement, and the warehouse whose prices and quantities
// the list shows. No window is needed to build it.

#include <QMap>
#include <QString>
#include <QVariant>

namespace tarvex {
class QueryDataSet;
}

namespace products {

class TProductDM;

struct ProductSearchResult {
    // The statement with ":name" parameters; the typed values in `params`,
    // bound when it runs, never written into its text.
    QString sql;
    QMap<QString, QVariant> params;
    qint32 shownWarehouseId = 0;
    // Captions of the warehouse columns for the shown warehouse.
    QString amountCaption;
    QString priceCaption;
    QString priceWithVatCaption;
    // A category criterion that named no category: left out, which the
    // search panel tells the user.
    bool categoryIgnored = false;
};

class ProductSearch {
public:
    explicit ProductSearch(TProductDM& dm) : m_dm(dm) {}

    // criteria: value by key (name, code, barcode, foreignname, type, active,
    // category, warehouse, vat, manufname, manufcode, characteristics,
    // general). chosenWarehouseId: the warehouse the picker chose; the search
    // may set it (0 = none).
    ProductSearchResult parse(const QMap<QString, QString>& criteria, qint32& chosenWarehouseId) const;

    // The LIKE pattern of a typed beginning (value + "%").
    static QString prefix(const QString& value);

private:
    TProductDM& m_dm;
};

// Puts the shown warehouse's captions on the product list's columns.
void applyWarehouseCaptions(TProductDM& dm, const ProductSearchResult& result);
// Gives the list the search's statement and values (the list stays closed).
void applySearch(tarvex::QueryDataSet& list, const ProductSearchResult& result);

} // namespace products
