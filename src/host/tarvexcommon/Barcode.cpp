#include "Barcode.h"

#include "Error.h"

namespace tarvex {

namespace {

bool allDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

int Ean13CheckDigit(const QString& twelveDigits)
{
    if (twelveDigits.size() != 12 || !allDigits(twelveDigits))
        throw InternalError(QStringLiteral("EAN-13: expected twelve digits, got \"%1\"").arg(twelveDigits));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (twelveDigits[i].unicode() - '0') * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

QString Barcode12ToEan13(const QString& twelveDigits)
{
    return twelveDigits + QChar(QLatin1Char('0').unicode() + Ean13CheckDigit(twelveDigits));
}

bool IsValidEan13(const QString& code)
{
    if (code.size() != 13 || !allDigits(code))
        return false;
    return Ean13CheckDigit(code.left(12)) == code[12].unicode() - '0';
}

} // namespace tarvex
