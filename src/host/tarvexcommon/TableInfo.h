#pragma once
// What the datasets need to know of a table to write rows back: its columns,
// their defaults for new rows, the primary key and the auto-increment column.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tarvex {

struct ColumnInfo {
    QString name;
    // The literal default as text (numbers too, "" for an empty text); null
    // when the column has none or its default is NULL.
    QVariant defaultValue;
    // The default is an expression (CURRENT_TIMESTAMP and the like) that only
    // the server can evaluate.
    bool generatedDefault = false;
    bool nullable = true;
    bool primaryKey = false;
    bool autoIncrement = false;
};

struct TableInfo {
    QString name;
    QList<ColumnInfo> columns;   // in table order
    QStringList primaryKey;      // in table order; empty when the table has none

    bool exists() const { return !columns.isEmpty(); }
    const ColumnInfo* column(const QString& name) const;  // any letter case
    QString autoIncrementColumn() const;                   // empty when none
};

// Reads the table's description from information_schema of the current
// database. A missing table gives an empty description. Throws DatabaseError.
TableInfo readTableInfo(const QSqlDatabase& db, const QString& table);

// The value a COLUMN_DEFAULT text of information_schema stands for (see
// ColumnInfo); sets generated when it is an expression.
QVariant parseColumnDefault(const QVariant& columnDefault, bool* generated);

} // namespace tarvex
