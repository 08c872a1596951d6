#include "Connection.h"
#include "DatabaseError.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

class ConnectionTest : public DatabaseTest {};

TEST_F(ConnectionTest, SessionRunsInStrictModeAndFailuresCarryServerCodeMessageAndStatement)
{
    QSqlDatabase connection = db();
    const QString mode = scalar(connection, QStringLiteral("SELECT @@SESSION.sql_mode")).toString();
    EXPECT_TRUE(mode.contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));
    EXPECT_TRUE(mode.contains(QStringLiteral("STRICT_TRANS_TABLES")));
    EXPECT_FALSE(mode.contains(QStringLiteral("ONLY_FULL_GROUP_BY")));
    try {
        execSql(connection, QStringLiteral("SELECT nosuchcolumn FROM product"));
        FAIL() << "expected a DatabaseError";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), 1054); // unknown column
        EXPECT_TRUE(e.serverMessage().contains(QStringLiteral("nosuchcolumn")));
        EXPECT_EQ(e.sql(), QStringLiteral("SELECT nosuchcolumn FROM product"));
    }
}
