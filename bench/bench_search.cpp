// bench_search: the product search panel on the large demo shop, from the
// find click to the sorted list, against a plain fetch of the same statement
// in the same run; and the look-up of one product by its barcode.
//
//   TARVEX_BENCH_SOCKET, TARVEX_BENCH_USER, TARVEX_BENCH_DATABASE: the demo
//   database (tarvex-demogen, large scale).
//
// Prints BENCH search.<name>.ms and search.<name>.ratio for a name-prefix
// search and a search with no criteria, and search.barcode.median_ms.
//   bench_search [list_all] [name_prefix] [all] [barcode]: only these;
//   list_all (not among the defaults) prints list_all.first_rows_ms,
//   .sort_ms, .last_row_ms and .peak_mb for the whole catalogue.
//   TARVEX_BENCH_PREFIX: put before every figure's name ("huge.").

#include "BenchMemory.h"
#include "Connection.h"
#include "Productdmunit.h"
#include "Productsearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace products;

namespace {

QByteArray prefix()
{
    return qgetenv("TARVEX_BENCH_PREFIX");
}

double plainFetch(tarvex::Connection& connection, const QString& sql, const QVariantList& values)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query = connection.select(sql, values);
    const int columns = query.record().count();
    qint64 sink = 0;
    while (query.next())
        for (int c = 0; c < columns; ++c)
            sink += query.value(c).isNull() ? 0 : 1;
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::fprintf(stderr, "  (plain fetch read %lld values)\n", static_cast<long long>(sink));
    return ms;
}

// The find button's work: the statement, then the list opened and sorted.
double find(TProductDM& dm, const QMap<QString, QString>& criteria, QString* sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    qint32 chosen = 0;
    const ProductSearchResult result = ProductSearch(dm).parse(criteria, chosen);
    applyWarehouseCaptions(dm, result);
    dm.ProductZQ->close();
    // As the search panel: the order first, so a big list comes in it.
    dm.ProductZQ->setSortedFields(QStringLiteral("name"));
    applySearch(*dm.ProductZQ, result);
    dm.ProductZQ->open();
    dm.ProductZQ->first();
    *sql = result.sql;
    *rows = dm.ProductZQ->recordCount();
    return double(timer.nsecsElapsed()) / 1e6;
}

void compare(TProductDM& dm, tarvex::Connection& connection, const char* name, const QMap<QString, QString>& criteria)
{
    QString sql;
    int rows = 0;
    find(dm, criteria, &sql, &rows); // warm the server's caches for both
    dm.ProductZQ->close();
    QVariantList values;
    const QString bound = dm.ProductZQ->boundSql(sql, values);
    const double raw = plainFetch(connection, bound, values);
    const double ours = find(dm, criteria, &sql, &rows);
    dm.ProductZQ->close();
    std::printf("BENCH %ssearch.%s.rows %d rows\n", prefix().constData(), name, rows);
    std::printf("BENCH %ssearch.%s.ms %.1f ms\n", prefix().constData(), name, ours);
    std::printf("BENCH %ssearch.%s.plain_ms %.1f ms\n", prefix().constData(), name, raw);
    std::printf("BENCH %ssearch.%s.ratio %.2f x\n", prefix().constData(), name, ours / raw);
    std::fflush(stdout);
}

// "Pronađi" with no criteria as the list shows it: the time until its first
// rows can be shown, a sort by another column (a click on its title) and
// the last row (Ctrl+End), with the peak memory. Run first in its process,
// so the peak is the list's.
void listAll(TProductDM& dm)
{
    QString sql;
    int rows = 0;
    const double firstRows = find(dm, {}, &sql, &rows);
    QElapsedTimer timer;
    timer.start();
    dm.ProductZQ->setSortedFields(QStringLiteral("price"));
    const double sort = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    dm.ProductZQ->last();
    dm.ProductZQ->fieldByName(QStringLiteral("name")).asString();  // its values read, as the grid shows them
    const double last = double(timer.nsecsElapsed()) / 1e6;
    std::printf("BENCH %slist_all.rows %d rows\n", prefix().constData(), rows);
    std::printf("BENCH %slist_all.first_rows_ms %.0f ms\n", prefix().constData(), firstRows);
    std::printf("BENCH %slist_all.sort_ms %.0f ms\n", prefix().constData(), sort);
    std::printf("BENCH %slist_all.last_row_ms %.0f ms\n", prefix().constData(), last);
    std::printf("BENCH %slist_all.peak_mb %.0f MB\n", prefix().constData(), tarvex::bench::peakMb());
    std::fflush(stdout);
    dm.ProductZQ->close();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString socket = qEnvironmentVariable("TARVEX_BENCH_SOCKET");
    const QString database = qEnvironmentVariable("TARVEX_BENCH_DATABASE");
    if (socket.isEmpty() || database.isEmpty()) {
        std::printf("bench_search: TARVEX_BENCH_SOCKET and TARVEX_BENCH_DATABASE are not set; nothing measured\n");
        return 0;
    }
    tarvex::ConnectionSettings settings;
    settings.socket = socket;
    settings.user = qEnvironmentVariable("TARVEX_BENCH_USER", qEnvironmentVariable("USER", QStringLiteral("root")));
    settings.database = database;
    tarvex::Connection connection(settings);
    QTemporaryDir dir;
    TProductDM dm;
    dm.setLocalSettings(dir.filePath(QStringLiteral("tarvex.ini")), dir.path());
    dm.SetZConnection(&connection);
    dm.DataModuleCreate();
    ProductDM = &dm;

    QStringList asked = app.arguments().mid(1);
    if (asked.isEmpty())
        asked = QStringList{QStringLiteral("name_prefix"), QStringLiteral("all"), QStringLiteral("barcode")};
    if (asked.contains(QStringLiteral("list_all")))
        listAll(dm);
    if (asked.contains(QStringLiteral("name_prefix")))
        compare(dm, connection, "name_prefix", {{QStringLiteral("name"), QStringLiteral("Ml")}});
    if (asked.contains(QStringLiteral("all")))
        compare(dm, connection, "all", {});
    if (!asked.contains(QStringLiteral("barcode"))) {
        ProductDM = nullptr;
        return 0;
    }

    // One product by barcode: the search with exact barcodes, 200 barcodes.
    dm.Options.SearchEqualCodeBarcode = true;
    QSqlQuery barcodes = connection.select(
        QStringLiteral("SELECT barcode FROM product WHERE barcode IS NOT NULL ORDER BY productid LIMIT 200"));
    QList<double> times;
    while (barcodes.next()) {
        QString sql;
        int rows = 0;
        times << find(dm, {{QStringLiteral("barcode"), barcodes.value(0).toString()}}, &sql, &rows);
        if (rows != 1)
            std::fprintf(stderr, "  barcode %s found %d rows\n", qPrintable(barcodes.value(0).toString()), rows);
    }
    std::sort(times.begin(), times.end());
    if (!times.isEmpty())
        std::printf("BENCH %ssearch.barcode.median_ms %.2f ms\n", prefix().constData(), times[times.size() / 2]);
    ProductDM = nullptr;
    return 0;
}
