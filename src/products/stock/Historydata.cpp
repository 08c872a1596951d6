#include "Historydata.h"

#include "Connection.h"
#include "Controlsoff.h"
#include "DateText.h"
#include "Error.h"
#include "Exactprice.h"
#include "HostStrings.h"
#include "MemoryTable.h"
#include "Productresourcestring.h"
#include "QueryDataSet.h"
#include "Reportfields.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace products {

namespace {

// Posted stock documents up to the end date, inputs before outputs on a day.
const QString kWareSql = QStringLiteral(
    "SELECT d.documentdate, d.documenttype, d.number, d.documentid, IF(d.partnername IS NULL, CONCAT(p.name,''), "
    "d.partnername) AS Partner,  IF (d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = "
    "w.warehouseid),di.quantity,0) AS Input, IF (d.direction = -1 AND (d.warehouseid = "
    "w.warehouseid),di.quantity,0) AS Output, w.name FROM documentitem AS di LEFT JOIN document AS d ON "
    "di.documentid = d.documentid LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR "
    "(d.inwarehouseid = w.warehouseid)) LEFT JOIN partner AS p ON d.partnerid = p.partnerid WHERE d.documenttype "
    "IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' AND di.productid = ? AND "
    "d.documentdate <= ? AND w.warehouseid = ? ORDER BY d.documentdate,d.direction DESC, d.documenttype, "
    "d.number");

// Every stock-card entry of the warehouse up to the end date.
const QString kCardSql = QStringLiteral(
    "SELECT dfi.*, d.documentdate, d.documenttype, d.number, d.documentid, IF(d.partnername IS NULL, "
    "CONCAT(p.name,''), d.partnername) AS Partner FROM docfinitem AS dfi LEFT JOIN document AS d ON "
    "dfi.documentid = d.documentid LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR "
    "(d.inwarehouseid = w.warehouseid)) LEFT JOIN partner AS p ON d.partnerid = p.partnerid WHERE dfi.productid "
    "= ? AND d.documentdate <= ? AND w.warehouseid = ? AND dfi.warehouseid = ? ORDER BY "
    "d.documentdate,d.direction DESC, d.documenttype, d.number");

// Summed as exact decimals (see Exactprice.h).
const QString kPriceSql = QStringLiteral(
    "SELECT SUM(CAST(dfi.inquantity AS DECIMAL(24,6)))-SUM(CAST(dfi.outquantity AS DECIMAL(24,6))) AS SumAmount,"
    "SUM(CAST(dfi.debit AS DECIMAL(24,6)))-SUM(CAST(dfi.credit AS DECIMAL(24,6))) AS SumBalance "
    "FROM docfinitem AS dfi LEFT JOIN document AS d ON dfi.documentid = d.documentid WHERE dfi.productid = ? and "
    "dfi.warehouseid = ? and d.documentdate <= ?");

QDate rangeStart(const QString& fromText)
{
    const QDate start = tarvex::MyDateStrToDate(fromText);
    if (!start.isValid())
        throw tarvex::TarvexError(tarvex::ErrorKind::Validation,
                                  tarvex::CMN_FIELD_INVALIDE_ERR.arg(QStringLiteral("Od datuma")));
    return start;
}

// The column of each value, by name in the query's record.
struct Columns {
    int date, type, number, partner, in, out, price, debit, credit, documentId;
};

// The lines as rows of the history, the balances still empty.
std::vector<THistoryRow> entries(const tarvex::QueryRows& lines, const Columns& at)
{
    std::vector<THistoryRow> rows;
    rows.reserve(size_t(lines.values.size()));
    for (const QVector<QVariant>& line : lines.values) {
        THistoryRow row;
        row.date = line.at(at.date).toDate();
        row.document = line.at(at.type).toString() + QLatin1Char('-') + line.at(at.number).toString();
        row.partner = line.at(at.partner);
        row.in = line.at(at.in).toDouble();
        row.out = line.at(at.out).toDouble();
        if (at.price >= 0) {
            row.price = line.at(at.price).toDouble();
            row.debit = line.at(at.debit).toDouble();
            row.credit = line.at(at.credit).toDouble();
        }
        row.documentId = line.at(at.documentId).toLongLong();
        rows.push_back(row);
    }
    return rows;
}

// The entries before the start summed into one leading row, each later one
// with the running balances. Nothing at all gives no rows.
std::vector<THistoryRow> history(const std::vector<THistoryRow>& entries, const QDate& start)
{
    double previousIn = 0, previousOut = 0, previousDebit = 0, previousCredit = 0;
    double quantityBalance = 0, valueBalance = 0, openingPrice = 0;
    // The opening price from exact sums, as the stock-card price is.
    TExactSum openingQuantity, openingValue;
    std::vector<THistoryRow> rows;
    auto appendPrevious = [&] {
        THistoryRow row;
        row.date = start;
        row.document = PROD_PREV_SITUATION;
        // The state before the range stands on the side it falls.
        row.in = previousIn >= previousOut ? previousIn - previousOut : 0;
        row.out = previousIn >= previousOut ? 0 : previousOut - previousIn;
        row.quantityBalance = quantityBalance;
        row.price = openingPrice;
        row.debit = previousDebit >= previousCredit ? previousDebit - previousCredit : 0;
        row.credit = previousDebit >= previousCredit ? 0 : previousCredit - previousDebit;
        row.valueBalance = valueBalance;
        rows.push_back(row);
    };
    for (const THistoryRow& entry : entries) {
        if (entry.date < start) {
            previousIn += entry.in;
            previousOut += entry.out;
            previousDebit += entry.debit;
            previousCredit += entry.credit;
            quantityBalance = previousIn - previousOut;
            valueBalance = previousDebit - previousCredit;
            openingQuantity.add(entry.in);
            openingQuantity.subtract(entry.out);
            openingValue.add(entry.debit);
            openingValue.subtract(entry.credit);
            openingPrice = AveragePrice(openingValue, openingQuantity);
            continue;
        }
        if (rows.empty())
            appendPrevious();
        quantityBalance += entry.in - entry.out;
        valueBalance += entry.debit - entry.credit;
        THistoryRow row = entry;
        row.quantityBalance = quantityBalance;
        row.valueBalance = valueBalance;
        rows.push_back(row);
    }
    if (rows.empty() && !entries.empty())
        appendPrevious();
    return rows;
}

// Empties the open table and appends the rows; `values` adds the stock
// history's five value fields.
void show(tarvex::MemoryTable& table, const std::vector<THistoryRow>& rows, const QString& dateField, bool values)
{
    TControlsOff off(table);
    table.emptyDataSet();
    for (const THistoryRow& row : rows) {
        table.append();
        table.fieldByName(dateField).setValue(row.date);
        table.fieldByName(QStringLiteral("document")).setValue(row.document);
        table.fieldByName(QStringLiteral("partner")).setValue(row.partner);
        table.fieldByName(QStringLiteral("amountin")).setValue(row.in);
        table.fieldByName(QStringLiteral("amountout")).setValue(row.out);
        table.fieldByName(QStringLiteral("amountbalance")).setValue(row.quantityBalance);
        if (values) {
            table.fieldByName(QStringLiteral("price")).setValue(row.price);
            table.fieldByName(QStringLiteral("debit")).setValue(row.debit);
            table.fieldByName(QStringLiteral("credit")).setValue(row.credit);
            table.fieldByName(QStringLiteral("balance")).setValue(row.valueBalance);
        }
        table.fieldByName(QStringLiteral("documentid")).setValue(row.documentId);
        table.post();
    }
    table.first();
}

void addHeadFields(tarvex::MemoryTable& table, const QString& dateField)
{
    using tarvex::FieldType;
    table.addField(dateField, FieldType::Date).setDisplayLabel(QStringLiteral("Datum"));
    table.addField(QStringLiteral("document"), FieldType::String, 50).setDisplayLabel(QStringLiteral("Dokument"));
    table.addField(QStringLiteral("partner"), FieldType::String, 100).setDisplayLabel(QStringLiteral("Partner"));
    AddQuantityInOutFields(table);
}

} // namespace

TWareHistoryTotals WareHistoryTotals(const std::vector<THistoryRow>& rows)
{
    TWareHistoryTotals totals;
    for (const THistoryRow& row : rows) {
        totals.amountIn += row.in;
        totals.amountOut += row.out;
    }
    if (!rows.empty())
        totals.balance = rows.back().quantityBalance;
    return totals;
}

void DefineWareHistoryFields(tarvex::MemoryTable& table)
{
    addHeadFields(table, QStringLiteral("documentdate"));
    table.addField(QStringLiteral("documentid"), tarvex::FieldType::LargeInt).setVisible(false);
}

std::vector<THistoryRow> ComputeWareHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId,
                                            const QString& fromText, const QString& toText)
{
    const QDate start = rangeStart(fromText);
    const tarvex::QueryRows lines = tarvex::QueryDataSet::readRows(db, kWareSql, {productId, toText, warehouseId});
    return history(entries(lines, {0, 1, 2, 4, 5, 6, -1, -1, -1, 3}), start);
}

TWareHistoryTotals ShowWareHistory(tarvex::MemoryTable& table, const std::vector<THistoryRow>& rows)
{
    show(table, rows, QStringLiteral("documentdate"), false);
    return WareHistoryTotals(rows);
}

TWareHistoryTotals FillWareHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId,
                                   qint64 warehouseId, const QString& fromText, const QString& toText)
{
    return ShowWareHistory(table, ComputeWareHistory(db, productId, warehouseId, fromText, toText));
}

void DefineStockHistoryFields(tarvex::MemoryTable& table)
{
    addHeadFields(table, QStringLiteral("date"));
    AddNumberField(table, QStringLiteral("price"), QStringLiteral("Cena"), QStringLiteral("#,##0.00##"));
    AddNumberField(table, QStringLiteral("debit"), QStringLiteral("Duguje"), kMoneyFormat);
    AddNumberField(table, QStringLiteral("credit"), QStringLiteral("Potražuje"), kMoneyFormat);
    AddNumberField(table, QStringLiteral("balance"), QStringLiteral("Saldo"), kMoneyFormat);
    table.addField(QStringLiteral("documentid"), tarvex::FieldType::LargeInt).setVisible(false);
}

std::vector<THistoryRow> ComputeStockHistory(QSqlDatabase db, qint64 productId, qint64 warehouseId,
                                             const QString& fromText, const QString& toText)
{
    const QDate start = rangeStart(fromText);
    const tarvex::QueryRows lines =
        tarvex::QueryDataSet::readRows(db, kCardSql, {productId, toText, warehouseId, warehouseId});
    const QSqlRecord& record = lines.record;
    const auto at = [&record](const char* name) { return record.indexOf(QString::fromLatin1(name)); };
    return history(entries(lines, {at("documentdate"), at("documenttype"), at("number"), at("Partner"),
                                   at("inquantity"), at("outquantity"), at("price"), at("debit"), at("credit"),
                                   at("documentid")}),
                   start);
}

void ShowStockHistory(tarvex::MemoryTable& table, const std::vector<THistoryRow>& rows)
{
    show(table, rows, QStringLiteral("date"), true);
}

void FillStockHistory(QSqlDatabase db, tarvex::MemoryTable& table, qint64 productId, qint64 warehouseId,
                      const QString& fromText, const QString& toText)
{
    ShowStockHistory(table, ComputeStockHistory(db, productId, warehouseId, fromText, toText));
}

double CurrentStockCardPrice(QSqlDatabase db, qint64 productId, qint64 warehouseId, const QString& toText)
{
    QSqlQuery query = tarvex::selectSql(db, kPriceSql, {productId, warehouseId, toText});
    if (!query.next())
        return 0;
    return AveragePrice(TExactSum::of(query.value(1)), TExactSum::of(query.value(0)));
}

} // namespace products
