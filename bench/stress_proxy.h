#pragma once
// A loopback proxy between workstations and a MariaDB server's Unix socket
// that loses the answer to every Nth COMMIT: it passes the COMMIT on, waits
// for the server's answer (so the commit is done), drops it and closes the
// session. The workstation sees its connection lost during the commit,
// exactly as when a network or a node fails at the worst moment.

#include <QString>
#include <atomic>
#include <memory>

namespace stress {

class CommitCutter {
public:
    // Listens on `listenPath` and passes every session on to `serverPath`;
    // `every` 0 cuts nothing.
    CommitCutter(const QString& serverPath, const QString& listenPath, int every);
    ~CommitCutter();
    CommitCutter(const CommitCutter&) = delete;
    CommitCutter& operator=(const CommitCutter&) = delete;

    // Throws std::runtime_error when the socket cannot be made.
    void start();
    void stop();
    const QString& path() const { return m_listenPath; }
    void setEvery(int every) { m_every = every; }
    // COMMITs passed on, and answers dropped.
    int commits() const { return m_commits; }
    int cut() const { return m_cut; }

private:
    struct Sessions;
    void acceptLoop();

    QString m_serverPath;
    QString m_listenPath;
    std::atomic<int> m_every;
    std::atomic<int> m_commits{0};
    std::atomic<int> m_cut{0};
    std::unique_ptr<Sessions> m_sessions;
};

} // namespace stress
