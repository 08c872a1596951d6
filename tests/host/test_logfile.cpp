// The log file: lines of info level and above, rotated when full with a
// fixed number of older files; passwords masked; failed statements and
// reconnects of the Connection written with what support needs.
#include "Connection.h"
#include "DatabaseError.h"
#include "DatabaseErrorLog.h"
#include "LogCategories.h"
#include "ScratchHelpers.h"
#include "TestServer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::test;

TEST(LogFile, FullFileRotatesKeepingTheNewestOlderFilesAndOnlyItsOwner)
{
    InstalledLog log({2000, 2});
    qCDebug(lcSave) << "for developers only";
    for (int i = 1; i <= 60; ++i)
        qCInfo(lcSave).noquote() << QStringLiteral("line %1 ").arg(i, 3, 10, QLatin1Char('0')) + QString(60, QLatin1Char('x'));

    const QStringList files = QDir(QFileInfo(log.path).absolutePath()).entryList(QDir::Files, QDir::Name);
    EXPECT_ROWS(files, QStringList({"tarvex.log", "tarvex.log.1", "tarvex.log.2"}));
    for (const QString& name : files) {
        const QFileInfo info(QFileInfo(log.path).absolutePath() + '/' + name);
        EXPECT_LE(info.size(), 2000) << name.toStdString();
        EXPECT_FALSE(info.permissions().testAnyFlags(QFileDevice::ReadGroup | QFileDevice::ReadOther)) << name.toStdString();
    }
    // The current file goes on where the first older one stopped.
    const QStringList current = log.text().split('\n', Qt::SkipEmptyParts);
    const QStringList older = QString::fromUtf8(fileBytes(log.path + ".1")).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(current.isEmpty());
    ASSERT_FALSE(older.isEmpty());
    static const QRegularExpression number(QStringLiteral("line (\\d+)"));
    EXPECT_EQ(number.match(older.last()).captured(1).toInt() + 1, number.match(current.first()).captured(1).toInt());
    EXPECT_EQ(number.match(current.last()).captured(1), QStringLiteral("060"));
    EXPECT_TRUE(current.last().contains(QRegularExpression(
        QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} INFO tarvex\.save: line 060 x+$)"))))
        << current.last().toStdString();
    const QString all = QString::fromUtf8(fileBytes(log.path + ".2")) + older.join('\n') + log.text();
    EXPECT_FALSE(all.contains("for developers only"));

    removeLogFile();
    qCWarning(lcSave) << "after removal";
    EXPECT_EQ(logFilePath(), QString());
    EXPECT_FALSE(log.text().contains("after removal"));
}

TEST(LogFile, PasswordsAreMaskedWhateverTheirForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"CREATE USER 'kasa'@'%' IDENTIFIED BY 'Tajna-1'", "CREATE USER 'kasa'@'%' IDENTIFIED BY '***'"},
        {"GRANT ALL ON shop.* TO u IDENTIFIED BY 'it''s, \"x\"'; SELECT 1", "GRANT ALL ON shop.* TO u IDENTIFIED BY '***'; SELECT 1"},
        {"alter user u identified by password '*94BDCEBE'", "alter user u identified by password '***'"},
        {"ALTER USER u IDENTIFIED VIA ed25519 USING PASSWORD('Tajna-2')", "ALTER USER u IDENTIFIED VIA ed25519 USING PASSWORD('***')"},
        {"SET PASSWORD FOR 'u'@'localhost' = PASSWORD('Tajna-3')", "SET PASSWORD FOR 'u'@'localhost' = PASSWORD('***')"},
        {"SET PASSWORD = 'Tajna-4'", "SET PASSWORD = '***'"},
        {"Host=db;User=shop;Password=Tajna-5;Database=x", "Host=db;User=shop;Password=***;Database=x"},
        {"mariadb-dump --password=Tajna-6 shop", "mariadb-dump --password=*** shop"},
        {"SELECT name FROM product WHERE name = 'PASSWORD'", "SELECT name FROM product WHERE name = 'PASSWORD'"},
    };
    for (const auto& [text, masked] : cases)
        EXPECT_EQ(maskSecrets(QString::fromUtf8(text)), QString::fromUtf8(masked)) << text;

    // Masked on the way into the file too, whichever category says it.
    InstalledLog log;
    qCWarning(lcSecurity) << "ALTER USER u IDENTIFIED BY 'Tajna-7'";
    EXPECT_TRUE(log.text().contains("IDENTIFIED BY '***'")) << log.text().toStdString();
    EXPECT_FALSE(log.text().contains("Tajna-7")) << log.text().toStdString();
}

TEST(LogFile, StatementNamesItsVerbAndTable)
{
    // A plain INSERT: LoggedConnection below.
    EXPECT_EQ(statementName("  update `productprice` SET price = 1"), "UPDATE productprice");
    EXPECT_EQ(statementName("(SELECT p.name FROM product p JOIN tax t ON 1)"), "SELECT product");
    EXPECT_EQ(statementName("START TRANSACTION"), "START");
    EXPECT_EQ(statementName(""), "");
}

class LoggedConnection : public DatabaseTest {};

// Passwords in its statements are masked by the file's handler, whoever
// writes: PasswordsAreMaskedWhateverTheirForm.
TEST_F(LoggedConnection, FailedStatementsAndReconnectsAreWritten)
{
    InstalledLog log;
    Connection connection(database().settings());
    EXPECT_THROW(connection.execute("INSERT INTO nosuchtable (a) VALUES (1)"), DatabaseError);

    const QString text = log.text();
    EXPECT_TRUE(text.contains(QRegularExpression(
        QStringLiteral(R"(WARN tarvex\.connection: INSERT nosuchtable failed: error 1146: [^\n]*nosuchtable[^\n]*\n    SQL: INSERT INTO nosuchtable \(a\) VALUES \(1\)\n)"))))
        << text.toStdString();

    // The server drops the session: the next read reopens it and says so.
    const qint64 session = connection.value("SELECT CONNECTION_ID()").toLongLong();
    QSqlQuery(db()).exec(QStringLiteral("KILL %1").arg(session));
    EXPECT_EQ(connection.value("SELECT 41 + 1").toInt(), 42);
    EXPECT_NE(connection.value("SELECT CONNECTION_ID()").toLongLong(), session);
    const QString after = log.text().mid(text.size());
    EXPECT_TRUE(after.contains("INFO tarvex.connection: Reconnecting to ")) << after.toStdString();
    EXPECT_TRUE(after.contains("INFO tarvex.connection: Reconnected to ")) << after.toStdString();
}
