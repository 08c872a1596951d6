#include "NumberText.h"

#include <QRegularExpression>
#include <cmath>

namespace tarvex {

namespace {

// Thousands grouped by "." the way they are written here: 1 to 3 digits
// (not starting with 0), then groups of exactly three.
bool isGrouped(const QString& digits)
{
    static const QRegularExpression grouped(QStringLiteral("^[1-9]\\d{0,2}(\\.\\d{3})+$"));
    return grouped.match(digits).hasMatch();
}

bool allDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

NumberRead refused(const QString& error)
{
    NumberRead read;
    read.error = error;
    return read;
}

NumberRead notANumber(const QString& text)
{
    return refused(QStringLiteral("\"%1\" nije broj. Upišite ga kao %2.").arg(text, NUMBER_FORM_HINT));
}

// Integer and fraction digits to the result; leading zeros dropped.
NumberRead accepted(bool negative, QString integer, QString fraction)
{
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    NumberRead read;
    read.plain = integer;
    if (!fraction.isEmpty())
        read.plain += QLatin1Char('.') + fraction;
    const bool zero = integer == QLatin1String("0") && fraction.isEmpty();
    if (negative && !zero)
        read.plain.prepend(QLatin1Char('-'));
    read.value = read.plain.toDouble(&read.ok);
    return read;
}

// Too many digits for a double is no number either.
NumberRead checked(const QString& text, const NumberRead& read)
{
    return read.ok && std::isfinite(read.value) ? read : notANumber(text);
}

} // namespace

NumberRead ReadNumberText(const QString& typed)
{
    const QString text = typed.trimmed();
    QString body = text;
    bool negative = false;
    if (body.startsWith(QLatin1Char('-')) || body.startsWith(QLatin1Char('+'))) {
        negative = body.startsWith(QLatin1Char('-'));
        body.remove(0, 1);
    }
    const int commas = body.count(QLatin1Char(','));
    const int points = body.count(QLatin1Char('.'));
    if (body.isEmpty() || commas > 1 || !allDigits(QString(body).remove(QLatin1Char(',')).remove(QLatin1Char('.'))))
        return notANumber(text);

    if (commas == 1) {
        const int comma = body.indexOf(QLatin1Char(','));
        QString integer = body.left(comma);
        const QString fraction = body.mid(comma + 1);
        if (fraction.isEmpty() || fraction.contains(QLatin1Char('.')))
            return notANumber(text);
        if (integer.contains(QLatin1Char('.'))) {
            if (!isGrouped(integer))
                return notANumber(text);
            integer.remove(QLatin1Char('.'));
        }
        return checked(text, accepted(negative, integer, fraction));
    }
    if (points == 0)
        return checked(text, accepted(negative, body, QString()));
    if (points > 1) {
        if (!isGrouped(body))
            return notANumber(text);
        return checked(text, accepted(negative, QString(body).remove(QLatin1Char('.')), QString()));
    }
    const int point = body.indexOf(QLatin1Char('.'));
    const QString integer = body.left(point);
    const QString fraction = body.mid(point + 1);
    if (fraction.isEmpty())
        return notANumber(text);
    if (isGrouped(body)) {
        // "1.234": a thousand and more, or one and a bit; the user must say which.
        const QString sign = negative ? QStringLiteral("-") : QString();
        const QString thousands = sign + integer + fraction;
        const QString decimal = sign + integer + QLatin1Char(',') + fraction;
        return refused(QStringLiteral("\"%1\" može da znači %2 ili %3. Upišite %4 ili %3.")
                           .arg(text, thousands, decimal, sign + integer + QLatin1Char('.') + fraction + QStringLiteral(",00")));
    }
    return checked(text, accepted(negative, integer, fraction));
}

} // namespace tarvex
