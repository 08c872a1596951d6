#include "Reportworker.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "DataSetErrors.h"
#include "LogCategories.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <memory>

namespace products {

namespace {
thread_local TReportWorker* t_current = nullptr;

// A session of the report's own, cloned from the window's connection, with
// the session settings every connection has. On a cluster node its reads
// wait for the commits other nodes made before them: a report counts what
// the other shops have just saved.
QSqlDatabase openOwnSession(const QString& original, const QString& name)
{
    QSqlDatabase own = QSqlDatabase::cloneDatabase(original, name);
    if (!own.open())
        tarvex::selectSql(own, QStringLiteral("SELECT 1")); // throws with the server's reason
    tarvex::prepareSession(own);
    tarvex::readClusterLatest(own);
    return own;
}

// The window whose work it is, for the log: its class, never what it shows.
QString ownerName(const QObject* worker)
{
    const QObject* owner = worker->parent();
    while (owner && owner->parent())
        owner = owner->parent();
    return QString::fromLatin1(owner ? owner->metaObject()->className() : "report");
}
}

TReportWorker* TReportWorker::current()
{
    return t_current;
}

bool TReportWorker::addSideConnection(qint64 id)
{
    QMutexLocker lock(&m_sideLock);
    m_sideConnections << id;
    return !m_cancelled;
}

void TReportWorker::removeSideConnection(qint64 id)
{
    QMutexLocker lock(&m_sideLock);
    m_sideConnections.removeAll(id);
}

TReportWorker::TReportWorker(QObject* parent) : QObject(parent), m_killAgain(new QTimer(this))
{
    m_killAgain->setInterval(200);
    connect(m_killAgain, &QTimer::timeout, this, &TReportWorker::killStatements);
}

bool TReportWorker::run(QSqlDatabase db, const Work& work)
{
    // A lost session is told, and a dead private server started again, here
    // rather than by the worker's own connection failing to open.
    if (tarvex::Connection* connection = tarvex::Connection::working(db))
        connection->check();
    m_db = db;
    m_cancelled = false;
    m_connectionId = 0;
    m_running = true;
    std::exception_ptr failure;
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("report-worker-%1").arg(++serial);
    const QString original = db.connectionName();
    QElapsedTimer clock;
    clock.start();
    QString lastStep; // written by the worker, read after it has ended
    int lastRows = 0;

    std::unique_ptr<QThread> thread(QThread::create([&] {
        t_current = this;
        try {
            {
                QSqlDatabase own = openOwnSession(original, name);
                // The worker's statements go through a Connection of their own too.
                tarvex::Connection session(own);
                QSqlQuery id = tarvex::selectSql(own, QStringLiteral("SELECT CONNECTION_ID()"));
                if (id.next())
                    m_connectionId = id.value(0).toLongLong();
                const TProgress progress = [this, &lastStep, &lastRows](const QString& step, int rows) {
                    if (m_cancelled)
                        tarvex::Abort();
                    lastStep = step;
                    lastRows = rows;
                    QMetaObject::invokeMethod(
                        this, [this, step, rows] { emit progressed(step, rows); }, Qt::QueuedConnection);
                };
                if (!m_cancelled)
                    work(own, progress);
            }
        } catch (tarvex::DatabaseError& e) {
            e.setDuringRead(true);  // a search or a report: no input was lost with the session
            failure = std::make_exception_ptr(e);
        } catch (...) {
            failure = std::current_exception();
        }
        QSqlDatabase::removeDatabase(name);
        t_current = nullptr;
    }));
    QEventLoop loop;
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    m_killAgain->stop();
    // Progress still queued belongs to a run that is over.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    m_running = false;
    m_connectionId = 0;
    const qint64 ms = clock.elapsed();
    const QString what = QStringLiteral("%1: %2 ms, last step \"%3\" at %4 rows")
                             .arg(ownerName(this))
                             .arg(ms)
                             .arg(lastStep)
                             .arg(lastRows);
    if (m_cancelled) {
        qCInfo(tarvex::lcReports).noquote() << "Stopped by Prekini:" << what;
        return false; // the interrupted statement's error is the cancel itself
    }
    if (failure) {
        qCWarning(tarvex::lcReports).noquote() << "Failed:" << what; // the statement's error is logged where it failed
        std::rethrow_exception(failure);
    }
    // Every search runs here too: only the slow ones are worth a line.
    if (ms >= 1000)
        qCInfo(tarvex::lcReports).noquote() << "Read:" << what;
    else
        qCDebug(tarvex::lcReports).noquote() << "Read:" << what;
    return true;
}

void TReportWorker::cancel()
{
    if (!m_running || m_cancelled.exchange(true))
        return;
    killStatements();
    m_killAgain->start();
}

void TReportWorker::killStatements()
{
    if (!m_running)
        return;
    QList<qint64> ids;
    {
        QMutexLocker lock(&m_sideLock);
        ids = m_sideConnections;
    }
    if (const qint64 id = m_connectionId)
        ids.prepend(id);
    for (const qint64 id : ids) {
        try {
            tarvex::execSql(m_db, QStringLiteral("KILL QUERY ?"), {id});
        } catch (const std::exception&) {
            // The statement ended meanwhile; the flag stops the next step.
        }
    }
}

TSideWork::TSideWork(QSqlDatabase db, std::function<void(QSqlDatabase)> work)
{
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("report-side-%1").arg(++serial);
    const QString original = db.connectionName();
    TReportWorker* worker = TReportWorker::current();
    m_thread.reset(QThread::create([this, name, original, worker, work = std::move(work)] {
        try {
            QSqlDatabase own = openOwnSession(original, name);
            // Its statements go through a Connection like every other.
            tarvex::Connection session(own);
            qint64 id = 0;
            if (worker) {
                QSqlQuery connection = tarvex::selectSql(own, QStringLiteral("SELECT CONNECTION_ID()"));
                if (connection.next())
                    id = connection.value(0).toLongLong();
                if (!worker->addSideConnection(id)) {
                    worker->removeSideConnection(id);
                    tarvex::Abort();
                }
            }
            struct Unregister {
                TReportWorker* worker;
                qint64 id;
                ~Unregister()
                {
                    if (worker)
                        worker->removeSideConnection(id);
                }
            } unregister{worker, id};
            work(own);
        } catch (...) {
            m_failure = std::current_exception();
        }
        QSqlDatabase::removeDatabase(name);
    }));
    m_thread->start();
}

TSideWork::~TSideWork()
{
    m_thread->wait();
}

void TSideWork::wait()
{
    m_thread->wait();
    if (!m_waited && m_failure) {
        m_waited = true;
        std::rethrow_exception(m_failure);
    }
    m_waited = true;
}

} // namespace products
