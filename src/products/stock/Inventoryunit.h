#pragma once
// The warehouse inventory at warehouse prices ("Zalihe magacina (magacinske
// cene)"): every product's quantity in one warehouse as the stock rows hold
// it, its warehouse price with and without VAT, the values, and the two value
// totals below the list.

#include "Inventorywindow.h"

class QLabel;

namespace tarvex {
class DataSet;
}

namespace products {

// The statement the list opens with: services and zero quantities left out.
extern const QString kInventoryDesignSql;
// The statement "&Prikaži" runs: each exclusion only when asked for.
QString InventoryStatement(bool excludeServices, bool excludeZero);

struct TInventoryTotals {
    double value = 0;
    double valueVat = 0;
};
// Sums ProductValue and productvaluevat over all rows (NULL adds 0) and
// goes back to the first row.
TInventoryTotals SumInventory(tarvex::DataSet& inventory);
// "Ukupna vrednost: 1,234.50  Ukupna vrednost sa PDV-om: 1,481.40"
QString InventoryTotalText(const TInventoryTotals& totals);

class TInventoryForm : public TInventoryWindow {
    Q_OBJECT
public:
    TInventoryForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    QLabel* TotalLabel() const { return m_total; }
    tarvex::DBGrid* InventoryDBG() const { return DBG(); }
    tarvex::QueryDataSet* InventoryZQ() const { return ZQ(); }
    // Opens the current row's product in the product editor.
    void InventoryDBGDblClick();

protected:
    QString designStatement() const override;
    QString runTimeStatement(bool excludeServices, bool excludeZero) const override;
    void listOpened() override;

private:
    QLabel* m_total = nullptr;
};

// Lists the warehouse's stock (modal).
void OpenWarehouseInventory(qint32 WarehouseID, const QString& WarehouseName);

} // namespace products
