#include "Inventorystockpriceunit.h"

#include "MemoryTable.h"
#include "QueryDataSet.h"

#include <QHBoxLayout>
#include <QLabel>

namespace products {

TInventoryStockPriceForm::TInventoryStockPriceForm(qint32 warehouseId, const QString& warehouseName,
                                                   QWidget* parent)
    : TStockCardWindow(QStringLiteral("Zalihe magacina (cene sa robnih kartica)"), warehouseName, parent),
      m_warehouseId(warehouseId)
{
    DefineInventoryStockPriceFields(*CDS());
    showTable();
    InventoryZQ()->setParam(QStringLiteral("IDWarehouse"), warehouseId);
    m_total = newFigureLabel(StockPriceTotalText(0));
    bottomRow()->insertWidget(0, m_total);
    resize(820, 520);
}

void TInventoryStockPriceForm::OpenList()
{
    openProductList([](tarvex::QueryDataSet& list) { list.setSql(kStockPriceProductsSql); });
}

void TInventoryStockPriceForm::FindButtonClick()
{
    QHash<qint64, TStockPrice> cards;
    readCards([&](QSqlDatabase db, const QString& date) { cards = CalculateAllPrices(db, m_warehouseId, date); },
              [&] { m_total->setText(StockPriceTotalText(ShowInventoryStockPrice(cards, *InventoryZQ(), *CDS()))); });
}

void OpenInventoryStockPrice(qint32 WarehouseID, const QString& WarehouseName)
{
    TListReportWindow::OpenModal(new TInventoryStockPriceForm(WarehouseID, WarehouseName));
}

} // namespace products
