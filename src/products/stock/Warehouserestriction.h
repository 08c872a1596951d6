#pragma once
// When the warehouse window's report commands may run. A workstation can be
// limited to its own default warehouse (the single-warehouse restriction);
// and every command needs a warehouse list with at least one row.

#include "Productoptions.h"

#include <QString>

namespace tarvex {
class DataSet;
}

namespace products {

enum class TWarehouseCommand {
    InventoryWarePrice,     // "&Lager (magac. cene)"
    InventoryStockPrice,    // "L&ager (cene sa robnih kart.)"
    InventoryAttribute,     // "Lager (&atributi)"
    InventoryQuantities,    // "La&ger (količine)": opens the quantities menu
    CurrentInventoryAll,    // menu "Trenutni lager (svi magacini)"
    FromStockCardAll,       // menu "Sa robnih kart. (svi magacini)"
    FromStockCardAllRetail, // menu "Sa robnih kart. (svi MP magacini)"
    FromStockCardOne,       // menu "Sa robnih kart. (izabrani magacin)"
    TurnoverAll,            // "&Promet"
    StocksOverview,         // "Stanje zaliha"
    KepuWizard,             // "KEP/PK-1"
};

// In force when OnlyLocalDefaultWarehouseProds is on and DefWarehouseName is
// not empty.
bool SingleWarehouseRestrictionInForce(const TProductOptions& options);
// Not in force, or the warehouse is the one named DefWarehouseName (exactly).
bool SingleWarehouseRestrictionPasses(const TProductOptions& options, const QString& warehouseName);

// Whether the command runs, given whether the list has rows and the name of
// its current row.
bool WarehouseCommandAllowed(TWarehouseCommand command, const TProductOptions& options, bool listHasRows,
                             const QString& currentName);
// The same for a warehouse dataset and its current row.
bool WarehouseCommandAllowed(TWarehouseCommand command, const TProductOptions& options,
                             const tarvex::DataSet& warehouses);

} // namespace products
