#include "SqlScript.h"
#include "Connection.h"

namespace tarvex {

QStringList splitSqlScript(const QString& script)
{
    QStringList statements;
    QString current;
    const int n = script.size();
    int i = 0;
    auto flush = [&]() {
        const QString statement = current.trimmed();
        if (!statement.isEmpty())
            statements << statement;
        current.clear();
    };
    while (i < n) {
        const QChar c = script[i];
        const QChar next = i + 1 < n ? script[i + 1] : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('#')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = script.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            current += QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            // A doubled quote inside the literal continues it.
            current += c;
            ++i;
            while (i < n) {
                current += script[i];
                if (script[i] == c) {
                    if (i + 1 < n && script[i + 1] == c) {
                        current += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            continue;
        }
        if (c == QLatin1Char(';')) {
            flush();
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    flush();
    return statements;
}

void runSqlScript(QSqlDatabase& db, const QString& script)
{
    for (const QString& statement : splitSqlScript(script))
        execSql(db, statement);
}

} // namespace tarvex
