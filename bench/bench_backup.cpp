// Backup and restore of the demo shops with tarvex-server's own code, each
// against a plain mariadb-dump (and the mariadb client reading it back) of
// the same database in the same run:
//
//   BENCH backup.small.seconds, backup.large.seconds, backup.large.mb,
//   restore.large.seconds, the plain dump's and restore's figures and the
//   ratios of ours to them.
//
// TARVEX_BENCH_SOCKET, TARVEX_BENCH_USER: the server; TARVEX_BENCH_DATABASE:
// the large shop; TARVEX_BENCH_SMALL_DATABASE: the small one (optional).
// Restores go into databases of their own, dropped again.

#include "ClientTools.h"
#include "DatabaseRestore.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace tarvex;

namespace {

void print(const char* name, double value, const char* unit)
{
    std::printf("BENCH %s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

double megabytes(const QString& file) { return double(QFileInfo(file).size()) / (1024.0 * 1024.0); }

template <class F>
double seconds(F&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

// mariadb-dump as a person would run it, into a plain file.
void plainDump(const ConnectionSettings& settings, const QString& file)
{
    ClientOptions options(settings);
    QProcess dump;
    dump.setStandardOutputFile(file);
    dump.start(clientProgram(QStringLiteral("mariadb-dump")),
               options.arguments() << QStringLiteral("--single-transaction") << QStringLiteral("--routines")
                                   << QStringLiteral("--triggers") << settings.database);
    if (!dump.waitForFinished(-1) || dump.exitCode() != 0)
        throw InternalError(QStringLiteral("mariadb-dump failed: ") + QString::fromLocal8Bit(dump.readAllStandardError()));
}

// The mariadb client reading a plain dump into a new database.
void plainRestore(const ConnectionSettings& settings, const QString& file)
{
    ClientOptions options(settings);
    QProcess client;
    client.setStandardInputFile(file);
    client.start(clientProgram(QStringLiteral("mariadb")), options.arguments() << settings.database);
    if (!client.waitForFinished(-1) || client.exitCode() != 0)
        throw InternalError(QStringLiteral("mariadb failed: ") + QString::fromLocal8Bit(client.readAllStandardError()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ConnectionSettings server;
    server.socket = qEnvironmentVariable("TARVEX_BENCH_SOCKET");
    server.user = qEnvironmentVariable("TARVEX_BENCH_USER");
    const QString large = qEnvironmentVariable("TARVEX_BENCH_DATABASE", QStringLiteral("tarvex_large"));
    const QString small = qEnvironmentVariable("TARVEX_BENCH_SMALL_DATABASE");
    QTemporaryDir dir;
    try {
        ConnectionSettings settings = server;
        if (!small.isEmpty()) {
            settings.database = small;
            const QString file = dir.filePath(QStringLiteral("small.tvxb"));
            print("backup.small.seconds", seconds([&] { DatabaseBackup(settings).backup(file); }), "s");
        }

        settings.database = large;
        const QString ours = dir.filePath(QStringLiteral("large.tvxb"));
        const QString plain = dir.filePath(QStringLiteral("large.sql"));
        // One dump first, unmeasured: both measured ones read a warm cache.
        plainDump(settings, plain);
        const double backupSeconds = seconds([&] { DatabaseBackup(settings).backup(ours); });
        const double plainSeconds = seconds([&] { plainDump(settings, plain); });
        print("backup.large.seconds", backupSeconds, "s");
        print("backup.large.mb", megabytes(ours), "MB");
        print("backup.large.plain_dump.seconds", plainSeconds, "s");
        print("backup.large.plain_dump.mb", megabytes(plain), "MB");
        print("backup.large.ratio", backupSeconds / plainSeconds, "x");
        print("backup.large.mb.ratio", megabytes(ours) / megabytes(plain), "x");

        ConnectionSettings restored = server;
        restored.database = large + QStringLiteral("_bench_restore");
        ConnectionSettings plainRestored = server;
        plainRestored.database = large + QStringLiteral("_bench_plain");
        QSqlDatabase admin = openConnection(server, QStringLiteral("bench-admin"));
        const auto dropAll = [&] {
            for (const QString& name : {restored.database, restored.database + QStringLiteral("_before_restore"),
                                        restored.database + QStringLiteral("_restoring"), plainRestored.database})
                dropDatabase(admin, name);
        };
        dropAll();
        const double restoreSeconds = seconds([&] { DatabaseRestore(restored).restore(ours); });
        createDatabase(admin, plainRestored.database);
        const double plainRestoreSeconds = seconds([&] { plainRestore(plainRestored, plain); });
        dropAll();
        print("restore.large.seconds", restoreSeconds, "s");
        print("restore.large.plain.seconds", plainRestoreSeconds, "s");
        print("restore.large.ratio", restoreSeconds / plainRestoreSeconds, "x");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_backup: %s\n", e.what());
        return 1;
    }
    return 0;
}
