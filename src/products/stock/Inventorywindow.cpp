#include "Inventorywindow.h"

#include "BusyCursor.h"
#include "DBGrid.h"
#include "Guarded.h"
#include "Productdmunit.h"
#include "QueryDataSet.h"

#include <QCheckBox>
#include <QHBoxLayout>

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
}

void TInventoryWindow::setColumns(const QList<Column>& columns)
{
    QList<tarvex::DataSetModel::Column> shown;
    for (const Column& column : columns) {
        tarvex::Field& field = m_query->declareField(QString::fromLatin1(column.field));
        field.setDisplayLabel(QString::fromUtf8(column.label));
        if (column.format)
            field.setDisplayFormat(QString::fromLatin1(column.format));
        shown << tarvex::DataSetModel::Column{field.fieldName(), QString()};
    }
    DBG()->dataModel()->setColumns(shown);
    StretchColumn(DBG(), QStringLiteral("name"));
}

void TInventoryWindow::OpenList()
{
    openWith(designStatement());
}

void TInventoryWindow::FindButtonClick()
{
    openWith(runTimeStatement(m_excludeServices->isChecked(), m_excludeZero->isChecked()));
}

void TInventoryWindow::openWith(const QString& sql)
{
    tarvex::guarded([&] {
        tarvex::BusyCursor busy;
        TControlsOff off(*m_query);
        m_query->close();
        m_query->setSql(sql);
        m_query->open();
        m_query->first();
        listOpened();
    });
}

QString TInventoryWindow::GetPrintHeader() const
{
    return TodayPrintHeader();
}

} // namespace products
