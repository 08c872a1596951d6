#pragma once
// EAN-13 barcodes: the check digit of the standard (weights 1 and 3 from the
// left over the first twelve digits) and a validity test.

#include <QString>

namespace tarvex {

// The check digit (0-9) of twelve digits. Throws InternalError when
// the text is not exactly twelve ASCII digits.
int Ean13CheckDigit(const QString& twelveDigits);

// The twelve digits followed by their check digit. Throws
// InternalError when the text is not exactly twelve ASCII digits.
QString Barcode12ToEan13(const QString& twelveDigits);

// True when the text is thirteen ASCII digits whose last is the check digit
// of the first twelve.
bool IsValidEan13(const QString& code);

} // namespace tarvex
