#include "Stockcardwindow.h"

#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "DateText.h"
#include "Dialogs.h"
#include "Format.h"
#include "Guarded.h"
#include "MemoryTable.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "QueryDataSet.h"
#include "Reportdates.h"
#include "Workerbar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    : TListReportWindow(caption, warehouseName, parent)
{
    m_products = new tarvex::QueryDataSet(this);
    m_products->setConnection(ProductDM->ZConnection());
    m_products->setReadOnly(true);
    m_table = new tarvex::MemoryTable(this);

    auto* toLabel = new QLabel(QStringLiteral("Do datuma"), this);
    m_to = NewDateEdit(this, toLabel->text());
    toLabel->setBuddy(m_to);
    m_toButton = NewDateButton(this);
    connect(m_toButton, &QPushButton::clicked, this, &TStockCardWindow::ToDateButtonClick);
    auto* choices = new QHBoxLayout;
    choices->addWidget(toLabel);
    choices->addWidget(m_to);
    choices->addWidget(m_toButton);
    buildFrame(choices, true);

    QHeaderView* titles = DBG()->horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setSortIndicatorShown(true);
    // Rows come in the product list's order until a title is clicked.
    titles->setSortIndicator(-1, Qt::AscendingOrder);
    // The hand shows that a title sorts.
    titles->setCursor(Qt::PointingHandCursor);
    connect(titles, &QHeaderView::sectionClicked, this, [this](int section) {
        if (const tarvex::Field* field = DBG()->fieldOfSection(section))
            DBGTitleClick(field->fieldName());
    });

    bottomRow()->insertWidget(0, newWorkerBar({FindButton(), PrintButton()}));

    m_to->setText(tarvex::MyDateToDateStr(tarvex::hostClock().today()));
    m_to->setFocus();
}

void TStockCardWindow::showTable()
{
    m_table->createDataSet();
    AddTitleSortOrders(*m_table);
    DBG()->setDataSet(m_table);
    StretchColumn(DBG(), QStringLiteral("name"));
}

void TStockCardWindow::openProductList(const std::function<void(tarvex::QueryDataSet&)>& setStatement)
{
    tarvex::guarded([&] {
        m_products->close();
        setStatement(*m_products);
        // Read on the worker: the window answers and "Prekini" stops it.
        WorkerBar()->openList(*m_products, m_products->sql(), QStringLiteral("Proizvodi"));
    });
}

void TStockCardWindow::readCards(const std::function<void(QSqlDatabase, const QString&)>& read,
                                 const std::function<void()>& show)
{
    tarvex::guarded([&] {
        const QString date = ToDateText();
        const bool done = WorkerBar()->run(ProductDM->ZConnection()->database(),
                                           [&](QSqlDatabase db, const TProgress& progress) {
                                               progress(QStringLiteral("Robne kartice"), 0);
                                               read(db, date);
                                           });
        if (done)
            show();
    });
    QApplication::processEvents();
}

QProgressBar* TStockCardWindow::ProgressBar() const { return WorkerBar()->progressBar(); }
QLabel* TStockCardWindow::StepLabel() const { return WorkerBar()->stepLabel(); }
QPushButton* TStockCardWindow::CancelButton() const { return WorkerBar()->cancelButton(); }

void TStockCardWindow::ToDateButtonClick()
{
    ChangeDate(m_to);
}

QString TStockCardWindow::ToDateText() const
{
    return ReportDateText(m_to);
}

void TStockCardWindow::DBGTitleClick(const QString& fieldName)
{
    if (!tarvex::guarded([&] {
        SwitchTitleSort(*m_table, fieldName);
    }))
        return;
    const int column = DBG()->dataModel()->columnOf(m_table->findField(fieldName));
    const bool descending = m_table->indexName().endsWith(QLatin1Char('D'));
    DBG()->horizontalHeader()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

QString TStockCardWindow::GetPrintHeader() const
{
    return tarvex::Format(PRINT_HEADER_SHORT_FMT, {m_to->text()});
}

} // namespace products
