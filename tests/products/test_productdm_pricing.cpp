// Prices kept in step by the data module: price and price with tax, the
// recommended and web prices, the price by formula, and the rounding of a
// product's save. A category's rebate and margin: through their window
// (test_refwindows.cpp).

#include "test_productdm_support.h"

#include "Productlistsql.h"
#include "Productresourcestring.h"
#include "Productrules.h"
#include "ScriptedDialogs.h"

#include <QLocale>

using namespace tarvex;
using namespace tarvex::test;

class ProductPricing : public ProductDMCase {
protected:
    void SetUp() override
    {
        ProductDMCase::SetUp();
        appendProduct(QStringLiteral("Sok od jabuke"));
    }
    static double value(const char* name) { return P(name).asFloat(); }
    // The fields' values, exactly.
    static QStringList values(std::initializer_list<const char*> names)
    {
        QStringList texts;
        for (const char* name : names)
            texts << QString::number(value(name), 'g', QLocale::FloatingPointShortest);
        return texts;
    }
};

TEST_F(ProductPricing, PriceRecommendedAndWebPricesFollowTheirPricesWithTax)
{
    P("price").setValue(10.123456);
    EXPECT_ROWS(values({"price", "pricewithvat"}), (QStringList{"10.1235", "12.15"}));

    P("pricewithvat").setValue(119.996);
    EXPECT_ROWS(values({"price", "pricewithvat"}), (QStringList{"100", "120"}));

    // Another tax rate recomputes the price with tax and keeps the price.
    P("taxvalue").setValue(10);
    EXPECT_ROWS(values({"price", "pricewithvat"}), (QStringList{"100", "110"}));

    // A price derived from the price with tax keeps its full precision.
    P("taxid").setValue(2);
    P("pricewithvat").setValue(100);
    EXPECT_DOUBLE_EQ(value("price"), 100 / 1.1);
    productZQ().post();
    EXPECT_DOUBLE_EQ(number("SELECT price FROM product"), 100 / 1.1);

    // The recommended price follows its price with tax.
    productZQ().edit();
    P("recommendedpricewithvat").setValue(150.004);
    EXPECT_DOUBLE_EQ(value("recommendedpricewithvat"), 150.0);
    EXPECT_DOUBLE_EQ(value("recommendedprice"), 150 / 1.1);
    productZQ().post();
    EXPECT_DOUBLE_EQ(number("SELECT recommendedprice FROM product"), 150 / 1.1);

    // The web price uses the current product's tax and rounds nothing.
    QueryDataSet& detail = *dm().ProductDetailZQ;
    detail.setParam("productid", P("productid").value());
    detail.open();
    detail.append();
    detail.fieldByName("webpricewithvat").setValue(99.999);
    EXPECT_DOUBLE_EQ(detail.fieldByName("webpricewithvat").asFloat(), 99.999);
    EXPECT_DOUBLE_EQ(detail.fieldByName("webprice").asFloat(), 99.999 / 1.1);
    detail.post();
    EXPECT_DOUBLE_EQ(number(QStringLiteral("SELECT webprice FROM productdetail WHERE productid = %1")
                                .arg(P("productid").asLargeInt())),
                     99.999 / 1.1);
}

TEST_F(ProductPricing, AFormulaTurnsTheSupplyPriceIntoThePriceWhateverTheLocaleAndSavingRoundsPurchasePrices)
{
    ScriptedDialogs dialogs;
    P("supplyprice").setValue(100);
    P("priceformula").setValue("*1.2+5");
    EXPECT_DOUBLE_EQ(dm().CalculatePrice(), 125.0);
    // Typing an input price only sets the computation off.
    P("inputprice").setValue(7);
    EXPECT_ROWS(values({"price", "pricewithvat"}), (QStringList{"125", "150"}));

    // A formula the evaluator cannot compute: a message, and the price stays.
    P("priceformula").setValue("*");
    EXPECT_EQ(dm().CalculatePrice(), -1);
    P("inputprice").setValue(8);
    EXPECT_DOUBLE_EQ(value("price"), 125.0);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().first().kind, MessageKind::Error);
    EXPECT_EQ(dialogs.shown().first().buttons, int(ButtonOk));
    EXPECT_ROWS(dialogs.messages(), QStringList({products::PRICE_FORM_ERR, products::PRICE_FORM_ERR}));

    // No formula, or no supply price: -1 without a word.
    dialogs.clear();
    P("priceformula").setValue("   ");
    EXPECT_EQ(dm().CalculatePrice(), -1);
    P("priceformula").clear();
    P("inputprice").setValue(9);
    P("priceformula").setValue("*2");
    P("supplyprice").setValue(0);
    EXPECT_EQ(dm().CalculatePrice(), -1);
    EXPECT_DOUBLE_EQ(value("price"), 125.0);
    EXPECT_TRUE(dialogs.shown().isEmpty());

    // The supply price is read whatever the locale.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia));
    P("supplyprice").setValue(1234.5);
    P("priceformula").setValue("*1.2");
    const double price = dm().CalculatePrice();
    QLocale::setDefault(before);
    EXPECT_DOUBLE_EQ(price, 1481.4);

    // Saving rounds the purchase prices and runs no price handler.
    dialogs.clear();
    P("supplyprice").setValue(100.456);
    P("priceformula").setValue("*1.2");
    P("inputprice").setValue(3.14159265);
    EXPECT_DOUBLE_EQ(value("price"), 120.55);
    // The user then overrides the computed price.
    P("price").setValue(50);
    P("planprice").setValue(7.005);
    productZQ().post();
    EXPECT_ROWS(values({"inputprice", "supplyprice", "planprice", "price", "pricewithvat"}),
                (QStringList{"3.141593", "100.46", "7.01", "50", "60"}));
    EXPECT_ROWS(rowsOf(db(), "SELECT inputprice, supplyprice, planprice, price FROM product"),
                QStringList{"3.141593|100.46|7.01|50"});

    // A formula that fails is not reported again by a save.
    openProduct(P("productid").asLargeInt());
    productZQ().edit();
    P("priceformula").setValue("*(");
    productZQ().post();
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

// The lists compute the price with tax in SQL: it must agree with the
// editor's rule, and the product list shows a product in two
// categories once.
TEST_F(ProductDMCase, TheListsPriceWithTaxIsTheEditorsAndAProductShowsOnce)
{
    insertWarehouses({1});
    sql("INSERT INTO tax (taxid, name, value, status) VALUES (3, 'PDV18', 18, 'standard')");
    // Product, its tax and that tax's rate, its price.
    const std::tuple<qint64, int, double, double> cases[] = {{1, 1, 20, 10.1235}, {2, 2, 10, 0.0333},
                                                             {3, 3, 18, 1234567.8901}};
    for (const auto& [id, taxId, rate, price] : cases) {
        insertProduct(id, QStringLiteral("Proizvod %1").arg(id));
        sql(QStringLiteral("UPDATE product SET taxid = %1, price = %2, recommendedprice = %2 WHERE productid = %3")
                .arg(taxId)
                .arg(SqlNumber(price))
                .arg(id));
        sql(QStringLiteral("INSERT INTO productwarehouse (productid, warehouseid, price) VALUES (%1, 1, %2)")
                .arg(id)
                .arg(SqlNumber(price * 3)));
        sql(QStringLiteral("INSERT INTO productcategorypr (productid, categoryprid) VALUES (%1, 7), (%1, 8)").arg(id));
    }
    QueryDataSet& list = productZQ();
    list.setSql(products::productListSql(QStringLiteral("1"), QStringLiteral("pc.categoryprid IN (7, 8)")));
    list.open();
    ASSERT_EQ(list.recordCount(), 3);
    for (const auto& [id, taxId, rate, price] : cases) {
        ASSERT_TRUE(list.locate(QStringLiteral("productid"), id)) << id;
        const double factor = products::productTaxFactor(rate);
        EXPECT_DOUBLE_EQ(P("pricewithvat").asFloat(), price * factor) << id;
        EXPECT_DOUBLE_EQ(P("recommendedpricewithvat").asFloat(), price * factor) << id;
        EXPECT_DOUBLE_EQ(P("wh_pricewithvat").asFloat(), price * 3 * factor) << id;
    }
    QueryDataSet& stock = *dm().ProductWarehouseZQ;
    stock.setSql(products::productWarehouseRowsSql(QStringLiteral("pw.productid = 3")));
    stock.open();
    ASSERT_EQ(stock.recordCount(), 1);
    EXPECT_DOUBLE_EQ(stock.fieldByName("pricevat").asFloat(), 1234567.8901 * 3 * products::productTaxFactor(18));
    EXPECT_EQ(stock.fieldByName("name").asString(), "Magacin 1");
}
