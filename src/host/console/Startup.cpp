#include "Startup.h"

#include "IniFile.h"
#include "Schema.h"

#include <QSqlQuery>
#include <QStandardPaths>

namespace tarvex {

StartupSettings readStartupSettings(const QString& iniFile)
{
    const TIniFile ini(iniFile);
    const QString section = QStringLiteral("Database");
    StartupSettings settings;
    settings.serverDir = defaultServerDir();
    settings.database = ini.ReadString(section, QStringLiteral("Database"), settings.database);
    settings.bufferPool = ini.ReadString(section, QStringLiteral("BufferPool"), QString()).trimmed();
    const QString host = ini.ReadString(section, QStringLiteral("Host"), QString());
    const QString socket = ini.ReadString(section, QStringLiteral("Socket"), QString());
    if (host.isEmpty() && socket.isEmpty())
        return settings;
    settings.embedded = false;
    settings.connection.host = host;
    settings.connection.socket = socket;
    settings.connection.port = ini.ReadInteger(section, QStringLiteral("Port"), 3306);
    settings.connection.user = ini.ReadString(section, QStringLiteral("User"), QString());
    settings.connection.password = ini.ReadString(section, QStringLiteral("Password"), QString());
    settings.connection.database = settings.database;
    return settings;
}

QString defaultServerDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarvex/server");
}

std::unique_ptr<Connection> openStartupDatabase(const StartupSettings& settings, const DemoFiller& fillDemo,
                                                std::unique_ptr<PrivateServer>& server)
{
    if (!settings.embedded)
        return std::make_unique<Connection>(settings.connection);

    PrivateServer::Options options;
    options.bufferPool = settings.bufferPool;
    auto own = std::make_unique<PrivateServer>(settings.serverDir, options);
    if (own->start())
        server = std::move(own);
    const PrivateServer& running = server ? *server : *own;

    ConnectionSettings admin;
    admin.socket = running.socketPath();
    admin.user = running.userName();
    {
        const QString name = QStringLiteral("tarvex-startup");
        QSqlDatabase db = openConnection(admin, name);
        QSqlQuery exists(db);
        exists.exec(QStringLiteral("SELECT SCHEMA_NAME FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ") +
                    quoteSqlText(settings.database));
        if (!exists.next()) {
            // A half-made database never stays: drop it again on any failure.
            try {
                createDatabase(db, settings.database);
                execSql(db, QStringLiteral("USE ") + quoteIdentifier(settings.database));
                installSchema(db);
                if (fillDemo)
                    fillDemo(db);
            } catch (...) {
                dropDatabase(db, settings.database);
                throw;
            }
        }
        exists.clear();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tarvex-startup"));
    admin.database = settings.database;
    return std::make_unique<Connection>(admin);
}

} // namespace tarvex
