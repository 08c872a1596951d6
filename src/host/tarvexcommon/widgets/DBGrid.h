#pragma once
// The data-aware grid: shows a dataset through a DataSetModel, follows the
// dataset's cursor and moves it when the user picks a row (posting a pending
// edit first, as leaving a row does), and sorts by a column when its title is
// clicked once it is added to the grid sorter. Typing into a cell puts the
// dataset into edit state at once, so the navigator offers post and cancel
// while the cell is still open; post and apply commit the open cell first.

#include "DataSetModel.h"

#include <QSet>
#include <QTableView>
#include <functional>

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
    // Rows are marked by clicking them (a click on a marked row unmarks it).
    void setMultiSelect(bool on);
    // Marked rows (0-based) in the order the user marked them.
    QList<int> markedRows() const { return m_marked; }
    // Writes the text of an open cell into its field. False (the message
    // shown, the cell left open) when the field refused it.
    bool commitEditor();
    // Closes an open cell without writing its text.
    void discardEditor();
    // Every grid under the widget: commitEditor (throws a silent abort when
    // one refused) or discardEditor; only grids on the dataset when given.
    static void commitEditors(QWidget* root, const DataSet* only = nullptr);
    static void discardEditors(QWidget* root, const DataSet* only = nullptr);
    using QTableView::edit;
    // Runs the work of a button inside a cell editor: the cell is written and
    // closed first, so the work (a modal window, say) never outlives the
    // editor it was started from. Errors go to the host's handling.
    void runCellButton(const std::function<void()>& work);
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
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void followDataSet(int row);
    void showSortOrder();
    void startRowEdit();
    void watchEditor(QWidget* editor);
    void markChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void applyHiddenColumns();
    // An editor the view has let go (or none).
    static bool released(const QWidget* editor);
    void currentChangedByUser(const QModelIndex& current);

    DataSetModel* m_model = nullptr;
    bool m_following = false;
    bool m_picking = false;
    bool m_multi = false;
    // The dataset went into edit state because the user typed into a cell.
    bool m_editByTyping = false;
    QList<int> m_marked;
    QSet<QString> m_hidden;  // field names, lower case
};

// Clicking a column title of the grid sorts by that column, ascending first,
// then alternating.
namespace GridSorter {
void AddGrid(DBGrid* grid);
}

} // namespace tarvex
