#include "Reportwindow.h"

#include "Clock.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "DateText.h"
#include "Dialogs.h"
#include "Format.h"
#include "HostStrings.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productintf.h"
#include "Productresourcestring.h"
#include "Productsnapin.h"
#include "Siblingintf.h"
#include "WheelToArrowFilter.h"
#include "Workerbar.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace products {

TReportWindow::TReportWindow(QWidget* parent) : tarvex::DialogWindow(parent)
{
    // Lives as long as the window: the wheel steps rows only while it is open.
    new tarvex::WheelToArrowFilter(this);
}

QString TReportWindow::ReportCaption(const QString& caption, const QString& warehouseName)
{
    return warehouseName.isEmpty() ? caption : caption + QStringLiteral(" - ") + warehouseName;
}

QString TReportWindow::TodayPrintHeader()
{
    return tarvex::Format(PRINT_HEADER_SHORT_FMT, {tarvex::MyDateToDateStr(tarvex::hostClock().today())});
}

QString TReportWindow::PrintParameters(const QString& title, const QString& header)
{
    return QStringLiteral("title:") + title + QStringLiteral(";header:") + header;
}

void TReportWindow::PrintThroughConsole(QTableView* grid, const QString& parameters)
{
    if (!GlobalConsole)
        return;
    QTableView* kept = GlobalConsole->GetActiveGrid();
    GlobalConsole->SetActiveGrid(grid);
    try {
        GlobalConsole->RunWizard(tarvex::CMN_PRINT_WIZ_NAME, parameters);
    } catch (...) {
        GlobalConsole->SetActiveGrid(kept);
        throw;
    }
    GlobalConsole->SetActiveGrid(kept);
}

void TReportWindow::OpenProduct(qint64 productId)
{
    tarvex::IInterface* found = nullptr;
    if (!GlobalConsole || !GlobalConsole->FindService(tarvex::IID_IProductService, &found) || !found) {
        tarvex::dialogs().error(tarvex::CMN_NO_MODULE.arg(tarvex::CMN_MOD_PRODUCT_NAME));
        return;
    }
    auto service = tarvex::ComPtr<tarvex::IProductService>::adopt(static_cast<tarvex::IProductService*>(found));
    // The editor shows the product's stock in the default warehouse, whatever
    // warehouse the report lists.
    service->OpenProduct(qint32(productId), ProductDM->GetDefWarehouseID());
}

void TReportWindow::OpenDocument(qint64 documentId)
{
    tarvex::IInterface* found = nullptr;
    if (!GlobalConsole || !GlobalConsole->FindService(tarvex::IID_IDocumentService, &found) || !found)
        return;
    auto service = tarvex::ComPtr<tarvex::IDocumentService>::adopt(static_cast<tarvex::IDocumentService*>(found));
    service->OpenDocument(documentId);
}

void TReportWindow::StretchColumn(tarvex::DBGrid* grid, const QString& fieldName)
{
    auto stretch = [grid, fieldName] {
        const tarvex::DataSetModel* model = grid->dataModel();
        const int column = model->columnOf(model->dataSet()->findField(fieldName));
        if (column >= 0 && column < grid->horizontalHeader()->count())
            grid->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    };
    // After the grid has fitted its columns to a new content.
    QObject::connect(grid->dataModel(), &QAbstractItemModel::modelReset, grid, stretch);
    stretch();
}

TWorkerBar* TReportWindow::newWorkerBar(const QList<QWidget*>& busyControls)
{
    m_workerBar = new TWorkerBar(this);
    m_workerBar->setBusyControls(busyControls);
    return m_workerBar;
}

QLabel* TReportWindow::newFigureLabel(const QString& text)
{
    auto* label = new QLabel(text, this);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void TReportWindow::closeEvent(QCloseEvent* event)
{
    if (m_workerBar && m_workerBar->stopForClose()) {
        event->ignore();
        return;
    }
    closing();
    tarvex::DialogWindow::closeEvent(event);
}

void TReportWindow::done(int result)
{
    // Escape closes through here without a close event.
    if (m_workerBar && m_workerBar->stopForClose())
        return;
    closing();
    tarvex::DialogWindow::done(result);
}

void TListReportWindow::OpenModal(TListReportWindow* window)
{
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->OpenList();
    tarvex::execModal(*window);
}

TListReportWindow::TListReportWindow(const QString& caption, const QString& warehouseName, QWidget* parent)
    : TReportWindow(parent)
{
    setWindowTitle(ReportCaption(caption, warehouseName));
}

void TListReportWindow::buildFrame(QHBoxLayout* choices, bool findIsDefault)
{
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    if (findIsDefault)
        m_find->setDefault(true);
    else
        m_find->setAutoDefault(false);
    connect(m_find, &QPushButton::clicked, this, [this] { FindButtonClick(); });

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TListReportWindow::PrintButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    choices->addSpacing(12);
    choices->addWidget(m_find);
    choices->addStretch();
    m_bottomRow = new QHBoxLayout;
    m_bottomRow->addStretch();
    m_bottomRow->addWidget(m_print);
    m_bottomRow->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_bottomRow);
}

void TListReportWindow::PrintButtonClick()
{
    PrintThroughConsole(m_grid, PrintParameters(windowTitle(), GetPrintHeader()));
}

} // namespace products
