#include "Stockcardwindow.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "DateText.h"
#include "Dialogs.h"
#include "Format.h"
#include "MemoryTable.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "QueryDataSet.h"
#include "Workerbar.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace products {

void AddTitleSortOrders(tarvex::MemoryTable& table)
{
    for (const tarvex::Field* field : table.fields()) {
        if (!field->visible())
            continue;
        table.addIndex(field->fieldName() + QLatin1Char('A'), field->fieldName());
        table.addIndex(field->fieldName() + QLatin1Char('D'), field->fieldName(), true);
    }
}

void SwitchTitleSort(tarvex::MemoryTable& table, const QString& fieldName)
{
    const QString ascending = fieldName + QLatin1Char('A');
    const bool isAscending = table.indexName().compare(ascending, Qt::CaseInsensitive) == 0;
    table.setIndexName(isAscending ? fieldName + QLatin1Char('D') : ascending);
}

TStockCardWindow::TStockCardWindow(const QString& caption, const QString& warehouseName, QWidget* parent)
    : TReportWindow(parent)
{
    setWindowTitle(ReportCaption(caption, warehouseName));
    m_products = new tarvex::QueryDataSet(this);
    m_products->setConnection(ProductDM->ZConnection());
    m_products->setReadOnly(true);
    m_table = new tarvex::MemoryTable(this);

    auto* toLabel = new QLabel(QStringLiteral("Do datuma"), this);
    m_to = new QLineEdit(this);
    m_to->setMaxLength(10);
    m_to->setFixedWidth(m_to->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 16);
    toLabel->setBuddy(m_to);
    m_toButton = new QPushButton(QStringLiteral("..."), this);
    m_toButton->setAutoDefault(false);
    m_toButton->setFixedWidth(m_toButton->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    m_find->setDefault(true);
    connect(m_toButton, &QPushButton::clicked, this, &TStockCardWindow::ToDateButtonClick);
    connect(m_find, &QPushButton::clicked, this, [this] { FindButtonClick(); });

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* titles = m_grid->horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setSortIndicatorShown(true);
    // Rows come in the product list's order until a title is clicked.
    titles->setSortIndicator(-1, Qt::AscendingOrder);
    // The hand shows that a title sorts.
    titles->setCursor(Qt::PointingHandCursor);
    connect(titles, &QHeaderView::sectionClicked, this, [this](int section) {
        if (const tarvex::Field* field = m_grid->fieldOfSection(section))
            DBGTitleClick(field->fieldName());
    });

    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_print->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, &TStockCardWindow::PrintButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(toLabel);
    top->addWidget(m_to);
    top->addWidget(m_toButton);
    top->addSpacing(12);
    top->addWidget(m_find);
    top->addStretch();
    m_workerBar = new TWorkerBar(this);
    m_workerBar->setBusyControls({m_find, m_print});

    m_bottomRow = new QHBoxLayout;
    m_bottomRow->addWidget(m_workerBar);
    m_bottomRow->addStretch();
    m_bottomRow->addWidget(m_print);
    m_bottomRow->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_bottomRow);

    m_to->setText(tarvex::MyDateToDateStr(tarvex::hostClock().today()));
    m_to->setFocus();
}

void TStockCardWindow::showTable()
{
    m_table->createDataSet();
    AddTitleSortOrders(*m_table);
    m_grid->setDataSet(m_table);
    StretchColumn(m_grid, QStringLiteral("name"));
}

void TStockCardWindow::openProductList(const std::function<void(tarvex::QueryDataSet&)>& setStatement)
{
    try {
        tarvex::BusyCursor busy;
        m_products->close();
        setStatement(*m_products);
        m_products->open();
    } catch (const std::exception& e) {
        reportFailure(e);
    }
}

bool TStockCardWindow::runOnWorker(const TReportWorker::Work& work)
{
    return m_workerBar->run(ProductDM->ZConnection()->database(), work);
}

QProgressBar* TStockCardWindow::ProgressBar() const { return m_workerBar->progressBar(); }
QLabel* TStockCardWindow::StepLabel() const { return m_workerBar->stepLabel(); }
QPushButton* TStockCardWindow::CancelButton() const { return m_workerBar->cancelButton(); }

void TStockCardWindow::closeEvent(QCloseEvent* event)
{
    // Closed while reading: the reading stops first, then the window closes.
    if (m_workerBar->stopForClose()) {
        event->ignore();
        return;
    }
    TReportWindow::closeEvent(event);
}

void TStockCardWindow::ToDateButtonClick()
{
    ChangeDate(m_to);
}

void TStockCardWindow::ChangeDate(QLineEdit* field)
{
    QDate date = tarvex::hostClock().today();
    if (tarvex::dialogs().getDate(date))
        field->setText(tarvex::MyDateToDateStr(date));
}

void TStockCardWindow::DBGTitleClick(const QString& fieldName)
{
    try {
        SwitchTitleSort(*m_table, fieldName);
    } catch (const std::exception& e) {
        reportFailure(e);
        return;
    }
    const int column = m_grid->dataModel()->columnOf(m_table->findField(fieldName));
    const bool descending = m_table->indexName().endsWith(QLatin1Char('D'));
    m_grid->horizontalHeader()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

QString TStockCardWindow::GetPrintHeader() const
{
    return tarvex::Format(PRINT_HEADER_SHORT_FMT, {m_to->text()});
}

void TStockCardWindow::PrintButtonClick()
{
    PrintThroughConsole(m_grid, PrintParameters(windowTitle(), GetPrintHeader()));
}

void TStockCardWindow::reportFailure(const std::exception& e)
{
    tarvex::dialogs().showException(e);
}

} // namespace products
