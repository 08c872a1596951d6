#include "Error.h"
#include "Format.h"

#include <QLocale>
#include <gtest/gtest.h>

using tarvex::Format;
using tarvex::InternalError;

TEST(Format, FillsSlotsInOrderWithPointDecimalsAndRefusesMismatchedOnes)
{
    QLocale::setDefault(QLocale(QLocale::Serbian, QLocale::Serbia)); // comma decimals must not leak in
    EXPECT_EQ(Format("INSERT INTO productwarehouse (productid,warehouseid,price) VALUES (%d,%d,%.13f)",
                     {12, qlonglong(3), 1234.5}),
              "INSERT INTO productwarehouse (productid,warehouseid,price) VALUES (12,3,1234.5000000000000)");
    EXPECT_EQ(Format("Ukupna vrednost: %s  Ukupna vrednost sa PDV-om: %s", {"1,234.50", "1,481.40"}),
              "Ukupna vrednost: 1,234.50  Ukupna vrednost sa PDV-om: 1,481.40");
    EXPECT_EQ(Format("%.2f %% of %d", {-0.001, 7.0}), "0.00 % of 7");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");
    QLocale::setDefault(QLocale::c());
    EXPECT_THROW(Format("%s and %s", {"one"}), InternalError);
    EXPECT_THROW(Format("%s", {"one", "two"}), InternalError);
    EXPECT_THROW(Format("%d", {1.5}), InternalError);
    EXPECT_THROW(Format("%x", {1}), InternalError);
    EXPECT_THROW(Format("100%", {}), InternalError);
}

