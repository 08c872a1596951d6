#pragma once
// What the stock lists share: zero as they show a quantity, their number
// formats, and the product and quantity columns they are made of.

#include "DisplayFormat.h"

#include <QString>

namespace tarvex {
class DataSet;
class MemoryTable;
} // namespace tarvex

namespace products {

// A quantity and an amount of money as the stock lists show them.
inline const QString kStockQuantityFormat = tarvex::QUANTITY_FORMAT;
inline const QString kMoneyFormat = tarvex::AMOUNT_FORMAT;

// Zero at the six decimals a quantity is shown with: sums of kg and m
// quantities that cancel out leave a remainder of about 1e-15.
bool IsZeroQuantity(double value);

// A number field shown with its display format.
void AddNumberField(tarvex::MemoryTable& table, const QString& name, const QString& label, const QString& format);

// The fields name ("Proizvod"), code ("Kod", codeSize characters) and
// unitname ("JM"), in that order.
void AddProductTextFields(tarvex::MemoryTable& table, int codeSize = 15);

// The fields amountin ("Kol. ulaz"), amountout ("Kol. izlaz") and
// amountbalance ("Kol. stanje"), as quantities, in that order.
void AddQuantityInOutFields(tarvex::MemoryTable& table);

// Those three fields of the table's edited row set from the product list's
// current row.
void CopyProductTextFields(const tarvex::DataSet& products, tarvex::MemoryTable& table);

} // namespace products
