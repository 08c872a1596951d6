#include "DemoCatalogue.h"

#include "Error.h"

#include <algorithm>

namespace tarvex::demo {

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// Whole units, rounded up, in thousandths.
qint64 wholeUnitsUp(qint64 milli)
{
    return (milli + kMilli - 1) / kMilli * kMilli;
}

qint64 percentOf(qint64 cents, qint64 percent)
{
    return (cents * percent + 50) / 100;
}

const int kBarcodeStride = 7919; // prime to 10^9: distinct products, distinct numbers

} // namespace

DemoCatalogue::DemoCatalogue(DemoWriter& writer, DemoModel& model, const DemoReference& reference, quint32 seed)
    : m_writer(writer), m_model(model), m_reference(reference), m_random(seed, 2), m_stockRandom(seed, 3)
{
    const auto& tops = shopCategories();
    for (size_t t = 0; t < tops.size(); ++t)
        for (size_t l = 0; l < tops[t].leaves.size(); ++l)
            if (tops[t].leaves[l].weight > 0) {
                m_leaves.push_back({int(t), int(l), &tops[t].leaves[l]});
                m_leafWeights.push_back(tops[t].leaves[l].weight);
            }
    m_barcodeOffset = m_random.between(0, 999999999);
}

int DemoCatalogue::ean13CheckDigit(const QString& twelveDigits)
{
    if (twelveDigits.size() != 12)
        throw tarvex::InternalError(QStringLiteral("EAN-13 needs twelve digits"));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (twelveDigits[i].unicode() - '0') * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

DemoCatalogue::Leaf DemoCatalogue::pickLeaf(int productIndex)
{
    // Even the smallest shop sells a service and something of its own bakery.
    const char wanted = productIndex == 1 ? 'u' : productIndex == 2 ? 'p' : 0;
    if (wanted)
        for (const Leaf& leaf : m_leaves)
            if (leaf.spec->type == wanted)
                return leaf;
    return m_leaves[size_t(m_random.weighted(m_leafWeights))];
}

DemoCatalogue::Naming DemoCatalogue::productName(const LeafSpec& leaf, qint64 id)
{
    Naming naming;
    for (int attempt = 0; attempt < 8; ++attempt) {
        QString name = utf8(m_random.pick(leaf.nouns));
        if (!leaf.variants.empty() && m_random.permille(850))
            name += QLatin1Char(' ') + utf8(m_random.pick(leaf.variants));
        naming.brand = utf8(m_random.pick(leaf.brands));
        name += QLatin1Char(' ') + naming.brand;
        if (m_random.permille(700))
            name += QLatin1Char(' ') + utf8(m_random.pick(productLines()));
        if (!leaf.sizes.empty())
            name += QLatin1Char(' ') + utf8(m_random.pick(leaf.sizes));
        if (leaf.model) {
            naming.model = QStringLiteral("%1-%2").arg(QLatin1String(leaf.model)).arg(m_random.between(100, 9999));
            name += QLatin1Char(' ') + naming.model;
        }
        if (!m_names.contains(name)) {
            m_names.insert(name);
            naming.name = name;
            return naming;
        }
    }
    // A big catalogue runs out of word combinations; the article number keeps
    // names apart the way real catalogues do.
    naming.name = utf8(m_random.pick(leaf.nouns)) + QLatin1Char(' ') + naming.brand;
    if (!naming.model.isEmpty())
        naming.name += QLatin1Char(' ') + naming.model;
    naming.name += QStringLiteral(" art. %1").arg(id);
    m_names.insert(naming.name);
    return naming;
}

QString DemoCatalogue::barcode(char type, const CountrySpec& country, int productIndex) const
{
    if (type == 'u')
        return QString();
    const qint64 number = (m_barcodeOffset + qint64(productIndex) * kBarcodeStride) % 1000000000;
    // Bread baked in the house carries an in-store number (prefix 200).
    const QString twelve = QLatin1String(type == 'p' ? "200" : country.eanPrefix)
                           + QString::number(number).rightJustified(9, QLatin1Char('0'));
    return twelve + QString::number(ean13CheckDigit(twelve));
}

qint64 DemoCatalogue::targetOf(const LeafSpec& leaf, qint64 priceCents)
{
    qint64 units;
    if (isFractional(leaf.unit))
        units = m_random.between(10, 40);
    else if (priceCents < 20000)
        units = m_random.between(24, 60);
    else if (priceCents < 100000)
        units = m_random.between(10, 30);
    else if (priceCents < 500000)
        units = m_random.between(4, 12);
    else
        units = m_random.between(2, 5);
    return units * kMilli;
}

void DemoCatalogue::keepInWarehouses(int productIndex, qint64 targetMilli)
{
    for (size_t w = 0; w < m_model.warehouses.size(); ++w) {
        const WarehouseSpec& spec = *m_model.warehouses[w];
        if (!spec.active)
            continue;
        int chance = 0;
        qint64 target = targetMilli;
        switch (spec.role) {
        case WarehouseRole::Central: chance = 1000; target *= 4; break;
        case WarehouseRole::Wholesale: chance = 350; target *= 2; break;
        case WarehouseRole::Retail: chance = 200; break;
        case WarehouseRole::Reserve: chance = 80; target /= 2; break;
        case WarehouseRole::Other: chance = 60; target /= 2; break;
        }
        if (m_random.permille(chance))
            m_model.addSlot(productIndex, int(w), qMax(kMilli, wholeUnitsUp(target)));
    }
}

void DemoCatalogue::writeProducts(int count)
{
    DemoInsert products(m_writer, QStringLiteral("product"),
                        QStringLiteral("productid,active,barcode,code,name,type,unitname,taxid,price,pricecurrency,"
                                       "inputprice,inputpricecurrency,supplyprice,planprice,recommendedprice,rebate,"
                                       "manufname,manufcode,serialnumbers,kasaplu,kasagroupid,kasasort"));
    DemoInsert details(m_writer, QStringLiteral("productdetail"),
                       QStringLiteral("productid,characteristics,description,specification,model,warranty,"
                                      "originalcountry,exportcountry,importcountry,mass,massgross,massunitname,"
                                      "commercialpackage,transportpackage,minimalorderquantity,additionalrebate,"
                                      "maxrebate,maxretailrebate,secondunitname,secondunitnamecoefficient,"
                                      "secondunitnameprice,b2b,web,webprice,b2bprice,valutedays,specialprice"));
    DemoInsert links(m_writer, QStringLiteral("productcategorypr"), QStringLiteral("productid,categoryprid"));

    const auto& tops = shopCategories();
    std::vector<int> countryWeights;
    for (const CountrySpec& c : countries())
        countryWeights.push_back(c.weight);
    std::vector<qint64> kasaSort(tops.size(), 0);
    qint64 plu = 0;
    m_model.products.reserve(size_t(count));

    for (int i = 0; i < count; ++i) {
        const Leaf leaf = pickLeaf(i);
        const LeafSpec& spec = *leaf.spec;
        const TopSpec& top = tops[size_t(leaf.top)];
        DemoProduct product;
        product.id = i + 1;
        product.type = spec.type;
        product.unit = spec.unit;
        product.taxRate = spec.taxRate;
        const CountrySpec& country = spec.type == 'r' ? countries()[size_t(m_random.weighted(countryWeights))]
                                                      : countries().front();
        const bool imported = &country != &countries().front();

        // Shelf prices end in ,99 with VAT; the catalogue keeps them without.
        const qint64 grossCents = m_random.between(spec.minGross, spec.maxGross) * 100 - 1;
        product.priceCents = (grossCents * 100 + (100 + spec.taxRate) / 2) / (100 + spec.taxRate);
        product.costCents = percentOf(product.priceCents, m_random.between(55, 85));
        product.targetMilli = targetOf(spec, product.priceCents);

        const Naming naming = productName(spec, product.id);
        const bool plus = product.type == 'p' || (leaf.top <= 1 ? m_random.permille(500) : m_random.permille(150));
        products.row()
            .integer(product.id)
            .text(QLatin1String(m_random.permille(40) ? "n" : "y"))
            .optionalText(barcode(product.type, country, i))
            .text(QLatin1String(top.codePrefix) + QString::number(product.id).rightJustified(6, QLatin1Char('0')))
            .text(naming.name)
            .text(QString(QLatin1Char(product.type)))
            .text(QLatin1String(unitName(spec.unit)))
            .integer(m_reference.taxId(spec.taxRate))
            .scaled(product.priceCents, 2)
            .text(QStringLiteral("RSD"));
        // Every product carries its input price: the editor refuses to save one without.
        if (imported)
            products.scaled(qMax<qint64>(1, (product.costCents * 10000 + 585750) / 1171500), 2)
                .text(QStringLiteral("EUR"));
        else
            products.scaled(product.costCents, 2).text(QStringLiteral("RSD"));
        products.scaled(product.costCents, 2)
            .scaled(product.costCents, 2)
            .scaled(percentOf(product.priceCents, m_random.between(100, 110)), 2)
            .integer(m_random.permille(60) ? m_random.between(1, 2) * 5 : 0)
            .text(naming.brand)
            .text(QStringLiteral("MK-%1").arg(m_random.between(10000, 99999)))
            .integer(spec.serialNumbers ? 1 : 0);
        if (plus && product.type != 'u')
            products.integer(++plu);
        else
            products.null();
        products.integer(m_reference.kasaGroupId(leaf.top)).integer(++kasaSort[size_t(leaf.top)]);

        m_model.products.push_back(product);
        if (product.stocked())
            keepInWarehouses(i, product.targetMilli);

        writeDetail(details, product, leaf, country, naming.model);
        links.row().integer(product.id).integer(m_reference.leafCategoryId(leaf.top, leaf.leaf));
        if (!m_reference.promotionCategoryIds().empty() && m_random.permille(40))
            links.row().integer(product.id).integer(m_random.pick(m_reference.promotionCategoryIds()));
    }
    products.finish();
    details.finish();
    links.finish();
}

void DemoCatalogue::writeDetail(DemoInsert& details, const DemoProduct& product, const Leaf& leaf,
                                const CountrySpec& country, const QString& model)
{
    const LeafSpec& spec = *leaf.spec;
    const bool imported = &country != &countries().front();
    static const std::vector<qint64> packages = {1, 6, 10, 12, 20, 24};
    const qint64 package = product.type == 'u' ? 1 : m_random.pick(packages);
    const int maxRebate = m_reference.leafMaxRebate(leaf.top, leaf.leaf);

    details.row()
        .integer(product.id)
        .text(QStringLiteral("Zemlja porekla: %1. Jedinica mere: %2.").arg(utf8(country.name),
                                                                           QLatin1String(unitName(spec.unit))))
        .text(QStringLiteral("Proizvod iz kategorije „%1“, %2.").arg(utf8(spec.name), utf8(spec.middle).toLower()))
        .optionalText(model.isEmpty() ? QString() : QStringLiteral("Model %1, garancija proizvođača.").arg(model))
        .optionalText(model.isEmpty() ? QString() : model)
        .optionalText(spec.serialNumbers || !model.isEmpty() ? QStringLiteral("24 meseca") : QString())
        .text(utf8(country.name))
        .optionalText(imported ? utf8(country.name) : QString())
        .optionalText(imported ? QStringLiteral("Srbija") : QString());
    if (product.type != 'u' && !isFractional(spec.unit)) {
        const qint64 grams = m_random.between(50, 5000);
        details.scaled(grams, 3).scaled(grams * 105 / 100, 3).text(QStringLiteral("kg"));
    } else {
        details.null().null().null();
    }
    details.integer(package).integer(package * m_random.between(5, 40)).integer(package).integer(0)
        .integer(maxRebate).integer(qMin(maxRebate, 10));
    if (package > 1 && m_random.permille(300))
        details.text(QStringLiteral("pak")).integer(package).scaled(product.priceCents * package, 2);
    else
        details.null().null().null();
    static const std::vector<qint64> valute = {0, 15, 30, 45, 60};
    details.integer(m_random.permille(400) ? 1 : 0)
        .integer(m_random.permille(600) ? 1 : 0)
        .scaled(percentOf(product.priceCents, 97), 2)
        .scaled(percentOf(product.priceCents, 90), 2)
        .integer(m_random.pick(valute))
        .integer(m_random.permille(30) ? 1 : 0);
}

void DemoCatalogue::writeStockRows()
{
    DemoInsert rows(m_writer, QStringLiteral("productwarehouse"),
                    QStringLiteral("productid,warehouseid,amount,price,reservedamount,reversedamount,orderedamount,"
                                   "place,minstock,maxstock"));
    std::vector<int> order(m_model.stockSlots.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        const DemoStockSlot& x = m_model.stockSlots[size_t(a)];
        const DemoStockSlot& y = m_model.stockSlots[size_t(b)];
        return x.product != y.product ? x.product < y.product : x.warehouse < y.warehouse;
    });
    for (int index : order) {
        const DemoStockSlot& slot = m_model.stockSlots[size_t(index)];
        const DemoProduct& product = m_model.products[size_t(slot.product)];
        const WarehouseSpec& warehouse = *m_model.warehouses[size_t(slot.warehouse)];
        const bool storehouse = warehouse.role == WarehouseRole::Central || warehouse.role == WarehouseRole::Wholesale;
        const qint64 units = slot.quantityMilli / kMilli;

        const qint64 reserved = units >= 2 && m_stockRandom.permille(50) ? m_stockRandom.between(1, units / 2) : 0;
        const qint64 lent = units >= 1 && m_stockRandom.permille(10) ? 1 : 0;
        const qint64 ordered = storehouse && slot.quantityMilli < slot.targetMilli / 3 && m_stockRandom.permille(500)
                                   ? wholeUnitsUp(slot.targetMilli - slot.quantityMilli)
                                   : 0;
        rows.row()
            .integer(product.id)
            .integer(warehouse.id)
            .scaled(slot.quantityMilli, 3)
            .scaled(warehouse.priceType == 'm' ? product.priceCents : percentOf(product.priceCents, 92), 2)
            .integer(reserved)
            .integer(lent)
            .scaled(ordered, 3);
        if (storehouse)
            rows.text(QStringLiteral("R%1-P%2")
                          .arg(m_stockRandom.between(1, 40), 2, 10, QLatin1Char('0'))
                          .arg(m_stockRandom.between(1, 6)));
        else
            rows.null();
        if (storehouse || warehouse.role == WarehouseRole::Retail)
            rows.scaled(qMax(kMilli, slot.targetMilli / 4 / kMilli * kMilli), 3)
                .scaled(wholeUnitsUp(slot.targetMilli * 3 / 2), 3);
        else
            rows.null().null();
    }
    rows.finish();
}

} // namespace tarvex::demo
