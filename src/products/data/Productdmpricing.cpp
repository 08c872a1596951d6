// The price pairs kept in step: price and price with tax, the recommended and
// web prices with tax, a category's maximal rebate and margin, and the price
// computed from the supply price by the product's formula.

#include "Productdmunit.h"

#include "CalcExpress.h"
#include "Dialogs.h"
#include "Productresourcestring.h"
#include "Productrules.h"
#include "Rounding.h"

namespace products {

using tarvex::BetterRoundTo;
using tarvex::Field;

namespace {

// Sets the flag for the length of a handler; the handler's own writes (and
// the save's rounding) then run no further price handler.
class PriceUpdate {
public:
    explicit PriceUpdate(bool& flag) : m_flag(flag) { m_flag = true; }
    ~PriceUpdate() { m_flag = false; }

private:
    bool& m_flag;
};

double taxValue(const QueryDataSet* products)
{
    return products->fieldByName(QStringLiteral("taxvalue")).asFloat();
}

} // namespace

void TProductDM::ProductZQpriceChange(Field&)
{
    if (m_priceUpdate)
        return;
    PriceUpdate guard(m_priceUpdate);
    Field& price = ProductZQ->fieldByName(QStringLiteral("price"));
    price.setValue(productPriceRounded(price.asFloat()));
    ProductZQ->fieldByName(QStringLiteral("pricewithvat"))
        .setValue(productPriceWithVat(price.asFloat(), taxValue(ProductZQ)));
}

void TProductDM::ProductZQpricewithvatChange(Field&)
{
    if (m_priceUpdate)
        return;
    PriceUpdate guard(m_priceUpdate);
    Field& withVat = ProductZQ->fieldByName(QStringLiteral("pricewithvat"));
    withVat.setValue(productPriceWithVatRounded(withVat.asFloat()));
    ProductZQ->fieldByName(QStringLiteral("price"))
        .setValue(productPriceFromPriceWithVat(withVat.asFloat(), taxValue(ProductZQ)));
}

void TProductDM::ProductZQrecommendedpricewithvatChange(Field&)
{
    if (m_priceUpdate)
        return;
    PriceUpdate guard(m_priceUpdate);
    Field& withVat = ProductZQ->fieldByName(QStringLiteral("recommendedpricewithvat"));
    withVat.setValue(productPriceWithVatRounded(withVat.asFloat()));
    ProductZQ->fieldByName(QStringLiteral("recommendedprice"))
        .setValue(productPriceFromPriceWithVat(withVat.asFloat(), taxValue(ProductZQ)));
}

void TProductDM::ProductDetailZQwebpricewithvatChange(Field& field)
{
    if (m_priceUpdate)
        return;
    PriceUpdate guard(m_priceUpdate);
    // The rate is the current product's.
    ProductDetailZQ->fieldByName(QStringLiteral("webprice"))
        .setValue(productPriceWithoutVat(field.asFloat(), taxValue(ProductZQ)));
}

void TProductDM::CategoryPrZQmaxrebateChange(Field& field)
{
    if (m_priceUpdate)
        return;
    PriceUpdate guard(m_priceUpdate);
    const double rebate = field.asFloat();
    CategoryPrZQ->fieldByName(QStringLiteral("maxmargin")).setValue(rebate / (100 - rebate) * 100);
}

void TProductDM::CategoryPrZQmaxmarginChange(Field& field)
{
    if (m_priceUpdate)
        return;
    PriceUpdate guard(m_priceUpdate);
    const double margin = field.asFloat();
    CategoryPrZQ->fieldByName(QStringLiteral("maxrebate")).setValue(margin / (margin + 100) * 100);
}

double TProductDM::CalculatePrice()
{
    const Field& formula = ProductZQ->fieldByName(QStringLiteral("priceformula"));
    const double supply = ProductZQ->fieldByName(QStringLiteral("supplyprice")).asFloat();
    if (formula.asString().trimmed().isEmpty() || supply <= 0)
        return -1;
    try {
        // The supply price's text and the evaluator agree on "." whatever
        // the locale; the formula begins with its operator ("*1.2+5").
        tarvex::TCalcExpress calc;
        calc.init(tarvex::TCalcExpress::JoinArgument(supply, formula.asString()), {});
        return BetterRoundTo(calc.calc({}), -2);
    } catch (const std::exception&) {
        tarvex::dialogs().error(PRICE_FORM_ERR);
        return -1;
    }
}

void TProductDM::ProductZQinputpriceChange(Field&)
{
    // Typing an input price only triggers the computation from the supply
    // price. The flag is never set around a typed input price, only around
    // the save's rounding, which must leave the price alone (and not report
    // a bad formula again).
    if (m_priceUpdate)
        return;
    const double price = CalculatePrice();
    if (BetterRoundTo(price, -2) >= 0)
        ProductZQ->fieldByName(QStringLiteral("price")).setValue(price);
}

} // namespace products
