#include "Barcode.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace tarvex;

TEST(Ean13, CheckDigitsOfRealBarcodes)
{
    // Worked by hand: weights 1,3,1,3... over the first twelve digits.
    EXPECT_EQ(Barcode12ToEan13(QStringLiteral("400638133393")), QStringLiteral("4006381333931")); // sum 89
    EXPECT_EQ(Barcode12ToEan13(QStringLiteral("590123412345")), QStringLiteral("5901234123457")); // sum 83
    EXPECT_EQ(Barcode12ToEan13(QStringLiteral("978030640615")), QStringLiteral("9780306406157")); // sum 93
    EXPECT_EQ(Barcode12ToEan13(QStringLiteral("860004300110")), QStringLiteral("8600043001105")); // sum 45
    // A sum that is a multiple of ten gives check digit 0, not 10.
    EXPECT_EQ(Barcode12ToEan13(QStringLiteral("400638133390")), QStringLiteral("4006381333900")); // sum 80
    // The first generated product barcode: "2", ten zeros, "1".
    EXPECT_EQ(Barcode12ToEan13(QStringLiteral("200000000001")), QStringLiteral("2000000000015"));
    EXPECT_EQ(Ean13CheckDigit(QStringLiteral("000000000000")), 0);
}

TEST(Ean13, ValidityCatchesWrongDigits)
{
    for (const char* good : {"4006381333931", "5901234123457", "9780306406157", "8600043001105", "2000000000015"})
        EXPECT_TRUE(IsValidEan13(QString::fromLatin1(good))) << good;
    EXPECT_FALSE(IsValidEan13(QStringLiteral("8600043001104"))); // wrong check digit
    EXPECT_FALSE(IsValidEan13(QStringLiteral("4003681333931"))); // two digits swapped
    EXPECT_FALSE(IsValidEan13(QStringLiteral("400638133393")));  // twelve digits
    EXPECT_FALSE(IsValidEan13(QStringLiteral("40063813339310")));
    EXPECT_FALSE(IsValidEan13(QStringLiteral("400638133393A")));
    EXPECT_FALSE(IsValidEan13(QString()));
}

TEST(Ean13, AnythingButTwelveAsciiDigitsIsRefused)
{
    for (const QString& bad : {QStringLiteral("40063813339"), QStringLiteral("4006381333931"), QString(),
                               QStringLiteral("40063813339X"), QStringLiteral(" 40063813339"),
                               QStringLiteral("-40063813339"),
                               // Arabic-Indic digit four: a digit to Unicode, not to a scanner.
                               QString(QChar(0x0664)) + QStringLiteral("00638133393")}) {
        EXPECT_THROW(Barcode12ToEan13(bad), std::invalid_argument) << bad.toStdString();
    }
}
