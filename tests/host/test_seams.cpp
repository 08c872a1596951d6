#include "Clock.h"
#include "Error.h"
#include "RandomSource.h"

#include <QList>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace tarvex;

TEST(HostSeams, AFixedTimeHoldsUntilResetAndSeededChanceRepeatsBelowItsBound)
{
    const QDateTime moment(QDate(2024, 3, 3), QTime(23, 59, 30));
    hostClock().setNow(moment);
    EXPECT_EQ(hostClock().now(), moment);
    EXPECT_EQ(hostClock().today(), QDate(2024, 3, 3));
    EXPECT_THROW(hostClock().setNow(QDateTime()), InternalError);
    EXPECT_EQ(hostClock().now(), moment);
    hostClock().reset();
    EXPECT_FALSE(hostClock().isFixed());
    EXPECT_LE(std::abs(hostClock().now().secsTo(QDateTime::currentDateTime())), 5);

    const auto draw = [](int bound) {
        QList<int> values;
        for (int i = 0; i < 200; ++i)
            values << randomSource().below(bound);
        return values;
    };
    randomSource().seed(2024);
    const QList<int> first = draw(99999);
    randomSource().seed(2024);
    EXPECT_EQ(draw(99999), first);
    randomSource().seed(2025);
    EXPECT_NE(draw(99999), first);
    const QList<int> small = draw(3);
    EXPECT_EQ(*std::min_element(small.begin(), small.end()), 0);
    EXPECT_EQ(*std::max_element(small.begin(), small.end()), 2);
    EXPECT_THROW(randomSource().below(0), InternalError);
    randomSource().reseedFromSystem();
}

