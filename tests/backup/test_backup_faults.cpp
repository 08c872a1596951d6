// What may go wrong while backing up or restoring: the program killed, the
// disk full, the file cut short or changed. Nothing may be lost and nothing
// half-made may pass for whole.

#include "BackupFixture.h"
#include "BackupFolder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

using namespace tarvex;
using namespace tarvex::test;

namespace {

const QString kServerProgram = QStringLiteral(TARVEX_SERVER_PROGRAM);

// Waits until `ready` holds, checking every millisecond; false after 60 s or
// when the process ended first.
bool waitFor(QProcess& process, const std::function<bool()>& ready)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        if (ready())
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(1);
    }
    return false;
}

} // namespace

TEST_F(BackupTest, ABackupKilledMidWayLeavesEveryOlderBackupAndNoFileThatLooksComplete)
{
    QTemporaryDir folderDir;
    const BackupFolder folder(folderDir.path(), s_shop->name());
    const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
    const QString older = folder.scheduledPath(yesterday);
    ASSERT_TRUE(QFile::copy(s_firstBackup, older));
    const QByteArray olderBytes = fileBytes(older);

    QProcess backup;
    backup.start(kServerProgram, {QStringLiteral("backup"), settingsFile(folderDir.path())});
    // Killed once the dump has begun to fill the file.
    const bool caught = waitFor(backup, [&] {
        const QStringList parts = QDir(folderDir.path()).entryList({QStringLiteral("*.part")});
        return !parts.isEmpty() && QFileInfo(folderDir.filePath(parts.first())).size() > 4096;
    });
    ASSERT_TRUE(caught) << "the backup ended before it could be killed: " << backup.readAllStandardError().toStdString();
    backup.kill();
    backup.waitForFinished();

    EXPECT_EQ(fileBytes(older), olderBytes);
    const QList<BackupFolder::Backup> complete = folder.scheduled();
    ASSERT_EQ(complete.size(), 1);
    EXPECT_EQ(complete.first().path, older);
    EXPECT_EQ(folder.lastGood(), complete.first().taken);
    // What the killed one left is no backup and is never taken for one.
    for (const QString& name : QDir(folderDir.path()).entryList(QDir::Files)) {
        const QString path = folderDir.filePath(name);
        if (path == older)
            continue;
        EXPECT_TRUE(name.endsWith(QLatin1String(".tvxb.part"))) << name.toStdString();
        EXPECT_FALSE(BackupFolder::looksComplete(path)) << name.toStdString();
        EXPECT_THROW(BackupFileReader(path).check(), BackupError) << name.toStdString();
    }

    // The next backup runs as if nothing happened.
    QProcess next;
    next.start(kServerProgram, {QStringLiteral("backup"), settingsFile(folderDir.path())});
    ASSERT_TRUE(next.waitForFinished(300000) && next.exitCode() == 0) << next.readAllStandardError().toStdString();
    EXPECT_EQ(folder.scheduled().size(), 2);
}

// A full disk: the device that is always full in the file's place (the
// first write fails), and a size limit on the files this process writes (a
// write half-way through the dump fails; a small file system of its own
// fails there the same way). Each is told in words; nothing else changes.
TEST_F(BackupTest, AFullDiskIsToldAndLosesNeitherTheDataNorAnOlderBackup)
{
    const QMap<QString, QString> data = serverChecksums(shopDb());
    const QByteArray olderBytes = fileBytes(s_firstBackup);

    for (const bool limit : {false, true}) {
        SCOPED_TRACE(limit ? "a file size limit" : "the always-full device");
        QTemporaryDir dir;
        const QString folder = dir.path();
        const QString older = dir.filePath(QStringLiteral("older.tvxb"));
        ASSERT_TRUE(QFile::copy(s_firstBackup, older));
        const QString file = dir.filePath(QStringLiteral("new.tvxb"));
        if (!limit)
            QFile::link(QStringLiteral("/dev/full"), BackupFileWriter::partPath(file));

        rlimit saved{};
        if (limit) {
            // Past the limit a write fails with EFBIG instead of the signal.
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = rlim_t(olderBytes.size() / 4);
            setrlimit(RLIMIT_FSIZE, &small);
        }
        const QString told = thrownText<BackupError>([&] { DatabaseBackup(s_shop->settings()).backup(file); });
        if (limit)
            setrlimit(RLIMIT_FSIZE, &saved);

        EXPECT_EQ(told, BACKUP_DISK_FULL_ERR.arg(folder));
        EXPECT_FALSE(QFileInfo::exists(file));
        EXPECT_FALSE(QFileInfo(BackupFileWriter::partPath(file)).exists() ||
                     QFileInfo(BackupFileWriter::partPath(file)).isSymLink());
        EXPECT_EQ(fileBytes(older), olderBytes);
    }
    EXPECT_EQ(differingTables(data, serverChecksums(shopDb())), QStringList());
}

TEST_F(BackupTest, ACutOrChangedFileIsRefusedBeforeTheRestoreTouchesAnything)
{
    const QByteArray good = fileBytes(s_firstBackup);
    const int manifestAt = good.lastIndexOf("\"database\"");
    const int lastLine = good.lastIndexOf("TARVEX-END ");
    ASSERT_GT(manifestAt, 0);
    const auto flipped = [&](int at) {
        QByteArray bytes = good;
        bytes[at] = char(bytes[at] ^ 0x20);
        return bytes;
    };
    const QString path = s_dir->filePath(QStringLiteral("bad.tvxb"));
    // What was done to the file, its bytes, what the restore tells.
    const std::tuple<const char*, QByteArray, QString> cases[] = {
        {"last byte cut", good.left(good.size() - 1), BACKUP_INCOMPLETE_ERR.arg(path)},
        {"last line cut", good.left(lastLine), BACKUP_INCOMPLETE_ERR.arg(path)},
        {"a byte of the dump changed", flipped(good.size() / 3), BACKUP_CHECKSUM_ERR.arg(path)},
        {"a byte of the manifest changed", flipped(manifestAt + 3), BACKUP_CHECKSUM_ERR.arg(path)},
        {"the checksum changed", flipped(lastLine + 20), BACKUP_CHECKSUM_ERR.arg(path)},
        {"a byte added", good.left(100) + 'x' + good.mid(100), BACKUP_CHECKSUM_ERR.arg(path)},
        {"another file", QByteArray("-- MariaDB dump\nCREATE TABLE x (a INT);\n"), BACKUP_NOT_A_BACKUP_ERR.arg(path)},
        {"empty", QByteArray(), BACKUP_NOT_A_BACKUP_ERR.arg(path)},
    };
    const QMap<QString, QString> data = serverChecksums(shopDb());
    for (const auto& [name, bytes, told] : cases) {
        SCOPED_TRACE(name);
        writeFile(path, bytes);
        EXPECT_EQ(thrownText<BackupError>([&] { DatabaseRestore(s_shop->settings()).restore(path); }), told);
        QSqlDatabase db = shopDb();
        EXPECT_FALSE(databaseExists(db, s_shop->name() + QStringLiteral("_restoring")));
        EXPECT_EQ(differingTables(data, serverChecksums(db)), QStringList());
    }
}

// Killed at each stage of a restore (its database being made, loading,
// checking, done), the shop holds its own data or the backup's, never a mix.
TEST_F(BackupTest, ARestoreKilledAtAnyStageLeavesTheDataAsItWasOrAsTheBackupHasIt)
{
    QSqlDatabase db = shopDb();
    const QMap<QString, QString> own = serverChecksums(db);
    // The backup differs from the shop in a few tables.
    execSql(db, QStringLiteral("UPDATE product SET price = price + 1 WHERE productid <= 20"));
    execSql(db, QStringLiteral("DELETE FROM documentitem WHERE documentitemid % 7 = 0"));
    execSql(db, QStringLiteral("INSERT INTO tax (name, value) VALUES ('PDV 8', 8)"));
    const QString other = s_dir->filePath(QStringLiteral("other.tvxb"));
    DatabaseBackup(s_shop->settings()).backup(other);
    const QMap<QString, QString> backup = serverChecksums(db);
    DatabaseRestore(s_shop->settings()).restore(s_firstBackup);
    ASSERT_EQ(differingTables(own, serverChecksums(shopDb())), QStringList());

    const QString scratch = s_shop->name() + QStringLiteral("_restoring");
    const auto scratchTables = [&] {
        return scalar(shopDb(), QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = '%1'")
                                    .arg(scratch))
            .toInt();
    };
    const int all = int(own.size());
    // Each stage and when it is reached.
    const std::pair<const char*, std::function<bool()>> stages[] = {
        {"its database made", [&] { return databaseExists(shopDb(), scratch); }},
        {"loading", [&] { return scratchTables() >= 3; }},
        {"checking", [&] { return scratchTables() >= all; }},
    };
    const QString settings = settingsFile(s_dir->path());
    for (const auto& [stage, reached] : stages) {
        SCOPED_TRACE(stage);
        QProcess restore;
        restore.start(kServerProgram, {QStringLiteral("restore"), settings, other});
        const bool caught = waitFor(restore, reached);
        restore.kill();
        restore.waitForFinished();
        const QMap<QString, QString> now = serverChecksums(shopDb());
        const QStringList fromOwn = differingTables(own, now);
        const QStringList fromBackup = differingTables(backup, now);
        EXPECT_TRUE(fromOwn.isEmpty() || fromBackup.isEmpty())
            << "a mix; differs from the shop's own in " << fromOwn.join(' ').toStdString()
            << " and from the backup in " << fromBackup.join(' ').toStdString();
        if (!caught)
            std::printf("the restore was done before it could be killed %s\n", stage);
        if (fromOwn.isEmpty())
            continue;
        DatabaseRestore(s_shop->settings()).restore(s_firstBackup);
    }

    // Left to the end, it gives the backup's data; the next restore clears what the killed ones left.
    QProcess restore;
    restore.start(kServerProgram, {QStringLiteral("restore"), settings, other});
    ASSERT_TRUE(restore.waitForFinished(300000) && restore.exitCode() == 0) << restore.readAllStandardError().toStdString();
    EXPECT_EQ(differingTables(backup, serverChecksums(shopDb())), QStringList());
    EXPECT_FALSE(databaseExists(shopDb(), scratch));
    DatabaseRestore(s_shop->settings()).restore(s_firstBackup);
    EXPECT_EQ(differingTables(own, serverChecksums(shopDb())), QStringList());
}
