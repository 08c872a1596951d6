#include "Inventoryallwarehousesunit.h"

namespace products {

TInventoryAllWarehousesForm::TInventoryAllWarehousesForm(QWidget* parent)
    : TInventoryWindow(QStringLiteral("Zalihe (količine iz svih magacina)"), 0, QString(), parent)
{
    setColumns({
        {"name", "Proizvod", nullptr},
        {"code", "Kod", nullptr},
        {"unitname", "JM", nullptr},
        {"sumamount", "Količina", "0.###"},
    });
    opensRowProduct();
    resize(720, 520);
}

QString TInventoryAllWarehousesForm::statement(bool excludeServices, bool excludeZero) const
{
    return InventoryAllWarehousesStatement(excludeServices, excludeZero);
}

void OpenInventoryAllWarehouses()
{
    TListReportWindow::OpenModal(new TInventoryAllWarehousesForm);
}

} // namespace products
