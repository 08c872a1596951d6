#pragma once
// Base of the list windows: a tool bar over the grid DBG, the window's
// actions, a pop-up menu with the column-visibility choice, and a double-click
// that derived windows turn into "open this record".

#include "DBGrid.h"

#include <QWidget>

class QMenu;
class QToolBar;

namespace tarvex {

class TCustomViewerForm : public QWidget {
    Q_OBJECT
public:
    explicit TCustomViewerForm(QWidget* parent = nullptr);

    DBGrid* DBG() const { return m_grid; }
    QToolBar* toolBar() const { return m_toolBar; }
    QMenu* popupMenu() const { return m_popup; }
    // The window's actions in tool-bar order (separators included).
    QList<QAction*> actionList() const { return m_actions; }
    QAction* columnsAction() const { return m_columns; }

    // Adds an action to the list, the tool bar and (when asked) the pop-up menu.
    QAction* addListAction(const QString& caption, const QString& hint, const QKeySequence& shortcut,
                           bool onToolBar = true, bool inPopup = true);
    void addListSeparator();

    // Lets the user tick which columns the grid shows.
    void ColumnsExecute();

protected:
    // The base double-click: nothing; derived windows open the record.
    virtual void DBGDblClick() {}

private:
    QToolBar* m_toolBar = nullptr;
    DBGrid* m_grid = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_columns = nullptr;
    QAction* m_popupSeparator = nullptr;
    QList<QAction*> m_actions;
};

} // namespace tarvex
