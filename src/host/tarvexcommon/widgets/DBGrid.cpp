#include "DBGrid.h"

#include "Dialogs.h"

#include <QHeaderView>
#include <QMouseEvent>

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
        followDataSet(this->dataSet()->currentRow());
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { currentChangedByUser(current); });
    followDataSet(dataSet->currentRow());
}

void DBGrid::followDataSet(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    m_following = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(m_model->index(row, qMax(0, column)));
    m_following = false;
}

void DBGrid::currentChangedByUser(const QModelIndex& current)
{
    DataSet* ds = dataSet();
    if (m_following || !ds || !current.isValid() || current.row() == ds->currentRow())
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

void DBGrid::setPickingEdits(bool picking)
{
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
        try {
            ds->checkBrowseMode();
            grid->dataModel()->sort(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
            grid->horizontalHeader()->setSortIndicator(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        } catch (const std::exception& e) {
            dialogs().showException(e);
        }
    });
}

} // namespace GridSorter

} // namespace tarvex
