// What the shelf labels show: the warehouse's price or the product's own,
// with the product's VAT.
#include "Connection.h"
#include "Productpricelabels.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;

namespace {

class PriceLabelRowsTest : public test::DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        QSqlDatabase database = db();
        for (const char* sql : {
                 "DELETE FROM productwarehouse", "DELETE FROM product", "DELETE FROM tax",
                 "INSERT INTO tax (taxid, name, value) VALUES (1, 'Opšta', 20), (2, 'Bez PDV', 0)",
                 "INSERT INTO product (productid, name, code, barcode, unitname, taxid, price, pricecurrency) VALUES "
                 "(1, 'Čokolada mlečna 100g', 'C100', '5901234123457', 'kom', 1, 100, 'RSD'),"
                 "(2, 'Kafa mlevena 500g', 'K500', ' 4006381333931 ', 'kom', 1, 1028.75, 'RSD'),"
                 "(3, 'Hleb', NULL, NULL, 'kom', 2, 55.555, 'EUR')",
                 "INSERT INTO productwarehouse (productid, warehouseid, price) VALUES (1, 3, 120), (2, 4, 900), (3, 3, 50)"})
            execSql(database, QString::fromUtf8(sql));
    }

    static QStringList shown(const QList<TPriceLabelDesc>& rows)
    {
        QStringList texts;
        for (const TPriceLabelDesc& row : rows)
            texts << QStringLiteral("%1 %2 %3 %4|%5|%6").arg(QString::number(row.productId), QString::number(row.priceWithTax),
                                                            row.currency, row.barcode, row.name, row.code);
        texts.sort();
        return texts;
    }
};

} // namespace

TEST_F(PriceLabelRowsTest, WarehousePriceOrTheProductsOwnWithVat)
{
    // Product 999 does not exist; 1 and 3 have rows of warehouse 3.
    EXPECT_EQ(shown(products::PriceLabelRows(db(), {1, 2, 999, 3}, 3)),
              (QStringList{"1 144 RSD 5901234123457|Čokolada mlečna 100g|C100",
                           "2 1234.5 RSD 4006381333931|Kafa mlevena 500g|K500", "3 50 EUR |Hleb|"}));

    // Warehouse 4: its own row for product 2; product 3 falls back to its price, rounded.
    EXPECT_EQ(shown(products::PriceLabelRows(db(), {2, 3}, 4)),
              (QStringList{"2 1080 RSD 4006381333931|Kafa mlevena 500g|K500", "3 55.56 EUR |Hleb|"}));
    EXPECT_TRUE(products::PriceLabelRows(db(), {}, 4).isEmpty());
}
