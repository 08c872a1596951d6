// bench_import: the catalogue of the large demo shop exported to .xlsx,
// then, each in a process of its own so that its peak memory is its own:
//  - the dry run of that file on the shop (every row matched, nothing to change);
//  - the import of it into a fresh database with the shop's taxes and
//    currencies only (every row a new product, every category made).
//
//   TARVEX_BENCH_SOCKET, TARVEX_BENCH_USER, TARVEX_BENCH_DATABASE: the demo
//   database (tarvex-demogen, large scale).
//
// Prints BENCH import.100k.export_seconds, import.100k.dryrun_seconds,
// import.100k.dryrun_peak_mb, import.100k.seconds and import.100k.peak_mb.

#include "BenchMemory.h"
#include "Connection.h"
#include "Productexport.h"
#include "Productimport.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>
#include <memory>

using namespace products;

namespace {

// Processor time of this process so far: on a machine others share, the
// wall-clock time says as much about them as about the import.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

tarvex::ConnectionSettings settingsFor(const QString& database)
{
    tarvex::ConnectionSettings settings;
    settings.socket = qEnvironmentVariable("TARVEX_BENCH_SOCKET");
    settings.user = qEnvironmentVariable("TARVEX_BENCH_USER", qEnvironmentVariable("USER", QStringLiteral("root")));
    settings.database = database;
    return settings;
}

ImportSettings fileSettings(const QString& path)
{
    ImportSettings settings;
    settings.path = path;
    settings.format = ImportFile::guess(path);
    settings.mapping = guessImportMapping(importPreview(path, settings.format, 1).value(0));
    settings.createCategories = true;
    return settings;
}

// Each step's start on stderr, to see where the time goes.
TProgress stepTimes(const QElapsedTimer& timer)
{
    auto last = std::make_shared<QString>();
    return [&timer, last](const QString& step, int) {
        if (step == *last)
            return;
        *last = step;
        std::fprintf(stderr, "  %.2f s (processor %.2f s): %s\n", double(timer.nsecsElapsed()) / 1e9, cpuSeconds(),
                     qPrintable(step));
    };
}

void describe(const ImportOutcome& outcome)
{
    for (const ImportField field : importFields()) {
        if (outcome.changedByField[int(field)])
            std::fprintf(stderr, "  changed %s: %d\n", qPrintable(importFieldCaption(field)),
                         outcome.changedByField[int(field)]);
    }
    for (int i = 0; i < outcome.refusals.size() && i < 5; ++i)
        std::fprintf(stderr, "  refused row %d %s: %s\n", outcome.refusals[i].row,
                     qPrintable(outcome.refusals[i].field), qPrintable(outcome.refusals[i].message));
}

TProductOptions options()
{
    TProductOptions o;
    o.UniqueProductCode = true; // the stored default
    return o;
}

int dryRun(const QString& path, const QString& database)
{
    tarvex::Connection connection(settingsFor(database));
    QElapsedTimer timer;
    timer.start();
    const ImportOutcome outcome = ProductImport(connection, options()).check(fileSettings(path), stepTimes(timer));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::fprintf(stderr, "  dry run: %d rows, %d new, %d changed, %d unchanged, %lld refusals\n", outcome.rows,
                 outcome.added, outcome.changed, outcome.unchanged, static_cast<long long>(outcome.refusals.size()));
    describe(outcome);
    std::printf("BENCH import.100k.dryrun_seconds %.2f s\n", seconds);
    std::printf("BENCH import.100k.dryrun_cpu_seconds %.2f s\n", cpuSeconds());
    std::printf("BENCH import.100k.dryrun_peak_mb %.0f MB\n", tarvex::bench::peakMb());
    return outcome.refusals.isEmpty() && outcome.changed == 0 ? 0 : 1;
}

int import(const QString& path, const QString& source)
{
    const QString target = QStringLiteral("tarvex_import_bench");
    {
        tarvex::Connection server(settingsFor(QString()));
        QSqlDatabase db = server.database();
        tarvex::dropDatabase(db, target);
        tarvex::createDatabase(db, target);
    }
    tarvex::Connection connection(settingsFor(target));
    QSqlDatabase db = connection.database();
    tarvex::installSchema(db);
    for (const char* table : {"tax", "currency"})
        connection.execute(QStringLiteral("INSERT INTO %1 SELECT * FROM %2.%1").arg(QLatin1String(table), tarvex::quoteIdentifier(source)));
    QElapsedTimer timer;
    timer.start();
    const ImportOutcome outcome = ProductImport(connection, options()).run(fileSettings(path), stepTimes(timer));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::fprintf(stderr, "  import: %d rows, %d new, %lld categories made, %lld refusals, written %d\n", outcome.rows,
                 outcome.added, static_cast<long long>(outcome.newCategories.size()),
                 static_cast<long long>(outcome.refusals.size()), int(outcome.written));
    describe(outcome);
    std::printf("BENCH import.100k.seconds %.2f s\n", seconds);
    std::printf("BENCH import.100k.cpu_seconds %.2f s\n", cpuSeconds());
    std::printf("BENCH import.100k.peak_mb %.0f MB\n", tarvex::bench::peakMb());
    {
        tarvex::Connection server(settingsFor(QString()));
        QSqlDatabase s = server.database();
        tarvex::dropDatabase(s, target);
    }
    return outcome.written ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString database = qEnvironmentVariable("TARVEX_BENCH_DATABASE");
    if (qEnvironmentVariableIsEmpty("TARVEX_BENCH_SOCKET") || database.isEmpty()) {
        std::printf("bench_import: TARVEX_BENCH_SOCKET and TARVEX_BENCH_DATABASE are not set; nothing measured\n");
        return 0;
    }
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"dryrun")
        return dryRun(args[2], database);
    if (args.size() == 3 && args[1] == u"import")
        return import(args[2], database);

    // bench_import export PATH: the file alone, kept for a look.
    const bool exportOnly = args.size() == 3 && args[1] == u"export";
    QTemporaryDir dir;
    const QString path = exportOnly ? args[2] : dir.filePath(QStringLiteral("katalog.xlsx"));
    {
        tarvex::Connection connection(settingsFor(database));
        QElapsedTimer timer;
        timer.start();
        const int rows = exportProducts(connection, path);
        std::fprintf(stderr, "  export: %d products, %lld bytes\n", rows, static_cast<long long>(QFile(path).size()));
        std::printf("BENCH import.100k.export_seconds %.2f s\n", double(timer.nsecsElapsed()) / 1e9);
    }
    std::fflush(stdout);
    if (exportOnly)
        return 0;
    int status = 0;
    for (const char* step : {"dryrun", "import"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(app.applicationFilePath(), {QString::fromLatin1(step), path});
        child.waitForFinished(-1);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            status = 1;
    }
    return status;
}
