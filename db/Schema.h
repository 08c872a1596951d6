#pragma once
// The database schema shipped with the application (db/schema.sql, compiled
// in as a resource) and creating a database from it.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tarvex {

// The text of db/schema.sql.
QString schemaScript();

// Creates the database with the character set every table expects.
// Does nothing when it exists already.
void createDatabase(QSqlDatabase& server, const QString& name);

// Drops the database when it exists.
void dropDatabase(QSqlDatabase& server, const QString& name);

// Creates every table of the schema in the connection's current database
// and records it at the program's schema version (see Migration.h).
void installSchema(QSqlDatabase& db);

// The tables the schema creates, in file order.
QStringList schemaTables();

} // namespace tarvex
