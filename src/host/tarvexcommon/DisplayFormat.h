#pragma once
// Numbers as users see them (the display formats of the fields: "0.00##",
// "#,##0.00", "0.###", "0.00 %", "0.######") and as SQL texts and files take
// them. Both always write "." as the decimal separator and "," for thousands,
// whatever the locale, and round halves away from zero on the number's
// shortest decimal text, so 1.005 with two decimals is 1.01.

#include <QString>

namespace tarvex {

// Formats a number with a display format:
//   0    a digit that is always shown (leading or trailing zeros);
//   #    a digit shown only when significant;
//   .    the decimal point (the first one); no decimals shown, no point;
//   ,    in the integer part: group thousands with ",";
//   "x" or 'x' literal text; any other character is literal as well, so
//        "0.00 %" shows 20 as "20.00 %" (nothing is multiplied);
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
