#pragma once
// The "Magacini" group of the product editor: the product's rows in the
// warehouses (only minimum, maximum and place are typed here), the total free
// quantity, the re-count of stored quantities from the posted documents, and
// placing the product into the default or another warehouse.

#include <QGroupBox>

class QAction;
class QLabel;
class QPushButton;

namespace tarvex {
class DataSet;
class QueryDataSet;
class DBGrid;
class DBNavigator;
} // namespace tarvex

namespace products {

class TProductWarehousesGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TProductWarehousesGroup(QWidget* parent = nullptr);

    tarvex::DBGrid* WarehouseDBG() const { return m_grid; }
    tarvex::DBNavigator* WarehouseNavigator() const { return m_navigator; }
    QLabel* TotalLabel() const { return m_total; }
    QPushButton* WareHistoryButton() const { return m_wareHistory; }
    QPushButton* StockButton() const { return m_stock; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* PriceLabelsButton() const { return m_priceLabels; }
    QAction* KasaAddDefaultProductWarehouse() const { return m_addDefault; }
    QAction* KasaAddOtherProductWarehouse() const { return m_addOther; }
    class TWorkerBar* RecountBar() const { return m_workerBar; }

    // (Re)loads the rows of the current product, re-counts them from the
    // documents when the option asks for it, and shows the total. The
    // documents are counted on a worker, the window answering meanwhile;
    // "Prekini" stops the count and leaves the amounts as stored.
    void OpenWarehouses();
    void KasaAddDefaultProductWarehouseExecute();
    void KasaAddOtherProductWarehouseExecute();
    // The ware-history and stock cards of the product, owned by the editor.
    void WareHistoryButtonClick();
    void StockButtonClick();

    // A row is marked when its minimum (null reads as 0) reaches its amount.
    static bool belowMinimum(const tarvex::DataSet& rows, int row);

private:
    void setRowsSql(tarvex::QueryDataSet& pw, qint64 productId) const;
    // False when the count was stopped.
    bool recount(qint64 productId);
    void showTotal();
    void addToWarehouse(qint64 warehouseId);

    tarvex::DBGrid* m_grid = nullptr;
    tarvex::DBNavigator* m_navigator = nullptr;
    QLabel* m_total = nullptr;
    QPushButton* m_wareHistory = nullptr;
    QPushButton* m_stock = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_priceLabels = nullptr;
    QAction* m_addDefault = nullptr;
    QAction* m_addOther = nullptr;
    class TWorkerBar* m_workerBar = nullptr;
};

} // namespace products
