#include "SqlScript.h"

#include <gtest/gtest.h>

using tarvex::splitSqlScript;

TEST(SqlScript, SplitsOnSemicolonsOutsideQuotesAndComments)
{
    const QString script = QStringLiteral(
        "-- header; with a semicolon\n"
        "CREATE TABLE a (x INT); # trailing; comment\n"
        "INSERT INTO a VALUES (';'), ('it''s; fine');\n"
        "/* block; comment */ SELECT `odd;name` FROM a;\n"
        "  ;  \n"
        "SELECT \"dq;\"");
    const QStringList statements = splitSqlScript(script);
    ASSERT_EQ(statements.size(), 4);
    EXPECT_EQ(statements[0], QStringLiteral("CREATE TABLE a (x INT)"));
    EXPECT_EQ(statements[1], QStringLiteral("INSERT INTO a VALUES (';'), ('it''s; fine')"));
    EXPECT_EQ(statements[2], QStringLiteral("SELECT `odd;name` FROM a"));
    EXPECT_EQ(statements[3], QStringLiteral("SELECT \"dq;\""));
}

TEST(SqlScript, DashesInsideLiteralsAreNotComments)
{
    const QStringList statements = splitSqlScript(QStringLiteral("SELECT '--x', '#y'; SELECT 2"));
    ASSERT_EQ(statements.size(), 2);
    EXPECT_EQ(statements[0], QStringLiteral("SELECT '--x', '#y'"));
}
