#pragma once
// A private MariaDB server kept in one folder of our own: initialised on first
// use, listening on a Unix socket only, reused while it runs, stopped cleanly.
// The application's embedded default and the test runs both use it.
//
// Folder layout: my.cnf (mode 600), data/ (the data directory), tmp/ (its
// temporary tables), server.lock
// (pid of the server we started), mariadbd.pid, error.log.

#include "Error.h"

#include <QString>
#include <QStringList>

namespace tarvex {

// The private server cannot run; the text tells the shop what failed and why.
class ServerError : public TarvexError {
public:
    explicit ServerError(const QString& userText, const QString& detail = QString())
        : TarvexError(ErrorKind::Configuration, userText, detail)
    {
    }
};

// What a shop reads when the private server cannot run: what failed, what
// to do when the reason is known, and the cause in the server's own words.
inline const QString SRV_BINARIES_MISSING_ERR =
    QStringLiteral("Programi servera baze podataka (%1) nisu nađeni u %2. Instalirajte paket mariadb-server-core "
                   "(apt-get install mariadb-server-core).");
inline const QString SRV_FOLDER_ERR = QStringLiteral("Fascikla servera baze podataka %1 ne može da se napravi.");
inline const QString SRV_WRITE_ERR = QStringLiteral("Datoteka %1 ne može da se upiše.");
inline const QString SRV_INIT_ERR = QStringLiteral("Server baze podataka ne može da pripremi svoje podatke u %1.");
inline const QString SRV_START_ERR = QStringLiteral("Program %1 ne može da se pokrene.");
inline const QString SRV_EXITED_ERR = QStringLiteral("Server baze podataka se zaustavio odmah po pokretanju.");
inline const QString SRV_TIMEOUT_ERR = QStringLiteral("Server baze podataka se nije javio za %1 s.");
inline const QString SRV_UPGRADE_ERR = QStringLiteral("Provera podataka servera (mariadb-upgrade) nije uspela.");
inline const QString SRV_DISK_FULL_INF = QStringLiteral("Na disku nema slobodnog mesta: oslobodite prostor pa pokrenite program ponovo.");
inline const QString SRV_READ_ONLY_INF =
    QStringLiteral("U fasciklu %1 se ne može pisati: dajte pravo pisanja ili izaberite drugu fasciklu.");
inline const QString SRV_BUFFER_POOL_ERR =
    QStringLiteral("Veličina keša servera \"%1\" nije ispravna; zadaje se kao 512M ili 2G.");
inline const QString SRV_CAUSE_FMT = QStringLiteral("Uzrok (%1):\n%2");

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
        // A TCP port on 127.0.0.1 as well as the socket (0: the socket only).
        int port = 0;
        // Serve TLS with these files and refuse plain TCP links
        // (require_secure_transport); empty: no TLS.
        QString sslCa;
        QString sslCert;
        QString sslKey;
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
    // This object started the server that runs (its owner stops it at exit).
    bool startedHere() const { return m_startedHere; }

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

    // The cause of a failure in a server log: its first two error lines
    // without their time stamps; the last lines when it has none.
    static QString causeInLog(const QString& log);

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
    // Writes a whole file or throws ServerError saying why it could not.
    void writeFile(const QString& path, const QByteArray& bytes) const;
    // A ServerError: the headline, what to do when the cause tells, and the
    // cause with where it was read.
    [[noreturn]] void failWith(const QString& headline, const QString& cause, const QString& source) const;
    [[noreturn]] void failFromLog(const QString& headline, const QString& otherOutput = QString()) const;

    QString m_baseDir;
    QString m_socket;
    Options m_options;
    bool m_startedHere = false;
};

} // namespace tarvex
