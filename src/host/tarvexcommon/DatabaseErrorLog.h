#pragma once
// What the log says of a failed statement.

#include <QString>

namespace tarvex {

class DatabaseError;

// Short name of a statement for the log: its verb and first table
// ("INSERT product", "SELECT productprice"), or its first word.
QString statementName(const QString& sql);

// One warning under tarvex.connection: the statement's name, the server's
// code and text, and the statement (passwords masked by the log file).
void logDatabaseError(const DatabaseError& error);

} // namespace tarvex
