#include "LogCategories.h"

namespace tarvex {

Q_LOGGING_CATEGORY(lcConnection, "tarvex.connection", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSave, "tarvex.save", QtInfoMsg)
Q_LOGGING_CATEGORY(lcReports, "tarvex.reports", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPrivateServer, "tarvex.server", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSecurity, "tarvex.security", QtInfoMsg)
Q_LOGGING_CATEGORY(lcBackup, "tarvex.backup", QtInfoMsg)
Q_LOGGING_CATEGORY(lcImport, "tarvex.import", QtInfoMsg)

} // namespace tarvex
