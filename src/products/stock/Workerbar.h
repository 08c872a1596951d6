#pragma once
// The strip a window shows while its long work runs on a worker: a busy bar,
// the step with the rows counted so far, and "Prekini", which stops the work
// on the server. Hidden while nothing runs; the controls handed to it are
// disabled meanwhile, so the window offers only the stop.

#include "Reportworker.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvex {
class QueryDataSet;
}

namespace products {

class TWorkerBar : public QWidget {
    Q_OBJECT
public:
    explicit TWorkerBar(QWidget* parent = nullptr);

    // Disabled while the work runs.
    void setBusyControls(const QList<QWidget*>& controls);

    // Runs the work on a connection cloned from `db`, the window painting and
    // answering meanwhile. True when it finished, false when "Prekini" (or
    // another run still going) stopped it; the work's failure is thrown.
    bool run(QSqlDatabase db, const TReportWorker::Work& work);
    // Reads the statement's rows for the list on the worker (the step shown
    // with the rows counted so far) and opens the list with them. False when
    // stopped: the list stays as it was.
    bool openList(tarvex::QueryDataSet& list, const QString& sql, const QString& step);
    bool isRunning() const { return m_worker->isRunning(); }
    void cancel() { m_worker->cancel(); }
    // For a window's close: a running work is stopped and the close is to
    // wait for it (true); false when nothing runs.
    bool stopForClose();

    QProgressBar* progressBar() const { return m_progress; }
    QLabel* stepLabel() const { return m_step; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void showRunning(bool running);

    TReportWorker* m_worker = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_step = nullptr;
    QPushButton* m_cancel = nullptr;
    QList<QPointer<QWidget>> m_busyControls;
    QList<bool> m_enabledBefore;
};

} // namespace products
