#include "BackupMenu.h"

#include "BackupFolder.h"
#include "DatabaseRestore.h"
#include "Dialogs.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace tarvex {

BackupMenu::BackupMenu(QMainWindow& window, QMenu& fileMenu, const ConnectionSettings& settings, const QString& folder)
    : QObject(&window), m_window(window), m_settings(settings), m_folder(folder)
{
    m_backup = new QAction(BACKUP_MENU_CAP, this);
    m_restore = new QAction(RESTORE_MENU_CAP, this);
    const QList<QAction*> existing = fileMenu.actions();
    QAction* before = existing.isEmpty() ? nullptr : existing.last();
    fileMenu.insertAction(before, m_backup);
    fileMenu.insertAction(before, m_restore);
    fileMenu.insertSeparator(before);
    connect(m_backup, &QAction::triggered, this, &BackupMenu::backupNow);
    connect(m_restore, &QAction::triggered, this, &BackupMenu::restoreFromFile);

    m_strip = new QWidget(&window);
    m_caption = new QLabel(m_strip);
    m_bar = new QProgressBar(m_strip);
    m_bar->setRange(0, 100);
    m_cancel = new QPushButton(BACKUP_CANCEL_CAP, m_strip);
    auto* layout = new QHBoxLayout(m_strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    window.statusBar()->addPermanentWidget(m_strip);
    m_strip->hide();
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancel->setEnabled(false);
        m_runner.cancel();
    });
    connect(&m_runner, &BackupRunner::progress, m_bar, &QProgressBar::setValue);
    connect(&m_runner, &BackupRunner::finished, this, &BackupMenu::end);
}

void BackupMenu::begin(const QString& caption)
{
    m_backup->setEnabled(false);
    m_restore->setEnabled(false);
    m_caption->setText(caption);
    m_bar->setValue(0);
    m_cancel->setEnabled(true);
    m_strip->show();
}

void BackupMenu::end(bool ok, const QString& text)
{
    m_strip->hide();
    m_backup->setEnabled(true);
    m_restore->setEnabled(true);
    if (!ok) {
        if (text.isEmpty())
            dialogs().information(BACKUP_STOPPED_INF);
        else
            dialogs().error(text);
        return;
    }
    dialogs().information(text);
    if (m_restoring)
        emit restored();
}

void BackupMenu::backupNow()
{
    if (!dialogs().confirm(BACKUP_CONFIRM_FMT.arg(m_folder)))
        return;
    m_restoring = false;
    const BackupFolder folder(m_folder, m_settings.database);
    const QString file = folder.scheduledPath(QDateTime::currentDateTime());
    const ConnectionSettings settings = m_settings;
    begin(BACKUP_RUNNING_CAP);
    m_runner.start([settings, file](const JobControl& control) {
        DatabaseBackup(settings, control).backup(file);
        const QString megabytes = QString::number(double(QFileInfo(file).size()) / 1e6, 'f', 1).replace('.', ',');
        return BACKUP_DONE_FMT.arg(file, megabytes);
    });
}

void BackupMenu::restoreFromFile()
{
    const QString file = dialogs().openFileName(RESTORE_OPEN_CAP, m_folder, RESTORE_FILTER);
    if (file.isEmpty())
        return;
    const ConnectionSettings settings = m_settings;
    DatabaseRestore restore(settings);
    if (!dialogs().confirm(RESTORE_CONFIRM_FMT.arg(settings.database, file, restore.asideDatabase())))
        return;
    m_restoring = true;
    begin(RESTORE_RUNNING_CAP);
    m_runner.start([settings, file](const JobControl& control) {
        const BackupManifest manifest = DatabaseRestore(settings, control).restore(file);
        return RESTORE_DONE_FMT.arg(manifest.created.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    });
}

} // namespace tarvex
