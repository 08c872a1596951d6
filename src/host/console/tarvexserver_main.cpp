// tarvex-server: starts, stops and prepares a private MariaDB server folder,
// and backs up and restores a database.
//
//   tarvex-server start DIR [--fast] [--buffer-pool SIZE] [--tls] [--port P]
//                                      start (or reuse); prints the socket path;
//                                      --port also listens on 127.0.0.1:P, --tls
//                                      makes a CA and a server certificate in
//                                      DIR/tls, takes only encrypted TCP links
//                                      and prints the CA's path as a second line
//   tarvex-server stop DIR             stop the server running on DIR
//   tarvex-server status DIR           prints "running SOCKET" or "stopped"
//   tarvex-server createdb DIR NAME    create database NAME with the schema
//                                      (does nothing when it exists)
//   tarvex-server backup WHERE [FILE] [--database NAME]
//                                      a backup while others work; without
//                                      FILE into the backup folder, which then
//                                      keeps its daily, weekly and monthly copies
//   tarvex-server restore WHERE FILE [--database NAME]
//                                      the database as the backup holds it
//
// WHERE is a private server's folder (started for the job when it is not
// running; database "tarvex" unless named) or a settings file such as
// /etc/tarvex/backup.ini naming a shared server (BackupSettings.h).

#include "BackupFolder.h"
#include "BackupSettings.h"
#include "Connection.h"
#include "DatabaseRestore.h"
#include "PrivateServer.h"
#include "ServerCertificates.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace tarvex;

static int usage()
{
    std::fprintf(stderr, "usage: tarvex-server start DIR [--fast] [--buffer-pool SIZE] [--tls] [--port P] | stop DIR | status DIR | "
                         "createdb DIR NAME | backup DIR|SETTINGS.ini [FILE] [--database NAME] | "
                         "restore DIR|SETTINGS.ini FILE [--database NAME]\n");
    return 2;
}

// The value after an option, removed from the arguments with it.
static std::optional<QString> takeOption(QStringList& args, const QString& name)
{
    const int at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size())
        return std::nullopt;
    const QString value = args[at + 1];
    args.remove(at, 2);
    return value;
}

namespace {

// The server a backup or restore works on, and where backups go.
struct JobTarget {
    BackupSettings settings;
    std::unique_ptr<PrivateServer> server;  // a private server started for the job

    JobTarget() = default;
    JobTarget(JobTarget&&) = default;
    ~JobTarget()
    {
        if (server)
            server->stop();
    }
};

JobTarget jobTarget(const QString& where, const QString& database)
{
    JobTarget target;
    if (QFileInfo(where).isFile()) {
        target.settings = readBackupSettings(where);
        if (!database.isEmpty())
            target.settings.connection.database = database;
        return target;
    }
    auto server = std::make_unique<PrivateServer>(where);
    const bool started = server->start();
    target.settings.connection.socket = server->socketPath();
    target.settings.connection.user = server->userName();
    if (started)
        target.server = std::move(server);  // stopped again when the job is done
    target.settings.connection.database = database.isEmpty() ? QStringLiteral("tarvex") : database;
    target.settings.folder = BackupFolder::defaultDir();
    return target;
}

int backupCommand(const QStringList& args, const QString& database)
{
    JobTarget target = jobTarget(args[1], database);
    const BackupFolder folder(target.settings.folder, target.settings.connection.database);
    const bool scheduled = args.size() < 3;
    const QString file = scheduled ? folder.scheduledPath(QDateTime::currentDateTime()) : args[2];
    const BackupManifest manifest = DatabaseBackup(target.settings.connection).backup(file);
    QTextStream(stdout) << file << Qt::endl;
    std::fprintf(stderr, "tarvex-server: backed up %s (%lld tables, %.1f MB of SQL, %.1f MB file)\n",
                 qPrintable(manifest.database), static_cast<long long>(manifest.tables.size()),
                 double(manifest.dumpBytes) / 1e6, double(QFileInfo(file).size()) / 1e6);
    if (scheduled)
        for (const QString& removed : folder.prune(target.settings.keep))
            std::fprintf(stderr, "tarvex-server: removed %s\n", qPrintable(removed));
    return 0;
}

int restoreCommand(const QStringList& args, const QString& database)
{
    JobTarget target = jobTarget(args[1], database);
    DatabaseRestore restore(target.settings.connection);
    const BackupManifest manifest = restore.restore(args[2]);
    std::fprintf(stderr, "tarvex-server: restored %s from %s (made %s); the data it replaced is in database %s\n",
                 qPrintable(target.settings.connection.database), qPrintable(args[2]),
                 qPrintable(manifest.created.toString(QStringLiteral("dd.MM.yyyy HH:mm"))),
                 qPrintable(restore.asideDatabase()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString database = takeOption(args, QStringLiteral("--database")).value_or(QString());
    if (args.size() < 2)
        return usage();
    const QString command = args[0];
    PrivateServer::Options options;
    options.durable = !args.contains(QStringLiteral("--fast"));
    const int pool = args.indexOf(QStringLiteral("--buffer-pool"));
    if (pool >= 0) {
        if (pool + 1 >= args.size())
            return usage();
        options.bufferPool = args[pool + 1];
    }
    const int port = args.indexOf(QStringLiteral("--port"));
    if (port >= 0) {
        if (port + 1 >= args.size() || args[port + 1].toInt() <= 0)
            return usage();
        options.port = args[port + 1].toInt();
    }
    const bool tls = args.contains(QStringLiteral("--tls"));
    QTextStream out(stdout);
    try {
        if (command == QLatin1String("backup"))
            return backupCommand(args, database);
        if (command == QLatin1String("restore"))
            return args.size() >= 3 ? restoreCommand(args, database) : usage();
        ServerCertificates certificates(args[1] + QStringLiteral("/tls"));
        if (tls && command == QLatin1String("start")) {
            certificates.ensure({QStringLiteral("localhost"), QStringLiteral("127.0.0.1")});
            options.sslCa = certificates.caFile();
            options.sslCert = certificates.certFile();
            options.sslKey = certificates.keyFile();
        }
        PrivateServer server(args[1], options);
        if (command == QLatin1String("start")) {
            const bool started = server.start();
            out << server.socketPath() << Qt::endl;
            if (tls)
                out << certificates.caFile() << Qt::endl;
            std::fprintf(stderr, "%s\n", started ? "tarvex-server: started" : "tarvex-server: already running");
            return 0;
        }
        if (command == QLatin1String("stop")) {
            std::fprintf(stderr, "%s\n", server.stop() ? "tarvex-server: stopped" : "tarvex-server: was not running");
            return 0;
        }
        if (command == QLatin1String("status")) {
            if (server.isRunning())
                out << "running " << server.socketPath() << Qt::endl;
            else
                out << "stopped" << Qt::endl;
            return 0;
        }
        if (command == QLatin1String("createdb") && args.size() >= 3) {
            server.start();
            ConnectionSettings settings;
            settings.socket = server.socketPath();
            settings.user = server.userName();
            QSqlDatabase db = openConnection(settings, QStringLiteral("createdb"));
            if (selectSql(db, QStringLiteral("SELECT SCHEMA_NAME FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"),
                          {args[2]})
                    .next()) {
                std::fprintf(stderr, "tarvex-server: database %s exists\n", qPrintable(args[2]));
                return 0;
            }
            createDatabase(db, args[2]);
            execSql(db, QStringLiteral("USE %1").arg(quoteIdentifier(args[2])));
            installSchema(db);
            std::fprintf(stderr, "tarvex-server: created database %s\n", qPrintable(args[2]));
            return 0;
        }
    } catch (const TarvexError& e) {
        // The shop's words first; the technical cause below when there is one.
        std::fprintf(stderr, "tarvex-server: %s\n", qPrintable(e.userText().isEmpty() ? e.detail() : e.userText()));
        if (!e.userText().isEmpty() && !e.detail().isEmpty() && !e.userText().contains(e.detail()))
            std::fprintf(stderr, "  (%s)\n", qPrintable(e.detail()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvex-server: %s\n", e.what());
        return 1;
    }
    return usage();
}
