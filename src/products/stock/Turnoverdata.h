#pragma once
// The turnover of all warehouses: for each warehouse and product, the
// quantity before a period, the quantities received and issued within it,
// their difference and the quantity at its end, counted from the posted
// stock documents.

#include "Reportprogress.h"

#include <QSqlDatabase>
#include <QVariant>
#include <vector>

namespace tarvex {
class MemoryTable;
} // namespace tarvex

namespace products {

struct TTurnoverRequest {
    QString fromText;      // first day of the period, as typed ("yyyy-mm-dd")
    QString toText;        // last day, as typed
    QString warehouseName; // empty: every warehouse
    bool excludeServices = true;
};

// One row of the turnover: a product in a warehouse.
struct TTurnoverRow {
    qint64 productId = 0;
    qint64 warehouseId = 0;
    QVariant name;
    QVariant code;
    QVariant unitName;
    QVariant warehouseName;
    double previous = 0; // before the period
    double in = 0;       // received within it
    double out = 0;      // issued within it
};

// Fields of the result: productid and warehouseid (not shown), then name,
// code, unitname, the five quantities and warehousename.
void DefineTurnoverFields(tarvex::MemoryTable& table);

// Fills the open table afresh, by warehouse name and product name. Products
// without movement in the period and nothing left at its end (zero at six
// decimals) are left out, and so are lines of documents that name no
// existing warehouse. The date texts go to the database as typed (quoted).
// Throws DatabaseError.
void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request,
                  const TProgress& progress = {});
// The same in two halves: the rows, computed without touching a window
// (a worker's thread), then put into the table.
std::vector<TTurnoverRow> ComputeTurnover(QSqlDatabase db, const TTurnoverRequest& request,
                                          const TProgress& progress = {});
void ShowTurnover(tarvex::MemoryTable& table, const std::vector<TTurnoverRow>& rows);

} // namespace products
