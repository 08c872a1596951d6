#pragma once
// The inventory quantities from the stock cards ("Zalihe (količine sa robnih
// kartica)"): for one warehouse, for all retail warehouses together or for
// all warehouses together, every product's quantity received, issued and on
// hand at the end of a date. From the list shown it writes the stock report
// for the health insurance fund (RFZO).

#include "Reportprogress.h"
#include "Stockcardwindow.h"

#include <QHash>

#include <QSqlDatabase>

namespace tarvex {
class DataSet;
}

namespace products {

// Which stock cards the report reads.
struct TQuantityScope {
    // Above 0 one warehouse, 0 all warehouses, below 0 all retail warehouses.
    qint32 warehouseId = 0;
    // The retail warehouses' identifiers joined with ",", "0" when there are
    // none; empty unless warehouseId is below 0.
    QString warehouseIds;
};

// The scope of a warehouse identifier; the retail case reads the
// warehouses whose price type is 'm', in the order the database gives them.
TQuantityScope QuantityScope(QSqlDatabase db, qint32 warehouseId);
// Sets the statement of the products to list (name, code, unitname,
// amount, productid) by name, and its values.
void SetInventoryQuantityList(tarvex::QueryDataSet& list, const TQuantityScope& scope);

struct TStockQuantities {
    double amountIn = 0;
    double amountOut = 0;
};
// A product's received and issued stock-card quantities up to and including
// the date (used as typed); both 0 unless one of them is not 0 at six
// decimals.
TStockQuantities CalculateQuantities(QSqlDatabase db, const TQuantityScope& scope, qint64 productId,
                                     const QString& date);

// The same for every product with stock-card entries in the scope, in one
// pass; products missing from it have both quantities 0.
QHash<qint64, TStockQuantities> CalculateAllQuantities(QSqlDatabase db, const TQuantityScope& scope,
                                                       const QString& date);

// Fields of the table: name, code, unitname, amountin, amountout,
// amountbalance, productid (not shown).
void DefineInventoryQuantityFields(tarvex::MemoryTable& table);
// Empties the open table and appends every product of the list whose
// balance is not 0 at six decimals, then goes to the first row. A failure
// throws and keeps the rows appended so far.
void FillInventoryQuantities(QSqlDatabase db, const TQuantityScope& scope, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const QString& date, const TProgress& progress = {});
// The second half of the above, on cards read before (by a worker).
void ShowInventoryQuantities(const QHash<qint64, TStockQuantities>& cards, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const TProgress& progress = {});

class TInventoryQuantityForm : public TStockCardWindow {
    Q_OBJECT
public:
    TInventoryQuantityForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent = nullptr);

    const TQuantityScope& scope() const { return m_scope; }
    QPushButton* ExportButton() const { return m_export; }
    tarvex::DBGrid* InventoryQuantityDBG() const { return DBG(); }
    tarvex::MemoryTable* InventoryStockQuantityCDS() const { return CDS(); }

    // Works out the scope and reads the products to list.
    void OpenList();
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
