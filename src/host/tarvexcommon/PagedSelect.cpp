#include "PagedSelect.h"

#include <QRegularExpression>

namespace tarvex {

PagedSelect::PagedSelect(const QString& sql, const QString& keyColumn) : m_sql(sql), m_parts(splitSelect(sql))
{
    if (m_parts.simple)
        m_key = expressionOf(keyColumn);
}

QString PagedSelect::expressionOf(const QString& column) const
{
    QString star;
    for (const SelectItem& item : m_parts.items) {
        if (item.name.compare(column, Qt::CaseInsensitive) == 0)
            return item.expression.contains(QLatin1Char(' ')) ? QLatin1Char('(') + item.expression + QLatin1Char(')')
                                                              : item.expression;
        if (star.isEmpty())
            star = item.starOf;
    }
    if (star.isEmpty() || column.isEmpty())
        return QString();
    return star == QLatin1String("*") ? column : star + QLatin1Char('.') + column;
}

QString PagedSelect::orderBy(const QString& sortedFields) const
{
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    QStringList terms;
    for (const QString& part : sortedFields.split(separators, Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const bool descending = words.size() == 2 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        const bool ascending = words.size() == 1 ||
                               (words.size() == 2 && words[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0);
        const QString expression = expressionOf(words[0]);
        if (expression.isEmpty() || (!ascending && !descending))
            return QString();
        terms << expression + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    }
    terms << m_key + QStringLiteral(" ASC");
    return terms.join(QStringLiteral(", "));
}

QString PagedSelect::keysSql(const QString& orderBy, const QString& condition, bool allJoins) const
{
    QString where = m_parts.where;
    if (!condition.isEmpty())
        where = where.isEmpty() ? condition : QLatin1Char('(') + where + QStringLiteral(") AND (") + condition + QLatin1Char(')');
    // From the last join back: a join stays when what stays refers to it.
    QSet<QString> needed = qualifiersIn(where + QLatin1Char(' ') + orderBy + QLatin1Char(' ') + m_key);
    QList<bool> keep;
    for (auto join = m_parts.joins.crbegin(); join != m_parts.joins.crend(); ++join) {
        const bool kept = allJoins || !join->leftOuter || needed.contains(join->alias.toLower());
        if (kept)
            needed.unite(qualifiersIn(join->text));
        keep.prepend(kept);
    }
    QString sql = QStringLiteral("SELECT ") + m_key + QStringLiteral(" FROM ") + m_parts.first;
    for (int j = 0; j < m_parts.joins.size(); ++j)
        if (keep[j])
            sql += QLatin1Char(' ') + m_parts.joins[j].text;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return sql + QStringLiteral(" ORDER BY ") + orderBy;
}

QString PagedSelect::withCondition(const QString& condition) const
{
    QString head = m_sql.left(m_parts.headEnd);
    while (!head.isEmpty() && head.back().isSpace())
        head.chop(1);
    if (m_parts.where.isEmpty())
        return head + QStringLiteral(" WHERE ") + condition;
    return head + QStringLiteral(" WHERE (") + m_parts.where + QStringLiteral(") AND (") + condition + QLatin1Char(')');
}

} // namespace tarvex
