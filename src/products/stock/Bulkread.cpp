#include "Bulkread.h"

#include "DatabaseError.h"

#include <QSqlError>

namespace products {

QSqlQuery selectRows(QSqlDatabase db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // Doubles as doubles: the default precision reads them through text.
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!query.prepare(sql))
        throw tarvex::DatabaseError::fromSqlError(query.lastError(), sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw tarvex::DatabaseError::fromSqlError(query.lastError(), sql);
    return query;
}

} // namespace products
