#include "DemoSql.h"

#include "Connection.h"
#include "DatabaseError.h"

#include <QSqlError>
#include <QSqlQuery>

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

DeferredIndexes::DeferredIndexes(QSqlDatabase& db, const QStringList& tables) : m_db(db), m_tables(tables) {}

void DeferredIndexes::drop()
{
    for (const QString& table : m_tables) {
        QSqlQuery query(m_db);
        // An index a foreign key stands on stays (the server refuses to drop it).
        query.prepare(QStringLiteral(
            "SELECT INDEX_NAME, NON_UNIQUE, COLUMN_NAME, SUB_PART, INDEX_TYPE FROM information_schema.STATISTICS AS s "
            "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? AND INDEX_NAME <> 'PRIMARY' AND NOT EXISTS (SELECT 1 "
            "FROM information_schema.STATISTICS AS f INNER JOIN information_schema.KEY_COLUMN_USAGE AS k ON "
            "k.TABLE_SCHEMA = f.TABLE_SCHEMA AND k.TABLE_NAME = f.TABLE_NAME AND k.COLUMN_NAME = f.COLUMN_NAME WHERE "
            "f.TABLE_SCHEMA = s.TABLE_SCHEMA AND f.TABLE_NAME = s.TABLE_NAME AND f.INDEX_NAME = s.INDEX_NAME AND "
            "f.SEQ_IN_INDEX = 1 AND k.REFERENCED_TABLE_NAME IS NOT NULL) ORDER BY INDEX_NAME, SEQ_IN_INDEX"));
        query.addBindValue(table);
        if (!query.exec())
            throw DatabaseError::fromSqlError(query.lastError(), query.lastQuery());
        QStringList names;
        QStringList definitions;
        QStringList columns;
        QString kind;
        auto close = [&] {
            if (!names.isEmpty() && !columns.isEmpty())
                definitions << QStringLiteral("ADD %1 %2 (%3)").arg(kind, quoteIdentifier(names.last()),
                                                                   columns.join(QLatin1Char(',')));
            columns.clear();
        };
        while (query.next()) {
            const QString name = query.value(0).toString();
            if (names.isEmpty() || names.last() != name) {
                close();
                names << name;
                kind = query.value(4).toString() == QLatin1String("FULLTEXT") ? QStringLiteral("FULLTEXT KEY")
                       : query.value(1).toInt() == 0                          ? QStringLiteral("UNIQUE KEY")
                                                                              : QStringLiteral("KEY");
            }
            QString column = quoteIdentifier(query.value(2).toString());
            if (!query.value(3).isNull())
                column += QStringLiteral("(%1)").arg(query.value(3).toInt());
            columns << column;
        }
        close();
        if (names.isEmpty())
            continue;
        QStringList drops;
        for (const QString& name : names)
            drops << QStringLiteral("DROP INDEX %1").arg(quoteIdentifier(name));
        execSql(m_db, QStringLiteral("ALTER TABLE %1 %2").arg(quoteIdentifier(table), drops.join(QStringLiteral(", "))));
        m_restoreStatements << QStringLiteral("ALTER TABLE %1 %2").arg(quoteIdentifier(table),
                                                                      definitions.join(QStringLiteral(", ")));
    }
}

void DeferredIndexes::restore()
{
    for (const QString& statement : m_restoreStatements)
        execSql(m_db, statement);
    m_restoreStatements.clear();
}

} // namespace tarvex::demo
