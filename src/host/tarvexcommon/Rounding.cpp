#include "Rounding.h"

#include "Error.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace tarvex {

namespace {

// The shortest round-trip text of a positive finite double, split into its
// significant digits and the power of ten of the first one.
struct DecimalDigits {
    std::string digits; // no leading zero
    int exponent = 0;   // value = 0.d1d2... * 10^(exponent + 1)
};

DecimalDigits shortestDigits(double positive)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, positive, std::chars_format::scientific);
    const std::string text(buffer, result.ptr);            // e.g. "1.005e+00"
    const std::size_t e = text.find('e');
    DecimalDigits out;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            out.digits += text[i];
    out.exponent = std::stoi(text.substr(e + 1));
    return out;
}

double parseDecimal(const std::string& text)
{
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

double BetterRoundTo(double value, int digits)
{
    if (digits < -15 || digits > 15)
        throw InternalError(QStringLiteral("BetterRoundTo: digits must lie between -15 and 15"));
    if (!std::isfinite(value) || value == 0.0)
        return value == 0.0 ? 0.0 : value;

    const bool negative = value < 0;
    const DecimalDigits d = shortestDigits(std::fabs(value));
    const int decimals = -digits;
    // Number of leading digits whose place is at or above 10^digits.
    const int keep = d.exponent + decimals + 1;
    if (keep >= static_cast<int>(d.digits.size()))
        return value; // already exact at this precision
    if (keep < 0)
        return 0.0;   // below a tenth of the unit: never reaches a half

    std::uint64_t kept = 0;
    for (int i = 0; i < keep; ++i)
        kept = kept * 10 + static_cast<std::uint64_t>(d.digits[i] - '0');
    if (d.digits[keep] >= '5')
        ++kept;
    if (kept == 0)
        return 0.0;

    // kept * 10^digits, read back as the double nearest to that decimal.
    const std::string text = std::to_string(kept) + "e" + std::to_string(digits);
    const double rounded = parseDecimal(text);
    return negative ? -rounded : rounded;
}

bool IsZero6(double value)
{
    return BetterRoundTo(value, -6) == 0.0;
}

} // namespace tarvex
