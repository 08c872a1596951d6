#include "Inventoryunit.h"

#include "QueryDataSet.h"

#include <QHBoxLayout>
#include <QLabel>

namespace products {

TInventoryForm::TInventoryForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent)
    : TInventoryWindow(QStringLiteral("Zalihe magacina (magacinske cene)"), warehouseId, warehouseName, parent)
{
    setColumns({
        {"name", "Proizvod", nullptr},
        {"code", "Kod", nullptr},
        {"unitname", "JM", nullptr},
        {"amount", "Količina", "0.###"},
        {"price", "Cena", "#,##0.00"},
        {"pricevat", "Cena+PDV", "#,##0.00"},
        {"ProductValue", "Vrednost", "#,##0.00"},
        {"productvaluevat", "Vred.+PDV", "#,##0.00"},
    });
    m_total = newFigureLabel();
    bottomRow()->insertWidget(0, m_total);
    opensRowProduct();
    resize(900, 520);
}

QString TInventoryForm::statement(bool excludeServices, bool excludeZero) const
{
    return InventoryStatement(excludeServices, excludeZero);
}

void TInventoryForm::listOpened()
{
    m_total->setText(InventoryTotalText(SumInventory(*ZQ())));
}

void OpenWarehouseInventory(qint32 WarehouseID, const QString& WarehouseName)
{
    TListReportWindow::OpenModal(new TInventoryForm(WarehouseID, WarehouseName));
}

} // namespace products
