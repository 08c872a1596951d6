#pragma once
// A consistent backup of one database while others keep working:
// mariadb-dump in one transaction (InnoDB's snapshot, no table locks), its
// text compressed into a backup file (BackupFile.h) with a checksum of each
// table's rows in the manifest.

#include "BackupFile.h"
#include "Connection.h"

#include <QString>

#include <functional>

namespace tarvex {

inline const QString BACKUP_DUMP_FAILED_ERR =
    QStringLiteral("Rezervna kopija baze \"%1\" nije napravljena; podaci i ranije kopije su netaknuti.\n\nUzrok: %2");
inline const QString BACKUP_CANCELLED_INF = QStringLiteral("Prekinuto; ništa nije promenjeno.");

// Progress (0-100) and a question asked between pieces of work: stop now?
struct JobControl {
    std::function<void(int percent)> progress;
    std::function<bool()> cancelled;

    void report(int percent) const
    {
        if (progress)
            progress(percent);
    }
    // Throws the silent abort when the user asked to stop.
    void checkCancelled() const;
};

// A connection of its own for one job, gone with it (jobs may run on a
// thread of their own, and a Qt connection stays with its thread).
class JobConnection {
public:
    explicit JobConnection(const ConnectionSettings& settings);
    ~JobConnection();
    JobConnection(const JobConnection&) = delete;
    JobConnection& operator=(const JobConnection&) = delete;
    // The first column of the first row.
    QVariant value(const QString& sql, const QVariantList& values = {});
    QSqlDatabase& db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

class DatabaseBackup {
public:
    // `settings.database` names the database.
    explicit DatabaseBackup(const ConnectionSettings& settings, JobControl control = {});

    // Writes the backup file; throws BackupError (nothing named `file` is
    // left then) or the silent abort when cancelled.
    BackupManifest backup(const QString& file);

    // The checksums of each table, dumped as a backup dumps them: a
    // restored database matches its backup's manifest.
    QMap<QString, QByteArray> tableChecksums();

private:
    // Runs mariadb-dump and hands its text over in pieces.
    void dump(const std::function<void(const char*, qint64)>& sink);

    ConnectionSettings m_settings;
    JobControl m_control;
};

// The cause of a client's failure in its own words (its last lines).
QString clientCause(const QByteArray& output);

} // namespace tarvex
