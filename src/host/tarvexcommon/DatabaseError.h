#pragma once
// The one error type for database failures: the server's code and message,
// and the statement that failed.

#include <QString>
#include <stdexcept>

class QSqlError;

namespace tarvex {

class DatabaseError : public std::runtime_error {
public:
    DatabaseError(int code, const QString& message, const QString& sql = QString());

    // The driver's report of a failed statement (native code, server text).
    static DatabaseError fromSqlError(const QSqlError& error, const QString& sql = QString());

    int code() const { return m_code; }
    const QString& serverMessage() const { return m_message; }
    const QString& sql() const { return m_sql; }

    // 2006 "server has gone away" and 2013 "lost connection during query".
    bool isConnectionLost() const { return isConnectionLostCode(m_code); }
    static bool isConnectionLostCode(int code) { return code == 2006 || code == 2013; }

private:
    int m_code;
    QString m_message;
    QString m_sql;
};

} // namespace tarvex
