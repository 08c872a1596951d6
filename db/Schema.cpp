#include "Schema.h"

#include "Connection.h"
#include "Roles.h"
#include "Error.h"
#include "Migration.h"
#include "SqlScript.h"

#include <QFile>
#include <QSqlQuery>
#include <QRegularExpression>

static void initSchemaResource() { Q_INIT_RESOURCE(schema); }

namespace tarvex {

QString schemaScript()
{
    initSchemaResource();
    QFile file(QStringLiteral(":/tarvex/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw InternalError(QStringLiteral("The built-in schema resource is missing"));
    return QString::fromUtf8(file.readAll());
}

void createDatabase(QSqlDatabase& server, const QString& name)
{
    execSql(server, QStringLiteral("CREATE DATABASE IF NOT EXISTS %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci")
                        .arg(quoteIdentifier(name)));
}

void dropDatabase(QSqlDatabase& server, const QString& name)
{
    execSql(server, QStringLiteral("DROP DATABASE IF EXISTS %1").arg(quoteIdentifier(name)));
}

void installSchema(QSqlDatabase& db)
{
    runSqlScript(db, schemaScript());
    // The schema file is always the newest: a database made from it needs none of the steps.
    recordSchemaVersion(db, programSchemaVersion());
    installRoles(db);
}

QStringList schemaTables()
{
    QStringList tables;
    static const QRegularExpression create(QStringLiteral("^CREATE TABLE (\\w+)"), QRegularExpression::MultilineOption);
    auto it = create.globalMatch(schemaScript());
    while (it.hasNext())
        tables << it.next().captured(1);
    return tables;
}

} // namespace tarvex
