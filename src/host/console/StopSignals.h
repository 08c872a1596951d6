#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C, a service manager)
// end the console the way its close button does: every window is closed and
// the event loop ends, so the code after it unloads the modules and stops the
// private server. The handler only writes the signal's number to a pipe; the
// event loop reads it, since nothing else is safe inside a signal handler.

#include <QObject>

class QSocketNotifier;

namespace tarvex {

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; the previous ones come back when this is destroyed.
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // The last signal that ended the console, or 0.
    int received() const { return m_received; }

signals:
    void stopping(int signal);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};

} // namespace tarvex
