#include "Schema.h"

#include "Connection.h"
#include "Error.h"
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
}

void upgradeSchema(QSqlDatabase& db)
{
    struct Key {
        const char* table;
        const char* columns;
        const char* oldIndex;  // the index the key takes the place of
    };
    static const Key keys[] = {
        {"productalter", "productid, groupid", "productalter_product"},
        {"productcategorypr", "productid, categoryprid", "productcategorypr_product"},
    };
    for (const Key& key : keys) {
        const QString table = QString::fromLatin1(key.table);
        QSqlQuery query = selectSql(db, QStringLiteral("SELECT (SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                                                       "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ?), "
                                                       "(SELECT COUNT(*) FROM information_schema.TABLE_CONSTRAINTS WHERE "
                                                       "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? AND "
                                                       "CONSTRAINT_TYPE = 'PRIMARY KEY')"),
                                    {table, table});
        if (!query.next() || query.value(0).toInt() == 0 || query.value(1).toInt() > 0)
            continue;
        // The keyed table is filled beside the old one and takes its place
        // at once; a repeated link is kept once.
        const QString name = quoteIdentifier(table);
        const QString fresh = quoteIdentifier(table + QStringLiteral("_keyed"));
        const QString old = quoteIdentifier(table + QStringLiteral("_unkeyed"));
        execSql(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(fresh));
        execSql(db, QStringLiteral("CREATE TABLE %1 LIKE %2").arg(fresh, name));
        execSql(db, QStringLiteral("ALTER TABLE %1 DROP INDEX IF EXISTS %2, ADD PRIMARY KEY (%3)")
                        .arg(fresh, quoteIdentifier(QString::fromLatin1(key.oldIndex)), QString::fromLatin1(key.columns)));
        execSql(db, QStringLiteral("INSERT IGNORE INTO %1 SELECT * FROM %2").arg(fresh, name));
        execSql(db, QStringLiteral("RENAME TABLE %1 TO %2, %3 TO %1").arg(name, old, fresh));
        execSql(db, QStringLiteral("DROP TABLE %1").arg(old));
    }
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
