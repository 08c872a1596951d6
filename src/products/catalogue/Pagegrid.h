#pragma once
// The grids on the product editor's pages (rebates, working operations,
// warehouses, attributes) look alike: rows 22 px high without row titles,
// the last column stretched, none narrower than the page asks. Their columns
// are declared by tarvex::declareColumns.

#include "DataSetModel.h"

#include <QList>
#include <QString>

class QWidget;

namespace tarvex {
class DBGrid;
class DataSet;
} // namespace tarvex

namespace products {

tarvex::DBGrid* newPageGrid(QWidget* parent, const QString& objectName, tarvex::DataSet& rows,
                            const QList<tarvex::DataSetModel::Column>& columns, int minimumWidth);

} // namespace products
