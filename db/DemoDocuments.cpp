#include "DemoDocuments.h"

#include <algorithm>

namespace tarvex::demo {

namespace {

qint64 money(qint64 quantityMilli, qint64 priceCents)
{
    return (quantityMilli * priceCents + kMilli / 2) / kMilli;
}

qint64 wholeUnitsUp(qint64 milli)
{
    return (milli + kMilli - 1) / kMilli * kMilli;
}

bool contains(const std::vector<int>& items, int value)
{
    return std::find(items.begin(), items.end(), value) != items.end();
}

} // namespace

const std::vector<DemoDocuments::Variant>& DemoDocuments::variants()
{
    // Shares of the lines after the opening stock. Receipts and transfers
    // refill what the sales take, so stock stays near each shelf's target.
    static const std::vector<Variant> list = {
        {'G', Flow::Opening, 0, 0, 0},
        {'M', Flow::RetailSale, 300, 5, 60},
        {'R', Flow::Sale, 200, 1, 15},
        {'R', Flow::CustomerReturn, 3, 1, 3},
        {'V', Flow::Sale, 40, 1, 10},
        {'K', Flow::Receipt, 170, 5, 40},
        {'K', Flow::SupplierReturn, 3, 1, 4},
        {'I', Flow::Transfer, 160, 3, 30},
        {'W', Flow::SupplierGiveBack, 10, 1, 5},
        {'L', Flow::Surplus, 12, 1, 6},
        {'F', Flow::Shortage, 20, 1, 6},
        {'T', Flow::Consumption, 15, 1, 5},
        {'C', Flow::Production, 15, 1, 8},
        {'R', Flow::Draft, 5, 1, 8},
        {'K', Flow::Draft, 5, 1, 8},
    };
    return list;
}

DemoDocuments::DemoDocuments(DemoWriter& writer, DemoModel& model, quint32 seed)
    : m_writer(writer), m_model(model), m_random(seed, 4),
      m_documents(writer, QStringLiteral("document"),
                  QStringLiteral("documentid,documentdate,documenttype,number,direction,warehouseid,inwarehouseid,"
                                 "status,docreturn,partnerid,partnername")),
      m_items(writer, QStringLiteral("documentitem"), QStringLiteral("documentitemid,documentid,productid,quantity,price")),
      m_cards(writer, QStringLiteral("docfinitem"),
              QStringLiteral("docfinitemid,documentid,productid,warehouseid,inquantity,outquantity,debit,credit,price"))
{
}

void DemoDocuments::write(qint64 lines, const std::function<void(double share)>& progress)
{
    m_days = int(m_model.firstDay.daysTo(m_model.lastDay));
    m_dayTexts.clear();
    for (int d = 0; d <= m_days; ++d)
        m_dayTexts.append(m_model.firstDay.addDays(d).toString(Qt::ISODate));
    for (size_t w = 0; w < m_model.warehouses.size(); ++w) {
        const WarehouseSpec& spec = *m_model.warehouses[w];
        if (!spec.active)
            continue;
        switch (spec.role) {
        case WarehouseRole::Central: m_central = int(w); m_storehouses.push_back(int(w)); break;
        case WarehouseRole::Wholesale: m_storehouses.push_back(int(w)); break;
        case WarehouseRole::Retail: m_retail.push_back(int(w)); break;
        case WarehouseRole::Reserve: m_reserves.push_back(int(w)); break;
        case WarehouseRole::Other: m_others.push_back(int(w)); break;
        }
    }
    for (int s : m_model.slotsByWarehouse[size_t(m_central)])
        if (m_model.products[size_t(m_model.stockSlots[size_t(s)].product)].type == 'p')
            m_producedSlots.push_back(s);

    const qint64 opening = writeOpening(lines);
    qint64 carry = 0; // lines earlier documents could not make (nothing left to issue)
    const std::vector<Planned> plans = plan(lines - opening);
    std::size_t count = 0;
    for (Planned planned : plans) {
        if (progress && ++count % 64 == 0)
            progress(double(count) / double(plans.size()));
        const int wanted = planned.lines;
        const int extra = int(qMin<qint64>(carry, qMax(0, variants()[size_t(planned.variant)].maxLines - wanted)));
        planned.lines += extra;
        carry += wanted - writeDocument(planned);
    }
    m_documents.finish();
    m_items.finish();
    m_cards.finish();
}

qint64 DemoDocuments::writeOpening(qint64 lines)
{
    // The opening stock takes at most about a fifth of all lines.
    const qint64 slotCount = qMax<qint64>(1, qint64(m_model.stockSlots.size()));
    const int chance = int(qMin<qint64>(800, lines * 200 / slotCount));
    qint64 written = 0;
    for (size_t w = 0; w < m_model.warehouses.size(); ++w) {
        std::vector<Line> opening;
        for (int s : m_model.slotsByWarehouse[w]) {
            if (!m_random.permille(chance))
                continue;
            const DemoStockSlot& slot = m_model.stockSlots[size_t(s)];
            Line line;
            line.slot = s;
            line.quantityMilli = qMax(kMilli, wholeUnitsUp(slot.targetMilli * m_random.between(50, 120) / 100));
            line.priceCents = m_model.products[size_t(slot.product)].costCents;
            opening.push_back(line);
        }
        if (opening.empty())
            continue;
        Planned planned;
        planned.warehouse = int(w);
        const qint64 id = ++m_documentId;
        writeHeader(id, planned, variants().front(), 1);
        for (const Line& line : opening) {
            m_items.row().integer(++m_itemId).integer(id)
                .integer(m_model.products[size_t(m_model.stockSlots[size_t(line.slot)].product)].id)
                .scaled(line.quantityMilli, 3).scaled(line.priceCents, 2);
            post(id, Flow::Opening, 1, line);
        }
        written += qint64(opening.size());
    }
    return written;
}

std::vector<DemoDocuments::Planned> DemoDocuments::plan(qint64 lines)
{
    const auto& all = variants();
    std::vector<int> weights;
    for (const Variant& v : all)
        weights.push_back(v.share * 200 / qMax(1, v.minLines + v.maxLines));

    std::vector<Planned> planned;
    qint64 remaining = lines;
    // One of each first, so that even the smallest shop has every kind.
    size_t next = 1;
    while (remaining > 0) {
        Planned p;
        p.variant = next < all.size() ? int(next++) : m_random.weighted(weights);
        const Variant& variant = all[size_t(p.variant)];
        chooseWarehouses(p, variant.flow);
        size_t room = m_model.slotsByWarehouse[size_t(p.warehouse)].size();
        if (p.inWarehouse >= 0)
            room = qMin(room, m_model.slotsByWarehouse[size_t(p.inWarehouse)].size());
        if (variant.flow == Flow::Production && !m_producedSlots.empty())
            room = m_producedSlots.size() * 2;
        const qint64 cap = qMax<qint64>(1, qint64(room) / 2);
        p.lines = int(qMin(qMin(m_random.between(variant.minLines, variant.maxLines), cap), remaining));
        p.day = int(m_random.between(1, m_days));
        remaining -= p.lines;
        planned.push_back(p);
    }
    std::stable_sort(planned.begin(), planned.end(), [](const Planned& a, const Planned& b) { return a.day < b.day; });
    return planned;
}

void DemoDocuments::chooseWarehouses(Planned& p, Flow flow)
{
    const char kind = variants()[size_t(p.variant)].kind;
    const int r = int(m_random.between(0, 999));
    switch (flow) {
    case Flow::Opening:
    case Flow::RetailSale:
        p.warehouse = m_random.pick(m_retail);
        break;
    case Flow::Sale:
        if (kind == 'V' || (r >= 550 && r < 950))
            p.warehouse = m_random.pick(m_storehouses);
        else
            p.warehouse = r < 550 ? m_random.pick(m_retail) : m_random.pick(m_reserves);
        break;
    case Flow::CustomerReturn:
        p.warehouse = r < 700 ? m_random.pick(m_retail) : m_random.pick(m_storehouses);
        break;
    case Flow::Receipt:
    case Flow::SupplierReturn:
    case Flow::SupplierGiveBack:
        p.warehouse = r < 550 ? m_central : r < 750 ? m_random.pick(m_storehouses) : m_random.pick(m_retail);
        break;
    case Flow::Transfer:
        if (r < 650) {
            p.warehouse = m_central;
            const int to = int(m_random.between(0, 999));
            do {
                p.inWarehouse = to < 700 ? m_random.pick(m_retail)
                                : to < 900 || m_others.empty() ? m_random.pick(m_storehouses)
                                                               : m_random.pick(m_others);
            } while (p.inWarehouse == m_central);
        } else if (r < 800) {
            p.warehouse = m_random.pick(m_retail);
            p.inWarehouse = r < 770 || m_others.empty() ? m_central : m_random.pick(m_others);
        } else if (r < 950) {
            p.warehouse = m_central;
            p.inWarehouse = m_random.pick(m_reserves);
        } else {
            p.warehouse = m_random.pick(m_reserves);
            p.inWarehouse = m_central;
        }
        break;
    case Flow::Surplus:
    case Flow::Shortage:
    case Flow::Consumption:
        p.warehouse = r < 600 ? m_random.pick(m_retail) : r < 900 || m_others.empty() ? m_random.pick(m_storehouses)
                                                                                      : m_random.pick(m_others);
        break;
    case Flow::Production:
        p.warehouse = m_central;
        break;
    case Flow::Draft:
        p.warehouse = kind == 'K' ? m_central : m_random.pick(m_retail);
        break;
    }
}

int DemoDocuments::writeDocument(const Planned& planned)
{
    const Variant& variant = variants()[size_t(planned.variant)];
    std::vector<int> used; // products already on the document
    std::vector<Line> lines;
    for (int attempts = planned.lines * 3; int(lines.size()) < planned.lines && attempts > 0; --attempts) {
        Line line;
        if (!makeLine(planned, used, line))
            continue;
        used.push_back(m_model.stockSlots[size_t(line.slot)].product);
        lines.push_back(line);
    }
    if (lines.empty())
        return 0;
    int direction = -1;
    switch (variant.flow) {
    case Flow::Opening:
    case Flow::Receipt:
    case Flow::SupplierReturn:
    case Flow::Surplus:
    case Flow::Production:
        direction = 1;
        break;
    case Flow::Draft:
        direction = variant.kind == 'K' ? 1 : -1;
        break;
    default:
        break;
    }
    const qint64 id = ++m_documentId;
    writeHeader(id, planned, variant, direction);
    for (const Line& line : lines) {
        m_items.row().integer(++m_itemId).integer(id)
            .integer(m_model.products[size_t(m_model.stockSlots[size_t(line.slot)].product)].id)
            .scaled(line.quantityMilli, 3).scaled(line.priceCents, 2);
        if (variant.flow != Flow::Draft) // a draft moves no stock yet
            post(id, variant.flow, direction, line);
    }
    return int(lines.size());
}

bool DemoDocuments::makeLine(const Planned& planned, const std::vector<int>& used, Line& line)
{
    const Variant& variant = variants()[size_t(planned.variant)];
    const int w = planned.warehouse;
    const bool wholesale = m_model.warehouses[size_t(w)]->priceType == 'v';
    switch (variant.flow) {
    case Flow::Transfer:
        return makeTransferLine(planned, used, line);
    case Flow::RetailSale:
    case Flow::Sale:
    case Flow::Shortage:
    case Flow::Consumption:
    case Flow::SupplierReturn: {
        line.slot = pickStocked(w, used);
        if (line.slot < 0)
            return false;
        const DemoStockSlot& slot = m_model.stockSlots[size_t(line.slot)];
        const DemoProduct& product = m_model.products[size_t(slot.product)];
        qint64 wanted = 0;
        switch (variant.flow) {
        case Flow::RetailSale: wanted = saleQuantity(product, false); break;
        case Flow::Sale: wanted = saleQuantity(product, wholesale); break;
        case Flow::Shortage: wanted = smallQuantity(product, 2); break;
        case Flow::Consumption: wanted = smallQuantity(product, 1); break;
        default: wanted = smallQuantity(product, 3); break;
        }
        const qint64 quantity = qMin(wanted, slot.quantityMilli);
        line.quantityMilli = variant.flow == Flow::SupplierReturn ? -quantity : quantity;
        line.priceCents = variant.flow == Flow::RetailSale || variant.flow == Flow::Sale ? sellingPrice(slot)
                                                                                         : product.costCents;
        return true;
    }
    case Flow::Receipt: {
        line.slot = pickLow(w, used);
        if (line.slot < 0)
            return false;
        const DemoStockSlot& slot = m_model.stockSlots[size_t(line.slot)];
        const qint64 missing = slot.targetMilli * m_random.between(100, 130) / 100 - slot.quantityMilli;
        if (missing <= 0)
            return false;
        line.quantityMilli = wholeUnitsUp(missing);
        line.priceCents = m_model.products[size_t(slot.product)].costCents * m_random.between(95, 105) / 100;
        return true;
    }
    case Flow::CustomerReturn:
    case Flow::SupplierGiveBack:
    case Flow::Surplus:
    case Flow::Draft: {
        line.slot = pickAny(w, used);
        if (line.slot < 0)
            return false;
        const DemoStockSlot& slot = m_model.stockSlots[size_t(line.slot)];
        const DemoProduct& product = m_model.products[size_t(slot.product)];
        const qint64 quantity = variant.flow == Flow::Draft ? m_random.between(1, 5) * kMilli
                                                            : smallQuantity(product, 2);
        const bool negative = variant.flow == Flow::CustomerReturn || variant.flow == Flow::SupplierGiveBack;
        line.quantityMilli = negative ? -quantity : quantity;
        line.priceCents = variant.flow == Flow::CustomerReturn || (variant.flow == Flow::Draft && variant.kind == 'R')
                              ? sellingPrice(slot)
                              : product.costCents;
        return true;
    }
    case Flow::Production: {
        // The bakery bakes what the central warehouse runs short of.
        line.slot = m_producedSlots.empty() ? pickLow(w, used) : pickLow(m_producedSlots, used);
        if (line.slot < 0)
            return false;
        const DemoStockSlot& slot = m_model.stockSlots[size_t(line.slot)];
        const qint64 missing = slot.targetMilli * m_random.between(100, 150) / 100 - slot.quantityMilli;
        if (missing <= 0)
            return false;
        line.quantityMilli = wholeUnitsUp(missing);
        line.priceCents = m_model.products[size_t(slot.product)].costCents;
        return true;
    }
    case Flow::Opening:
        break;
    }
    return false;
}

bool DemoDocuments::makeTransferLine(const Planned& planned, const std::vector<int>& used, Line& line)
{
    const int from = planned.warehouse;
    const int to = planned.inWarehouse;
    const WarehouseRole toRole = m_model.warehouses[size_t(to)]->role;
    if (toRole == WarehouseRole::Central || toRole == WarehouseRole::Other) {
        // Goods sent back: what the issuing shop has decides the line.
        line.slot = pickStocked(from, used);
        if (line.slot < 0)
            return false;
        const DemoStockSlot source = m_model.stockSlots[size_t(line.slot)];
        const qint64 units = source.quantityMilli / kMilli;
        qint64 quantity = source.quantityMilli;
        if (toRole == WarehouseRole::Other)
            quantity = qMin(quantity, kMilli);
        else if (units > 1 && source.quantityMilli % kMilli == 0)
            quantity = m_random.between(qMax<qint64>(1, units * 3 / 10), units) * kMilli;
        line.inSlot = m_model.addSlot(source.product, to, source.targetMilli);
        line.quantityMilli = quantity;
        line.priceCents = m_model.products[size_t(source.product)].costCents;
        return true;
    }
    // Goods sent out to refill: what the receiving shelf lacks decides.
    line.inSlot = pickLow(to, used);
    if (line.inSlot < 0)
        return false;
    const DemoStockSlot& target = m_model.stockSlots[size_t(line.inSlot)];
    const qint64 missing = target.targetMilli * m_random.between(100, 120) / 100 - target.quantityMilli;
    line.slot = m_model.slotOf(target.product, from);
    if (missing <= 0 || line.slot < 0 || m_model.stockSlots[size_t(line.slot)].quantityMilli <= 0)
        return false;
    line.quantityMilli = qMin(wholeUnitsUp(missing), m_model.stockSlots[size_t(line.slot)].quantityMilli);
    line.priceCents = m_model.products[size_t(target.product)].costCents;
    return true;
}

void DemoDocuments::post(qint64 documentId, Flow flow, int direction, const Line& line)
{
    DemoStockSlot& slot = m_model.stockSlots[size_t(line.slot)];
    const qint64 quantity = line.quantityMilli;
    if (flow == Flow::Transfer) {
        DemoStockSlot& into = m_model.stockSlots[size_t(line.inSlot)];
        const qint64 price = averagePrice(slot);
        const qint64 value = takeStock(slot, quantity);
        card(documentId, slot, 0, quantity, 0, value, price);
        addStock(into, quantity, value);
        card(documentId, into, quantity, 0, value, 0, price);
    } else if (direction == 1 && quantity > 0) {
        const qint64 value = money(quantity, line.priceCents);
        addStock(slot, quantity, value);
        card(documentId, slot, quantity, 0, value, 0, line.priceCents);
    } else if (direction == 1) {
        // Sent back to the supplier: the receipt's storno.
        const qint64 price = averagePrice(slot);
        const qint64 value = takeStock(slot, -quantity);
        card(documentId, slot, quantity, 0, -value, 0, price);
    } else if (quantity > 0) {
        const qint64 price = averagePrice(slot);
        const qint64 value = takeStock(slot, quantity);
        card(documentId, slot, 0, quantity, 0, value, price);
    } else {
        // A negative issue brings the goods back in.
        const qint64 price = flow == Flow::CustomerReturn ? averagePrice(slot) : line.priceCents;
        const qint64 value = money(-quantity, price);
        addStock(slot, -quantity, value);
        card(documentId, slot, 0, quantity, 0, -value, price);
    }
}

int DemoDocuments::pickStocked(int warehouse, const std::vector<int>& used)
{
    const std::vector<int>& candidates = m_model.slotsByWarehouse[size_t(warehouse)];
    if (candidates.empty())
        return -1;
    for (int attempt = 0; attempt < 12; ++attempt) {
        const int s = m_random.pick(candidates);
        const DemoStockSlot& slot = m_model.stockSlots[size_t(s)];
        if (slot.quantityMilli > 0 && !contains(used, slot.product))
            return s;
    }
    return -1;
}

int DemoDocuments::pickAny(const std::vector<int>& candidates, const std::vector<int>& used)
{
    if (candidates.empty())
        return -1;
    for (int attempt = 0; attempt < 12; ++attempt) {
        const int s = m_random.pick(candidates);
        if (!contains(used, m_model.stockSlots[size_t(s)].product))
            return s;
    }
    return -1;
}

int DemoDocuments::pickAny(int warehouse, const std::vector<int>& used)
{
    return pickAny(m_model.slotsByWarehouse[size_t(warehouse)], used);
}

int DemoDocuments::pickLow(const std::vector<int>& candidates, const std::vector<int>& used)
{
    // The emptiest of a few shelves looked at: buyers reorder what runs low.
    int best = -1;
    qint64 bestFill = 0;
    for (int look = 0; look < 4; ++look) {
        const int s = pickAny(candidates, used);
        if (s < 0)
            continue;
        const DemoStockSlot& slot = m_model.stockSlots[size_t(s)];
        const qint64 fill = slot.quantityMilli * 1000 / slot.targetMilli;
        if (best < 0 || fill < bestFill) {
            best = s;
            bestFill = fill;
        }
    }
    return best;
}

int DemoDocuments::pickLow(int warehouse, const std::vector<int>& used)
{
    return pickLow(m_model.slotsByWarehouse[size_t(warehouse)], used);
}

qint64 DemoDocuments::saleQuantity(const DemoProduct& product, bool wholesale)
{
    if (isFractional(product.unit))
        return wholesale ? m_random.between(5, 50) * kMilli : m_random.between(20, 250) * 10;
    if (wholesale)
        return m_random.between(2, 20) * kMilli;
    return (m_random.permille(850) ? m_random.between(1, 3) : m_random.between(4, 10)) * kMilli;
}

qint64 DemoDocuments::smallQuantity(const DemoProduct& product, int maxUnits)
{
    if (isFractional(product.unit))
        return m_random.between(10, maxUnits * 100) * 10;
    return m_random.between(1, maxUnits) * kMilli;
}

qint64 DemoDocuments::sellingPrice(const DemoStockSlot& slot) const
{
    const qint64 price = m_model.products[size_t(slot.product)].priceCents;
    return m_model.warehouses[size_t(slot.warehouse)]->priceType == 'm' ? price : (price * 92 + 50) / 100;
}

qint64 DemoDocuments::averagePrice(const DemoStockSlot& slot) const
{
    if (slot.quantityMilli <= 0 || slot.valueCents <= 0)
        return m_model.products[size_t(slot.product)].costCents;
    return (slot.valueCents * kMilli + slot.quantityMilli / 2) / slot.quantityMilli;
}

void DemoDocuments::addStock(DemoStockSlot& slot, qint64 quantityMilli, qint64 valueCents)
{
    slot.quantityMilli += quantityMilli;
    slot.valueCents += valueCents;
}

qint64 DemoDocuments::takeStock(DemoStockSlot& slot, qint64 quantityMilli)
{
    // Issues take the average value; the last unit takes what is left.
    const qint64 value = quantityMilli >= slot.quantityMilli
                             ? slot.valueCents
                             : (slot.valueCents * quantityMilli + slot.quantityMilli / 2) / slot.quantityMilli;
    slot.quantityMilli -= quantityMilli;
    slot.valueCents -= value;
    return value;
}

void DemoDocuments::card(qint64 documentId, const DemoStockSlot& slot, qint64 inMilli, qint64 outMilli, qint64 debit,
                         qint64 credit, qint64 price)
{
    m_cards.row()
        .integer(++m_cardId)
        .integer(documentId)
        .integer(m_model.products[size_t(slot.product)].id)
        .integer(m_model.warehouses[size_t(slot.warehouse)]->id)
        .scaled(inMilli, 3)
        .scaled(outMilli, 3)
        .scaled(debit, 2)
        .scaled(credit, 2)
        .scaled(price, 2);
}

void DemoDocuments::writeHeader(qint64 documentId, const Planned& planned, const Variant& variant, int direction)
{
    const WarehouseSpec& warehouse = *m_model.warehouses[size_t(planned.warehouse)];
    int partner = 0;
    QString partnerName;
    const bool fromSupplier = variant.flow == Flow::Receipt || variant.flow == Flow::SupplierReturn
                              || variant.flow == Flow::SupplierGiveBack
                              || (variant.flow == Flow::Draft && variant.kind == 'K');
    const bool toCustomer = variant.flow == Flow::Sale || variant.flow == Flow::CustomerReturn
                            || (variant.flow == Flow::Draft && variant.kind == 'R');
    if (fromSupplier)
        partner = int(m_random.between(1, m_model.suppliers));
    else if (toCustomer && (warehouse.role != WarehouseRole::Retail || m_random.permille(350)))
        partner = int(m_random.between(m_model.suppliers + 1, m_model.suppliers + m_model.customers));
    if (partner > 0 && m_random.permille(60)) {
        // Written on the document for one of the partner's branches.
        partnerName = m_model.partnerNames[size_t(partner - 1)] + QStringLiteral(", PJ ")
                      + QString::fromUtf8(m_random.pick(cities()).name);
    } else if (partner == 0 && toCustomer && m_random.permille(400)) {
        partnerName = QString::fromUtf8(m_random.pick(firstNames())) + QLatin1Char(' ')
                      + QString::fromUtf8(m_random.pick(surnames()));
    }

    m_documents.row()
        .integer(documentId)
        .text(m_dayTexts[planned.day])
        .text(QString(QLatin1Char(variant.kind)))
        .text(documentNumber(variant.kind, planned.warehouse, planned.day))
        .integer(direction)
        .integer(warehouse.id);
    if (planned.inWarehouse >= 0)
        m_documents.integer(m_model.warehouses[size_t(planned.inWarehouse)]->id);
    else
        m_documents.null();
    m_documents.text(QLatin1String(variant.flow == Flow::Draft ? "d" : "p"))
        .text(QLatin1String(variant.flow == Flow::CustomerReturn || variant.flow == Flow::SupplierReturn ? "y" : "n"));
    if (partner > 0)
        m_documents.integer(partner);
    else
        m_documents.null();
    m_documents.optionalText(partnerName);
}

QString DemoDocuments::documentNumber(char kind, int warehouse, int day)
{
    // Numbered per kind, warehouse and year: "MP01-00042/24".
    const QString code = QString::fromLatin1(m_model.warehouses[size_t(warehouse)]->code);
    const int year = m_model.firstDay.addDays(day).year();
    const int number = ++m_numbers[QString(QLatin1Char(kind)) + code + QString::number(year)];
    return QStringLiteral("%1-%2/%3").arg(code).arg(number, 5, 10, QLatin1Char('0')).arg(year % 100, 2, 10,
                                                                                          QLatin1Char('0'));
}

} // namespace tarvex::demo
