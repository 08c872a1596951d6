// The folder of scheduled backups: which copies a schedule keeps, the last
// good one, and what a killed backup left; the settings file they read.

#include "BackupFolder.h"
#include "BackupSettings.h"
#include "ListCompare.h"
#include "ScratchHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utime.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

// A file that ends as a finished backup does (the checksum is the restore's business).
void writeBackupLike(const QString& path, bool complete = true)
{
    writeFile(path, QByteArray("TARVEX-BACKUP 1\n...dump...{\"manifest\": 1}\n") +
                        (complete ? "TARVEX-END 0123abcd 16 20\n" : ""));
}

QStringList dates(const QList<BackupFolder::Backup>& backups)
{
    QStringList out;
    for (const BackupFolder::Backup& backup : backups)
        out << backup.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return out;
}

} // namespace

TEST(BackupFolder, ASchedulesKeepsTheNewestOfSevenDaysFourWeeksAndTwelveMonthsAndNothingElseItDidNotMake)
{
    QTemporaryDir dir;
    const BackupFolder folder(dir.path(), QStringLiteral("tarvex"));
    // A backup at noon each day of a year and a half, and an earlier one on the last day.
    for (QDate day(2025, 6, 1); day <= QDate(2026, 12, 8); day = day.addDays(1))
        writeBackupLike(folder.scheduledPath(QDateTime(day, QTime(12, 0))));
    writeBackupLike(folder.scheduledPath(QDateTime(QDate(2026, 12, 8), QTime(6, 30))));
    // Not the schedule's: a person's, the one before an upgrade, another database's.
    const QStringList others = {dir.filePath(QStringLiteral("moja kopija.tvxb")),
                                folder.beforeUpgradePath(QDateTime(QDate(2025, 1, 2), QTime(8, 0)), 2, 3),
                                dir.filePath(QStringLiteral("drugabaza-2025-01-01-120000.tvxb"))};
    for (const QString& path : others)
        writeBackupLike(path);
    // A killed backup's leftovers: an old one goes, one written a minute ago may be at work.
    const QString oldPart = folder.scheduledPath(QDateTime(QDate(2026, 12, 7), QTime(3, 0))) + QStringLiteral(".part");
    const QString freshPart = folder.scheduledPath(QDateTime::currentDateTime()) + QStringLiteral(".part");
    writeBackupLike(oldPart, false);
    writeBackupLike(freshPart, false);
    const qint64 twoHoursAgo = QDateTime::currentSecsSinceEpoch() - 7200;
    const utimbuf old{twoHoursAgo, twoHoursAgo};
    ASSERT_EQ(::utime(QFile::encodeName(oldPart).constData(), &old), 0);

    EXPECT_TRUE(folder.hasScheduledOn(QDate(2026, 12, 8)));
    EXPECT_FALSE(folder.hasScheduledOn(QDate(2026, 12, 9)));
    folder.prune(KeepPolicy{});

    EXPECT_ROWS(dates(folder.scheduled()),
              QStringList({// seven days
                           "2026-12-08 12:00", "2026-12-07 12:00", "2026-12-06 12:00", "2026-12-05 12:00",
                           "2026-12-04 12:00", "2026-12-03 12:00", "2026-12-02 12:00",
                           // the weeks before (Sunday ends each), then the months
                           "2026-11-30 12:00", "2026-11-29 12:00", "2026-11-22 12:00", "2026-10-31 12:00",
                           "2026-09-30 12:00", "2026-08-31 12:00", "2026-07-31 12:00", "2026-06-30 12:00",
                           "2026-05-31 12:00", "2026-04-30 12:00", "2026-03-31 12:00", "2026-02-28 12:00",
                           "2026-01-31 12:00"}));
    for (const QString& path : others)
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_FALSE(QFileInfo::exists(oldPart));
    EXPECT_TRUE(QFileInfo::exists(freshPart));

    // The last good backup: the newest that is whole, of whatever kind.
    EXPECT_EQ(folder.lastGood(), QDateTime(QDate(2026, 12, 8), QTime(12, 0)));
    writeBackupLike(folder.scheduledPath(QDateTime(QDate(2026, 12, 9), QTime(7, 0))), false);
    writeBackupLike(folder.beforeUpgradePath(QDateTime(QDate(2026, 12, 8), QTime(18, 0)), 2, 3));
    EXPECT_EQ(folder.lastGood(), QDateTime(QDate(2026, 12, 8), QTime(18, 0)));
    EXPECT_FALSE(BackupFolder(dir.filePath(QStringLiteral("nema")), QStringLiteral("tarvex")).lastGood().isValid());
}

// The backups read the console's [Database] keys, and a password only from a
// file nobody else can read or write.
TEST(BackupSettings, TheDatabaseKeysAreTheConsolesAndAPasswordOthersCanReachIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("backup.ini"));
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    writeFile(path, "[Database]\nHost=server.local\nPort=3307\nUser=backup\nPassword=tajna\n[Backup]\nDaily=3\n", owner);
    const BackupSettings read = readBackupSettings(path);
    EXPECT_EQ(read.connection.host, "server.local");
    EXPECT_EQ(read.connection.port, 3307);
    EXPECT_EQ(read.connection.user, "backup");
    EXPECT_EQ(read.connection.password, "tajna");
    EXPECT_EQ(read.connection.database, "tarvex");
    EXPECT_EQ(read.keep.daily, 3);
    for (const auto others : {QFileDevice::ReadOther, QFileDevice::ReadGroup, QFileDevice::WriteOther}) {
        writeFile(path, "[Database]\nSocket=/run/mysqld/mysqld.sock\nPassword=tajna\n", owner | others);
        EXPECT_EQ(thrownText([&] { readBackupSettings(path); }), BACKUP_SETTINGS_OPEN_ERR.arg(path)) << int(others);
    }
}
