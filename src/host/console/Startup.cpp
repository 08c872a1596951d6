#include "Startup.h"

#include "BackupFolder.h"
#include "DatabaseBackup.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "DatabaseSection.h"
#include "IniFile.h"
#include "LogCategories.h"
#include "Migration.h"
#include "Schema.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <deque>
#include <unistd.h>

#include <fcntl.h>
#include <unistd.h>

namespace tarvex {

namespace {

// A settings file that exists must be read; one that cannot be is told, not
// taken for a missing one.
void checkReadable(const QString& iniFile)
{
    if (!QFileInfo::exists(iniFile))
        return;
    const int fd = ::open(QFile::encodeName(iniFile).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    const int error = errno;
    const QString system = QString::fromLocal8Bit(std::strerror(error));
    throw StartupError(STARTUP_SETTINGS_UNREADABLE_ERR.arg(iniFile, error == EACCES ? STARTUP_NO_READ_RIGHT : system),
                       system);
}

} // namespace

StartupSettings readStartupSettings(const QString& iniFile)
{
    checkReadable(iniFile);
    const TIniFile ini(iniFile);
    const QString section = QStringLiteral("Database");
    StartupSettings settings;
    settings.settingsFile = iniFile;
    settings.serverDir = defaultServerDir();
    const ConnectionSettings named = readDatabaseSection(ini, settings.database);
    settings.database = named.database;
    settings.bufferPool = ini.ReadString(section, QStringLiteral("BufferPool"), QString()).trimmed();
    const QString hosts = ini.ReadString(section, QStringLiteral("Hosts"), QString()).trimmed();
    if (named.host.isEmpty() && named.socket.isEmpty() && hosts.isEmpty())
        return settings;
    settings.embedded = false;
    settings.connection = named;
    if (!hosts.isEmpty() && !parseServerList(hosts, settings.connection.port, settings.connection.servers))
        throw StartupError(STARTUP_HOSTS_LIST_ERR.arg(hosts, iniFile));
    if (hasDatabasePassword(ini)) {
        // As ssh with a key: a password others can read is not used at all.
        if (!passwordFileIsPrivate(iniFile))
            throw StartupError(STARTUP_PASSWORD_FILE_OPEN_ERR.arg(iniFile));
        settings.connection.password = readDatabasePassword(ini);
    } else {
        settings.signIn = named.socket.isEmpty();
    }
    TlsSettings& tls = settings.connection.tls;
    const QString mode = ini.ReadString(section, QStringLiteral("Ssl"), QString());
    if (!parseTlsMode(mode, tls.mode))
        throw StartupError(STARTUP_TLS_SETTING_FMT.arg(TLS_MODE_ERR.arg(mode), iniFile));
    tls.ca = ini.ReadString(section, QStringLiteral("SslCa"), QString());
    tls.cert = ini.ReadString(section, QStringLiteral("SslCert"), QString());
    tls.key = ini.ReadString(section, QStringLiteral("SslKey"), QString());
    return settings;
}

QString StartupSettings::serverText() const
{
    if (embedded)
        return serverDir;
    if (!connection.servers.isEmpty()) {
        QStringList nodes;
        for (const ServerAddress& server : connection.servers)
            nodes << server.text();
        return nodes.join(QStringLiteral(", "));
    }
    return connection.socket.isEmpty() ? QStringLiteral("%1:%2").arg(connection.host).arg(connection.port)
                                       : connection.socket;
}

QString defaultServerDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarvex/server");
}

namespace {

// A plain link refused with "access denied" may be a server that takes only
// encrypted links (require_secure_transport answers so): the same account
// over TLS tells which.
bool takesOnlyEncrypted(const ConnectionSettings& plain)
{
    if (plain.tls.on() || (plain.host.isEmpty() && plain.servers.isEmpty()))
        return false;
    ConnectionSettings encrypted = plain;
    encrypted.tls.mode = TlsMode::Required;
    const QString name = QStringLiteral("tarvex-tls-probe");
    bool opened = false;
    try {
        QSqlDatabase db = openConnection(encrypted, name);
        opened = true;
        db.close();
    } catch (const TarvexError&) {
    }
    QSqlDatabase::removeDatabase(name);
    return opened;
}

// A refusal logged by its code (the account's name stays out of the log),
// then thrown.
template <class Error>
[[noreturn]] void refuse(const Error& error, const DatabaseError& e, const StartupSettings& settings)
{
    qCWarning(lcSecurity).noquote()
        << QStringLiteral("Sign-in to %1 refused: error %2").arg(settings.serverText()).arg(e.code());
    throw error;
}

// A refusal of the account: its own sentence in the sign-in window.
void refuseSignIn(const DatabaseError& e, const StartupSettings& settings)
{
    const QString& user = settings.connection.user;
    switch (e.code()) {
    case 1045: // access denied
    case 1698:
        if (takesOnlyEncrypted(settings.connection))
            refuse(StartupError(SIGNIN_TLS_NEEDED_ERR.arg(settings.serverText(), settings.settingsFile)), e, settings);
        refuse(SignInRefused(SIGNIN_WRONG_PASSWORD_ERR.arg(user)), e, settings);
    case 4151: // the account is locked
        refuse(SignInRefused(SIGNIN_LOCKED_ERR.arg(user)), e, settings);
    case 1820: // the password has expired (told at the first statement, or at sign-in)
    case 1862:
        refuse(SignInRefused(SIGNIN_EXPIRED_ERR.arg(user)), e, settings);
    default:
        break;
    }
}

// The server named in the settings file, with a failure told as what to fix there.
std::unique_ptr<Connection> openConfiguredServer(const StartupSettings& settings)
{
    const ConnectionSettings& c = settings.connection;
    const QString& file = settings.settingsFile;
    try {
        return std::make_unique<Connection>(c);
    } catch (const TlsError& e) {
        throw StartupError(STARTUP_TLS_SETTING_FMT.arg(e.userText(), file));
    } catch (const DatabaseError& e) {
        if (settings.signIn)
            refuseSignIn(e, settings);
        QString text;
        QStringList servers;
        for (const ServerAddress& server : c.servers)
            servers << server.text();
        const bool noNode = e.isServerAway() || e.isConnectionLost() || e.code() == 1047;
        switch (c.servers.isEmpty() ? e.code() : noNode ? 1047 : e.code()) {
        case 1047: // no node of the list answers in step with its cluster
            text = STARTUP_NO_NODE_READY_ERR.arg(servers.join(QStringLiteral(", ")), file);
            break;
        case 1045: // access denied
        case 1698:
            text = takesOnlyEncrypted(c) ? SIGNIN_TLS_NEEDED_ERR.arg(settings.serverText(), file)
                                         : STARTUP_ACCESS_DENIED_ERR.arg(c.user, file);
            break;
        case 2005: // unknown host
            text = STARTUP_UNKNOWN_HOST_ERR.arg(c.host, file);
            break;
        case 2002: // nobody on the socket (or the local host's)
        case 2003: // nobody at the address, or no route to it
            text = c.socket.isEmpty() ? STARTUP_HOST_UNREACHABLE_ERR.arg(c.host).arg(c.port).arg(file)
                                      : STARTUP_SOCKET_UNREACHABLE_ERR.arg(c.socket, file);
            break;
        case 1049: // unknown database
            text = STARTUP_UNKNOWN_DATABASE_ERR.arg(c.database, file);
            break;
        case 2013: // the other end closed or kept silent instead of greeting
        case 2006:
        case 2027: // it greeted with something no server says
        case 2012:
            text = c.socket.isEmpty() ? STARTUP_NOT_A_SERVER_ERR.arg(c.host).arg(c.port).arg(file)
                                      : STARTUP_SOCKET_NOT_A_SERVER_ERR.arg(c.socket, file);
            break;
        default:
            throw;
        }
        throw StartupError(text, e.detail());
    }
}

// Before a schema upgrade: a backup of the data as it is, or no upgrade.
BeforeUpgrade backupBeforeUpgrade(const ConnectionSettings& settings)
{
    return [settings](int from, int to) {
        const BackupFolder folder(BackupFolder::defaultDir(), settings.database);
        DatabaseBackup(settings).backup(folder.beforeUpgradePath(QDateTime::currentDateTime(), from, to));
    };
}

// The embedded default's database on its running server: made with the
// schema and the demo shop on first use (never left half-made), upgraded
// otherwise.
std::unique_ptr<Connection> openEmbeddedDatabase(const PrivateServer& running, const QString& database,
                                                 const DemoFiller& fillDemo, const StartupProgress& tell)
{
    // Shares of the whole: the server's start, the schema, the demo fill.
    constexpr int kServerShare = 15;
    constexpr int kSchemaShare = 5;
    ConnectionSettings admin;
    admin.socket = running.socketPath();
    admin.user = running.userName();
    {
        const QString name = QStringLiteral("tarvex-startup");
        QSqlDatabase db = openConnection(admin, name);
        const bool exists = selectSql(db, QStringLiteral("SELECT SCHEMA_NAME FROM information_schema.SCHEMATA "
                                                         "WHERE SCHEMA_NAME = ?"),
                                      {database})
                                .next();
        if (!exists) {
            // A half-made database never stays: drop it again on any failure.
            try {
                tell(STARTUP_SCHEMA_STEP, kServerShare);
                createDatabase(db, database);
                execSql(db, QStringLiteral("USE ") + quoteIdentifier(database));
                installSchema(db);
                if (fillDemo) {
                    ConnectionSettings target = admin;
                    target.database = database;
                    tell(STARTUP_DEMO_STEP, kServerShare + kSchemaShare);
                    fillDemo(target, [&](const QString& step, int percent) {
                        constexpr int kBefore = kServerShare + kSchemaShare;
                        tell(step, kBefore + qBound(0, percent, 100) * (100 - kBefore) / 100);
                    });
                }
            } catch (...) {
                try {
                    dropDatabase(db, database);
                } catch (const std::exception&) {
                    // The first failure is the one to tell; a server that cannot drop is told by it.
                }
                throw;
            }
        } else {
            execSql(db, QStringLiteral("USE ") + quoteIdentifier(database));
            ConnectionSettings data = admin;
            data.database = database;
            migrateSchema(db, backupBeforeUpgrade(data));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tarvex-startup"));
    admin.database = database;
    return std::make_unique<Connection>(admin);
}

} // namespace

std::unique_ptr<Connection> openStartupDatabase(const StartupSettings& settings, const DemoFiller& fillDemo,
                                                std::unique_ptr<PrivateServer>& server,
                                                const StartupProgress& progress)
{
    const auto tell = [&](const QString& step, int percent) {
        if (progress)
            progress(step, percent);
    };
    if (!settings.embedded) {
        tell(STARTUP_CONNECT_STEP, 0);
        std::unique_ptr<Connection> connection = openConfiguredServer(settings);
        migrateSchema(connection->database(), backupBeforeUpgrade(settings.connection));
        return connection;
    }

    PrivateServer::Options options;
    options.bufferPool = settings.bufferPool;
    server = std::make_unique<PrivateServer>(settings.serverDir, options);
    const bool firstStart = !QFileInfo::exists(server->dataDir() + QStringLiteral("/mysql"));
    tell(firstStart ? STARTUP_PREPARE_STEP : STARTUP_SERVER_STEP, 0);
    try {
        if (server->start())
            qCInfo(lcPrivateServer).noquote() << QStringLiteral("Private server started in %1").arg(settings.serverDir);
        return openEmbeddedDatabase(*server, settings.database, fillDemo, tell);
    } catch (...) {
        // Nobody else would stop it: the console ends here.
        if (server->startedHere()) {
            try {
                server->stop();
            } catch (const std::exception&) {
                // The failure that ended the start is the one to tell.
            }
        }
        throw;
    }
}

std::function<bool()> privateServerReviver(PrivateServer& server, std::function<void(const QString&)> tell)
{
    constexpr int kMaxRevivals = 3;
    constexpr qint64 kWindowMs = 10 * 60 * 1000;
    auto revivals = std::make_shared<std::deque<qint64>>();
    return [&server, tell = std::move(tell), revivals] {
        if (server.isRunning())
            return false;  // it answers: the session failed for another reason
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        while (!revivals->empty() && now - revivals->front() > kWindowMs)
            revivals->pop_front();
        if (int(revivals->size()) >= kMaxRevivals)
            return false;
        revivals->push_back(now);
        server.start();
        qCWarning(lcPrivateServer) << "Private server was away and is started again";
        if (tell)
            tell(EMBEDDED_SERVER_RESTARTED_INF);
        return true;
    };
}

} // namespace tarvex
