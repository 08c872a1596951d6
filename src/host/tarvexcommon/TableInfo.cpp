#include "TableInfo.h"

#include "DatabaseError.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace tarvex {

const ColumnInfo* TableInfo::column(const QString& name) const
{
    for (const ColumnInfo& c : columns) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QString TableInfo::autoIncrementColumn() const
{
    for (const ColumnInfo& c : columns) {
        if (c.autoIncrement)
            return c.name;
    }
    return QString();
}

QVariant parseColumnDefault(const QVariant& columnDefault, bool* generated)
{
    *generated = false;
    // NOT NULL without a default reads as SQL NULL, a NULL default as the word.
    if (columnDefault.isNull())
        return QVariant();
    const QString text = columnDefault.toString().trimmed();
    if (text.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QVariant();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\''))) {
        QString inner = text.mid(1, text.size() - 2);
        inner.replace(QStringLiteral("''"), QStringLiteral("'"));
        return inner;
    }
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]*\\.?[0-9]+([eE][-+]?[0-9]+)?$"));
    if (number.match(text).hasMatch())
        return text;
    *generated = true;
    return QVariant();
}

TableInfo readTableInfo(const QSqlDatabase& db, const QString& table)
{
    const QString sql = QStringLiteral(
        "SELECT COLUMN_NAME, COLUMN_DEFAULT, IS_NULLABLE, COLUMN_KEY, EXTRA "
        "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? "
        "ORDER BY ORDINAL_POSITION");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DatabaseError::fromSqlError(query.lastError(), sql);
    query.addBindValue(table);
    if (!query.exec())
        throw DatabaseError::fromSqlError(query.lastError(), sql);

    TableInfo info;
    info.name = table;
    while (query.next()) {
        ColumnInfo column;
        column.name = query.value(0).toString();
        column.defaultValue = parseColumnDefault(query.value(1), &column.generatedDefault);
        column.nullable = query.value(2).toString() == QLatin1String("YES");
        column.primaryKey = query.value(3).toString() == QLatin1String("PRI");
        column.autoIncrement = query.value(4).toString().contains(QLatin1String("auto_increment"), Qt::CaseInsensitive);
        if (column.primaryKey)
            info.primaryKey.append(column.name);
        info.columns.append(column);
    }
    return info;
}

} // namespace tarvex
