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

} // namespace

// Codes fill the template's positions from the right; variant numbers are padded on the right.
TEST(ProductCode, TemplatesAndVariantNumbers)
{
    const std::tuple<const char*, int, const char*> codes[] = {
        {"{c}{c}{c}{c}{c}", 43, "00043"}, {"{c}{c}{c}{c}{c}", 1, "00001"}, {"{c}{c}{c}{c}{c}", 100000, "100000"},
        {"{c}{c}{c}", 1501, "1501"},      {"A/{c}{c}{c}.{c}", 7, "A/000.7"}, {"A/{c}{c}{c}.{c}", 12345, "A/1234.5"},
        {"MP-{c}{c}", 5, "MP-05"}};
    for (const auto& [pattern, number, code] : codes)
        EXPECT_EQ(formatProductCode(pattern, number), code) << pattern << " " << number;
    for (const auto& [number, text] : {std::pair{42, "42000"}, {0, "00000"}, {99998, "99998"}})
        EXPECT_EQ(variantNumberText(number), text);
}

class IdentifiersTest : public DatabaseTest {
protected:
    void SetUp() override { run(db(), "DELETE FROM product"); run(db(), "DELETE FROM productattribute"); }
};

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
