#pragma once
// The database server and fresh databases for test runs.
//
// One server serves the whole run: the one named by TARVEX_TEST_SOCKET
// (scripts/test starts it), or else a private server in /tmp/tarvex-test-UID
// that the first test binary starts and that stays up for the next ones.

#include "Connection.h"
#include "ListCompare.h"

#include <QSqlDatabase>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace tarvex {
class PrivateServer;
}

namespace tarvex::test {

// Where the run's server listens and as whom to connect.
ConnectionSettings serverSettings();

// A database of its own, created from the schema (or left empty) and
// dropped again.
class TestDatabase {
public:
    explicit TestDatabase(const QString& prefix, bool withSchema = true);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const QString& name() const { return m_name; }
    ConnectionSettings settings() const
    {
        ConnectionSettings s = serverSettings();
        s.database = m_name;
        return s;
    }
    // The Qt connection opened on this database.
    QSqlDatabase connection() const { return QSqlDatabase::database(m_connectionName, false); }

private:
    QString m_name;
    QString m_connectionName;
};

// Base fixture: every test suite gets one fresh database.
class DatabaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite() { s_database.reset(); }
    static QSqlDatabase db() { return s_database->connection(); }
    static TestDatabase& database() { return *s_database; }

private:
    static inline std::unique_ptr<TestDatabase> s_database;
};

// Kills the server process with SIGKILL and waits until it is gone.
void killServer(tarvex::PrivateServer& server);

// Runs a statement that returns one value and gives that value.
QVariant scalar(QSqlDatabase db, const QString& sql);

} // namespace tarvex::test
