#include "Inventoryattributeunit.h"

#include "Format.h"
#include "Modal.h"

namespace products {

// CONCAT(x,'') turns a missing attribute into NULL text, shown empty.
const QString kInventoryAttributeDesignSql = QStringLiteral(
    "SELECT paw.productattributeid,p.name,p.code,p.unitname,\n"
    "  CONCAT(a1.attribute,'') AS attname1, CONCAT(av1.attributevalue,'') AS attvalue1,\n"
    "  CONCAT(a2.attribute,'') AS attname2, CONCAT(av2.attributevalue,'') AS attvalue2,\n"
    "  pa.prodattbarcode,paw.amount\n"
    "FROM productattributewarehouse AS paw\n"
    "  LEFT JOIN productattribute AS pa ON paw.productattributeid = pa.productattributeid\n"
    "  LEFT JOIN attributepr AS a1 ON pa.attributeprid1 = a1.attributeprid LEFT JOIN attributeprvalue AS av1 ON "
    "pa.attributeprvalueid1 = av1.attributeprvalueid\n"
    "  LEFT JOIN attributepr AS a2 ON pa.attributeprid2 = a2.attributeprid LEFT JOIN attributeprvalue AS av2 ON "
    "pa.attributeprvalueid2 = av2.attributeprvalueid\n"
    "  LEFT JOIN product AS p ON p.productid = pa.productid\n"
    "WHERE paw.warehouseid = :IDWarehouse AND NOT (p.type = 'u') AND ROUND(paw.amount,3) != 0\n"
    "ORDER BY p.name, attname1, attvalue1, attname2, attvalue2");

namespace {

const QString kRunTimeSql = QStringLiteral(
    "SELECT paw.productattributeid,p.name,p.code,p.unitname,CONCAT(a1.attribute,'') AS attname1, "
    "CONCAT(av1.attributevalue,'') AS attvalue1,  CONCAT(a2.attribute,'') AS attname2, "
    "CONCAT(av2.attributevalue,'') AS attvalue2,pa.prodattbarcode,paw.amount FROM productattributewarehouse AS paw "
    "LEFT JOIN productattribute AS pa ON paw.productattributeid = pa.productattributeid  LEFT JOIN attributepr AS "
    "a1 ON pa.attributeprid1 = a1.attributeprid LEFT JOIN attributeprvalue AS av1 ON pa.attributeprvalueid1 = "
    "av1.attributeprvalueid  LEFT JOIN attributepr AS a2 ON pa.attributeprid2 = a2.attributeprid LEFT JOIN "
    "attributeprvalue AS av2 ON pa.attributeprvalueid2 = av2.attributeprvalueid  LEFT JOIN product AS p ON "
    "p.productid = pa.productid WHERE paw.warehouseid = :IDWarehouse %s %s ORDER BY p.name, attname1, attvalue1, "
    "attname2, attvalue2");

} // namespace

QString InventoryAttributeStatement(bool excludeServices, bool excludeZero)
{
    return tarvex::Format(kRunTimeSql, {excludeServices ? QStringLiteral("AND NOT (p.type = 'u')") : QString(),
                                        excludeZero ? QStringLiteral("AND ROUND(paw.amount,3) != 0") : QString()});
}

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

QString TInventoryAttributeForm::designStatement() const
{
    return kInventoryAttributeDesignSql;
}

QString TInventoryAttributeForm::runTimeStatement(bool excludeServices, bool excludeZero) const
{
    return InventoryAttributeStatement(excludeServices, excludeZero);
}

void OpenWarehouseInventoryAttribute(qint32 WarehouseID, const QString& WarehouseName)
{
    auto* form = new TInventoryAttributeForm(WarehouseID, WarehouseName);
    TReportWindow::ShowBeforeReading(*form);
    form->OpenList();
    tarvex::execModal(*form);
}

} // namespace products
