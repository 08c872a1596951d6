#include "Bulkread.h"

#include "Connection.h"

#include <optional>

namespace products {

QSqlQuery selectRows(QSqlDatabase db, const QString& sql, const QVariantList& values)
{
    // Through the Connection working on the Qt connection, so a lost session
    // is handled as everywhere; one that has none gets one for the statement.
    std::optional<tarvex::Connection> own;
    tarvex::Connection* connection = tarvex::Connection::working(db);
    if (!connection)
        connection = &own.emplace(db);
    QSqlQuery query = connection->prepare(sql);
    // Doubles as doubles: the default precision reads them through text.
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    connection->exec(query);
    return query;
}

QDate dateOfDayNumber(const QVariant& days)
{
    return days.isNull() ? QDate() : dateOfDayNumber(days.toLongLong());
}

QDate dateOfDayNumber(qint64 days)
{
    // TO_DAYS('1970-01-01') is 719528, its Julian day 2440588.
    constexpr qint64 kJulianOfDayZero = 2440588 - 719528;
    return QDate::fromJulianDay(days + kJulianOfDayZero);
}

TBulkRows::TBulkRows(QSqlDatabase db, const QString& sql, const QVariantList& values)
{
    tarvex::Connection* connection = tarvex::Connection::working(db);
    if (!connection) {
        m_own = std::make_unique<tarvex::Connection>(db);
        connection = m_own.get();
    }
    m_rows.emplace(connection->readNative(sql, values));
}

// The rows go before the connection they are read on.
TBulkRows::~TBulkRows()
{
    m_rows.reset();
}

} // namespace products
