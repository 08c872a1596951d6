#include "Inventoryquantitydata.h"

#include "Connection.h"
#include "Controlsoff.h"
#include "Format.h"
#include "MemoryTable.h"
#include "QueryDataSet.h"
#include "Reportfields.h"

#include <QSqlQuery>

namespace products {

namespace {

const QString kOneWarehouseListSql = QStringLiteral(
    "SELECT p.name,p.code,p.unitname,pw.amount,p.productid FROM productwarehouse AS pw LEFT JOIN product AS p ON "
    "p.productid = pw.productid WHERE pw.warehouseid = :warehouseid ORDER BY p.name");
// Grouped by the stock rows' own key, which the server reads in order; by
// the joined product's key it sorts them all first, several times slower.
const QString kAllWarehousesListSql = QStringLiteral(
    "SELECT p.name,p.code,p.unitname,SUM(pw.amount) AS amount,p.productid FROM productwarehouse AS pw LEFT JOIN "
    "product AS p ON p.productid = pw.productid GROUP BY pw.productid ORDER BY p.name");
const QString kSomeWarehousesListSql = QStringLiteral(
    "SELECT p.name,p.code,p.unitname,SUM(pw.amount) AS amount,p.productid FROM productwarehouse AS pw LEFT JOIN "
    "product AS p ON p.productid = pw.productid WHERE pw.warehouseid IN (:warehouseids) GROUP BY pw.productid ORDER "
    "BY p.name");
const QString kRetailWarehousesSql = QStringLiteral("SELECT warehouseid FROM warehouse WHERE pricetype = 'm'");

const QString kOneWarehouseCardSql = QStringLiteral(
    "SELECT SUM(dfi.inquantity) AS SumAmountIn,SUM(dfi.outquantity) AS SumAmountOut FROM docfinitem AS dfi LEFT "
    "JOIN document AS d ON dfi.documentid = d.documentid WHERE dfi.productid = ? AND dfi.warehouseid = ? AND "
    "d.documentdate <= ? GROUP BY dfi.productid");
const QString kAllWarehousesCardSql = QStringLiteral(
    "SELECT SUM(dfi.inquantity) AS SumAmountIn,SUM(dfi.outquantity) AS SumAmountOut FROM docfinitem AS dfi LEFT "
    "JOIN document AS d ON dfi.documentid = d.documentid WHERE dfi.productid = ? AND d.documentdate <= ? GROUP "
    "BY dfi.productid");
const QString kSomeWarehousesCardSql = QStringLiteral(
    "SELECT SUM(dfi.inquantity) AS SumAmountIn,SUM(dfi.outquantity) AS SumAmountOut FROM docfinitem AS dfi LEFT "
    "JOIN document AS d ON dfi.documentid = d.documentid WHERE dfi.productid = ? AND dfi.warehouseid IN (%s) AND "
    "d.documentdate <= ? GROUP BY dfi.productid");

// Every product's card sums in one pass, for the whole list at once. The
// entries drive the join: led by the documents' dates the server reads the
// entries in a scattered order, several times slower.
const QString kCardSumsSql = QStringLiteral(
    "SELECT dfi.productid,SUM(dfi.inquantity) AS SumAmountIn,SUM(dfi.outquantity) AS SumAmountOut FROM docfinitem "
    "AS dfi STRAIGHT_JOIN document AS d ON dfi.documentid = d.documentid WHERE %s d.documentdate <= ? GROUP BY "
    "dfi.productid");


// One placeholder per warehouse of the list, each id bound.
QString idMarks(const QString& ids, QVariantList& values)
{
    QStringList marks;
    for (const QString& id : ids.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        marks << QStringLiteral("?");
        values << id.trimmed().toLongLong();
    }
    return marks.join(QLatin1Char(','));
}

} // namespace

TQuantityScope QuantityScope(QSqlDatabase db, qint32 warehouseId)
{
    TQuantityScope scope;
    scope.warehouseId = warehouseId;
    if (warehouseId >= 0)
        return scope;
    QStringList ids;
    QSqlQuery retail = tarvex::selectSql(db, kRetailWarehousesSql);
    while (retail.next())
        ids << QString::number(retail.value(0).toLongLong());
    // No retail warehouse: the list of "0" matches no stock.
    scope.warehouseIds = ids.isEmpty() ? QStringLiteral("0") : ids.join(QLatin1Char(','));
    return scope;
}

void SetInventoryQuantityList(tarvex::QueryDataSet& list, const TQuantityScope& scope)
{
    if (scope.warehouseId > 0) {
        list.setSql(kOneWarehouseListSql);
        list.setParam(QStringLiteral("warehouseid"), scope.warehouseId);
    } else if (scope.warehouseId == 0) {
        list.setSql(kAllWarehousesListSql);
    } else {
        QVariantList ids;
        idMarks(scope.warehouseIds, ids);
        list.setSql(kSomeWarehousesListSql);
        list.setParam(QStringLiteral("warehouseids"), ids);
    }
}

TStockQuantities CalculateQuantities(QSqlDatabase db, const TQuantityScope& scope, qint64 productId,
                                     const QString& date)
{
    QString sql;
    QVariantList values{productId};
    if (scope.warehouseId > 0) {
        sql = kOneWarehouseCardSql;
        values << scope.warehouseId;
    } else if (scope.warehouseId == 0) {
        sql = kAllWarehousesCardSql;
    } else {
        sql = tarvex::Format(kSomeWarehousesCardSql, {idMarks(scope.warehouseIds, values)});
    }
    values << date;
    QSqlQuery card = tarvex::selectSql(db, sql, values);
    TStockQuantities quantities;
    if (!card.next())
        return quantities;
    const double in = card.value(0).toDouble();
    const double out = card.value(1).toDouble();
    if (!IsZeroQuantity(in) || !IsZeroQuantity(out)) {
        quantities.amountIn = in;
        quantities.amountOut = out;
    }
    return quantities;
}

QHash<qint64, TStockQuantities> CalculateAllQuantities(QSqlDatabase db, const TQuantityScope& scope,
                                                       const QString& date)
{
    QString where;
    QVariantList values;
    if (scope.warehouseId > 0) {
        where = QStringLiteral("dfi.warehouseid = ? AND");
        values << scope.warehouseId;
    } else if (scope.warehouseId < 0) {
        where = tarvex::Format(QStringLiteral("dfi.warehouseid IN (%s) AND"), {idMarks(scope.warehouseIds, values)});
    }
    values << date;
    QSqlQuery card = tarvex::selectSql(db, tarvex::Format(kCardSumsSql, {where}), values);
    QHash<qint64, TStockQuantities> all;
    while (card.next()) {
        const double in = card.value(1).toDouble();
        const double out = card.value(2).toDouble();
        if (!IsZeroQuantity(in) || !IsZeroQuantity(out))
            all.insert(card.value(0).toLongLong(), TStockQuantities{in, out});
    }
    return all;
}

void DefineInventoryQuantityFields(tarvex::MemoryTable& table)
{
    using tarvex::FieldType;
    AddProductTextFields(table);
    AddQuantityInOutFields(table);
    tarvex::Field& product = table.addField(QStringLiteral("productid"), FieldType::Integer);
    product.setDisplayLabel(QStringLiteral("Proizvod"));
    product.setVisible(false);
}

void FillInventoryQuantities(QSqlDatabase db, const TQuantityScope& scope, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const QString& date, const TProgress& progress)
{
    if (progress)
        progress(QStringLiteral("Robne kartice"), 0);
    ShowInventoryQuantities(CalculateAllQuantities(db, scope, date), products, table, progress);
}

void ShowInventoryQuantities(const QHash<qint64, TStockQuantities>& cards, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const TProgress& progress)
{
    TControlsOff off(table);
    table.emptyDataSet();
    if (products.isActive()) {
        const tarvex::Field& productId = products.fieldByName(QStringLiteral("productid"));
        for (products.first(); !products.eof(); products.next()) {
            const TStockQuantities quantities = cards.value(productId.asLargeInt());
            const double balance = quantities.amountIn - quantities.amountOut;
            if (IsZeroQuantity(balance))
                continue;
            table.append();
            CopyProductTextFields(products, table);
            table.fieldByName(QStringLiteral("amountin")).setValue(quantities.amountIn);
            table.fieldByName(QStringLiteral("amountout")).setValue(quantities.amountOut);
            table.fieldByName(QStringLiteral("amountbalance")).setValue(balance);
            table.fieldByName(QStringLiteral("productid")).setValue(productId.value());
            table.post();
            if (progress && table.recordCount() % 5000 == 0)
                progress(QStringLiteral("Proizvodi"), table.recordCount());
        }
    }
    table.first();
}

} // namespace products
