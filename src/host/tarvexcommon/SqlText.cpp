#include "SqlText.h"

#include "Error.h"

#include <QLocale>
#include <cmath>

namespace tarvex {

QString AddSlashes(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return escaped;
}

QString SqlNumber(double value)
{
    if (!std::isfinite(value))
        throw InternalError(QStringLiteral("SqlNumber: NaN and infinities have no SQL literal"));
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0.0
    // QString::number never uses the locale: "." always.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

namespace {

// Where the parts of a statement lie, found by one pass over its top level.
struct StatementParts {
    int whereStart = -1;    // the W of WHERE
    int conditionStart = -1; // just after WHERE
    int tailStart = -1;     // first tail keyword, or the end of the statement
    // The last "--" or "#" comment before the tail, up to its line break.
    int lineCommentStart = -1;
    int lineCommentEnd = -1;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Index just past a quoted part opened at i by the quote character q; a
// doubled quote stays inside.
int skipQuoted(const QString& s, int i, QChar q)
{
    const int n = s.size();
    for (++i; i < n; ++i) {
        if (s[i] == q) {
            if (i + 1 < n && s[i + 1] == q)
                ++i;
            else
                return i + 1;
        }
    }
    return n;
}

int skipToLineEnd(const QString& s, int i)
{
    const int end = s.indexOf(QLatin1Char('\n'), i);
    return end < 0 ? s.size() : end + 1;
}

int skipBlockComment(const QString& s, int i)
{
    const int end = s.indexOf(QLatin1String("*/"), i + 2);
    return end < 0 ? s.size() : end + 2;
}

class StatementScanner {
public:
    explicit StatementScanner(const QString& sql) : m_sql(sql) {}

    StatementParts scan()
    {
        StatementParts parts;
        const int n = m_sql.size();
        int depth = 0;
        int i = 0;
        while (i < n) {
            const QChar c = m_sql[i];
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
                i = skipQuoted(m_sql, i, c);
            } else if (c == QLatin1Char('#') || startsLineComment(i)) {
                parts.lineCommentStart = i;
                i = skipToLineEnd(m_sql, i);
                parts.lineCommentEnd = m_sql[i - 1] == QLatin1Char('\n') ? i - 1 : i;
            } else if (c == QLatin1Char('/') && i + 1 < n && m_sql[i + 1] == QLatin1Char('*')) {
                i = skipBlockComment(m_sql, i);
            } else if (c == QLatin1Char('(')) {
                ++depth;
                ++i;
            } else if (c == QLatin1Char(')')) {
                --depth;
                ++i;
            } else if (c == QLatin1Char(';') && depth == 0) {
                parts.tailStart = i;
                return parts;
            } else if (isWordChar(c)) {
                const int start = i;
                while (i < n && isWordChar(m_sql[i]))
                    ++i;
                // "p.order" is a column, not a keyword.
                const bool qualified = start > 0 && m_sql[start - 1] == QLatin1Char('.');
                if (depth != 0 || qualified)
                    continue;
                const QString word = m_sql.mid(start, i - start).toUpper();
                if (word == QLatin1String("WHERE") && parts.whereStart < 0) {
                    parts.whereStart = start;
                    parts.conditionStart = i;
                } else if (startsTail(word, i)) {
                    parts.tailStart = start;
                    return parts;
                }
            } else {
                ++i;
            }
        }
        parts.tailStart = n;
        return parts;
    }

private:
    // "--" opens a comment only when a blank or the end follows.
    bool startsLineComment(int i) const
    {
        if (m_sql.mid(i, 2) != QLatin1String("--"))
            return false;
        return i + 2 >= m_sql.size() || m_sql[i + 2].isSpace();
    }

    // The next word after position i, upper-cased.
    QString nextWord(int i) const
    {
        const int n = m_sql.size();
        while (i < n && m_sql[i].isSpace())
            ++i;
        const int start = i;
        while (i < n && isWordChar(m_sql[i]))
            ++i;
        return m_sql.mid(start, i - start).toUpper();
    }

    bool startsTail(const QString& word, int after) const
    {
        if (word == QLatin1String("HAVING") || word == QLatin1String("LIMIT") || word == QLatin1String("UNION"))
            return true;
        if (word == QLatin1String("GROUP") || word == QLatin1String("ORDER"))
            return nextWord(after) == QLatin1String("BY");
        if (word == QLatin1String("FOR"))
            return nextWord(after) == QLatin1String("UPDATE");
        if (word == QLatin1String("LOCK"))
            return nextWord(after) == QLatin1String("IN");
        return false;
    }

    const QString& m_sql;
};

QString withoutLeadingWhere(const QString& condition)
{
    const QString trimmed = condition.trimmed();
    if (trimmed.size() >= 5 && trimmed.left(5).compare(QLatin1String("WHERE"), Qt::CaseInsensitive) == 0
        && (trimmed.size() == 5 || !isWordChar(trimmed[5])))
        return trimmed.mid(5).trimmed();
    return trimmed;
}

// Cuts trailing blanks off a piece of text.
QString chopSpaces(const QString& text)
{
    int end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

} // namespace

QString ChangeSQLCondition(const QString& sql, const QString& condition)
{
    const StatementParts parts = StatementScanner(sql).scan();
    const QString newCondition = withoutLeadingWhere(condition);

    const int headEnd = parts.whereStart >= 0 ? parts.whereStart : parts.tailStart;
    const QString head = chopSpaces(sql.left(headEnd));
    const QString tail = sql.mid(parts.tailStart);

    // Whatever follows the head must start on a new line when the head ends
    // in a line comment, or it would become part of the comment.
    const bool headInComment = head.size() > parts.lineCommentStart && head.size() <= parts.lineCommentEnd;

    // Keep the line break or blanks that stood before the tail.
    QString gap;
    const int gapFloor = qMax(0, parts.conditionStart);
    for (int i = parts.tailStart - 1; i >= gapFloor && sql[i].isSpace(); --i)
        gap.prepend(sql[i]);
    if (gap.isEmpty() && !tail.isEmpty() && tail[0] != QLatin1Char(';'))
        gap = QStringLiteral(" ");
    if (newCondition.isEmpty() && headInComment && !gap.contains(QLatin1Char('\n')))
        gap = QStringLiteral("\n");

    // The blanks or line break that stood before WHERE, when there were any.
    QString lead = headInComment ? QStringLiteral("\n") : QStringLiteral(" ");
    if (parts.whereStart > 0 && sql[parts.whereStart - 1].isSpace())
        lead = sql.mid(head.size(), parts.whereStart - head.size());

    QString result = head;
    if (!newCondition.isEmpty())
        result += lead + QStringLiteral("WHERE ") + newCondition;
    if (!tail.isEmpty())
        result += gap + tail;
    return result;
}

} // namespace tarvex
