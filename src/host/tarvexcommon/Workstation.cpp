#include "Workstation.h"

#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

QString userStateHome()
{
    return userFolder("XDG_STATE_HOME", ".local/state");
}

QString stateFilePath()
{
    return userStateHome() + QStringLiteral("/tarvex/state.ini");
}

Workstation::Workstation(const QString& programFile, const QString& configHome, const QString& dataHome,
                         const QString& stateHome, const QString& systemConfigDir)
    : m_programFile(QDir::cleanPath(programFile)),
      m_programDir(QFileInfo(m_programFile).absolutePath()),
      m_configHome(QDir::cleanPath(configHome)),
      m_dataHome(QDir::cleanPath(dataHome)),
      m_stateHome(QDir::cleanPath(stateHome)),
      m_systemConfigDir(QDir::cleanPath(systemConfigDir))
{
    m_installed = QFileInfo(QDir(m_programDir).filePath(QLatin1String(InstalledModules))).isDir();
}

Workstation Workstation::current()
{
    return Workstation(QCoreApplication::applicationFilePath(), userFolder("XDG_CONFIG_HOME", ".config"),
                       userFolder("XDG_DATA_HOME", ".local/share"), userStateHome());
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
    QString firstExisting;
    for (const QString& file : files) {
        if (!QFileInfo(file).isFile())
            continue;
        // A file that holds only this workstation's options names no server
        // and must not hide the one that does.
        if (!QFile(file).open(QIODevice::ReadOnly) || TIniFile(file).SectionExists(QStringLiteral("Database")))
            return file;
        if (firstExisting.isEmpty())
            firstExisting = file;
    }
    return firstExisting.isEmpty() ? files.first() : firstExisting;
}

QString Workstation::dataDir() const
{
    return m_dataHome + QStringLiteral("/tarvex");
}

QString Workstation::stateDir() const
{
    return m_stateHome + QStringLiteral("/tarvex");
}

QString Workstation::stateFile() const
{
    return stateDir() + QStringLiteral("/state.ini");
}

} // namespace tarvex
