// tarvex-server: starts, stops and prepares a private MariaDB server folder.
//
//   tarvex-server start DIR [--fast] [--buffer-pool SIZE]
//                                      start (or reuse); prints the socket path
//   tarvex-server stop DIR             stop the server running on DIR
//   tarvex-server status DIR           prints "running SOCKET" or "stopped"
//   tarvex-server createdb DIR NAME    create database NAME with the schema
//                                      (does nothing when it exists)

#include "Connection.h"
#include "PrivateServer.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

using namespace tarvex;

static int usage()
{
    std::fprintf(stderr, "usage: tarvex-server start DIR [--fast] [--buffer-pool SIZE] | stop DIR | status DIR | createdb DIR NAME\n");
    return 2;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
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
    QTextStream out(stdout);
    try {
        PrivateServer server(args[1], options);
        if (command == QLatin1String("start")) {
            const bool started = server.start();
            out << server.socketPath() << Qt::endl;
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
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvex-server: %s\n", e.what());
        return 1;
    }
    return usage();
}
