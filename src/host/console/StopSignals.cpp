#include "StopSignals.h"

#include "Error.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tarvex {

namespace {

int g_pipe[2] = {-1, -1};
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_previous[3];

void onSignal(int signal)
{
    const unsigned char byte = static_cast<unsigned char>(signal);
    const int saved = errno;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0)
        throw InternalError(QStringLiteral("StopSignals is installed already"));
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw InternalError(QStringLiteral("StopSignals: no pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readSignal);
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(kSignals[i], &action, &g_previous[i]);
    }
}

StopSignals::~StopSignals()
{
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void StopSignals::readSignal()
{
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1)
        m_received = byte;
    if (!m_received)
        return;
    emit stopping(m_received);
    // As the close button: modal windows first (their loops end), then the rest.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            break;
    }
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

} // namespace tarvex
