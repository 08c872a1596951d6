#include "Inventoryallwarehousesunit.h"

#include "DBGrid.h"
#include "Format.h"
#include "Modal.h"
#include "QueryDataSet.h"

namespace products {

const QString kInventoryAllWarehousesDesignSql =
    QStringLiteral("SELECT pw.productid,p.name,p.code,p.unitname,SUM(pw.amount) AS sumamount\n"
                   "FROM productwarehouse AS pw\n"
                   "  LEFT JOIN product AS p ON p.productid = pw.productid\n"
                   "WHERE NOT (p.type = 'u') AND ROUND(pw.amount,3) != 0\n"
                   "GROUP BY pw.productid\n"
                   "ORDER BY p.name");

namespace {

const QString kRunTimeSql = QStringLiteral(
    "SELECT pw.productid, p.name,p.code,p.unitname,SUM(pw.amount) AS sumamount FROM productwarehouse AS pw  LEFT "
    "JOIN product AS p ON pw.productid = p.productid  %s %s GROUP BY pw.productid ORDER BY p.name");

} // namespace

QString InventoryAllWarehousesStatement(bool excludeServices, bool excludeZero)
{
    // The zero exclusion opens the WHERE clause when the services one does not.
    const QString services = excludeServices ? QStringLiteral("WHERE NOT (p.type = 'u')") : QString();
    QString zero;
    if (excludeZero)
        zero = excludeServices ? QStringLiteral("AND ROUND(pw.amount,3) != 0")
                               : QStringLiteral("WHERE ROUND(pw.amount,3) != 0");
    return tarvex::Format(kRunTimeSql, {services, zero});
}

TInventoryAllWarehousesForm::TInventoryAllWarehousesForm(QWidget* parent)
    : TInventoryWindow(QStringLiteral("Zalihe (količine iz svih magacina)"), 0, QString(), parent)
{
    setColumns({
        {"name", "Proizvod", nullptr},
        {"code", "Kod", nullptr},
        {"unitname", "JM", nullptr},
        {"sumamount", "Količina", "0.###"},
    });
    connect(DBG(), &tarvex::DBGrid::recordDoubleClicked, this,
            &TInventoryAllWarehousesForm::InventoryAllWarehousesDBGDblClick);
    resize(720, 520);
}

QString TInventoryAllWarehousesForm::designStatement() const
{
    return kInventoryAllWarehousesDesignSql;
}

QString TInventoryAllWarehousesForm::runTimeStatement(bool excludeServices, bool excludeZero) const
{
    return InventoryAllWarehousesStatement(excludeServices, excludeZero);
}

void TInventoryAllWarehousesForm::InventoryAllWarehousesDBGDblClick()
{
    // An empty list passes 0, for which the product service opens nothing.
    OpenProduct(ZQ()->isActive() ? ZQ()->fieldByName(QStringLiteral("productid")).asLargeInt() : 0);
}

void OpenInventoryAllWarehouses()
{
    auto* form = new TInventoryAllWarehousesForm;
    TReportWindow::ShowBeforeReading(*form);
    form->OpenList();
    tarvex::execModal(*form);
}

} // namespace products
