#pragma once
// Shared by the database, console and backup tests: what a call threw, files
// written with their permissions and read back, a log file of the test's own,
// a free loopback port.

#include "DatabaseError.h"
#include "LogFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvex::test {

// What the call's error of type E tells the user; "no failure" when it threw nothing.
template <class E = TarvexError, class Call>
QString thrownText(Call&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e.userText();
    }
    return QStringLiteral("no failure");
}

// The server's error code for what the call threw; 0 when it threw nothing.
template <class Call>
int thrownCode(Call&& call)
{
    try {
        call();
    } catch (const DatabaseError& e) {
        return e.code();
    }
    return 0;
}

inline void writeFile(const QString& path, const QByteArray& bytes,
                      QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    file.write(bytes);
    file.close();
    file.setPermissions(permissions);
}

// The file's bytes; a failure, and none, when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path.toStdString();
    return file.readAll();
}

// The program's log in a folder of the test's own, removed again whatever the test's outcome.
struct InstalledLog {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("sub/tarvex.log"));
    explicit InstalledLog(LogFileLimits limits = {}) { installLogFile(path, limits); }
    ~InstalledLog() { removeLogFile(); }
    QString text() const { return QString::fromUtf8(fileBytes(path)); }
};

// A TCP socket bound to a free port of 127.0.0.1; `port` gets the port, 0 when none.
inline int loopbackSocket(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    port = bound ? ntohs(address.sin_port) : 0;
    return fd;
}

} // namespace tarvex::test
