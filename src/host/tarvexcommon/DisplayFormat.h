#pragma once
// Numbers as users see them (the display formats of the fields: "0.00##",
// "#,##0.00", "0.###", "0.00 %", "0.######"), written the way they are here,
// "1.234,56", whatever the locale; and as SQL texts and files take them,
// "1234.56". Both round halves away from zero on the number's shortest
// decimal text, so 1.005 with two decimals is 1.01.

#include <QString>

namespace tarvex {

// One display format per kind of number. Quantities group no thousands, so
// that what is shown reads back the one way: 1234 and 1,234, never 1.234.
inline const QString AMOUNT_FORMAT = QStringLiteral("#,##0.00");
inline const QString PRICE_FORMAT = QStringLiteral("#,##0.00##");
inline const QString QUANTITY_FORMAT = QStringLiteral("0.###");

// Formats a number with a display format:
//   0    a digit that is always shown (leading or trailing zeros);
//   #    a digit shown only when significant;
//   .    the decimal comma (the first one); no decimals shown, no comma;
//   ,    in the integer part: group thousands with ".";
//   "x" or 'x' literal text; any other character is literal as well, so
//        "0.00 %" shows 20 as "20,00 %" (nothing is multiplied);
//   ;    separates a section for positive numbers, one for negative numbers
//        (written without sign) and one for zero.
// An empty format gives the shortest exact text (FloatToText).
QString FormatFloat(const QString& format, double value);

// The number for SQL texts and files: "." as decimal separator, never an
// exponent. decimals < 0 gives the shortest text that reads back as the same
// double; otherwise exactly that many decimals (like "%.13f"). NaN and
// infinities, which SQL cannot hold, give "NULL".
QString FloatToText(double value, int decimals = -1);

// The text to edit a stored number with: the shortest text that reads back
// as the value rounded to that many significant digits, so the noise of
// binary arithmetic (18506.987999999998) edits as 18506.988.
QString FloatToEditText(double value, int precision = 15);

} // namespace tarvex
