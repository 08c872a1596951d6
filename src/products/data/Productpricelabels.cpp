#include "Productpricelabels.h"

#include "Connection.h"
#include "Productrules.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace products {

QList<tarvex::TPriceLabelDesc> PriceLabelRows(const QSqlDatabase& db, const QList<qint64>& productIds,
                                              qint64 warehouseId)
{
    QList<tarvex::TPriceLabelDesc> rows;
    if (productIds.isEmpty())
        return rows;
    QStringList marks;
    for (int i = 0; i < productIds.size(); ++i)
        marks << QStringLiteral("?");
    const QString sql =
        QStringLiteral("SELECT p.productid, p.name, p.code, p.barcode, p.pricecurrency, "
                       "IF(pw.productid IS NULL, p.price, pw.price) AS netprice, t.value AS taxvalue "
                       "FROM product p "
                       "LEFT JOIN tax t ON t.taxid = p.taxid "
                       "LEFT JOIN productwarehouse pw ON pw.productid = p.productid AND pw.warehouseid = ? "
                       "WHERE p.productid IN (%1)")
            .arg(marks.join(QLatin1Char(',')));
    QVariantList values{warehouseId};
    for (qint64 id : productIds)
        values << id;
    QSqlQuery query = tarvex::selectSql(db, sql, values);
    while (query.next()) {
        tarvex::TPriceLabelDesc row;
        row.productId = query.value(0).toLongLong();
        row.name = query.value(1).toString();
        row.code = query.value(2).toString();
        row.barcode = query.value(3).toString().trimmed();
        row.currency = query.value(4).toString();
        const double net = query.value(5).toDouble();
        const double tax = query.value(6).toDouble();
        row.priceWithTax = productPriceWithVat(net, tax);
        rows << row;
    }
    return rows;
}

} // namespace products
