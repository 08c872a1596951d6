#include "Exactprice.h"

#include "DisplayFormat.h"

#include <cmath>

namespace products {

namespace {

// "-12.5" (no exponent) to millionths, rounded half away from zero at six places.
__int128 microsOfText(const QString& text)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString digits = negative ? text.mid(1) : text;
    const int point = digits.indexOf(QLatin1Char('.'));
    const QString integer = point < 0 ? digits : digits.left(point);
    const QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    __int128 micros = 0;
    for (const QChar c : integer + fraction.left(6).leftJustified(6, QLatin1Char('0')))
        micros = micros * 10 + (c.unicode() - '0');
    if (fraction.size() > 6 && fraction.at(6) >= QLatin1Char('5'))
        ++micros;
    return negative ? -micros : micros;
}

} // namespace

__int128 TExactSum::microsOf(const QVariant& value)
{
    if (value.isNull())
        return 0;
    const int type = value.typeId();
    if (type == QMetaType::QString || type == QMetaType::QByteArray)
        return microsOfText(value.toString().trimmed());
    const double d = value.toDouble();
    return std::isfinite(d) ? microsOfText(tarvex::FloatToText(d)) : 0;
}

TExactSum TExactSum::of(const QVariant& value)
{
    TExactSum sum;
    sum.add(value);
    return sum;
}

double TExactSum::toDouble() const
{
    // Through the decimal text: the double nearest to the exact sum.
    __int128 magnitude = m_micros < 0 ? -m_micros : m_micros;
    QString digits;
    do {
        digits.prepend(QChar(char('0' + int(magnitude % 10))));
        magnitude /= 10;
    } while (magnitude > 0);
    digits = digits.rightJustified(7, QLatin1Char('0'));
    digits.insert(digits.size() - 6, QLatin1Char('.'));
    return (m_micros < 0 ? QStringLiteral("-") + digits : digits).toDouble();
}

double AveragePrice(const TExactSum& value, const TExactSum& quantity)
{
    if (quantity.m_micros == 0)
        return 0;
    // Cents = value * 100 / quantity; both in millionths, so those cancel.
    __int128 numerator = value.m_micros * 100;
    __int128 denominator = quantity.m_micros;
    const bool negative = (numerator < 0) != (denominator < 0);
    if (numerator < 0)
        numerator = -numerator;
    if (denominator < 0)
        denominator = -denominator;
    __int128 cents = numerator / denominator;
    if ((numerator % denominator) * 2 >= denominator)
        ++cents;
    // Both exact in a double for any price a shop has; the division rounds once.
    return double(negative ? -cents : cents) / 100.0;
}

} // namespace products
