#pragma once
// Where scheduled backups of a shop's shared server come from and go to:
// /etc/tarvex/backup.ini, read by `tarvex-server backup` and `restore` (and
// so by the tarvex-backup service).
//
//   [Database]                      as in tarvex.ini
//   Host=server.local  Port=3306    or Socket=/run/mysqld/mysqld.sock
//   User=backup        Password=…   Database=tarvex
//   [Backup]
//   Folder=/var/backups/tarvex
//   Daily=7  Weekly=4  Monthly=12   copies kept
//
// The file holds a password: it must be readable by its owner only.

#include "BackupFolder.h"
#include "Connection.h"
#include "Error.h"

#include <QString>

namespace tarvex {

inline const QString BACKUP_SETTINGS_MISSING_ERR = QStringLiteral("Datoteka podešavanja %1 ne postoji.");
inline const QString BACKUP_SETTINGS_SERVER_ERR =
    QStringLiteral("U datoteci %1 nije naveden server: upišite Host ili Socket u odeljak [Database].");
inline const QString BACKUP_SETTINGS_OPEN_ERR =
    QStringLiteral("Datoteku %1 mogu da čitaju i drugi korisnici, a u njoj je lozinka. Ograničite je na vlasnika "
                   "(chmod 600 %1).");

struct BackupSettings {
    ConnectionSettings connection;   // with the database
    QString folder;
    KeepPolicy keep;
};

// Reads the file; throws TarvexError when it is missing, names no server, or
// others can read the password in it.
BackupSettings readBackupSettings(const QString& iniFile);

} // namespace tarvex
