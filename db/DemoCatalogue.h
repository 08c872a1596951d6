#pragma once
// The product catalogue of the demo shop: products with Serbian names,
// unique codes and EAN-13 barcodes, prices, details and category links, and
// the warehouses each product is kept in. The stock rows themselves are
// written after the documents, from the stock the documents left.

#include "DemoModel.h"
#include "DemoRandom.h"
#include "DemoReference.h"
#include "DemoSql.h"

#include <QSet>
#include <QString>

namespace tarvex::demo {

class DemoCatalogue {
public:
    DemoCatalogue(DemoWriter& writer, DemoModel& model, const DemoReference& reference, quint32 seed);

    // Writes `count` products with their details and category links and
    // decides where each is kept.
    void writeProducts(int count);

    // Writes productwarehouse from the stock every slot holds now.
    void writeStockRows();

    // The EAN-13 check digit of twelve digits.
    static int ean13CheckDigit(const QString& twelveDigits);

private:
    struct Leaf {
        int top;
        int leaf;
        const LeafSpec* spec;
    };

    struct Naming {
        QString name;
        QString brand;
        QString model; // empty unless the leaf numbers its models
    };

    Leaf pickLeaf(int productIndex);
    Naming productName(const LeafSpec& leaf, qint64 id);
    QString barcode(char type, const CountrySpec& country, int productIndex) const;
    qint64 targetOf(const LeafSpec& leaf, qint64 priceCents);
    void keepInWarehouses(int productIndex, qint64 targetMilli);
    void writeDetail(DemoInsert& details, const DemoProduct& product, const Leaf& leaf, const CountrySpec& country,
                     const QString& model);

    DemoWriter& m_writer;
    DemoModel& m_model;
    const DemoReference& m_reference;
    DemoRandom m_random;
    DemoRandom m_stockRandom;
    std::vector<Leaf> m_leaves;
    std::vector<int> m_leafWeights;
    QSet<QString> m_names;
    qint64 m_barcodeOffset = 0;
};

} // namespace tarvex::demo
