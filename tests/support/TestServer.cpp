#include "TestServer.h"

#include "PrivateServer.h"
#include "Schema.h"

#include <QFileInfo>
#include <QThread>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <signal.h>
#include <unistd.h>

namespace tarvex::test {

namespace {

ConnectionSettings resolveServer()
{
    ConnectionSettings settings;
    const QByteArray socket = qgetenv("TARVEX_TEST_SOCKET");
    if (!socket.isEmpty()) {
        settings.socket = QString::fromLocal8Bit(socket);
        const QByteArray user = qgetenv("TARVEX_TEST_USER");
        settings.user = user.isEmpty() ? PrivateServer(QStringLiteral("/tmp")).userName() : QString::fromLocal8Bit(user);
        return settings;
    }
    PrivateServer::Options options;
    options.durable = false;
    // Test binaries run by hand share this server and leave it running: one
    // that stopped it at exit would cut off the others still at work.
    // (`tarvex-server stop /tmp/tarvex-test-UID` ends it.)
    PrivateServer server(QStringLiteral("/tmp/tarvex-test-%1").arg(::getuid()), options);
    server.start();
    settings.socket = server.socketPath();
    settings.user = server.userName();
    return settings;
}

} // namespace

ConnectionSettings serverSettings()
{
    static const ConnectionSettings settings = resolveServer();
    return settings;
}

TestDatabase::TestDatabase(const QString& prefix, bool withSchema)
{
    static std::atomic<int> counter{0};
    const QString clean = prefix.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    m_name = QStringLiteral("t_%1_%2_%3").arg(clean.left(40)).arg(::getpid()).arg(++counter);
    m_connectionName = QStringLiteral("test-") + m_name;

    const QString adminName = m_connectionName + QStringLiteral("-admin");
    {
        QSqlDatabase server = openConnection(serverSettings(), adminName);
        dropDatabase(server, m_name);
        createDatabase(server, m_name);
        server.close();
    }
    QSqlDatabase::removeDatabase(adminName);

    QSqlDatabase db = openConnection(settings(), m_connectionName);
    if (withSchema)
        installSchema(db);
}

TestDatabase::~TestDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            try {
                dropDatabase(db, m_name);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "dropping " << m_name.toStdString() << ": " << e.what();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void DatabaseTest::SetUpTestSuite()
{
    const auto* suite = ::testing::UnitTest::GetInstance()->current_test_suite();
    s_database = std::make_unique<TestDatabase>(QString::fromUtf8(suite ? suite->name() : "suite"));
}

QVariant scalar(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw std::runtime_error((sql + QStringLiteral(": ") + query.lastError().text()).toStdString());
    return query.next() ? query.value(0) : QVariant();
}

void killServer(PrivateServer& server)
{
    const qint64 pid = server.serverPid();
    ASSERT_GT(pid, 0);
    ::kill(pid_t(pid), SIGKILL);
    for (int i = 0; i < 200 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)) && server.serverPid(); ++i)
        QThread::msleep(25);
    ASSERT_FALSE(server.isRunning());
}

} // namespace tarvex::test
