#pragma once
// The grids on the product editor's pages (rebates, working operations,
// warehouses, attributes) look alike: rows 22 px high without row titles,
// the last column stretched, none narrower than the page asks.

#include "DataSetModel.h"

#include <QList>

class QWidget;

namespace tarvex {
class DBGrid;
class DataSet;
} // namespace tarvex

namespace products {

// A column of a page's grid, declared on its data set with its title and
// display format (none: the field's own); typed in unless read-only.
struct PageColumn {
    const char* field;
    const char* caption;
    const char* format = nullptr;
    bool readOnly = false;
};

QList<tarvex::DataSetModel::Column> declarePageColumns(tarvex::DataSet& rows, const QList<PageColumn>& columns);

tarvex::DBGrid* newPageGrid(QWidget* parent, const QString& objectName, tarvex::DataSet& rows,
                            const QList<tarvex::DataSetModel::Column>& columns, int minimumWidth);

} // namespace products
