#include "Stocksoverviewdata.h"

#include "Bulkread.h"
#include "Collationorder.h"
#include "Connection.h"
#include "Controlsoff.h"
#include "DateText.h"
#include "DisplayFormat.h"
#include "Documentrules.h"
#include "Format.h"
#include "MemoryTable.h"
#include "Productlistsql.h"
#include "Reportworker.h"
#include "Reportfields.h"
#include "ResultStore.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVector>
#include <algorithm>
#include <memory>
#include <tuple>

namespace products {

namespace {

// The products the filter lets through; "%s" takes the conditions on the
// product. They are put in the list's order (name, code, id) here, by the
// weights the server would sort the names and codes by: the server's own
// sort of a hundred thousand names takes longer than reading them. The VAT
// factor of the product's tax comes along for the web price.
const QString kProductsSql =
    QStringLiteral("SELECT p.productid, p.code, p.name, p.supplyprice, ") +
    priceWithVatSql(QStringLiteral("p.recommendedprice")) + QStringLiteral(" AS RecommendedPriceVAT, ") +
    taxFactorSql() + QStringLiteral(" AS VATFactor, WEIGHT_STRING(p.name), WEIGHT_STRING(p.code) FROM product AS p "
                                    "LEFT JOIN tax AS t ON p.taxid = t.taxid WHERE %s ORDER BY p.productid");
// The details the overview shows, in product order. Joined to every product
// row, a million look-ups of the details cost the server more than reading
// the details through once: for the whole shop they are read apart, all of
// them ("%s" empty); a narrowed list reads only its products' ("%s" takes
// the join and the conditions on the product).
const QString kDetailsSql = QStringLiteral(
    "SELECT pd.productid, pd.webprice, pd.b2bprice, pd.tariffnumber FROM productdetail AS pd %s ORDER BY "
    "pd.productid");
const QString kDescriptionSql = QStringLiteral("SELECT description FROM productdetail WHERE productid = ?");

const QString kCategoryChildrenSql = QStringLiteral("SELECT categoryprid FROM categorypr WHERE parentid IN (%s)");
// Four generations below the selection: children to great-great-grandchildren.
const int kCategoryGenerations = 4;

const QString kRetailWarehouses = QStringLiteral("(2,4,3,7,10,6,5,15,19)");

// The sales, supplies and stock entries of every listed product, each in one
// pass over the document lines; "%s" takes the narrowing to the listed
// products when there are few of them, their ids bound.
const QString kPeriodSalesSql = QStringLiteral(
    "SELECT di.productid, d.warehouseid, SUM(di.quantity) AS saleamount FROM documentitem AS di LEFT JOIN document "
    "AS d ON di.documentid = d.documentid WHERE d.documentdate >= ? AND d.documentdate <= ? AND d.documenttype IN "
    "('R','M') %s GROUP BY di.productid, d.warehouseid");
const QString kWeekSalesSql = QStringLiteral(
    "SELECT di.productid, SUM(di.quantity) AS saleamount FROM documentitem AS di LEFT JOIN document AS d ON "
    "di.documentid = d.documentid WHERE d.documentdate >= ? AND d.documentdate <= ? AND d.documenttype IN "
    "('R','M') %s GROUP BY di.productid");
// The partners' names are read apart: joined to every supply line they
// would travel once per line.
const QString kSuppliesSql = QStringLiteral(
    "SELECT di.productid, TO_DAYS(d.documentdate), d.documentid, d.partnerid FROM document AS d STRAIGHT_JOIN documentitem "
    "AS di ON di.documentid = d.documentid WHERE (((d.documenttype IN ('K')) AND (di.quantity > 0)) OR "
    "((d.documenttype IN ('W')) AND (di.quantity < 0))) AND d.docreturn = 'n' AND NOT(d.documentid IN %s) %s");
const QString kPartnersSql = QStringLiteral("SELECT partnerid, name FROM partner");
// Every stock-entry line, the latest kept here: the server's grouping of a
// few million lines by product spills to disk and costs four times the
// reading.
const QString kEntriesSql = QStringLiteral(
    "SELECT di.productid, TO_DAYS(d.documentdate) FROM document AS d STRAIGHT_JOIN documentitem AS di ON "
    "di.documentid = d.documentid WHERE d.documenttype IN ('G') AND d.docreturn = 'n' AND NOT(d.documentid IN %s) "
    "%s");
// Up to this many listed products the passes read only theirs.
const int kNarrowedProducts = 200;

const QString kQuantityFormat = tarvex::QUANTITY_FORMAT;
const QString kPriceFormat = tarvex::AMOUNT_FORMAT;

// Positions of the fields in a record, looked up once.
struct Columns {
    int productId, code, name, ordered, reserved, totalSale, totalSale7, days, supplier, recommended, web, b2b,
        supply;
    int mpAmount[9], mpSale[9];
    int vpAmount, vpSale;
    int count;

    Columns()
    {
        const QStringList names = QStringList{QStringLiteral("ProductID")} + StocksOverviewColumns();
        auto at = [&](const QString& name) { return int(names.indexOf(name)); };
        productId = 0;
        code = at(QStringLiteral("ProductCode"));
        name = at(QStringLiteral("ProductName"));
        ordered = at(QStringLiteral("orderedamount"));
        reserved = at(QStringLiteral("reservedamount"));
        totalSale = at(QStringLiteral("totalsale"));
        totalSale7 = at(QStringLiteral("totalsale7"));
        days = at(QStringLiteral("daysonstock"));
        supplier = at(QStringLiteral("lastsupplier"));
        recommended = at(QStringLiteral("recommendedpricewithvat"));
        web = at(QStringLiteral("webpricewithvat"));
        b2b = at(QStringLiteral("b2bprice"));
        supply = at(QStringLiteral("supplyprice"));
        for (int i = 0; i < 9; ++i) {
            mpAmount[i] = at(QStringLiteral("mp%1amount").arg(i + 1));
            mpSale[i] = at(QStringLiteral("mp%1sale").arg(i + 1));
        }
        vpAmount = at(QStringLiteral("vp1amount"));
        vpSale = at(QStringLiteral("vp1sale"));
        count = int(names.size());
    }
};

const Columns& columns()
{
    static const Columns positions;
    return positions;
}

// The stock and sales column a warehouse feeds (-1: none); MP7 and VP add several.
int stockColumnOf(qint64 warehouseId, bool sale)
{
    const Columns& c = columns();
    const int* mp = sale ? c.mpSale : c.mpAmount;
    const int vp = sale ? c.vpSale : c.vpAmount;
    switch (warehouseId) {
    case 2: return mp[0];
    case 4: return mp[1];
    case 3: return mp[2];
    case 7: return mp[3];
    case 10: return mp[4];
    case 6: return mp[5];
    case 5:
    case 11: return mp[6];
    case 15: return mp[7];
    case 19: return mp[8];
    case 1:
    case 20:
    case 23: return vp;
    default: return -1;
    }
}

// Warehouses whose free stock counts as reserved.
bool isReserveWarehouse(qint64 warehouseId)
{
    return warehouseId == 8 || warehouseId == 9 || warehouseId == 12 || warehouseId == 13 || warehouseId == 14;
}

// One placeholder per id, each id appended to `values`.
QString idMarks(const QList<qint64>& ids, QVariantList& values)
{
    QStringList marks;
    for (qint64 id : ids) {
        marks << QStringLiteral("?");
        values << id;
    }
    return marks.join(QLatin1Char(','));
}

// What the document lines say of the listed products, each list in product
// order: walked beside the products in theirs, a million look-ups in hash
// tables cost more than the sorting.
struct WarehouseSale {
    qint64 productId;
    qint64 warehouseId;
    double sale;
};
struct ProductSale {
    qint64 productId;
    double sale;
};
// The latest supply or stock entry of a product; of several on one day the
// latest document.
struct LatestDocument {
    qint64 productId;
    qint64 day;
    qint64 documentId;
    qint64 partnerId;  // -1: none
};
struct ProductDocuments {
    std::vector<WarehouseSale> periodSales;  // by product, then warehouse
    std::vector<ProductSale> weekSales;
    std::vector<LatestDocument> supplies;    // one per product
    std::vector<LatestDocument> entries;     // one per product
    QHash<qint64, QString> partners;
};

// Sorted by product (stable: a product's entries keep their order) unless
// they came so.
template <class T>
void sortByProduct(std::vector<T>& list)
{
    const auto less = [](const T& a, const T& b) { return a.productId < b.productId; };
    if (!std::is_sorted(list.begin(), list.end(), less))
        std::stable_sort(list.begin(), list.end(), less);
}

// Document lines, one per product and document, reduced to the latest of
// each product.
void keepLatest(std::vector<LatestDocument>& lines)
{
    std::sort(lines.begin(), lines.end(), [](const LatestDocument& a, const LatestDocument& b) {
        return std::tie(a.productId, a.day, a.documentId) < std::tie(b.productId, b.day, b.documentId);
    });
    size_t kept = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size() && lines[i + 1].productId == lines[i].productId)
            continue;
        lines[kept++] = lines[i];
    }
    lines.resize(kept);
    lines.shrink_to_fit();
}

// An entry of a list in product order, for products asked in ascending
// order.
template <class T>
class ProductCursor {
public:
    explicit ProductCursor(const std::vector<T>& list) : m_list(list) {}
    // The product's first entry, null when it has none.
    const T* find(qint64 productId)
    {
        while (m_at < m_list.size() && m_list[m_at].productId < productId)
            ++m_at;
        return m_at < m_list.size() && m_list[m_at].productId == productId ? &m_list[m_at] : nullptr;
    }
    // The entries of the product last found.
    const T* end() const
    {
        size_t at = m_at;
        while (at < m_list.size() && m_list[at].productId == m_list[m_at].productId)
            ++at;
        return m_list.data() + at;
    }

private:
    const std::vector<T>& m_list;
    size_t m_at = 0;
};

// `only` null: of every product (read beside the product list, before it
// is known).
ProductDocuments readDocuments(QSqlDatabase db, const TStocksOverviewFilter& filter, const QDate& today,
                               const QSet<qint64>* only, const TProgress& progress)
{
    static const QSet<qint64> none;
    const QSet<qint64>& listed = only ? *only : none;
    auto isListed = [&](qint64 productId) { return !only || listed.contains(productId); };
    QString narrowing;
    QVariantList narrowed;
    if (only && listed.size() <= kNarrowedProducts) {
        QList<qint64> ids(listed.begin(), listed.end());
        if (ids.isEmpty())
            ids << 0;
        narrowing = QStringLiteral("AND di.productid IN (") + idMarks(ids, narrowed) + QLatin1Char(')');
    }
    ProductDocuments documents;
    auto step = [&](const char* text) {
        if (progress)
            progress(QString::fromUtf8(text), int(listed.size()));
    };
    step("Prodaja u periodu");
    TBulkRows period(db, tarvex::Format(kPeriodSalesSql, {narrowing}),
                     QVariantList{filter.fromText, filter.toText} + narrowed);
    while (period.next()) {
        const tarvex::NativeRows& row = period.row();
        const qint64 productId = row.integer(0);
        if (isListed(productId))
            documents.periodSales.push_back(WarehouseSale{productId, row.integer(1), row.number(2)});
    }
    sortByProduct(documents.periodSales);
    step("Prodaja u 7 dana");
    // Seven days back to today, both included.
    TBulkRows week(db, tarvex::Format(kWeekSalesSql, {narrowing}),
                   QVariantList{tarvex::DateToSqlText(today.addDays(-7)), tarvex::DateToSqlText(today)} + narrowed);
    while (week.next()) {
        const qint64 productId = week.row().integer(0);
        if (isListed(productId))
            documents.weekSales.push_back(ProductSale{productId, week.row().number(1)});
    }
    sortByProduct(documents.weekSales);
    step("Nabavke");
    TBulkRows supplies(db, tarvex::Format(kSuppliesSql, {docrules::kSupplyExclusions, narrowing}), narrowed);
    while (supplies.next()) {
        const tarvex::NativeRows& row = supplies.row();
        const qint64 productId = row.integer(0);
        if (isListed(productId))
            documents.supplies.push_back(
                LatestDocument{productId, row.integer(1), row.integer(2), row.isNull(3) ? -1 : row.integer(3)});
    }
    keepLatest(documents.supplies);
    QSqlQuery names = tarvex::selectSql(db, kPartnersSql);
    while (names.next())
        documents.partners.insert(names.value(0).toLongLong(), names.value(1).toString());
    TBulkRows entries(db, tarvex::Format(kEntriesSql, {docrules::kSupplyExclusions, narrowing}), narrowed);
    while (entries.next()) {
        const qint64 productId = entries.row().integer(0);
        if (isListed(productId))
            documents.entries.push_back(LatestDocument{productId, entries.row().integer(1), 0, -1});
    }
    keepLatest(documents.entries);
    return documents;
}

// The listed products' records, in product order, filled from the
// documents: the sales of the period per warehouse and in the last seven
// days, and the days since the last supply (or stock entry, or the date
// kept in the tariff number) with the supplier.
void fillFromDocuments(tarvex::ResultStore& store, const std::vector<qint32>& byProduct,
                       const tarvex::ResultStore& aside, int tariff, const QDateTime& now,
                       const ProductDocuments& documents)
{
    const Columns& c = columns();
    ProductCursor<WarehouseSale> period(documents.periodSales);
    ProductCursor<ProductSale> week(documents.weekSales);
    ProductCursor<LatestDocument> supplies(documents.supplies);
    ProductCursor<LatestDocument> entries(documents.entries);
    for (const qint32 row : byProduct) {
        const qint64 productId = store.integer(row, c.productId);
        if (const WarehouseSale* sale = period.find(productId)) {
            for (const WarehouseSale* end = period.end(); sale != end; ++sale) {
                if (IsZeroQuantity(sale->sale))
                    continue;
                const int column = stockColumnOf(sale->warehouseId, true);
                if (column >= 0)
                    store.addNumber(row, column, sale->sale);
                store.addNumber(row, c.totalSale, sale->sale);
            }
        }
        if (const ProductSale* sale = week.find(productId); sale && !IsZeroQuantity(sale->sale))
            store.setNumber(row, c.totalSale7, sale->sale);
        QDate since;
        if (const LatestDocument* supply = supplies.find(productId)) {
            since = dateOfDayNumber(supply->day);
            const QString partner = documents.partners.value(supply->partnerId);
            if (!partner.isEmpty())
                store.setText(row, c.supplier, partner);
        } else if (const LatestDocument* entry = entries.find(productId)) {
            since = dateOfDayNumber(entry->day);
        } else if (const QString tariffNumber = aside.text(row, tariff); !tariffNumber.isEmpty()) {
            since = tarvex::MyDateStrToDate(tariffNumber);
        }
        if (since.isValid())
            store.setInteger(row, c.days, WholeDaysBetween(since, now));
    }
}

// Every stock row that passes, in key order: a product's rows come one
// after another, in the order of the product list read before, and are
// summed into its record as they come. Summed on the server, the dozen
// conditional sums per row cost more than the reading.
const QString kStockRowsSql = QStringLiteral(
    "SELECT pw.productid, pw.warehouseid, pw.amount, pw.reservedamount, pw.reversedamount, pw.orderedamount FROM "
    "productwarehouse AS pw FORCE INDEX (PRIMARY) %s ORDER BY pw.productid, pw.warehouseid");

// A stock row added into the product's record, each sum NULL while no row
// feeds it: the ordered amount, the reserved and lent amounts (with what a
// reserve warehouse holds beyond them), and the warehouse's stock column
// when its amount is positive.
void addStockRow(tarvex::ResultStore& store, int r, const tarvex::NativeRows& row)
{
    const Columns& c = columns();
    const qint64 warehouseId = row.integer(1);
    const double amount = row.number(2);
    const double held = row.number(3) + row.number(4);
    const double ordered = row.number(5);
    if (ordered > 0)
        store.addNumber(r, c.ordered, ordered);
    // The same terms in the same order as the figures always had.
    const bool lent = row.number(3) > 0 || row.number(4) > 0;
    const bool free = isReserveWarehouse(warehouseId) && amount - held > 0;
    if (lent || free)
        store.addNumber(r, c.reserved, (lent ? held : 0.0) + (free ? amount - held : 0.0));
    const int column = stockColumnOf(warehouseId, false);
    if (column >= 0 && amount > 0)
        store.addNumber(r, column, amount);
}

// The store of the overview: one column per field of the table, in order.
std::shared_ptr<tarvex::ResultStore> newOverviewStore()
{
    using Kind = tarvex::ResultStore::Kind;
    auto store = std::make_shared<tarvex::ResultStore>();
    store->addColumn(QStringLiteral("ProductID"), Kind::Integer);
    for (const QString& name : StocksOverviewColumns()) {
        // A product's code and name are its own; suppliers repeat.
        const bool own = name == QLatin1String("ProductCode") || name == QLatin1String("ProductName");
        const bool text = own || name == QLatin1String("lastsupplier");
        store->addColumn(name, text ? Kind::Text : name == QLatin1String("daysonstock") ? Kind::Integer : Kind::Number,
                         !own);
    }
    return store;
}

// Row numbers of a store in the order of its first column's integers.
std::vector<qint32> byFirstColumn(const tarvex::ResultStore& store)
{
    std::vector<qint32> rows(size_t(store.rowCount()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = qint32(i);
    // Read in key order as a rule: then nothing is sorted.
    const auto less = [&](qint32 a, qint32 b) { return store.integer(a, 0) < store.integer(b, 0); };
    if (!std::is_sorted(rows.begin(), rows.end(), less))
        std::sort(rows.begin(), rows.end(), less);
    return rows;
}

// The products in identifier order, looked up by identifiers that come in
// the same order: the two lists are walked side by side.
class ProductWalk {
public:
    ProductWalk(const tarvex::ResultStore& store, int idColumn, const std::vector<qint32>& rows)
        : m_store(store), m_idColumn(idColumn), m_rows(rows)
    {
    }
    // The product's row, -1 when the list has none of that identifier.
    qint32 find(qint64 id)
    {
        while (m_at < m_rows.size() && m_store.integer(m_rows[m_at], m_idColumn) < id)
            ++m_at;
        if (ended() || m_store.integer(m_rows[m_at], m_idColumn) != id)
            return -1;
        return m_rows[m_at];
    }
    // Past the last product: nothing later can be found.
    bool ended() const { return m_at == m_rows.size(); }

private:
    const tarvex::ResultStore& m_store;
    const int m_idColumn;
    const std::vector<qint32>& m_rows;
    size_t m_at = 0;
};

} // namespace

QList<qint64> ExpandCategories(QSqlDatabase db, const QList<qint64>& selected)
{
    QList<qint64> all = selected;
    QList<qint64> generation = selected;
    for (int step = 0; step < kCategoryGenerations && !generation.isEmpty(); ++step) {
        QVariantList ids;
        const QString marks = idMarks(generation, ids);
        QSqlQuery children = tarvex::selectSql(db, tarvex::Format(kCategoryChildrenSql, {marks}), ids);
        generation.clear();
        while (children.next())
            generation << children.value(0).toLongLong();
        all << generation;
    }
    return all;
}

QString StocksOverviewWhere(QSqlDatabase db, const TStocksOverviewFilter& filter, QVariantMap& params)
{
    QStringList conditions;
    if (!filter.code.isEmpty()) {
        conditions << QStringLiteral("p.code LIKE :code");
        params.insert(QStringLiteral("code"), filter.code + QLatin1Char('%'));
    }
    if (!filter.name.isEmpty()) {
        conditions << QStringLiteral("p.name LIKE :name");
        params.insert(QStringLiteral("name"), filter.name + QLatin1Char('%'));
    }
    if (filter.active == 2)
        conditions << QStringLiteral("p.active = 'n'");
    else if (filter.active != 0)
        conditions << QStringLiteral("p.active != 'n'");
    if (!filter.categories.isEmpty()) {
        conditions << QStringLiteral("pc.categoryprid IN (:categories)");
        QVariantList ids;
        for (const qint64 id : ExpandCategories(db, filter.categories))
            ids << id;
        params.insert(QStringLiteral("categories"), ids);
    }
    if (filter.stockMode != TStockMode::All) {
        conditions << QStringLiteral("pw.amount > 0");
        if (filter.stockMode == TStockMode::Retail)
            conditions << QStringLiteral("pw.warehouseid IN ") + kRetailWarehouses;
        else if (filter.stockMode == TStockMode::Wholesale)
            conditions << QStringLiteral("NOT (pw.warehouseid IN ") + kRetailWarehouses + QLatin1Char(')');
    }
    conditions << QStringLiteral("p.type != 'u'");
    return QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

namespace {

// The filter's conditions on the product alone ("p"), joined by " AND ";
// the typed prefixes are bound ("?"), their values appended to `values`.
QString productConditions(QSqlDatabase db, const TStocksOverviewFilter& filter, QVariantList& values)
{
    QStringList conditions;
    if (!filter.code.isEmpty()) {
        conditions << QStringLiteral("p.code LIKE ?");
        values << filter.code + QLatin1Char('%');
    }
    if (!filter.name.isEmpty()) {
        conditions << QStringLiteral("p.name LIKE ?");
        values << filter.name + QLatin1Char('%');
    }
    if (filter.active == 2)
        conditions << QStringLiteral("p.active = 'n'");
    else if (filter.active != 0)
        conditions << QStringLiteral("p.active != 'n'");
    if (!filter.categories.isEmpty())
        conditions << QStringLiteral("p.productid IN (SELECT pc.productid FROM productcategorypr AS pc WHERE "
                                     "pc.categoryprid IN (") +
                          idMarks(ExpandCategories(db, filter.categories), values) + QStringLiteral("))");
    conditions << QStringLiteral("p.type != 'u'");
    return conditions.join(QStringLiteral(" AND "));
}

// " WHERE " and the stock mode's conditions on the stock rows ("pw"), or
// nothing.
QString stockConditions(const TStocksOverviewFilter& filter)
{
    if (filter.stockMode == TStockMode::All)
        return QString();
    QString where = QStringLiteral(" WHERE pw.amount > 0");
    if (filter.stockMode == TStockMode::Retail)
        where += QStringLiteral(" AND pw.warehouseid IN ") + kRetailWarehouses;
    else if (filter.stockMode == TStockMode::Wholesale)
        where += QStringLiteral(" AND NOT (pw.warehouseid IN ") + kRetailWarehouses + QLatin1Char(')');
    return where;
}

} // namespace

QString StocksOverviewDescription(QSqlDatabase db, qint64 productId)
{
    QSqlQuery query = tarvex::selectSql(db, kDescriptionSql, {productId});
    return query.next() ? query.value(0).toString() : QString();
}

QStringList StocksOverviewColumns()
{
    QStringList columns = {QStringLiteral("ProductCode"), QStringLiteral("ProductName"),
                           QStringLiteral("orderedamount")};
    for (int i = 1; i <= 9; ++i)
        columns << QStringLiteral("mp%1amount").arg(i);
    columns << QStringLiteral("vp1amount") << QStringLiteral("reservedamount");
    for (int i = 1; i <= 9; ++i)
        columns << QStringLiteral("mp%1sale").arg(i);
    columns << QStringLiteral("vp1sale") << QStringLiteral("totalsale") << QStringLiteral("totalsale7")
            << QStringLiteral("daysonstock") << QStringLiteral("lastsupplier")
            << QStringLiteral("recommendedpricewithvat") << QStringLiteral("webpricewithvat")
            << QStringLiteral("b2bprice") << QStringLiteral("supplyprice");
    return columns;
}

void DefineStocksOverviewFields(tarvex::MemoryTable& table)
{
    using tarvex::FieldType;
    table.addField(QStringLiteral("ProductID"), FieldType::LargeInt).setVisible(false);
    table.addField(QStringLiteral("ProductCode"), FieldType::String, 20).setDisplayLabel(QStringLiteral("Kod"));
    table.addField(QStringLiteral("ProductName"), FieldType::String, 100)
        .setDisplayLabel(QStringLiteral("Proizvod"));
    auto quantity = [&](const QString& name, const QString& label) {
        AddNumberField(table, name, label, kQuantityFormat);
    };
    quantity(QStringLiteral("orderedamount"), QStringLiteral("Poruč."));
    for (int i = 1; i <= 9; ++i)
        quantity(QStringLiteral("mp%1amount").arg(i), QStringLiteral("MP%1").arg(i));
    quantity(QStringLiteral("vp1amount"), QStringLiteral("VP"));
    quantity(QStringLiteral("reservedamount"), QStringLiteral("Rezer."));
    for (int i = 1; i <= 9; ++i)
        quantity(QStringLiteral("mp%1sale").arg(i), QStringLiteral("P%1").arg(i));
    quantity(QStringLiteral("vp1sale"), QStringLiteral("PVP"));
    quantity(QStringLiteral("totalsale"), QStringLiteral("Prodato"));
    quantity(QStringLiteral("totalsale7"), QStringLiteral("Prodato 7"));
    table.addField(QStringLiteral("daysonstock"), FieldType::Integer).setDisplayLabel(QStringLiteral("Dana"));
    table.addField(QStringLiteral("lastsupplier"), FieldType::String, 100)
        .setDisplayLabel(QStringLiteral("Dobavljač"));
    auto price = [&](const QString& name, const QString& label) { AddNumberField(table, name, label, kPriceFormat); };
    price(QStringLiteral("recommendedpricewithvat"), QStringLiteral("Prep. cena + PDV"));
    price(QStringLiteral("webpricewithvat"), QStringLiteral("Web cena + PDV"));
    price(QStringLiteral("b2bprice"), QStringLiteral("B2B cena"));
    price(QStringLiteral("supplyprice"), QStringLiteral("Nab. cena"));
    for (const QString& name : StocksOverviewColumns()) {
        table.addIndex(name + QLatin1Char('A'), name, false);
        table.addIndex(name + QLatin1Char('D'), name, true);
    }
}

TStocksOverviewResult ComputeStocksOverview(QSqlDatabase db, const TStocksOverviewFilter& filter,
                                            const QDateTime& now, const TProgress& progress)
{
    using Kind = tarvex::ResultStore::Kind;
    // Without a narrowing of the products, the documents of all of them are
    // read beside the product list and its stock, on a connection of their
    // own, the server working on both at once; a narrowed list reads only
    // its products' documents, afterwards.
    const bool wholeShop = filter.code.isEmpty() && filter.name.isEmpty() && filter.categories.isEmpty();
    ProductDocuments documents;
    std::unique_ptr<TSideWork> side;
    if (wholeShop)
        side = std::make_unique<TSideWork>(db, [&documents, &filter, today = now.date()](QSqlDatabase own) {
            documents = readDocuments(own, filter, today, nullptr, {});
        });
    // The products that pass, each in a row of the overview's store; their
    // sort weights and tariff number beside it, for as long as needed.
    if (progress)
        progress(QStringLiteral("Proizvodi"), 0);
    const Columns& c = columns();
    std::shared_ptr<tarvex::ResultStore> store = newOverviewStore();
    tarvex::ResultStore aside;
    const int nameWeights = aside.addColumn(QStringLiteral("name"), Kind::Bytes);
    const int codeWeights = aside.addColumn(QStringLiteral("code"), Kind::Bytes);
    const int tariff = aside.addColumn(QStringLiteral("tariffnumber"), Kind::Text);
    const int vatFactor = aside.addColumn(QStringLiteral("vatfactor"), Kind::Number);
    QVariantList values;
    const QString conditions = productConditions(db, filter, values);
    {
        TBulkRows query(db, tarvex::Format(kProductsSql, {conditions}), values);
        const int into[] = {c.productId, c.code, c.name, c.supply, c.recommended};
        while (query.next()) {
            const tarvex::NativeRows& row = query.row();
            const int r = store->appendRow();
            aside.appendRow();
            for (int i = 0; i < 5; ++i)
                row.copyTo(*store, r, into[i], i);
            row.copyTo(aside, r, vatFactor, 5);
            row.copyTo(aside, r, nameWeights, 6);
            row.copyTo(aside, r, codeWeights, 7);
        }
    }
    const std::vector<qint32> products = byFirstColumn(*store);
    {
        // Both in product order: walked side by side.
        TBulkRows details(db,
                          tarvex::Format(kDetailsSql, {wholeShop ? QString()
                                                                  : QStringLiteral("JOIN product AS p ON p.productid = "
                                                                                   "pd.productid WHERE ") +
                                                                        conditions}),
                          wholeShop ? QVariantList() : values);
        ProductWalk walk(*store, c.productId, products);
        while (details.next()) {
            const tarvex::NativeRows& row = details.row();
            const qint32 r = walk.find(row.integer(0));
            if (walk.ended())
                break;
            if (r < 0)
                continue;
            // The web price with VAT as the server multiplies it: by its
            // own VAT factor of the product's tax.
            if (!row.isNull(1) && !aside.isNull(r, vatFactor))
                store->setNumber(r, c.web, row.number(1) * aside.number(r, vatFactor));
            row.copyTo(*store, r, c.b2b, 2);
            row.copyTo(aside, r, tariff, 3);
        }
    }
    // Listed: the products that pass with at least one stock row that
    // passes. The rows and the products both in product order, walked side
    // by side.
    std::vector<qint32> listed;
    if (progress)
        progress(QStringLiteral("Zalihe"), 0);
    {
        TBulkRows stock(db, tarvex::Format(kStockRowsSql, {stockConditions(filter)}));
        ProductWalk walk(*store, c.productId, products);
        while (stock.next()) {
            const qint32 r = walk.find(stock.row().integer(0));
            if (walk.ended())
                break;
            if (r < 0)
                continue;
            if (listed.empty() || listed.back() != r)
                listed.push_back(r);
            addStockRow(*store, r, stock.row());
        }
    }
    const std::vector<qint32> byProduct = listed;
    const TCollationOrder names(db, QStringLiteral("product"), QStringLiteral("name"));
    const TCollationOrder codes(db, QStringLiteral("product"), QStringLiteral("code"));
    const auto weightOf = [&](int column) {
        return [&aside, column](qint32 row) {
            const qint32 id = aside.textId(row, column);
            return id < 0 ? TCollationOrder::Weight{} : TCollationOrder::Weight{aside.textData(id), aside.textSize(id)};
        };
    };
    // By name; products of one name by code, then by identifier.
    names.sort(listed, weightOf(nameWeights), [&](qint32 a, qint32 b) {
        const TCollationOrder::Weight x = weightOf(codeWeights)(a);
        const TCollationOrder::Weight y = weightOf(codeWeights)(b);
        if (!x.data || !y.data) {
            if (x.data || y.data)
                return !x.data;
        } else if (const int k = codes.compare(x.data, x.size, y.data, y.size)) {
            return k < 0;
        }
        return store->integer(a, c.productId) < store->integer(b, c.productId);
    });
    if (side) {
        if (progress)
            progress(QStringLiteral("Prodaja u periodu"), int(listed.size()));
        side->wait();
    } else {
        QSet<qint64> ids;
        ids.reserve(int(listed.size()));
        for (const qint32 r : listed)
            ids.insert(store->integer(r, c.productId));
        documents = readDocuments(db, filter, now.date(), &ids, progress);
    }

    if (progress)
        progress(QStringLiteral("Zapisi"), int(listed.size()));
    fillFromDocuments(*store, byProduct, aside, tariff, now, documents);
    store->finish();
    return TStocksOverviewResult{std::move(store), std::move(listed)};
}

void ShowStocksOverview(tarvex::MemoryTable& table, TStocksOverviewResult result)
{
    TControlsOff off(table);
    table.loadStore(std::move(result.store), result.rows);
    table.first();
}

void FillStocksOverview(QSqlDatabase db, tarvex::MemoryTable& table, const TStocksOverviewFilter& filter,
                        const QDateTime& now, const TProgress& progress)
{
    ShowStocksOverview(table, ComputeStocksOverview(db, filter, now, progress));
}

int WholeDaysBetween(const QDate& date, const QDateTime& now)
{
    // Counted on the calendar, without daylight-saving hours.
    const QDateTime from(date, QTime(0, 0), Qt::UTC);
    const QDateTime to(now.date(), now.time(), Qt::UTC);
    return int(qAbs(from.msecsTo(to)) / (24 * 60 * 60 * 1000LL));
}

} // namespace products
