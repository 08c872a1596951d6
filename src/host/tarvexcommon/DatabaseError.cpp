#include "DatabaseError.h"

#include <QSqlError>

namespace tarvex {

static std::string describe(int code, const QString& message, const QString& sql)
{
    QString text = QStringLiteral("Database error %1: %2").arg(code).arg(message);
    if (!sql.isEmpty())
        text += QStringLiteral("\nSQL: ") + sql;
    return text.toStdString();
}

DatabaseError::DatabaseError(int code, const QString& message, const QString& sql)
    : std::runtime_error(describe(code, message, sql)), m_code(code), m_message(message), m_sql(sql)
{
}

DatabaseError DatabaseError::fromSqlError(const QSqlError& error, const QString& sql)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString message = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return DatabaseError(ok ? code : -1, message, sql);
}

} // namespace tarvex
