#include "DatabaseSection.h"

#include "IniFile.h"

#include <QFileInfo>
#include <unistd.h>

namespace tarvex {

namespace {

const QString kSection = QStringLiteral("Database");
const QString kPassword = QStringLiteral("Password");

} // namespace

ConnectionSettings readDatabaseSection(const TIniFile& ini, const QString& defaultDatabase)
{
    ConnectionSettings c;
    c.host = ini.ReadString(kSection, QStringLiteral("Host"), QString());
    c.socket = ini.ReadString(kSection, QStringLiteral("Socket"), QString());
    c.port = ini.ReadInteger(kSection, QStringLiteral("Port"), 3306);
    c.user = ini.ReadString(kSection, QStringLiteral("User"), QString());
    c.database = ini.ReadString(kSection, QStringLiteral("Database"), defaultDatabase);
    return c;
}

QString readDatabasePassword(const TIniFile& ini)
{
    return ini.ReadString(kSection, kPassword, QString());
}

bool hasDatabasePassword(const TIniFile& ini)
{
    return ini.ValueExists(kSection, kPassword);
}

bool passwordFileIsPrivate(const QString& file)
{
    const QFileInfo info(file);
    const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    return !(info.permissions() & others) && info.ownerId() == ::geteuid();
}

} // namespace tarvex
