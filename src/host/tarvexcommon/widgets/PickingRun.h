#pragma once
// The two ways in to a list window that picks (PickingListWindow): to pick
// one of its rows, and to administer them.

#include "Modal.h"
#include "QueryDataSet.h"

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

} // namespace tarvex
