#include "Productrules.h"

#include "Barcode.h"
#include "Rounding.h"

namespace products {

bool productNameHasForbiddenChars(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\':") + QChar(0x2013);
    for (const QChar c : forbidden) {
        if (name.contains(c))
            return true;
    }
    return false;
}

bool productBarcodeCheckDigitValid(const QString& barcode)
{
    if (barcode.size() != 13)
        return true;
    for (const QChar c : barcode) {
        if (c < u'0' || c > u'9')
            return true;
    }
    return tarvex::IsValidEan13(barcode);
}

double productTaxFactor(double taxValue)
{
    return taxValue / 100 + 1;
}

double productPriceRounded(double price)
{
    return tarvex::BetterRoundTo(price, -4);
}

double productPriceWithVatRounded(double priceWithVat)
{
    return tarvex::BetterRoundTo(priceWithVat, -2);
}

double productPriceFromPriceWithVat(double priceWithVat, double taxValue)
{
    return productPriceWithoutVat(productPriceWithVatRounded(priceWithVat), taxValue);
}

double productPriceWithoutVat(double priceWithVat, double taxValue)
{
    return priceWithVat / productTaxFactor(taxValue);
}

double productPriceWithVat(double price, double taxValue)
{
    return tarvex::BetterRoundTo(price * productTaxFactor(taxValue), -2);
}

} // namespace products
