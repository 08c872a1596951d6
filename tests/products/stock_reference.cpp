#include "stock_reference.h"

#include "Connection.h"
#include "DateText.h"
#include "Documentrules.h"
#include "Format.h"
#include "Inventorystockpriceunit.h"
#include "MemoryTable.h"
#include "QueryDataSet.h"
#include "Rounding.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace products::reference {

namespace {

bool isZero(double value)
{
    return tarvex::BetterRoundTo(value, -6) == 0;
}

// --- turnover: the period's end per warehouse and product, then one
// opening-balance statement per row.

const QString kTurnoverSums = QStringLiteral(
    "SUM(IF(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0)) AS "
    "amountin, SUM(IF(d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) AS amountout");
const QString kTurnoverFrom = QStringLiteral(
    " FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = d.documentid  LEFT JOIN product AS p ON "
    "di.productid = p.productid  LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR (d.inwarehouseid "
    "= w.warehouseid)) WHERE %s ");
const QString kTurnoverEnd = QStringLiteral(
    "d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' AND d.documentdate %1 %s "
    "GROUP BY w.warehouseid,di.productid ORDER BY w.name,p.name");
const QString kTurnoverSql = "SELECT di.productid,p.name,p.code,p.unitname, " + kTurnoverSums +
                             ", w.warehouseid,w.name AS warehousename" + kTurnoverFrom + kTurnoverEnd.arg("<=");
const QString kOpeningSql = "SELECT " + kTurnoverSums + kTurnoverFrom +
                            "di.productid = %d AND w.warehouseid = %d AND " + kTurnoverEnd.arg("<");
const QString kServicesOut = QStringLiteral("NOT (p.type = 'u') AND");

// --- stocks overview: one statement of all stock rows by product, then
// sales and last supply per product.

const QString kStocksOverviewSql = QStringLiteral(
    "SELECT DISTINCT pw.productid, p.code, p.name, pw.amount, pw.orderedamount, pw.reservedamount, "
    "pw.reversedamount, pw.warehouseid, p.supplyprice, p.recommendedprice * (1+t.value/100) AS RecommendedPriceVAT, "
    "pd.webprice * (1+t.value/100) AS WebPriceVAT, pd.b2bprice, pd.description, pd.tariffnumber FROM "
    "productwarehouse AS pw LEFT JOIN product AS p ON pw.productid = p.productid LEFT JOIN productcategorypr AS pc "
    "ON pc.productid = pw.productid LEFT JOIN productdetail AS pd ON pd.productid = pw.productid LEFT JOIN tax AS "
    "t ON p.taxid = t.taxid %s ORDER BY p.name, p.code, pw.productid");

const QString kPeriodSalesSql = QStringLiteral(
    "SELECT SUM(di.quantity) AS saleamount, d.warehouseid FROM documentitem AS di LEFT JOIN document AS d ON "
    "di.documentid = d.documentid WHERE d.documentdate >= %s AND d.documentdate <= %s AND d.documenttype IN "
    "('R','M') AND di.productid = %d GROUP BY d.warehouseid");
const QString kSevenDaySalesSql = QStringLiteral(
    "SELECT SUM(di.quantity) AS saleamount FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = "
    "d.documentid WHERE d.documentdate >= %s AND d.documentdate <= %s AND d.documenttype IN ('R','M') AND "
    "di.productid = %d");

QString stockColumn(qint64 warehouseId, bool sale)
{
    static const QMap<qint64, int> retail = {{2, 1}, {4, 2}, {3, 3}, {7, 4}, {10, 5}, {6, 6}, {5, 7}, {11, 7},
                                             {15, 8}, {19, 9}};
    const QString suffix = sale ? QStringLiteral("sale") : QStringLiteral("amount");
    if (retail.contains(warehouseId))
        return QStringLiteral("mp%1").arg(retail[warehouseId]) + suffix;
    if (warehouseId == 1 || warehouseId == 20 || warehouseId == 23)
        return QStringLiteral("vp1") + suffix;
    return QString();
}

void addTo(tarvex::MemoryTable& table, const QString& fieldName, double value)
{
    tarvex::Field& field = table.fieldByName(fieldName);
    field.setValue(field.isNull() ? value : field.asFloat() + value);
}

void fillOverviewProduct(QSqlDatabase db, tarvex::QueryDataSet& query, tarvex::MemoryTable& table,
                         qint64 productId, const TStocksOverviewFilter& filter, const QDateTime& now)
{
    for (const char* names : {"ProductCode:code", "ProductName:name", "supplyprice:supplyprice",
                              "recommendedpricewithvat:RecommendedPriceVAT", "webpricewithvat:WebPriceVAT",
                              "b2bprice:b2bprice"}) {
        const QStringList pair = QString::fromLatin1(names).split(QLatin1Char(':'));
        table.fieldByName(pair[0]).setValue(query.fieldByName(pair[1]).value());
    }
    table.fieldByName(QStringLiteral("ProductID")).setValue(productId);
    QSqlQuery period = tarvex::selectSql(
        db, tarvex::Format(kPeriodSalesSql, {tarvex::quoteSqlText(filter.fromText),
                                             tarvex::quoteSqlText(filter.toText), productId}));
    while (period.next()) {
        const double sale = period.value(0).toDouble();
        if (isZero(sale))
            continue;
        const QString column = stockColumn(period.value(1).toLongLong(), true);
        if (!column.isEmpty())
            addTo(table, column, sale);
        addTo(table, QStringLiteral("totalsale"), sale);
    }
    const QDate today = now.date();
    QSqlQuery week = tarvex::selectSql(
        db, tarvex::Format(kSevenDaySalesSql, {tarvex::quoteSqlText(tarvex::DateToSqlText(today.addDays(-7))),
                                               tarvex::quoteSqlText(tarvex::DateToSqlText(today)), productId}));
    if (week.next() && !isZero(week.value(0).toDouble()))
        table.fieldByName(QStringLiteral("totalsale7")).setValue(week.value(0).toDouble());

    const docrules::LastSupply supply = docrules::lastSupply(db, productId);
    const QVariant tariffNumber = query.fieldByName(QStringLiteral("tariffnumber")).value();
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

void addOverviewStockRow(tarvex::QueryDataSet& query, tarvex::MemoryTable& table)
{
    const auto value = [&](const char* name) { return query.fieldByName(QString::fromLatin1(name)).asFloat(); };
    const double amount = value("amount"), ordered = value("orderedamount");
    const double reserved = value("reservedamount"), lent = value("reversedamount");
    const qint64 warehouseId = query.fieldByName(QStringLiteral("warehouseid")).asLargeInt();
    if (ordered > 0)
        addTo(table, QStringLiteral("orderedamount"), ordered);
    if (reserved > 0 || lent > 0)
        addTo(table, QStringLiteral("reservedamount"), reserved + lent);
    const QString column = stockColumn(warehouseId, false);
    if (amount > 0 && !column.isEmpty())
        addTo(table, column, amount);
    const double free = amount - (reserved + lent);
    if (free > 0 && (warehouseId == 8 || warehouseId == 9 || (warehouseId >= 12 && warehouseId <= 14)))
        addTo(table, QStringLiteral("reservedamount"), free);
}

// One row per product of the list whose values `row` gives, the products
// with nothing left at six decimals left out.
template <typename Row>
void fillByProduct(tarvex::DataSet& products, tarvex::MemoryTable& table, Row row)
{
    table.emptyDataSet();
    for (products.first(); products.isActive() && !products.eof(); products.next()) {
        const qint64 productId = products.fieldByName(QStringLiteral("productid")).asLargeInt();
        const QList<QPair<const char*, QVariant>> values = row(productId);
        if (values.isEmpty())
            continue;
        table.append();
        for (const char* name : {"name", "code", "unitname"})
            table.fieldByName(QString::fromLatin1(name)).setValue(products.fieldByName(QString::fromLatin1(name)).value());
        for (const auto& [name, value] : values)
            table.fieldByName(QString::fromLatin1(name)).setValue(value);
        table.post();
    }
    table.first();
}

} // namespace

void FillTurnover(QSqlDatabase db, tarvex::MemoryTable& table, const TTurnoverRequest& request)
{
    QString prefix = request.excludeServices ? kServicesOut : QString();
    if (!request.warehouseName.isEmpty())
        prefix += tarvex::Format(QStringLiteral("(w.name = %s) AND"), {tarvex::quoteSqlText(request.warehouseName)});
    QSqlQuery query =
        tarvex::selectSql(db, tarvex::Format(kTurnoverSql, {prefix, tarvex::quoteSqlText(request.toText)}));
    table.emptyDataSet();
    while (query.next()) {
        if (query.value(6).isNull())
            continue;
        double previous = 0;
        double in = query.value(4).toDouble();
        double out = query.value(5).toDouble();
        QSqlQuery before = tarvex::selectSql(
            db, tarvex::Format(kOpeningSql, {request.excludeServices ? kServicesOut : QString(),
                                             query.value(0).toLongLong(), query.value(6).toLongLong(),
                                             tarvex::quoteSqlText(request.fromText)}));
        if (before.next()) {
            previous = before.value(0).toDouble() - before.value(1).toDouble();
            in -= before.value(0).toDouble();
            out -= before.value(1).toDouble();
        }
        const double end = previous + in - out;
        if (isZero(in) && isZero(out) && isZero(end))
            continue;
        table.append();
        const QVariant values[] = {query.value(0), query.value(6), query.value(1), query.value(2), query.value(3),
                                   previous,       in,             out,            in - out,       end,
                                   query.value(7)};
        const char* names[] = {"productid", "warehouseid", "name", "code", "unitname", "amountprevbalance",
                               "amountin", "amountout", "amountbalance", "amountnewbalance", "warehousename"};
        for (int i = 0; i < 11; ++i)
            table.fieldByName(QString::fromLatin1(names[i])).setValue(values[i]);
        table.post();
    }
    table.first();
}

void FillStocksOverview(tarvex::QueryDataSet& query, tarvex::MemoryTable& table,
                        const TStocksOverviewFilter& filter, const QDateTime& now)
{
    QSqlDatabase db = query.connection()->database();
    query.close();
    QVariantMap params;
    query.setSql(tarvex::Format(kStocksOverviewSql, {StocksOverviewWhere(db, filter, params)}));
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.setParam(it.key(), it.value());
    query.open();
    table.setIndexName(QString());
    table.emptyDataSet();
    const tarvex::Field& productIdField = table.fieldByName(QStringLiteral("ProductID"));
    for (query.first(); !query.eof(); query.next()) {
        const qint64 productId = query.fieldByName(QStringLiteral("productid")).asLargeInt();
        if (table.isEmpty() || productIdField.asLargeInt() != productId) {
            table.append();
            fillOverviewProduct(db, query, table, productId, filter, now);
        } else {
            table.edit();
        }
        addOverviewStockRow(query, table);
        table.post();
    }
    table.first();
}

void FillInventoryQuantities(QSqlDatabase db, const TQuantityScope& scope, tarvex::DataSet& products,
                             tarvex::MemoryTable& table, const QString& date)
{
    fillByProduct(products, table, [&](qint64 productId) -> QList<QPair<const char*, QVariant>> {
        const TStockQuantities quantities = CalculateQuantities(db, scope, productId, date);
        const double balance = quantities.amountIn - quantities.amountOut;
        if (isZero(balance))
            return {};
        return {{"amountin", quantities.amountIn}, {"amountout", quantities.amountOut}, {"amountbalance", balance},
                {"productid", productId}};
    });
}

double FillInventoryStockPrice(QSqlDatabase db, qint32 warehouseId, tarvex::DataSet& products,
                               tarvex::MemoryTable& table, const QString& date)
{
    double total = 0;
    fillByProduct(products, table, [&](qint64 productId) -> QList<QPair<const char*, QVariant>> {
        const TStockPrice card = CalculatePrice(db, warehouseId, productId, date);
        if (isZero(card.amount))
            return {};
        total += card.value;
        return {{"amount", card.amount}, {"price", card.price}, {"productvalue", card.value}};
    });
    return total;
}

void ExpectSameRows(tarvex::MemoryTable& fast, tarvex::MemoryTable& reference, const QStringList& keyFields,
                    const QStringList& orderFields)
{
    ASSERT_EQ(fast.recordCount(), reference.recordCount());
    const QList<tarvex::Field*> fields = reference.fields();
    auto text = [](tarvex::MemoryTable& table, int row, const QStringList& names) {
        QStringList parts;
        for (const QString& name : names)
            parts << table.valueAt(row, table.fieldByName(name).index()).toString();
        return parts.join(QLatin1Char('|'));
    };
    // The row numbers by key (as they stand without keys).
    auto rowsBy = [&](tarvex::MemoryTable& table) {
        std::vector<int> rows(size_t(table.recordCount()));
        std::iota(rows.begin(), rows.end(), 0);
        std::stable_sort(rows.begin(), rows.end(),
                         [&](int a, int b) { return text(table, a, keyFields) < text(table, b, keyFields); });
        return rows;
    };
    for (int i = 0; i < fast.recordCount() && !orderFields.isEmpty(); ++i)
        ASSERT_EQ(text(fast, i, orderFields), text(reference, i, orderFields)) << "order at row " << i;
    const std::vector<int> fastRows = rowsBy(fast);
    const std::vector<int> referenceRows = rowsBy(reference);
    for (size_t i = 0; i < fastRows.size(); ++i) {
        for (tarvex::Field* field : fields) {
            const QVariant got = fast.valueAt(fastRows[i], fast.fieldByName(field->fieldName()).index());
            const QVariant want = reference.valueAt(referenceRows[i], field->index());
            const QString where = text(reference, referenceRows[i], {fields.first()->fieldName()}) + " " +
                                  field->fieldName();
            ASSERT_EQ(got.isNull(), want.isNull()) << where.toStdString();
            if (field->dataType() == tarvex::FieldType::Float)
                ASSERT_NEAR(got.toDouble(), want.toDouble(), 1e-9 * std::max(1.0, std::fabs(want.toDouble())))
                    << where.toStdString();
            else
                ASSERT_EQ(got.toString(), want.toString()) << where.toStdString();
        }
    }
}

} // namespace products::reference
