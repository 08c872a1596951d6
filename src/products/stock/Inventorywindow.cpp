#include "Inventorywindow.h"

#include "DBGrid.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "QueryDataSet.h"
#include "Workerbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace products {

TInventoryWindow::TInventoryWindow(const QString& caption, qint32 warehouseId, const QString& warehouseName,
                                   QWidget* parent)
    : TListReportWindow(caption, warehouseName, parent), m_warehouseId(warehouseId)
{
    m_query = new tarvex::QueryDataSet(this);
    m_query->setConnection(ProductDM->ZConnection());
    m_query->setReadOnly(true);
    m_query->setParam(QStringLiteral("IDWarehouse"), warehouseId);

    m_excludeZero = new QCheckBox(QStringLiteral("Isključi proizvode sa nultom količinom"), this);
    m_excludeZero->setChecked(true);
    m_excludeServices = new QCheckBox(QStringLiteral("Isključi usluge iz zaliha magacina"), this);
    m_excludeServices->setChecked(true);
    auto* choices = new QHBoxLayout;
    choices->addWidget(m_excludeZero);
    choices->addSpacing(12);
    choices->addWidget(m_excludeServices);
    buildFrame(choices, false);
    DBG()->setDataSet(m_query);
    tarvex::GridSorter::AddGrid(DBG());
    bottomRow()->insertWidget(0, newWorkerBar({FindButton(), PrintButton(), m_excludeZero, m_excludeServices}));
}

void TInventoryWindow::setColumns(const QList<tarvex::DeclaredColumn>& columns)
{
    DBG()->dataModel()->setColumns(tarvex::declareColumns(*m_query, columns));
    StretchColumn(DBG(), QStringLiteral("name"));
}

void TInventoryWindow::opensRowProduct()
{
    connect(DBG(), &tarvex::DBGrid::recordDoubleClicked, this, [this] {
        OpenProduct(m_query->isActive() ? m_query->fieldByName(QStringLiteral("productid")).asLargeInt() : 0);
    });
}

void TInventoryWindow::OpenList()
{
    openWith(statement(true, true));
}

void TInventoryWindow::FindButtonClick()
{
    openWith(statement(m_excludeServices->isChecked(), m_excludeZero->isChecked()));
}

void TInventoryWindow::openWith(const QString& sql)
{
    tarvex::guarded([&] {
        if (!WorkerBar()->openList(*m_query, sql, QStringLiteral("Zalihe")))
            return;
        TControlsOff off(*m_query);
        m_query->first();
        listOpened();
    });
}

QString TInventoryWindow::GetPrintHeader() const
{
    return TodayPrintHeader();
}

} // namespace products
