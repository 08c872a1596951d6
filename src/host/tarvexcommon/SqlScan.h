#pragma once
// Reading the SQL text of a query dataset: its ":name" parameters and the
// tables of its FROM clause. Quoted texts, quoted identifiers and comments
// are skipped, so ':' or a table name inside them is never taken.

#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>
#include <functional>

namespace tarvex {

struct SqlParamRef {
    int start;      // position of the ':'
    int length;     // ':' and the name
    QString name;
};

// The ":name" parameters in text order (a name may appear several times).
QList<SqlParamRef> findSqlParams(const QString& sql);

// The text with every parameter replaced by the SQL literal of its value.
// A list value (QVariantList) stands for its items, comma-separated, as in
// "IN (:ids)"; an empty list for NULL, which such a condition never meets.
QString substituteSqlParams(const QString& sql, const std::function<QVariant(const QString& name)>& valueOf);

// The text with every parameter replaced by "?", and the values in the
// order of the marks: the statement as sent with bound values.
QString placeholderSql(const QString& sql, const std::function<QVariant(const QString& name)>& valueOf,
                       QVariantList& values);

// The text with each "?" mark (outside quotes and comments) replaced by the
// literal of the next value. Throws InternalError when marks and
// values differ in number.
QString substituteMarks(const QString& sql, const QVariantList& values);

// A value as an SQL literal: NULL; numbers with "." (no exponent); Booleans
// as 1 and 0; texts between single quotes with quotes doubled (sessions run
// with NO_BACKSLASH_ESCAPES); dates 'yyyy-mm-dd', date-times
// 'yyyy-mm-dd hh:mm:ss', times 'hh:mm:ss'; bytes as X'..'.
QString sqlLiteral(const QVariant& value);

struct SqlTableRef {
    QString table;
    QString alias;  // the name the columns are reported under: the alias, or the table itself
};

// The tables of the outermost SELECT's FROM clause and its joins, in order.
// Derived tables (sub-queries) are left out.
QList<SqlTableRef> findSelectTables(const QString& sql);

// A SELECT taken apart, for statements built from it (a list's keys, a page
// of its rows). Texts are as written.
struct SelectItem {
    QString expression;  // without its alias
    QString name;        // the column it gives ("price" of "p.price", an alias); empty for other expressions
    QString starOf;      // "p" for "p.*", "*" for "*"; empty for the rest
};
struct SelectJoin {
    QString text;            // from its join words to its end
    QString alias;
    bool leftOuter = false;  // LEFT [OUTER] JOIN: keeps every row of the tables before it
};
struct SelectParts {
    // One SELECT of tables and joins with at most a WHERE: nothing grouped,
    // ordered, limited or joined by UNION.
    bool simple = false;
    bool distinct = false;
    QList<SelectItem> items;
    QString first;          // the first table reference
    QList<SelectJoin> joins;
    QString where;          // the condition without WHERE; empty when none
    int headEnd = 0;        // where the FROM clause ends (the WHERE, or the end)
};
SelectParts splitSelect(const QString& sql);

// The names standing before a "." ("p" of "p.name"), in lower case.
QSet<QString> qualifiersIn(const QString& sql);

} // namespace tarvex
