// The console's database at start-up and while it runs: failures told as
// what a shop can fix, and the embedded default's private server started
// again when it died.

#include "Connection.h"
#include "DatabaseError.h"
#include "DatabaseErrorText.h"
#include "DemoFill.h"
#include "Dialogs.h"
#include "PrivateServer.h"
#include "Startup.h"
#include "TestServer.h"
#include "ScratchHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include <sys/fsuid.h>

using namespace tarvex;

namespace {

bool runs(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A small file system of its own (tmpfs), for a full disk or a read-only
// folder that even root cannot write to; mounting needs root.
class ScratchMount {
public:
    explicit ScratchMount(const QString& size) : m_path(m_dir.filePath(QStringLiteral("mnt")))
    {
        QDir().mkpath(m_path);
        m_mounted = runs(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", m_path});
    }
    ~ScratchMount()
    {
        if (m_mounted)
            runs(QStringLiteral("umount"), {m_path});
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() { return runs(QStringLiteral("mount"), {"-o", "remount,ro", m_path}); }
    QString path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_mounted = false;
};

// The settings file with this text (the owner's only, as one with a password must be); its path.
QString writeIni(const QString& iniText)
{
    static QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("tarvex.ini"));
    test::writeFile(ini, iniText.toUtf8());
    return ini;
}

// What the user reads, a blank line, and the detail for support.
QString startupFailure(const QString& iniText)
{
    std::unique_ptr<PrivateServer> server;
    try {
        openStartupDatabase(readStartupSettings(writeIni(iniText)), nullptr, server);
    } catch (const StartupError& e) {
        return exceptionText(e) + QStringLiteral("\n\n") + e.detail();
    } catch (const std::exception& e) {
        return QStringLiteral("not a start-up error: ") + QString::fromUtf8(e.what());
    }
    return QStringLiteral("no failure");
}

// A program that holds a TCP port on the loopback address but is no
// database server: it says `greeting` to whoever connects (nothing at all
// when empty) and waits.
class PortSquatter {
public:
    explicit PortSquatter(const QByteArray& greeting)
    {
        m_listener = test::loopbackSocket(m_port);
        if (::listen(m_listener, 4) != 0)
            m_port = 0;
        // Until shut down: each client greeted and kept waiting.
        m_thread = std::thread([this, greeting] {
            for (int client; (client = ::accept(m_listener, nullptr, nullptr)) >= 0;) {
                m_clients.push_back(client);
                [[maybe_unused]] const ssize_t sent = ::write(client, greeting.constData(), size_t(greeting.size()));
            }
        });
    }
    ~PortSquatter()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        for (const int client : m_clients)
            ::close(client);
        ::close(m_listener);
    }
    int port() const { return m_port; }

private:
    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
    std::vector<int> m_clients;
};

QString headline(const QString& message)
{
    return message.section(QStringLiteral("\n\n"), 0, 0);
}

// The lines of the failure a server's start ends in; none when it started.
QStringList startFailure(PrivateServer& server)
{
    try {
        server.start();
    } catch (const ServerError& e) {
        return QString::fromUtf8(e.what()).split(QLatin1Char('\n'));
    }
    return {};
}

} // namespace

TEST(Startup, TheSettingsFileNamesServersOrTheEmbeddedDefaultWhoseServerIsRestartedOrTellsWhyItCannotRunAndFailuresTheKey)
{
    const ConnectionSettings server = test::serverSettings();
    const QString ini = writeIni(QString());  // each settings text goes into this one file
    const QString denied =
        startupFailure(QStringLiteral("[Database]\nSocket=%1\nUser=tarvex_niko\nPassword=pogresna\n").arg(server.socket));
    EXPECT_EQ(headline(denied), STARTUP_ACCESS_DENIED_ERR.arg("tarvex_niko", ini));
    // 1698 where the server's accounts of that name log in by socket only.
    EXPECT_TRUE(denied.contains(QStringLiteral("Poruka servera (1045)")) ||
                denied.contains(QStringLiteral("Poruka servera (1698)")))
        << denied.toStdString();

    // Each failure names the key to fix; a list's failures name the hosts key, and a node that answers but
    // refuses the account is told as such.
    const std::pair<QString, QString> failures[] = {
        {"Host=nepostojeci-server.invalid\nUser=a", STARTUP_UNKNOWN_HOST_ERR.arg("nepostojeci-server.invalid", ini)},
        {"Host=127.0.0.1\nPort=1\nUser=a", STARTUP_HOST_UNREACHABLE_ERR.arg("127.0.0.1").arg(1).arg(ini)},
        {"Socket=/nema/ovde.sock\nUser=a", STARTUP_SOCKET_UNREACHABLE_ERR.arg("/nema/ovde.sock", ini)},
        {"Socket=" + server.socket + "\nUser=" + server.user + "\nDatabase=nema_je",
         STARTUP_UNKNOWN_DATABASE_ERR.arg("nema_je", ini)},
        {"Hosts=/nema/a.sock,127.0.0.1:1\nUser=a", STARTUP_NO_NODE_READY_ERR.arg("/nema/a.sock, 127.0.0.1:1", ini)},
        {"Hosts=/nema/a.sock," + server.socket + "\nUser=tarvex_niko\nPassword=x",
         STARTUP_ACCESS_DENIED_ERR.arg("tarvex_niko", ini)},
    };
    for (const auto& [settings, expected] : failures)
        EXPECT_EQ(headline(startupFailure("[Database]\n" + settings + "\n")), expected) << settings.toStdString();
    for (const char* list : {"127.0.0.1:4306,,127.0.0.1:4307", "127.0.0.1:x", "127.0.0.1:70000", ":4306"})
        EXPECT_EQ(headline(startupFailure(QStringLiteral("[Database]\nHosts=%1\nUser=a\n").arg(QLatin1String(list)))),
                  STARTUP_HOSTS_LIST_ERR.arg(QLatin1String(list), ini))
            << list;

    // The settings file names several servers in order, or leaves the embedded default.
    const StartupSettings pool = readStartupSettings(writeIni("[Database]\nBufferPool=512M\n"));
    EXPECT_TRUE(pool.embedded);
    EXPECT_EQ(pool.bufferPool, "512M");
    const StartupSettings read =
        readStartupSettings(writeIni("[Database]\nHosts=10.0.0.1:4306, node2 ,/run/node3.sock\nPort=4400\nUser=a\n"));
    EXPECT_FALSE(read.embedded);
    QStringList servers;
    for (const ServerAddress& address : read.connection.servers)
        servers << address.text();
    EXPECT_ROWS(servers, QStringList({"10.0.0.1:4306", "node2:4400", "/run/node3.sock"}));

    // The embedded default's dead server is started again, the user told a few times at most.
    QTemporaryDir dir;
    StartupSettings settings;
    settings.serverDir = dir.filePath(QStringLiteral("server"));
    settings.database = QStringLiteral("shop");
    std::unique_ptr<PrivateServer> embedded;
    std::unique_ptr<Connection> connection = openStartupDatabase(settings, nullptr, embedded);
    ASSERT_TRUE(embedded && embedded->startedHere());
    QStringList told;
    connection->setServerReviver(privateServerReviver(*embedded, [&](const QString& text) { told << text; }));
    connection->execute(QStringLiteral("INSERT INTO tax (name, value) VALUES ('PDV20', 20)"));

    // Three deaths are healed, each told, each without a word of error.
    for (int death = 1; death <= 3; ++death) {
        SCOPED_TRACE(death);
        test::killServer(*embedded);
        EXPECT_EQ(connection->value(QStringLiteral("SELECT name FROM tax")).toString(), QStringLiteral("PDV20"));
        EXPECT_EQ(told.size(), death);
        EXPECT_TRUE(embedded->isRunning());
    }
    EXPECT_EQ(told.first(), EMBEDDED_SERVER_RESTARTED_INF);
    EXPECT_TRUE(embedded->startedHere());

    // A fourth in the same ten minutes needs a person: the loss is told.
    test::killServer(*embedded);
    EXPECT_EQ(test::thrownText<DatabaseError>([&] { connection->value(QStringLiteral("SELECT name FROM tax")); }),
              DB_CONNECTION_LOST_ERR);
    EXPECT_EQ(told.size(), 3);
    EXPECT_FALSE(embedded->isRunning());
    embedded->stop();

    // The embedded default tells why its server cannot run (last: it may skip without mount).
    // Missing programs: the package to install.
    {
        QTemporaryDir empty;
        PrivateServer::Options options;
        options.binaryDirs = {empty.path()};
        PrivateServer server(empty.filePath(QStringLiteral("srv")), options);
        const QString missing = QStringLiteral("mariadbd, mariadb-install-db");
        EXPECT_ROWS(startFailure(server), QStringList{SRV_BINARIES_MISSING_ERR.arg(missing, empty.path())});
        EXPECT_FALSE(QFileInfo::exists(empty.filePath(QStringLiteral("srv/data"))));
    }
    ScratchMount full(QStringLiteral("4m"));
    if (!full.mounted())
        GTEST_SKIP() << "a file system of its own needs mount (run as root)";
    // A full disk: the cause is the server's first two error lines, not the installer's pages.
    {
        PrivateServer server(full.path());
        const QStringList lines = startFailure(server);
        ASSERT_EQ(lines.size(), 6) << lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(lines[0], SRV_INIT_ERR.arg(server.dataDir()));
        EXPECT_EQ(lines[1], SRV_DISK_FULL_INF);
        EXPECT_EQ(lines[3], SRV_CAUSE_FMT.arg(server.errorLogPath(), QString()).trimmed());
        EXPECT_TRUE(lines[4].startsWith(QStringLiteral("InnoDB: "))) << lines[4].toStdString();
        EXPECT_FALSE(lines[5].contains(QStringLiteral("[ERROR]"))) << lines[5].toStdString();
        EXPECT_FALSE(server.isRunning());
    }
    // A read-only folder: the file that could not be written and what to do.
    ScratchMount readOnly(QStringLiteral("4m"));
    ASSERT_TRUE(readOnly.mounted() && readOnly.makeReadOnly());
    PrivateServer readOnlyServer(readOnly.path());
    const QStringList lines = startFailure(readOnlyServer);
    ASSERT_EQ(lines.size(), 5) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines[0], SRV_WRITE_ERR.arg(readOnlyServer.defaultsFile()));
    EXPECT_EQ(lines[1], SRV_READ_ONLY_INF.arg(readOnly.path()));
    EXPECT_EQ(lines[4], QStringLiteral("Read-only file system"));
}

// Each start-up case a shop can meet, told as what to fix: the file, the key
// or the cause. None falls back to the demo shop, and a start that fails
// stops the private server it started.
TEST(Startup, EveryFailedStartNamesItsCauseNeverFallsBackToTheDemoShopAndStopsItsServer)
{
    const QString ini = writeIni(QString());
    QTemporaryDir scripts;
    QTemporaryDir embeddedDir;
    StartupSettings embedded;
    embedded.serverDir = embeddedDir.filePath(QStringLiteral("server"));
    embedded.database = QStringLiteral("shop");
    PrivateServer probe(embedded.serverDir);

    // Starts the embedded default with this first fill; what the user reads.
    const auto firstStart = [&](const DemoFiller& fill) {
        std::unique_ptr<PrivateServer> server;
        return test::thrownText<StartupError>([&] { openStartupDatabase(embedded, fill, server); });
    };
    // A stand-in for the demo generator: a script that says `lines` and ends
    // with `exitCode`; none at all when that is below zero.
    const auto generator = [&](const QString& lines, int exitCode) {
        const QString program = scripts.filePath(exitCode < 0 ? QStringLiteral("nema-programa")
                                                              : QStringLiteral("demogen-%1").arg(exitCode));
        if (exitCode >= 0)
            test::writeFile(program, QStringLiteral("#!/bin/sh\n%1\nexit %2\n").arg(lines).arg(exitCode).toUtf8(),
                            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return [program](const ConnectionSettings& target, const StartupProgress& progress) {
            runDemoGenerator(program, target, progress);
        };
    };

    // The port of a program that keeps silent, and of one that talks another language.
    PortSquatter silent{QByteArray()};
    PortSquatter talker{QByteArrayLiteral("SSH-2.0-OpenSSH_9.2p1 Debian-2\r\n")};
    for (const int port : {silent.port(), talker.port()})
        EXPECT_EQ(headline(startupFailure(QStringLiteral("[Database]\nHost=127.0.0.1\nPort=%1\nUser=a\n").arg(port))),
                  STARTUP_NOT_A_SERVER_ERR.arg("127.0.0.1").arg(port).arg(ini))
            << port;

    // What fails, how, what the user reads.
    const std::tuple<const char*, std::function<QString()>, QString> cases[] = {
        {"unreadable settings file",
         [&] {
             writeIni(QStringLiteral("[Database]\nHost=server.local\n"));
             QFile(ini).setPermissions(QFileDevice::WriteOwner);
             ::setfsuid(65534);  // read as an ordinary user: root reads every file
             const QString text = test::thrownText<StartupError>([&] { readStartupSettings(ini); });
             ::setfsuid(::geteuid());
             QFile(ini).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
             return text;
         },
         STARTUP_SETTINGS_UNREADABLE_ERR.arg(ini, STARTUP_NO_READ_RIGHT)},
        {"first fill on a full disk",
         [&] {
             return firstStart(generator(QStringLiteral("echo progress 40\necho \"tarvex-demogen: Poruka servera (1114): "
                                                        "The table 'documentitem' is full\" >&2"),
                                         1));
         },
         DEMO_FILL_FAILED_ERR + "\n" + DEMO_FILL_DISK_FULL_INF},
        {"first fill refused",
         [&] {
             return firstStart(generator(QStringLiteral("echo \"tarvex-demogen: Baza već ima proizvode.\" >&2"), 3));
         },
         DEMO_FILL_FAILED_ERR + "\n" + DEMO_FILL_REFUSED_INF.arg("Baza već ima proizvode.")},
        {"first fill that stops", [&] { return firstStart(generator(QStringLiteral("kill -9 $$"), 0)); },
         DEMO_FILL_FAILED_ERR + "\n" + DEMO_FILL_STOPPED_INF.arg(scripts.filePath("demogen-0"))},
        {"no generator", [&] { return firstStart(generator(QString(), -1)); },
         DEMO_FILL_START_ERR.arg(scripts.filePath("nema-programa"))},
    };
    for (const auto& [name, start, expected] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(start(), expected);
        // No start leaves a server behind or a half-made shop for the next start.
        EXPECT_FALSE(probe.isRunning());
    }
    EXPECT_TRUE(QFileInfo::exists(probe.dataDir() + QStringLiteral("/mysql")));
    EXPECT_FALSE(QFileInfo::exists(probe.dataDir() + QStringLiteral("/shop")));
}

// The start-up window's steps: the first start prepares the database and
// fills the demo shop with its progress; a later one starts the server only.
TEST(Startup, TheFirstStartTellsItsStepsWithProgressALaterStartOnlyStartsTheServer)
{
    QTemporaryDir dir;
    StartupSettings settings;
    settings.serverDir = dir.filePath(QStringLiteral("server"));
    settings.database = QStringLiteral("shop");
    QStringList steps;
    const StartupProgress note = [&](const QString& step, int percent) {
        steps << QStringLiteral("%1 %2").arg(step).arg(percent);
    };
    const DemoFiller fill = [](const ConnectionSettings& target, const StartupProgress& progress) {
        EXPECT_EQ(target.database, QStringLiteral("shop"));
        for (const int percent : {0, 50, 100})
            progress(STARTUP_DEMO_STEP, percent);
    };
    for (const bool first : {true, false}) {
        steps.clear();
        std::unique_ptr<PrivateServer> server;
        std::unique_ptr<Connection> connection = openStartupDatabase(settings, fill, server, note);
        EXPECT_EQ(connection->value(QStringLiteral("SELECT COUNT(*) FROM tax")).toInt(), 0);
        connection.reset();
        server->stop();
        if (first)
            EXPECT_ROWS(steps, QStringList({STARTUP_PREPARE_STEP + " 0", STARTUP_SCHEMA_STEP + " 15",
                                          STARTUP_DEMO_STEP + " 20", STARTUP_DEMO_STEP + " 20",
                                          STARTUP_DEMO_STEP + " 60", STARTUP_DEMO_STEP + " 100"}));
        else
            EXPECT_ROWS(steps, QStringList({STARTUP_SERVER_STEP + " 0"}));
    }
}
