#pragma once
// The product's cached lists (working operations, packaging, rebates): they
// are read for the product the editor shows and written only by its apply.
// Rows added before a new product has its id carry 0 there; the apply gives
// them the id first.

#include "QueryDataSet.h"

#include <functional>

namespace products {

// Reads the rows of the product (-1 for a new one, so the list starts
// empty) in the given client-side order, on the first row.
void OpenCachedList(tarvex::QueryDataSet& rows, qint64 productId, const QString& sortFields = QString());
// Gives rows still without a product the product's id, then writes the cache.
void ApplyCachedList(tarvex::QueryDataSet& rows, qint64 productId);

// While it lives, rows added to the list belong to the product the editor
// shows (0 while that product is new), after the data module's own defaults.
class NewRowsOfProduct {
public:
    explicit NewRowsOfProduct(tarvex::QueryDataSet& rows);
    ~NewRowsOfProduct();
    NewRowsOfProduct(const NewRowsOfProduct&) = delete;
    NewRowsOfProduct& operator=(const NewRowsOfProduct&) = delete;

private:
    tarvex::QueryDataSet& m_rows;
    std::function<void(tarvex::DataSet&)> m_previous;
};

void WorkingOperationApply(qint64 productId);
void OpenPackaging(qint64 productId);
void PackagingApply(qint64 productId);
void OpenRebate(qint64 productId);
void RebateApply(qint64 productId);

} // namespace products
