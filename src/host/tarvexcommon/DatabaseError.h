#pragma once
// The one error type for database failures: the server's code and message,
// and the statement that failed.

#include "Error.h"

#include <QString>

class QSqlError;

namespace tarvex {

// Its kind is ConnectionLost when the session died or no server answered,
// else Database; the detail holds the code, the server's text and the SQL.
class DatabaseError : public TarvexError {
public:
    DatabaseError(int code, const QString& message, const QString& sql = QString());

    // A Serbian sentence naming the field by its label and saying what to do
    // (see DatabaseErrorText.h); told when shown, as labels are learnt while
    // datasets open. The server's text and the statement are the detail.
    QString userText() const override;

    // The driver's report of a failed statement (native code, server text).
    static DatabaseError fromSqlError(const QSqlError& error, const QString& sql = QString());

    int code() const { return m_code; }
    const QString& serverMessage() const { return m_message; }
    const QString& sql() const { return m_sql; }

    // The session died under us: 2006 "server has gone away", 2013 and 2055
    // "lost connection", 4031 "disconnected by the server because of inactivity".
    bool isConnectionLost() const { return isConnectionLostCode(m_code); }
    static bool isConnectionLostCode(int code) { return code == 2006 || code == 2013 || code == 2055 || code == 4031; }
    // No session could be opened: no server on the socket or the port, an
    // unknown host.
    bool isServerAway() const { return isServerAwayCode(m_code); }
    // The statement that met the failure only read (a search, a report):
    // a lost connection then lost no input. Told by the Connection.
    bool duringRead() const { return m_duringRead; }
    void setDuringRead(bool reading) { m_duringRead = reading; }
    static bool isServerAwayCode(int code) { return code == 2002 || code == 2003 || code == 2005; }

private:
    int m_code;
    QString m_message;
    QString m_sql;
    bool m_duringRead = false;
};

} // namespace tarvex
