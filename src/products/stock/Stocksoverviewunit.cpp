#include "Stocksoverviewunit.h"

#include "BusyCursor.h"
#include "Categorytree.h"
#include "Clock.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Gridlayoutfile.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "Productintf.h"
#include "Productresourcestring.h"
#include "Productsnapin.h"
#include "QueryDataSet.h"
#include "Reportdates.h"
#include "ReportEngine.h"
#include "Workerbar.h"
#include "RememberedState.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace products {

namespace {

const QString kCaption = QStringLiteral("Stanje zaliha");
const int kCategoryIdRole = Qt::UserRole;

QSqlDatabase database()
{
    return ProductDM->ZConnection()->database();
}

} // namespace

TStocksOverviewForm::TStocksOverviewForm(const QString& stateFile, QWidget* parent)
    : TReportWindow(parent), m_stateFile(stateFile)
{
    setWindowTitle(kCaption);
    m_table = new tarvex::MemoryTable(this);
    m_table->setObjectName(kCaption);
    DefineStocksOverviewFields(*m_table);
    m_table->createDataSet();

    auto* left = new QVBoxLayout;
    buildLeftPanel(left);

    m_grid = new tarvex::DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setDataSet(m_table);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    // Over the title row the cursor says the titles can be clicked.
    header->setCursor(Qt::PointingHandCursor);
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (const tarvex::Field* field = m_grid->fieldOfSection(section))
            StocksOverviewDBGTitleClick(field->fieldName());
    });
    connect(m_grid, &tarvex::DBGrid::recordDoubleClicked, this, &TStocksOverviewForm::StocksOverviewDBGDblClick);
    m_table->events().afterScroll = [this](tarvex::DataSet&) { StocksOverviewCDSAfterScroll(); };
    new TGridLayoutKeeper(m_grid);

    m_memo = new QPlainTextEdit(this);
    m_memo->setReadOnly(true);
    m_memo->setFrameShape(QFrame::NoFrame);
    m_memo->setFixedHeight(m_memo->fontMetrics().lineSpacing() * 4 + 8);
    m_export = new QPushButton(QStringLiteral("Izvezi u Excel"), this);
    m_export->setAutoDefault(false);
    connect(m_export, &QPushButton::clicked, this, &TStocksOverviewForm::ExportToExcelButtonClick);
    auto* descriptionRow = new QHBoxLayout;
    descriptionRow->addWidget(m_memo, 1);
    descriptionRow->addWidget(m_export, 0, Qt::AlignBottom);

    auto* right = new QVBoxLayout;
    right->addLayout(buildStockModeRow());
    right->addWidget(m_grid, 1);
    right->addLayout(descriptionRow);

    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    TWorkerBar* workerBar = newWorkerBar({m_find, m_export});
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(workerBar);
    bottom->addStretch();
    bottom->addWidget(m_close);

    auto* panes = new QHBoxLayout;
    panes->addLayout(left);
    panes->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addLayout(bottom);
    resize(1180, 640);

    FormCreate();
    m_code->setFocus();
}

void TStocksOverviewForm::buildLeftPanel(QLayout* into)
{
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setFixedWidth(240);
    m_code = new QLineEdit(this);
    m_code->setMaxLength(20);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(100);
    m_active = new QComboBox(this);
    m_find = new QPushButton(QStringLiteral("&Prikaži"), this);
    m_find->setDefault(true);
    connect(m_find, &QPushButton::clicked, this, &TStocksOverviewForm::FindButtonClick);

    auto* fields = new QGridLayout;
    const struct {
        const char* label;
        QWidget* edit;
    } rows[] = {{"Kod", m_code}, {"Ime", m_name}, {"Aktivan", m_active}};
    int row = 0;
    for (const auto& entry : rows) {
        auto* label = new QLabel(QString::fromUtf8(entry.label), this);
        label->setBuddy(entry.edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(entry.edit, row++, 1);
    }
    fields->addWidget(m_find, row, 1, Qt::AlignRight);
    into->addWidget(m_tree);
    into->addItem(fields);
}

QLayout* TStocksOverviewForm::buildStockModeRow()
{
    m_stockWsRt = new QRadioButton(QStringLiteral("VP ili MP"), this);
    m_stockRt = new QRadioButton(QStringLiteral("MP"), this);
    m_stockWs = new QRadioButton(QStringLiteral("VP"), this);
    m_all = new QRadioButton(QStringLiteral("Svi"), this);
    m_stockWsRt->setChecked(true);
    auto* row = new QHBoxLayout;
    for (QRadioButton* mode : {m_stockWsRt, m_stockRt, m_stockWs, m_all})
        row->addWidget(mode);
    row->addSpacing(24);
    // A month back: the same day, or the last day of a shorter month.
    const QDate today = tarvex::hostClock().today();
    m_dates = AddDateRange(this, row, today.addMonths(-1), today);
    row->addStretch();
    return row;
}

tarvex::RememberedState TStocksOverviewForm::LayoutState() const
{
    return tarvex::RememberedState(QStringLiteral("StocksOverviewDS"), m_stateFile);
}

void TStocksOverviewForm::FormCreate()
{
    buildCategoryTree();
    m_active->addItems({QString(), tarvex::ACTIVE_Y_CAP, tarvex::ACTIVE_N_CAP});
    m_active->setCurrentIndex(1);
    TGridLayout layout;
    if (layout.load(LayoutState()))
        layout.apply(*m_grid);
}

void TStocksOverviewForm::buildCategoryTree()
{
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, {CAT_ROOT_CAPTION});
    root->setData(0, kCategoryIdRole, qint64(0));
    tarvex::guarded([&] {
        qint64 lastParent = -1;
        QTreeWidgetItem* parentNode = nullptr;
        for (const CategoryRow& row : readCategoryRows(database())) {
            if (row.parentId != lastParent) {
                parentNode = FindNode(row.parentId);
                lastParent = row.parentId;
            }
            // A parent not yet in the tree leaves its child at the top level.
            auto* node = parentNode ? new QTreeWidgetItem(parentNode) : new QTreeWidgetItem(m_tree);
            node->setText(0, row.name);
            node->setData(0, kCategoryIdRole, row.id);
        }
    });
    m_tree->collapseAll();
}

QTreeWidgetItem* TStocksOverviewForm::FindNode(qint64 id) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->data(0, kCategoryIdRole).toLongLong() == id)
            return *it;
    return nullptr;
}

TStocksOverviewFilter TStocksOverviewForm::CurrentFilter() const
{
    TStocksOverviewFilter filter;
    filter.code = m_code->text();
    filter.name = m_name->text();
    filter.active = m_active->currentIndex();
    for (const QModelIndex& index : m_tree->selectionModel()->selectedIndexes())
        filter.categories << index.data(kCategoryIdRole).toLongLong();
    if (m_stockRt->isChecked())
        filter.stockMode = TStockMode::Retail;
    else if (m_stockWs->isChecked())
        filter.stockMode = TStockMode::Wholesale;
    else if (m_all->isChecked())
        filter.stockMode = TStockMode::All;
    filter.fromText = ReportDateText(m_dates.from);
    filter.toText = ReportDateText(m_dates.to);
    return filter;
}

void TStocksOverviewForm::FindButtonClick()
{
    TStocksOverviewFilter filter;
    if (!tarvex::guarded([&] { filter = CurrentFilter(); }))
        return;
    const QDateTime now = tarvex::hostClock().now();
    bool done = false;
    tarvex::guarded([&] {
        TStocksOverviewResult result;
        done = WorkerBar()->run(database(), [&](QSqlDatabase db, const TProgress& progress) {
            result = ComputeStocksOverview(db, filter, now, progress);
        });
        // Stopped: the table stays as it was, nothing of the stopped count in it.
        if (!done)
            return;
        m_shown = true;
        ShowStocksOverview(*m_table, std::move(result));
    });
    if (done)
        StocksOverviewCDSAfterScroll();
}

QProgressBar* TStocksOverviewForm::ProgressBar() const { return WorkerBar()->progressBar(); }
QLabel* TStocksOverviewForm::StepLabel() const { return WorkerBar()->stepLabel(); }
QPushButton* TStocksOverviewForm::CancelButton() const { return WorkerBar()->cancelButton(); }

void TStocksOverviewForm::StocksOverviewCDSAfterScroll()
{
    // Not while the table is being filled, nor before the first computation.
    if (m_table->controlsDisabled() || !m_shown || m_table->isEmpty())
        return;
    const qint64 productId = m_table->fieldByName(QStringLiteral("ProductID")).asLargeInt();
    tarvex::guarded([&] {
        m_memo->setPlainText(StocksOverviewDescription(database(), productId));
    });
}

void TStocksOverviewForm::StocksOverviewDBGTitleClick(const QString& fieldName)
{
    const QString ascending = fieldName + QLatin1Char('A');
    const bool toDescending = m_table->indexName().compare(ascending, Qt::CaseInsensitive) == 0;
    if (!tarvex::guarded([&] {
        m_table->setIndexName(toDescending ? fieldName + QLatin1Char('D') : ascending);
    }))
        return;
    const int section = m_grid->dataModel()->columnOf(m_table->findField(fieldName));
    m_grid->horizontalHeader()->setSortIndicator(section, toDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TStocksOverviewForm::StocksOverviewDBGDblClick()
{
    if (m_table->eof() || m_table->isEmpty() || !GlobalConsole)
        return;
    tarvex::IInterface* found = nullptr;
    if (!GlobalConsole->FindService(tarvex::IID_IProductService, &found) || !found)
        return;
    auto service = tarvex::ComPtr<tarvex::IProductService>::adopt(static_cast<tarvex::IProductService*>(found));
    service->OpenProduct(qint32(m_table->fieldByName(QStringLiteral("ProductID")).asLargeInt()),
                         ProductDM->GetDefWarehouseID());
}

void TStocksOverviewForm::ExportToExcelButtonClick()
{
    QString fileName = tarvex::dialogs().saveFileName(kCaption, kCaption, QStringLiteral("Excel (*.xlsx)"));
    if (fileName.isEmpty())
        return;
    // The content is .xlsx; a reader that trusts the name refuses it as .xls.
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0)
        fileName += QLatin1Char('x');
    else if (suffix.isEmpty())
        fileName += QStringLiteral(".xlsx");
    tarvex::guarded([&] {
        tarvex::BusyCursor busy;
        tarvex::ExportDataSet(*m_table, fileName);
    });
}


void TStocksOverviewForm::closing()
{
    if (m_layoutSaved)
        return;
    m_layoutSaved = true;
    tarvex::guarded([&] {
        tarvex::RememberedState state = LayoutState();
        TGridLayout::capture(*m_grid).save(state);
    });
}


void OpenStocksOverview()
{
    auto* form = new TStocksOverviewForm;
    tarvex::execModal(*form);
}

} // namespace products
