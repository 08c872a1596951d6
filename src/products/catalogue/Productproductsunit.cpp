#include "Productproductsunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Reportwindow.h"
#include "WheelToArrowFilter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

TProductProductsForm::TProductProductsForm(QWidget* parent) : tarvex::DialogWindow(parent)
{
    setWindowTitle(QStringLiteral("Proizvodi"));
    new tarvex::WheelToArrowFilter(this);
    tarvex::QueryDataSet& product = *ProductDM->ProductZQ;
    if (product.isActive() && !product.isEmpty()) {
        m_productId = qint32(product.fieldByName(QStringLiteral("productid")).asLargeInt());
        m_productName = product.fieldByName(QStringLiteral("name")).asString();
    }

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

    m_grid = new tarvex::DBGrid(this);
    m_grid->setObjectName(QStringLiteral("ProductProductsDBG"));
    m_grid->setDataSet(&rows);
    m_grid->dataModel()->setColumns(columns);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    TReportWindow::StretchColumn(m_grid, QStringLiteral("name"));
    tarvex::GridSorter::AddGrid(m_grid);
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TProductProductsForm::PrintButtonClick);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_print);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_navigator);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(740, 320);
    m_grid->setFocus();
}

QString TProductProductsForm::GetPrintHeader() const
{
    // These lists print under their title alone.
    return QString();
}

void TProductProductsForm::PrintButtonClick()
{
    TReportWindow::PrintThroughConsole(
        m_grid, TReportWindow::PrintParameters(windowTitle() + QStringLiteral(" - ") + m_productName, GetPrintHeader()));
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
