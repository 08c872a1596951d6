#pragma once
// The data-aware grid: shows a dataset through a DataSetModel, follows the
// dataset's cursor and moves it when the user picks a row (posting a pending
// edit first, as leaving a row does), and sorts by a column when its title is
// clicked once it is added to the grid sorter.

#include "DataSetModel.h"

#include <QSet>
#include <QTableView>

namespace tarvex {

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return m_model ? m_model->dataSet() : nullptr; }
    DataSetModel* dataModel() const { return m_model; }
    // In a picking list a double-click chooses the row; otherwise it edits the cell.
    void setPickingEdits(bool picking);
    // Shows or hides the column of a field (in this grid only).
    void setColumnVisible(const QString& fieldName, bool visible);
    bool isColumnVisible(const QString& fieldName) const;
    // Field names of the visible columns in their shown order.
    QStringList visibleColumns() const;
    // The field under a column title, after the user may have moved columns.
    Field* fieldOfSection(int logicalSection) const;

signals:
    void recordDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void followDataSet(int row);
    void applyHiddenColumns();
    void currentChangedByUser(const QModelIndex& current);

    DataSetModel* m_model = nullptr;
    bool m_following = false;
    QSet<QString> m_hidden;  // field names, lower case
};

// Clicking a column title of the grid sorts by that column, ascending first,
// then alternating.
namespace GridSorter {
void AddGrid(DBGrid* grid);
}

} // namespace tarvex
