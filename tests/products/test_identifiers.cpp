#include "Barcode.h"
#include "Connection.h"
#include "Productidentifiers.h"
#include "RandomSource.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace products;
using namespace tarvex::test;

namespace {

void run(QSqlDatabase db, const QString& sql)
{
    tarvex::execSql(db, sql);
}

void addProducts(QSqlDatabase db, int count)
{
    for (int i = 0; i < count; ++i)
        run(db, QStringLiteral("INSERT INTO product (name, unitname, taxid, pricecurrency) VALUES ('P%1', 'kom', 1, 'RSD')").arg(i));
}

} // namespace

TEST(ProductCode, TemplatesFillTheirPositionsFromTheRight)
{
    EXPECT_EQ(formatProductCode("{c}{c}{c}{c}{c}", 43), "00043");
    EXPECT_EQ(formatProductCode("{c}{c}{c}{c}{c}", 1), "00001");
    EXPECT_EQ(formatProductCode("{c}{c}{c}{c}{c}", 100000), "100000");
    EXPECT_EQ(formatProductCode("{c}{c}{c}", 1501), "1501");
    EXPECT_EQ(formatProductCode("A/{c}{c}{c}.{c}", 7), "A/000.7");
    EXPECT_EQ(formatProductCode("A/{c}{c}{c}.{c}", 12345), "A/1234.5");
    EXPECT_EQ(formatProductCode("MP-{c}{c}", 5), "MP-05");
}

TEST(VariantBarcode, NumbersArePaddedOnTheRight)
{
    EXPECT_EQ(variantNumberText(42), "42000");
    EXPECT_EQ(variantNumberText(0), "00000");
    EXPECT_EQ(variantNumberText(99998), "99998");
}

class IdentifiersTest : public DatabaseTest {
protected:
    void SetUp() override { run(db(), "DELETE FROM product"); run(db(), "DELETE FROM productattribute"); }
};

TEST_F(IdentifiersTest, CodesAndBarcodesFollowTheNumberOfProducts)
{
    EXPECT_EQ(GetNewProductCode(db(), "{c}{c}{c}{c}{c}"), "00001");
    EXPECT_EQ(GetNewProductBarcode(db(), "{c}{c}{c}{c}{c}"), tarvex::Barcode12ToEan13("200000000001"));
    addProducts(db(), 42);
    EXPECT_EQ(GetNewProductCode(db(), "{c}{c}{c}{c}{c}"), "00043");
    EXPECT_EQ(GetNewProductBarcode(db(), "X{c}"), "2000000000435");
    // Without a placeholder neither a code nor a barcode is generated.
    EXPECT_EQ(GetNewProductCode(db(), "ABC"), QString());
    EXPECT_EQ(GetNewProductBarcode(db(), "ABC"), QString());
}

TEST_F(IdentifiersTest, VariantBarcodesCarryTheDateAndAreNeverRepeated)
{
    const QDate date(2024, 3, 3);
    tarvex::randomSource().seed(7);
    const QString first = GenerateAttributeBarcode(db(), date, 15);
    ASSERT_EQ(first.size(), 13);
    EXPECT_TRUE(tarvex::IsValidEan13(first));
    EXPECT_TRUE(first.startsWith("224"));
    EXPECT_EQ(first.mid(8, 4), "0303");

    // The same chance again meets the stored barcode and draws anew.
    run(db(), QStringLiteral("INSERT INTO productattribute (productid, prodattbarcode) VALUES (1, '%1')").arg(first));
    tarvex::randomSource().seed(7);
    const QString second = GenerateAttributeBarcode(db(), date, 15);
    EXPECT_NE(second, first);
    EXPECT_TRUE(tarvex::IsValidEan13(second));
    EXPECT_EQ(second.mid(8, 4), "0303");
    tarvex::randomSource().reseedFromSystem();
}
