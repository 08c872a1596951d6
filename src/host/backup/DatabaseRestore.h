#pragma once
// Restores a backup file into a database, all or nothing:
//
//   1. the file's checksum and manifest are checked before anything is done;
//   2. the dump goes into a database of its own (NAME_restoring) and its
//      tables are checked against the manifest;
//   3. one RENAME moves the current tables into NAME_before_restore (kept
//      until the next restore) and the restored ones into NAME.
//
// Killed at any moment, the database holds either its own data or the
// backup's (MariaDB makes a multi-table RENAME atomic, also across a crash);
// a half-loaded NAME_restoring is dropped by the next restore.

#include "DatabaseBackup.h"

namespace tarvex {

inline const QString RESTORE_NEWER_ERR =
    QStringLiteral("Rezervna kopija %1 je napravljena novijom verzijom programa (šema %2; ovaj program poznaje šeme do "
                   "%3). Podaci nisu dirani.");
inline const QString RESTORE_LOAD_FAILED_ERR =
    QStringLiteral("Vraćanje iz rezervne kopije %1 nije uspelo; podaci nisu dirani.\n\nUzrok: %2");
inline const QString RESTORE_MISMATCH_ERR =
    QStringLiteral("Vraćeni podaci se ne slažu sa spiskom rezervne kopije %1 (tabela %2); podaci nisu dirani.");

class DatabaseRestore {
public:
    // `settings.database` names the database to restore into.
    explicit DatabaseRestore(const ConnectionSettings& settings, JobControl control = {});

    // Restores the file; throws BackupError (the data untouched) or the
    // silent abort when cancelled before the switch.
    BackupManifest restore(const QString& file);

    QString scratchDatabase() const { return m_settings.database + QStringLiteral("_restoring"); }
    QString asideDatabase() const { return m_settings.database + QStringLiteral("_before_restore"); }

private:
    void load(BackupFileReader& reader, const QString& file);
    void switchOver();

    ConnectionSettings m_settings;
    JobControl m_control;
};

} // namespace tarvex
