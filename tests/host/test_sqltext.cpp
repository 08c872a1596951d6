#include "Connection.h"
#include "Error.h"
#include "Format.h"
#include "SqlScript.h"
#include "SqlText.h"
#include "TestServer.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

using namespace tarvex;
using namespace tarvex::test;

class SqlTextTest : public DatabaseTest {};

TEST_F(SqlTextTest, AddSlashesAndSqlNumberReadBackExactlyAndChangeSQLConditionReplacesOrAddsTheConditionBeforeTheTailKeywords)
{
    for (const QString& text : {QString("O'Brien"), QString("''"), QString("C:\\slike\\"), QString("\\' OR 1=1 -- "),
                                QString("Šećer 'Đ'"), QString()}) {
        // The same quoting, which reads back on the server: test_dataset_sql.
        EXPECT_EQ("'" + AddSlashes(text) + "'", quoteSqlText(text));
    }
    EXPECT_EQ(SqlNumber(1.5), "1.5");
    EXPECT_EQ(SqlNumber(100.0), "100");
    EXPECT_EQ(SqlNumber(-0.0), "0");
    EXPECT_THROW(SqlNumber(std::numeric_limits<double>::quiet_NaN()), InternalError);
    EXPECT_THROW(SqlNumber(-std::numeric_limits<double>::infinity()), InternalError);
    for (double v : {0.1, 1.0 / 3.0, -84.745762711864415, 1e-7, 9.87654321e15})
        EXPECT_EQ(scalar(db(), "SELECT CAST(" + SqlNumber(v) + " AS DOUBLE)").toDouble(), v) << SqlNumber(v).toStdString();

    // ChangeSQLCondition replaces or adds the condition before the tail keywords, texts and comments not counted.
    // The product list's own text: joins with AND inside their ON parentheses.
    const QString head = "SELECT p.*,p.price * (1+t.value/100) AS pricewithvat,(pw.price + 0.0) AS wh_price\n"
                         "FROM product AS p\n"
                         "  LEFT JOIN tax AS t ON p.taxid = t.taxid\n"
                         "  LEFT JOIN productwarehouse AS pw ON (pw.productid = p.productid AND pw.warehouseid = 0)\n"
                         "  LEFT JOIN productalter AS pa ON pa.productid = p.productid\n";
    const QString changed = ChangeSQLCondition(head + "WHERE p.productid = -1", "pa.groupid = 3 AND p.productid <> 5");
    EXPECT_EQ(changed, head + "WHERE pa.groupid = 3 AND p.productid <> 5");
    EXPECT_NO_THROW(execSql(db(), changed));

    // Statement, condition, result. A leading WHERE in the condition is not doubled; an empty one drops it; the
    // WHERE of a joined sub-query is not the statement's; keywords in literals, identifiers and comments are text
    // (a backslash is ordinary: the literal ends at the quote after it); the new WHERE must not land inside a
    // line comment.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"select * from t where a = 1 and b = 2 order by b", "c = 1", "select * from t WHERE c = 1 order by b"},
        {"SELECT a FROM t WHERE x IN (SELECT y FROM u WHERE z = 1) GROUP BY a HAVING COUNT(*) > 1", "c = 1",
         "SELECT a FROM t WHERE c = 1 GROUP BY a HAVING COUNT(*) > 1"},
        {"SELECT * FROM t   ", "c = 1", "SELECT * FROM t WHERE c = 1"},
        {"SELECT a FROM t GROUP BY a LIMIT 5", "c = 1", "SELECT a FROM t WHERE c = 1 GROUP BY a LIMIT 5"},
        {"SELECT * FROM t;", "c = 1", "SELECT * FROM t WHERE c = 1;"},
        {"SELECT *\nFROM t\nWHERE a = 1\nORDER BY b", "c = 1", "SELECT *\nFROM t\nWHERE c = 1\nORDER BY b"},
        {"SELECT * FROM p JOIN (SELECT x FROM y WHERE z = 1) AS s ON s.x = p.x", "c = 1",
         "SELECT * FROM p JOIN (SELECT x FROM y WHERE z = 1) AS s ON s.x = p.x WHERE c = 1"},
        {"SELECT * FROM t WHERE a = 1", "  WHERE b = 2 ", "SELECT * FROM t WHERE b = 2"},
        {"SELECT * FROM t", "whereabouts = 1", "SELECT * FROM t WHERE whereabouts = 1"},
        {"SELECT * FROM t WHERE a = 1 ORDER BY b", "", "SELECT * FROM t ORDER BY b"},
        {"SELECT * FROM t WHERE n = 'x ORDER BY y' ORDER BY z", "c = 1", "SELECT * FROM t WHERE c = 1 ORDER BY z"},
        {"SELECT 'WHERE' AS w FROM t", "c = 1", "SELECT 'WHERE' AS w FROM t WHERE c = 1"},
        {"SELECT * FROM t WHERE n = 'it''s LIMIT 1' LIMIT 2", "c = 1", "SELECT * FROM t WHERE c = 1 LIMIT 2"},
        {"SELECT * FROM t WHERE p = 'C:\\' ORDER BY a", "c = 1", "SELECT * FROM t WHERE c = 1 ORDER BY a"},
        {"SELECT `where`, p.order FROM t AS p ORDER BY `group`", "c = 1",
         "SELECT `where`, p.order FROM t AS p WHERE c = 1 ORDER BY `group`"},
        {"SELECT \"a WHERE b\" FROM t /* WHERE x */ -- ORDER BY y\nLIMIT 3", "c = 1",
         "SELECT \"a WHERE b\" FROM t /* WHERE x */ -- ORDER BY y\nWHERE c = 1\nLIMIT 3"},
        {"SELECT * FROM t # note", "c = 1", "SELECT * FROM t # note\nWHERE c = 1"},
        {"SELECT * FROM t # note\nWHERE a = 1 ORDER BY b", "", "SELECT * FROM t # note\nORDER BY b"},
    };
    for (const auto& [sql, condition, result] : cases)
        EXPECT_EQ(ChangeSQLCondition(sql, condition), result) << sql;
}

TEST(FormatAndScripts, FormatFillsSlotsInOrderWithPointDecimalsRefusesMismatchedOnesAndScriptsSplitOnSemicolonsOutsideQuotesAndComments)
{
    QLocale::setDefault(QLocale(QLocale::Serbian, QLocale::Serbia)); // comma decimals must not leak in
    EXPECT_EQ(Format("INSERT INTO productwarehouse (productid,warehouseid,price) VALUES (%d,%d,%.13f)",
                     {12, qlonglong(3), 1234.5}),
              "INSERT INTO productwarehouse (productid,warehouseid,price) VALUES (12,3,1234.5000000000000)");
    EXPECT_EQ(Format("Ukupna vrednost: %s  Ukupna vrednost sa PDV-om: %s", {"1,234.50", "1,481.40"}),
              "Ukupna vrednost: 1,234.50  Ukupna vrednost sa PDV-om: 1,481.40");
    EXPECT_EQ(Format("%.2f %% of %d", {-0.001, 7.0}), "0.00 % of 7");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");
    QLocale::setDefault(QLocale::c());
    for (const auto& [format, args] : std::initializer_list<std::pair<const char*, QVariantList>>{
             {"%s and %s", {"one"}}, {"%s", {"one", "two"}}, {"%d", {1.5}}, {"%x", {1}}, {"100%", {}}})
        EXPECT_THROW(Format(format, args), InternalError) << format;

    // Scripts split on semicolons outside quotes and comments.
    const QString script = QStringLiteral(
        "-- header; with a semicolon\n"
        "CREATE TABLE a (x INT); # trailing; comment\n"
        "INSERT INTO a VALUES (';'), ('it''s; fine');\n"
        "/* block; comment */ SELECT `odd;name` FROM a;\n"
        "  ;  \n"
        "SELECT \"dq;\"");
    EXPECT_ROWS(splitSqlScript(script), QStringList({"CREATE TABLE a (x INT)", "INSERT INTO a VALUES (';'), ('it''s; fine')",
                                                   "SELECT `odd;name` FROM a", "SELECT \"dq;\""}));
    // Dashes and hashes inside literals are no comments.
    EXPECT_ROWS(splitSqlScript(QStringLiteral("SELECT '--x', '#y'; SELECT 2")),
              QStringList({"SELECT '--x', '#y'", "SELECT 2"}));
}
