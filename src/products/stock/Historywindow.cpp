#include "Historywindow.h"

#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Format.h"
#include "MemoryTable.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "Reportdates.h"
#include "Workerbar.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

THistorySubject THistorySubject::FromDataModule()
{
    THistorySubject subject;
    const QueryDataSet& product = *ProductDM->ProductZQ;
    if (product.isActive() && !product.isEmpty()) {
        subject.productId = product.fieldByName(QStringLiteral("productid")).asLargeInt();
        subject.productName = product.fieldByName(QStringLiteral("name")).asString();
        subject.productCode = product.fieldByName(QStringLiteral("code")).asString();
    }
    const QueryDataSet& stock = *ProductDM->ProductWarehouseZQ;
    if (stock.isActive() && !stock.isEmpty()) {
        subject.warehouseId = stock.fieldByName(QStringLiteral("warehouseid")).asLargeInt();
        subject.warehouseName = stock.fieldByName(QStringLiteral("name")).asString();
    }
    return subject;
}

THistoryWindow::THistoryWindow(const QString& caption, const THistorySubject& subject, QWidget* parent)
    : TReportWindow(parent), m_subject(subject)
{
    setWindowTitle(caption);
    m_table = new tarvex::MemoryTable(this);

    m_topRow = new QHBoxLayout;
    const QDate today = tarvex::hostClock().today();
    m_dates = AddDateRange(this, m_topRow, QDate(today.year(), 1, 1), today);
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    m_find->setDefault(true);
    connect(m_find, &QPushButton::clicked, this, [this] { FindButtonClick(); });

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_grid, &tarvex::DBGrid::recordDoubleClicked, this, [this] { DBGDblClick(); });

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, [this] { PrintButtonClick(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    m_topRow->addSpacing(12);
    m_topRow->addWidget(m_find);
    m_topRow->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(newWorkerBar({m_find, m_print}));
    bottom->addStretch();
    bottom->addWidget(m_print);
    bottom->addWidget(m_close);
    m_layout = new QVBoxLayout(this);
    m_layout->addLayout(m_topRow);
    m_layout->addWidget(m_grid, 1);
    m_layout->addLayout(bottom);

    m_dates.from->setFocus();
}

void THistoryWindow::showTable()
{
    m_table->createDataSet();
    m_grid->setDataSet(m_table);
    StretchColumn(m_grid, QStringLiteral("partner"));
}

bool THistoryWindow::runOnWorker(const TReportWorker::Work& work)
{
    return WorkerBar()->run(ProductDM->ZConnection()->database(), work);
}

QString THistoryWindow::GetPrintHeader() const
{
    return tarvex::Format(PRINT_HEADER_FMT, {m_dates.from->text(), m_dates.to->text()});
}

QString THistoryWindow::PrintTitle() const
{
    const QString dash = QStringLiteral(" - ");
    return windowTitle() + QStringLiteral(": ") + m_subject.productName + dash + m_subject.productCode + dash +
           m_subject.warehouseName;
}

} // namespace products
