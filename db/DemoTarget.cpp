#include "DemoTarget.h"

#include "Connection.h"
#include "DemoData.h"
#include "Schema.h"

#include <QSqlQuery>

namespace tarvex {

namespace {

bool databaseExists(QSqlDatabase& connection, const QString& name)
{
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"));
    query.addBindValue(name);
    return query.exec() && query.next() && query.value(0).toInt() > 0;
}

bool hasProductTable(QSqlDatabase& connection)
{
    QSqlQuery query(connection);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                     "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'product'"))
           && query.next() && query.value(0).toInt() > 0;
}

bool hasProducts(QSqlDatabase& connection)
{
    QSqlQuery query(connection);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM product")) && query.next()
           && query.value(0).toLongLong() > 0;
}

void createWithSchema(QSqlDatabase& connection, const QString& name)
{
    createDatabase(connection, name);
    execSql(connection, QStringLiteral("USE %1").arg(quoteIdentifier(name)));
    installSchema(connection);
}

} // namespace

DemoTargetAction prepareDemoTarget(QSqlDatabase& connection, const QString& name, bool once)
{
    if (!databaseExists(connection, name)) {
        createWithSchema(connection, name);
        return DemoTargetAction::Fill;
    }
    execSql(connection, QStringLiteral("USE %1").arg(quoteIdentifier(name)));
    if (!hasProductTable(connection))
        installSchema(connection);
    const DemoFillState state = demoFillState(connection);
    if (once && state == DemoFillState::Complete)
        return DemoTargetAction::KeepComplete;
    if (once && state == DemoFillState::Incomplete) {
        // Only a fill of ours that never finished is thrown away.
        dropDatabase(connection, name);
        createWithSchema(connection, name);
        return DemoTargetAction::Refill;
    }
    if (state != DemoFillState::None || hasProducts(connection)) {
        if (once)
            return DemoTargetAction::KeepOwnData;
        throw DemoDataError(QStringLiteral("Baza %1 već ima proizvode; demo podaci se ne unose.").arg(name));
    }
    return DemoTargetAction::Fill;
}

} // namespace tarvex
