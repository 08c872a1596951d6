#pragma once
// The stock reports computed product by product (or row by row), with the
// statements of the reports' rules taken literally: the reference the
// set-based reports of the module must agree with.

#include "Inventoryquantityunit.h"
#include "Stocksoverviewdata.h"
#include "Turnoverallwarehousesunit.h"

namespace tarvex {
class DataSet;
class MemoryTable;
} // namespace tarvex

namespace products::reference {

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request);
void FillStocksOverview(tarvex::QueryDataSet& query, tarvex::MemoryTable& table,
                        const TStocksOverviewFilter& filter, const QDateTime& now);
void FillInventoryQuantities(QSqlDatabase db, const TQuantityScope& scope, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const QString& date);
double FillInventoryStockPrice(QSqlDatabase db, qint32 warehouseId, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const QString& date);

// Expects the same rows with the same values (numbers within 1e-9). With
// key fields the rows are matched by them, and the two tables' sequences of
// order fields must agree; without, row i meets row i.
void ExpectSameRows(tarvex::MemoryTable& fast, tarvex::MemoryTable& reference, const QStringList& keyFields = {},
                    const QStringList& orderFields = {});

} // namespace products::reference
