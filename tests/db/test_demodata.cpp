#include "Barcode.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "DemoData.h"
#include "DemoRandom.h"
#include "DemoSql.h"
#include "DemoTarget.h"
#include "Schema.h"
#include "TestServer.h"

#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

const QDate kLastDay(2025, 3, 14);
const quint32 kSeed = 7;

// Product/warehouse pairs whose stock row differs from a balance computed as
// "productid, warehouseid, quantity" rows (a missing pair counts as zero).
QString stockDifferences(QSqlDatabase db, const QString& balanceSql)
{
    return scalar(db, "SELECT COALESCE(GROUP_CONCAT(CONCAT(productid, '/', warehouseid, ': ', q)), '') FROM "
                      "(SELECT productid, warehouseid, SUM(q) AS q FROM (SELECT productid, warehouseid, "
                      "-amount AS q FROM productwarehouse UNION ALL " + balanceSql + ") AS u "
                          "GROUP BY productid, warehouseid HAVING ABS(SUM(q)) > 0.000001) AS x")
        .toString();
}

// The server's checksums of the tables that carry most of the data.
QStringList checksums(QSqlDatabase db)
{
    QSqlQuery query = selectSql(db, "CHECKSUM TABLE tax, warehouse, categorypr, partner, product, productdetail, "
                                    "productcategorypr, productwarehouse, document, documentitem, docfinitem");
    QStringList sums;
    while (query.next())
        sums << query.value(1).toString();
    return sums;
}

QStringList indexes(QSqlDatabase db, const QString& table = "%")
{
    return scalar(db, "SELECT GROUP_CONCAT(CONCAT_WS('.', TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX, COLUMN_NAME, "
                      "NON_UNIQUE, IFNULL(SUB_PART, '-')) ORDER BY TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX SEPARATOR ' ') "
                      "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME LIKE '" +
                          table + "'")
        .toString()
        .split(' ');
}

} // namespace

class DemoDataTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        QSqlDatabase connection = db();
        s_report = generateDemoData(connection, DemoScale::tiny(), kSeed, kLastDay);
    }

    static qint64 count(const QString& sql) { return scalar(db(), sql).toLongLong(); }

    static DemoReport s_report;
};

DemoReport DemoDataTest::s_report;

TEST_F(DemoDataTest, ReportCountsTheRowsASecondFillIsRefusedTheDataKeepsTheShopsRulesAndTheSameSeedGivesTheSameData)
{
    for (const QString table : {"product", "productdetail", "productwarehouse", "document", "documentitem",
                                 "docfinitem", "partner", "categorypr"})
        EXPECT_EQ(s_report.rowsOf(table), count("SELECT COUNT(*) FROM " + table)) << table.toStdString();
    EXPECT_EQ(60, s_report.rowsOf("product"));
    // Lines that found nothing to issue are made up later; a few may be lost.
    EXPECT_LE(s_report.rowsOf("documentitem"), 1500);
    EXPECT_GE(s_report.rowsOf("documentitem"), 1400);
    QSqlDatabase connection = db();
    EXPECT_EQ(DemoFillState::Complete, demoFillState(connection));
    // A database that has products is refused.
    EXPECT_THROW(generateDemoData(connection, DemoScale::tiny(), kSeed, kLastDay), DemoDataError);
    EXPECT_EQ(QString("tiny"), demoFillScale(connection));
    EXPECT_EQ(60, count("SELECT COUNT(*) FROM product"));

    // Barcodes are valid (the generator's check digits read by the host) and names Serbian.
    const QStringList barcodes = rowsOf(db(), "SELECT barcode FROM product WHERE type <> 'u'");
    for (const QString& barcode : barcodes)
        EXPECT_TRUE(IsValidEan13(barcode)) << barcode.toStdString();  // the host's own reading, not the demo's
    EXPECT_GT(barcodes.size(), 50);
    EXPECT_GT(count("SELECT COUNT(*) FROM product WHERE name REGEXP '[čćšžđČĆŠŽĐ]'"), 5);

    // Statements that count the rows breaking a rule of the demo shop: each must find none.
    // Stock rows equal the document and the stock card balances.
    EXPECT_EQ("", stockDifferences(
        db(), "SELECT di.productid, w.warehouseid, "
              "SUM(IF(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0)) - "
              "SUM(IF(d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) "
              "FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = d.documentid "
              "LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR (d.inwarehouseid = w.warehouseid)) "
              "WHERE d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' "
              "GROUP BY w.warehouseid, di.productid").toStdString());
    EXPECT_EQ("", stockDifferences(
        db(), "SELECT dfi.productid, dfi.warehouseid, SUM(dfi.inquantity) - SUM(dfi.outquantity) "
              "FROM docfinitem AS dfi LEFT JOIN document AS d ON dfi.documentid = d.documentid "
              "WHERE d.documentdate <= '" + kLastDay.toString(Qt::ISODate) + "' "
              "GROUP BY dfi.productid, dfi.warehouseid").toStdString());

    const QString firstDay = kLastDay.addYears(-2).toString(Qt::ISODate);
    const QString lastDay = kLastDay.toString(Qt::ISODate);
    const QString broken[] = {
        // Products: unique barcodes and codes, prices in whole cents, goods and services, details for all.
        "SELECT COUNT(*) FROM (SELECT barcode FROM product WHERE type <> 'u' GROUP BY barcode HAVING COUNT(*) > 1) b",
        "SELECT COUNT(*) FROM (SELECT code FROM product GROUP BY code HAVING COUNT(*) > 1) AS c",
        "SELECT COUNT(*) FROM product WHERE ROUND(price, 2) <> price",
        "SELECT SUM(type = 'u') = 0 OR SUM(type = 'p') = 0 FROM product",
        "SELECT COUNT(*) FROM product p LEFT JOIN productdetail d ON d.productid = p.productid WHERE d.productid IS NULL",
        // Services are not kept in stock; most goods are in stock, some not; the card has its rows.
        "SELECT SUM(amount > 0) <= COUNT(*) DIV 2 OR SUM(amount = 0) = 0 FROM productwarehouse",
        "SELECT COUNT(*) <= 1000 FROM docfinitem",
        "SELECT COUNT(*) FROM productwarehouse pw JOIN product p ON p.productid = pw.productid WHERE p.type = 'u'",
        // One primary tax (20 %), currency (RSD) and warehouse; the fixed warehouses 1..23 of two price types.
        "SELECT COUNT(*) <> 1 FROM tax WHERE status = 'primary' AND value = 20",
        "SELECT COUNT(*) <> 1 FROM currency WHERE status = 'primary'",
        "SELECT COUNT(*) = 0 FROM currency WHERE status = 'primary' AND code = 'RSD'",
        "SELECT COUNT(*) <= 20 FROM currencyexchange ce JOIN exchangelist el "
        "ON el.exchangelistid = ce.exchangelistid WHERE ce.code1 = 'EUR' AND ce.code2 = 'RSD'",
        "SELECT COUNT(*) <> 23 OR COUNT(DISTINCT pricetype) <> 2 FROM warehouse WHERE warehouseid BETWEEN 1 AND 23",
        "SELECT COUNT(*) <> 1 FROM warehouse WHERE status = 'primary'",
        "SELECT COUNT(*) = 0 FROM warehouse WHERE active = 0",
        // Attribute values sit at positions 1..n of their attribute.
        "SELECT COUNT(*) FROM (SELECT attributeprid, MIN(sort) AS low, MAX(sort) AS high, "
        "COUNT(DISTINCT sort) AS n FROM attributeprvalue GROUP BY attributeprid) AS a WHERE a.low <> 1 OR a.high <> a.n",
        // Every parent exists, nothing sits below the third level.
        "SELECT COUNT(*) FROM categorypr c LEFT JOIN categorypr p ON p.categoryprid = c.parentid "
        "WHERE c.parentid <> 0 AND p.categoryprid IS NULL",
        "SELECT COUNT(*) FROM categorypr c JOIN categorypr p ON p.categoryprid = c.parentid "
        "JOIN categorypr g ON g.categoryprid = p.parentid WHERE g.parentid <> 0",
        // Products are linked to third-level categories; some categories limit the rebate.
        "SELECT COUNT(*) FROM product pr WHERE NOT EXISTS (SELECT 1 FROM productcategorypr pc "
        "JOIN categorypr c ON c.categoryprid = pc.categoryprid JOIN categorypr p "
        "ON p.categoryprid = c.parentid WHERE pc.productid = pr.productid AND p.parentid <> 0)",
        "SELECT COUNT(*) = 0 FROM categorypr WHERE maxrebate > 0",
        // Reservations and loans never exceed the stock they are taken from; some stock is reserved.
        "SELECT COUNT(*) FROM productwarehouse WHERE amount - reservedamount - reversedamount < 0",
        "SELECT COUNT(*) = 0 FROM productwarehouse WHERE reservedamount > 0",
        // Retail warehouses sell at the catalogue price; inactive warehouses hold no stock rows.
        "SELECT COUNT(*) FROM productwarehouse pw JOIN warehouse w ON w.warehouseid = pw.warehouseid "
        "JOIN product p ON p.productid = pw.productid WHERE w.pricetype = 'm' AND pw.price <> p.price",
        "SELECT COUNT(*) FROM productwarehouse pw JOIN warehouse w ON w.warehouseid = pw.warehouseid WHERE w.active = 0",
        // Document numbers are unique (PLUs are, by the schema's key); some products have a PLU.
        "SELECT COUNT(*) FROM (SELECT documenttype, number FROM document GROUP BY documenttype, number "
        "HAVING COUNT(*) > 1) AS d",
        "SELECT COUNT(*) = 0 FROM product WHERE kasaplu IS NOT NULL",
        // Documents of every kind, some drafts; each kind moves stock its way.
        "SELECT COUNT(DISTINCT documenttype) <> 11 FROM document WHERE status = 'p' "
        "AND documenttype IN ('R','K','V','L','F','T','G','M','I','C','W')",
        "SELECT COUNT(*) = 0 FROM document WHERE status <> 'p'",
        "SELECT COUNT(*) FROM document WHERE documenttype IN ('R','M','I','W','V','F','T') "
        "AND status = 'p' AND direction <> -1",
        "SELECT COUNT(*) FROM document WHERE documenttype IN ('K','G','L','C') AND direction <> 1",
        "SELECT COUNT(*) FROM document WHERE (documenttype = 'I') <> (inwarehouseid IS NOT NULL)",
        "SELECT COUNT(*) FROM document WHERE documenttype = 'I' AND inwarehouseid = warehouseid",
        "SELECT COUNT(*) FROM documentitem di JOIN document d ON d.documentid = di.documentid "
        "WHERE (d.documenttype = 'W' AND di.quantity >= 0) OR (d.documenttype = 'I' AND di.quantity <= 0)",
        "SELECT COUNT(*) FROM document WHERE documenttype = 'G' AND documentdate <> '" + firstDay + "'",
        "SELECT COUNT(*) FROM document WHERE documentdate < '" + firstDay + "' OR documentdate > '" + lastDay + "'",
        // Mostly not returns, and the partner's own name on most documents.
        "SELECT SUM(docreturn = 'n') <= COUNT(*) * 9 DIV 10 FROM document",
        "SELECT SUM(partnername IS NULL) <= COUNT(*) DIV 2 OR SUM(partnername IS NOT NULL) = 0 FROM document",
        // Goods from suppliers always name the supplier (the last-supply rule reads it).
        "SELECT COUNT(*) FROM document WHERE documenttype IN ('K','W') AND partnerid IS NULL",
        // Documents are numbered in date order.
        "SELECT COUNT(*) FROM document a JOIN document b ON b.documentid = a.documentid + 1 "
        "WHERE b.documentdate < a.documentdate",
        // Stock card: one entry per posted line in its warehouse, two for a transfer, none for a draft.
        "SELECT COUNT(*) FROM (SELECT d.documentid, d.documenttype, d.status, "
        "(SELECT COUNT(*) FROM documentitem di WHERE di.documentid = d.documentid) AS items, "
        "(SELECT COUNT(*) FROM docfinitem f WHERE f.documentid = d.documentid) AS cards "
        "FROM document d) AS x WHERE x.cards <> IF(x.status <> 'p', 0, IF(x.documenttype = 'I', 2, 1) * x.items)",
        "SELECT COUNT(*) FROM docfinitem f JOIN document d ON d.documentid = f.documentid "
        "WHERE f.warehouseid <> d.warehouseid AND NOT (f.warehouseid <=> d.inwarehouseid)",
        // Where stock is held, the card values it above zero; the value leaves with the last unit.
        "SELECT COUNT(*) FROM (SELECT SUM(debit) - SUM(credit) AS value, SUM(inquantity) - SUM(outquantity) AS quantity "
        "FROM docfinitem GROUP BY productid, warehouseid) AS c "
        "WHERE (c.quantity > 0.0001 AND c.value <= 0) OR (ABS(c.quantity) < 0.0001 AND ABS(c.value) > 0.001)",
        // Stock never runs below zero along the card.
        "SELECT COUNT(*) FROM (SELECT SUM(inquantity - outquantity) OVER (PARTITION BY productid, warehouseid "
        "ORDER BY documentid, docfinitemid) AS running FROM docfinitem) AS r WHERE running < -0.0000005",
    };
    for (const QString& sql : broken)
        EXPECT_EQ(0, count(sql)) << sql.toStdString();

    // The same seed gives the same data, another seed other.
    TestDatabase same("demodata_same");
    TestDatabase other("demodata_other");
    QSqlDatabase sameDb = same.connection();
    QSqlDatabase otherDb = other.connection();
    const QStringList schemaIndexes = indexes(sameDb);
    generateDemoData(sameDb, DemoScale::tiny(), kSeed, kLastDay);
    generateDemoData(otherDb, DemoScale::tiny(), kSeed + 1, kLastDay);
    const QStringList mine = checksums(db());
    EXPECT_EQ(mine, checksums(sameDb));
    EXPECT_NE(mine, checksums(otherDb));

    // The big tables load without their indexes, which are built afterwards.
    EXPECT_GT(schemaIndexes.size(), 20);
    EXPECT_EQ(schemaIndexes, indexes(db()));
}

// --------------------------------------------------- the writer and its parts

// A database for scratch tables and for creating and dropping others.
class DemoSupportTest : public DatabaseTest {
protected:
    void TearDown() override
    {
        QSqlDatabase connection = db();
        dropDatabase(connection, m_name);
        execSql(connection, "USE " + quoteIdentifier(database().name()));
    }

    const QString m_name = QString("t_demotarget_%1").arg(::getpid()); // the database the target test prepares
};

TEST(DemoPartsTest, ScaledNumbersBecomeDecimalTextUnknownScaleNamesAreRefusedAndChanceRepeatsForTheSameSeedAndStream)
{
    const std::tuple<qint64, int, const char*> cases[] = {{0, 2, "0"}, {5, 2, "0.05"}, {-5, 2, "-0.05"},
        {120, 2, "1.2"}, {100, 2, "1"}, {-123456, 3, "-123.456"}, {1171500, 4, "117.15"}, {42, 0, "42"}};
    for (const auto& [value, decimals, text] : cases)
        EXPECT_EQ(QString(text), demo::scaledText(value, decimals));
    EXPECT_LT(DemoScale::named("tiny").documentLines, DemoScale::named("small").documentLines);
    EXPECT_THROW(DemoScale::named("giant"), DemoDataError);

    // The same seed and stream give the same numbers, ranges include both
    // ends, zero weights are never chosen.
    demo::DemoRandom a(11, 1), b(11, 1), otherStream(11, 2), otherSeed(12, 1);
    int sameAsOther = 0;
    for (int i = 0; i < 100; ++i) {
        const quint64 x = a.next();
        EXPECT_EQ(x, b.next());
        sameAsOther += (x == otherStream.next()) + (x == otherSeed.next());
    }
    EXPECT_EQ(0, sameAsOther);

    demo::DemoRandom random(3, 0);
    QSet<qint64> seen;
    QSet<int> chosen;
    for (int i = 0; i < 2000; ++i) {
        const qint64 value = random.between(3, 5);
        ASSERT_TRUE(value >= 3 && value <= 5) << value;
        seen.insert(value);
        chosen.insert(random.weighted({0, 5, 0, 1}));
    }
    EXPECT_EQ(QSet<qint64>({3, 4, 5}), seen);
    EXPECT_EQ(QSet<int>({1, 3}), chosen);
    EXPECT_EQ(4, random.between(4, 4));
}


TEST_F(DemoSupportTest, MissingOrBareDatabasesAreFilledFinishedOrOwnKeptHalfFillsRedoneAndRowsAndIndexesGoOutAndComeBack)
{
    QSqlDatabase connection = db();
    EXPECT_EQ(DemoTargetAction::Fill, prepareDemoTarget(connection, m_name, false));
    EXPECT_EQ(m_name + "/0", scalar(connection, "SELECT CONCAT(DATABASE(), '/', COUNT(*)) FROM product").toString());

    dropDatabase(connection, m_name);
    createDatabase(connection, m_name);
    EXPECT_EQ(DemoTargetAction::Fill, prepareDemoTarget(connection, m_name, true));
    EXPECT_EQ(0, scalar(connection, "SELECT COUNT(*) FROM product").toInt());

    generateDemoData(connection, DemoScale::tiny(), 1, kLastDay);
    EXPECT_EQ(DemoTargetAction::KeepComplete, prepareDemoTarget(connection, m_name, true));
    EXPECT_THROW(prepareDemoTarget(connection, m_name, false), DemoDataError);

    // Stopped before the end: only then is a database dropped.
    execSql(connection, "DELETE FROM dbinifile WHERE section = 'Demo' AND name = 'Complete'");
    EXPECT_EQ(DemoTargetAction::Refill, prepareDemoTarget(connection, m_name, true));
    EXPECT_EQ(0, scalar(connection, "SELECT COUNT(*) FROM product").toInt());
    EXPECT_EQ(DemoFillState::None, demoFillState(connection));

    execSql(connection, "INSERT INTO tax (taxid, name, value, status) VALUES (1, 'PDV', 20, 'primary')");
    execSql(connection, "INSERT INTO product (productid, name, unitname, taxid, pricecurrency) "
                        "VALUES (1, 'Naš proizvod', 'kom', 1, 'RSD')");
    EXPECT_EQ(DemoTargetAction::KeepOwnData, prepareDemoTarget(connection, m_name, true));
    EXPECT_THROW(prepareDemoTarget(connection, m_name, false), DemoDataError);
    EXPECT_EQ(1, scalar(connection, "SELECT COUNT(*) FROM product").toInt());

    // Rows go out in batches and read back exactly (in the target just prepared).
    execSql(connection, "CREATE TABLE scratch (id BIGINT PRIMARY KEY, label VARCHAR(50) NULL, amount DOUBLE NOT NULL)");
    const QString awkward = QString::fromUtf8("Đorđe's \\ \"put\" čćšž");
    demo::DemoWriter writer(connection);
    demo::DemoInsert rows(writer, "scratch", "id,label,amount");
    rows.row().integer(1).text(awkward).scaled(-5, 2);
    rows.row().integer(2).optionalText(QString()).scaled(1250, 3);
    for (int id = 3; id <= 6001; ++id)
        rows.row().integer(id).text("x").scaled(id, 2);
    rows.finish();
    writer.commit();

    EXPECT_EQ(6001, rows.rowsWritten());
    EXPECT_ROWS(writer.rowCounts(), (QList<QPair<QString, qint64>>{{"scratch", 6001}}));
    EXPECT_EQ(scalar(connection, "SELECT COUNT(*) FROM scratch").toInt(), 6001);
    expectSameTable(rowsOf(connection, "SELECT id, label, amount FROM scratch WHERE id IN (1, 2, 6001) ORDER BY id"),
                    {"1|" + awkward + "|-0.05", "2|-|1.25", "6001|x|60.01"}, {"id", "label", "amount"});

    // Deferred indexes come back as they were.
    execSql(connection, "CREATE TABLE indexed (id BIGINT PRIMARY KEY, x INT NOT NULL, y INT NOT NULL, "
                        "label VARCHAR(40) NULL, KEY indexed_x (x), UNIQUE KEY indexed_yx (y, x), "
                        "KEY indexed_label (label(10)))");
    const QStringList before = indexes(connection, "indexed");
    ASSERT_EQ(5, before.size()); // the primary key and four index columns

    demo::DeferredIndexes deferred(connection, {"indexed"});
    deferred.drop();
    EXPECT_EQ(1, indexes(connection, "indexed").size());
    execSql(connection, "INSERT INTO indexed VALUES (1, 1, 1, 'a'), (2, 2, 1, 'b')");
    deferred.restore();

    EXPECT_EQ(before, indexes(connection, "indexed"));
    EXPECT_THROW(execSql(connection, "INSERT INTO indexed VALUES (3, 1, 1, 'c')"), DatabaseError);
}

