#include "Documentrules.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Format.h"

#include <QSqlError>
#include <QSqlQuery>

namespace products::docrules {

double StockCardBalance::price() const
{
    const double q = quantity();
    return q == 0 ? 0 : value() / q;
}

QMap<qint64, DocumentBalance> documentBalances(QSqlDatabase db, qint64 productId, const QDate& cutoff)
{
    QString sql = QStringLiteral("SELECT w.warehouseid, %1 AS input, %2 AS output %3 %4 WHERE %5 AND di.productid = ?")
                      .arg(kInputSum, kOutputSum, kLinesJoin, kWarehouseJoin, kStockFilter);
    QVariantList values{productId};
    if (cutoff.isValid()) {
        sql += QStringLiteral(" AND d.documentdate <= ?");
        values << cutoff.toString(Qt::ISODate);
    }
    sql += QStringLiteral(" GROUP BY w.warehouseid");
    QMap<qint64, DocumentBalance> balances;
    QSqlQuery query = tarvex::selectSql(db, sql, values);
    while (query.next()) {
        if (query.value(0).isNull())
            continue; // lines of documents that name no existing warehouse
        balances[query.value(0).toLongLong()] = DocumentBalance{query.value(1).toDouble(), query.value(2).toDouble()};
    }
    return balances;
}

DocumentBalance documentBalance(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QDate& cutoff)
{
    return documentBalances(db, productId, cutoff).value(warehouseId);
}

StockCardBalance stockCardBalance(QSqlDatabase db, qint64 productId, const QList<qint64>& warehouses,
                                  const QDate& cutoff)
{
    QString sql = QStringLiteral("SELECT SUM(dfi.inquantity), SUM(dfi.outquantity), SUM(dfi.debit), SUM(dfi.credit) "
                                 "%1 WHERE dfi.productid = ? AND d.documentdate <= ?")
                      .arg(kStockCardJoin);
    QVariantList values{productId, cutoff.toString(Qt::ISODate)};
    if (!warehouses.isEmpty()) {
        QStringList marks;
        for (qint64 id : warehouses) {
            marks << QStringLiteral("?");
            values << id;
        }
        sql += QStringLiteral(" AND dfi.warehouseid IN (%1)").arg(marks.join(QLatin1Char(',')));
    }
    QSqlQuery query = tarvex::selectSql(db, sql, values);
    StockCardBalance balance;
    if (query.next()) {
        balance.inQuantity = query.value(0).toDouble();
        balance.outQuantity = query.value(1).toDouble();
        balance.debit = query.value(2).toDouble();
        balance.credit = query.value(3).toDouble();
    }
    return balance;
}

QMap<qint64, double> salesByWarehouse(QSqlDatabase db, qint64 productId, const QDate& from, const QDate& to)
{
    const QString sql =
        QStringLiteral("SELECT SUM(di.quantity) AS saleamount, d.warehouseid FROM documentitem AS di LEFT JOIN "
                       "document AS d ON di.documentid = d.documentid WHERE d.documentdate >= ? AND "
                       "d.documentdate <= ? AND d.documenttype IN ('R','M') AND di.productid = ? GROUP BY "
                       "d.warehouseid");
    QMap<qint64, double> sales;
    QSqlQuery query = tarvex::selectSql(db, sql, {from.toString(Qt::ISODate), to.toString(Qt::ISODate), productId});
    while (query.next())
        sales[query.value(1).toLongLong()] = query.value(0).toDouble();
    return sales;
}

LastSupply lastSupply(QSqlDatabase db, qint64 productId)
{
    LastSupply result;
    QSqlQuery supply = tarvex::selectSql(
        db, tarvex::Format(QStringLiteral("SELECT d.documentdate, p.name FROM documentitem AS di LEFT JOIN document AS "
                                          "d ON di.documentid = d.documentid LEFT JOIN partner AS p ON d.partnerid = "
                                          "p.partnerid WHERE (((d.documenttype IN ('K')) AND (di.quantity > 0)) OR "
                                          "((d.documenttype IN ('W')) AND (di.quantity < 0))) AND d.docreturn = 'n' "
                                          "AND di.productid = ? AND NOT(d.documentid IN %s) ORDER BY "
                                          "d.documentdate DESC, d.documentid DESC LIMIT 1"),
                           {kSupplyExclusions}),
        {productId});
    if (supply.next()) {
        result.found = true;
        result.date = supply.value(0).toDate();
        result.partner = supply.value(1).toString();
        return result;
    }
    QSqlQuery entry = tarvex::selectSql(
        db, tarvex::Format(QStringLiteral("SELECT d.documentdate FROM documentitem AS di LEFT JOIN document AS d ON "
                                          "di.documentid = d.documentid WHERE d.documenttype IN ('G') AND "
                                          "d.docreturn = 'n' AND di.productid = ? AND NOT(d.documentid IN %s) "
                                          "ORDER BY d.documentdate DESC LIMIT 1"),
                           {kSupplyExclusions}),
        {productId});
    if (entry.next()) {
        result.found = true;
        result.date = entry.value(0).toDate();
    }
    return result;
}

} // namespace products::docrules
