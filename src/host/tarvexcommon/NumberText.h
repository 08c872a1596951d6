#pragma once
// Numbers as people here type them: "1.234,56", "1234,56", and "1234.56" as
// a calculator or a spreadsheet writes it. Used by every field a number is
// typed into and by the spreadsheet import, so both read a cell alike.

#include <QString>

namespace tarvex {

struct NumberRead {
    bool ok = false;
    double value = 0;
    // The number as "1234.56" (no grouping, "." decimals, "-" sign): exact
    // decimal digits for SQL DECIMAL or scaled-integer arithmetic.
    QString plain;
    // Why the text was refused, in Serbian, with the form expected; empty
    // when ok.
    QString error;
};

// Reads a typed number. Blanks around it are ignored; a leading "-" or "+"
// is allowed. "," is always the decimal comma; "." groups thousands when it
// does so in threes before a comma or more than once ("1.234.567"),
// otherwise it is a decimal point ("1234.5", "0.125"). A text that reads
// both ways, such as "1.234" or "-12.500", is refused, as are exponents,
// inner blanks and an empty text.
NumberRead ReadNumberText(const QString& text);

// The expected form, shown in messages that refuse a typed number.
inline const QString NUMBER_FORM_HINT = QStringLiteral("1.234,56 ili 1234,56");

} // namespace tarvex
