#pragma once
// A MariaDB client program run for one backup job. It dies with us: a
// backup killed mid-way must not leave its mariadb-dump or mariadb running.
// A job left early (an error, a cancel) kills it at once, rather than
// QProcess warning and waiting half a minute for it.

#include <QProcess>

namespace tarvex {

class ClientProcess : public QProcess {
public:
    ClientProcess();
    ~ClientProcess() override;

    // Starts the client program `name` (clientProgram) with the arguments;
    // false when it has not started within half a minute (errorString()).
    bool launch(const QString& name, const QStringList& arguments);
};

} // namespace tarvex
