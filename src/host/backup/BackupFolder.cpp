#include "BackupFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <functional>

namespace tarvex {

namespace {

const QString kSuffix = QStringLiteral(".tvxb");
const QString kStamp = QStringLiteral("yyyy-MM-dd-HHmmss");

} // namespace

BackupFolder::BackupFolder(const QString& dir, const QString& database) : m_dir(dir), m_database(database) {}

QString BackupFolder::defaultDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarvex/backups");
}

QString BackupFolder::scheduledPath(const QDateTime& when) const
{
    return QDir(m_dir).filePath(m_database + QLatin1Char('-') + when.toString(kStamp) + kSuffix);
}

QString BackupFolder::beforeUpgradePath(const QDateTime& when, int from, int to) const
{
    return QDir(m_dir).filePath(QStringLiteral("%1-%2-pre-nadogradnje-%3-na-%4%5")
                                    .arg(m_database, when.toString(kStamp))
                                    .arg(from)
                                    .arg(to)
                                    .arg(kSuffix));
}

bool BackupFolder::looksComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 32)
        return false;
    file.seek(qMax<qint64>(0, file.size() - 256));
    const QByteArray tail = file.readAll();
    const int last = tail.lastIndexOf("\nTARVEX-END ");
    return last >= 0 && tail.endsWith('\n') && tail.indexOf('\n', last + 1) == tail.size() - 1;
}

QList<BackupFolder::Backup> BackupFolder::backupsMatching(bool scheduledOnly) const
{
    // NAME-stamp.tvxb on the schedule; NAME-stamp-what.tvxb made for a reason of its own.
    const QRegularExpression name(QStringLiteral("^%1-(\\d{4}-\\d\\d-\\d\\d-\\d{6})%2\\%3$")
                                      .arg(QRegularExpression::escape(m_database),
                                           scheduledOnly ? QString() : QStringLiteral("(-.*)?"), kSuffix));
    QList<Backup> found;
    const QStringList files = QDir(m_dir).entryList({m_database + QStringLiteral("-*") + kSuffix}, QDir::Files);
    for (const QString& file : files) {
        const QRegularExpressionMatch match = name.match(file);
        if (!match.hasMatch())
            continue;
        const QDateTime taken = QDateTime::fromString(match.captured(1), kStamp);
        const QString path = QDir(m_dir).filePath(file);
        if (taken.isValid() && looksComplete(path))
            found.append({path, taken});
    }
    std::sort(found.begin(), found.end(), [](const Backup& a, const Backup& b) { return a.taken > b.taken; });
    return found;
}

QList<BackupFolder::Backup> BackupFolder::scheduled() const { return backupsMatching(true); }

QDateTime BackupFolder::lastGood() const
{
    const QList<Backup> all = backupsMatching(false);
    return all.isEmpty() ? QDateTime() : all.first().taken;
}

bool BackupFolder::hasScheduledOn(const QDate& day) const
{
    const QList<Backup> all = scheduled();
    return std::any_of(all.begin(), all.end(), [&](const Backup& b) { return b.taken.date() == day; });
}

QStringList BackupFolder::prune(const KeepPolicy& policy) const
{
    const QList<Backup> all = scheduled();
    QSet<QString> keep;
    // The newest backup of each of the newest `count` periods.
    const auto keepNewest = [&](int count, const std::function<qint64(const QDate&)>& period) {
        QSet<qint64> periods;
        for (const Backup& backup : all) {
            const qint64 p = period(backup.taken.date());
            if (periods.contains(p))
                continue;
            if (periods.size() >= count)
                break;
            periods.insert(p);
            keep.insert(backup.path);
        }
    };
    keepNewest(policy.daily, [](const QDate& d) { return d.toJulianDay(); });
    keepNewest(policy.weekly, [](const QDate& d) {
        int year = 0;
        const int week = d.weekNumber(&year);
        return qint64(year) * 100 + week;
    });
    keepNewest(policy.monthly, [](const QDate& d) { return qint64(d.year()) * 100 + d.month(); });

    QStringList removed;
    for (const Backup& backup : all)
        if (!keep.contains(backup.path) && QFile::remove(backup.path))
            removed << backup.path;
    // What a killed backup left: never a backup, only space taken. One
    // written to within the hour may be another backup's, still at work.
    const QFileInfoList parts = QDir(m_dir).entryInfoList(
        {m_database + QStringLiteral("-*") + kSuffix + QStringLiteral(".part")}, QDir::Files);
    for (const QFileInfo& part : parts)
        if (part.lastModified().secsTo(QDateTime::currentDateTime()) > 3600 && QFile::remove(part.filePath()))
            removed << part.filePath();
    return removed;
}

} // namespace tarvex
