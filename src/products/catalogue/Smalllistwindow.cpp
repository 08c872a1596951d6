#include "Smalllistwindow.h"

#include "DBGrid.h"
#include "Productdmunit.h"
#include "Reportwindow.h"
#include "WheelToArrowFilter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

TSmallListWindow::TSmallListWindow(const QString& title, QWidget* parent) : tarvex::DialogWindow(parent)
{
    setWindowTitle(title);
    new tarvex::WheelToArrowFilter(this);
}

tarvex::DBGrid* TSmallListWindow::newGrid(tarvex::DataSet& rows, const QList<tarvex::DataSetModel::Column>& columns,
                                          const QString& stretched)
{
    m_grid = new tarvex::DBGrid(this);
    m_grid->setDataSet(&rows);
    // Before the columns are sized, so the titles leave room for the sort mark.
    if (!stretched.isEmpty())
        tarvex::GridSorter::AddGrid(m_grid);
    m_grid->dataModel()->setColumns(columns);
    m_grid->horizontalHeader()->setStretchLastSection(stretched.isEmpty());
    if (!stretched.isEmpty()) {
        TReportWindow::StretchColumn(m_grid, stretched);
        m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    }
    return m_grid;
}

QPushButton* TSmallListWindow::newButton(const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    return button;
}

void TSmallListWindow::layOut(QLayout* above, const QList<QWidget*>& left, const QList<QWidget*>& right, QSize size,
                              bool closeIsDefault)
{
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    if (closeIsDefault)
        m_close->setDefault(true);
    else
        m_close->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    for (QWidget* button : left)
        bottom->addWidget(button);
    bottom->addStretch();
    for (QWidget* button : right)
        bottom->addWidget(button);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    if (above)
        layout->addLayout(above);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(size);
    m_grid->setFocus();
}

TProductListWindow::TProductListWindow(const QString& title, QWidget* parent) : TSmallListWindow(title, parent)
{
    tarvex::QueryDataSet& product = *ProductDM->ProductZQ;
    if (product.isActive() && !product.isEmpty()) {
        m_productId = qint32(product.fieldByName(QStringLiteral("productid")).asLargeInt());
        m_productName = product.fieldByName(QStringLiteral("name")).asString();
    }
}

void TProductListWindow::layOut(QLayout* above, QSize size, bool closeIsDefault)
{
    m_print = newButton(QStringLiteral("Š&tampaj"));
    connect(m_print, &QPushButton::clicked, this, &TProductListWindow::PrintButtonClick);
    TSmallListWindow::layOut(above, {}, {m_print}, size, closeIsDefault);
}

void TProductListWindow::PrintButtonClick()
{
    TReportWindow::PrintThroughConsole(
        grid(), TReportWindow::PrintParameters(windowTitle() + QStringLiteral(" - ") + m_productName, GetPrintHeader()));
}

} // namespace products
