#include "CalcExpress.h"
#include "Error.h"
#include "Rounding.h"
#include "ScratchHelpers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tarvex;

namespace {

double evaluate(const QString& text)
{
    TCalcExpress calc;
    calc.init(text);
    return calc.calc();
}

} // namespace

TEST(PriceArithmetic, RoundsHalvesAwayFromZeroEveryCentHalfIncludedIsZero6AndPriceFormulasContinueTheSupplyPrice)
{
    const std::tuple<double, int, double> cases[] = {
        // This double lies just below its decimal text, so rounding the binary
        // value would go down (every cent's half: the loop below).
        {1.0000005, -6, 1.000001},
        // Prices of the pricing rules, carries and values already exact.
        {12.1482, -2, 12.15}, {10.123456, -4, 10.1235}, {100.0 / 1.18, -6, 84.745763}, {1.0049999, -2, 1.0},
        {123456789.125, -2, 123456789.13}, {99.9999996, -6, 100.0}, {1e20, -2, 1e20}, {1250.0, 2, 1300.0},
        {0.5, 0, 1.0}, {0.05, 0, 0.0},
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

    // IsZero6 compares at six decimals; the last: amounts that should cancel
    // out but leave binary dust.
    for (double zero : {0.0000004, -0.00000049, 0.1 + 0.2 - 0.3})
        EXPECT_TRUE(IsZero6(zero)) << zero;
    EXPECT_FALSE(IsZero6(0.0000005));
    EXPECT_FALSE(IsZero6(-0.0000005));

    // Price formulas continue the supply price; named arguments take new values on each calc.
    // (Its value, 125: the product module's price by formula, test_productdm_pricing.)
    EXPECT_EQ(TCalcExpress::JoinArgument(100.0, "*1.2+5"), "100 *1.2+5");
    // The join is textual, so precedence runs across it.
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(100.0, "+5*2")), 110.0);
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(12.34, " / 2")), 6.17);
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(1e21, "/1e21")), 1.0);
    EXPECT_DOUBLE_EQ(evaluate("max(2, 3) * (1 + 0.5)"), 4.5);

    TCalcExpress calc;
    calc.init("x*1.2+y", {"x", "y"});
    EXPECT_DOUBLE_EQ(calc.calc({100.0, 5.0}), 125.0);
    EXPECT_DOUBLE_EQ(calc.calc({10.0, 0.0}), 12.0);
    EXPECT_THROW(calc.calc({1.0}), CalcExpressError);
    calc.init("2*3"); // a new formula drops the old names
    EXPECT_DOUBLE_EQ(calc.calc(), 6.0);
    EXPECT_THROW(calc.init("x+1"), CalcExpressError);
    EXPECT_THROW(calc.calc(), CalcExpressError); // nothing left after a failed init

    // Bad formulas raise readable errors. "*1,2" matters most: a comma would
    // otherwise split it into two values.
    for (const char* text : {"100 *", "100 *x", "100 *1,2", "100 *(1.2", "100 ** 2", "100 *1.2)", "sqrt()",
                             "100 /0", "sqrt(-1)"}) {
        const QString told = test::thrownText<CalcExpressError>([&] { evaluate(text); });
        EXPECT_TRUE(told.contains(text)) << told.toStdString();
    }
    EXPECT_THROW(evaluate("   "), CalcExpressError);
    EXPECT_THROW(TCalcExpress().calc(), CalcExpressError);
}
