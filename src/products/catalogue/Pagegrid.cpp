#include "Pagegrid.h"

#include "DBGrid.h"
#include "DataSet.h"

#include <QHeaderView>

namespace products {

tarvex::DBGrid* newPageGrid(QWidget* parent, const QString& objectName, tarvex::DataSet& rows,
                            const QList<tarvex::DataSetModel::Column>& columns, int minimumWidth)
{
    auto* grid = new tarvex::DBGrid(parent);
    grid->setObjectName(objectName);
    grid->setDataSet(&rows);
    grid->dataModel()->setColumns(columns);
    grid->horizontalHeader()->setMinimumSectionSize(minimumWidth);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->verticalHeader()->hide();
    return grid;
}

} // namespace products
