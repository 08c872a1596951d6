#include "DBGrid.h"

#include "DataSetErrors.h"
#include "Dialogs.h"
#include "Guarded.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>

namespace tarvex {

DBGrid::DBGrid(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setResizeContentsPrecision(200);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::DoubleClicked);
}

void DBGrid::setDataSet(DataSet* dataSet)
{
    delete m_model;
    m_model = new DataSetModel(dataSet, this);
    setModel(m_model);
    connect(dataSet, &DataSet::currentRowChanged, this, &DBGrid::followDataSet);
    connect(dataSet, &DataSet::stateChanged, this, [this] {
        if (this->dataSet() && !this->dataSet()->isEditing())
            m_editByTyping = false;
    });
    // A reset forgets hidden sections: hide them again.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyHiddenColumns();
        // Titles and values fit their columns (Qt looks at a bounded number of rows).
        if (m_model->rowCount() > 0 || m_model->columnCount() > 0)
            resizeColumnsToContents();
        // Sizing the columns loses a stretched last column: stretch it again.
        if (horizontalHeader()->stretchLastSection()) {
            horizontalHeader()->setStretchLastSection(false);
            horizontalHeader()->setStretchLastSection(true);
        }
        // Marks name rows of the old content.
        m_marked.clear();
        showSortOrder();
        followDataSet(this->dataSet()->currentRow());
    });
    // Marks follow the rows they name.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        for (int& row : m_marked)
            if (row >= first)
                row += last - first + 1;
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
        m_marked.removeIf([=](int row) { return row >= first && row <= last; });
        for (int& row : m_marked)
            if (row > last)
                row -= last - first + 1;
    });
    connect(m_model, &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int from, int, const QModelIndex&, int to) {
                // One row moves; `to` counts the rows before the move.
                const int at = to > from ? to - 1 : to;
                for (int& row : m_marked) {
                    if (row == from)
                        row = at;
                    else if (from < row && row <= at)
                        --row;
                    else if (at <= row && row < from)
                        ++row;
                }
            });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { currentChangedByUser(current); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DBGrid::markChanged);
    followDataSet(dataSet->currentRow());
}

void DBGrid::followDataSet(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    m_following = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    // Following the cursor moves the current row only; with marking on it
    // must not toggle the marks the user's clicks made.
    const auto command = m_multi ? QItemSelectionModel::NoUpdate
                                 : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(m_model->index(row, qMax(0, column)), command);
    m_following = false;
}

void DBGrid::showSortOrder()
{
    // The title's mark tells the order the rows are in, whoever sorted them.
    QHeaderView* header = horizontalHeader();
    const QString sorted = dataSet() ? dataSet()->sortedFields().trimmed() : QString();
    const QStringList words = sorted.section(QRegularExpression(QStringLiteral("[,;]")), 0, 0)
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int section = -1;
    if (!words.isEmpty() && m_model)
        if (Field* field = dataSet()->findField(words.first()))
            section = m_model->columnOf(field);
    const bool descending = words.size() > 1 && words.at(1).compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0;
    header->setSortIndicator(section, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void DBGrid::setMultiSelect(bool on)
{
    m_multi = on;
    m_marked.clear();
    setSelectionMode(on ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    clearSelection();
    if (!on && dataSet())
        followDataSet(dataSet()->currentRow());
}

void DBGrid::markChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (!m_multi)
        return;
    for (const QModelIndex& index : deselected.indexes())
        m_marked.removeAll(index.row());
    for (const QModelIndex& index : selected.indexes())
        if (!m_marked.contains(index.row()))
            m_marked << index.row();
}

void DBGrid::currentChangedByUser(const QModelIndex& current)
{
    DataSet* ds = dataSet();
    // While a row comes or goes the view moves its current index by itself;
    // the dataset's own cursor signal follows the change.
    if (m_following || m_model->changingRows() || !ds || !current.isValid() || current.row() == ds->currentRow())
        return;
    try {
        // Leaving a row posts its edit; a refused post keeps the user there.
        ds->checkBrowseMode();
        ds->setRecNo(current.row() + 1);
    } catch (const std::exception& e) {
        dialogs().showException(e);
        followDataSet(ds->currentRow());
    }
}

void DBGrid::startRowEdit()
{
    DataSet* ds = dataSet();
    if (!ds || !ds->isActive() || ds->isEditing() || ds->isReadOnly() || ds->isEmpty())
        return;
    guarded([this, ds] {
        ds->edit();
        m_editByTyping = true;
    });
}

void DBGrid::watchEditor(QWidget* editor)
{
    // Typing into the cell is editing the row.
    QList<QLineEdit*> lines = editor->findChildren<QLineEdit*>();
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        lines << line;
    for (QLineEdit* line : lines)
        connect(line, &QLineEdit::textEdited, this, &DBGrid::startRowEdit);
    QList<QComboBox*> combos = editor->findChildren<QComboBox*>();
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combos << combo;
    for (QComboBox* combo : combos)
        connect(combo, &QComboBox::activated, this, &DBGrid::startRowEdit);
}

bool DBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool wasEditing = state() == EditingState;
    if (!QTableView::edit(index, trigger, event))
        return false;
    if (!wasEditing && state() == EditingState) {
        if (QWidget* editor = indexWidget(index))
            watchEditor(editor);
        // The key that opened the cell is already in it.
        if (trigger == AnyKeyPressed)
            startRowEdit();
    }
    return true;
}

bool DBGrid::released(const QWidget* editor)
{
    // The view hides every editor it lets go, whether closed, or dropped by
    // a reset (a value whose change handlers reload the rows); an open cell
    // on a page not in view is not hidden itself.
    return !editor || editor->isHidden();
}

void DBGrid::commitData(QWidget* editor)
{
    // A commit the delegate queued (Enter in the cell) can come after the
    // cell was written and closed another way (a click on another cell, a
    // choice from a pick list): that editor is no longer this view's.
    if (released(editor))
        return;
    QTableView::commitData(editor);
}

void DBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The close that follows such a commit, or a commit whose value reset
    // the rows, is for an editor no longer ours.
    if (released(editor))
        return;
    QTableView::closeEditor(editor, hint);
    // Escape in a cell whose typing only opened the row leaves it unchanged.
    DataSet* ds = dataSet();
    if (hint == QAbstractItemDelegate::RevertModelCache && m_editByTyping && ds && ds->state() == DataSetState::Edit &&
        !ds->isModified())
        ds->cancel();
    if (!ds || !ds->isEditing())
        m_editByTyping = false;
}

bool DBGrid::commitEditor()
{
    if (state() != EditingState)
        return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor)
        return true;
    commitData(editor);
    if (m_model && m_model->lastEditRefused())
        return false;
    if (!released(editor))
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void DBGrid::discardEditor()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex()))
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::commitEditors(QWidget* root, const DataSet* only)
{
    bool refused = false;
    for (DBGrid* grid : root->findChildren<DBGrid*>())
        if (!only || grid->dataSet() == only)
            refused |= !grid->commitEditor();
    if (refused)
        Abort();
}

void DBGrid::discardEditors(QWidget* root, const DataSet* only)
{
    for (DBGrid* grid : root->findChildren<DBGrid*>())
        if (!only || grid->dataSet() == only)
            grid->discardEditor();
}

void DBGrid::runCellButton(const std::function<void()>& work)
{
    guarded([this, &work] {
        if (commitEditor())
            work();
    });
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // In a grid that edits, Enter ends the cell's entry; it is not the
    // window's default button (a picking list leaves it to the window).
    // (An open cell's delegate writes it on the same key.)
    if (enter && !m_picking && editTriggers() != NoEditTriggers && !(event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::setPickingEdits(bool picking)
{
    m_picking = picking;
    const auto triggers = QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    setEditTriggers(picking ? triggers : triggers | QAbstractItemView::DoubleClicked);
}

void DBGrid::setColumnVisible(const QString& fieldName, bool visible)
{
    if (visible)
        m_hidden.remove(fieldName.toLower());
    else
        m_hidden.insert(fieldName.toLower());
    applyHiddenColumns();
}

bool DBGrid::isColumnVisible(const QString& fieldName) const
{
    return !m_hidden.contains(fieldName.toLower());
}

void DBGrid::applyHiddenColumns()
{
    if (!m_model)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (const Field* field = m_model->fieldAt(c))
            horizontalHeader()->setSectionHidden(c, m_hidden.contains(field->fieldName().toLower()));
}

QStringList DBGrid::visibleColumns() const
{
    QStringList names;
    if (!m_model)
        return names;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        const int logical = horizontalHeader()->logicalIndex(visual);
        if (!horizontalHeader()->isSectionHidden(logical))
            if (const Field* field = m_model->fieldAt(logical))
                names << field->fieldName();
    }
    return names;
}

Field* DBGrid::fieldOfSection(int logicalSection) const
{
    return m_model ? m_model->fieldAt(logicalSection) : nullptr;
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double-click edits an editable cell of an editing grid; anywhere
    // else it is the window's "open this record".
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool edits = at.isValid() && (editTriggers() & QAbstractItemView::DoubleClicked) &&
                       (m_model->flags(at) & Qt::ItemIsEditable);
    if (edits) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    if (at.isValid())
        emit recordDoubleClicked();
}

namespace GridSorter {

void AddGrid(DBGrid* grid)
{
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    QObject::connect(header, &QHeaderView::sectionClicked, grid, [grid](int section) {
        DataSet* ds = grid->dataSet();
        const Field* field = grid->fieldOfSection(section);
        if (!ds || !field)
            return;
        const bool ascending = ds->sortedFields().compare(field->fieldName() + QStringLiteral(" ASC"),
                                                          Qt::CaseInsensitive) != 0;
        guarded([&] {
            ds->checkBrowseMode();
            grid->dataModel()->sort(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        });
    });
}

} // namespace GridSorter

} // namespace tarvex
