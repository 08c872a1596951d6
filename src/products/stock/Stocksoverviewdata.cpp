#include "Stocksoverviewdata.h"

#include "Connection.h"
#include "DateText.h"
#include "Documentrules.h"
#include "Format.h"
#include "MemoryTable.h"
#include "QueryDataSet.h"
#include "Reportwindow.h"
#include "Rounding.h"

#include <QSqlQuery>

namespace products {

const QString kStocksOverviewSql = QStringLiteral(
    "SELECT DISTINCT pw.productid, p.code, p.name, pw.amount, pw.orderedamount, pw.reservedamount, "
    "pw.reversedamount, pw.warehouseid, p.supplyprice, p.recommendedprice * (1+t.value/100) AS RecommendedPriceVAT, "
    "pd.webprice * (1+t.value/100) AS WebPriceVAT, pd.b2bprice, pd.description, pd.tariffnumber FROM "
    "productwarehouse AS pw LEFT JOIN product AS p ON pw.productid = p.productid LEFT JOIN productcategorypr AS pc "
    "ON pc.productid = pw.productid LEFT JOIN productdetail AS pd ON pd.productid = pw.productid LEFT JOIN tax AS "
    "t ON p.taxid = t.taxid %s ORDER BY p.name, p.code, pw.productid");

namespace {

const QString kCategoryChildrenSql = QStringLiteral("SELECT categoryprid FROM categorypr WHERE parentid IN (%s)");
// Four generations below the selection: children to great-great-grandchildren.
const int kCategoryGenerations = 4;

const QString kRetailWarehouses = QStringLiteral("(2,4,3,7,10,6,5,15,19)");

const QString kPeriodSalesSql = QStringLiteral(
    "SELECT SUM(di.quantity) AS saleamount, d.warehouseid FROM documentitem AS di LEFT JOIN document AS d ON "
    "di.documentid = d.documentid WHERE d.documentdate >= %s AND d.documentdate <= %s AND d.documenttype IN "
    "('R','M') AND di.productid = %d GROUP BY d.warehouseid");
const QString kSevenDaySalesSql = QStringLiteral(
    "SELECT SUM(di.quantity) AS saleamount FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = "
    "d.documentid WHERE d.documentdate >= %s AND d.documentdate <= %s AND d.documenttype IN ('R','M') AND "
    "di.productid = %d");

const QString kQuantityFormat = QStringLiteral("#,##0.######");
const QString kPriceFormat = QStringLiteral("0.00");

// The stock and sales column a warehouse feeds; MP7 and VP add several.
struct WarehouseColumns {
    const char* stock;
    const char* sale;
};

const WarehouseColumns* columnsOf(qint64 warehouseId)
{
    static const WarehouseColumns mp[] = {
        {"mp1amount", "mp1sale"}, {"mp2amount", "mp2sale"}, {"mp3amount", "mp3sale"},
        {"mp4amount", "mp4sale"}, {"mp5amount", "mp5sale"}, {"mp6amount", "mp6sale"},
        {"mp7amount", "mp7sale"}, {"mp8amount", "mp8sale"}, {"mp9amount", "mp9sale"},
    };
    static const WarehouseColumns vp = {"vp1amount", "vp1sale"};
    switch (warehouseId) {
    case 2: return &mp[0];
    case 4: return &mp[1];
    case 3: return &mp[2];
    case 7: return &mp[3];
    case 10: return &mp[4];
    case 6: return &mp[5];
    case 5:
    case 11: return &mp[6];
    case 15: return &mp[7];
    case 19: return &mp[8];
    case 1:
    case 20:
    case 23: return &vp;
    default: return nullptr;
    }
}

// Warehouses whose free stock counts as reserved.
bool isReserveWarehouse(qint64 warehouseId)
{
    return warehouseId == 8 || warehouseId == 9 || warehouseId == 12 || warehouseId == 13 || warehouseId == 14;
}

// An empty column takes the value; a filled one adds it.
void addTo(tarvex::MemoryTable& table, const QString& fieldName, double value)
{
    tarvex::Field& field = table.fieldByName(fieldName);
    field.setValue(field.isNull() ? value : field.asFloat() + value);
}

QString idList(const QList<qint64>& ids)
{
    QStringList texts;
    for (qint64 id : ids)
        texts << QString::number(id);
    return texts.join(QLatin1Char(','));
}

// The sales of the period per warehouse and in the last seven days.
void fillSales(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId, const TStocksOverviewFilter& filter,
               const QDate& today)
{
    QSqlQuery period = tarvex::selectSql(
        db, tarvex::Format(kPeriodSalesSql, {tarvex::quoteSqlText(filter.fromText),
                                             tarvex::quoteSqlText(filter.toText), productId}));
    while (period.next()) {
        const double sale = period.value(0).toDouble();
        if (tarvex::BetterRoundTo(sale, -6) == 0)
            continue;
        if (const WarehouseColumns* columns = columnsOf(period.value(1).toLongLong()))
            addTo(table, QString::fromLatin1(columns->sale), sale);
        addTo(table, QStringLiteral("totalsale"), sale);
    }
    // Seven days back to today, both included.
    QSqlQuery week = tarvex::selectSql(
        db, tarvex::Format(kSevenDaySalesSql, {tarvex::quoteSqlText(tarvex::MyDateToDateStr(today.addDays(-7))),
                                               tarvex::quoteSqlText(tarvex::MyDateToDateStr(today)), productId}));
    if (week.next()) {
        const double sale = week.value(0).toDouble();
        if (tarvex::BetterRoundTo(sale, -6) != 0)
            table.fieldByName(QStringLiteral("totalsale7")).setValue(sale);
    }
}

// Days since the last supply (or stock entry, or the date kept in the
// tariff number) and the supplier.
void fillLastSupply(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId, const QVariant& tariffNumber,
                    const QDateTime& now)
{
    const docrules::LastSupply supply = docrules::lastSupply(db, productId);
    QDate since;
    if (supply.found) {
        since = supply.date;
        if (!supply.partner.isEmpty())
            table.fieldByName(QStringLiteral("lastsupplier")).setValue(supply.partner);
    } else if (!tariffNumber.isNull() && !tariffNumber.toString().isEmpty()) {
        since = tarvex::MyDateStrToDate(tariffNumber.toString());
    }
    if (since.isValid())
        table.fieldByName(QStringLiteral("daysonstock")).setValue(WholeDaysBetween(since, now));
}

void fillProduct(QSqlDatabase db, tarvex::QueryDataSet& query, tarvex::MemoryTable& table, qint64 productId,
                 const TStocksOverviewFilter& filter, const QDateTime& now)
{
    auto copy = [&](const char* to, const char* from) {
        table.fieldByName(QString::fromLatin1(to)).setValue(query.fieldByName(QString::fromLatin1(from)).value());
    };
    table.fieldByName(QStringLiteral("ProductID")).setValue(productId);
    copy("ProductCode", "code");
    copy("ProductName", "name");
    copy("supplyprice", "supplyprice");
    copy("recommendedpricewithvat", "RecommendedPriceVAT");
    copy("webpricewithvat", "WebPriceVAT");
    copy("b2bprice", "b2bprice");
    fillSales(db, table, productId, filter, now.date());
    fillLastSupply(db, table, productId, query.fieldByName(QStringLiteral("tariffnumber")).value(), now);
}

// Adds one stock row (one warehouse of the current product) to the record.
void addStockRow(tarvex::QueryDataSet& query, tarvex::MemoryTable& table)
{
    const double amount = query.fieldByName(QStringLiteral("amount")).asFloat();
    const double ordered = query.fieldByName(QStringLiteral("orderedamount")).asFloat();
    const double reserved = query.fieldByName(QStringLiteral("reservedamount")).asFloat();
    const double lent = query.fieldByName(QStringLiteral("reversedamount")).asFloat();
    const qint64 warehouseId = query.fieldByName(QStringLiteral("warehouseid")).asLargeInt();
    if (ordered > 0)
        addTo(table, QStringLiteral("orderedamount"), ordered);
    if (reserved > 0 || lent > 0)
        addTo(table, QStringLiteral("reservedamount"), reserved + lent);
    if (amount > 0) {
        if (const WarehouseColumns* columns = columnsOf(warehouseId))
            addTo(table, QString::fromLatin1(columns->stock), amount);
    }
    // What a reserve warehouse holds beyond its reservations is reserved too.
    const double free = amount - (reserved + lent);
    if (free > 0 && isReserveWarehouse(warehouseId))
        addTo(table, QStringLiteral("reservedamount"), free);
}

} // namespace

QList<qint64> ExpandCategories(QSqlDatabase db, const QList<qint64>& selected)
{
    QList<qint64> all = selected;
    QList<qint64> generation = selected;
    for (int step = 0; step < kCategoryGenerations && !generation.isEmpty(); ++step) {
        QSqlQuery children = tarvex::selectSql(db, tarvex::Format(kCategoryChildrenSql, {idList(generation)}));
        generation.clear();
        while (children.next())
            generation << children.value(0).toLongLong();
        all << generation;
    }
    return all;
}

QString StocksOverviewWhere(QSqlDatabase db, const TStocksOverviewFilter& filter)
{
    QStringList conditions;
    if (!filter.code.isEmpty())
        conditions << QStringLiteral("p.code LIKE ") + tarvex::quoteSqlText(filter.code + QLatin1Char('%'));
    if (!filter.name.isEmpty())
        conditions << QStringLiteral("p.name LIKE ") + tarvex::quoteSqlText(filter.name + QLatin1Char('%'));
    if (filter.active == 2)
        conditions << QStringLiteral("p.active = ") + tarvex::quoteSqlText(QStringLiteral("n"));
    else if (filter.active != 0)
        conditions << QStringLiteral("p.active != ") + tarvex::quoteSqlText(QStringLiteral("n"));
    if (!filter.categories.isEmpty())
        conditions << QStringLiteral("pc.categoryprid IN (") + idList(ExpandCategories(db, filter.categories)) +
                          QLatin1Char(')');
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
        tarvex::Field& field = table.addField(name, FieldType::Float);
        field.setDisplayLabel(label);
        field.setDisplayFormat(kQuantityFormat);
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
    auto price = [&](const QString& name, const QString& label) {
        tarvex::Field& field = table.addField(name, FieldType::Float);
        field.setDisplayLabel(label);
        field.setDisplayFormat(kPriceFormat);
    };
    price(QStringLiteral("recommendedpricewithvat"), QStringLiteral("Prep. cena + PDV"));
    price(QStringLiteral("webpricewithvat"), QStringLiteral("Web cena + PDV"));
    price(QStringLiteral("b2bprice"), QStringLiteral("B2B cena"));
    price(QStringLiteral("supplyprice"), QStringLiteral("Nab. cena"));
    for (const QString& name : StocksOverviewColumns()) {
        table.addIndex(name + QLatin1Char('A'), name, false);
        table.addIndex(name + QLatin1Char('D'), name, true);
    }
}

void FillStocksOverview(tarvex::QueryDataSet& query, tarvex::MemoryTable& table,
                        const TStocksOverviewFilter& filter, const QDateTime& now)
{
    QSqlDatabase db = query.connection()->database();
    query.close();
    query.setSql(tarvex::Format(kStocksOverviewSql, {StocksOverviewWhere(db, filter)}));
    query.open();
    query.first();

    TControlsOff off(table);
    // Appended in the query's order, so the rows of a product meet the
    // record they belong to; the user's sort order comes back afterwards.
    const QString order = table.indexName();
    table.setIndexName(QString());
    table.emptyDataSet();
    struct RestoreOrder {
        tarvex::MemoryTable& table;
        const QString& order;
        ~RestoreOrder()
        {
            table.cancel();
            table.setIndexName(order);
            table.first();
        }
    } restore{table, order};

    const tarvex::Field& productIdField = table.fieldByName(QStringLiteral("ProductID"));
    for (; !query.eof(); query.next()) {
        const qint64 productId = query.fieldByName(QStringLiteral("productid")).asLargeInt();
        if (table.isEmpty() || productIdField.asLargeInt() != productId) {
            table.append();
            fillProduct(db, query, table, productId, filter, now);
        } else {
            table.edit();
        }
        addStockRow(query, table);
        table.post();
    }
}

int WholeDaysBetween(const QDate& date, const QDateTime& now)
{
    // Counted on the calendar, without daylight-saving hours.
    const QDateTime from(date, QTime(0, 0), Qt::UTC);
    const QDateTime to(now.date(), now.time(), Qt::UTC);
    return int(qAbs(from.msecsTo(to)) / (24 * 60 * 60 * 1000LL));
}

} // namespace products
