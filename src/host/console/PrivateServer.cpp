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
#include <QRegularExpression>
#include <QUuid>

#include <cerrno>
#include <cstring>

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
        throw ServerError(SRV_BUFFER_POOL_ERR.arg(m_options.bufferPool),
                          QStringLiteral("The buffer pool size \"%1\" is not a size such as 512M or 2G.")
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
        throw ServerError(SRV_BINARIES_MISSING_ERR.arg(missing.join(QStringLiteral(", ")),
                                                       m_options.binaryDirs.join(QLatin1Char(':'))));
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
    if (m_options.port > 0)
        text += QStringLiteral("port=%1\nbind-address=127.0.0.1\nskip-name-resolve\n").arg(m_options.port);
    else
        text += QStringLiteral("skip-networking\nskip-name-resolve\n");
    if (!m_options.sslCert.isEmpty()) {
        text += QStringLiteral("ssl-ca=%1\nssl-cert=%2\nssl-key=%3\nrequire-secure-transport=ON\n")
                    .arg(m_options.sslCa, m_options.sslCert, m_options.sslKey);
        // Who made, locked or removed which account, in the server's own audit
        // log, where the server has the plugin (package mariadb-server).
        if (QFile::exists(QStringLiteral("/usr/lib/mysql/plugin/server_audit.so")))
            text += QStringLiteral("plugin-load-add=server_audit\nserver-audit-logging=ON\n"
                                   "server-audit-events=QUERY_DCL\nserver-audit-file-path=%1/audit.log\n")
                        .arg(m_baseDir);
    }
    text += QStringLiteral("character-set-server=utf8mb4\ncollation-server=utf8mb4_unicode_ci\n");
    text += QStringLiteral("default-storage-engine=InnoDB\n");
    QString pool = m_options.bufferPool;
    if (pool.isEmpty())
        pool = m_options.durable ? QStringLiteral("64M") : QStringLiteral("128M");
    text += QStringLiteral("innodb-buffer-pool-size=%1\n").arg(pool);
    text += QStringLiteral("innodb-flush-log-at-trx-commit=%1\n").arg(flush);
    text += QStringLiteral("max-connections=50\ntable-open-cache=400\n");
    text += QStringLiteral("[client]\nsocket=%1\nuser=%2\n").arg(m_socket, userName());

    writeFile(defaultsFile(), text.toUtf8());
}

void PrivateServer::writeFile(const QString& path, const QByteArray& bytes) const
{
    QFile file(path);
    // Owner only: the option file names the account.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
              file.write(bytes) == bytes.size() && file.flush();
    if (ok) {
        file.close();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok)
        failWith(SRV_WRITE_ERR.arg(path), file.errorString(), path);
}

QString PrivateServer::causeInLog(const QString& log)
{
    static const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d\s+\d+:\d\d:\d\d\s+\d+\s+)"));
    QStringList errors;
    QStringList lines;
    for (QString line : log.split(QLatin1Char('\n'))) {
        line = line.remove(stamp).trimmed();
        if (line.isEmpty())
            continue;
        lines << line;
        const int at = line.indexOf(QLatin1String("[ERROR]"));
        if (at >= 0 && errors.size() < 2)
            errors << line.mid(at + 7).trimmed();
    }
    return (errors.isEmpty() ? lines.mid(qMax(0, int(lines.size()) - 2)) : errors).join(QLatin1Char('\n'));
}

void PrivateServer::failWith(const QString& headline, const QString& cause, const QString& source) const
{
    QString text = headline;
    static const QRegularExpression full(QStringLiteral(R"(No space left|error:? 28\b|errno:? 28\b|out of disk space|Disk (is )?full)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression readOnly(QStringLiteral(R"(Read-only file system|error:? 30\b|errno:? 30\b|Permission denied|errno:? 13\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (full.match(cause).hasMatch())
        text += QLatin1Char('\n') + SRV_DISK_FULL_INF;
    else if (readOnly.match(cause).hasMatch())
        text += QLatin1Char('\n') + SRV_READ_ONLY_INF.arg(m_baseDir);
    if (!cause.trimmed().isEmpty())
        text += QStringLiteral("\n\n") + SRV_CAUSE_FMT.arg(source, cause.trimmed());
    throw ServerError(text);
}

void PrivateServer::failFromLog(const QString& headline, const QString& otherOutput) const
{
    QString cause = causeInLog(readSmallFile(errorLogPath()));
    if (!cause.isEmpty())
        failWith(headline, cause, errorLogPath());
    // The log says nothing (it could not even be written): the program's own words.
    failWith(headline, causeInLog(otherOutput), QStringLiteral("izlaz programa"));
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
        const QString output = QString::fromLocal8Bit(install.readAll()) + install.errorString();
        QDir(tmp).removeRecursively();
        failFromLog(SRV_INIT_ERR.arg(dataDir()), output);
    }
    QDir(dataDir()).removeRecursively();
    if (!QDir().rename(tmp, dataDir()))
        failWith(SRV_INIT_ERR.arg(dataDir()), QStringLiteral("rename %1 -> %2 failed").arg(tmp, dataDir()), m_baseDir);
}

void PrivateServer::removeStaleFiles() const
{
    for (const QString& path : {m_socket, m_socket + QStringLiteral(".lock"), m_baseDir + QStringLiteral("/mariadbd.pid"),
                                lockPath()}) {
        QFile file(path);
        // A leftover socket or pid file would keep the next server from starting.
        if (file.exists() && !file.remove())
            failWith(SRV_WRITE_ERR.arg(path), file.errorString(), path);
    }
}

void PrivateServer::rotateErrorLog() const
{
    if (!QFileInfo::exists(errorLogPath()))
        return;
    const QString previous = errorLogPath() + QStringLiteral(".1");
    QFile::remove(previous);
    QFile log(errorLogPath());
    if (!log.rename(previous))
        failWith(SRV_WRITE_ERR.arg(previous), log.errorString(), previous);
}

void PrivateServer::waitUntilReady(qint64 pid) const
{
    QElapsedTimer timer;
    timer.start();
    int pause = 50;
    while (timer.elapsed() < m_options.startTimeoutMs) {
        if (!processAlive(pid))
            failFromLog(SRV_EXITED_ERR);
        if (answers())
            return;
        QThread::msleep(pause);
        pause = qMin(pause * 2, 400);
    }
    failFromLog(SRV_TIMEOUT_ERR.arg(m_options.startTimeoutMs / 1000));
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
        failWith(SRV_UPGRADE_ERR, causeInLog(QString::fromLocal8Bit(upgrade.readAll())), program);
}

bool PrivateServer::start()
{
    if (isRunning())
        return false;
    checkBinaries();
    if (!QDir().mkpath(m_baseDir))
        failWith(SRV_FOLDER_ERR.arg(m_baseDir), QString::fromLocal8Bit(std::strerror(errno)), m_baseDir);

    // Another process of ours may be starting the server right now.
    if (const qint64 pid = serverPid()) {
        waitUntilReady(pid);
        return false;
    }

    writeDefaultsFile();
    if (!QDir().mkpath(m_baseDir + QStringLiteral("/tmp")))
        failWith(SRV_FOLDER_ERR.arg(m_baseDir + QStringLiteral("/tmp")), QString::fromLocal8Bit(std::strerror(errno)),
                 m_baseDir);
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
        failWith(SRV_START_ERR.arg(program), QString::fromLocal8Bit(std::strerror(errno)), program);
    try {
        writeFile(lockPath(), QByteArray::number(pid));
    } catch (const ServerError&) {
        // Without its lock nobody could tell this server is ours: stop it again.
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        throw;
    }
    try {
        waitUntilReady(pid);
    } catch (const ServerError&) {
        // One that never answered (still starting, or hanging) is ours to
        // stop: nobody else knows it runs.
        try {
            stop();
        } catch (const ServerError&) {
            // The failure to start is the one to tell.
        }
        throw;
    }
    m_startedHere = true;
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
    m_startedHere = false;
    return true;
}

} // namespace tarvex
