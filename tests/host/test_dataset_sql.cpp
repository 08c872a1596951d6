// SQL texts of query datasets: parameters replaced outside quoted texts and
// comments, hostile texts that go through literally, the tables behind the
// columns.
#include "Connection.h"
#include "Error.h"
#include "QueryDataSet.h"
#include "SqlScan.h"
#include "TableInfo.h"
#include "TestServer.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

class SqlTextTest : public DatabaseTest {
protected:
    Connection connection{db()};
};

} // namespace

TEST_F(SqlTextTest, ParametersAreReplacedByLiteralsOfTheirTypeHostileTextsGoThroughLiterallyAndTablesAndDefaultsAreRead)
{
    QueryDataSet q(&connection, "SELECT ':x' AS a, \"it's :x\" AS b, `:x` AS c, :x AS d /* :x */ -- :x\n"
                                "FROM (SELECT 1 AS `:x`) AS t WHERE :X = :x # :x");
    EXPECT_ROWS(q.paramNames(), QStringList({"x"}));  // names ignore letter case
    q.setParam("x", QStringLiteral("value"));
    q.open();
    for (const auto& [field, value] : {std::pair{"a", ":x"}, {"b", "it's :x"}, {"c", "1"}, {"d", "value"}})
        EXPECT_EQ(q.fieldByName(field).asString(), value) << field;

    // The connection's "?" marks: the same skipping, dates as dates both ways.
    QSqlQuery marks = connection.select("SELECT '?' AS a, ? AS b /* ? */, DATE(?) AS c",
                                        {QStringLiteral("x'?"), QDate(2024, 3, 5)});
    ASSERT_TRUE(marks.next());
    EXPECT_EQ(marks.value(0).toString(), "?");
    EXPECT_EQ(marks.value(1).toString(), "x'?");
    EXPECT_EQ(marks.value(2).toDate(), QDate(2024, 3, 5));
    EXPECT_THROW(substituteMarks("SELECT ?, ?", {1}), InternalError);

    for (const auto& [value, literal] : std::initializer_list<std::pair<QVariant, const char*>>{
             {QVariant(), "NULL"}, {1234.5, "1234.5"}, {1e-7, "0.0000001"}, {true, "1"}, {qint64(-42), "-42"},
             {QDate(2024, 3, 5), "'2024-03-05'"}, {QStringLiteral("a'b"), "'a''b'"}})
        EXPECT_EQ(sqlLiteral(value), literal) << literal;

    QueryDataSet typed(&connection, "SELECT :d AS d, :n + 0 AS n, :missing AS m, :b AS b");
    typed.setParam("D", QDate(2024, 2, 29));
    typed.setParam("n", 0.1);
    typed.setParam("b", false);
    typed.open();
    EXPECT_EQ(typed.fieldByName("d").asString(), "2024-02-29");
    EXPECT_EQ(typed.fieldByName("n").asFloat(), 0.1);
    EXPECT_TRUE(typed.fieldByName("m").isNull());
    EXPECT_EQ(typed.fieldByName("b").asInteger(), 0);

    // A list stands for its items; an empty one meets nothing.
    QueryDataSet in(&connection, "SELECT COUNT(*) AS n FROM (SELECT 1 AS v UNION SELECT 2 UNION SELECT 3) AS t "
                                 "WHERE v IN (:ids)");
    in.setParam("ids", QVariantList{1, 3});
    in.open();
    EXPECT_EQ(in.fieldByName("n").asInteger(), 2);
    in.close();
    in.setParam("ids", QVariantList{});
    in.open();
    EXPECT_EQ(in.fieldByName("n").asInteger(), 0);
    QVariantList bound;
    EXPECT_EQ(in.boundSql("WHERE v IN (:ids) AND :x", bound), "WHERE v IN (?) AND ?");
    in.setParam("ids", QVariantList{4, 5});
    EXPECT_EQ(in.boundSql("IN (:ids)", bound), "IN (?,?)");
    EXPECT_EQ(bound, QVariantList({4, 5}));

    // A new text keeps the values by name (a report reopens with its warehouse).
    typed.setSql("SELECT :N * 2 AS twice");
    typed.open();
    EXPECT_DOUBLE_EQ(typed.fieldByName("twice").asFloat(), 0.2);

    // The tables of the FROM clause with their aliases, and column defaults from the schema.
    const QList<SqlTableRef> refs = findSelectTables(
        "SELECT p.*, (SELECT COUNT(*) FROM component c WHERE c.rawid = p.productid) AS n, 'FROM fake' AS f "
        "FROM `product` AS p LEFT JOIN tax t ON p.taxid = t.taxid, db1.warehouse w "
        "INNER JOIN (SELECT * FROM partner) AS pa ON 1=1 JOIN productwarehouse ON 1=1 "
        "WHERE p.name LIKE 'x%' ORDER BY p.name");
    QStringList tables;
    for (const SqlTableRef& ref : refs)
        tables << ref.table + " " + ref.alias;
    EXPECT_ROWS(tables, QStringList({"product p", "tax t", "warehouse w", "productwarehouse productwarehouse"}));

    QStringList defaults;
    for (const char* text : {"'it''s'", "NULL", "-1.5", "current_timestamp()"}) {
        bool generated = false;
        const QVariant value = parseColumnDefault(QVariant(QString(text)), &generated);
        defaults << (value.isNull() ? "null" : value.toString()) + (generated ? " generated" : "");
    }
    EXPECT_ROWS(defaults, QStringList({"it's", "null", "-1.5", "null generated"}));
    // The keys, defaults and auto-increment column a table has: test_dataset_query's new rows and
    // composite-key writes.
    EXPECT_FALSE(connection.tableInfo("nosuchtable").exists());

    // Hostile texts go through literally and touch no other row.
    execSql(db(), "DELETE FROM productdetail");
    execSql(db(), "INSERT INTO productdetail (productid, description) VALUES (1, 'keep me'), (2, 'and me')");
    QueryDataSet details(&connection, "SELECT * FROM productdetail WHERE productid >= :first ORDER BY productid");
    details.setParam("first", 100);
    details.open();

    const QStringList texts = {"O'Brien", "''", "ends with \\", "\\' OR 1=1 -- ", "50% off_sale", "%", "_",
                               "Đorđe Čačak šećer Žabalj ćevap", ":productid", "/* not a comment */ -- nor this",
                               "\"double\" `back`", QString("before") + QChar(0) + "after", QString(5000, QChar(0x0107))};
    for (int i = 0; i < texts.size(); ++i) {
        const QString& text = texts[i];
        // Substituted into the text of a query.
        QueryDataSet echo(&connection, "SELECT :t AS t");
        echo.setParam("t", text);
        echo.open();
        EXPECT_EQ(echo.fieldByName("t").asString(), text) << i;
        // Quote-doubled by hand.
        EXPECT_EQ(scalar(db(), "SELECT " + quoteSqlText(text)).toString(), text) << i;
        // Written through a post (bound parameters), read back below.
        details.append();
        details.fieldByName("productid").setValue(100 + i);
        details.fieldByName("description").setValue(text);
        details.post();
    }
    details.refresh();
    for (int i = 0; i < texts.size(); ++i) {
        ASSERT_TRUE(details.locate("productid", 100 + i));
        EXPECT_EQ(details.fieldByName("description").asString(), texts[i]) << i;
    }
    EXPECT_ROWS(rowsOf(db(), "SELECT description FROM productdetail WHERE productid < 3 ORDER BY productid"),
                (QStringList{"keep me", "and me"}));
    EXPECT_EQ(scalar(db(), "SELECT COUNT(*) FROM productdetail").toInt(), texts.size() + 2);
}
