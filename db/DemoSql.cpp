#include "DemoSql.h"

#include "Connection.h"

namespace tarvex::demo {

namespace {

// A few thousand rows per statement stays far below max_allowed_packet and
// gets most of the speed multi-row inserts give.
constexpr int kRowsPerStatement = 2500;
constexpr int kCharsPerStatement = 700 * 1024;
// Commit about every 25 000 rows: short enough that a stopped run leaves
// little to roll back, long enough that flushing the log costs nothing.
constexpr int kStatementsPerTransaction = 10;

} // namespace

DemoWriter::DemoWriter(QSqlDatabase& db) : m_db(db) {}

void DemoWriter::begin()
{
    execSql(m_db, QStringLiteral("START TRANSACTION"));
    m_open = true;
    m_statementsInTransaction = 0;
}

void DemoWriter::execute(const QString& sql)
{
    if (!m_open)
        begin();
    execSql(m_db, sql);
    if (++m_statementsInTransaction >= kStatementsPerTransaction)
        commit();
}

void DemoWriter::commit()
{
    if (!m_open)
        return;
    execSql(m_db, QStringLiteral("COMMIT"));
    m_open = false;
}

void DemoWriter::addRows(const QString& table, qint64 rows)
{
    for (auto& entry : m_rows) {
        if (entry.first == table) {
            entry.second += rows;
            return;
        }
    }
    m_rows.append({table, rows});
}

QString scaledText(qint64 value, int decimals)
{
    qint64 unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(-value) : quint64(value);
    QString text;
    if (negative)
        text += QLatin1Char('-');
    text += QString::number(magnitude / quint64(unit));
    quint64 fraction = magnitude % quint64(unit);
    if (fraction != 0) {
        int digits = decimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        text += QLatin1Char('.');
        text += QString::number(fraction).rightJustified(digits, QLatin1Char('0'));
    }
    return text;
}

DemoInsert::DemoInsert(DemoWriter& writer, const QString& table, const QString& columns)
    : m_writer(writer), m_table(table),
      m_head(QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns))
{
    m_sql.reserve(kCharsPerStatement + 4096);
    m_sql.append(m_head);
}

DemoInsert& DemoInsert::row()
{
    closeRow();
    if (m_rowsInStatement >= kRowsPerStatement || m_sql.size() >= kCharsPerStatement)
        flush();
    if (m_rowsInStatement > 0)
        m_sql += QLatin1Char(',');
    m_sql += QLatin1Char('(');
    m_inRow = true;
    m_firstValue = true;
    return *this;
}

void DemoInsert::separate()
{
    if (!m_firstValue)
        m_sql += QLatin1Char(',');
    m_firstValue = false;
}

DemoInsert& DemoInsert::integer(qint64 value)
{
    separate();
    m_sql += QString::number(value);
    return *this;
}

DemoInsert& DemoInsert::scaled(qint64 value, int decimals)
{
    separate();
    m_sql += scaledText(value, decimals);
    return *this;
}

DemoInsert& DemoInsert::text(const QString& value)
{
    separate();
    m_sql += quoteSqlText(value);
    return *this;
}

DemoInsert& DemoInsert::optionalText(const QString& value)
{
    return value.isNull() ? null() : text(value);
}

DemoInsert& DemoInsert::null()
{
    separate();
    m_sql += QLatin1String("NULL");
    return *this;
}

void DemoInsert::closeRow()
{
    if (!m_inRow)
        return;
    m_sql += QLatin1Char(')');
    m_inRow = false;
    ++m_rowsInStatement;
}

void DemoInsert::flush()
{
    if (m_rowsInStatement == 0)
        return;
    m_writer.execute(m_sql);
    m_writer.addRows(m_table, m_rowsInStatement);
    m_total += m_rowsInStatement;
    m_rowsInStatement = 0;
    m_sql.truncate(m_head.size()); // keeps the buffer for the next statement
}

void DemoInsert::finish()
{
    closeRow();
    flush();
}

} // namespace tarvex::demo
