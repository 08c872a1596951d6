#include "Productlookups.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Format.h"
#include "Rounding.h"
#include "SqlText.h"

#include <QSqlError>
#include <QSqlQuery>

namespace products::lookups {

namespace {

// The first row's first value, or an invalid QVariant without a row.
QVariant firstValue(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query = tarvex::selectSql(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

bool hasRow(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    return tarvex::selectSql(db, sql, values).next();
}

} // namespace

double GetProductPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId)
{
    return firstValue(db, QStringLiteral("SELECT price FROM productwarehouse WHERE productid = ? AND warehouseid = ?"),
                      {productId, warehouseId})
        .toDouble();
}

double GetProductAmount(QSqlDatabase db, qint64 productId, qint64 warehouseId)
{
    return firstValue(db, QStringLiteral("SELECT amount FROM productwarehouse WHERE productid = ? AND warehouseid = ?"),
                      {productId, warehouseId})
        .toDouble();
}

bool ProductGetAmounts(QSqlDatabase db, qint64 productId)
{
    const QVariant sum = firstValue(
        db, QStringLiteral("SELECT SUM(amount) AS productamounts FROM productwarehouse WHERE productid = ? GROUP BY productid"),
        {productId});
    return sum.isValid() && !tarvex::IsZero6(sum.toDouble());
}

QString GetProductCurrency(QSqlDatabase db, qint64 productId)
{
    return firstValue(db, QStringLiteral("SELECT pricecurrency FROM product WHERE productid = ?"), {productId})
        .toString();
}

bool PreceptExist(QSqlDatabase db, const QString& kind, qint64 id)
{
    return tarvex::selectSql(db,
                             QStringLiteral("SELECT pi.* FROM preceptitem AS pi LEFT JOIN accountnew AS an ON "
                                            "pi.accountnewid = an.accountnewid WHERE an.type = ? AND pi.foreignid = ?"),
                             {kind, id})
        .next();
}

bool CheckOnlyLowestCategory(QSqlDatabase db, const tarvex::TIntArray& ids)
{
    bool any = false;
    for (qint32 id : ids)
        any = hasRow(db, QStringLiteral("SELECT categoryprid FROM categorypr WHERE parentid = ?"), {id}) || any;
    return any;
}

} // namespace products::lookups
