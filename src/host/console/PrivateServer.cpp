#include "PrivateServer.h"

#include "Connection.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QThread>
#include <QUuid>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace tarvex {

namespace {

constexpr int kMaxSocketPathBytes = 100;

bool isRoot() { return ::geteuid() == 0; }

QString readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(file.readAll());
}

// A process counts as alive while it exists and is not a zombie.
bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    const QString stat = readSmallFile(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.isEmpty())
        return false;
    const int close = stat.lastIndexOf(QLatin1Char(')'));
    const QChar state = close >= 0 && close + 2 < stat.size() ? stat[close + 2] : QChar();
    return state != QLatin1Char('Z') && state != QLatin1Char('X');
}

} // namespace

PrivateServer::PrivateServer(const QString& baseDir) : PrivateServer(baseDir, Options()) {}

PrivateServer::PrivateServer(const QString& baseDir, const Options& options)
    : m_baseDir(QDir::cleanPath(QFileInfo(baseDir).absoluteFilePath())), m_options(options)
{
    // Written into the option file as it is: a size, nothing else.
    static const QRegularExpression size(QStringLiteral("^[1-9][0-9]*[KMG]?$"));
    if (!m_options.bufferPool.isEmpty() && !size.match(m_options.bufferPool).hasMatch())
        throw ServerError(QStringLiteral("The buffer pool size \"%1\" is not a size such as 512M or 2G.")
                              .arg(m_options.bufferPool));
    m_socket = m_baseDir + QStringLiteral("/mysqld.sock");
    if (m_socket.toUtf8().size() >= kMaxSocketPathBytes) {
        // Unix socket paths are limited; long folders get a short name in /tmp.
        const QByteArray hash = QCryptographicHash::hash(m_baseDir.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
        m_socket = QStringLiteral("/tmp/tarvex-%1-%2.sock").arg(::getuid()).arg(QString::fromLatin1(hash));
    }
}

QString PrivateServer::dataDir() const { return m_baseDir + QStringLiteral("/data"); }
QString PrivateServer::errorLogPath() const { return m_baseDir + QStringLiteral("/error.log"); }
QString PrivateServer::defaultsFile() const { return m_baseDir + QStringLiteral("/my.cnf"); }
QString PrivateServer::lockPath() const { return m_baseDir + QStringLiteral("/server.lock"); }

QString PrivateServer::userName() const
{
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QString PrivateServer::findProgram(const QString& name) const
{
    for (const QString& dir : m_options.binaryDirs) {
        const QFileInfo info(dir + QLatin1Char('/') + name);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QString();
}

void PrivateServer::checkBinaries() const
{
    QStringList missing;
    for (const char* name : {"mariadbd", "mariadb-install-db"})
        if (findProgram(QLatin1String(name)).isEmpty())
            missing << QLatin1String(name);
    if (!missing.isEmpty())
        throw ServerError(QStringLiteral("The MariaDB server programs (%1) were not found in %2. "
                                         "Install the Debian package mariadb-server-core "
                                         "(apt-get install mariadb-server-core).")
                              .arg(missing.join(QStringLiteral(", ")), m_options.binaryDirs.join(QLatin1Char(':'))));
}

bool PrivateServer::isOurServerProcess(qint64 pid) const
{
    if (!processAlive(pid))
        return false;
    // Guards against a recycled pid: the command line must name our option file.
    QString cmdline = readSmallFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
    cmdline.replace(QChar(0), QLatin1Char(' '));
    return cmdline.contains(QStringLiteral("mariadbd")) && cmdline.contains(defaultsFile());
}

qint64 PrivateServer::lockedPid() const
{
    return readSmallFile(lockPath()).trimmed().toLongLong();
}

qint64 PrivateServer::serverPid() const
{
    const qint64 locked = lockedPid();
    if (isOurServerProcess(locked))
        return locked;
    const qint64 fromPidFile = readSmallFile(m_baseDir + QStringLiteral("/mariadbd.pid")).trimmed().toLongLong();
    if (isOurServerProcess(fromPidFile))
        return fromPidFile;
    return 0;
}

bool PrivateServer::answers() const
{
    if (!QFileInfo::exists(m_socket))
        return false;
    const QString name = QStringLiteral("tarvex-probe-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=%1;MYSQL_OPT_CONNECT_TIMEOUT=5").arg(m_socket));
        db.setUserName(userName());
        ok = db.open();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool PrivateServer::isRunning() const
{
    return serverPid() != 0 && answers();
}

void PrivateServer::writeDefaultsFile() const
{
    const QString flush = m_options.durable ? QStringLiteral("1") : QStringLiteral("0");
    QString text;
    text += QStringLiteral("# Written by Tarvex for its private server; rewritten at every start.\n");
    text += QStringLiteral("[mariadbd]\n");
    text += QStringLiteral("datadir=%1\n").arg(dataDir());
    text += QStringLiteral("socket=%1\n").arg(m_socket);
    text += QStringLiteral("pid-file=%1/mariadbd.pid\n").arg(m_baseDir);
    text += QStringLiteral("log-error=%1\n").arg(errorLogPath());
    // Temporary tables of its own folder: servers that share /tmp can name
    // theirs alike (same pid in another container) and delete each other's.
    text += QStringLiteral("tmpdir=%1/tmp\n").arg(m_baseDir);
    text += QStringLiteral("skip-networking\nskip-name-resolve\n");
    text += QStringLiteral("character-set-server=utf8mb4\ncollation-server=utf8mb4_unicode_ci\n");
    text += QStringLiteral("default-storage-engine=InnoDB\n");
    QString pool = m_options.bufferPool;
    if (pool.isEmpty())
        pool = m_options.durable ? QStringLiteral("64M") : QStringLiteral("128M");
    text += QStringLiteral("innodb-buffer-pool-size=%1\n").arg(pool);
    text += QStringLiteral("innodb-flush-log-at-trx-commit=%1\n").arg(flush);
    text += QStringLiteral("max-connections=50\ntable-open-cache=400\n");
    text += QStringLiteral("[client]\nsocket=%1\nuser=%2\n").arg(m_socket, userName());

    QFile file(defaultsFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ServerError(QStringLiteral("Cannot write %1: %2").arg(defaultsFile(), file.errorString()));
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(text.toUtf8());
}

void PrivateServer::initialiseDataDir() const
{
    // Initialise beside the target and rename, so a half-made folder is never used.
    const QString tmp = dataDir() + QStringLiteral(".tmp");
    QDir(tmp).removeRecursively();
    QStringList args{QStringLiteral("--defaults-file=") + defaultsFile(),
                     QStringLiteral("--datadir=") + tmp,
                     QStringLiteral("--auth-root-authentication-method=socket"),
                     QStringLiteral("--skip-test-db"), QStringLiteral("--force")};
    if (isRoot())
        args << QStringLiteral("--user=root");
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(findProgram(QStringLiteral("mariadb-install-db")), args);
    if (!install.waitForFinished(120000) || install.exitStatus() != QProcess::NormalExit || install.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(install.readAll());
        QDir(tmp).removeRecursively();
        throw ServerError(QStringLiteral("mariadb-install-db failed for %1:\n%2").arg(dataDir(), output.right(2000)));
    }
    QDir(dataDir()).removeRecursively();
    if (!QDir().rename(tmp, dataDir()))
        throw ServerError(QStringLiteral("Cannot rename %1 to %2").arg(tmp, dataDir()));
}

void PrivateServer::removeStaleFiles() const
{
    QFile::remove(m_socket);
    QFile::remove(m_socket + QStringLiteral(".lock"));
    QFile::remove(m_baseDir + QStringLiteral("/mariadbd.pid"));
    QFile::remove(lockPath());
}

void PrivateServer::rotateErrorLog() const
{
    if (!QFileInfo::exists(errorLogPath()))
        return;
    const QString previous = errorLogPath() + QStringLiteral(".1");
    QFile::remove(previous);
    QFile::rename(errorLogPath(), previous);
}

QString PrivateServer::errorLogTail() const
{
    return readSmallFile(errorLogPath()).right(3000);
}

void PrivateServer::waitUntilReady(qint64 pid) const
{
    QElapsedTimer timer;
    timer.start();
    int pause = 50;
    while (timer.elapsed() < m_options.startTimeoutMs) {
        if (!processAlive(pid))
            throw ServerError(QStringLiteral("The MariaDB server exited while starting. Its log %1 says:\n%2")
                                  .arg(errorLogPath(), errorLogTail()));
        if (answers())
            return;
        QThread::msleep(pause);
        pause = qMin(pause * 2, 400);
    }
    throw ServerError(QStringLiteral("The MariaDB server did not answer within %1 s. Its log %2 says:\n%3")
                          .arg(m_options.startTimeoutMs / 1000)
                          .arg(errorLogPath(), errorLogTail()));
}

void PrivateServer::runUpgrade() const
{
    const QString program = findProgram(QStringLiteral("mariadb-upgrade"));
    if (program.isEmpty())
        return;
    QProcess upgrade;
    upgrade.setProcessChannelMode(QProcess::MergedChannels);
    upgrade.start(program, {QStringLiteral("--defaults-file=") + defaultsFile(), QStringLiteral("--silent")});
    if (!upgrade.waitForFinished(300000) || upgrade.exitCode() != 0)
        throw ServerError(QStringLiteral("mariadb-upgrade failed:\n%1").arg(QString::fromLocal8Bit(upgrade.readAll()).right(2000)));
}

bool PrivateServer::start()
{
    if (isRunning())
        return false;
    checkBinaries();
    if (!QDir().mkpath(m_baseDir))
        throw ServerError(QStringLiteral("Cannot create the folder %1").arg(m_baseDir));

    // Another process of ours may be starting the server right now.
    if (const qint64 pid = serverPid()) {
        waitUntilReady(pid);
        return false;
    }

    writeDefaultsFile();
    if (!QDir().mkpath(m_baseDir + QStringLiteral("/tmp")))
        throw ServerError(QStringLiteral("Cannot create the folder %1/tmp").arg(m_baseDir));
    if (!QFileInfo::exists(dataDir() + QStringLiteral("/mysql")))
        initialiseDataDir();
    removeStaleFiles();
    rotateErrorLog();

    QStringList args{QStringLiteral("--defaults-file=") + defaultsFile()};
    if (isRoot())
        args << QStringLiteral("--user=root");
    qint64 pid = 0;
    const QString program = findProgram(QStringLiteral("mariadbd"));
    if (!QProcess::startDetached(program, args, m_baseDir, &pid) || pid <= 0)
        throw ServerError(QStringLiteral("Cannot start %1").arg(program));
    {
        QFile lock(lockPath());
        if (lock.open(QIODevice::WriteOnly | QIODevice::Truncate))
            lock.write(QByteArray::number(pid));
    }
    waitUntilReady(pid);
    runUpgrade();
    return true;
}

bool PrivateServer::stop()
{
    const qint64 pid = serverPid();
    if (pid == 0) {
        removeStaleFiles();
        return false;
    }
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    QElapsedTimer timer;
    timer.start();
    while (processAlive(pid) && timer.elapsed() < m_options.stopTimeoutMs)
        QThread::msleep(50);
    if (processAlive(pid)) {
        // Last resort only: an unclean stop blocks the next major upgrade.
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        while (processAlive(pid))
            QThread::msleep(50);
    }
    removeStaleFiles();
    return true;
}

} // namespace tarvex
