#pragma once
// What the list windows that pick (PickingListWindow) share beyond their
// base: the two ways in (to pick a row, to administer the rows), the look-up
// by key, and the grid's columns.

#include "DBGrid.h"
#include "DataSetModel.h"
#include "Modal.h"
#include "QueryDataSet.h"

#include <QHeaderView>
#include <QStringList>
#include <memory>

namespace tarvex {

// Shows a new Window as a picker. True when the user confirmed a row: the
// window's data set then stands on it.
template <class Window>
bool pickIn()
{
    auto window = std::make_unique<Window>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setPicking(true);
    execModal(*window);
    return window->confirmed();
}

// Shows a new Window that administers its rows; it frees itself on close.
template <class Window>
void administerIn()
{
    auto* window = new Window;
    window->setPicking(false);
    execModal(*window);
}

// The picker's rows read afresh and the one of the key found, so that a row
// changed or hidden by a window's filter meanwhile is seen as it is now.
inline bool locateAfresh(QueryDataSet& rows, const QString& keyField, qint64 key)
{
    rows.close();
    rows.setFilter(QString());
    rows.setFiltered(false);
    rows.open();
    return rows.locate(keyField, key);
}

// The grid shows the rows' fields by name, with the fields' own titles, sorts
// by a click on a title, and stretches the last column to the edge.
inline void showSortableColumns(DBGrid* grid, DataSet& rows, const QStringList& fields)
{
    grid->setDataSet(&rows);
    // Before the columns are sized, so the titles leave room for the sort mark.
    GridSorter::AddGrid(grid);
    QList<DataSetModel::Column> columns;
    for (const QString& field : fields)
        columns << DataSetModel::Column{field, QString()};
    grid->dataModel()->setColumns(columns);
    grid->horizontalHeader()->setStretchLastSection(true);
}

} // namespace tarvex
