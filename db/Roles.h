#pragma once
// The staff roles a database is used under, enforced by the server itself.
// Roles are the server's, not the database's: the grants name the database,
// so one server can hold several shops.

#include "StaffRole.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tarvex {

// The tables a role may change beyond what the role below it may.
QStringList roleWrittenTables(StaffRole role);

// Creates the roles and grants them their rights on the connection's current
// database, with what an administrator's account management needs beside
// them (a view of the staff and their roles, setting an account's default
// role). Safe to run again. An account without the right to create roles
// leaves them to the server's administrator (tarvex-staff roles): false then.
bool installRoles(QSqlDatabase& db);

} // namespace tarvex
