// Prices kept in step by the data module: price and price with tax, the
// recommended and web prices, the price by formula, and the rounding of a
// product's save. A category's rebate and margin: through their window
// (test_refwindows.cpp).

#include "test_productdm_support.h"

#include "Productresourcestring.h"
#include "ScriptedDialogs.h"

#include <QLocale>
#include <gtest/gtest.h>

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
    // The fields' values, exactly, separated by slashes.
    static QString values(std::initializer_list<const char*> names)
    {
        QStringList texts;
        for (const char* name : names)
            texts << QString::number(value(name), 'g', QLocale::FloatingPointShortest);
        return texts.join('/');
    }
};

TEST_F(ProductPricing, PriceRecommendedAndWebPricesFollowTheirPricesWithTax)
{
    P("price").setValue(10.123456);
    EXPECT_EQ(values({"price", "pricewithvat"}), "10.1235/12.15");

    P("pricewithvat").setValue(119.996);
    EXPECT_EQ(values({"price", "pricewithvat"}), "100/120");

    // Another tax rate recomputes the price with tax and keeps the price.
    P("taxvalue").setValue(10);
    EXPECT_EQ(values({"price", "pricewithvat"}), "100/110");

    // A price derived from the price with tax keeps its full precision.
    P("taxid").setValue(2);
    P("pricewithvat").setValue(100);
    EXPECT_DOUBLE_EQ(value("price"), 100 / 1.1);
    EXPECT_NE(value("price"), 90.909091);
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
    EXPECT_EQ(values({"price", "pricewithvat"}), "125/150");

    // A formula the evaluator cannot compute: a message, and the price stays.
    P("priceformula").setValue("*");
    EXPECT_EQ(dm().CalculatePrice(), -1);
    P("inputprice").setValue(8);
    EXPECT_DOUBLE_EQ(value("price"), 125.0);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().first().kind, MessageKind::Error);
    EXPECT_EQ(dialogs.shown().first().buttons, int(ButtonOk));
    EXPECT_EQ(dialogs.messages(), QStringList({products::PRICE_FORM_ERR, products::PRICE_FORM_ERR}));

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
    EXPECT_EQ(values({"inputprice", "supplyprice", "planprice", "price", "pricewithvat"}), "3.141593/100.46/7.01/50/60");
    EXPECT_EQ(text("SELECT CONCAT(inputprice, '/', supplyprice, '/', planprice, '/', price) FROM product"),
              "3.141593/100.46/7.01/50");

    // A formula that fails is not reported again by a save.
    openProduct(P("productid").asLargeInt());
    productZQ().edit();
    P("priceformula").setValue("*(");
    productZQ().post();
    EXPECT_TRUE(dialogs.shown().isEmpty());
}
