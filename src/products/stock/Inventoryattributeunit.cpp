#include "Inventoryattributeunit.h"

namespace products {

TInventoryAttributeForm::TInventoryAttributeForm(qint32 warehouseId, const QString& warehouseName, QWidget* parent)
    : TInventoryWindow(QStringLiteral("Zalihe magacina (atributi)"), warehouseId, warehouseName, parent)
{
    setColumns({
        {"name", "Proizvod", nullptr},
        {"code", "Kod", nullptr},
        {"unitname", "JM", nullptr},
        {"attname1", "Atribut 1", nullptr},
        {"attvalue1", "Vrednost atr. 1", nullptr},
        {"attname2", "Atribut 2", nullptr},
        {"attvalue2", "Vrednost atr. 2", nullptr},
        {"prodattbarcode", "Barkod", nullptr},
        {"amount", "Količina", "0.###"},
    });
    resize(1000, 520);
}

QString TInventoryAttributeForm::statement(bool excludeServices, bool excludeZero) const
{
    return InventoryAttributeStatement(excludeServices, excludeZero);
}

void OpenWarehouseInventoryAttribute(qint32 WarehouseID, const QString& WarehouseName)
{
    TListReportWindow::OpenModal(new TInventoryAttributeForm(WarehouseID, WarehouseName));
}

} // namespace products
