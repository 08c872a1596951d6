#include "DisplayFormat.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace tarvex {

namespace {

// A non-negative number as decimal digits, split at the point.
struct Digits {
    QString integer;   // without leading zeros; empty for zero
    QString fraction;  // without trailing zeros

};

// True when every digit is zero (a negative number rounded to zero shows no sign).
bool isZero(const Digits& d)
{
    return d.integer.isEmpty() && d.fraction.count(QLatin1Char('0')) == d.fraction.size();
}

Digits shortestDigits(double magnitude)
{
    const QString text = QString::number(magnitude, 'f', QLocale::FloatingPointShortest);
    Digits d;
    const int point = text.indexOf(QLatin1Char('.'));
    d.integer = point < 0 ? text : text.left(point);
    d.fraction = point < 0 ? QString() : text.mid(point + 1);
    while (d.integer.startsWith(QLatin1Char('0')))
        d.integer.remove(0, 1);
    while (d.fraction.endsWith(QLatin1Char('0')))
        d.fraction.chop(1);
    return d;
}

// Rounds to `decimals` places, halves away from zero; the fraction comes back
// with exactly `decimals` digits.
Digits roundDigits(Digits d, int decimals)
{
    const bool roundUp = d.fraction.size() > decimals && d.fraction.at(decimals) >= QLatin1Char('5');
    d.fraction = d.fraction.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    if (!roundUp)
        return d;
    QString all = d.integer + d.fraction;
    int i = all.size() - 1;
    for (; i >= 0; --i) {
        if (all[i] == QLatin1Char('9')) {
            all[i] = QLatin1Char('0');
        } else {
            all[i] = QChar(all[i].unicode() + 1);
            break;
        }
    }
    if (i < 0)
        all.prepend(QLatin1Char('1'));
    d.integer = all.left(all.size() - decimals);
    d.fraction = all.right(decimals);
    while (d.integer.startsWith(QLatin1Char('0')))
        d.integer.remove(0, 1);
    return d;
}

QString groupThousands(const QString& digits)
{
    QString grouped;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += QLatin1Char('.');
        grouped += digits[i];
    }
    return grouped;
}

// One section of a format, read into its parts.
struct Section {
    enum Kind { Literal, IntegerDigits, Point, FractionDigit };
    struct Token {
        Kind kind;
        QString text;   // Literal only
        int position;   // FractionDigit only: 0-based place after the point
    };
    QList<Token> tokens;
    int integerZeros = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool thousands = false;
    bool hasPoint = false;
    bool hasDigits = false;
};

Section parseSection(const QString& format)
{
    Section s;
    bool integerTokenAdded = false;
    auto literal = [&s](const QString& text) {
        if (!s.tokens.isEmpty() && s.tokens.last().kind == Section::Literal)
            s.tokens.last().text += text;
        else
            s.tokens.append({Section::Literal, text, 0});
    };
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = format.indexOf(c, i + 1);
            const int stop = end < 0 ? format.size() : end;
            literal(format.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            s.hasDigits = true;
            if (s.hasPoint) {
                s.tokens.append({Section::FractionDigit, QString(), s.maxDecimals});
                ++s.maxDecimals;
                if (c == QLatin1Char('0'))
                    s.minDecimals = s.maxDecimals;
            } else {
                if (c == QLatin1Char('0'))
                    ++s.integerZeros;
                if (!integerTokenAdded) {
                    s.tokens.append({Section::IntegerDigits, QString(), 0});
                    integerTokenAdded = true;
                }
            }
        } else if (c == QLatin1Char('.') && !s.hasPoint) {
            s.hasPoint = true;
            if (!integerTokenAdded) {
                // The integer digits are shown even without a placeholder.
                s.tokens.append({Section::IntegerDigits, QString(), 0});
                integerTokenAdded = true;
            }
            s.tokens.append({Section::Point, QString(), 0});
        } else if (c == QLatin1Char(',')) {
            if (!s.hasPoint)
                s.thousands = true;
        } else {
            literal(QString(c));
        }
    }
    return s;
}

QStringList splitSections(const QString& format)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

} // namespace

QString FloatToText(double value, int decimals)
{
    if (!std::isfinite(value))
        return QStringLiteral("NULL");
    Digits d = shortestDigits(std::fabs(value));
    if (decimals >= 0)
        d = roundDigits(d, decimals);
    QString text = d.integer.isEmpty() ? QStringLiteral("0") : d.integer;
    if (!d.fraction.isEmpty())
        text += QLatin1Char('.') + d.fraction;
    if (value < 0 && !isZero(d))
        text.prepend(QLatin1Char('-'));
    return text;
}

QString FloatToEditText(double value, int precision)
{
    if (!std::isfinite(value) || value == 0)
        return FloatToText(value);
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    QString text = FloatToText(value, qBound(0, precision - 1 - magnitude, 40));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString FormatFloat(const QString& format, double value)
{
    if (format.isEmpty() || !std::isfinite(value))
        return FloatToText(value);

    const QStringList sections = splitSections(format);
    QString chosen = sections.first();
    bool writeSign = true;
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        chosen = sections[1];
        writeSign = false;
    } else if (value == 0 && sections.size() > 2 && !sections[2].isEmpty()) {
        chosen = sections[2];
    }
    const Section s = parseSection(chosen);

    Digits d = roundDigits(shortestDigits(std::fabs(value)), s.maxDecimals);
    while (d.fraction.size() > s.minDecimals && d.fraction.endsWith(QLatin1Char('0')))
        d.fraction.chop(1);
    QString integer = d.integer.rightJustified(s.integerZeros, QLatin1Char('0'));
    if (s.thousands)
        integer = groupThousands(integer);

    QString text;
    for (const Section::Token& t : s.tokens) {
        switch (t.kind) {
        case Section::Literal:
            text += t.text;
            break;
        case Section::IntegerDigits:
            text += integer;
            break;
        case Section::Point:
            if (!d.fraction.isEmpty())
                text += QLatin1Char(',');
            break;
        case Section::FractionDigit:
            if (t.position < d.fraction.size())
                text += d.fraction[t.position];
            break;
        }
    }
    if (value < 0 && writeSign && s.hasDigits && !isZero(d))
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace tarvex
