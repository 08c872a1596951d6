#include "Barcode.h"
#include "Error.h"

#include <gtest/gtest.h>

using namespace tarvex;

TEST(Ean13, CheckDigitsOfRealBarcodes)
{
    // Worked by hand: weights 1,3,1,3... over the first twelve digits; sums
    // 89, 83, 93, 45, then 80 (check digit 0, not 10), and the first
    // generated product barcode.
    for (const char* code : {"4006381333931", "5901234123457", "9780306406157", "8600043001105", "4006381333900",
                             "2000000000015"})
        EXPECT_EQ(Barcode12ToEan13(QString(code).left(12)), code);
}

TEST(Ean13, ValidityCatchesWrongDigitsAndAnythingButTwelveAsciiDigitsIsRefused)
{
    for (const char* good : {"4006381333931", "5901234123457", "9780306406157", "8600043001105"})
        EXPECT_TRUE(IsValidEan13(good)) << good;
    for (const char* bad : {"8600043001104", /* wrong check digit */ "4003681333931", /* two swapped */
                            "400638133393", "40063813339310", "400638133393A", ""})
        EXPECT_FALSE(IsValidEan13(bad)) << bad;
    // The last: an Arabic-Indic four, a digit to Unicode but not to a scanner.
    for (const QString& bad : {QString("40063813339"), QString("4006381333931"), QString(), QString("40063813339X"),
                               QString(" 40063813339"), QString(QChar(0x0664)) + "00638133393"})
        EXPECT_THROW(Barcode12ToEan13(bad), InternalError) << bad.toStdString();
}

