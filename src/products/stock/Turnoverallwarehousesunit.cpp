#include "Turnoverallwarehousesunit.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Guarded.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Reportdates.h"
#include "Workerbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

TTurnoverAllWarehousesForm::TTurnoverAllWarehousesForm(QWidget* parent) : TReportWindow(parent)
{
    setWindowTitle(QStringLiteral("Promet (količine iz svih magacina)"));
    m_table = new tarvex::MemoryTable(this);
    DefineTurnoverFields(*m_table);
    m_table->createDataSet();

    auto* top = new QHBoxLayout;
    const QDate today = tarvex::hostClock().today();
    m_dates = AddDateRange(this, top, QDate(today.year(), 1, 1), today);
    auto* warehouseLabel = new QLabel(QStringLiteral("Magacin"), this);
    m_warehouse = new QComboBox(this);
    m_warehouse->setMaxVisibleItems(20);
    m_warehouse->setMinimumContentsLength(20);
    warehouseLabel->setBuddy(m_warehouse);
    m_excludeServices = new QCheckBox(QStringLiteral("Isključi usluge iz zaliha magacina"), this);
    m_excludeServices->setChecked(true);
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    m_find->setDefault(true);
    connect(m_find, &QPushButton::clicked, this, &TTurnoverAllWarehousesForm::FindButtonClick);

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setDataSet(m_table);
    tarvex::GridSorter::AddGrid(m_grid);
    // Listed by warehouse, then product: no single column is the order.
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    StretchColumn(m_grid, QStringLiteral("name"));
    connect(m_grid, &tarvex::DBGrid::recordDoubleClicked, this,
            &TTurnoverAllWarehousesForm::TurnoverAllWarehousesDBGDblClick);

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TTurnoverAllWarehousesForm::PrintButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    top->addSpacing(12);
    top->addWidget(warehouseLabel);
    top->addWidget(m_warehouse);
    top->addSpacing(12);
    top->addWidget(m_excludeServices);
    top->addSpacing(12);
    top->addWidget(m_find);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(newWorkerBar({m_find, m_print}));
    bottom->addStretch();
    bottom->addWidget(m_print);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1000, 560);

    FormCreate();
    m_dates.from->setFocus();
}

void TTurnoverAllWarehousesForm::FormCreate()
{
    tarvex::guarded([this] {
        tarvex::BusyCursor busy;
        QStringList names;
        ProductDM->GetFieldValues(QStringLiteral("name"), QStringLiteral("warehouse"), names, true, QString(),
                                  QString());
        m_warehouse->addItems(names);
    });
    // No warehouse chosen: all of them.
    m_warehouse->setCurrentIndex(-1);
}

void TTurnoverAllWarehousesForm::FindButtonClick()
{
    TTurnoverRequest request;
    if (!tarvex::guarded([&] {
            request.fromText = ReportDateText(m_dates.from);
            request.toText = ReportDateText(m_dates.to);
        }))
        return;
    request.warehouseName = m_warehouse->currentText();
    request.excludeServices = m_excludeServices->isChecked();
    tarvex::guarded([&] {
        std::vector<TTurnoverRow> rows;
        const bool done = WorkerBar()->run(ProductDM->ZConnection()->database(),
                                           [&](QSqlDatabase db, const TProgress& progress) {
                                               rows = ComputeTurnover(db, request, progress);
                                           });
        // Stopped: the list stays as it was, nothing of the stopped count in it.
        if (done)
            ShowTurnover(*m_table, rows);
    });
}

QProgressBar* TTurnoverAllWarehousesForm::ProgressBar() const { return WorkerBar()->progressBar(); }
QLabel* TTurnoverAllWarehousesForm::StepLabel() const { return WorkerBar()->stepLabel(); }
QPushButton* TTurnoverAllWarehousesForm::CancelButton() const { return WorkerBar()->cancelButton(); }

QString TTurnoverAllWarehousesForm::GetPrintHeader() const
{
    return TodayPrintHeader();
}

void TTurnoverAllWarehousesForm::PrintButtonClick()
{
    PrintThroughConsole(m_grid, PrintParameters(windowTitle(), GetPrintHeader()));
}

void TTurnoverAllWarehousesForm::TurnoverAllWarehousesDBGDblClick()
{
    // An empty list passes 0, for which the product service opens nothing.
    OpenProduct(m_table->isEmpty() ? 0 : m_table->fieldByName(QStringLiteral("productid")).asLargeInt());
}

void OpenTurnoverAllWarehouses()
{
    auto* form = new TTurnoverAllWarehousesForm;
    tarvex::execModal(*form);
}

} // namespace products
