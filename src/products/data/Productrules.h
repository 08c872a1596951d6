#pragma once
// Rules on a product's values that more than one way of saving a product
// applies (the editor's save, the catalogue import): kept here once so that
// both refuse and compute alike.

#include <QString>

namespace products {

// The name holds a character the module's texts cannot carry (a backslash,
// a quote, a colon or an en dash).
bool productNameHasForbiddenChars(const QString& name);

// A barcode of thirteen digits is an EAN-13 code and must end in its check
// digit; barcodes of other forms (in-store numbers) are not checked.
bool productBarcodeCheckDigitValid(const QString& barcode);

// One plus the tax rate in percent: a price times it carries the tax. The
// statements' texts apply the same factor (Productlistsql.h).
double productTaxFactor(double taxValue);
// The price as the price field keeps it: four decimals.
double productPriceRounded(double price);
// The price with tax as its field keeps it (two decimals), and the price
// without tax it gives at the tax rate (in percent).
double productPriceWithVatRounded(double priceWithVat);
double productPriceFromPriceWithVat(double priceWithVat, double taxValue);
// The same, the price with tax taken as it is (the web price's).
double productPriceWithoutVat(double priceWithVat, double taxValue);
// The price with tax of a price at the tax rate.
double productPriceWithVat(double price, double taxValue);

} // namespace products
