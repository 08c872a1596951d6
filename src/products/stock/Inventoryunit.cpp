#include "Inventoryunit.h"

#include "DBGrid.h"
#include "DataSet.h"
#include "DisplayFormat.h"
#include "Format.h"
#include "Modal.h"
#include "Productresourcestring.h"
#include "QueryDataSet.h"

#include <QHBoxLayout>
#include <QLabel>

namespace products {

const QString kInventoryDesignSql = QStringLiteral(
    "SELECT pw.productid,p.name,p.code,p.unitname,pw.amount,pw.price,pw.price * (1 + t.value/100) AS "
    "pricevat,pw.amount * pw.price AS ProductValue,pw.price * (1 + t.value/100) * pw.amount AS productvaluevat\n"
    "FROM productwarehouse AS pw\n"
    "  LEFT JOIN product AS p ON p.productid = pw.productid\n"
    "  LEFT JOIN tax AS t ON t.taxid = p.taxid\n"
    "WHERE pw.warehouseid = :IDWarehouse AND NOT (p.type = 'u') AND ROUND(pw.amount,3) != 0\n"
    "ORDER BY p.name");

namespace {

const QString kInventoryRunTimeSql = QStringLiteral(
    "SELECT pw.productid,p.name,p.code,p.unitname,pw.amount,pw.price,pw.price * (1 + t.value/100) AS "
    "pricevat,pw.amount * pw.price AS ProductValue,pw.price * (1 + t.value/100) * pw.amount AS productvaluevat "
    "FROM productwarehouse AS pw  LEFT JOIN product AS p ON pw.productid = p.productid  LEFT JOIN tax AS t ON "
    "p.taxid = t.taxid WHERE pw.warehouseid = :IDWarehouse %s %s ORDER BY p.name");
const QString kExcludeServices = QStringLiteral("AND NOT (p.type = 'u')");
// Rounded to three decimals: 0.0004 counts as nothing left, 0.001 does not.
const QString kExcludeZero = QStringLiteral("AND ROUND(pw.amount,3) != 0");
const QString kTotalFormat = tarvex::AMOUNT_FORMAT;

} // namespace

QString InventoryStatement(bool excludeServices, bool excludeZero)
{
    return tarvex::Format(kInventoryRunTimeSql,
                          {excludeServices ? kExcludeServices : QString(), excludeZero ? kExcludeZero : QString()});
}

TInventoryTotals SumInventory(tarvex::DataSet& inventory)
{
    TInventoryTotals totals;
    if (!inventory.isActive())
        return totals;
    const tarvex::Field& value = inventory.fieldByName(QStringLiteral("ProductValue"));
    const tarvex::Field& valueVat = inventory.fieldByName(QStringLiteral("productvaluevat"));
    TControlsOff off(inventory);
    for (inventory.first(); !inventory.eof(); inventory.next()) {
        totals.value += value.asFloat();
        totals.valueVat += valueVat.asFloat();
    }
    inventory.first();
    return totals;
}

QString InventoryTotalText(const TInventoryTotals& totals)
{
    return tarvex::Format(PROD_INVEN_TOTAL_FMT, {tarvex::FormatFloat(kTotalFormat, totals.value),
                                                 tarvex::FormatFloat(kTotalFormat, totals.valueVat)});
}

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
    m_total = new QLabel(this);
    QFont bold = m_total->font();
    bold.setBold(true);
    m_total->setFont(bold);
    bottomRow()->insertWidget(0, m_total);
    connect(DBG(), &tarvex::DBGrid::recordDoubleClicked, this, &TInventoryForm::InventoryDBGDblClick);
    resize(900, 520);
}

QString TInventoryForm::designStatement() const
{
    return kInventoryDesignSql;
}

QString TInventoryForm::runTimeStatement(bool excludeServices, bool excludeZero) const
{
    return InventoryStatement(excludeServices, excludeZero);
}

void TInventoryForm::listOpened()
{
    m_total->setText(InventoryTotalText(SumInventory(*ZQ())));
}

void TInventoryForm::InventoryDBGDblClick()
{
    // An empty list passes 0, for which the product service opens nothing.
    OpenProduct(ZQ()->isActive() ? ZQ()->fieldByName(QStringLiteral("productid")).asLargeInt() : 0);
}

void OpenWarehouseInventory(qint32 WarehouseID, const QString& WarehouseName)
{
    auto* form = new TInventoryForm(WarehouseID, WarehouseName);
    TReportWindow::ShowBeforeReading(*form);
    form->OpenList();
    tarvex::execModal(*form);
}

} // namespace products
