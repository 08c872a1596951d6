#include "Warehouserestriction.h"

#include "DataSet.h"

namespace products {

bool SingleWarehouseRestrictionInForce(const TProductOptions& options)
{
    return options.OnlyLocalDefaultWarehouseProds && !options.DefWarehouseName.isEmpty();
}

bool SingleWarehouseRestrictionPasses(const TProductOptions& options, const QString& warehouseName)
{
    return !SingleWarehouseRestrictionInForce(options) || warehouseName == options.DefWarehouseName;
}

bool WarehouseCommandAllowed(TWarehouseCommand command, const TProductOptions& options, bool listHasRows,
                             const QString& currentName)
{
    switch (command) {
    case TWarehouseCommand::InventoryWarePrice:
    case TWarehouseCommand::InventoryStockPrice:
    case TWarehouseCommand::InventoryAttribute:
    case TWarehouseCommand::KepuWizard:
        return listHasRows && SingleWarehouseRestrictionPasses(options, currentName);
    case TWarehouseCommand::InventoryQuantities:
        // The menu's own commands check for rows when chosen.
        return !SingleWarehouseRestrictionInForce(options);
    case TWarehouseCommand::CurrentInventoryAll:
    case TWarehouseCommand::FromStockCardAll:
    case TWarehouseCommand::FromStockCardAllRetail:
    case TWarehouseCommand::FromStockCardOne:
    case TWarehouseCommand::TurnoverAll:
    case TWarehouseCommand::StocksOverview:
        return listHasRows;
    }
    return false;
}

bool WarehouseCommandAllowed(TWarehouseCommand command, const TProductOptions& options,
                             const tarvex::DataSet& warehouses)
{
    const bool hasRows = warehouses.isActive() && !warehouses.isEmpty();
    const QString name = hasRows ? warehouses.fieldByName(QStringLiteral("name")).asString() : QString();
    return WarehouseCommandAllowed(command, options, hasRows, name);
}

} // namespace products
