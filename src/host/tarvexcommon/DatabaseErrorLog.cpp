#include "DatabaseErrorLog.h"

#include "DatabaseError.h"
#include "LogCategories.h"

#include <QRegularExpression>

namespace tarvex {

QString statementName(const QString& sql)
{
    static const QRegularExpression verb(QStringLiteral(R"(^\s*\(?\s*([A-Za-z]+))"));
    static const QRegularExpression table(
        QStringLiteral(R"(\b(?:INTO|UPDATE|FROM|TABLE|JOIN)\s+`?([A-Za-z_][A-Za-z0-9_$]*)`?)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch first = verb.match(sql);
    if (!first.hasMatch())
        return QString();
    const QString name = first.captured(1).toUpper();
    const QRegularExpressionMatch target = table.match(sql, first.capturedStart(1));
    return target.hasMatch() ? name + QLatin1Char(' ') + target.captured(1) : name;
}

void logDatabaseError(const DatabaseError& error)
{
    // Long generated statements are cut: the start names what failed.
    constexpr int kLongest = 4000;
    const QString sql = error.sql().size() > kLongest ? error.sql().left(kLongest) + QStringLiteral(" …") : error.sql();
    const QString name = statementName(sql);
    qCWarning(lcConnection).noquote() << QStringLiteral("%1 failed: error %2: %3%4")
                                             .arg(name.isEmpty() ? QStringLiteral("Connection") : name)
                                             .arg(error.code())
                                             .arg(error.serverMessage(),
                                                  sql.isEmpty() ? QString() : QStringLiteral("\nSQL: ") + sql);
}

} // namespace tarvex
