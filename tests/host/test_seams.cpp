#include "Clock.h"
#include "RandomSource.h"

#include <QList>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace tarvex;

TEST(HostClock, AFixedTimeHoldsUntilReset)
{
    HostClock& clock = hostClock();
    const QDateTime moment(QDate(2024, 3, 3), QTime(23, 59, 30));
    clock.setNow(moment);
    EXPECT_TRUE(clock.isFixed());
    EXPECT_EQ(clock.now(), moment);
    EXPECT_EQ(clock.today(), QDate(2024, 3, 3));
    EXPECT_EQ(hostClock().today(), QDate(2024, 3, 3)); // one clock for the process
    EXPECT_THROW(clock.setNow(QDateTime()), std::invalid_argument);
    EXPECT_EQ(clock.now(), moment);

    clock.reset();
    EXPECT_FALSE(clock.isFixed());
    EXPECT_LE(std::abs(clock.now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(RandomSource, TheSameSeedGivesTheSameSequence)
{
    const auto draw = [](RandomSource& source) {
        QList<int> values;
        for (int i = 0; i < 20; ++i)
            values << source.below(99999);
        return values;
    };
    randomSource().seed(2024);
    const QList<int> first = draw(randomSource());
    randomSource().seed(2024);
    EXPECT_EQ(draw(randomSource()), first);
    randomSource().seed(2025);
    EXPECT_NE(draw(randomSource()), first);
    randomSource().reseedFromSystem();
}

TEST(RandomSource, NumbersStayBelowTheBound)
{
    RandomSource source;
    source.seed(7);
    bool sawZero = false;
    bool sawTop = false;
    for (int i = 0; i < 2000; ++i) {
        const int r = source.below(5);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 5);
        sawZero = sawZero || r == 0;
        sawTop = sawTop || r == 4;
    }
    EXPECT_TRUE(sawZero && sawTop);
    EXPECT_EQ(source.below(1), 0);
    EXPECT_THROW(source.below(0), std::invalid_argument);
}
