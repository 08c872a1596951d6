#pragma once
// The product service as another module sees it: its picker answers with a
// scripted product (or is cancelled), and the products it is asked to open
// are recorded. Everything else finds nothing.

#include "Productintf.h"
#include "Tarvexinterfaces.h"

#include <QList>
#include <QPair>
#include <optional>

namespace tarvex::test {

class RecordingProductService final : public ComObject<IProductService, IID_IProductService> {
public:
    bool GetProduct(TProductDesc& desc) override
    {
        ++picks;
        if (answer)
            desc = *answer;
        return bool(answer);
    }
    TProductDescArr GetProduct(const QString&, bool, bool) override { return {}; }
    bool GetProduct(const QString&, TProductDesc&) override { return false; }
    bool GetProduct(qint32, qint32, TProductDesc&) override { return false; }
    TProductDescArr GetProductAll(qint32, TDoubleArray&) override { return {}; }
    double GetProductPrice(qint32, qint32) override { return 0; }
    double GetProductAmount(qint32, qint32) override { return 0; }
    QString GetProductCurrency(qint32) override { return {}; }
    bool GetProductAttribute(const QString&, TProductDesc&, qint32&) override { return false; }
    bool GetProduct(TProductDescArr&) override { return false; }
    void OpenProduct(qint32 productID, qint32 warehouseID) override { opened.append({productID, warehouseID}); }

    // The product the user picks next; reset the answer for a cancel.
    void pick(qint32 productId)
    {
        answer = TProductDesc{};
        answer->productID = productId;
    }

    std::optional<TProductDesc> answer;
    int picks = 0;
    QList<QPair<qint32, qint32>> opened;
};

} // namespace tarvex::test
