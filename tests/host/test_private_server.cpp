#include "Connection.h"
#include "PrivateServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <signal.h>

using namespace tarvex;

namespace {

PrivateServer::Options fastOptions()
{
    PrivateServer::Options options;
    options.durable = false;
    return options;
}

// Writes a row through one server process and reads it back, proving the
// server answers and keeps data in its folder.
QString roundTrip(const PrivateServer& server, const QString& value)
{
    ConnectionSettings settings;
    settings.socket = server.socketPath();
    settings.user = server.userName();
    QString read;
    {
        QSqlDatabase db = openConnection(settings, QStringLiteral("private-server-test"));
        execSql(db, QStringLiteral("CREATE DATABASE IF NOT EXISTS probe"));
        execSql(db, QStringLiteral("CREATE TABLE IF NOT EXISTS probe.t (v VARCHAR(50))"));
        if (!value.isEmpty())
            execSql(db, QStringLiteral("INSERT INTO probe.t VALUES (%1)").arg(quoteSqlText(value)));
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT GROUP_CONCAT(v ORDER BY v) FROM probe.t"));
        if (q.next())
            read = q.value(0).toString();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("private-server-test"));
    return read;
}

qint64 bufferPoolBytes(const PrivateServer& server)
{
    ConnectionSettings settings;
    settings.socket = server.socketPath();
    settings.user = server.userName();
    qint64 bytes = 0;
    {
        QSqlDatabase db = openConnection(settings, QStringLiteral("private-server-pool"));
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT @@innodb_buffer_pool_size"));
        if (q.next())
            bytes = q.value(0).toLongLong();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("private-server-pool"));
    return bytes;
}

} // namespace

// One life of a server folder: first start, reuse, kill -9 with its leftover
// files, restart over them, clean stop. The steps depend on each other.
TEST(PrivateServer, LifecycleFromFirstStartToCleanStop)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString base = tmp.path() + QStringLiteral("/srv");

    // Durable settings: the crash below must not lose committed rows.
    PrivateServer server(base);
    EXPECT_FALSE(server.isRunning());

    // First start initialises the folder.
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(server.isRunning());
    EXPECT_TRUE(QFileInfo::exists(server.dataDir() + QStringLiteral("/mysql")));
    EXPECT_FALSE(QFileInfo::exists(server.dataDir() + QStringLiteral(".tmp")));
    EXPECT_TRUE(QFileInfo(server.errorLogPath()).absolutePath() == base);
    EXPECT_EQ(QFileInfo(server.defaultsFile()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
    EXPECT_EQ(roundTrip(server, QStringLiteral("a")), QStringLiteral("a"));
    const qint64 firstPid = server.serverPid();
    ASSERT_GT(firstPid, 0);

    // A second manager on the same folder reuses the running server.
    PrivateServer again(base);
    EXPECT_TRUE(again.isRunning());
    EXPECT_FALSE(again.start());
    EXPECT_EQ(again.serverPid(), firstPid);

    // A crash leaves socket, pid and lock files behind; the next start copes.
    ::kill(static_cast<pid_t>(firstPid), SIGKILL);
    for (int i = 0; i < 100 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(firstPid)); ++i)
        QThread::msleep(50);
    EXPECT_TRUE(QFileInfo::exists(server.socketPath()));
    EXPECT_FALSE(server.isRunning());
    ASSERT_TRUE(server.start());
    EXPECT_NE(server.serverPid(), firstPid);
    EXPECT_EQ(roundTrip(server, QStringLiteral("b")), QStringLiteral("a,b"));

    // A clean stop removes the run files and keeps the data.
    EXPECT_TRUE(server.stop());
    EXPECT_FALSE(server.isRunning());
    EXPECT_FALSE(QFileInfo::exists(server.socketPath()));
    EXPECT_FALSE(server.stop());

    // The next start may size the page cache; the data stays.
    PrivateServer::Options sized;
    sized.bufferPool = QStringLiteral("96M");
    PrivateServer larger(base, sized);
    ASSERT_TRUE(larger.start());
    EXPECT_EQ(roundTrip(larger, QString()), QStringLiteral("a,b"));
    EXPECT_EQ(bufferPoolBytes(larger), 96LL * 1024 * 1024);
    EXPECT_TRUE(larger.stop());

    sized.bufferPool = QStringLiteral("96M\nskip-grant-tables");
    EXPECT_THROW(PrivateServer(base, sized), ServerError);
}

TEST(PrivateServer, LongFoldersGetAShortSocketPath)
{
    const QString longBase = QStringLiteral("/tmp/") + QString(120, QLatin1Char('x'));
    PrivateServer server(longBase);
    EXPECT_LT(server.socketPath().toUtf8().size(), 100);
    EXPECT_NE(server.socketPath(), PrivateServer(longBase + QStringLiteral("y")).socketPath());
}

TEST(PrivateServer, MissingBinariesNameThePackageToInstall)
{
    QTemporaryDir tmp;
    PrivateServer::Options options = fastOptions();
    options.binaryDirs = {tmp.path()};
    PrivateServer server(tmp.path() + QStringLiteral("/srv"), options);
    try {
        server.start();
        FAIL() << "expected a ServerError";
    } catch (const ServerError& e) {
        const QString message = QString::fromUtf8(e.what());
        EXPECT_TRUE(message.contains(QStringLiteral("mariadb-server-core"))) << e.what();
        EXPECT_TRUE(message.contains(QStringLiteral("mariadbd"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + QStringLiteral("/srv/data")));
}
