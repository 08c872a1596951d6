#pragma once
// Runs a long report off the window's thread: on a connection of its own
// (a clone of the window's), while the caller waits in an event loop that
// keeps the window painted and answering. cancel() stops the work on the
// server with KILL QUERY on the worker's connection id, sent over the
// window's connection, and stops it between steps in the client.

#include "Reportprogress.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSqlDatabase>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class QThread;
class QTimer;

namespace products {

class TReportWorker : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(QSqlDatabase db, const TProgress& progress)>;

    explicit TReportWorker(QObject* parent = nullptr);

    // Runs the work and returns when it has ended: true when it finished,
    // false when it was cancelled. A failure of the work is thrown here.
    bool run(QSqlDatabase db, const Work& work);
    void cancel();
    bool isRunning() const { return m_running; }

    // The worker whose work runs on the calling thread, or null.
    static TReportWorker* current();
    // Statements of side connections (TSideWork) are stopped with the work's.
    // Returns false when the work is cancelled already.
    bool addSideConnection(qint64 id);
    void removeSideConnection(qint64 id);

signals:
    // On the caller's thread, for each step the work reports.
    void progressed(const QString& step, int rows);

private:
    void killStatements();

    QSqlDatabase m_db;
    // A statement sent just after a KILL would still wait: until the work
    // ends, the KILL is sent again now and then.
    QTimer* m_killAgain = nullptr;
    bool m_running = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<qint64> m_connectionId{0};
    QMutex m_sideLock;
    QList<qint64> m_sideConnections;
};

// A part of a report read beside the report's own statements: `work` runs on
// a thread of its own with a connection cloned from `db` while the caller
// goes on; wait() returns when it has ended and throws its failure. Inside a
// worker, "Prekini" stops its statement too.
class TSideWork {
public:
    TSideWork(QSqlDatabase db, std::function<void(QSqlDatabase)> work);
    ~TSideWork();
    TSideWork(const TSideWork&) = delete;
    TSideWork& operator=(const TSideWork&) = delete;
    void wait();

private:
    std::unique_ptr<QThread> m_thread;
    std::exception_ptr m_failure;
    bool m_waited = false;
};

} // namespace products
