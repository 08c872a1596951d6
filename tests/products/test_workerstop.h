#pragma once
// Stopping a worker the way a user does: another session holds a table the
// work reads, so the work waits on the server; once the window shows the
// step, "Prekini" is clicked. The lock is let go after 20 s in any case, so a
// stop that fails ends the test instead of hanging it.

#include "Workerbar.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace workerstop {

// Another session holding a table for writing until it is released, for 20 s
// at most.
class TableLock {
public:
    TableLock(const QSqlDatabase& db, const char* table)
        : m_session(QSqlDatabase::cloneDatabase(db.connectionName(), QStringLiteral("workerstop-locker")))
    {
        EXPECT_TRUE(m_session.open());
        m_lock = QSqlQuery(m_session);
        EXPECT_TRUE(m_lock.exec(QStringLiteral("LOCK TABLES %1 WRITE").arg(QLatin1String(table))));
        m_release.setSingleShot(true);
        QObject::connect(&m_release, &QTimer::timeout, [this] { release(); });
        m_release.start(20000);
    }
    ~TableLock()
    {
        release();
        m_lock = QSqlQuery();
        m_session = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("workerstop-locker"));
    }
    void release() { m_lock.exec(QStringLiteral("UNLOCK TABLES")); }
    const QSqlDatabase& session() const { return m_session; }

private:
    QSqlDatabase m_session;
    QSqlQuery m_lock;
    QTimer m_release;
};

struct Stop {
    bool clicked = false;  // "Prekini" was clicked while the step showed
    qint64 elapsedMs = 0;  // from the start to the end of the stopped work
};

// `start` starts the work (a click) and returns when it has ended;
// `whileRunning` checks the window while the work waits, before the click.
inline Stop stopWhileLocked(const QSqlDatabase& db, const char* table, products::TWorkerBar& bar,
                            const QString& step, const std::function<void()>& start,
                            const std::function<void()>& whileRunning = {})
{
    Stop stop;
    {
        TableLock lock(db, table);
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (stop.clicked || !bar.stepLabel()->text().startsWith(step))
                return;
            stop.clicked = true;
            EXPECT_TRUE(bar.progressBar()->isVisible());
            EXPECT_TRUE(bar.cancelButton()->isVisible());
            if (whileRunning)
                whileRunning();
            QTest::mouseClick(bar.cancelButton(), Qt::LeftButton);
        });
        watch.start(20);
        QElapsedTimer timer;
        timer.start();
        start();
        stop.elapsedMs = timer.elapsed();
        watch.stop();
        // Stopped on the server too: the killed statement leaves while the
        // lock still holds (one merely abandoned would wait there for it).
        int waiting = -1;
        for (int i = 0; i < 100 && waiting != 0; ++i) {
            if (i > 0)
                QThread::msleep(50);
            QSqlQuery running(lock.session());
            EXPECT_TRUE(running.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist WHERE db = "
                                                    "DATABASE() AND command = 'Query' AND info LIKE '%%%1%%' AND id "
                                                    "<> CONNECTION_ID()")
                                         .arg(QLatin1String(table))) &&
                        running.next());
            waiting = running.value(0).toInt();
        }
        EXPECT_EQ(waiting, 0);
    }
    // Stopped: the strip is gone again.
    EXPECT_FALSE(bar.cancelButton()->isVisible());
    EXPECT_FALSE(bar.progressBar()->isVisible());
    return stop;
}

} // namespace workerstop
