#include "DemoFill.h"

#include "Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace tarvex {

namespace {

// The same shop on every machine, so that the README's tour finds it.
constexpr quint32 kDemoSeed = 20261206;

} // namespace

void fillDemoShop(const ConnectionSettings& target)
{
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tarvex-demogen"));
    QProcess generator;
    generator.setStandardOutputFile(QProcess::nullDevice());
    generator.start(program, {QStringLiteral("--socket"), target.socket, QStringLiteral("--user"), target.user,
                              QStringLiteral("--database"), target.database, QStringLiteral("--scale"),
                              QStringLiteral("small"), QStringLiteral("--seed"), QString::number(kDemoSeed)});
    if (!generator.waitForStarted(-1))
        throw StartupError(DEMO_FILL_START_ERR.arg(program, generator.errorString()));
    generator.waitForFinished(-1);
    if (generator.exitStatus() != QProcess::NormalExit || generator.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(generator.readAllStandardError()).trimmed();
        throw StartupError(DEMO_FILL_FAILED_ERR.arg(said.isEmpty() ? generator.errorString() : said));
    }
}

} // namespace tarvex
