// bench_coldstart: the console started on its embedded default (a private
// server in the user's data folder) until it lists the whole catalogue, the
// time taken from launching the program to that usable list:
//   coldstart.first_ms        a new user folder: the server initialised, the
//                             database made and filled with the demo shop;
//   coldstart.initialised_ms  the same folder again, its server stopped in
//                             between (median of three starts);
//   coldstart.unanswering_host_ms  a shared server named by an address that
//                             never answers: the time until the start-up
//                             gives up with its message.
// The console runs offscreen with its own data and settings folders
// (XDG_DATA_HOME, XDG_CONFIG_HOME), so nothing of the user's is touched.

#include "Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

// Milliseconds from launching the console to its "usable list" line; -1
// when it never got there.
double startOnce(const QString& program, const QString& home)
{
    QProcess console;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    console.setProcessEnvironment(environment);
    console.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    console.start(program, {QStringLiteral("--startup-time")});
    double ms = -1;
    QByteArray output;
    while (ms < 0 && console.waitForReadyRead(120000)) {
        output += console.readAllStandardOutput();
        if (output.contains("usable list after"))
            ms = double(timer.nsecsElapsed()) / 1e6;
    }
    // The console stops the server it started before it ends.
    console.waitForFinished(120000);
    output += console.readAllStandardOutput();
    std::fprintf(stderr, "  %s", output.constData());
    return ms;
}

// Milliseconds until a session to an address that drops every packet fails.
double unansweringHost()
{
    tarvex::ConnectionSettings settings;
    settings.host = QStringLiteral("10.255.255.1");  // private range, routed nowhere
    settings.user = QStringLiteral("tarvex");
    QElapsedTimer timer;
    timer.start();
    try {
        tarvex::Connection connection(settings);
    } catch (const std::exception&) {
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString program = QDir(app.applicationDirPath()).absoluteFilePath(QStringLiteral("../bin/tarvex"));
    if (!QFileInfo::exists(program)) {
        std::printf("bench_coldstart: %s is missing; nothing measured\n", qPrintable(program));
        return 1;
    }
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tarvex-coldstart-XXXXXX"));
    const double first = startOnce(program, home.path());
    QList<double> again;
    for (int i = 0; i < 3; ++i)
        again << startOnce(program, home.path());
    std::sort(again.begin(), again.end());
    std::printf("BENCH coldstart.first_ms %.0f ms\n", first);
    std::printf("BENCH coldstart.initialised_ms %.0f ms\n", again[1]);
    std::printf("BENCH coldstart.unanswering_host_ms %.0f ms\n", unansweringHost());
    return first < 0 || again.first() < 0 ? 1 : 0;
}
