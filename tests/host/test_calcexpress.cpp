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

TEST(TCalcExpress, PriceFormulaContinuesTheSupplyPrice)
{
    EXPECT_EQ(TCalcExpress::JoinArgument(100.0, QStringLiteral("*1.2+5")), QStringLiteral("100 *1.2+5"));
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(100.0, QStringLiteral("*1.2+5"))), 125.0);
    // The join is textual, so precedence runs across it.
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(100.0, QStringLiteral("+5*2"))), 110.0);
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(12.34, QStringLiteral(" / 2"))), 6.17);
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(0.1, QStringLiteral("*3"))), 0.1 * 3);
    EXPECT_DOUBLE_EQ(evaluate(TCalcExpress::JoinArgument(1e21, QStringLiteral("/1e21"))), 1.0);
    EXPECT_DOUBLE_EQ(evaluate(QStringLiteral("max(2, 3) * (1 + 0.5)")), 4.5);
}

TEST(TCalcExpress, NamedArgumentsTakeNewValuesOnEachCalc)
{
    TCalcExpress calc;
    calc.init(QStringLiteral("x*1.2+y"), {QStringLiteral("x"), QStringLiteral("y")});
    EXPECT_DOUBLE_EQ(calc.calc({100.0, 5.0}), 125.0);
    EXPECT_DOUBLE_EQ(calc.calc({10.0, 0.0}), 12.0);
    EXPECT_THROW(calc.calc({1.0}), CalcExpressError);
    // A new formula replaces the old names.
    calc.init(QStringLiteral("2*3"));
    EXPECT_DOUBLE_EQ(calc.calc(), 6.0);
    EXPECT_THROW(calc.init(QStringLiteral("x+1")), CalcExpressError);
}

TEST(TCalcExpress, BadFormulasRaiseReadableErrors)
{
    for (const char* text : {"100 *", "100 *x", "100 *1,2", "100 *(1.2", "100 ** 2", "100 *1.2)", "sqrt()"}) {
        TCalcExpress calc;
        try {
            calc.init(QString::fromLatin1(text));
            calc.calc();
            ADD_FAILURE() << "no error for " << text;
        } catch (const CalcExpressError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(text))) << e.what();
        }
    }
    TCalcExpress blank;
    EXPECT_THROW(blank.init(QStringLiteral("   ")), CalcExpressError);
    TCalcExpress never;
    EXPECT_THROW(never.calc(), CalcExpressError);
}

TEST(TCalcExpress, ResultsWithoutFiniteValueRaise)
{
    TCalcExpress calc;
    calc.init(QStringLiteral("100 /x"), {QStringLiteral("x")});
    EXPECT_DOUBLE_EQ(calc.calc({4.0}), 25.0);
    EXPECT_THROW(calc.calc({0.0}), CalcExpressError);
    EXPECT_THROW(evaluate(QStringLiteral("sqrt(-1)")), CalcExpressError);
    // A failed init leaves nothing to calculate.
    EXPECT_THROW(calc.init(QStringLiteral("1 +")), CalcExpressError);
    EXPECT_THROW(calc.calc({4.0}), CalcExpressError);
}
