#include "Productproductsunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Modal.h"
#include "Productdmunit.h"

#include <QHBoxLayout>

namespace products {

TProductProductsForm::TProductProductsForm(QWidget* parent) : TProductListWindow(QStringLiteral("Proizvodi"), parent)
{
    tarvex::QueryDataSet& rows = *ProductDM->ProductProductsZQ;
    struct Column {
        const char* field;
        const char* caption;
    };
    QList<tarvex::DataSetModel::Column> columns;
    for (const Column& column : {Column{"name", "Proizvod"}, Column{"code", "Kod"}, Column{"barcode", "Barkod"},
                                 Column{"manufcode", "Kod proizvođača"}, Column{"quantity", "Količina"}}) {
        rows.declareField(QString::fromUtf8(column.field)).setDisplayLabel(QString::fromUtf8(column.caption));
        columns.append({QString::fromUtf8(column.field), QString()});
    }
    rows.declareField(QStringLiteral("quantity")).setDisplayFormat(QStringLiteral("0.######"));

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setVisibleButtons(tarvex::DBNavigator::First | tarvex::DBNavigator::Prior | tarvex::DBNavigator::Next |
                                   tarvex::DBNavigator::Last);
    m_navigator->setDataSet(&rows);

    tarvex::DBGrid* grid = newGrid(rows, columns, QStringLiteral("name"));
    grid->setObjectName(QStringLiteral("ProductProductsDBG"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    layOut(top, QSize(740, 320), true);
}

void ProductProductsManage(qint32 ProductID, QWidget* owner)
{
    tarvex::QueryDataSet& rows = *ProductDM->ProductProductsZQ;
    if (rows.isActive())
        rows.close();
    rows.setParam(QStringLiteral("productid"), ProductID);
    rows.open();
    auto* form = new TProductProductsForm(owner);
    tarvex::execModal(*form);
}

} // namespace products
