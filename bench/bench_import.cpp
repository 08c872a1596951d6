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

using namespace products;

namespace {

double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
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
    const ImportOutcome outcome = ProductImport(connection, options()).check(fileSettings(path));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::fprintf(stderr, "  dry run: %d rows, %d new, %d changed, %d unchanged, %lld refusals\n", outcome.rows,
                 outcome.added, outcome.changed, outcome.unchanged, static_cast<long long>(outcome.refusals.size()));
    std::printf("BENCH import.100k.dryrun_seconds %.2f s\n", seconds);
    std::printf("BENCH import.100k.dryrun_peak_mb %.0f MB\n", peakMb());
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
    const ImportOutcome outcome = ProductImport(connection, options()).run(fileSettings(path));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::fprintf(stderr, "  import: %d rows, %d new, %lld categories made, %lld refusals, written %d\n", outcome.rows,
                 outcome.added, static_cast<long long>(outcome.newCategories.size()),
                 static_cast<long long>(outcome.refusals.size()), int(outcome.written));
    std::printf("BENCH import.100k.seconds %.2f s\n", seconds);
    std::printf("BENCH import.100k.peak_mb %.0f MB\n", peakMb());
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

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("katalog.xlsx"));
    {
        tarvex::Connection connection(settingsFor(database));
        QElapsedTimer timer;
        timer.start();
        const int rows = exportProducts(connection, path);
        std::fprintf(stderr, "  export: %d products, %lld bytes\n", rows, static_cast<long long>(QFile(path).size()));
        std::printf("BENCH import.100k.export_seconds %.2f s\n", double(timer.nsecsElapsed()) / 1e9);
    }
    std::fflush(stdout);
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
