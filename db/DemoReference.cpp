#include "DemoReference.h"

#include "Error.h"

#include <algorithm>

namespace tarvex::demo {

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

const char* organizationUnit(WarehouseRole role)
{
    switch (role) {
    case WarehouseRole::Central: return "Logistika";
    case WarehouseRole::Wholesale: return "Veleprodaja";
    case WarehouseRole::Retail: return "Maloprodaja";
    case WarehouseRole::Reserve: return "Prodaja";
    case WarehouseRole::Other: return "Logistika";
    }
    return "Logistika";
}

struct AttributeSpec {
    const char* name;
    bool required;
    std::vector<const char*> values;
};

const std::vector<AttributeSpec>& attributeCatalogue()
{
    static const std::vector<AttributeSpec> list = {
        {"Boja", false, {"Bela", "Crna", "Crvena", "Plava", "Zelena", "Žuta", "Siva", "Braon"}},
        {"Veličina", true, {"XS", "S", "M", "L", "XL", "XXL"}},
        {"Pakovanje", false, {"Pojedinačno", "Pakovanje 6 kom", "Pakovanje 12 kom", "Karton", "Paleta"}},
        {"Ukus", false, {"Jagoda", "Vanila", "Čokolada", "Lešnik", "Višnja", "Kajsija"}},
        {"Materijal", false, {"Čelik", "Drvo", "Plastika", "Aluminijum", "Staklo"}},
        {"Napon", true, {"230 V", "12 V", "18 V", "24 V"}},
        {"Zapremina", false, {"0,33 l", "0,5 l", "1 l", "1,5 l", "2 l"}},
    };
    return list;
}

// Leaf categories that suggest an attribute, with the value they suggest.
struct CategoryAttributeSpec {
    const char* leaf;
    int attribute; // index into attributeCatalogue()
    int value;
};

const std::vector<CategoryAttributeSpec>& categoryAttributes()
{
    static const std::vector<CategoryAttributeSpec> list = {
        {"Čokolade", 3, 2},        {"Keks i vafli", 3, 1},       {"Sokovi", 6, 2},
        {"Sokovi", 2, 0},          {"Pivo", 6, 1},               {"Bušilice i brusilice", 5, 2},
        {"Svetiljke", 0, 0},       {"Svetiljke", 4, 3},          {"Odvijači i ključevi", 4, 0},
        {"Čekići i testere", 4, 1}, {"Sveske i blokovi", 2, 0},   {"Utičnice i prekidači", 0, 0},
    };
    return list;
}

} // namespace

DemoReference::DemoReference(DemoWriter& writer, DemoModel& model, quint32 seed)
    : m_writer(writer), m_model(model), m_random(seed, 1)
{
}

void DemoReference::write(int partners)
{
    writeTaxes();
    writeCurrencies();
    writeWarehouses();
    writeKasaGroups();
    writeDepreciationGroups();
    writeAttributes();
    writeCategories();
    writeCategoryAttributes();
    writePartners(partners);
}

qint64 DemoReference::taxId(int rate) const
{
    switch (rate) {
    case 20: return 1;
    case 10: return 2;
    case 0: return 3;
    }
    throw tarvex::InternalError(QStringLiteral("demo data: no tax rate of %1").arg(rate));
}

qint64 DemoReference::leafCategoryId(int top, int leaf) const
{
    return m_leafIds[size_t(top)][size_t(leaf)];
}

int DemoReference::leafMaxRebate(int top, int leaf) const
{
    return m_leafMaxRebates[size_t(top)][size_t(leaf)];
}

void DemoReference::writeTaxes()
{
    DemoInsert taxes(m_writer, QStringLiteral("tax"), QStringLiteral("taxid,name,description,value,status"));
    taxes.row().integer(1).text(utf8("Opšta stopa")).text(utf8("Opšta stopa PDV 20%")).integer(20).text(
        QStringLiteral("primary"));
    taxes.row().integer(2).text(utf8("Posebna stopa")).text(utf8("Posebna stopa PDV 10%")).integer(10).text(
        QStringLiteral("standard"));
    taxes.row().integer(3).text(utf8("Oslobođeno")).text(utf8("Promet oslobođen PDV-a")).integer(0).text(
        QStringLiteral("standard"));
    taxes.finish();
}

void DemoReference::writeCurrencies()
{
    DemoInsert currencies(m_writer, QStringLiteral("currency"), QStringLiteral("currencyid,code,name,status"));
    currencies.row().integer(1).text(QStringLiteral("RSD")).text(utf8("Srpski dinar")).text(QStringLiteral("primary"));
    currencies.row().integer(2).text(QStringLiteral("EUR")).text(utf8("Evro")).text(QStringLiteral("standard"));
    currencies.row().integer(3).text(QStringLiteral("USD")).text(utf8("Američki dolar")).text(
        QStringLiteral("standard"));
    currencies.finish();

    // A middle-rate list on the first of every month, and the day's buying
    // and selling lists. Rates in ten-thousandths of a dinar.
    DemoInsert lists(m_writer, QStringLiteral("exchangelist"), QStringLiteral("exchangelistid,listtype,listdate"));
    DemoInsert rates(m_writer, QStringLiteral("currencyexchange"),
                     QStringLiteral("currencyexchangeid,exchangelistid,code1,code2,code1amount,code2amount"));
    qint64 listId = 0;
    qint64 rateId = 0;
    qint64 euro = 1171500;
    qint64 dollar = 1065000;
    auto addList = [&](const QString& type, const QDate& day, qint64 eur, qint64 usd) {
        lists.row().integer(++listId).text(type).text(day.toString(Qt::ISODate));
        rates.row().integer(++rateId).integer(listId).text(QStringLiteral("EUR")).text(QStringLiteral("RSD"))
            .integer(1).scaled(eur, 4);
        rates.row().integer(++rateId).integer(listId).text(QStringLiteral("USD")).text(QStringLiteral("RSD"))
            .integer(1).scaled(usd, 4);
    };
    for (QDate month(m_model.firstDay.year(), m_model.firstDay.month(), 1); month <= m_model.lastDay;
         month = month.addMonths(1)) {
        euro = std::clamp<qint64>(euro + m_random.between(-900, 900), 1169000, 1175000);
        dollar = std::clamp<qint64>(dollar + m_random.between(-15000, 15000), 990000, 1130000);
        addList(QStringLiteral("srednji"), month, euro, dollar);
    }
    addList(QStringLiteral("kupovni"), m_model.lastDay, euro - 3500, dollar - 3200);
    addList(QStringLiteral("prodajni"), m_model.lastDay, euro + 3500, dollar + 3200);
    lists.finish();
    rates.finish();
}

void DemoReference::writeWarehouses()
{
    DemoInsert warehouses(m_writer, QStringLiteral("warehouse"),
                          QStringLiteral("warehouseid,name,code,status,address,city,zip,pricetype,"
                                         "warehousemethodtype,warehousecurrency,active,b2b,"
                                         "warehouseautopricechange,warehouseonlyfreeamount,"
                                         "warehouseinternalsupplyprice,lastloadeddocumentid,organizationunit"));
    m_model.warehouses.clear();
    for (const WarehouseSpec& w : shopWarehouses()) {
        m_model.warehouses.push_back(&w);
        warehouses.row()
            .integer(w.id)
            .text(utf8(w.name))
            .text(QString::fromLatin1(w.code))
            .text(QLatin1String(w.role == WarehouseRole::Central ? "primary" : "standard"))
            .text(utf8(w.address))
            .text(utf8(w.city))
            .text(QString::fromLatin1(w.zip))
            .text(QString(QLatin1Char(w.priceType)))
            .text(QStringLiteral("a"))
            .text(QStringLiteral("RSD"))
            .integer(w.active ? 1 : 0)
            .integer(w.b2b ? 1 : 0)
            .integer(w.priceType == 'm' ? 1 : 0)
            .integer(1)
            .integer(0)
            .null()
            .text(utf8(organizationUnit(w.role)));
    }
    warehouses.finish();
    m_model.slotsByWarehouse.assign(m_model.warehouses.size(), {});
}

void DemoReference::writeKasaGroups()
{
    DemoInsert groups(m_writer, QStringLiteral("kasagroup"), QStringLiteral("kasagroupid,name"));
    const auto& tops = shopCategories();
    for (size_t t = 0; t < tops.size(); ++t)
        groups.row().integer(kasaGroupId(int(t))).text(utf8(tops[t].kasaGroup));
    groups.finish();
}

void DemoReference::writeDepreciationGroups()
{
    DemoInsert tax(m_writer, QStringLiteral("depreciationgroup"),
                   QStringLiteral("depreciationgroupid,percent,description"));
    const char* taxGroups[] = {"Prva grupa", "Druga grupa", "Treća grupa", "Četvrta grupa", "Peta grupa"};
    const int taxPercents[] = {25, 100, 150, 200, 300}; // tenths of a percent
    for (int i = 0; i < 5; ++i)
        tax.row().integer(i + 1).scaled(taxPercents[i], 1).text(utf8(taxGroups[i]));
    tax.finish();

    DemoInsert accounting(m_writer, QStringLiteral("depreciationaccountinggroup"),
                          QStringLiteral("depreciationaccountinggroupid,percent,description"));
    const char* accountingGroups[] = {"Građevinski objekti", "Računarska oprema", "Putnička vozila",
                                      "Kancelarijski nameštaj", "Oprema za trgovinu", "Alati i sitan inventar"};
    const int accountingPercents[] = {25, 200, 155, 125, 100, 250};
    for (int i = 0; i < 6; ++i)
        accounting.row().integer(i + 1).scaled(accountingPercents[i], 1).text(utf8(accountingGroups[i]));
    accounting.finish();
}

void DemoReference::writeAttributes()
{
    DemoInsert attributes(m_writer, QStringLiteral("attributepr"), QStringLiteral("attributeprid,attribute,required,sort"));
    DemoInsert values(m_writer, QStringLiteral("attributeprvalue"),
                      QStringLiteral("attributeprvalueid,attributeprid,attributevalue,sort"));
    qint64 valueId = 0;
    const auto& catalogue = attributeCatalogue();
    for (size_t a = 0; a < catalogue.size(); ++a) {
        attributes.row().integer(qint64(a) + 1).text(utf8(catalogue[a].name)).integer(catalogue[a].required ? 1 : 0)
            .integer(qint64(a) + 1);
        for (size_t v = 0; v < catalogue[a].values.size(); ++v)
            values.row().integer(++valueId).integer(qint64(a) + 1).text(utf8(catalogue[a].values[v]))
                .integer(qint64(v) + 1);
    }
    attributes.finish();
    values.finish();
}

void DemoReference::writeCategories()
{
    DemoInsert categories(m_writer, QStringLiteral("categorypr"),
                          QStringLiteral("categoryprid,name,parentid,maxrebate,webrebate,b2brebate"));
    qint64 nextId = 0;
    auto add = [&](const char* name, qint64 parent, int maxRebate) {
        categories.row().integer(++nextId).text(utf8(name)).integer(parent).integer(maxRebate)
            .integer(m_random.between(0, 2) * 5).integer(m_random.between(0, 3) * 5);
        return nextId;
    };
    const auto& tops = shopCategories();
    m_leafIds.assign(tops.size(), {});
    m_leafMaxRebates.assign(tops.size(), {});
    for (size_t t = 0; t < tops.size(); ++t) {
        const qint64 topId = add(tops[t].name, 0, int(m_random.between(1, 4) * 5));
        const char* middle = nullptr;
        qint64 middleId = 0;
        for (const LeafSpec& leaf : tops[t].leaves) {
            if (!middle || qstrcmp(middle, leaf.middle) != 0) {
                middle = leaf.middle;
                middleId = add(middle, topId, int(m_random.between(1, 5) * 5));
            }
            const int maxRebate = int(m_random.between(0, 6) * 5);
            const qint64 leafId = add(leaf.name, middleId, maxRebate);
            m_leafIds[t].push_back(leafId);
            m_leafMaxRebates[t].push_back(maxRebate);
            if (leaf.weight == 0)
                m_promotions.push_back(leafId);
        }
    }
    categories.finish();
}

void DemoReference::writeCategoryAttributes()
{
    DemoInsert links(m_writer, QStringLiteral("categoryprattribute"),
                     QStringLiteral("categoryprattributeid,categoryprid,attributeprid,catattribute,catattributevalue"));
    qint64 id = 0;
    const auto& tops = shopCategories();
    const auto& catalogue = attributeCatalogue();
    for (const CategoryAttributeSpec& spec : categoryAttributes()) {
        for (size_t t = 0; t < tops.size(); ++t) {
            for (size_t l = 0; l < tops[t].leaves.size(); ++l) {
                if (qstrcmp(tops[t].leaves[l].name, spec.leaf) != 0)
                    continue;
                const AttributeSpec& attribute = catalogue[size_t(spec.attribute)];
                links.row().integer(++id).integer(m_leafIds[t][l]).integer(spec.attribute + 1)
                    .text(utf8(attribute.name)).text(utf8(attribute.values[size_t(spec.value)]));
            }
        }
    }
    links.finish();
}

void DemoReference::writePartners(int partners)
{
    m_model.suppliers = qMax(3, partners / 5);
    m_model.customers = qMax(3, partners - m_model.suppliers);
    DemoInsert rows(m_writer, QStringLiteral("partner"), QStringLiteral("partnerid,name,city"));
    const int total = m_model.suppliers + m_model.customers;
    m_model.partnerNames.clear();
    for (int id = 1; id <= total; ++id) {
        const CitySpec& city = m_random.pick(cities());
        QString root;
        switch (m_random.between(0, 2)) {
        case 0:
            root = utf8(m_random.pick(firmWords())) + QLatin1Char(' ') + utf8(m_random.pick(surnames()));
            break;
        case 1:
            root = utf8(m_random.pick(firmWords())) + QLatin1Char(' ') + utf8(city.name);
            break;
        default:
            root = utf8(m_random.pick(surnames()));
            break;
        }
        const QString name = utf8(m_random.pick(firmForms())).arg(root);
        m_model.partnerNames.push_back(name);
        rows.row().integer(id).text(name).text(utf8(city.name));
    }
    rows.finish();
}

} // namespace tarvex::demo
