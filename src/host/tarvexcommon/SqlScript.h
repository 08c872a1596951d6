#pragma once
// Splitting an SQL script (the schema file) into single statements.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tarvex {

// Splits on ';' outside quoted texts, identifiers and comments. Comments are
// dropped; empty statements are skipped.
QStringList splitSqlScript(const QString& script);

// Runs every statement of the script in order; throws DatabaseError on the
// first failure.
void runSqlScript(QSqlDatabase& db, const QString& script);

} // namespace tarvex
