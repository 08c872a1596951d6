#pragma once
// The [Database] section of a settings file (tarvex.ini, backup.ini): the
// keys that name a server and its account, read alike for the console and
// for the backups. The console's own keys (Hosts, Ssl..., BufferPool) stay
// with its start-up.

#include "Connection.h"

class QString;

namespace tarvex {

class TIniFile;

// Host, Socket, Port (3306), User and Database (`defaultDatabase` when
// missing); the password is read apart, after passwordFileIsPrivate().
ConnectionSettings readDatabaseSection(const TIniFile& ini, const QString& defaultDatabase);
QString readDatabasePassword(const TIniFile& ini);
bool hasDatabasePassword(const TIniFile& ini);

// A password is used only from a file of this user's that nobody else can
// read or write.
bool passwordFileIsPrivate(const QString& file);

} // namespace tarvex
