#include "AutoBackup.h"

#include <QDateTime>
#include <QTimer>

namespace tarvex {

AutoBackup::AutoBackup(const ConnectionSettings& settings, const QString& folder, QObject* parent)
    : QObject(parent), m_settings(settings), m_folder(folder, settings.database)
{
    connect(&m_runner, &BackupRunner::finished, this, [this](bool ok, const QString& text) {
        if (ok || text.isEmpty())
            emit report(lastGoodText());
        else
            emit report(AUTO_BACKUP_FAILED_FMT.arg(text.section(QLatin1Char('\n'), 0, 0), lastGoodText()));
    });
}

QString AutoBackup::lastGoodText() const
{
    const QDateTime last = m_folder.lastGood();
    return last.isValid() ? AUTO_BACKUP_LAST_FMT.arg(last.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                          : AUTO_BACKUP_NONE_INF;
}

bool AutoBackup::startIfDue(const QDate& today)
{
    if (m_folder.hasScheduledOn(today)) {
        const QString text = lastGoodText();
        QTimer::singleShot(0, this, [this, text] { emit report(text); });
        return false;
    }
    const ConnectionSettings settings = m_settings;
    const BackupFolder folder = m_folder;
    const KeepPolicy keep = m_keep;
    return m_runner.start([settings, folder, keep](const JobControl& control) {
        DatabaseBackup(settings, control).backup(folder.scheduledPath(QDateTime::currentDateTime()));
        folder.prune(keep);
        return QString();
    });
}

} // namespace tarvex
