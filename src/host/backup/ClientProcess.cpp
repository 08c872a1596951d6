#include "ClientProcess.h"

#include "ClientTools.h"

#include <signal.h>
#include <sys/prctl.h>

namespace tarvex {

ClientProcess::ClientProcess()
{
    setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

ClientProcess::~ClientProcess()
{
    if (state() != QProcess::NotRunning) {
        kill();
        waitForFinished(10000);
    }
}

bool ClientProcess::launch(const QString& name, const QStringList& arguments)
{
    start(clientProgram(name), arguments);
    return waitForStarted(30000);
}

} // namespace tarvex
