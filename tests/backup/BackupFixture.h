#pragma once
// The small demo shop, filled once for the backup tests, a backup of it made
// beforehand, and what the tests compare: each table's checksum as the
// server computes it.

#include "Connection.h"
#include "DatabaseRestore.h"
#include "DemoData.h"
#include "TestServer.h"
#include "ScratchHelpers.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarvex::test {

// table -> CHECKSUM TABLE of it, for every table of the database.
inline QMap<QString, QString> serverChecksums(const QSqlDatabase& db)
{
    QStringList tables;
    for (const QString& table :
         rowsOf(db, QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE()")))
        tables << quoteIdentifier(table);
    QMap<QString, QString> sums;
    if (tables.isEmpty())
        return sums;
    // "database.table|checksum"
    for (const QString& row : rowsOf(db, QStringLiteral("CHECKSUM TABLE ") + tables.join(QStringLiteral(", "))))
        sums.insert(row.section(QLatin1Char('|'), 0, 0).section(QLatin1Char('.'), 1), row.section(QLatin1Char('|'), 1));
    return sums;
}

// The tables whose checksums differ between two maps, each named once.
inline QStringList differingTables(const QMap<QString, QString>& a, const QMap<QString, QString>& b)
{
    QStringList tables;
    for (auto it = a.begin(); it != a.end(); ++it)
        if (b.value(it.key()) != it.value())
            tables << it.key();
    for (auto it = b.begin(); it != b.end(); ++it)
        if (!a.contains(it.key()))
            tables << it.key();
    return tables;
}

inline bool databaseExists(const QSqlDatabase& db, const QString& name)
{
    return selectSql(db, QStringLiteral("SELECT 1 FROM information_schema.schemata WHERE schema_name = ?"), {name}).next();
}

class BackupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_shop = std::make_unique<TestDatabase>(QStringLiteral("bk_shop"));
        QSqlDatabase db = s_shop->connection();
        generateDemoData(db, DemoScale::small(), 1, QDate(2026, 12, 1));
        s_dir = std::make_unique<QTemporaryDir>();
        s_firstBackup = s_dir->filePath(QStringLiteral("first.tvxb"));
        openConnection(s_shop->settings(), QStringLiteral("bk-shop-session"));
        DatabaseBackup(s_shop->settings()).backup(s_firstBackup);
    }
    static void TearDownTestSuite()
    {
        {
            QSqlDatabase db = s_shop->connection();
            for (const QString& suffix : {QStringLiteral("_before_restore"), QStringLiteral("_restoring")})
                execSql(db, QStringLiteral("DROP DATABASE IF EXISTS %1").arg(quoteIdentifier(s_shop->name() + suffix)));
        }
        QSqlDatabase::database(QStringLiteral("bk-shop-session")).close();
        QSqlDatabase::removeDatabase(QStringLiteral("bk-shop-session"));
        s_shop.reset();
        s_dir.reset();
    }
    // One session on the shop for the whole suite: a restore's RENAME puts
    // the restored tables under the names it reads.
    static QSqlDatabase shopDb() { return QSqlDatabase::database(QStringLiteral("bk-shop-session")); }
    // A settings file for tarvex-server naming the test server and the shop.
    static QString settingsFile(const QString& folder)
    {
        const ConnectionSettings server = s_shop->settings();
        const QString path = s_dir->filePath(QStringLiteral("backup.ini"));
        writeFile(path, QStringLiteral("[Database]\nSocket=%1\nUser=%2\nDatabase=%3\n[Backup]\nFolder=%4\n")
                           .arg(server.socket, server.user, server.database, folder)
                           .toUtf8());
        return path;
    }

    static inline std::unique_ptr<TestDatabase> s_shop;
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline QString s_firstBackup;
};

} // namespace tarvex::test
