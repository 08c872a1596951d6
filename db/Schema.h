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

// Creates every table of the schema in the connection's current database.
void installSchema(QSqlDatabase& db);

// Brings a database made by an earlier schema up to this one: the link
// tables made without a primary key get theirs (a repeated link goes).
// Does nothing on a current database.
void upgradeSchema(QSqlDatabase& db);

// The tables the schema creates, in file order.
QStringList schemaTables();

} // namespace tarvex
