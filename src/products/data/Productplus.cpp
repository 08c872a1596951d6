#include "Productplus.h"

#include "Connection.h"

#include <QSqlQuery>
#include <QVariant>

namespace products {

QList<qint64> TProductPlus::TakenPLUs(const QSqlDatabase& db, qint64 first, qint64 last) const
{
    QSqlQuery query = tarvex::selectSql(
        db, QStringLiteral("SELECT DISTINCT kasaplu FROM product WHERE kasaplu BETWEEN ? AND ? ORDER BY kasaplu"),
        {first, last});
    QList<qint64> taken;
    while (query.next())
        taken << query.value(0).toLongLong();
    return taken;
}

} // namespace products
