#include "NumberText.h"

#include <QList>
#include <gtest/gtest.h>

using namespace tarvex;

TEST(NumberText, TypedNumbersReadInTheFormsWrittenHereAndTwoWayTextsAreRefusedWithTheExpectedForm)
{
    // Typed, the exact digits read, the value.
    const std::tuple<const char*, const char*, double> accepted[] = {
        {"1.234,56", "1234.56", 1234.56}, {"1234,56", "1234.56", 1234.56}, {"1234.56", "1234.56", 1234.56},
        {" -1.234.567,5 ", "-1234567.5", -1234567.5}, {"1.234.567", "1234567", 1234567}, {"+7", "7", 7},
        {"1,5", "1.5", 1.5}, {"1.5", "1.5", 1.5}, {"0.125", "0.125", 0.125}, {"1234.567", "1234.567", 1234.567},
        {",5", "0.5", 0.5}, {"007,10", "7.1", 7.1}, {"-0,00", "0", 0}, {"12.345,000", "12345", 12345},
        {"368,535", "368.535", 368.535}, {"19900.89", "19900.89", 19900.89}};
    for (const auto& [typed, plain, value] : accepted) {
        const NumberRead read = ReadNumberText(typed);
        EXPECT_TRUE(read.ok) << typed << ": " << read.error.toStdString();
        EXPECT_EQ(read.plain, plain) << typed;
        EXPECT_DOUBLE_EQ(read.value, value) << typed;
        EXPECT_TRUE(read.error.isEmpty()) << typed;
    }

    // A thousand or one and a bit: the message names both and the way to write each.
    QList<std::pair<QString, QString>> refused = {
        {"1.234", "\"1.234\" može da znači 1234 ili 1,234. Upišite 1.234,00 ili 1,234."},
        {"-12.500", "\"-12.500\" može da znači -12500 ili -12,500. Upišite -12.500,00 ili -12,500."}};
    for (const char* typed : {"", " ", "-", "abc", "1,234.56", "1,2,3", "1.23,4", "12.34.56", "1.2345.678", "1e5",
                              "1 234,56", "1234,", "1234.", "0.123.456", "--1", "1,5.", "12a", "1.234,5.6",
                              "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
                              "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
                              "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
                              "99999999999999999999999999999999999999999999"})
        refused.append({typed, QStringLiteral("\"%1\" nije broj. Upišite ga kao 1.234,56 ili 1234,56.")
                                   .arg(QString::fromUtf8(typed).trimmed())});
    for (const auto& [typed, message] : refused) {
        const NumberRead read = ReadNumberText(typed);
        EXPECT_FALSE(read.ok) << typed.toStdString();
        EXPECT_EQ(read.error.toStdString(), message.toStdString());
    }
}
