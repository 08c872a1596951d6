#pragma once
// "Datoteka > Rezervna kopija" and "Datoteka > Vrati iz rezervne kopije…":
// each asks first, shows a progress strip with "Prekini" in the status bar
// while the work goes on in the background, and says when it is done. The
// work itself is the backup library's (DatabaseBackup, DatabaseRestore).

#include "BackupRunner.h"
#include "Connection.h"

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;

namespace tarvex {

inline const QString BACKUP_MENU_CAP = QStringLiteral("&Rezervna kopija");
inline const QString RESTORE_MENU_CAP = QStringLiteral("&Vrati iz rezervne kopije…");
inline const QString BACKUP_CONFIRM_FMT =
    QStringLiteral("Napraviti rezervnu kopiju podataka sada? Kopija se upisuje u fasciklu %1.");
inline const QString BACKUP_RUNNING_CAP = QStringLiteral("Pravi se rezervna kopija…");
inline const QString BACKUP_DONE_FMT = QStringLiteral("Rezervna kopija je napravljena: %1 (%2 MB).");
inline const QString RESTORE_OPEN_CAP = QStringLiteral("Vrati iz rezervne kopije");
inline const QString RESTORE_FILTER = QStringLiteral("Rezervne kopije (*.tvxb)");
inline const QString RESTORE_CONFIRM_FMT =
    QStringLiteral("Svi podaci u bazi \"%1\" biće zamenjeni podacima iz rezervne kopije %2. Sadašnji podaci ostaju "
                   "sačuvani u bazi \"%3\". Nastaviti?");
inline const QString RESTORE_RUNNING_CAP = QStringLiteral("Vraćanje iz rezervne kopije…");
inline const QString RESTORE_DONE_FMT =
    QStringLiteral("Podaci su vraćeni iz rezervne kopije napravljene %1. Program se sada zatvara; pokrenite ga ponovo.");
inline const QString BACKUP_CANCEL_CAP = QStringLiteral("Prekini");
inline const QString BACKUP_STOPPED_INF = QStringLiteral("Prekinuto; podaci i ranije kopije su netaknuti.");

class BackupMenu : public QObject {
    Q_OBJECT
public:
    // Adds both entries to `fileMenu` (before its last one) and the strip
    // to the window's status bar. `settings` names the console's database;
    // backups go into `folder`.
    BackupMenu(QMainWindow& window, QMenu& fileMenu, const ConnectionSettings& settings, const QString& folder);

    QAction* backupAction() const { return m_backup; }
    QAction* restoreAction() const { return m_restore; }
    QProgressBar* progressBar() const { return m_bar; }
    QPushButton* cancelButton() const { return m_cancel; }
    QWidget* strip() const { return m_strip; }
    BackupRunner& runner() { return m_runner; }

signals:
    // The data was replaced: the console must close (its windows show the old).
    void restored();

private:
    void backupNow();
    void restoreFromFile();
    void begin(const QString& caption);
    void end(bool ok, const QString& text);

    QMainWindow& m_window;
    ConnectionSettings m_settings;
    QString m_folder;
    QAction* m_backup = nullptr;
    QAction* m_restore = nullptr;
    QWidget* m_strip = nullptr;
    QLabel* m_caption = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    BackupRunner m_runner;
    bool m_restoring = false;
};

} // namespace tarvex
