#include "BackupSettings.h"

#include "DatabaseSection.h"
#include "IniFile.h"

#include <QFileInfo>

namespace tarvex {

BackupSettings readBackupSettings(const QString& iniFile)
{
    const QFileInfo info(iniFile);
    if (!info.isFile())
        throw TarvexError(ErrorKind::Configuration, BACKUP_SETTINGS_MISSING_ERR.arg(iniFile));
    const TIniFile ini(iniFile);
    BackupSettings settings;
    ConnectionSettings& c = settings.connection;
    c = readDatabaseSection(ini, QStringLiteral("tarvex"));
    c.password = readDatabasePassword(ini);
    if (c.host.isEmpty() && c.socket.isEmpty())
        throw TarvexError(ErrorKind::Configuration, BACKUP_SETTINGS_SERVER_ERR.arg(iniFile));
    if (!c.password.isEmpty() && !passwordFileIsPrivate(iniFile))
        throw TarvexError(ErrorKind::Configuration, BACKUP_SETTINGS_OPEN_ERR.arg(iniFile));
    const QString backup = QStringLiteral("Backup");
    settings.folder = ini.ReadString(backup, QStringLiteral("Folder"), QStringLiteral("/var/backups/tarvex"));
    settings.keep.daily = ini.ReadInteger(backup, QStringLiteral("Daily"), settings.keep.daily);
    settings.keep.weekly = ini.ReadInteger(backup, QStringLiteral("Weekly"), settings.keep.weekly);
    settings.keep.monthly = ini.ReadInteger(backup, QStringLiteral("Monthly"), settings.keep.monthly);
    return settings;
}

} // namespace tarvex
