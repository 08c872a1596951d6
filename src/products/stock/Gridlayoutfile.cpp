#include "Gridlayoutfile.h"

#include "DBGrid.h"
#include "Error.h"

#include "RememberedState.h"

#include <QHeaderView>
#include <algorithm>

namespace products {

namespace {
const QString LAYOUT_SAVE_ERR = QStringLiteral("Raspored kolona nije sačuvan u datoteku \"%1\".");
}

TGridLayout TGridLayout::capture(const tarvex::DBGrid& grid)
{
    TGridLayout layout;
    const QHeaderView* header = grid.horizontalHeader();
    for (int logical = 0; logical < header->count(); ++logical) {
        const tarvex::Field* field = grid.fieldOfSection(logical);
        if (!field)
            continue;
        layout.m_columns << Column{field->fieldName(), header->visualIndex(logical), header->sectionSize(logical),
                                   grid.isColumnVisible(field->fieldName())};
    }
    return layout;
}

void TGridLayout::apply(tarvex::DBGrid& grid) const
{
    QHeaderView* header = grid.horizontalHeader();
    QList<Column> ordered = m_columns;
    std::sort(ordered.begin(), ordered.end(), [](const Column& a, const Column& b) { return a.place < b.place; });
    const tarvex::DataSetModel* model = grid.dataModel();
    int place = 0;
    for (const Column& column : ordered) {
        const int logical = model ? model->columnOf(model->dataSet()->findField(column.field)) : -1;
        if (logical < 0 || logical >= header->count())
            continue;
        // Placed in the layout's order, so later moves keep earlier places.
        header->moveSection(header->visualIndex(logical), qMin(place++, header->count() - 1));
        if (column.width > 0)
            header->resizeSection(logical, column.width);
        grid.setColumnVisible(column.field, column.visible);
    }
}

bool TGridLayout::load(const tarvex::RememberedState& state)
{
    m_columns.clear();
    QList<Column> columns;
    for (const QString& field : state.keys()) {
        const QStringList parts = state.text(field).split(QLatin1Char(';'));
        bool placeOk = false;
        bool widthOk = false;
        Column column;
        column.field = field;
        if (parts.size() == 3) {
            column.place = parts[0].toInt(&placeOk);
            column.width = parts[1].toInt(&widthOk);
        }
        const QString visible = parts.value(2).trimmed();
        if (!placeOk || !widthOk || column.place < 0 || column.width < 0 ||
            (visible != QLatin1String("1") && visible != QLatin1String("0")))
            return false;
        column.visible = visible == QLatin1String("1");
        columns << column;
    }
    m_columns = columns;
    return !m_columns.isEmpty();
}

void TGridLayout::save(tarvex::RememberedState& state) const
{
    QList<QPair<QString, QString>> entries;
    for (const Column& column : m_columns)
        entries << qMakePair(column.field, QStringLiteral("%1;%2;%3").arg(column.place).arg(column.width).arg(column.visible ? 1 : 0));
    if (!state.replaceAll(entries))
        throw tarvex::TarvexError(tarvex::ErrorKind::File, LAYOUT_SAVE_ERR.arg(state.fileName()),
                                  QStringLiteral("The state file cannot be written"));
}

TGridLayoutKeeper::TGridLayoutKeeper(tarvex::DBGrid* grid) : QObject(grid), m_grid(grid)
{
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, &TGridLayoutKeeper::columnResized);
    connect(grid->dataModel(), &QAbstractItemModel::modelAboutToBeReset, this, &TGridLayoutKeeper::refillStarts);
    // Connected after the grid's own handler: runs once it has fitted the columns.
    connect(grid->dataModel(), &QAbstractItemModel::modelReset, this, &TGridLayoutKeeper::refillEnded);
}

void TGridLayoutKeeper::columnResized(int logical)
{
    const tarvex::Field* field = m_grid->fieldOfSection(logical);
    // Hiding a column sizes it to 0; that is no width to keep.
    if (!m_refilling && field && !m_grid->horizontalHeader()->isSectionHidden(logical))
        m_sized.insert(field->fieldName());
}

void TGridLayoutKeeper::refillStarts()
{
    m_before = TGridLayout::capture(*m_grid);
    m_refilling = true;
}

void TGridLayoutKeeper::refillEnded()
{
    for (TGridLayout::Column& column : m_before.m_columns)
        if (!m_sized.contains(column.field))
            column.width = 0;
    m_before.apply(*m_grid);
    m_refilling = false;
}

} // namespace products
