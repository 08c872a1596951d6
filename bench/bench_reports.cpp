// bench_reports: the stock reports on the large demo shop as the windows
// compute them, each against one SQL statement written for the same table
// and read to the last value in the same run, and the client's peak memory.
//
//   TARVEX_BENCH_SOCKET, TARVEX_BENCH_USER, TARVEX_BENCH_DATABASE: the demo
//   database (tarvex-demogen, large scale).
//   bench_reports [REPORT...]: only these (overview, turnover, quantities,
//   stockprice); each runs in a process of its own so its peak is its own.
//
// TARVEX_BENCH_PREFIX is put before every figure's name ("huge.").
// Each report runs three times (TARVEX_BENCH_RUNS) after its reference
// statement; the best times count. Prints BENCH report.<name>.ms, report.<name>.reference_ms,
// report.<name>.ratio, report.<name>.rows and report.<name>.peak_mb.
// TARVEX_BENCH_REFERENCE=0 leaves the reference statement out (on the huge
// shop it takes minutes): only the report's own figures are printed.

#include "BenchMemory.h"
#include "Connection.h"
#include "Inventoryquantityunit.h"
#include "Inventorystockpriceunit.h"
#include "MemoryTable.h"
#include "QueryDataSet.h"
#include "Stocksoverviewdata.h"
#include "Turnoverallwarehousesunit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>
#include <functional>

using namespace products;

namespace {

const QStringList kReports = {QStringLiteral("overview"), QStringLiteral("turnover"), QStringLiteral("quantities"),
                              QStringLiteral("stockprice")};

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Every value of the statement read, as a client showing it would.
double referenceMs(tarvex::Connection& connection, const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query = connection.select(sql);
    const int columns = query.record().count();
    qint64 sink = 0;
    *rows = 0;
    while (query.next()) {
        ++*rows;
        for (int c = 0; c < columns; ++c)
            sink += query.value(c).isNull() ? 0 : 1;
    }
    std::fprintf(stderr, "  (reference read %lld values)\n", static_cast<long long>(sink));
    return msSince(timer);
}

QString quoted(const QDate& date)
{
    return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

// The overview in one statement: stock per column, sales of the period and
// of the last seven days, the latest supply date.
QString overviewReference(const QDate& from, const QDate& to)
{
    QString columns;
    const QList<QPair<int, QString>> stock = {{1, "2"}, {2, "4"}, {3, "3"}, {4, "7"},  {5, "10"},
                                              {6, "6"}, {7, "5,11"}, {8, "15"}, {9, "19"}};
    for (const auto& column : stock)
        columns += QStringLiteral("SUM(IF(pw.amount > 0 AND pw.warehouseid IN (%1), pw.amount, 0)) AS mp%2, ")
                       .arg(column.second)
                       .arg(column.first);
    return QStringLiteral(
               "SELECT p.productid, p.code, p.name, SUM(IF(pw.orderedamount > 0, pw.orderedamount, 0)), %1"
               "SUM(IF(pw.amount > 0 AND pw.warehouseid IN (1,20,23), pw.amount, 0)) AS vp, "
               "SUM(pw.reservedamount + pw.reversedamount), MAX(s.sale), MAX(s7.sale), MAX(ls.lastdate), "
               "p.supplyprice, p.recommendedprice * (1 + t.value / 100), pd.webprice * (1 + t.value / 100), "
               "pd.b2bprice FROM product AS p JOIN productwarehouse AS pw ON pw.productid = p.productid "
               "LEFT JOIN productdetail AS pd ON pd.productid = p.productid LEFT JOIN tax AS t ON t.taxid = p.taxid "
               "LEFT JOIN (SELECT di.productid, SUM(di.quantity) AS sale FROM documentitem AS di JOIN document AS d "
               "ON d.documentid = di.documentid WHERE d.documentdate BETWEEN %2 AND %3 AND d.documenttype IN "
               "('R','M') GROUP BY di.productid) AS s ON s.productid = p.productid "
               "LEFT JOIN (SELECT di.productid, SUM(di.quantity) AS sale FROM documentitem AS di JOIN document AS d "
               "ON d.documentid = di.documentid WHERE d.documentdate BETWEEN %4 AND %3 AND d.documenttype IN "
               "('R','M') GROUP BY di.productid) AS s7 ON s7.productid = p.productid "
               "LEFT JOIN (SELECT di.productid, MAX(d.documentdate) AS lastdate FROM documentitem AS di JOIN "
               "document AS d ON d.documentid = di.documentid WHERE ((d.documenttype = 'K' AND di.quantity > 0) OR "
               "(d.documenttype = 'W' AND di.quantity < 0)) AND d.docreturn = 'n' GROUP BY di.productid) AS ls ON "
               "ls.productid = p.productid WHERE pw.amount > 0 AND p.active != 'n' AND p.type != 'u' "
               "GROUP BY p.productid ORDER BY p.name, p.code")
        .arg(columns, quoted(from), quoted(to), quoted(to.addDays(-7)));
}

QString turnoverReference(const QDate& from, const QDate& to)
{
    const QString in = QStringLiteral("(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid))");
    const QString out = QStringLiteral("(d.direction = -1 AND d.warehouseid = w.warehouseid)");
    return QStringLiteral(
               "SELECT w.name, p.name, p.code, p.unitname, SUM(IF(d.documentdate < %1, IF(%2, di.quantity, 0) - "
               "IF(%3, di.quantity, 0), 0)), SUM(IF(d.documentdate >= %1 AND %2, di.quantity, 0)), "
               "SUM(IF(d.documentdate >= %1 AND %3, di.quantity, 0)), di.productid, w.warehouseid FROM documentitem "
               "AS di JOIN document AS d ON di.documentid = d.documentid JOIN product AS p ON p.productid = "
               "di.productid JOIN warehouse AS w ON w.warehouseid IN (d.warehouseid, d.inwarehouseid) WHERE "
               "p.type != 'u' AND d.status = 'p' AND d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') "
               "AND d.documentdate <= %4 GROUP BY w.warehouseid, di.productid ORDER BY w.name, p.name")
        .arg(quoted(from), in, out, quoted(to));
}

QString cardsReference(const QString& productsWhere, const QString& cardsWhere, const QDate& to)
{
    return QStringLiteral(
               "SELECT p.name, p.code, p.unitname, c.amountin, c.amountout, c.amountin - c.amountout, p.productid "
               "FROM (SELECT productid FROM productwarehouse %1 GROUP BY productid) AS l JOIN product AS p ON "
               "p.productid = l.productid JOIN (SELECT dfi.productid, SUM(dfi.inquantity) AS amountin, "
               "SUM(dfi.outquantity) AS amountout, SUM(dfi.debit) - SUM(dfi.credit) AS value FROM docfinitem AS dfi "
               "JOIN document AS d ON d.documentid = dfi.documentid WHERE %2 d.documentdate <= %3 GROUP BY "
               "dfi.productid) AS c ON c.productid = p.productid WHERE ROUND(c.amountin - c.amountout, 6) != 0 "
               "ORDER BY p.name")
        .arg(productsWhere, cardsWhere, quoted(to));
}

// Where the time goes: each step's start on stderr.
TProgress stepTimes(const QElapsedTimer& timer)
{
    return [&timer, last = QString()](const QString& step, int rows) mutable {
        if (step == last)
            return;
        last = step;
        std::fprintf(stderr, "  %8.0f ms %s (%d)\n", msSince(timer), qPrintable(step), rows);
    };
}

void print(const QString& name, double ms, double reference, int rows, int referenceRows)
{
    const QByteArray n = qgetenv("TARVEX_BENCH_PREFIX") + "report." + name.toUtf8();
    std::printf("BENCH %s.ms %.0f ms\n", n.constData(), ms);
    if (reference > 0) {
        std::printf("BENCH %s.reference_ms %.0f ms\n", n.constData(), reference);
        std::printf("BENCH %s.ratio %.2f x\n", n.constData(), ms / reference);
    }
    std::printf("BENCH %s.rows %d rows\n", n.constData(), rows);
    if (reference > 0)
        std::printf("BENCH %s.reference_rows %d rows\n", n.constData(), referenceRows);
    std::printf("BENCH %s.peak_mb %.0f MB\n", n.constData(), tarvex::bench::peakMb());
    std::fflush(stdout);
}

int runReport(const QString& name, tarvex::Connection& connection)
{
    QSqlDatabase db = connection.database();
    QSqlQuery last = connection.select(QStringLiteral("SELECT MAX(documentdate) FROM document"));
    last.next();
    const QDate lastDay = last.value(0).toDate();
    // The tables the reports read, once into the server's cache for both.
    for (const char* table : {"documentitem", "docfinitem", "document", "productwarehouse", "product"})
        connection.select(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));

    // Each report and its reference run alternately; the best of the runs
    // counts for both (TARVEX_BENCH_RUNS, default 3), the machine being
    // shared with other work.
    int referenceRows = 0;
    std::function<double()> reference;
    std::function<double(tarvex::MemoryTable&, const TProgress&)> report;
    std::function<void(tarvex::MemoryTable&)> define;
    if (name == QLatin1String("overview")) {
        // "VP ili MP", active products, the last month.
        TStocksOverviewFilter filter;
        filter.fromText = lastDay.addMonths(-1).toString(Qt::ISODate);
        filter.toText = lastDay.toString(Qt::ISODate);
        reference = [&] { return referenceMs(connection, overviewReference(lastDay.addMonths(-1), lastDay), &referenceRows); };
        define = DefineStocksOverviewFields;
        report = [=](tarvex::MemoryTable& table, const TProgress& progress) {
            FillStocksOverview(db, table, filter, QDateTime(lastDay, QTime(12, 0)), progress);
            return 0.0;
        };
    } else if (name == QLatin1String("turnover")) {
        // All warehouses, services left out, one year.
        TTurnoverRequest request;
        request.fromText = lastDay.addYears(-1).addDays(1).toString(Qt::ISODate);
        request.toText = lastDay.toString(Qt::ISODate);
        reference = [&] {
            return referenceMs(connection, turnoverReference(lastDay.addYears(-1).addDays(1), lastDay), &referenceRows);
        };
        define = DefineTurnoverFields;
        report = [=](tarvex::MemoryTable& table, const TProgress& progress) {
            FillTurnover(db, table, request, progress);
            return 0.0;
        };
    } else if (name == QLatin1String("quantities")) {
        // All warehouses, up to the last day: the list opened, then counted.
        reference = [&] { return referenceMs(connection, cardsReference(QString(), QString(), lastDay), &referenceRows); };
        define = DefineInventoryQuantityFields;
        report = [&](tarvex::MemoryTable& table, const TProgress&) {
            const TQuantityScope scope = QuantityScope(db, 0);
            tarvex::QueryDataSet products(&connection, QString());
            SetInventoryQuantityList(products, scope);
            products.open();
            FillInventoryQuantities(db, scope, products, table, lastDay.toString(Qt::ISODate));
            return 0.0;
        };
    } else if (name == QLatin1String("stockprice")) {
        // The warehouse with the most stock rows, up to the last day.
        QSqlQuery busiest = connection.select(QStringLiteral(
            "SELECT warehouseid FROM productwarehouse GROUP BY warehouseid ORDER BY COUNT(*) DESC LIMIT 1"));
        busiest.next();
        const qint32 warehouseId = busiest.value(0).toInt();
        reference = [&, warehouseId] {
            return referenceMs(connection,
                               cardsReference(QStringLiteral("WHERE warehouseid = %1").arg(warehouseId),
                                              QStringLiteral("dfi.warehouseid = %1 AND").arg(warehouseId), lastDay),
                               &referenceRows);
        };
        define = DefineInventoryStockPriceFields;
        report = [&, warehouseId](tarvex::MemoryTable& table, const TProgress&) {
            tarvex::QueryDataSet products(&connection, kStockPriceProductsSql);
            products.setParam(QStringLiteral("IDWarehouse"), warehouseId);
            products.open();
            FillInventoryStockPrice(db, warehouseId, products, table, lastDay.toString(Qt::ISODate));
            return 0.0;
        };
    } else {
        std::fprintf(stderr, "bench_reports: no report \"%s\" (%s)\n", qPrintable(name),
                     qPrintable(kReports.join(QStringLiteral(", "))));
        return 2;
    }
    const int runs = qMax(1, qEnvironmentVariableIntValue("TARVEX_BENCH_RUNS") ? qEnvironmentVariableIntValue("TARVEX_BENCH_RUNS") : 3);
    double best = 0;
    double bestReference = 0;
    int rows = 0;
    const bool withReference = qEnvironmentVariable("TARVEX_BENCH_REFERENCE") != QLatin1String("0");
    for (int run = 0; run < runs; ++run) {
        const double referenceTime = withReference ? reference() : 0.0;
        tarvex::MemoryTable table;
        define(table);
        table.createDataSet();
        QElapsedTimer timer;
        timer.start();
        report(table, stepTimes(timer));
        const double time = msSince(timer);
        rows = table.recordCount();
        std::fprintf(stderr, "  run %d: %.0f ms, reference %.0f ms\n", run + 1, time, referenceTime);
        best = run == 0 ? time : qMin(best, time);
        bestReference = run == 0 ? referenceTime : qMin(bestReference, referenceTime);
    }
    print(name, best, bestReference, rows, referenceRows);
    if (name == QLatin1String("overview")) {
        // The figures the overview is held to, by their own names.
        const QByteArray n = qgetenv("TARVEX_BENCH_PREFIX") + "overview";
        std::printf("BENCH %s.seconds %.2f s\n", n.constData(), best / 1000.0);
        std::printf("BENCH %s.peak_mb %.0f MB\n", n.constData(), tarvex::bench::peakMb());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString socket = qEnvironmentVariable("TARVEX_BENCH_SOCKET");
    const QString database = qEnvironmentVariable("TARVEX_BENCH_DATABASE");
    if (socket.isEmpty() || database.isEmpty()) {
        std::printf("bench_reports: TARVEX_BENCH_SOCKET and TARVEX_BENCH_DATABASE are not set; nothing measured\n");
        return 0;
    }
    QStringList asked = app.arguments().mid(1);
    if (asked.size() == 1) {
        tarvex::ConnectionSettings settings;
        settings.socket = socket;
        settings.user = qEnvironmentVariable("TARVEX_BENCH_USER", qEnvironmentVariable("USER", QStringLiteral("root")));
        settings.database = database;
        tarvex::Connection connection(settings);
        return runReport(asked.first(), connection);
    }
    if (asked.isEmpty())
        asked = kReports;
    int status = 0;
    for (const QString& report : asked) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(app.applicationFilePath(), {report});
        child.waitForFinished(-1);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            status = 1;
    }
    return status;
}
