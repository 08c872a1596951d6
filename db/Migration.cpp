#include "Migration.h"
#include "Roles.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "SqlScript.h"
#include "StaffRole.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>

#include <algorithm>

static void initMigrationResource() { Q_INIT_RESOURCE(schema); }

namespace tarvex {

namespace {

const QString kMigrationFolder = QStringLiteral(":/tarvex/db/migrations");

QVariant scalarOf(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query = selectSql(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

bool hasTable(const QSqlDatabase& db, const QString& table)
{
    return scalarOf(db, QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                                       "AND TABLE_NAME = ?"),
                    {table})
               .toInt() > 0;
}

// Holds the server's named lock while the steps run: two workstations
// starting at once must not both upgrade.
class UpgradeLock {
public:
    explicit UpgradeLock(const QSqlDatabase& db) : m_db(db)
    {
        m_name = QStringLiteral("tarvex-schema-") + scalarOf(db, QStringLiteral("SELECT DATABASE()")).toString();
        if (scalarOf(db, QStringLiteral("SELECT GET_LOCK(?, 600)"), {m_name}).toInt() != 1)
            throw InternalError(QStringLiteral("The schema upgrade lock %1 was not granted in 600 s").arg(m_name));
    }
    ~UpgradeLock()
    {
        try {
            execSql(m_db, QStringLiteral("DO RELEASE_LOCK(?)"), {m_name});
        } catch (...) {
            // The session's end releases it as well.
        }
    }
    UpgradeLock(const UpgradeLock&) = delete;
    UpgradeLock& operator=(const UpgradeLock&) = delete;

private:
    QSqlDatabase m_db;
    QString m_name;
};

} // namespace

QList<MigrationStep> migrationSteps()
{
    initMigrationResource();
    static const QRegularExpression numbered(QStringLiteral("^(\\d{4})-[a-z0-9-]+\\.sql$"));
    QList<MigrationStep> steps;
    const QStringList files = QDir(kMigrationFolder).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QRegularExpressionMatch match = numbered.match(file);
        if (!match.hasMatch())
            throw InternalError(QStringLiteral("The migration file %1 is not named NNNN-what.sql").arg(file));
        QFile text(kMigrationFolder + QLatin1Char('/') + file);
        if (!text.open(QIODevice::ReadOnly))
            throw InternalError(QStringLiteral("The migration resource %1 cannot be read").arg(file));
        steps.append({match.captured(1).toInt(), file, QString::fromUtf8(text.readAll())});
    }
    std::sort(steps.begin(), steps.end(), [](const MigrationStep& a, const MigrationStep& b) { return a.version < b.version; });
    for (int i = 0; i < steps.size(); ++i)
        if (steps[i].version != i + 2)
            throw InternalError(QStringLiteral("The migration steps skip or repeat a number at %1").arg(steps[i].name));
    return steps;
}

int programSchemaVersion()
{
    const QList<MigrationStep> steps = migrationSteps();
    return steps.isEmpty() ? 1 : steps.last().version;
}

int databaseSchemaVersion(const QSqlDatabase& db)
{
    if (hasTable(db, QStringLiteral("schemaversion")))
        return qMax(1, scalarOf(db, QStringLiteral("SELECT COALESCE(MAX(version), 1) FROM schemaversion")).toInt());
    return hasTable(db, QStringLiteral("product")) ? 1 : 0;
}

void recordSchemaVersion(const QSqlDatabase& db, int version)
{
    execSql(db, QStringLiteral("INSERT IGNORE INTO schemaversion (version) VALUES (?)"), {version});
}

int migrateSchema(const QSqlDatabase& db, const BeforeUpgrade& beforeUpgrade, int upTo)
{
    const int newest = programSchemaVersion();
    const int target = upTo > 0 ? qMin(upTo, newest) : newest;
    const QString database = scalarOf(db, QStringLiteral("SELECT DATABASE()")).toString();
    const auto refuseNewer = [&](int version) {
        if (version > newest)
            throw SchemaVersionError(SCHEMA_TOO_NEW_ERR.arg(database).arg(version).arg(newest),
                                     QStringLiteral("Database %1 has schema version %2; this program knows up to %3")
                                         .arg(database)
                                         .arg(version)
                                         .arg(newest));
    };
    const int found = databaseSchemaVersion(db);
    refuseNewer(found);
    if (found == 0 || found >= target)
        return found;
    // Staff without the administrator's role would be stopped half way by a
    // refused ALTER (and could not even back up first): nothing is tried.
    if (sessionRole(db) != StaffRole::Administrator)
        throw SchemaVersionError(SCHEMA_NEEDS_ADMIN_ERR.arg(database).arg(found).arg(target),
                                 QStringLiteral("Database %1 at version %2 needs an administrator's upgrade to %3")
                                     .arg(database)
                                     .arg(found)
                                     .arg(target));

    if (beforeUpgrade)
        beforeUpgrade(found, target);
    UpgradeLock lock(db);
    // Another workstation may have upgraded while this one backed up.
    int version = databaseSchemaVersion(db);
    refuseNewer(version);
    QSqlDatabase session = db;
    for (const MigrationStep& step : migrationSteps()) {
        if (step.version <= version || step.version > target)
            continue;
        try {
            runSqlScript(session, step.script);
            recordSchemaVersion(db, step.version);
        } catch (const DatabaseError& e) {
            throw SchemaVersionError(SCHEMA_STEP_FAILED_ERR.arg(database).arg(step.version),
                                     QStringLiteral("%1: %2").arg(step.name, e.detail()));
        }
        version = step.version;
    }
    // The roles' grants follow the tables the steps made.
    installRoles(session);
    return found;
}

} // namespace tarvex
