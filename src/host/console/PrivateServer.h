#pragma once
// A private MariaDB server kept in one folder of our own: initialised on first
// use, listening on a Unix socket only, reused while it runs, stopped cleanly.
// The application's embedded default and the test runs both use it.
//
// Folder layout: my.cnf (mode 600), data/ (the data directory), tmp/ (its
// temporary tables), server.lock
// (pid of the server we started), mariadbd.pid, error.log.

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace tarvex {

class ServerError : public std::runtime_error {
public:
    explicit ServerError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

class PrivateServer {
public:
    struct Options {
        // Folders searched for mariadbd and mariadb-install-db, in order.
        QStringList binaryDirs{QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                               QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/local/bin")};
        // Real shop data keeps every commit on disk; test runs may relax it.
        bool durable = true;
        // InnoDB's cache of table and index pages, as MariaDB reads a size
        // ("512M", "2G"); empty: 64M for real data, 128M for test runs. A
        // shop much larger than it reads its reports from disk.
        QString bufferPool;
        int startTimeoutMs = 60000;
        int stopTimeoutMs = 60000;
    };

    explicit PrivateServer(const QString& baseDir);
    PrivateServer(const QString& baseDir, const Options& options);

    // Starts the server unless one already runs on this folder; returns true
    // when this call started it. Throws ServerError.
    bool start();

    // Stops the server running on this folder (whoever started it). Returns
    // false when none was running.
    bool stop();

    // A live server process of ours answers on the socket.
    bool isRunning() const;

    QString baseDir() const { return m_baseDir; }
    QString dataDir() const;
    QString socketPath() const { return m_socket; }
    QString errorLogPath() const;
    QString defaultsFile() const;
    // The account that socket authentication lets us in as.
    QString userName() const;
    // Pid of the running server, or 0.
    qint64 serverPid() const;

    // The path of a MariaDB program in the binary folders, or empty.
    QString findProgram(const QString& name) const;

private:
    void checkBinaries() const;
    void writeDefaultsFile() const;
    void initialiseDataDir() const;
    void removeStaleFiles() const;
    void rotateErrorLog() const;
    void waitUntilReady(qint64 pid) const;
    void runUpgrade() const;
    bool answers() const;
    QString lockPath() const;
    qint64 lockedPid() const;
    bool isOurServerProcess(qint64 pid) const;
    QString errorLogTail() const;

    QString m_baseDir;
    QString m_socket;
    Options m_options;
};

} // namespace tarvex
