#include "DatabaseError.h"

#include "DatabaseErrorText.h"

#include <QSqlError>

namespace tarvex {

static ErrorKind kindOf(int code)
{
    const bool lost = DatabaseError::isConnectionLostCode(code) || DatabaseError::isServerAwayCode(code);
    return lost ? ErrorKind::ConnectionLost : ErrorKind::Database;
}

DatabaseError::DatabaseError(int code, const QString& message, const QString& sql)
    : TarvexError(kindOf(code), QString(), databaseErrorDetail(code, message, sql)), m_code(code), m_message(message), m_sql(sql)
{
}

QString DatabaseError::userText() const
{
    return databaseErrorText(*this);
}

DatabaseError DatabaseError::fromSqlError(const QSqlError& error, const QString& sql)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString message = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return DatabaseError(ok ? code : -1, message, sql);
}

} // namespace tarvex
