#pragma once
// Where the console's data lives: a server named in the workstation's
// settings file ([Database] Host, Port, User, Password, Database, Socket),
// or else the embedded default, a private MariaDB server in the user's data
// folder with a database made from the schema and filled with demo data.

#include "Connection.h"
#include "PrivateServer.h"

#include <functional>
#include <memory>

namespace tarvex {

struct StartupSettings {
    bool embedded = true;
    ConnectionSettings connection;   // for a configured server
    QString serverDir;               // for the embedded default
    QString bufferPool;              // its InnoDB cache ("512M"); empty: the server's default
    QString database = QStringLiteral("tarvex");
};

// Reads the settings file; without a [Database] section with a Host or
// Socket, the embedded default applies, its cache sized by BufferPool.
StartupSettings readStartupSettings(const QString& iniFile);

// The folder of the embedded server: the user's data folder + tarvex/server.
QString defaultServerDir();

// Fills a new database with demo data.
using DemoFiller = std::function<void(QSqlDatabase&)>;

// Opens the database: starts (or reuses) the private server and creates the
// database with the schema and demo data on first use, or connects to the
// configured server. `server` keeps the private server when this started it.
std::unique_ptr<Connection> openStartupDatabase(const StartupSettings& settings, const DemoFiller& fillDemo,
                                                std::unique_ptr<PrivateServer>& server);

} // namespace tarvex
