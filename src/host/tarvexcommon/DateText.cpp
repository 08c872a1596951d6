#include "DateText.h"

#include <QRegularExpression>

namespace tarvex {

QDate MyDateStrToDate(const QString& text)
{
    // Parsed by hand: QDate::fromString would also take signs and odd widths.
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression local(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4}|\\d{2})\\.?$"));
    const QString trimmed = text.trimmed();
    QRegularExpressionMatch match = iso.match(trimmed);
    if (match.hasMatch())
        return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    match = local.match(trimmed);
    if (!match.hasMatch())
        return QDate();
    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += year < 70 ? 2000 : 1900;
    return QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
}

QString MyDateToDateStr(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString DateToSqlText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString DateTextError(const QString& label, const QString& text)
{
    return QStringLiteral("Polje \"%1\": \"%2\" nije datum. Upišite ga kao 31.12.2024.").arg(label, text.trimmed());
}

} // namespace tarvex
