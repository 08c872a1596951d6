#pragma once
// The statements of the inventory lists read from the stock rows, each with
// its two exclusions (services, quantities that are 0 at three decimals),
// and the value totals of the list at warehouse prices. A list opens with
// both exclusions, as its boxes start ticked.

#include <QString>

namespace tarvex {
class DataSet;
}

namespace products {

// One warehouse (":IDWarehouse") at warehouse prices: productid, name, code,
// unitname, amount, price, pricevat, ProductValue, productvaluevat.
QString InventoryStatement(bool excludeServices, bool excludeZero);
// Every warehouse, summed per product: productid, name, code, unitname,
// sumamount. The zero exclusion drops single stock rows before summing, so
// a product whose warehouses cancel out stays with 0.
QString InventoryAllWarehousesStatement(bool excludeServices, bool excludeZero);
// One warehouse's variants: productattributeid, name, code, unitname,
// attname1, attvalue1, attname2, attvalue2, prodattbarcode, amount; a
// missing attribute is NULL.
QString InventoryAttributeStatement(bool excludeServices, bool excludeZero);

struct TInventoryTotals {
    double value = 0;
    double valueVat = 0;
};
// Sums ProductValue and productvaluevat over all rows (NULL adds 0) and
// goes back to the first row.
TInventoryTotals SumInventory(tarvex::DataSet& inventory);
// "Ukupna vrednost: 1.234,50  Ukupna vrednost sa PDV-om: 1.481,40"
QString InventoryTotalText(const TInventoryTotals& totals);

} // namespace products
