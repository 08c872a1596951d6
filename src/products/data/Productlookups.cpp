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
QVariant firstValue(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query = tarvex::selectSql(db, sql);
    return query.next() ? query.value(0) : QVariant();
}

bool hasRow(const QSqlDatabase& db, const QString& sql)
{
    return tarvex::selectSql(db, sql).next();
}

} // namespace

double GetProductPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId)
{
    return firstValue(db, tarvex::Format(QStringLiteral("SELECT price FROM productwarehouse WHERE productid = %d AND "
                                                        "warehouseid = %d"),
                                         {productId, warehouseId}))
        .toDouble();
}

double GetProductAmount(QSqlDatabase db, qint64 productId, qint64 warehouseId)
{
    return firstValue(db, tarvex::Format(QStringLiteral("SELECT amount FROM productwarehouse WHERE productid = %d AND "
                                                        "warehouseid = %d"),
                                         {productId, warehouseId}))
        .toDouble();
}

bool ProductGetAmounts(QSqlDatabase db, qint64 productId)
{
    const QVariant sum = firstValue(
        db, tarvex::Format(QStringLiteral("SELECT SUM(amount) AS productamounts FROM productwarehouse WHERE productid "
                                          "= %d GROUP BY productid"),
                           {productId}));
    return sum.isValid() && !tarvex::IsZero6(sum.toDouble());
}

QString GetProductCurrency(QSqlDatabase db, qint64 productId)
{
    return firstValue(db, tarvex::Format(QStringLiteral("SELECT pricecurrency FROM product WHERE productid = %d"),
                                         {productId}))
        .toString();
}

bool PreceptExist(QSqlDatabase db, const QString& kind, qint64 id)
{
    return hasRow(db, tarvex::Format(QStringLiteral("SELECT pi.* FROM preceptitem AS pi LEFT JOIN accountnew AS an ON "
                                                    "pi.accountnewid = an.accountnewid WHERE an.type = '%s' AND "
                                                    "pi.foreignid = %d"),
                                     {tarvex::AddSlashes(kind), id}));
}

bool CheckOnlyLowestCategory(QSqlDatabase db, const tarvex::TIntArray& ids)
{
    bool any = false;
    for (qint32 id : ids)
        any = hasRow(db, tarvex::Format(QStringLiteral("SELECT categoryprid FROM categorypr WHERE parentid = %d"), {id})) ||
              any;
    return any;
}

} // namespace products::lookups
