#include "Reportworker.h"

#include "Connection.h"
#include "DataSetErrors.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QSqlQuery>
#include <QThread>
#include <memory>

namespace products {

TReportWorker::TReportWorker(QObject* parent) : QObject(parent) {}

bool TReportWorker::run(QSqlDatabase db, const Work& work)
{
    m_db = db;
    m_cancelled = false;
    m_connectionId = 0;
    m_running = true;
    std::exception_ptr failure;
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("report-worker-%1").arg(++serial);
    const QString original = db.connectionName();

    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            {
                QSqlDatabase own = QSqlDatabase::cloneDatabase(original, name);
                if (!own.open())
                    tarvex::selectSql(own, QStringLiteral("SELECT 1")); // throws with the server's reason
                tarvex::prepareSession(own);
                QSqlQuery id = tarvex::selectSql(own, QStringLiteral("SELECT CONNECTION_ID()"));
                if (id.next())
                    m_connectionId = id.value(0).toLongLong();
                const TProgress progress = [this](const QString& step, int rows) {
                    if (m_cancelled)
                        tarvex::Abort();
                    QMetaObject::invokeMethod(
                        this, [this, step, rows] { emit progressed(step, rows); }, Qt::QueuedConnection);
                };
                if (!m_cancelled)
                    work(own, progress);
            }
        } catch (...) {
            failure = std::current_exception();
        }
        QSqlDatabase::removeDatabase(name);
    }));
    QEventLoop loop;
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    // Progress still queued belongs to a run that is over.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    m_running = false;
    m_connectionId = 0;
    if (m_cancelled)
        return false; // the interrupted statement's error is the cancel itself
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

void TReportWorker::cancel()
{
    if (!m_running || m_cancelled.exchange(true))
        return;
    if (const qint64 id = m_connectionId) {
        try {
            tarvex::execSql(m_db, QStringLiteral("KILL QUERY %1").arg(id));
        } catch (const std::exception&) {
            // The statement ended meanwhile; the flag stops the next step.
        }
    }
}

} // namespace products
