#include "Productwarehousesunit.h"

#include "Connection.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "DisplayFormat.h"
#include "Documentrules.h"
#include "Format.h"
#include "Guarded.h"
#include "Pagegrid.h"
#include "Productdmunit.h"
#include "Productlistsql.h"
#include "Productresourcestring.h"
#include "Rounding.h"
#include "Stockhistoryunit.h"
#include "Warehistoryunit.h"
#include "Warehouseunit.h"
#include "Workerbar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace products {

namespace {

const QColor kBelowMinimum(255, 128, 128);

// Only the minimum, the maximum and the place are typed in the grid.
const QList<tarvex::DeclaredColumn> kColumns = {
    {"name", "Ime", "", true},
    {"amount", "Količina", "0.###", true},
    {"reservedamount", "Rezervisano", "0.###", true},
    {"reversedamount", "Na reversu", "0.###", true},
    {"freeamount", "Slobodno", "0.###", true},
    {"orderedamount", "Poručeno", "0.###", true},
    {"price", "Mag.cena", "#,##0.00", true},
    {"pricevat", "Mag.cena + PDV", "#,##0.00", true},
    {"minstock", "Min", "", false},
    {"maxstock", "Max", "", false},
    {"place", "Mesto", "", false},
};

QueryDataSet& rows()
{
    return *ProductDM->ProductWarehouseZQ;
}

qint64 currentProductId()
{
    return ProductDM->ProductZQ->fieldByName(QStringLiteral("productid")).asLargeInt();
}

QSqlDatabase database()
{
    return ProductDM->ZConnection()->database();
}

} // namespace

TProductWarehousesGroup::TProductWarehousesGroup(QWidget* parent) : QGroupBox(QStringLiteral("Magacini"), parent)
{
    QueryDataSet& pw = rows();
    // Columns fit their contents; the typed ones stay wide enough to type in.
    m_grid = newPageGrid(this, QStringLiteral("WarehouseDBG"), pw, tarvex::declareColumns(pw, kColumns), 60);
    m_grid->dataModel()->setRowPainter([](const tarvex::DataSet& data, int row) {
        return belowMinimum(data, row) ? kBelowMinimum : QColor();
    });
    // Five warehouse rows in view, below the titles and above a scroll bar
    // (with a few pixels to spare, so the fifth row needs no scrolling).
    m_grid->setMinimumHeight(m_grid->horizontalHeader()->sizeHint().height() + 5 * 22 + 2 * m_grid->frameWidth() +
                             m_grid->horizontalScrollBar()->sizeHint().height() + 8);

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setDataSet(&pw);
    m_navigator->setVisibleButtons(tarvex::DBNavigator::First | tarvex::DBNavigator::Prior |
                                   tarvex::DBNavigator::Next | tarvex::DBNavigator::Last |
                                   tarvex::DBNavigator::Post | tarvex::DBNavigator::Cancel);

    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("TotalLabel"));
    m_wareHistory = new QPushButton(QStringLiteral("&Magacinska kartica"), this);
    m_stock = new QPushButton(QStringLiteral("&Robna kartica"), this);
    m_print = new QPushButton(QStringLiteral("Š&tampaj"), this);
    m_priceLabels = new QPushButton(QStringLiteral("Nalepnice za cene"), this);

    m_addDefault = new QAction(QStringLiteral("Dodaj u podrazumevani magacin"), this);
    m_addOther = new QAction(QStringLiteral("Dodaj u drugi magacin"), this);
    connect(m_addDefault, &QAction::triggered, this, tarvex::guardedSlot([this] { KasaAddDefaultProductWarehouseExecute(); }));
    connect(m_addOther, &QAction::triggered, this, tarvex::guardedSlot([this] { KasaAddOtherProductWarehouseExecute(); }));
    connect(m_wareHistory, &QPushButton::clicked, this, tarvex::guardedSlot([this] { WareHistoryButtonClick(); }));
    connect(m_stock, &QPushButton::clicked, this, tarvex::guardedSlot([this] { StockButtonClick(); }));
    // The buttons of the two add actions sit on the editor's cash-register page.

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    top->addWidget(m_total, 1);
    m_workerBar = new TWorkerBar(this);
    m_workerBar->setBusyControls({m_navigator, m_wareHistory, m_stock, m_print, m_priceLabels});
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_workerBar);
    bottom->addStretch();
    bottom->addWidget(m_wareHistory);
    bottom->addWidget(m_stock);
    bottom->addWidget(m_print);
    bottom->addWidget(m_priceLabels);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
}

bool TProductWarehousesGroup::belowMinimum(const tarvex::DataSet& data, int row)
{
    const tarvex::Field* minimum = data.findField(QStringLiteral("minstock"));
    const tarvex::Field* amount = data.findField(QStringLiteral("amount"));
    if (!minimum || !amount || minimum->index() < 0 || amount->index() < 0)
        return false;
    return data.valueAt(row, minimum->index()).toDouble() >= data.valueAt(row, amount->index()).toDouble();
}

void TProductWarehousesGroup::setRowsSql(QueryDataSet& pw, qint64 productId) const
{
    QString condition = QStringLiteral("pw.productid = :productid");
    const TProductOptions& options = ProductDM->Options;
    if (options.OnlyLocalDefaultWarehouseProds && !options.DefWarehouseName.isEmpty()) {
        const qint32 id = ProductDM->GetWarehouseIDByName(options.DefWarehouseName);
        if (id >= 1) {
            condition += QStringLiteral(" AND pw.warehouseid = :warehouseid");
            pw.setParam(QStringLiteral("warehouseid"), id);
        }
    }
    pw.setSql(productWarehouseRowsSql(condition));
    pw.setParam(QStringLiteral("productid"), productId);
}

void TProductWarehousesGroup::OpenWarehouses()
{
    const qint64 productId = currentProductId();
    QueryDataSet& pw = rows();
    pw.close();
    setRowsSql(pw, productId);
    pw.open();
    if (ProductDM->Options.CheckProductAmounts && !pw.isEmpty() && recount(productId)) {
        pw.close();
        pw.open();
    }
    showTotal();
}

bool TProductWarehousesGroup::recount(qint64 productId)
{
    // The documents are counted on a worker; the writing is quick.
    QMap<qint64, docrules::DocumentBalance> counted;
    const bool done = m_workerBar->run(database(), [&](QSqlDatabase worker, const TProgress& progress) {
        progress(QStringLiteral("Stanje iz dokumenata"), 0);
        counted = docrules::documentBalances(worker, productId);
    });
    // Stopped: the amounts stay as stored.
    if (!done)
        return false;
    QMap<qint64, double> amounts;
    for (auto it = counted.cbegin(); it != counted.cend(); ++it)
        amounts.insert(it.key(), it.value().balance());
    ProductDM->RecountProductWarehouses(productId, amounts);
    return true;
}

void TProductWarehousesGroup::showTotal()
{
    QueryDataSet& pw = rows();
    double total = 0;
    pw.disableControls();
    for (pw.first(); !pw.eof(); pw.next())
        total += pw.fieldByName(QStringLiteral("freeamount")).asFloat();
    pw.first();
    pw.enableControls();
    m_total->setText(tarvex::Format(PROD_WARE_TOTAL_FMT, {tarvex::FormatFloat(tarvex::QUANTITY_FORMAT, total)}));
}

void TProductWarehousesGroup::KasaAddDefaultProductWarehouseExecute()
{
    addToWarehouse(ProductDM->GetDefWarehouseID());
}

void TProductWarehousesGroup::KasaAddOtherProductWarehouseExecute()
{
    qint32 id = 0;
    QString name;
    if (GetWarehouse(id, name, false))
        addToWarehouse(id);
}

void TProductWarehousesGroup::WareHistoryButtonClick()
{
    OpenWareHistory(window());
}

void TProductWarehousesGroup::StockButtonClick()
{
    OpenStockHistory(window());
}

void TProductWarehousesGroup::addToWarehouse(qint64 warehouseId)
{
    const double price = ProductDM->ProductZQ->fieldByName(QStringLiteral("price")).asFloat();
    if (ProductDM->AddProductWarehouse(currentProductId(), warehouseId, price))
        tarvex::dialogs().information(PRODWARE_ADD_INF);
    else
        tarvex::dialogs().warning(PRODWARE_EXIST_WRN);
    OpenWarehouses();
}

} // namespace products
