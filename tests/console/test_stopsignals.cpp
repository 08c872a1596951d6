// Stop signals end the console as its close button does: every window,
// modal ones included, is closed, the event loop ends, and the real program
// stops the private server it started.

#include "PrivateServer.h"
#include "StopSignals.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace tarvex;

TEST(StopSignals, EachSignalClosesTheWindowsAndEndsTheEventLoop)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        StopSignals stop;
        QMainWindow window;
        window.show();
        bool dialogClosed = false;
        // A modal window is open when the signal comes.
        QTimer::singleShot(0, [&] {
            QDialog dialog(&window);
            QTimer::singleShot(50, [signal] { ::kill(::getpid(), signal); });
            dialog.exec();
            dialogClosed = true;
        });
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(10000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(dialogClosed);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(stop.received(), signal);
    }
}

#ifdef TARVEX_CONSOLE
namespace {

// A live process; a finished one that nobody reaped yet (state Z) is not.
bool alive(qint64 pid)
{
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int state = line.lastIndexOf(')') + 2;
    return state < line.size() && line.at(state) != 'Z';
}

} // namespace

TEST(StopSignals, SigtermStopsTheConsoleAndItsPrivateServer)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess console;
    console.setProcessEnvironment(env);
    console.setProcessChannelMode(QProcess::ForwardedChannels);
    console.start(QStringLiteral(TARVEX_CONSOLE), {});
    ASSERT_TRUE(console.waitForStarted());

    // The console's startup starts its private server in the user's data folder.
    const PrivateServer server(home.filePath("data/tarvex/server"));
    QElapsedTimer clock;
    clock.start();
    qint64 pid = 0;
    while (!(pid = server.serverPid()) && clock.elapsed() < 120000 && console.state() == QProcess::Running)
        QThread::msleep(100);
    ASSERT_GT(pid, 0) << "no private server came up";
    ASSERT_TRUE(alive(pid));

    ::kill(pid_t(console.processId()), SIGTERM);
    ASSERT_TRUE(console.waitForFinished(180000));
    EXPECT_EQ(console.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(console.exitCode(), 0);
    EXPECT_FALSE(alive(pid));
    EXPECT_FALSE(server.isRunning());
}
#endif
