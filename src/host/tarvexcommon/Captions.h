#pragma once
// Captions of the one-letter codes stored in product.type, warehouse.pricetype
// and warehouse.warehousemethodtype. Display shows the caption of a code and
// entry stores the code of a caption, so both go through these functions.
//
// Mapping rules shared by all three sets: a code is looked up exactly; a
// caption is matched ignoring blanks at the ends and letter case. A code
// outside the set is shown as it stands, and a one-character text that is no
// caption is taken as a code, so such a value survives display and entry
// unchanged. Any other unknown caption gives the empty code. The fill
// functions clear the list first and fill it in the order below.

#include <QString>
#include <QStringList>

namespace tarvex {

// Product types: 'r' goods (Roba, a new product's type), 'u' service
// (Usluga, left out of stock lists), 'p' manufactured product (Proizvod) and
// 'l' semi-product (Poluproizvod), both with working operations, 'o' fixed
// asset (Osnovno sredstvo, with depreciation data).
void FillProdTypeCaptions(QStringList& list);
QString GetProdTypeCaption(const QString& code);
QString GetProdTypeName(const QString& caption);

// Warehouse price types: 'm' retail (Maloprodajna cena, prices with tax in
// view), 'v' wholesale (Veleprodajna cena; also what an empty column means
// to sibling modules).
void FillPriceCaptions(QStringList& list);
QString GetPriceDescription(const QString& code);
QString GetPriceName(const QString& caption);

// Stock valuation methods: 'a' average input price (Prosečna nabavna cena),
// 'o' selling price (Prodajna cena), 'p' plan price (Planska cena). The empty
// code (no method) has the empty caption.
void FillMethodCaptions(QStringList& list);
QString GetMethodCaption(const QString& code);
QString GetMethodName(const QString& caption);

} // namespace tarvex
