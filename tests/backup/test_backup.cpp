// A backup taken while a workstation keeps saving, the database dropped and
// restored: every table as the backup's manifest says, every save made
// before the backup began.

#include "BackupFixture.h"
#include "Migration.h"
#include "Schema.h"

#include <QThread>

#include <atomic>
#include <mutex>
#include <thread>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// Saves products one transaction each (a product and its stock row) until
// told to stop; lists the names whose commit returned.
class Writer {
public:
    explicit Writer(const ConnectionSettings& settings)
        : m_thread([this, settings] {
              QSqlDatabase db = openConnection(settings, QStringLiteral("bk-writer"));
              for (int n = 1; !m_stop; ++n) {
                  const QString name = QStringLiteral("Upis za vreme kopije %1").arg(n);
                  execSql(db, QStringLiteral("START TRANSACTION"));
                  execSql(db, QStringLiteral("INSERT INTO product (name, unitname, taxid, pricecurrency, price) "
                                             "VALUES (?, 'kom', 1, 'RSD', ?)"),
                          {name, 100 + n});
                  execSql(db, QStringLiteral("INSERT INTO productwarehouse (productid, warehouseid, price) "
                                             "VALUES (LAST_INSERT_ID(), 1, ?)"),
                          {100 + n});
                  execSql(db, QStringLiteral("COMMIT"));
                  std::lock_guard<std::mutex> lock(m_mutex);
                  m_saved << name;
              }
              db.close();
          })
    {
    }
    ~Writer() { stop(); }
    QStringList saved()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_saved;
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    QStringList m_saved;
    std::thread m_thread;
};

} // namespace

TEST_F(BackupTest, ABackupTakenWhileAWriterSavesRestoresEveryTableAsTheManifestSaysWithEverySaveMadeBeforeIt)
{
    QMap<QString, QString> filled = serverChecksums(shopDb());
    const QString file = s_dir->filePath(QStringLiteral("while-writing.tvxb"));

    Writer writer(s_shop->settings());
    while (writer.saved().size() < 5)
        QThread::msleep(10);
    const QStringList savedBefore = writer.saved();
    QList<int> progress;
    const BackupManifest manifest =
        DatabaseBackup(s_shop->settings(), {[&](int percent) { progress << percent; }, {}}).backup(file);
    const int savedDuring = writer.saved().size() - savedBefore.size();
    writer.stop();
    const QStringList savedAll = writer.saved();

    // The manifest lists every table of the schema (its keys in order); progress only grows, to 100.
    QStringList schema = schemaTables();
    schema.sort();
    EXPECT_ROWS(manifest.tables.keys(), schema);
    EXPECT_EQ(manifest.schemaVersion, programSchemaVersion());
    EXPECT_EQ(manifest.database, s_shop->name());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GT(savedDuring, 0) << "the writer saved nothing while the backup ran";

    {
        QSqlDatabase admin = openConnection(serverSettings(), QStringLiteral("bk-admin"));
        dropDatabase(admin, s_shop->name());
    }
    const BackupManifest restored = DatabaseRestore(s_shop->settings()).restore(file);
    // The session's database went with the drop: it takes the restored one.
    execSql(shopDb(), QStringLiteral("USE %1").arg(quoteIdentifier(s_shop->name())));
    EXPECT_EQ(restored.tables, manifest.tables);

    // Every table as the manifest says, dumped afresh from the server.
    const QMap<QString, QByteArray> now = DatabaseBackup(s_shop->settings()).tableChecksums();
    for (auto it = manifest.tables.begin(); it != manifest.tables.end(); ++it)
        EXPECT_EQ(now.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(now.size(), manifest.tables.size());

    // The server's own checksums: the tables the writer never touched are as filled.
    QSqlDatabase db = shopDb();
    const QMap<QString, QString> after = serverChecksums(db);
    for (const QString& table : differingTables(filled, after))
        EXPECT_TRUE(table == QLatin1String("product") || table == QLatin1String("productwarehouse"))
            << table.toStdString();

    // Each save reported before the backup began is there, whole; none that was never made.
    const QStringList present = rowsOf(db, QStringLiteral("SELECT name FROM product WHERE name LIKE 'Upis za vreme kopije %'"));
    for (const QString& name : savedBefore)
        EXPECT_TRUE(present.contains(name)) << name.toStdString();
    for (const QString& name : present)
        EXPECT_TRUE(savedAll.contains(name)) << name.toStdString();
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT COUNT(*) FROM product p JOIN productwarehouse w USING (productid) "
                                        "WHERE p.name LIKE 'Upis za vreme kopije %'"))
                  .toInt(),
              present.size());

    // The foreign keys came back with the tables and name the restored ones,
    // not those set aside: a stock row of no warehouse is still refused.
    EXPECT_ROWS(rowsOf(db, QStringLiteral("SELECT COUNT(*), SUM(referenced_table_schema = table_schema) FROM "
                                          "information_schema.key_column_usage WHERE table_schema = DATABASE() AND "
                                          "referenced_table_name IN ('tax', 'warehouse')")),
                QStringList{"3|3"});
    EXPECT_EQ(thrownCode([&] {
                  execSql(db, QStringLiteral("INSERT INTO productwarehouse (productid, warehouseid) VALUES (1, 999999)"));
              }),
              1452);

    // The data the restore replaced stays aside.
    EXPECT_TRUE(databaseExists(db, s_shop->name() + QStringLiteral("_before_restore")));
    EXPECT_FALSE(databaseExists(db, s_shop->name() + QStringLiteral("_restoring")));

    // Back to the suite's shop as filled, for the tests after this one.
    DatabaseRestore(s_shop->settings()).restore(s_firstBackup);
    EXPECT_EQ(differingTables(filled, serverChecksums(shopDb())), QStringList());
}
