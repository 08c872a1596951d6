#include "NativeRows.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "SqlScan.h"

#include <QSqlDriver>
#include <charconv>
#include <mysql.h>

namespace tarvex {

namespace {

MYSQL* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the type by the library's struct or its typedef.
    const char* type = handle.isValid() ? handle.typeName() : "";
    if (qstrcmp(type, "MYSQL*") != 0 && qstrcmp(type, "st_mysql*") != 0)
        throw InternalError(QStringLiteral("The connection has no MariaDB client handle (%1)").arg(QLatin1String(type)));
    return *static_cast<MYSQL* const*>(handle.constData());
}

DatabaseError errorOf(MYSQL* mysql, const QString& sql)
{
    return DatabaseError(int(mysql_errno(mysql)), QString::fromUtf8(mysql_error(mysql)), sql);
}

} // namespace

NativeRows Connection::readNative(const QString& sql, const QVariantList& values)
{
    const QString text = values.isEmpty() ? sql : substituteMarks(sql, values);
    const QByteArray utf8 = text.toUtf8();
    const bool repeatable = isRepeatable(sql);
    beforeStatement(!repeatable);
    for (int attempt = 0;; ++attempt) {
        MYSQL* mysql = handleOf(m_db);
        MYSQL_RES* result = nullptr;
        if (mysql_real_query(mysql, utf8.constData(), utf8.size()) == 0) {
            result = mysql_use_result(mysql);
            if (result || mysql_field_count(mysql) == 0) {
                used();
                return NativeRows(*this, mysql, result, text);
            }
        }
        const DatabaseError e = errorOf(mysql, text);
        if (attempt > 0 || !reopenForRetry(e, repeatable))
            failWith(e);
    }
}

void Connection::failWith(const DatabaseError& error)
{
    if (error.isConnectionLost()) {
        markLost(error);
        m_untoldLoss.reset();  // told right now
    }
    throw error;
}

NativeRows::NativeRows(Connection& connection, void* mysql, void* result, const QString& sql)
    : m_connection(&connection), m_mysql(mysql), m_result(result), m_sql(sql)
{
    if (m_result)
        m_columns = int(mysql_num_fields(static_cast<MYSQL_RES*>(m_result)));
}

NativeRows::NativeRows(NativeRows&& other) noexcept
    : m_connection(other.m_connection), m_mysql(other.m_mysql), m_result(other.m_result), m_sql(std::move(other.m_sql)),
      m_columns(other.m_columns), m_row(other.m_row), m_lengths(other.m_lengths)
{
    other.m_result = nullptr;
}

NativeRows::~NativeRows()
{
    // Reads what is left of the rows: the session is free again afterwards.
    if (m_result)
        mysql_free_result(static_cast<MYSQL_RES*>(m_result));
}

bool NativeRows::next()
{
    if (!m_result)
        return false;
    auto* result = static_cast<MYSQL_RES*>(m_result);
    m_row = mysql_fetch_row(result);
    if (m_row) {
        m_lengths = mysql_fetch_lengths(result);
        return true;
    }
    if (mysql_errno(static_cast<MYSQL*>(m_mysql)) != 0)
        fail();
    mysql_free_result(result);
    m_result = nullptr;
    return false;
}

void NativeRows::fail()
{
    const DatabaseError error = errorOf(static_cast<MYSQL*>(m_mysql), m_sql);
    mysql_free_result(static_cast<MYSQL_RES*>(m_result));
    m_result = nullptr;
    m_connection->failWith(error);
}

qint64 NativeRows::integer(int column) const
{
    qint64 value = 0;
    if (const char* text = m_row[column])
        std::from_chars(text, text + m_lengths[column], value);
    return value;
}

double NativeRows::number(int column) const
{
    // The server writes numbers with "." whatever the process's locale.
    double value = 0;
    if (const char* text = m_row[column])
        std::from_chars(text, text + m_lengths[column], value);
    return value;
}

QString NativeRows::text(int column) const
{
    return m_row[column] ? QString::fromUtf8(m_row[column], qsizetype(m_lengths[column])) : QString();
}

QDate NativeRows::date(int column) const
{
    const char* text = m_row[column];
    if (!text || m_lengths[column] < 10)
        return {};
    int y = 0, m = 0, d = 0;
    std::from_chars(text, text + 4, y);
    std::from_chars(text + 5, text + 7, m);
    std::from_chars(text + 8, text + 10, d);
    return QDate(y, m, d);
}

void NativeRows::copyTo(ResultStore& store, int row, int storeColumn, int column) const
{
    if (isNull(column)) {
        store.setNull(row, storeColumn);
        return;
    }
    switch (store.kind(storeColumn)) {
    case ResultStore::Kind::Integer: store.setInteger(row, storeColumn, integer(column)); break;
    case ResultStore::Kind::Number: store.setNumber(row, storeColumn, number(column)); break;
    case ResultStore::Kind::Date: store.setDate(row, storeColumn, date(column)); break;
    case ResultStore::Kind::Text:
    case ResultStore::Kind::Bytes: store.setBytes(row, storeColumn, data(column), size(column)); break;
    }
}

} // namespace tarvex
