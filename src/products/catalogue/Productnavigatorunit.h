#pragma once
// The search panel beside the product list: criteria, the category and
// warehouse pickers, and the search that fills the list.

#include "CustomNavigatorForm.h"

class QLabel;

namespace products {

class TProductNavigatorForm : public tarvex::TCustomNavigatorForm {
    Q_OBJECT
public:
    explicit TProductNavigatorForm(QWidget* parent = nullptr);

    bool SearchPropsSet = false;
    qint32 chosenWarehouseId() const { return m_warehouseId; }
    void setChosenWarehouseId(qint32 id) { m_warehouseId = id; }

    void SetSearchProps() override;
    // The console's panel: starts with the criteria of the last search made
    // in it (the state file's `section`) and notes every search's criteria
    // there. The picker's hidden panel does neither.
    void RememberCriteria(const QString& section);
    // Reads the found products on a worker's connection, the window
    // answering meanwhile; "Prekini" stops it and leaves the list as it was.
    void FindButtonClick() override;
    class TWorkerBar* SearchBar() const { return m_workerBar; }
    // What the last search left out, said below the criteria; empty when
    // every criterion counted.
    QLabel* StatusLabel() const { return m_status; }
    QString ParseSQL() override;

    // The pickers behind the category and warehouse buttons: the category
    // tree and the warehouse list (set by the module; the defaults use the
    // data module's connection).
    using CategoryPicker = std::function<bool(QString& paths)>;
    using WarehousePicker = std::function<bool(qint32& id, QString& name)>;
    void setPickers(CategoryPicker categories, WarehousePicker warehouses);

protected:
    void SearchVLEEditButtonClick(const QString& key) override;

private:
    void noteCriteria();

    qint32 m_warehouseId = 0;
    QString m_stateSection;
    CategoryPicker m_categories;
    WarehousePicker m_warehouses;
    class TWorkerBar* m_workerBar = nullptr;
    QLabel* m_status = nullptr;
    bool m_categoryIgnored = false;  // by the last ParseSQL
};

} // namespace products
