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

struct Stop {
    bool clicked = false;  // "Prekini" was clicked while the step showed
    qint64 elapsedMs = 0;  // from the start to the end of the stopped work
};

// Runs `start` while another session holds `table` for writing, calling
// `watch` every 20 ms meanwhile; gives the time `start` took.
inline qint64 whileLocked(const QSqlDatabase& db, const char* table, const std::function<void()>& start,
                          const std::function<void()>& watch)
{
    qint64 elapsedMs = 0;
    {
        QSqlDatabase locker = QSqlDatabase::cloneDatabase(db.connectionName(), QStringLiteral("workerstop-locker"));
        EXPECT_TRUE(locker.open());
        QSqlQuery lock(locker);
        EXPECT_TRUE(lock.exec(QStringLiteral("LOCK TABLES %1 WRITE").arg(QLatin1String(table))));
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, watch);
        QTimer release;
        release.setSingleShot(true);
        QObject::connect(&release, &QTimer::timeout, [&] { lock.exec(QStringLiteral("UNLOCK TABLES")); });
        release.start(20000);
        watcher.start(20);
        QElapsedTimer timer;
        timer.start();
        start();
        elapsedMs = timer.elapsed();
        watcher.stop();
        // Stopped on the server too: the killed statement leaves while the
        // lock still holds (one merely abandoned would wait there for it).
        int waiting = -1;
        for (int i = 0; i < 100 && waiting != 0; ++i) {
            if (i > 0)
                QThread::msleep(50);
            QSqlQuery running(locker);
            EXPECT_TRUE(running.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist WHERE db = "
                                                    "DATABASE() AND command = 'Query' AND info LIKE '%%%1%%' AND id "
                                                    "<> CONNECTION_ID()")
                                         .arg(QLatin1String(table))) &&
                        running.next());
            waiting = running.value(0).toInt();
        }
        EXPECT_EQ(waiting, 0);
        lock.exec(QStringLiteral("UNLOCK TABLES"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("workerstop-locker"));
    EXPECT_LT(elapsedMs, 15000);
    return elapsedMs;
}

// `start` starts the work (a click) and returns when it has ended;
// `whileRunning` checks the window while the work waits, before the click.
inline Stop stopWhileLocked(const QSqlDatabase& db, const char* table, products::TWorkerBar& bar,
                            const QString& step, const std::function<void()>& start,
                            const std::function<void()>& whileRunning = {})
{
    Stop stop;
    stop.elapsedMs = whileLocked(db, table, start, [&] {
        if (stop.clicked || !bar.stepLabel()->text().startsWith(step))
            return;
        stop.clicked = true;
        EXPECT_TRUE(bar.progressBar()->isVisible());
        EXPECT_TRUE(bar.cancelButton()->isVisible());
        if (whileRunning)
            whileRunning();
        QTest::mouseClick(bar.cancelButton(), Qt::LeftButton);
    });
    // Stopped: the strip is gone again.
    EXPECT_FALSE(bar.cancelButton()->isVisible());
    EXPECT_FALSE(bar.progressBar()->isVisible());
    return stop;
}

} // namespace workerstop
