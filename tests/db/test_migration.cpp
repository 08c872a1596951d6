// Databases made by earlier programs come up to today's schema step by step,
// with every row kept, also when a step was cut short and runs again; a
// database made by a newer program is left alone.
//
// The old database: the tiny demo shop in the schema of commit b4c07af (the
// first released one, no version recorded), dumped once with mariadb-dump.
// Its rows come from the demo generator of the time but for the input
// prices, which that generator left empty for domestic goods (so does the
// dump).

#include "BackupFile.h"
#include "ClientTools.h"
#include "Connection.h"
#include "Migration.h"
#include "Schema.h"
#include "SqlScript.h"
#include "Startup.h"
#include "TestServer.h"
#include "ScratchHelpers.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// What a program sees of a schema: tables, columns in order with their types
// and defaults, indexes, foreign keys and checks; one sorted line each,
// starting with its table's name.
QStringList describeSchema(const QSqlDatabase& db)
{
    QStringList lines;
    for (const char* sql :
         {"SELECT CONCAT_WS(' ', table_name, 'table', engine, table_collation) FROM information_schema.tables "
          "WHERE table_schema = DATABASE()",
          "SELECT CONCAT_WS(' ', table_name, 'column', ordinal_position, column_name, column_type, is_nullable, "
          "IFNULL(column_default, '-'), extra, IFNULL(collation_name, '-')) FROM information_schema.columns "
          "WHERE table_schema = DATABASE()",
          "SELECT CONCAT_WS(' ', table_name, 'index', index_name, non_unique, seq_in_index, column_name) "
          "FROM information_schema.statistics WHERE table_schema = DATABASE()",
          "SELECT CONCAT_WS(' ', k.table_name, 'foreign key', k.constraint_name, k.ordinal_position, k.column_name, "
          "k.referenced_table_name, k.referenced_column_name, r.update_rule, r.delete_rule) "
          "FROM information_schema.key_column_usage k JOIN information_schema.referential_constraints r "
          "ON r.constraint_schema = k.constraint_schema AND r.constraint_name = k.constraint_name "
          "AND r.table_name = k.table_name WHERE k.table_schema = DATABASE()",
          "SELECT CONCAT_WS(' ', table_name, 'check', constraint_name, check_clause) "
          "FROM information_schema.check_constraints WHERE constraint_schema = DATABASE()",
          "SELECT CONCAT_WS(' ', event_object_table, 'trigger', trigger_name, action_timing, event_manipulation) "
          "FROM information_schema.triggers WHERE trigger_schema = DATABASE()"})
        lines << rowsOf(db, QString::fromUtf8(sql));
    lines.sort();
    return lines;
}

using Columns = QMap<QString, QStringList>;

Columns columnsOf(const QSqlDatabase& db)
{
    Columns columns;
    for (const QString& row : rowsOf(db, QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                                                        "WHERE table_schema = DATABASE() ORDER BY table_name, ordinal_position")))
        columns[row.section(QLatin1Char('|'), 0, 0)] << row.section(QLatin1Char('|'), 1);
    return columns;
}

// Per table: the row count and a digest of every row's values in the given
// columns, independent of the rows' order.
QMap<QString, QString> contents(const QSqlDatabase& db, const Columns& columns)
{
    execSql(db, QStringLiteral("SET SESSION group_concat_max_len = 1073741824"));
    QMap<QString, QString> digests;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        QStringList quoted;
        for (const QString& name : it.value())
            quoted << QStringLiteral("QUOTE(%1)").arg(quoteIdentifier(name));
        const QString row = QStringLiteral("CONCAT_WS('|', %1)").arg(quoted.join(QStringLiteral(", ")));
        digests[it.key()] = rowsOf(db, QStringLiteral("SELECT CONCAT(COUNT(*), ' ', IFNULL(MD5(GROUP_CONCAT(%1 ORDER BY %1 "
                                                      "SEPARATOR '\\n')), '-')) FROM %2")
                                           .arg(row, quoteIdentifier(it.key())))
                                .value(0);
    }
    return digests;
}

// Per table: its description and a digest of its rows, to tell which differ.
QMap<QString, QString> tableStates(const QSqlDatabase& db)
{
    QMap<QString, QString> states = contents(db, columnsOf(db));
    for (const QString& line : describeSchema(db))
        states[line.section(QLatin1Char(' '), 0, 0)] += QLatin1Char('\n') + line;
    return states;
}

// A database of its own made by hand (not from today's schema), dropped at the end.
class ScratchDatabase {
public:
    explicit ScratchDatabase(const QString& role) : m_database(QStringLiteral("mig_") + role, false) {}
    const QString& name() const { return m_database.name(); }
    QSqlDatabase db() const { return m_database.connection(); }

    // Loads a dump compressed with gzip through MariaDB's own client, which
    // reads the dump's session settings as mariadb-dump wrote them.
    void load(const QString& gzipDump)
    {
        ClientOptions options(serverSettings());
        QProcess gunzip;
        QProcess client;
        gunzip.setStandardOutputProcess(&client);
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.start(clientProgram(QStringLiteral("mariadb")), options.arguments() << name());
        gunzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), gzipDump});
        ASSERT_TRUE(gunzip.waitForFinished(60000) && gunzip.exitCode() == 0) << gzipDump.toStdString();
        ASSERT_TRUE(client.waitForFinished(60000) && client.exitCode() == 0) << client.readAll().toStdString();
    }

    // The tables and rows of another database (its states given): only the
    // tables that differ are made again.
    void copyFrom(const QString& other, const QMap<QString, QString>& otherStates)
    {
        const QMap<QString, QString> states = tableStates(db());
        for (auto it = states.begin(); it != states.end(); ++it)
            if (otherStates.value(it.key()) != it.value())
                execSql(db(), QStringLiteral("DROP TABLE %1").arg(quoteIdentifier(it.key())));
        for (auto it = otherStates.begin(); it != otherStates.end(); ++it) {
            if (states.value(it.key()) == it.value())
                continue;
            const QString source = quoteIdentifier(other) + QLatin1Char('.') + quoteIdentifier(it.key());
            execSql(db(), QStringLiteral("CREATE TABLE %1 LIKE %2").arg(quoteIdentifier(it.key()), source));
            execSql(db(), QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(quoteIdentifier(it.key()), source));
        }
    }

private:
    TestDatabase m_database;
};

class MigrationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_old = std::make_unique<ScratchDatabase>(QStringLiteral("old"));
        s_old->load(QStringLiteral(TARVEX_B4C07AF_DUMP));
        s_oldStates = tableStates(s_old->db());
        s_fresh = std::make_unique<TestDatabase>(QStringLiteral("mig_fresh"));
    }
    static void TearDownTestSuite()
    {
        s_old.reset();
        s_fresh.reset();
    }
    static inline std::unique_ptr<ScratchDatabase> s_old;
    static inline QMap<QString, QString> s_oldStates;
    static inline std::unique_ptr<TestDatabase> s_fresh;
};

} // namespace

TEST_F(MigrationTest, TheFirstReleasedSchemaComesUpToTodaysWithEveryRowKeptAfterTheBackupHook)
{
    const QStringList today = describeSchema(s_fresh->connection());
    EXPECT_EQ(databaseSchemaVersion(s_fresh->connection()), programSchemaVersion());
    ASSERT_GE(programSchemaVersion(), 2);

    ScratchDatabase shop(QStringLiteral("up"));
    shop.copyFrom(s_old->name(), s_oldStates);
    EXPECT_EQ(databaseSchemaVersion(shop.db()), 1);
    const Columns old = columnsOf(shop.db());
    const QMap<QString, QString> before = contents(shop.db(), old);
    ASSERT_EQ(before.value(QStringLiteral("product")).section(' ', 0, 0), "60");
    ASSERT_EQ(before.value(QStringLiteral("documentitem")).section(' ', 0, 0), "1500");

    // The hook runs first, on the untouched database: a backup there is of the old data.
    QList<std::pair<int, int>> hooks;
    QMap<QString, QString> seenByHook;
    EXPECT_EQ(migrateSchema(shop.db(),
                            [&](int from, int to) {
                                hooks.append({from, to});
                                seenByHook = contents(shop.db(), old);
                            }),
              1);
    EXPECT_ROWS(hooks, (QList<std::pair<int, int>>{{1, programSchemaVersion()}}));
    EXPECT_EQ(seenByHook, before);

    EXPECT_EQ(databaseSchemaVersion(shop.db()), programSchemaVersion());
    EXPECT_ROWS(describeSchema(shop.db()), today);
    const QMap<QString, QString> after = contents(shop.db(), old);
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    // Each version it went through is recorded once.
    QStringList steps;
    for (int version = 2; version <= programSchemaVersion(); ++version)
        steps << QString::number(version);
    EXPECT_EQ(rowsOf(shop.db(), QStringLiteral("SELECT version FROM schemaversion ORDER BY version")), steps);

    // The next start finds nothing to do and backs nothing up.
    hooks.clear();
    EXPECT_EQ(migrateSchema(shop.db(), [&](int from, int to) { hooks.append({from, to}); }), programSchemaVersion());
    EXPECT_TRUE(hooks.isEmpty());
}

// A crash may stop a step after any of its statements; the next start runs
// the step again from its first and must end where an uncut run ends.
TEST_F(MigrationTest, EveryStepRunsAgainAfterACrashAfterAnyOfItsStatements)
{
    const QStringList today = describeSchema(s_fresh->connection());
    const Columns old = columnsOf(s_old->db());
    const QMap<QString, QString> before = contents(s_old->db(), old);
    ScratchDatabase shop(QStringLiteral("cut"));
    for (const MigrationStep& step : migrationSteps()) {
        const QStringList statements = splitSqlScript(step.script);
        for (int done = 1; done <= statements.size(); ++done) {
            SCOPED_TRACE(QStringLiteral("%1 cut after statement %2: %3")
                             .arg(step.name)
                             .arg(done)
                             .arg(statements[done - 1].left(80))
                             .toStdString());
            shop.copyFrom(s_old->name(), s_oldStates);
            migrateSchema(shop.db(), {}, step.version - 1);
            for (int i = 0; i < done; ++i)
                execSql(shop.db(), statements[i]);
            migrateSchema(shop.db());
            ASSERT_ROWS(describeSchema(shop.db()), today);
            const QMap<QString, QString> after = contents(shop.db(), old);
            for (auto it = before.begin(); it != before.end(); ++it)
                ASSERT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
        }
    }
}

// What the first step changes beyond adding: a repeated link is kept once, a
// PLU two products shared stays with the first of them.
TEST_F(MigrationTest, TheFirstStepKeepsARepeatedLinkOnceAndASharedPluWithTheFirstProduct)
{
    ScratchDatabase shop(QStringLiteral("dup"));
    shop.copyFrom(s_old->name(), s_oldStates);
    execSql(shop.db(), QStringLiteral("INSERT INTO productcategorypr SELECT * FROM productcategorypr WHERE productid = 1"));
    execSql(shop.db(), QStringLiteral("INSERT INTO productalter VALUES (1, 7), (1, 7), (2, 7)"));
    execSql(shop.db(), QStringLiteral("UPDATE product SET kasaplu = 4242 WHERE productid IN (3, 5, 9)"));
    const QString links = QStringLiteral("SELECT CONCAT(productid, ':', categoryprid) FROM productcategorypr "
                                         "WHERE productid = 1 ORDER BY categoryprid");
    const QStringList oneEach = rowsOf(shop.db(), QStringLiteral("SELECT DISTINCT CONCAT(productid, ':', categoryprid) "
                                                                 "FROM productcategorypr WHERE productid = 1 "
                                                                 "ORDER BY categoryprid"));
    ASSERT_FALSE(oneEach.isEmpty());
    migrateSchema(shop.db());
    EXPECT_EQ(rowsOf(shop.db(), links), oneEach);
    EXPECT_ROWS(rowsOf(shop.db(), QStringLiteral("SELECT CONCAT(productid, ':', groupid) FROM productalter "
                                               "WHERE groupid = 7 ORDER BY productid")),
              QStringList({"1:7", "2:7"}));
    EXPECT_ROWS(rowsOf(shop.db(), QStringLiteral("SELECT CONCAT(productid, ':', IFNULL(kasaplu, '-')) FROM product "
                                               "WHERE productid IN (3, 5, 9) ORDER BY productid")),
              QStringList({"3:4242", "5:-", "9:-"}));
}

// Rows left pointing at a deleted tax rate or warehouse (deletes made before
// the guards) do not stop the foreign keys: they stay, editable, and no new
// such row can be made.
TEST_F(MigrationTest, TheForeignKeysComeInOverRowsAlreadyPointingAtNothingAndRefuseNewOnes)
{
    ScratchDatabase shop(QStringLiteral("orphan"));
    shop.copyFrom(s_old->name(), s_oldStates);
    const QSqlDatabase db = shop.db();
    const qint64 variant = 41;  // variants have no key to the variant table
    for (const QString& sql : {QStringLiteral("UPDATE product SET taxid = 999 WHERE productid = 1"),
                               QStringLiteral("INSERT INTO productwarehouse (productid, warehouseid) VALUES (1, 998)"),
                               QStringLiteral("INSERT INTO productattributewarehouse (productattributeid, warehouseid) "
                                              "VALUES (%1, 998)").arg(variant)})
        execSql(db, sql);
    migrateSchema(db);
    ASSERT_EQ(databaseSchemaVersion(db), programSchemaVersion());

    for (const auto& [sql, kept] : {std::pair{"SELECT taxid FROM product WHERE productid = 1", "999"},
                                    {"SELECT COUNT(*) FROM productwarehouse WHERE warehouseid = 998", "1"},
                                    {"SELECT COUNT(*) FROM productattributewarehouse WHERE warehouseid = 998", "1"}})
        EXPECT_ROWS(rowsOf(db, QString::fromUtf8(sql)), QStringList{kept}) << sql;
    execSql(db, QStringLiteral("UPDATE product SET name = 'Preimenovan' WHERE productid = 1"));
    execSql(db, QStringLiteral("UPDATE productwarehouse SET amount = 3 WHERE productid = 1 AND warehouseid = 998"));

    const qint64 usedTax = scalar(db, QStringLiteral("SELECT taxid FROM product WHERE productid = 2")).toLongLong();
    const qint64 usedWarehouse =
        scalar(db, QStringLiteral("SELECT MIN(warehouseid) FROM productwarehouse WHERE warehouseid <> 998")).toLongLong();
    const std::pair<QString, int> refused[] = {
        {QStringLiteral("INSERT INTO productwarehouse (productid, warehouseid) VALUES (2, 998)"), 1452},
        {QStringLiteral("INSERT INTO productattributewarehouse (productattributeid, warehouseid) VALUES (%1, 997)")
             .arg(variant),
         1452},
        {QStringLiteral("UPDATE product SET taxid = 999 WHERE productid = 2"), 1452},
        {QStringLiteral("DELETE FROM tax WHERE taxid = %1").arg(usedTax), 1451},
        {QStringLiteral("DELETE FROM warehouse WHERE warehouseid = %1").arg(usedWarehouse), 1451},
    };
    for (const auto& [sql, code] : refused)
        EXPECT_EQ(thrownCode([&db, &sql = sql] { execSql(db, sql); }), code) << sql.toStdString();
}

// A database a newer program made: refused before any write, naming both
// versions; the console does not open on it.
TEST_F(MigrationTest, ADatabaseOfANewerProgramIsRefusedNamingBothVersionsAndStaysAsItWas)
{
    TestDatabase newer(QStringLiteral("mig_newer"));
    const int future = programSchemaVersion() + 3;
    recordSchemaVersion(newer.connection(), future);
    const QStringList schema = describeSchema(newer.connection());
    const QString versionsSql = "SELECT CONCAT(version, ' ', applied) FROM schemaversion ORDER BY version";
    const QStringList versions = rowsOf(newer.connection(), versionsSql);
    const QString expected = SCHEMA_TOO_NEW_ERR.arg(newer.name()).arg(future).arg(programSchemaVersion());

    bool hooked = false;
    EXPECT_EQ(thrownText<SchemaVersionError>(
                  [&] { migrateSchema(newer.connection(), [&](int, int) { hooked = true; }); }),
              expected);
    EXPECT_FALSE(hooked);

    StartupSettings settings;
    settings.embedded = false;
    settings.connection = newer.settings();
    std::unique_ptr<PrivateServer> none;
    EXPECT_EQ(thrownText([&] { openStartupDatabase(settings, nullptr, none); }), expected);
    EXPECT_EQ(describeSchema(newer.connection()), schema);
    EXPECT_EQ(rowsOf(newer.connection(), versionsSql), versions);
    EXPECT_TRUE(expected.contains(QString::number(future)));
    EXPECT_TRUE(expected.contains(QString::number(programSchemaVersion())));
}

// The console backs an older database up before it upgrades it: the backup
// is of that database at its old version (that a backup holds every row is
// test_backup's). Without a backup there is no upgrade.
TEST_F(MigrationTest, TheConsoleBacksUpAnOlderDatabaseBeforeTheUpgradeAndUpgradesNothingWithoutABackup)
{
    ScratchDatabase shop(QStringLiteral("pre"));
    shop.copyFrom(s_old->name(), s_oldStates);
    StartupSettings settings;
    settings.embedded = false;
    settings.connection = serverSettings();
    settings.connection.database = shop.name();
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    std::unique_ptr<PrivateServer> none;

    // The backup cannot be written: the database stays at its version.
    qputenv("XDG_DATA_HOME", "/dev/null/nowhere");
    EXPECT_THROW(openStartupDatabase(settings, nullptr, none), BackupError);
    EXPECT_EQ(databaseSchemaVersion(shop.db()), 1);

    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    openStartupDatabase(settings, nullptr, none);
    if (dataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(databaseSchemaVersion(shop.db()), programSchemaVersion());

    const QDir backups(home.filePath(QStringLiteral("tarvex/backups")));
    const QStringList files = backups.entryList({QStringLiteral("*.tvxb")});
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().endsWith(QStringLiteral("-pre-nadogradnje-1-na-%1.tvxb").arg(programSchemaVersion())))
        << files.first().toStdString();
    const BackupManifest manifest = BackupFileReader(backups.filePath(files.first())).check();
    EXPECT_EQ(manifest.database, shop.name());
    EXPECT_EQ(manifest.schemaVersion, 1);
}
