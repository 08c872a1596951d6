#pragma once
// MariaDB's command-line clients (mariadb, mariadb-dump) run against a server
// named by connection settings. The account and its password go into an
// option file of our own, readable by this user only and removed again;
// never onto a command line, where every user of the machine could read it.

#include "Connection.h"
#include "Error.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tarvex {

inline const QString CLIENT_MISSING_ERR =
    QStringLiteral("Program %1 nije nađen. Instalirajte paket mariadb-client (apt-get install mariadb-client).");

class ClientOptions {
public:
    // Writes the option file for the settings' server (the first node of a
    // cluster) and account. Throws TarvexError when it cannot be written.
    explicit ClientOptions(const ConnectionSettings& settings);
    ClientOptions(const ClientOptions&) = delete;
    ClientOptions& operator=(const ClientOptions&) = delete;

    // The first arguments of every client program: only this option file.
    QStringList arguments() const;
    const QString& file() const { return m_file; }

private:
    QTemporaryDir m_dir;
    QString m_file;
};

// The path of a MariaDB client program; throws TarvexError saying which
// package to install when it is missing.
QString clientProgram(const QString& name);

} // namespace tarvex
