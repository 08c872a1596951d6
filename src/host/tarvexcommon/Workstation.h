#pragma once
// Where this workstation's program finds its parts. Two layouts:
// - a build folder: modules and the settings file beside the program;
// - installed: the program in PREFIX/bin, modules in PREFIX/lib/tarvex/modules,
//   settings in the user's config folder or /etc/tarvex, data in the user's
//   data folder.
// The layout is told by the installed module folder next to the program's.

#include <QString>
#include <QStringList>

namespace tarvex {

class Workstation {
public:
    // `programFile` is the running program; `configHome` and `dataHome` the
    // user's folders ($XDG_CONFIG_HOME, $XDG_DATA_HOME or their defaults);
    // `systemConfigDir` the machine-wide settings folder.
    Workstation(const QString& programFile, const QString& configHome, const QString& dataHome,
                const QString& systemConfigDir = QStringLiteral("/etc/tarvex"));
    // The running program with the real user's folders.
    static Workstation current();

    bool installed() const { return m_installed; }
    QString moduleDir() const;
    // The shared library of a module, e.g. "products" -> .../libproducts.so.
    QString modulePath(const QString& stem) const;

    // Settings files in the order they are looked for; the first that exists
    // is the workstation's settings file.
    QStringList settingsCandidates() const;
    // The first existing candidate, or (none yet) the one a write creates:
    // beside the program in a build folder, the user's file when installed.
    QString settingsFile() const;
    // Where the workstation keeps files of its own (pictures, scans): the
    // program's folder in a build folder, the user's data folder installed.
    QString dataDir() const;

private:
    QString m_programFile;
    QString m_programDir;
    QString m_configHome;
    QString m_dataHome;
    QString m_systemConfigDir;
    bool m_installed = false;
};

} // namespace tarvex
