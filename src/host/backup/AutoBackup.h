#pragma once
// The console's automatic backup of its embedded database: at the first
// start of a day, in the background, into the backup folder, which then
// keeps its daily, weekly and monthly copies. It says once, for the status
// bar, when the last good backup was.

#include "BackupFolder.h"
#include "BackupRunner.h"
#include "Connection.h"

#include <QObject>

namespace tarvex {

inline const QString AUTO_BACKUP_LAST_FMT = QStringLiteral("Poslednja ispravna rezervna kopija: %1.");
inline const QString AUTO_BACKUP_NONE_INF = QStringLiteral("Još nema ispravne rezervne kopije podataka.");
inline const QString AUTO_BACKUP_FAILED_FMT = QStringLiteral("Automatska rezervna kopija nije uspela: %1 %2");

class AutoBackup : public QObject {
    Q_OBJECT
public:
    AutoBackup(const ConnectionSettings& settings, const QString& folder, QObject* parent = nullptr);

    // Starts today's backup unless the folder has one of this day; else
    // reports the last good one at once. True when it started one.
    bool startIfDue(const QDate& today);
    // The line about the last good backup, as the status bar shows it.
    QString lastGoodText() const;
    BackupRunner& runner() { return m_runner; }

signals:
    // Once per start: the line for the status bar.
    void report(const QString& text);

private:
    ConnectionSettings m_settings;
    BackupFolder m_folder;
    KeepPolicy m_keep;
    BackupRunner m_runner;
};

} // namespace tarvex
