#include "Connection.h"
#include "DatabaseError.h"
#include "TestServer.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

class ConnectionTest : public DatabaseTest {};

TEST_F(ConnectionTest, SessionRunsInStrictModeWithoutBackslashEscapes)
{
    const QString mode = scalar(db(), QStringLiteral("SELECT @@SESSION.sql_mode")).toString();
    EXPECT_TRUE(mode.contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));
    EXPECT_TRUE(mode.contains(QStringLiteral("STRICT_TRANS_TABLES")));
    EXPECT_FALSE(mode.contains(QStringLiteral("ONLY_FULL_GROUP_BY")));
}

TEST_F(ConnectionTest, QuotedTextRoundTripsQuotesAndBackslashes)
{
    QSqlDatabase connection = db();
    for (const QString& text : {QStringLiteral("O'Brien"), QStringLiteral("ends with \\"),
                                QStringLiteral("\\' OR 1=1 -- "), QStringLiteral("Đorđe ćčšž")}) {
        EXPECT_EQ(scalar(connection, QStringLiteral("SELECT ") + quoteSqlText(text)).toString(), text);
    }
}

TEST_F(ConnectionTest, FailuresCarryServerCodeMessageAndStatement)
{
    QSqlDatabase connection = db();
    try {
        execSql(connection, QStringLiteral("SELECT nosuchcolumn FROM product"));
        FAIL() << "expected a DatabaseError";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), 1054); // unknown column
        EXPECT_TRUE(e.serverMessage().contains(QStringLiteral("nosuchcolumn")));
        EXPECT_EQ(e.sql(), QStringLiteral("SELECT nosuchcolumn FROM product"));
    }
}

TEST(ConnectionFailure, WrongSocketRaisesDatabaseError)
{
    ConnectionSettings settings;
    settings.socket = QStringLiteral("/nonexistent/dir/mysqld.sock");
    settings.user = QStringLiteral("nobody");
    EXPECT_THROW(openConnection(settings, QStringLiteral("broken")), DatabaseError);
    QSqlDatabase::removeDatabase(QStringLiteral("broken"));
}
