#include "BackupSettings.h"

#include "IniFile.h"

#include <QFileInfo>

namespace tarvex {

BackupSettings readBackupSettings(const QString& iniFile)
{
    const QFileInfo info(iniFile);
    if (!info.isFile())
        throw TarvexError(ErrorKind::Configuration, BACKUP_SETTINGS_MISSING_ERR.arg(iniFile));
    const TIniFile ini(iniFile);
    const QString db = QStringLiteral("Database");
    BackupSettings settings;
    ConnectionSettings& c = settings.connection;
    c.host = ini.ReadString(db, QStringLiteral("Host"), QString());
    c.socket = ini.ReadString(db, QStringLiteral("Socket"), QString());
    c.port = ini.ReadInteger(db, QStringLiteral("Port"), 3306);
    c.user = ini.ReadString(db, QStringLiteral("User"), QString());
    c.password = ini.ReadString(db, QStringLiteral("Password"), QString());
    c.database = ini.ReadString(db, QStringLiteral("Database"), QStringLiteral("tarvex"));
    if (c.host.isEmpty() && c.socket.isEmpty())
        throw TarvexError(ErrorKind::Configuration, BACKUP_SETTINGS_SERVER_ERR.arg(iniFile));
    if (!c.password.isEmpty() &&
        (info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther)))
        throw TarvexError(ErrorKind::Configuration, BACKUP_SETTINGS_OPEN_ERR.arg(iniFile));
    const QString backup = QStringLiteral("Backup");
    settings.folder = ini.ReadString(backup, QStringLiteral("Folder"), QStringLiteral("/var/backups/tarvex"));
    settings.keep.daily = ini.ReadInteger(backup, QStringLiteral("Daily"), settings.keep.daily);
    settings.keep.weekly = ini.ReadInteger(backup, QStringLiteral("Weekly"), settings.keep.weekly);
    settings.keep.monthly = ini.ReadInteger(backup, QStringLiteral("Monthly"), settings.keep.monthly);
    return settings;
}

} // namespace tarvex
