#pragma once
// Writing the demo data fast: rows go out as multi-row INSERT statements of a
// few thousand rows, and the statements are committed in groups, so filling a
// large database takes seconds per million rows instead of minutes.

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tarvex::demo {

// The session the demo data is written in: one open transaction at a time,
// committed every few statements, and the rows written per table.
class DemoWriter {
public:
    explicit DemoWriter(QSqlDatabase& db);
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // Runs a statement inside the current transaction (throws DatabaseError).
    void execute(const QString& sql);
    // Commits what is written so far.
    void commit();

    void addRows(const QString& table, qint64 rows);
    // Rows written per table, in the order the tables were first written.
    const QList<QPair<QString, qint64>>& rowCounts() const { return m_rows; }

private:
    void begin();

    QSqlDatabase& m_db;
    bool m_open = false;
    int m_statementsInTransaction = 0;
    QList<QPair<QString, qint64>> m_rows;
};

// Rows of one table, sent as multi-row INSERT statements. Numbers are written
// from whole numbers of cents or thousandths, so the text is exact and never
// depends on a locale.
class DemoInsert {
public:
    DemoInsert(DemoWriter& writer, const QString& table, const QString& columns);
    DemoInsert(const DemoInsert&) = delete;
    DemoInsert& operator=(const DemoInsert&) = delete;

    // Starts the next row; the values follow in column order.
    DemoInsert& row();
    DemoInsert& integer(qint64 value);
    // value / 10^decimals, e.g. cents with decimals 2.
    DemoInsert& scaled(qint64 value, int decimals);
    DemoInsert& text(const QString& value);
    // NULL for a null QString.
    DemoInsert& optionalText(const QString& value);
    DemoInsert& null();

    // Sends the rows still buffered.
    void finish();
    qint64 rowsWritten() const { return m_total; }

private:
    void separate();
    void closeRow();
    void flush();

    DemoWriter& m_writer;
    QString m_table;
    QString m_head;
    QString m_sql;
    int m_rowsInStatement = 0;
    bool m_inRow = false;
    bool m_firstValue = true;
    qint64 m_total = 0;
};

// Secondary indexes of the big tables, dropped while the rows go in and built
// again afterwards: building an index from sorted rows is many times faster
// than keeping it up to date row by row once it outgrows the buffer pool.
// The definitions are read from the database, so the schema stays the one
// place that says what they are.
class DeferredIndexes {
public:
    DeferredIndexes(QSqlDatabase& db, const QStringList& tables);

    // Reads and drops the indexes (ALTER TABLE commits any open transaction).
    void drop();
    // Builds every dropped index again.
    void restore();

private:
    QSqlDatabase& m_db;
    QStringList m_tables;
    QStringList m_restoreStatements;
};

// value / 10^decimals as a decimal text with "." and no trailing zeros.
QString scaledText(qint64 value, int decimals);

} // namespace tarvex::demo
