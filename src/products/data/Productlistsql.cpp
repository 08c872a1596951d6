#include "Productlistsql.h"

namespace products {

QString taxFactorSql(const QString& tax)
{
    return QStringLiteral("(1+") + tax + QStringLiteral(".value/100)");
}

QString priceWithVatSql(const QString& price, const QString& tax)
{
    return price + QStringLiteral(" * ") + taxFactorSql(tax);
}

QString productListSql(const QString& warehouse, const QString& condition, const QString& joins)
{
    // DISTINCT: a product in several categories meets the category join once each.
    QString sql = QStringLiteral("SELECT DISTINCT p.*,") + priceWithVatSql(QStringLiteral("p.price")) +
                  QStringLiteral(" AS pricewithvat, (pw.price + 0.0) AS wh_price, ") +
                  priceWithVatSql(QStringLiteral("pw.price")) + QStringLiteral(" AS wh_pricewithvat, ") +
                  priceWithVatSql(QStringLiteral("p.recommendedprice")) +
                  QStringLiteral(" AS recommendedpricewithvat,(t.value+0.0) AS taxvalue,(pw.amount + 0.0) as "
                                 "primaryamount,(pw.reservedamount + 0.0) as reservedamount,(pw.reversedamount + 0.0) "
                                 "as reversedamount,(pw.amount - pw.reservedamount - pw.reversedamount) as "
                                 "freeamount,(pw.orderedamount + 0.0) as orderedamount FROM product AS p LEFT JOIN "
                                 "productcategorypr pc ON p.productid = pc.productid LEFT JOIN tax t ON p.taxid = "
                                 "t.taxid LEFT JOIN productwarehouse AS pw ON (p.productid = pw.productid AND "
                                 "pw.warehouseid = ") +
                  warehouse +
                  QStringLiteral(") LEFT JOIN productalter AS pa ON p.productid = pa.productid LEFT JOIN productdetail "
                                 "AS pd ON p.productid = pd.productid");
    if (!joins.isEmpty())
        sql += QLatin1Char(' ') + joins;
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return sql;
}

QString productWarehouseRowsSql(const QString& condition)
{
    return QStringLiteral("SELECT pw.*, CONCAT(w.name,'') AS name,pw.amount - pw.reservedamount - pw.reversedamount "
                          "AS freeamount,") +
           priceWithVatSql(QStringLiteral("pw.price")) +
           QStringLiteral(" AS pricevat FROM productwarehouse AS pw LEFT JOIN warehouse AS w ON pw.warehouseid = "
                          "w.warehouseid LEFT JOIN product AS p ON p.productid = pw.productid LEFT JOIN tax AS t ON "
                          "t.taxid = p.taxid WHERE ") +
           condition + QStringLiteral(" ORDER BY w.name");
}

} // namespace products
