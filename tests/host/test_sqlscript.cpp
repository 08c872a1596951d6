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
    EXPECT_EQ(splitSqlScript(script), QStringList({"CREATE TABLE a (x INT)", "INSERT INTO a VALUES (';'), ('it''s; fine')",
                                                   "SELECT `odd;name` FROM a", "SELECT \"dq;\""}));
    // Dashes and hashes inside literals are no comments.
    EXPECT_EQ(splitSqlScript(QStringLiteral("SELECT '--x', '#y'; SELECT 2")),
              QStringList({"SELECT '--x', '#y'", "SELECT 2"}));
}
