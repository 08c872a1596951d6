#include "DatabaseError.h"

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

} // namespace tarvex
