#pragma once
// A folder of backups made on a schedule: their names, which are complete,
// the last good one, and which to keep (so many of the newest days, weeks
// and months). Files named otherwise, such as the one made before a schema
// upgrade or a backup a person named, are never removed.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarvex {

// How many copies a schedule keeps: the newest of each of so many days,
// weeks and months that have one.
struct KeepPolicy {
    int daily = 7;
    int weekly = 4;
    int monthly = 12;
};

class BackupFolder {
public:
    // Backups of `database` in `dir`.
    BackupFolder(const QString& dir, const QString& database);

    struct Backup {
        QString path;
        QDateTime taken;
    };

    // The folder of the embedded default's backups:
    // ${XDG_DATA_HOME:-~/.local/share}/tarvex/backups.
    static QString defaultDir();

    const QString& dir() const { return m_dir; }
    // A scheduled backup's file name for its time, and one made before a
    // schema upgrade (never removed by the schedule).
    QString scheduledPath(const QDateTime& when) const;
    QString beforeUpgradePath(const QDateTime& when, int from, int to) const;

    // Scheduled backups whose file is complete (it has its last line; the
    // checksum is checked on restore), newest first.
    QList<Backup> scheduled() const;
    // The time of the newest complete backup of any kind; invalid when none.
    QDateTime lastGood() const;
    // A scheduled backup was made on that day.
    bool hasScheduledOn(const QDate& day) const;

    // Removes the scheduled backups the policy does not keep, and files a
    // killed backup left half-written; returns the removed paths.
    QStringList prune(const KeepPolicy& policy) const;

    // Whether a file has the last line a finished backup ends with.
    static bool looksComplete(const QString& path);

private:
    QList<Backup> backupsMatching(bool scheduledOnly) const;

    QString m_dir;
    QString m_database;
};

} // namespace tarvex
