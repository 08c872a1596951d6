#include "Pagegrid.h"

#include "DBGrid.h"
#include "DataSet.h"

#include <QHeaderView>

namespace products {

QList<tarvex::DataSetModel::Column> declarePageColumns(tarvex::DataSet& rows, const QList<PageColumn>& columns)
{
    QList<tarvex::DataSetModel::Column> shown;
    for (const PageColumn& column : columns) {
        tarvex::Field& field = rows.declareField(QString::fromUtf8(column.field));
        field.setDisplayLabel(QString::fromUtf8(column.caption));
        if (column.format)
            field.setDisplayFormat(QString::fromUtf8(column.format));
        field.setReadOnly(column.readOnly);
        shown.append({field.fieldName(), QString()});
    }
    return shown;
}

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
