#include "DateText.h"

#include <QRegularExpression>

namespace tarvex {

QDate MyDateStrToDate(const QString& text)
{
    // Parsed by hand: QDate::fromString would also take signs and odd widths.
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return QDate();
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QString MyDateToDateStr(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

} // namespace tarvex
