#pragma once
// Opening a MariaDB/MySQL session the way every part of the system needs it:
// over a Unix socket (the private server) or TCP (a shared server), with the
// session's sql_mode and time zone set explicitly right after connecting.

#include <QSqlDatabase>
#include <QString>

namespace tarvex {

struct ConnectionSettings {
    QString socket;     // Unix socket path; when set, host and port are ignored
    QString host;
    int port = 3306;
    QString user;
    QString password;
    QString database;   // may be empty: connect without choosing a database
};

// The mode every session runs in. NO_BACKSLASH_ESCAPES makes doubling single
// quotes the whole of text quoting; ONLY_FULL_GROUP_BY stays off on purpose.
inline constexpr const char* kSessionSqlMode =
    "STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION,NO_BACKSLASH_ESCAPES";

// Opens a QMYSQL connection under the given Qt connection name (replacing one
// of the same name) and prepares the session. Throws DatabaseError.
QSqlDatabase openConnection(const ConnectionSettings& settings, const QString& connectionName);

// Sets sql_mode, character set and time zone on an open connection.
void prepareSession(QSqlDatabase& db);

// Runs one statement; throws DatabaseError carrying the statement on failure.
void execSql(QSqlDatabase& db, const QString& sql);

// Quotes a text as an SQL literal under NO_BACKSLASH_ESCAPES.
QString quoteSqlText(const QString& text);

// Quotes an identifier with backticks.
QString quoteIdentifier(const QString& name);

} // namespace tarvex
