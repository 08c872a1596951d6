#pragma once
// One logging category per area, so support can raise or silence one area
// (QT_LOGGING_RULES="tarvex.save.debug=true"). Info and above are on by
// default; the log file (LogFile.h) keeps what they say.

#include <QLoggingCategory>

namespace tarvex {

Q_DECLARE_LOGGING_CATEGORY(lcConnection)    // tarvex.connection: sessions, failed statements, reconnects
Q_DECLARE_LOGGING_CATEGORY(lcSave)          // tarvex.save: transactions and their retries
Q_DECLARE_LOGGING_CATEGORY(lcReports)       // tarvex.reports
Q_DECLARE_LOGGING_CATEGORY(lcPrivateServer) // tarvex.server: the embedded MariaDB server
Q_DECLARE_LOGGING_CATEGORY(lcSecurity)      // tarvex.security: sign-in, roles
Q_DECLARE_LOGGING_CATEGORY(lcBackup)        // tarvex.backup
Q_DECLARE_LOGGING_CATEGORY(lcImport)        // tarvex.import

} // namespace tarvex
