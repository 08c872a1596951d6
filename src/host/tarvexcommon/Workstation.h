#pragma once
// Where this workstation's program finds its parts. Two layouts:
// - a build folder: modules beside the program, and a settings file there
//   may name a server for the build;
// - installed: the program in PREFIX/bin, modules in PREFIX/lib/tarvex/modules.
// Either way the user's settings live in the config folder (or /etc/tarvex),
// pictures and scans in the user's data folder, and what the program
// remembers between sessions (window sizes, column layouts, the last search)
// in a state file of its own, so a file the program writes never shadows a
// settings file the user wrote.
// The layout is told by the installed module folder next to the program's.

#include <QString>
#include <QStringList>

namespace tarvex {

// The user's state folder: $XDG_STATE_HOME when absolute, else ~/.local/state.
QString userStateHome();
// The state file of the running program's user (userStateHome()/tarvex/state.ini).
QString stateFilePath();

class Workstation {
public:
    // `programFile` is the running program; `configHome`, `dataHome` and
    // `stateHome` the user's folders ($XDG_CONFIG_HOME, $XDG_DATA_HOME,
    // $XDG_STATE_HOME or their defaults); `systemConfigDir` the machine-wide
    // settings folder.
    Workstation(const QString& programFile, const QString& configHome, const QString& dataHome,
                const QString& stateHome, const QString& systemConfigDir = QStringLiteral("/etc/tarvex"));
    // The running program with the real user's folders.
    static Workstation current();

    bool installed() const { return m_installed; }
    QString moduleDir() const;
    // The shared library of a module, e.g. "products" -> .../libproducts.so.
    QString modulePath(const QString& stem) const;

    // Settings files in the order they are looked for.
    QStringList settingsCandidates() const;
    // The first candidate with a [Database] section, or that cannot be read
    // (start-up then says so rather than pass it over). With none, the
    // first that exists; with none at all, the one a write creates: beside
    // the program in a build folder, the user's file when installed.
    QString settingsFile() const;
    // Where the workstation keeps files of its own (pictures, scans): the
    // user's data folder + tarvex.
    QString dataDir() const;
    // The user's state folder + tarvex, and the state file in it.
    QString stateDir() const;
    QString stateFile() const;

private:
    QString m_programFile;
    QString m_programDir;
    QString m_configHome;
    QString m_dataHome;
    QString m_stateHome;
    QString m_systemConfigDir;
    bool m_installed = false;
};

} // namespace tarvex
