#include "Error.h"
#include "Rounding.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tarvex;

TEST(BetterRoundTo, RoundsTheDecimalTextHalvesAwayFromZeroToAPositiveZeroAndHandlesOddInputs)
{
    const std::tuple<double, int, double> cases[] = {
        // Each of these doubles lies just below its decimal text, so rounding
        // the binary value would go down.
        {1.005, -2, 1.01}, {2.675, -2, 2.68}, {1.0000005, -6, 1.000001}, {-1.005, -2, -1.01}, {-0.125, -2, -0.13},
        // Prices of the pricing rules, carries and values already exact.
        {12.1482, -2, 12.15}, {10.123456, -4, 10.1235}, {100.0 / 1.18, -6, 84.745763}, {1.0049999, -2, 1.0},
        {123456789.125, -2, 123456789.13}, {9.995, -2, 10.0}, {99.9999996, -6, 100.0}, {1e20, -2, 1e20},
        {1250.0, 2, 1300.0}, {0.5, 0, 1.0}, {0.05, 0, 0.0},
    };
    for (const auto& [value, digit, rounded] : cases)
        EXPECT_EQ(BetterRoundTo(value, digit), rounded) << value << " at " << digit;
    for (double v : {0.0000004, -0.0000004, 1e-300, -0.004, -0.0}) {
        const double r = BetterRoundTo(v, -2);
        EXPECT_EQ(r, 0.0) << v;
        EXPECT_FALSE(std::signbit(r)) << v;
    }
    EXPECT_TRUE(std::isnan(BetterRoundTo(std::numeric_limits<double>::quiet_NaN(), -2)));
    EXPECT_EQ(BetterRoundTo(-std::numeric_limits<double>::infinity(), -2), -std::numeric_limits<double>::infinity());
    EXPECT_THROW(BetterRoundTo(1.0, -16), InternalError);
    EXPECT_THROW(BetterRoundTo(1.0, 16), InternalError);
}

TEST(BetterRoundTo, EveryCentHalfBetweenZeroAndTwoHundred)
{
    // x.xx5 as typed must go to the next cent, whatever its binary error.
    for (int cents = 0; cents < 20000; ++cents) {
        const auto text = [](int c) {
            return QStringLiteral("%1.%2").arg(c / 100).arg(c % 100, 2, 10, QLatin1Char('0'));
        };
        const double value = (text(cents) + QLatin1Char('5')).toDouble();
        const double up = text(cents + 1).toDouble();
        ASSERT_EQ(BetterRoundTo(value, -2), up) << value;
        ASSERT_EQ(BetterRoundTo(-value, -2), -up) << value;
    }
}

TEST(IsZero6, ComparesAfterRoundingToSixDecimals)
{
    // The last: amounts that should cancel out but leave binary dust.
    for (double zero : {0.0000004, -0.00000049, 0.1 + 0.2 - 0.3})
        EXPECT_TRUE(IsZero6(zero)) << zero;
    EXPECT_FALSE(IsZero6(0.0000005));
    EXPECT_FALSE(IsZero6(-0.0000005));
}
