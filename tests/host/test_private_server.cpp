#include "Connection.h"
#include "PrivateServer.h"
#include "TestServer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

// Writes the value (if any) into a table of the server and gives what the
// statement then reads: a row written and read back proves the server
// answers and keeps data.
QString roundTrip(const PrivateServer& server, const QString& value,
                  const QString& read = "SELECT GROUP_CONCAT(v ORDER BY v) FROM probe.t")
{
    ConnectionSettings settings;
    settings.socket = server.socketPath();
    settings.user = server.userName();
    Connection connection(settings);
    connection.execute("CREATE DATABASE IF NOT EXISTS probe");
    connection.execute("CREATE TABLE IF NOT EXISTS probe.t (v VARCHAR(50))");
    if (!value.isEmpty())
        connection.execute("INSERT INTO probe.t VALUES (?)", {value});
    return connection.value(read).toString();
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
    // No half-made folder left, the log beside the data; running: the round trip.
    EXPECT_FALSE(QFileInfo::exists(server.dataDir() + ".tmp"));
    EXPECT_EQ(QFileInfo(server.errorLogPath()).absolutePath(), base);
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
    test::killServer(server);
    EXPECT_TRUE(QFileInfo::exists(server.socketPath()));
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
    EXPECT_EQ(roundTrip(larger, QString(), "SELECT @@innodb_buffer_pool_size").toLongLong(), 96LL * 1024 * 1024);
    EXPECT_TRUE(larger.stop());

    sized.bufferPool = QStringLiteral("96M\nskip-grant-tables");
    EXPECT_THROW(PrivateServer(base, sized), ServerError);

    // Long folders get a short socket path.
    const QString longBase = QStringLiteral("/tmp/") + QString(120, QLatin1Char('x'));
    const QString socket = PrivateServer(longBase).socketPath();
    EXPECT_LT(socket.toUtf8().size(), 100);
    EXPECT_NE(socket, PrivateServer(longBase + QStringLiteral("y")).socketPath());
}
