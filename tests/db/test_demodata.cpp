#include "Connection.h"
#include "DatabaseError.h"
#include "DemoCatalogue.h"
#include "DemoData.h"
#include "DemoRandom.h"
#include "DemoSql.h"
#include "DemoTarget.h"
#include "Schema.h"
#include "TestServer.h"

#include <QCryptographicHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

const QDate kLastDay(2025, 3, 14);
const quint32 kSeed = 7;

using Key = QPair<qint64, qint64>; // product, warehouse

QSqlQuery run(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw std::runtime_error(sql.toStdString());
    return query;
}

QMap<Key, double> balances(QSqlDatabase db, const QString& sql)
{
    QMap<Key, double> result;
    QSqlQuery query = run(db, sql);
    while (query.next())
        result[{query.value(0).toLongLong(), query.value(1).toLongLong()}] = query.value(2).toDouble();
    return result;
}

double round6(double value)
{
    return std::round(value * 1e6) / 1e6;
}

// Pairs whose quantities differ (a missing pair counts as zero).
QStringList differences(const QMap<Key, double>& expected, const QMap<Key, double>& actual)
{
    QSet<Key> keys;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        keys.insert(it.key());
    for (auto it = actual.begin(); it != actual.end(); ++it)
        keys.insert(it.key());
    QStringList wrong;
    for (const Key& key : keys) {
        const double a = round6(expected.value(key, 0.0));
        const double b = round6(actual.value(key, 0.0));
        if (a != b)
            wrong << QStringLiteral("product %1 warehouse %2: %3 vs %4").arg(key.first).arg(key.second).arg(a).arg(b);
    }
    return wrong;
}

// A digest of every row of the tables that carry most of the data.
QByteArray checksum(QSqlDatabase db)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QStringList tables = {"tax", "warehouse", "categorypr", "partner", "product", "productdetail",
                                "productcategorypr", "productwarehouse", "document", "documentitem", "docfinitem"};
    for (const QString& table : tables) {
        QSqlQuery query = run(db, QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(table));
        while (query.next()) {
            for (int i = 0; i < query.record().count(); ++i) {
                const QVariant value = query.value(i);
                hash.addData(value.isNull() ? QByteArray("\x01") : value.toString().toUtf8());
                hash.addData(QByteArray("\x00", 1));
            }
        }
    }
    return hash.result();
}

QStringList indexes(QSqlDatabase db, const QString& table = QString())
{
    QStringList result;
    QSqlQuery query = run(db, "SELECT TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX, COLUMN_NAME, NON_UNIQUE, SUB_PART "
                              "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE()" +
                                  (table.isEmpty() ? QString() : " AND TABLE_NAME = '" + table + "'") +
                                  " ORDER BY 1, 2, 3");
    while (query.next())
        result << QStringList{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                              query.value(3).toString(), query.value(4).toString(), query.value(5).toString()}
                      .join('.');
    return result;
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

TEST_F(DemoDataTest, ReportCountsTheRowsInTheTables)
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
}

TEST_F(DemoDataTest, StockRowsEqualTheDocumentBalance)
{
    const QMap<Key, double> documents = balances(
        db(), "SELECT di.productid, w.warehouseid, "
              "SUM(IF(d.direction = 1 OR (d.documenttype = 'I' AND d.inwarehouseid = w.warehouseid),di.quantity,0)) - "
              "SUM(IF(d.direction = -1 AND (d.warehouseid = w.warehouseid),di.quantity,0)) "
              "FROM documentitem AS di LEFT JOIN document AS d ON di.documentid = d.documentid "
              "LEFT JOIN warehouse AS w ON ((d.warehouseid = w.warehouseid) OR (d.inwarehouseid = w.warehouseid)) "
              "WHERE d.documenttype IN ('R','K','V','L','F','T','G','M','I','C','W') AND d.status = 'p' "
              "GROUP BY w.warehouseid, di.productid");
    const QMap<Key, double> stock = balances(db(), "SELECT productid, warehouseid, amount FROM productwarehouse");
    EXPECT_EQ(QStringList(), differences(documents, stock));
    EXPECT_GT(count("SELECT COUNT(*) FROM productwarehouse WHERE amount > 0"),
              count("SELECT COUNT(*) FROM productwarehouse") / 2);
}

TEST_F(DemoDataTest, StockRowsEqualTheStockCardBalance)
{
    const QMap<Key, double> cards = balances(
        db(), "SELECT dfi.productid, dfi.warehouseid, SUM(dfi.inquantity) - SUM(dfi.outquantity) "
              "FROM docfinitem AS dfi LEFT JOIN document AS d ON dfi.documentid = d.documentid "
              "WHERE d.documentdate <= '" + kLastDay.toString(Qt::ISODate) + "' "
              "GROUP BY dfi.productid, dfi.warehouseid");
    const QMap<Key, double> stock = balances(db(), "SELECT productid, warehouseid, amount FROM productwarehouse");
    EXPECT_EQ(QStringList(), differences(cards, stock));
    // Where stock is held, the card values it at a price above zero.
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM (SELECT SUM(debit) - SUM(credit) AS value, "
                       "SUM(inquantity) - SUM(outquantity) AS quantity FROM docfinitem "
                       "GROUP BY productid, warehouseid) AS c WHERE c.quantity > 0.0001 AND c.value <= 0"));
    // The value leaves with the last unit.
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM (SELECT SUM(debit) - SUM(credit) AS value, "
                       "SUM(inquantity) - SUM(outquantity) AS quantity FROM docfinitem "
                       "GROUP BY productid, warehouseid) AS c WHERE ABS(c.quantity) < 0.0001 AND ABS(c.value) > 0.001"));
    EXPECT_GT(count("SELECT COUNT(*) FROM productwarehouse WHERE amount = 0"), 0);
}

TEST_F(DemoDataTest, StockNeverRunsBelowZero)
{
    QMap<Key, double> running;
    QSqlQuery query = run(db(), "SELECT productid, warehouseid, inquantity - outquantity FROM docfinitem "
                                "ORDER BY documentid, docfinitemid");
    int entries = 0;
    while (query.next()) {
        const Key key{query.value(0).toLongLong(), query.value(1).toLongLong()};
        running[key] += query.value(2).toDouble();
        ASSERT_GE(round6(running[key]), 0.0) << "product " << key.first << " warehouse " << key.second;
        ++entries;
    }
    EXPECT_GT(entries, 1000);
}

TEST_F(DemoDataTest, ProductsHaveValidUniqueBarcodesCodesAndSerbianNames)
{
    QSet<QString> barcodes;
    QSet<QString> codes;
    int serbianLetters = 0;
    QSqlQuery query = run(db(), "SELECT barcode, code, name, type, price FROM product");
    while (query.next()) {
        const QString barcode = query.value(0).toString();
        if (query.value(3).toString() != "u") {
            EXPECT_TRUE(barcode.size() == 13 && QRegularExpression("^\\d+$").match(barcode).hasMatch() &&
                        demo::DemoCatalogue::ean13CheckDigit(barcode.left(12)) == barcode.mid(12).toInt())
                << barcode.toStdString();
            EXPECT_FALSE(barcodes.contains(barcode)) << barcode.toStdString();
            barcodes.insert(barcode);
        }
        EXPECT_FALSE(codes.contains(query.value(1).toString()));
        codes.insert(query.value(1).toString());
        if (query.value(2).toString().contains(QRegularExpression(QString::fromUtf8("[čćšžđČĆŠŽĐ]"))))
            ++serbianLetters;
        const double price = query.value(4).toDouble();
        EXPECT_EQ(std::round(price * 100) / 100, price);
    }
    EXPECT_GT(barcodes.size(), 50);
    EXPECT_GT(serbianLetters, 5);
    EXPECT_GE(count("SELECT COUNT(*) FROM product WHERE type = 'u'"), 1);
    EXPECT_GE(count("SELECT COUNT(*) FROM product WHERE type = 'p'"), 1);
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM product p LEFT JOIN productdetail d ON d.productid = p.productid "
                       "WHERE d.productid IS NULL"));
    // Services are not kept in stock.
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM productwarehouse pw JOIN product p ON p.productid = pw.productid "
                       "WHERE p.type = 'u'"));
}

// Statements that count the rows breaking a rule of the demo shop: each must find none.
TEST_F(DemoDataTest, ReferenceDataCategoriesAndStockRowsKeepTheirRules)
{
    const char* const broken[] = {
        // One primary tax (20 %), currency (RSD) and warehouse; the fixed warehouses 1..23 of two price types.
        "SELECT COUNT(*) <> 1 FROM tax WHERE status = 'primary' AND value = 20",
        "SELECT COUNT(*) <> 3 FROM tax WHERE value IN (0, 10, 20)",
        "SELECT COUNT(*) <> 1 FROM currency WHERE status = 'primary'",
        "SELECT COUNT(*) = 0 FROM currency WHERE status = 'primary' AND code = 'RSD'",
        "SELECT COUNT(*) <= 20 FROM currencyexchange ce JOIN exchangelist el "
        "ON el.exchangelistid = ce.exchangelistid WHERE ce.code1 = 'EUR' AND ce.code2 = 'RSD'",
        "SELECT COUNT(*) <> 23 OR COUNT(DISTINCT pricetype) <> 2 FROM warehouse WHERE warehouseid BETWEEN 1 AND 23",
        "SELECT COUNT(*) <> 1 FROM warehouse WHERE status = 'primary'",
        "SELECT COUNT(*) = 0 FROM warehouse WHERE active = 0",
        "SELECT (SELECT COUNT(*) FROM kasagroup) * (SELECT COUNT(*) FROM depreciationgroup) * "
        "(SELECT COUNT(*) FROM depreciationaccountinggroup) = 0",
        "SELECT COUNT(*) < 3 FROM attributepr",
        // Attribute values sit at positions 1..n of their attribute.
        "SELECT COUNT(*) FROM (SELECT attributeprid, MIN(sort) AS low, MAX(sort) AS high, "
        "COUNT(DISTINCT sort) AS n FROM attributeprvalue GROUP BY attributeprid) AS a WHERE a.low <> 1 OR a.high <> a.n",
        // At least three top categories; every parent exists, nothing sits below the third level.
        "SELECT COUNT(*) < 3 FROM categorypr WHERE parentid = 0",
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
        // Document numbers and PLUs are unique; some products have a PLU.
        "SELECT COUNT(*) FROM (SELECT documenttype, number FROM document GROUP BY documenttype, number "
        "HAVING COUNT(*) > 1) AS d",
        "SELECT COUNT(*) FROM (SELECT kasaplu FROM product WHERE kasaplu IS NOT NULL GROUP BY kasaplu "
        "HAVING COUNT(*) > 1) AS k",
        "SELECT COUNT(*) = 0 FROM product WHERE kasaplu IS NOT NULL",
    };
    for (const char* sql : broken)
        EXPECT_EQ(0, count(sql)) << sql;
}

TEST_F(DemoDataTest, DocumentsOfEveryKindMoveStockTheWayTheirKindDoes)
{
    EXPECT_EQ(11, count("SELECT COUNT(DISTINCT documenttype) FROM document WHERE status = 'p' "
                        "AND documenttype IN ('R','K','V','L','F','T','G','M','I','C','W')"));
    EXPECT_GE(count("SELECT COUNT(*) FROM document WHERE status <> 'p'"), 1);
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE documenttype IN ('R','M','I','W','V','F','T') "
                       "AND status = 'p' AND direction <> -1"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE documenttype IN ('K','G','L','C') AND direction <> 1"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE (documenttype = 'I') <> (inwarehouseid IS NOT NULL)"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE documenttype = 'I' AND inwarehouseid = warehouseid"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM documentitem di JOIN document d ON d.documentid = di.documentid "
                       "WHERE d.documenttype = 'W' AND di.quantity >= 0"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE documenttype = 'G' AND documentdate <> '" +
                       kLastDay.addYears(-2).toString(Qt::ISODate) + "'"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE documentdate < '" +
                       kLastDay.addYears(-2).toString(Qt::ISODate) + "' OR documentdate > '" +
                       kLastDay.toString(Qt::ISODate) + "'"));
    // Mostly not returns, and the partner's own name on most documents.
    const qint64 documents = count("SELECT COUNT(*) FROM document");
    EXPECT_GT(count("SELECT COUNT(*) FROM document WHERE docreturn = 'n'"), documents * 9 / 10);
    EXPECT_GT(count("SELECT COUNT(*) FROM document WHERE partnername IS NULL"), documents / 2);
    EXPECT_GE(count("SELECT COUNT(*) FROM document WHERE partnername IS NOT NULL"), 1);
    // Goods from suppliers always name the supplier (the last-supply rule reads it).
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document WHERE documenttype IN ('K','W') AND partnerid IS NULL"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM documentitem di JOIN document d ON d.documentid = di.documentid "
                       "WHERE d.documenttype = 'I' AND di.quantity <= 0"));
    // Documents are numbered in date order.
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM document a JOIN document b ON b.documentid = a.documentid + 1 "
                       "WHERE b.documentdate < a.documentdate"));
}

TEST_F(DemoDataTest, EveryPostedLineHasItsStockCardEntries)
{
    // One entry per line in its warehouse, two for a transfer, none for a draft.
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM (SELECT d.documentid, d.documenttype, d.status, "
                       "(SELECT COUNT(*) FROM documentitem di WHERE di.documentid = d.documentid) AS items, "
                       "(SELECT COUNT(*) FROM docfinitem f WHERE f.documentid = d.documentid) AS cards "
                       "FROM document d) AS x WHERE x.cards <> IF(x.status <> 'p', 0, "
                       "IF(x.documenttype = 'I', 2, 1) * x.items)"));
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM docfinitem f JOIN document d ON d.documentid = f.documentid "
                       "WHERE f.warehouseid <> d.warehouseid AND NOT (f.warehouseid <=> d.inwarehouseid)"));
}

TEST_F(DemoDataTest, SameSeedGivesTheSameDataAnotherSeedOther)
{
    TestDatabase same("demodata_same");
    TestDatabase other("demodata_other");
    QSqlDatabase sameDb = same.connection();
    QSqlDatabase otherDb = other.connection();
    const QStringList schemaIndexes = indexes(sameDb);
    generateDemoData(sameDb, DemoScale::tiny(), kSeed, kLastDay);
    generateDemoData(otherDb, DemoScale::tiny(), kSeed + 1, kLastDay);
    const QByteArray mine = checksum(db());
    EXPECT_EQ(mine.toHex().toStdString(), checksum(sameDb).toHex().toStdString());
    EXPECT_NE(mine.toHex().toStdString(), checksum(otherDb).toHex().toStdString());

    // The big tables load without their indexes, which are built afterwards.
    EXPECT_GT(schemaIndexes.size(), 20);
    EXPECT_EQ(schemaIndexes, indexes(db()));
}

TEST_F(DemoDataTest, RefusesADatabaseThatHasProducts)
{
    QSqlDatabase connection = db();
    EXPECT_THROW(generateDemoData(connection, DemoScale::tiny(), kSeed, kLastDay), DemoDataError);
    EXPECT_EQ(QString("tiny"), demoFillScale(connection));
    EXPECT_EQ(60, count("SELECT COUNT(*) FROM product"));
}

TEST(DemoScaleTest, UnknownScaleNamesAreRefused)
{
    EXPECT_LT(DemoScale::named("tiny").documentLines, DemoScale::named("small").documentLines);
    EXPECT_THROW(DemoScale::named("giant"), DemoDataError);
}

// ---------------------------------------------------------------- the writer

// A database for scratch tables and for creating and dropping others.
class DemoSupportTest : public DatabaseTest {
protected:
    void SetUp() override { m_name = QString("t_demotarget_%1").arg(::getpid()); }
    void TearDown() override
    {
        QSqlDatabase connection = db();
        dropDatabase(connection, m_name);
        execSql(connection, "USE " + quoteIdentifier(database().name()));
    }

    QString m_name; // the database the target tests prepare
};

TEST_F(DemoSupportTest, RowsGoOutInBatchesAndReadBackExactly)
{
    QSqlDatabase connection = db();
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
    ASSERT_EQ(1, writer.rowCounts().size());
    EXPECT_EQ(QString("scratch"), writer.rowCounts().first().first);
    EXPECT_EQ(6001, writer.rowCounts().first().second);
    EXPECT_EQ(6001, scalar(connection, "SELECT COUNT(*) FROM scratch").toInt());
    EXPECT_EQ(awkward, scalar(connection, "SELECT label FROM scratch WHERE id = 1").toString());
    EXPECT_TRUE(scalar(connection, "SELECT label FROM scratch WHERE id = 2").isNull());
    EXPECT_EQ(-0.05, scalar(connection, "SELECT amount FROM scratch WHERE id = 1").toDouble());
    EXPECT_EQ(1.25, scalar(connection, "SELECT amount FROM scratch WHERE id = 2").toDouble());
    EXPECT_EQ(60.01, scalar(connection, "SELECT amount FROM scratch WHERE id = 6001").toDouble());
}

TEST(DemoNumberTextTest, WholeNumbersOfHundredthsOrThousandthsBecomeDecimalText)
{
    const std::tuple<qint64, int, const char*> cases[] = {{0, 2, "0"}, {5, 2, "0.05"}, {-5, 2, "-0.05"},
        {120, 2, "1.2"}, {100, 2, "1"}, {-123456, 3, "-123.456"}, {1171500, 4, "117.15"}, {42, 0, "42"}};
    for (const auto& [value, decimals, text] : cases)
        EXPECT_EQ(QString(text), demo::scaledText(value, decimals));
}

TEST_F(DemoSupportTest, DeferredIndexesComeBackAsTheyWere)
{
    QSqlDatabase connection = db();
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

// ------------------------------------------------------- chance and the model

TEST(DemoRandomTest, SameSeedAndStreamGiveTheSameNumbers)
{
    demo::DemoRandom a(11, 1);
    demo::DemoRandom b(11, 1);
    demo::DemoRandom otherStream(11, 2);
    demo::DemoRandom otherSeed(12, 1);
    int sameAsOtherStream = 0;
    int sameAsOtherSeed = 0;
    for (int i = 0; i < 100; ++i) {
        const quint64 x = a.next();
        EXPECT_EQ(x, b.next());
        sameAsOtherStream += x == otherStream.next();
        sameAsOtherSeed += x == otherSeed.next();
    }
    EXPECT_EQ(0, sameAsOtherStream);
    EXPECT_EQ(0, sameAsOtherSeed);
}

TEST(DemoRandomTest, RangesIncludeBothEndsAndZeroWeightsAreNeverChosen)
{
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

TEST(DemoCatalogueTest, CheckDigitsOfKnownBarcodes)
{
    EXPECT_EQ(1, demo::DemoCatalogue::ean13CheckDigit("400638133393"));
    EXPECT_EQ(7, demo::DemoCatalogue::ean13CheckDigit("590123412345"));
    EXPECT_EQ(0, demo::DemoCatalogue::ean13CheckDigit("000000000000"));
}

// ------------------------------------------------------ choosing the database

TEST_F(DemoSupportTest, MissingOrBareDatabasesAreMadeReadyToFill)
{
    QSqlDatabase connection = db();
    EXPECT_EQ(DemoTargetAction::Fill, prepareDemoTarget(connection, m_name, false));
    EXPECT_EQ(m_name, scalar(connection, "SELECT DATABASE()").toString());
    EXPECT_EQ(0, scalar(connection, "SELECT COUNT(*) FROM product").toInt());

    dropDatabase(connection, m_name);
    createDatabase(connection, m_name);
    EXPECT_EQ(DemoTargetAction::Fill, prepareDemoTarget(connection, m_name, true));
    EXPECT_EQ(0, scalar(connection, "SELECT COUNT(*) FROM product").toInt());
}

TEST_F(DemoSupportTest, FinishedFillsAndOwnDataAreKeptAndHalfFillsRedone)
{
    QSqlDatabase connection = db();
    ASSERT_EQ(DemoTargetAction::Fill, prepareDemoTarget(connection, m_name, false));
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
}
