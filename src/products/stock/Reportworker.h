#pragma once
// Runs a long report off the window's thread: on a connection of its own
// (a clone of the window's), while the caller waits in an event loop that
// keeps the window painted and answering. cancel() stops the work on the
// server with KILL QUERY on the worker's connection id, sent over the
// window's connection, and stops it between steps in the client.

#include "Reportprogress.h"

#include <QObject>
#include <QSqlDatabase>
#include <atomic>
#include <exception>

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

signals:
    // On the caller's thread, for each step the work reports.
    void progressed(const QString& step, int rows);

private:
    QSqlDatabase m_db;
    bool m_running = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<qint64> m_connectionId{0};
};

} // namespace products
