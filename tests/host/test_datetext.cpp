#include "DateText.h"

#include <gtest/gtest.h>

using namespace tarvex;

TEST(DateText, ReadsAndWritesTheTypedFormAndAnythingElseIsAnInvalidDate)
{
    for (const auto& [text, date] : {std::pair{"2024-03-05", QDate(2024, 3, 5)}, {" 2024-3-5 ", QDate(2024, 3, 5)},
                                     {"2024-02-29", QDate(2024, 2, 29)}, {"31.12.2024", QDate(2024, 12, 31)},
                                     {"31.12.24", QDate(2024, 12, 31)}, {" 5.3.2024. ", QDate(2024, 3, 5)},
                                     {"01.01.69", QDate(2069, 1, 1)}, {"01.01.70", QDate(1970, 1, 1)}})
        EXPECT_EQ(MyDateStrToDate(text), date) << text;
    EXPECT_EQ(MyDateToDateStr(QDate(999, 1, 2)), "0999-01-02");
    EXPECT_TRUE(MyDateToDateStr(QDate()).isEmpty());
    for (QDate d(2023, 12, 25); d < QDate(2024, 3, 5); d = d.addDays(1))
        ASSERT_EQ(MyDateStrToDate(MyDateToDateStr(d)), d);
    for (const char* text : {"", "2023-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "29.02.2023", "31.04.24", "5.3.024", "2024.03.05", "2024/03/05",
                             "24-03-05", "+2024-03-05", "2024-03-05x", "2024-03-05 10:00", "2024-003-05"})
        EXPECT_FALSE(MyDateStrToDate(text).isValid()) << text;
}

