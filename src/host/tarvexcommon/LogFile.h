#pragma once
// The program's log file: every message of info level and above, one line
// each, in the user's data folder. Capped in size: when full it becomes
// tarvex.log.1 (the older ones move up, the oldest goes) and a new one starts.
// Secrets are masked in every line before it is written.

#include <QString>
#include <QtGlobal>

namespace tarvex {

struct LogFileLimits {
    qint64 maxBytes = 1024 * 1024;
    int keep = 3;  // older files kept beside the current one
};

// ${XDG_DATA_HOME:-~/.local/share}/tarvex/tarvex.log
QString defaultLogFilePath();

// Writes the messages to `path` as well (whoever handled them before still
// does). Installing again switches the file; the folder is created.
void installLogFile(const QString& path = defaultLogFilePath(), LogFileLimits limits = {});
// Stops writing and hands the messages back to the handler before.
void removeLogFile();
// The file being written, empty when none is.
QString logFilePath();

// Passwords a statement, a command or a settings text may carry, replaced by
// *** (IDENTIFIED BY '…', PASSWORD('…'), SET PASSWORD = '…', Password=…).
QString maskSecrets(const QString& text);

} // namespace tarvex
