#include "CalcExpress.h"

#include <gtest/gtest.h>

using namespace tarvex;

namespace {

double evaluate(const QString& text)
{
    TCalcExpress calc;
    calc.init(text);
    return calc.calc();
}

} // namespace

TEST(TCalcExpress, PriceFormulaContinuesTheSupplyPriceAndNamedArgumentsTakeNewValuesOnEachCalc)
{
    EXPECT_EQ(TCalcExpress::JoinArgument(100.0, "*1.2+5"), "100 *1.2+5");
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(100.0, "*1.2+5")), 125.0);
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
}

TEST(TCalcExpress, BadFormulasRaiseReadableErrors)
{
    // "*1,2" matters most: a comma would otherwise split it into two values.
    for (const char* text : {"100 *", "100 *x", "100 *1,2", "100 *(1.2", "100 ** 2", "100 *1.2)", "sqrt()",
                             "100 /0", "sqrt(-1)"}) {
        try {
            evaluate(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const CalcExpressError& e) {
            EXPECT_TRUE(e.userText().contains(text)) << e.what();
        }
    }
    EXPECT_THROW(evaluate("   "), CalcExpressError);
    EXPECT_THROW(TCalcExpress().calc(), CalcExpressError);
}
