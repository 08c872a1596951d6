#pragma once
// Rounding of prices and amounts the way a person reading the decimal text
// expects: 1.005 to two decimals is 1.01, although the double nearest to
// 1.005 lies a little below it.

namespace tarvex {

// Rounds value to 10^digits: digits -2 gives 2 decimals, -4 four, -6 six;
// a positive digits rounds to tens, hundreds and so on. The shortest decimal
// text that reproduces the double is rounded, halves away from zero.
// NaN and infinities come back unchanged; a rounded zero is always +0.
// Throws InternalError when digits lies outside -15..15.
double BetterRoundTo(double value, int digits);

// The module's rule for "is this number zero": zero after rounding to six
// decimals.
bool IsZero6(double value);

} // namespace tarvex
