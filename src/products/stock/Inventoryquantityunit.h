#pragma once
// The inventory quantities from the stock cards ("Zalihe (količine sa robnih
// kartica)"): for one warehouse, for all retail warehouses together or for
// all warehouses together, every product's quantity received, issued and on
// hand at the end of a date. From the list shown it writes the stock report
// for the health insurance fund (RFZO).

#include "Inventoryquantitydata.h"
#include "Stockcardwindow.h"

namespace products {

class TInventoryQuantityForm : public TStockCardWindow {
    Q_OBJECT
public:
    TInventoryQuantityForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    const TQuantityScope& scope() const { return m_scope; }
    QPushButton* ExportButton() const { return m_export; }
    tarvex::DBGrid* InventoryQuantityDBG() const { return DBG(); }
    tarvex::MemoryTable* InventoryStockQuantityCDS() const { return CDS(); }

    // Works out the scope and reads the products to list.
    void OpenList() override;
    void FindButtonClick() override;
    // Asks for the categories and the file, then writes the RFZO report of
    // the list as last shown.
    void ExportButtonClick();
    // The report text of the listed products linked to the categories (a
    // comma-separated identifier list).
    QString GetRFZO(const QString& partner, const QString& date, const QString& categories) const;

private:
    TQuantityScope m_scope;
    QPushButton* m_export = nullptr;
};

// Lists the quantities (modal). WarehouseID 0 with an empty name: all
// warehouses; -1 with an empty name: all retail warehouses.
void OpenInventoryQuantity(qint32 WarehouseID, const QString& WarehouseName);

} // namespace products
