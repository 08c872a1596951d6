// Labels of the columns the product module writes, as the windows call them:
// a refused save or a database error names the field by its label.

#include "Productdmunit.h"

namespace products {

namespace {

struct Label {
    const char* column;
    const char* label;
};

void label(QueryDataSet* ds, std::initializer_list<Label> labels)
{
    for (const Label& l : labels) {
        tarvex::Field& field = ds->declareField(QString::fromUtf8(l.column));
        // Captions given with a display format elsewhere stay as they are.
        if (field.displayLabel() == field.fieldName())
            field.setDisplayLabel(QString::fromUtf8(l.label));
    }
}

} // namespace

void TProductDM::setUpLabels()
{
    label(ProductZQ, {{"productid", "Proizvod"}, {"manufseries", "Serija proizvođača"}});
    label(ProductDetailZQ,
          {{"productid", "Proizvod"},
           {"characteristics", "Karakteristike"},
           {"description", "Opis"},
           {"specification", "Specifikacije"},
           {"model", "Model"},
           {"warranty", "Garancija"},
           {"originalcountry", "Zemlja porekla"},
           {"exportcountry", "Zemlja izvoza"},
           {"importcountry", "Zemlja uvoza"},
           {"mass", "Masa"},
           {"massgross", "Bruto masa"},
           {"massunitname", "JM mase"},
           {"commercialpackage", "Komercijalno pakovanje"},
           {"transportpackage", "Transportno pakovanje"},
           {"commercialpackagebarcode", "Barkod komercijalnog pakovanja"},
           {"transportpackagebarcode", "Barkod transportnog pakovanja"},
           {"minimalorderquantity", "Minimalna količina za poručivanje"},
           {"tariffnumber", "Tarifni broj"},
           {"additionalrebate", "Akcijski rabat"},
           {"maxrebate", "Maksimalni rabat"},
           {"maxretailrebate", "Maks. rabat u maloprodaji"},
           {"secondunitname", "Druga JM"},
           {"secondunitnamecoefficient", "Koef. druge JM"},
           {"secondunitnameprice", "Cena druge JM"},
           {"b2b", "B2B"},
           {"web", "Web"},
           {"webprice", "Web cena"},
           {"b2bprice", "B2B cena"},
           {"bonus", "Bonus"},
           {"valutedays", "Broj dana valute"},
           {"specialprice", "Akcijska cena"}});
    label(TaxZQ, {{"taxid", "Porez"}, {"name", "Ime"}, {"description", "Opis"}, {"value", "Vrednost"}, {"status", "Status"}});
    label(WarehouseZQ, {{"warehouseid", "Magacin"},
                        {"name", "Ime"},
                        {"code", "Kod"},
                        {"status", "Status"},
                        {"address", "Adresa"},
                        {"city", "Grad"},
                        {"zip", "Poštanski br."},
                        {"pricetype", "Tip cene"},
                        {"warehousemethodtype", "Tip metoda"},
                        {"warehousecurrency", "Moneta"},
                        {"active", "Aktivan"},
                        {"b2b", "B2B"},
                        {"warehouseautopricechange", "Auto nivelacije"},
                        {"warehouseonlyfreeamount", "Samo slobodna količina"},
                        {"warehouseinternalsupplyprice", "Interno nabavna cena"},
                        {"lastloadeddocumentid", "Poslednji učitani dokument"},
                        {"organizationunit", "Organizaciona jedinica"}});
    label(ProductWarehouseZQ, {{"productid", "Proizvod"},
                               {"warehouseid", "Magacin"},
                               {"amount", "Količina"},
                               {"price", "Mag.cena"},
                               {"reservedamount", "Rezervisano"},
                               {"reversedamount", "Na reversu"},
                               {"orderedamount", "Poručeno"},
                               {"place", "Mesto"},
                               {"minstock", "Min"},
                               {"maxstock", "Max"}});
    label(FixedAssetZQ, {{"productid", "Proizvod"},
                         {"cataloguenumber", "Kataloški br."},
                         {"inventorynumber", "Inventarski br."},
                         {"serialnumber", "Serijski br."},
                         {"locationgroup", "Lokacijska grupa"},
                         {"location", "Lokacija"},
                         {"purchasedate", "Datum nabavke"},
                         {"activationdate", "Datum aktivacije"},
                         {"warrantydate", "Datum garancije"},
                         {"depreciationstartdate", "Početni datum"},
                         {"depreciationenddate", "Krajnji datum"},
                         {"depreciationpercent", "Procenat"},
                         {"permanentvalue", "Preostala vrednost"},
                         {"depreciationtaxbasevalue", "Poreska osnovica"},
                         {"depreciationgroupid", "Poreska amort. grupa"},
                         {"depreciationaccountinggroupid", "Knjig. amort. grupa"}});
    for (QueryDataSet* group : {DepreciationGroupZQ, DepreciationAccountingGroupZQ})
        label(group, {{"depreciationgroupid", "Grupa"},
                      {"depreciationaccountinggroupid", "Grupa"},
                      {"percent", "Procenat"},
                      {"description", "Opis"}});
    label(ProductPackagingZQ, {{"productpackagingid", "Pakovanje"},
                               {"productid", "Proizvod"},
                               {"packagingid", "Ambalaža"},
                               {"productamount", "Količina proizvoda"},
                               {"packagingamount", "Količina ambalaže"}});
    label(ProductWorkingOperationZQ, {{"productworkingoperationid", "Radna operacija"},
                                      {"productid", "Proizvod"},
                                      {"machinetype", "Tip mašine"},
                                      {"machinenumber", "Broj mašine"},
                                      {"description", "Opis"},
                                      {"preparationtime", "Vreme pripreme (min)"},
                                      {"productiontime", "Vreme izrade (min)"},
                                      {"sort", "R.b."}});
    label(CategoryPrZQ, {{"categoryprid", "Kategorija"}, {"name", "Ime"}, {"parentid", "Nadređena kategorija"}});
    label(CategoryPrAttributeZQ,
          {{"categoryprattributeid", "Atribut kategorije"}, {"categoryprid", "Kategorija"}, {"attributeprid", "Atribut"}});
    label(ProductAttributeZQ, {{"productattributeid", "Atribut proizvoda"},
                               {"productid", "Proizvod"},
                               {"prodattribute", "Atribut"},
                               {"prodattributevalue", "Vrednost atributa"},
                               {"prodattbarcode", "Barkod atributa"}});
    for (int i = 1; i <= 5; ++i) {
        const QByteArray n = QByteArray::number(i);
        label(ProductAttributeZQ, {{QByteArray("attributeprid" + n).constData(), "Atribut"},
                                   {QByteArray("attributeprvalueid" + n).constData(), "Vrednost atributa"},
                                   {QByteArray("prodattrequired" + n).constData(), "Obavezan"}});
    }
    label(AttributePrZQ, {{"attributeprid", "Atribut"}, {"attribute", "Atribut"}, {"required", "Obavezan"}, {"sort", "R.b."}});
    label(AttributePrValueZQ, {{"attributeprvalueid", "Vrednost atributa"},
                               {"attributeprid", "Atribut"},
                               {"attributevalue", "Vrednost"},
                               {"sort", "R.b."}});
    label(ProductRebateZQ, {{"productrebateid", "Rabat"},
                            {"productid", "Proizvod"},
                            {"quantity", "Količina"},
                            {"rebate", "Rabat"},
                            {"rebatetype", "Tip rabata"}});
}

} // namespace products
