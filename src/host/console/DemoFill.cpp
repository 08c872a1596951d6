#include "DemoFill.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace tarvex {

namespace {

// The same shop on every machine, so that the README's tour finds it.
constexpr quint32 kDemoSeed = 20261206;
// The generator's exit code for a fill it refused (its words are Serbian then).
constexpr int kRefusedExit = 3;

// Lines "progress N" on the generator's output, N of 100.
void readProgress(QProcess& generator, const StartupProgress& progress)
{
    while (generator.canReadLine()) {
        const QString line = QString::fromUtf8(generator.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("progress ")))
            continue;
        bool ok = false;
        const int percent = line.mid(9).toInt(&ok);
        if (ok && progress)
            progress(STARTUP_DEMO_STEP, percent);
    }
}

// What the shop reads when the generator failed: the cause when it is
// known, else that it stopped; its own words go to the detail.
QString failureText(const QString& program, int exitCode, const QString& said)
{
    static const QRegularExpression full(
        QStringLiteral(R"(No space left|\((1021|1114)\)|\b(errno|error|Errcode):? 28\b|is full)"),
        QRegularExpression::CaseInsensitiveOption);
    if (full.match(said).hasMatch())
        return DEMO_FILL_FAILED_ERR + QLatin1Char('\n') + DEMO_FILL_DISK_FULL_INF;
    if (exitCode == kRefusedExit && !said.isEmpty())
        return DEMO_FILL_FAILED_ERR + QLatin1Char('\n')
               + DEMO_FILL_REFUSED_INF.arg(said.section(QStringLiteral("tarvex-demogen: "), -1));
    return DEMO_FILL_FAILED_ERR + QLatin1Char('\n') + DEMO_FILL_STOPPED_INF.arg(program);
}

} // namespace

void fillDemoShop(const ConnectionSettings& target, const StartupProgress& progress)
{
    runDemoGenerator(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tarvex-demogen")), target,
                     progress);
}

void runDemoGenerator(const QString& program, const ConnectionSettings& target, const StartupProgress& progress)
{
    QProcess generator;
    generator.start(program, {QStringLiteral("--socket"), target.socket, QStringLiteral("--user"), target.user,
                              QStringLiteral("--database"), target.database, QStringLiteral("--scale"),
                              QStringLiteral("small"), QStringLiteral("--seed"), QString::number(kDemoSeed),
                              QStringLiteral("--progress")});
    if (!generator.waitForStarted(-1))
        throw StartupError(DEMO_FILL_START_ERR.arg(program), generator.errorString());
    // Short waits, so the start-up window follows the fill.
    while (generator.state() != QProcess::NotRunning) {
        generator.waitForFinished(100);
        readProgress(generator, progress);
    }
    readProgress(generator, progress);
    if (generator.exitStatus() != QProcess::NormalExit || generator.exitCode() != 0) {
        QString said = QString::fromLocal8Bit(generator.readAllStandardError()).trimmed();
        if (said.isEmpty())
            said = generator.errorString();
        throw StartupError(failureText(program, generator.exitCode(), said), said);
    }
}

} // namespace tarvex
