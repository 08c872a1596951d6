#include "IniFile.h"
#include "ListCompare.h"
#include "ScratchHelpers.h"
#include "Workstation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex;

namespace {

void touch(const QString& file, const QByteArray& text = QByteArray())
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    test::writeFile(file, text);
}

// A settings file that names a server.
void touchServer(const QString& file)
{
    touch(file, "[Database]\nHost=server.local\n");
}

struct Layout {
    QTemporaryDir root;
    QString path(const QString& relative) const { return root.filePath(relative); }
    Workstation workstation(const QString& program) const
    {
        return Workstation(path(program), path("home/.config"), path("home/.local/share"), path("home/.local/state"),
                           path("etc/tarvex"));
    }
};

} // namespace

TEST(Workstation, FoldersOfBuildAndInstalledProgramsAndXdgConfigHomeOnlyWhenAbsolute)
{
    Layout l;
    QDir().mkpath(l.path("build/bin"));
    const Workstation w = l.workstation("build/bin/tarvex");
    EXPECT_FALSE(w.installed());
    EXPECT_EQ(w.modulePath("products"), l.path("build/bin/libproducts.so"));
    // Pictures and scans under the user's data folder, remembered windows in the state folder: never beside the program.
    EXPECT_EQ(w.dataDir(), l.path("home/.local/share/tarvex"));
    EXPECT_EQ(w.stateFile(), l.path("home/.local/state/tarvex/state.ini"));
    EXPECT_ROWS(w.settingsCandidates(), QStringList({l.path("build/bin/tarvex.ini"), l.path("home/.config/tarvex/tarvex.ini"),
                                                   l.path("etc/tarvex/tarvex.ini")}));

    // None there yet: a write creates the file beside the program.
    EXPECT_EQ(w.settingsFile(), l.path("build/bin/tarvex.ini"));
    // A folder of that name is not a settings file.
    QDir().mkpath(l.path("home/.config/tarvex/tarvex.ini"));
    touchServer(l.path("etc/tarvex/tarvex.ini"));
    EXPECT_EQ(w.settingsFile(), l.path("etc/tarvex/tarvex.ini"));
    QDir().rmdir(l.path("home/.config/tarvex/tarvex.ini"));
    touchServer(l.path("home/.config/tarvex/tarvex.ini"));
    EXPECT_EQ(w.settingsFile(), l.path("home/.config/tarvex/tarvex.ini"));
    // A file beside the program counts only when it names a server: options
    // or a window size written there never hide the user's server.
    touch(l.path("build/bin/tarvex.ini"), "[ProductDetailForm]\nWidth=900\n[Product]\nImageDir=/tmp\n");
    EXPECT_EQ(w.settingsFile(), l.path("home/.config/tarvex/tarvex.ini"));
    touchServer(l.path("build/bin/tarvex.ini"));
    EXPECT_EQ(w.settingsFile(), l.path("build/bin/tarvex.ini"));
    // With no server named anywhere, the first file there is keeps its options.
    touch(l.path("build/bin/tarvex.ini"), "[Product]\nImageDir=/tmp\n");
    touch(l.path("home/.config/tarvex/tarvex.ini"), "[Document]\nDefWarehouseName=Glavni\n");
    touch(l.path("etc/tarvex/tarvex.ini"));
    EXPECT_EQ(w.settingsFile(), l.path("build/bin/tarvex.ini"));

    // An installed program finds its modules under lib and its settings in the config folders.
    Layout i;
    QDir().mkpath(i.path("usr/bin"));
    QDir().mkpath(i.path("usr/lib/tarvex/modules"));
    const Workstation installed = i.workstation("usr/bin/tarvex");
    EXPECT_TRUE(installed.installed());
    EXPECT_EQ(installed.modulePath("products"), i.path("usr/lib/tarvex/modules/libproducts.so"));

    // A file beside an installed program is not looked at.
    touchServer(i.path("usr/bin/tarvex.ini"));
    EXPECT_EQ(installed.settingsFile(), i.path("home/.config/tarvex/tarvex.ini"));
    touchServer(i.path("etc/tarvex/tarvex.ini"));
    EXPECT_EQ(installed.settingsFile(), i.path("etc/tarvex/tarvex.ini"));
    // The user's file wins over the machine's.
    touchServer(i.path("home/.config/tarvex/tarvex.ini"));
    EXPECT_EQ(installed.settingsFile(), i.path("home/.config/tarvex/tarvex.ini"));

    // The current program uses XDG_CONFIG_HOME only when it is absolute.
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QStringList files = Workstation::current().settingsCandidates();
    EXPECT_ROWS(files, QStringList({IniFilePathForExecutable(QCoreApplication::applicationFilePath()),
                                  config.filePath("tarvex/tarvex.ini"), "/etc/tarvex/tarvex.ini"}));
    // Which of them is the settings file (DefaultIniFilePath): the layouts above.

    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(Workstation::current().settingsCandidates().value(1), QDir::homePath() + "/.config/tarvex/tarvex.ini");
    saved.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved);
    // The state file follows XDG_STATE_HOME the same way.
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", config.path().toUtf8());
    EXPECT_EQ(stateFilePath(), config.filePath("tarvex/state.ini"));
    qputenv("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ(stateFilePath(), QDir::homePath() + "/.local/state/tarvex/state.ini");
    qputenv("XDG_STATE_HOME", savedState);
}
