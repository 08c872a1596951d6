#include "Inventorywindow.h"

#include "BusyCursor.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Productdmunit.h"
#include "QueryDataSet.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

TInventoryWindow::TInventoryWindow(const QString& caption, qint32 warehouseId, const QString& warehouseName,
                                   QWidget* parent)
    : TReportWindow(parent), m_warehouseId(warehouseId)
{
    setWindowTitle(ReportCaption(caption, warehouseName));
    m_query = new tarvex::QueryDataSet(this);
    m_query->setConnection(ProductDM->ZConnection());
    m_query->setReadOnly(true);
    m_query->setParam(QStringLiteral("IDWarehouse"), warehouseId);

    m_excludeZero = new QCheckBox(QStringLiteral("Isključi proizvode sa nultom količinom"), this);
    m_excludeZero->setChecked(true);
    m_excludeServices = new QCheckBox(QStringLiteral("Isključi usluge iz zaliha magacina"), this);
    m_excludeServices->setChecked(true);
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    m_find->setAutoDefault(false);
    connect(m_find, &QPushButton::clicked, this, &TInventoryWindow::FindButtonClick);

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setDataSet(m_query);
    tarvex::GridSorter::AddGrid(m_grid);

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TInventoryWindow::PrintButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(m_excludeZero);
    top->addSpacing(12);
    top->addWidget(m_excludeServices);
    top->addSpacing(12);
    top->addWidget(m_find);
    top->addStretch();
    m_bottomRow = new QHBoxLayout;
    m_bottomRow->addStretch();
    m_bottomRow->addWidget(m_print);
    m_bottomRow->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_bottomRow);
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
    m_grid->dataModel()->setColumns(shown);
    StretchColumn(m_grid, QStringLiteral("name"));
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
    try {
        tarvex::BusyCursor busy;
        TControlsOff off(*m_query);
        m_query->close();
        m_query->setSql(sql);
        m_query->open();
        m_query->first();
        listOpened();
    } catch (const std::exception& e) {
        tarvex::dialogs().showException(e);
    }
}

QString TInventoryWindow::GetPrintHeader() const
{
    return TodayPrintHeader();
}

void TInventoryWindow::PrintButtonClick()
{
    PrintThroughConsole(m_grid, PrintParameters(windowTitle(), GetPrintHeader()));
}

} // namespace products
