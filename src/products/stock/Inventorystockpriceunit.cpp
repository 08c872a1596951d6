#include "Inventorystockpriceunit.h"

#include "BusyCursor.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Guarded.h"
#include "MemoryTable.h"
#include "Modal.h"
#include "Productdmunit.h"
#include "QueryDataSet.h"

#include <QApplication>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>

namespace products {

TInventoryStockPriceForm::TInventoryStockPriceForm(qint32 warehouseId, const QString& warehouseName,
                                                   QWidget* parent)
    : TStockCardWindow(QStringLiteral("Zalihe magacina (cene sa robnih kartica)"), warehouseName, parent),
      m_warehouseId(warehouseId)
{
    DefineInventoryStockPriceFields(*CDS());
    showTable();
    InventoryZQ()->setParam(QStringLiteral("IDWarehouse"), warehouseId);
    m_total = new QLabel(StockPriceTotalText(0), this);
    QFont bold = m_total->font();
    bold.setBold(true);
    m_total->setFont(bold);
    bottomRow()->insertWidget(0, m_total);
    resize(820, 520);
}

void TInventoryStockPriceForm::OpenList()
{
    openProductList([](tarvex::QueryDataSet& list) { list.setSql(kStockPriceProductsSql); });
}

void TInventoryStockPriceForm::FindButtonClick()
{
    tarvex::guarded([&] {
        QHash<qint64, TStockPrice> cards;
        const QString date = ToDateText();
        const bool done = runOnWorker([&](QSqlDatabase db, const TProgress& progress) {
            progress(QStringLiteral("Robne kartice"), 0);
            cards = CalculateAllPrices(db, m_warehouseId, date);
        });
        // Stopped: the list and its total stay as they were.
        if (done)
            m_total->setText(StockPriceTotalText(ShowInventoryStockPrice(cards, *InventoryZQ(), *CDS())));
    });
    QApplication::processEvents();
}

void OpenInventoryStockPrice(qint32 WarehouseID, const QString& WarehouseName)
{
    auto* form = new TInventoryStockPriceForm(WarehouseID, WarehouseName);
    TReportWindow::ShowBeforeReading(*form);
    form->OpenList();
    tarvex::execModal(*form);
}

} // namespace products
