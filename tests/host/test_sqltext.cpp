#include "Connection.h"
#include "SqlText.h"
#include "TestServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>

using namespace tarvex;
using namespace tarvex::test;

namespace {

const QStringList kAwkwardTexts = {
    QStringLiteral("O'Brien"),       QStringLiteral("''"),         QStringLiteral("C:\\slike\\"),
    QStringLiteral("\\' OR 1=1 -- "), QStringLiteral("Šećer 'Đ'"), QString(),
    QStringLiteral("a\\\\'b"),
};

QString cond(const QString& sql) { return ChangeSQLCondition(sql, QStringLiteral("c = 1")); }

} // namespace

class SqlTextDatabaseTest : public DatabaseTest {};

TEST(AddSlashes, IsTheInnerPartOfTheConnectionQuoting)
{
    for (const QString& text : kAwkwardTexts)
        EXPECT_EQ(QLatin1Char('\'') + AddSlashes(text) + QLatin1Char('\''), quoteSqlText(text)) << text.toStdString();
    EXPECT_EQ(AddSlashes(QStringLiteral("it's")), QStringLiteral("it''s"));
    EXPECT_EQ(AddSlashes(QStringLiteral("a\\b")), QStringLiteral("a\\b"));
}

TEST_F(SqlTextDatabaseTest, EscapedTextComesBackFromTheServerUnchanged)
{
    for (const QString& text : kAwkwardTexts) {
        const QString sql = QStringLiteral("SELECT '%1'").arg(AddSlashes(text));
        EXPECT_EQ(scalar(db(), sql).toString(), text) << sql.toStdString();
    }
}

TEST(ChangeSQLCondition, ReplacesAnExistingCondition)
{
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM product WHERE productid = -1")),
              QStringLiteral("SELECT * FROM product WHERE c = 1"));
    EXPECT_EQ(cond(QStringLiteral("select * from t where a = 1 and b = 2 order by b")),
              QStringLiteral("select * from t WHERE c = 1 order by b"));
    EXPECT_EQ(cond(QStringLiteral("SELECT a FROM t WHERE x IN (SELECT y FROM u WHERE z = 1) GROUP BY a HAVING "
                                  "COUNT(*) > 1 LIMIT 5")),
              QStringLiteral("SELECT a FROM t WHERE c = 1 GROUP BY a HAVING COUNT(*) > 1 LIMIT 5"));
}

TEST(ChangeSQLCondition, AddsAWhereWhereThereIsNone)
{
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t")), QStringLiteral("SELECT * FROM t WHERE c = 1"));
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t   ")), QStringLiteral("SELECT * FROM t WHERE c = 1"));
    EXPECT_EQ(cond(QStringLiteral("SELECT a FROM t GROUP BY a LIMIT 5")),
              QStringLiteral("SELECT a FROM t WHERE c = 1 GROUP BY a LIMIT 5"));
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t ORDER BY name")),
              QStringLiteral("SELECT * FROM t WHERE c = 1 ORDER BY name"));
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t;")), QStringLiteral("SELECT * FROM t WHERE c = 1;"));
    // The WHERE of a joined sub-query is not the statement's.
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM p LEFT JOIN (SELECT x FROM y WHERE z = 1) AS s ON s.x = p.x")),
              QStringLiteral("SELECT * FROM p LEFT JOIN (SELECT x FROM y WHERE z = 1) AS s ON s.x = p.x WHERE c = 1"));
}

TEST(ChangeSQLCondition, KeywordsInLiteralsIdentifiersAndCommentsAreText)
{
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t WHERE name = 'x ORDER BY y' ORDER BY z")),
              QStringLiteral("SELECT * FROM t WHERE c = 1 ORDER BY z"));
    EXPECT_EQ(cond(QStringLiteral("SELECT 'WHERE' AS w FROM t")), QStringLiteral("SELECT 'WHERE' AS w FROM t WHERE c = 1"));
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t WHERE n = 'it''s LIMIT 1' LIMIT 2")),
              QStringLiteral("SELECT * FROM t WHERE c = 1 LIMIT 2"));
    // A backslash is ordinary: the literal ends at the quote after it.
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t WHERE path = 'C:\\' ORDER BY a")),
              QStringLiteral("SELECT * FROM t WHERE c = 1 ORDER BY a"));
    EXPECT_EQ(cond(QStringLiteral("SELECT `where`, p.order FROM t AS p ORDER BY `group`")),
              QStringLiteral("SELECT `where`, p.order FROM t AS p WHERE c = 1 ORDER BY `group`"));
    EXPECT_EQ(cond(QStringLiteral("SELECT \"a WHERE b\" FROM t /* WHERE x */ -- ORDER BY y\nLIMIT 3")),
              QStringLiteral("SELECT \"a WHERE b\" FROM t /* WHERE x */ -- ORDER BY y\nWHERE c = 1\nLIMIT 3"));
    EXPECT_EQ(cond(QStringLiteral("SELECT * FROM t # note")), QStringLiteral("SELECT * FROM t # note\nWHERE c = 1"));
}

TEST(ChangeSQLCondition, KeepsLineBreaksAndHandlesTheConditionsForm)
{
    EXPECT_EQ(cond(QStringLiteral("SELECT *\nFROM t\nWHERE a = 1\nORDER BY b")),
              QStringLiteral("SELECT *\nFROM t\nWHERE c = 1\nORDER BY b"));
    EXPECT_EQ(ChangeSQLCondition(QStringLiteral("SELECT * FROM t WHERE a = 1"), QStringLiteral("  WHERE b = 2 ")),
              QStringLiteral("SELECT * FROM t WHERE b = 2"));
    // A column named like the keyword is not mistaken for it.
    EXPECT_EQ(ChangeSQLCondition(QStringLiteral("SELECT * FROM t"), QStringLiteral("whereabouts = 1")),
              QStringLiteral("SELECT * FROM t WHERE whereabouts = 1"));
    EXPECT_EQ(ChangeSQLCondition(QStringLiteral("SELECT * FROM t WHERE a = 1 ORDER BY b"), QString()),
              QStringLiteral("SELECT * FROM t ORDER BY b"));
}

TEST_F(SqlTextDatabaseTest, ProductListTextGetsTheAlternativesCondition)
{
    // The product list's own text: joins with AND inside their ON parentheses.
    const QString listSql = QStringLiteral(
        "SELECT p.*,p.price * (1+t.value/100) AS pricewithvat,(pw.price + 0.0) AS wh_price\n"
        "FROM product AS p\n"
        "  LEFT JOIN tax AS t ON p.taxid = t.taxid\n"
        "  LEFT JOIN productwarehouse AS pw ON (pw.productid = p.productid AND pw.warehouseid = 0)\n"
        "  LEFT JOIN productalter AS pa ON pa.productid = p.productid\n"
        "WHERE p.productid = -1");
    const QString changed = ChangeSQLCondition(listSql, QStringLiteral("pa.groupid = 3 AND p.productid <> 5"));
    EXPECT_EQ(changed, listSql.left(listSql.lastIndexOf(QLatin1String("WHERE")))
                           + QStringLiteral("WHERE pa.groupid = 3 AND p.productid <> 5"));
    QSqlQuery query(db());
    EXPECT_TRUE(query.exec(changed)) << query.lastError().text().toStdString();
}

TEST(SqlNumber, PointDecimalsShortestAndNoNegativeZero)
{
    EXPECT_EQ(SqlNumber(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(SqlNumber(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(SqlNumber(-84.745762711864415), QStringLiteral("-84.74576271186442"));
    EXPECT_EQ(SqlNumber(100.0), QStringLiteral("100"));
    EXPECT_EQ(SqlNumber(-0.0), QStringLiteral("0"));
    EXPECT_EQ(SqlNumber(0.1).toDouble(), 0.1);
    EXPECT_THROW(SqlNumber(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
    EXPECT_THROW(SqlNumber(-std::numeric_limits<double>::infinity()), std::invalid_argument);
}

TEST_F(SqlTextDatabaseTest, NumbersReadBackByTheServerExactly)
{
    for (double v : {0.1, 1.0 / 3.0, -12345.6789, 1e-7, 9.87654321e15}) {
        const double back = scalar(db(), QStringLiteral("SELECT CAST(%1 AS DOUBLE)").arg(SqlNumber(v))).toDouble();
        EXPECT_EQ(back, v) << SqlNumber(v).toStdString();
    }
}
