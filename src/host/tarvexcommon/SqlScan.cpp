#include "SqlScan.h"

#include "Error.h"

#include "Connection.h"
#include "DisplayFormat.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTime>

namespace tarvex {

namespace {

// When a quoted text, a quoted identifier or a comment starts at i: the
// position after its end. Otherwise i itself.
int skipNonCode(const QString& s, int i)
{
    const int n = s.size();
    const QChar c = s[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
        int j = i + 1;
        while (j < n) {
            if (s[j] == c) {
                if (j + 1 < n && s[j + 1] == c) {
                    j += 2;  // a doubled quote stands for itself
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return n;
    }
    const bool dashComment = c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')
                             && (i + 2 >= n || s[i + 2].isSpace());
    if (c == QLatin1Char('#') || dashComment) {
        const int end = s.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? n : end + 1;
    }
    if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
        const int end = s.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? n : end + 2;
    }
    return i;
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

struct Token {
    QString text;   // identifiers unquoted
    bool word;      // an identifier or keyword (quoted identifiers too)
    bool quoted;    // a `quoted` identifier: never a keyword
    int depth;      // parenthesis depth
    int start = 0;  // where it stands in the text
    int end = 0;
};

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> tokens;
    int depth = 0;
    int i = 0;
    const int n = s.size();
    while (i < n) {
        if (s[i] == QLatin1Char('`')) {
            const int end = skipNonCode(s, i);
            QString name = s.mid(i + 1, end - i - 2);
            name.replace(QStringLiteral("``"), QStringLiteral("`"));
            tokens.push_back({name, true, true, depth, i, end});
            i = end;
            continue;
        }
        const int skipped = skipNonCode(s, i);
        if (skipped != i) {
            if (s[i] == QLatin1Char('\'') || s[i] == QLatin1Char('"'))
                tokens.push_back({QStringLiteral("'"), false, false, depth, i, skipped});
            i = skipped;
            continue;
        }
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (isNameChar(c)) {
            int end = i + 1;
            while (end < n && isNameChar(s[end]))
                ++end;
            tokens.push_back({s.mid(i, end - i), true, false, depth, i, end});
            i = end;
        } else {
            if (c == QLatin1Char(')'))
                --depth;
            tokens.push_back({QString(c), false, false, depth, i, i + 1});
            if (c == QLatin1Char('('))
                ++depth;
            ++i;
        }
    }
    return tokens;
}

bool isKeyword(const Token& t, const char* word)
{
    return t.word && !t.quoted && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Words that end a table reference or the FROM clause, never an alias.
bool isReserved(const Token& t)
{
    static const QSet<QString> words = {
        QStringLiteral("where"), QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("inner"),
        QStringLiteral("outer"), QStringLiteral("cross"), QStringLiteral("join"), QStringLiteral("natural"),
        QStringLiteral("straight_join"), QStringLiteral("on"), QStringLiteral("using"), QStringLiteral("group"),
        QStringLiteral("order"), QStringLiteral("having"), QStringLiteral("limit"), QStringLiteral("union"),
        QStringLiteral("for"), QStringLiteral("lock"), QStringLiteral("window"), QStringLiteral("into"),
        QStringLiteral("use"), QStringLiteral("ignore"), QStringLiteral("force"), QStringLiteral("procedure"),
        QStringLiteral("partition"), QStringLiteral("full")};
    return t.word && !t.quoted && words.contains(t.text.toLower());
}

bool endsFromClause(const Token& t)
{
    for (const char* w : {"where", "group", "order", "having", "limit", "union", "for", "lock", "window", "into", "procedure"}) {
        if (isKeyword(t, w))
            return true;
    }
    return false;
}

} // namespace

QList<SqlParamRef> findSqlParams(const QString& sql)
{
    QList<SqlParamRef> params;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const int skipped = skipNonCode(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        const bool colon = sql[i] == QLatin1Char(':') && i + 1 < n && isNameStart(sql[i + 1])
                           && (i == 0 || (!isNameChar(sql[i - 1]) && sql[i - 1] != QLatin1Char(':')));
        if (!colon) {
            ++i;
            continue;
        }
        int end = i + 2;
        while (end < n && (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
            ++end;
        params.append({i, end - i, sql.mid(i + 1, end - i - 1)});
        i = end;
    }
    return params;
}

QString substituteSqlParams(const QString& sql, const std::function<QVariant(const QString&)>& valueOf)
{
    const QList<SqlParamRef> params = findSqlParams(sql);
    QString result;
    int from = 0;
    for (const SqlParamRef& p : params) {
        result += QStringView(sql).mid(from, p.start - from);
        const QVariant value = valueOf(p.name);
        if (value.metaType().id() == QMetaType::QVariantList) {
            QStringList literals;
            for (const QVariant& item : value.toList())
                literals << sqlLiteral(item);
            result += literals.isEmpty() ? QStringLiteral("NULL") : literals.join(QLatin1Char(','));
        } else {
            result += sqlLiteral(value);
        }
        from = p.start + p.length;
    }
    result += QStringView(sql).mid(from);
    return result;
}

QString placeholderSql(const QString& sql, const std::function<QVariant(const QString&)>& valueOf, QVariantList& values)
{
    values.clear();
    QString result;
    int from = 0;
    for (const SqlParamRef& p : findSqlParams(sql)) {
        result += QStringView(sql).mid(from, p.start - from);
        const QVariant value = valueOf(p.name);
        if (value.metaType().id() == QMetaType::QVariantList && !value.toList().isEmpty()) {
            const QVariantList items = value.toList();
            result += QStringList(items.size(), QStringLiteral("?")).join(QLatin1Char(','));
            values << items;
        } else {
            result += QLatin1Char('?');
            // An empty list stands as NULL: "IN (NULL)" matches nothing.
            values << (value.metaType().id() == QMetaType::QVariantList ? QVariant() : value);
        }
        from = p.start + p.length;
    }
    result += QStringView(sql).mid(from);
    return result;
}

QString substituteMarks(const QString& sql, const QVariantList& values)
{
    QString result;
    int next = 0;
    for (int i = 0; i < sql.size();) {
        const int after = skipNonCode(sql, i);
        if (after != i) {
            result += QStringView(sql).mid(i, after - i);
            i = after;
        } else if (sql[i] == QLatin1Char('?')) {
            if (next >= values.size())
                throw InternalError(QStringLiteral("more ? marks than values"));
            result += sqlLiteral(values[next++]);
            ++i;
        } else {
            result += sql[i++];
        }
    }
    if (next != values.size())
        throw InternalError(QStringLiteral("more values than ? marks"));
    return result;
}

QString sqlLiteral(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToText(value.toDouble());
    case QMetaType::QDate:
        return quoteSqlText(value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
    case QMetaType::QDateTime:
        return quoteSqlText(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    case QMetaType::QTime:
        return quoteSqlText(value.toTime().toString(QStringLiteral("HH:mm:ss")));
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return bytes.isEmpty() ? QStringLiteral("''") : QStringLiteral("X'%1'").arg(QString::fromLatin1(bytes.toHex()));
    }
    default:
        return quoteSqlText(value.toString());
    }
}

QList<SqlTableRef> findSelectTables(const QString& sql)
{
    const std::vector<Token> tokens = tokenize(sql);
    QList<SqlTableRef> tables;
    size_t i = 0;
    while (i < tokens.size() && !(tokens[i].depth == 0 && isKeyword(tokens[i], "from")))
        ++i;
    if (i == tokens.size())
        return tables;
    ++i;
    bool expectTable = true;
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if (t.depth > 0) {
            ++i;
            continue;
        }
        if (endsFromClause(t))
            break;
        if (t.text == QLatin1String(",") || isKeyword(t, "join") || isKeyword(t, "straight_join")) {
            expectTable = true;
            ++i;
            continue;
        }
        if (!expectTable || t.text == QLatin1String("(") || !t.word || isReserved(t)) {
            // Sub-queries, join conditions and join words are not tables.
            if (t.text == QLatin1String("("))
                expectTable = false;
            ++i;
            continue;
        }
        SqlTableRef ref;
        ref.table = t.text;
        ++i;
        if (i + 1 < tokens.size() && tokens[i].text == QLatin1String(".") && tokens[i + 1].word) {
            ref.table = tokens[i + 1].text;  // database.table
            i += 2;
        }
        if (i < tokens.size() && isKeyword(tokens[i], "as"))
            ++i;
        if (i < tokens.size() && tokens[i].depth == 0 && tokens[i].word && !isReserved(tokens[i])) {
            ref.alias = tokens[i].text;
            ++i;
        } else {
            ref.alias = ref.table;
        }
        tables.append(ref);
        expectTable = false;
    }
    return tables;
}

namespace {

bool isJoinWord(const Token& t)
{
    if (t.text == QLatin1String(","))
        return true;
    for (const char* w : {"left", "right", "inner", "outer", "cross", "natural", "straight_join", "join"})
        if (isKeyword(t, w))
            return true;
    return false;
}

// One item of a select list: its expression, and the column name it gives.
SelectItem selectItem(const QString& sql, const std::vector<Token>& t, size_t from, size_t to)
{
    SelectItem item;
    const auto text = [&](size_t a, size_t b) { return sql.mid(t[a].start, t[b - 1].end - t[a].start); };
    item.expression = text(from, to);
    const size_t n = to - from;
    if (n == 1 && t[from].text == QLatin1String("*")) {
        item.starOf = QStringLiteral("*");
    } else if (n == 3 && t[from].word && t[from + 1].text == QLatin1String(".") && t[from + 2].text == QLatin1String("*")) {
        item.starOf = t[from].text;
    } else if (n >= 3 && isKeyword(t[to - 2], "as") && t[to - 1].word) {
        item.name = t[to - 1].text;
        item.expression = text(from, to - 2);
    } else if (n >= 2 && t[to - 1].word && t[to - 2].text == QLatin1String(")")) {
        item.name = t[to - 1].text;
        item.expression = text(from, to - 1);
    } else if (n == 1 && t[from].word) {
        item.name = t[from].text;
    } else if (n == 3 && t[from].word && t[from + 1].text == QLatin1String(".") && t[from + 2].word) {
        item.name = t[from + 2].text;
    }
    return item;
}

} // namespace

SelectParts splitSelect(const QString& sql)
{
    SelectParts parts;
    const std::vector<Token> t = tokenize(sql);
    if (t.empty() || !isKeyword(t[0], "select"))
        return parts;
    size_t i = 1;
    if (i < t.size() && isKeyword(t[i], "distinct")) {
        parts.distinct = true;
        ++i;
    } else if (i < t.size() && isKeyword(t[i], "all")) {
        ++i;
    }
    size_t itemStart = i;
    for (; i < t.size() && !(t[i].depth == 0 && isKeyword(t[i], "from")); ++i) {
        if (t[i].depth == 0 && t[i].text == QLatin1String(",")) {
            if (i == itemStart)
                return parts;
            parts.items << selectItem(sql, t, itemStart, i);
            itemStart = i + 1;
        }
    }
    if (i == t.size() || i == itemStart)
        return parts;
    parts.items << selectItem(sql, t, itemStart, i);

    // The FROM clause, cut where each join begins.
    const size_t fromStart = ++i;
    std::vector<size_t> starts{fromStart};
    bool inJoinWords = false;
    for (; i < t.size() && !(t[i].depth == 0 && endsFromClause(t[i])); ++i) {
        if (t[i].depth != 0)
            continue;
        if (t[i].text == QLatin1String(";"))
            return parts;
        const bool joinWord = isJoinWord(t[i]);
        if (joinWord && !inJoinWords && i > fromStart)
            starts.push_back(i);
        inJoinWords = joinWord;  // "LEFT OUTER JOIN" begins one join
    }
    const size_t fromEnd = i;
    if (fromEnd == fromStart)
        return parts;
    const QList<SqlTableRef> tables = findSelectTables(sql);
    if (tables.size() != int(starts.size()))
        return parts;  // derived tables or nested joins: not taken apart
    starts.push_back(fromEnd);
    const auto text = [&](size_t a, size_t b) { return sql.mid(t[a].start, t[b - 1].end - t[a].start); };
    parts.first = text(starts[0], starts[1]);
    for (size_t s = 1; s + 1 < starts.size(); ++s) {
        SelectJoin join;
        join.text = text(starts[s], starts[s + 1]);
        join.alias = tables[int(s)].alias;
        join.leftOuter = isKeyword(t[starts[s]], "left");
        parts.joins << join;
    }
    parts.headEnd = fromEnd < t.size() ? t[fromEnd].start : sql.size();
    if (fromEnd < t.size()) {
        if (!isKeyword(t[fromEnd], "where"))
            return parts;
        size_t end = fromEnd + 1;
        while (end < t.size() && !(t[end].depth == 0 && (endsFromClause(t[end]) || t[end].text == QLatin1String(";"))))
            ++end;
        if (end != t.size() || end == fromEnd + 1)
            return parts;
        parts.where = text(fromEnd + 1, end);
    }
    parts.simple = true;
    return parts;
}

QSet<QString> qualifiersIn(const QString& sql)
{
    QSet<QString> names;
    const std::vector<Token> t = tokenize(sql);
    for (size_t k = 0; k + 1 < t.size(); ++k)
        if (t[k].word && t[k + 1].text == QLatin1String(".") && (k == 0 || t[k - 1].text != QLatin1String(".")))
            names.insert(t[k].text.toLower());
    return names;
}

} // namespace tarvex
