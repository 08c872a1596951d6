#pragma once
// Schema versions and the numbered steps between them.
//
// Version 1 is the first released schema, which recorded no version. Each
// file db/migrations/NNNN-what.sql takes a database from version NNNN-1 to
// NNNN; db/schema.sql is always the newest, and a database made from it is
// recorded at the newest version. A step may be cut short by a crash and run
// again (DDL is not transactional), so every statement in it must be safe to
// repeat.

#include "Error.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace tarvex {

// A database written by a newer program: this one must not touch it.
inline const QString SCHEMA_TOO_NEW_ERR =
    QStringLiteral("Baza podataka \"%1\" je verzije %2, a ovaj program poznaje samo verzije do %3. Pokrenite noviju "
                   "verziju programa; ovaj program u tu bazu ne upisuje ništa.");
inline const QString SCHEMA_NEEDS_ADMIN_ERR =
    QStringLiteral("Baza podataka \"%1\" je verzije %2, a ovaj program radi sa verzijom %3. Bazu može da nadogradi samo "
                   "administrator: neka se on prvi prijavi u ovu verziju programa, pa se zatim prijavite ponovo.");
inline const QString SCHEMA_STEP_FAILED_ERR =
    QStringLiteral("Nadogradnja baze podataka \"%1\" na verziju %2 nije uspela. Podaci su sačuvani u rezervnoj kopiji "
                   "napravljenoj pre nadogradnje; pokušajte ponovo ili pozovite podršku.");

class SchemaVersionError : public TarvexError {
public:
    explicit SchemaVersionError(const QString& userText, const QString& detail = QString())
        : TarvexError(ErrorKind::Configuration, userText, detail)
    {
    }
};

struct MigrationStep {
    int version = 0;   // the version the step leads to
    QString name;      // its file name
    QString script;
};

// The steps compiled in, in order of their numbers.
QList<MigrationStep> migrationSteps();

// The schema version of this program: the number of its last step.
int programSchemaVersion();

// The version of the connection's current database: 0 for one without the
// product tables, 1 for one made before versions were recorded.
int databaseSchemaVersion(const QSqlDatabase& db);

// Records that the database is at `version` (now).
void recordSchemaVersion(const QSqlDatabase& db, int version);

// Called once before the first step runs, with the database's version and
// the program's: the place for a backup. An exception stops the upgrade
// before it has changed anything.
using BeforeUpgrade = std::function<void(int from, int to)>;

// Brings the current database up to the program's version step by step, one
// workstation at a time. Throws SchemaVersionError, before any write, when
// the database is newer than the program. Returns the version it started at.
// `upTo` stops at an earlier version (0: the program's), for a look at one step.
int migrateSchema(const QSqlDatabase& db, const BeforeUpgrade& beforeUpgrade = {}, int upTo = 0);

} // namespace tarvex
