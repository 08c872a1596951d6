#include "Workstation.h"

#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tarvex {

namespace {

// Relative to the program's folder; with the program in /usr/bin this is
// /usr/lib/tarvex/modules.
const char* const InstalledModules = "../lib/tarvex/modules";

QString userFolder(const char* variable, const char* fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules ignore relative paths.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback));
}

} // namespace

Workstation::Workstation(const QString& programFile, const QString& configHome, const QString& dataHome,
                         const QString& systemConfigDir)
    : m_programFile(QDir::cleanPath(programFile)),
      m_programDir(QFileInfo(m_programFile).absolutePath()),
      m_configHome(QDir::cleanPath(configHome)),
      m_dataHome(QDir::cleanPath(dataHome)),
      m_systemConfigDir(QDir::cleanPath(systemConfigDir))
{
    m_installed = QFileInfo(QDir(m_programDir).filePath(QLatin1String(InstalledModules))).isDir();
}

Workstation Workstation::current()
{
    return Workstation(QCoreApplication::applicationFilePath(), userFolder("XDG_CONFIG_HOME", ".config"),
                       userFolder("XDG_DATA_HOME", ".local/share"));
}

QString Workstation::moduleDir() const
{
    if (m_installed)
        return QDir::cleanPath(QDir(m_programDir).filePath(QLatin1String(InstalledModules)));
    return m_programDir;
}

QString Workstation::modulePath(const QString& stem) const
{
    return QDir(moduleDir()).filePath(QStringLiteral("lib%1.so").arg(stem));
}

QStringList Workstation::settingsCandidates() const
{
    QStringList files;
    if (!m_installed)
        files << IniFilePathForExecutable(m_programFile);
    files << m_configHome + QStringLiteral("/tarvex/tarvex.ini") << m_systemConfigDir + QStringLiteral("/tarvex.ini");
    return files;
}

QString Workstation::settingsFile() const
{
    const QStringList files = settingsCandidates();
    for (const QString& file : files)
        if (QFileInfo(file).isFile())
            return file;
    return files.first();
}

QString Workstation::dataDir() const
{
    return m_installed ? m_dataHome + QStringLiteral("/tarvex") : m_programDir;
}

} // namespace tarvex
