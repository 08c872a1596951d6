#include "Workerbar.h"

#include "Connection.h"
#include "QueryDataSet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace products {

TWorkerBar::TWorkerBar(QWidget* parent) : QWidget(parent)
{
    m_worker = new TReportWorker(this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0); // rows to come are unknown: a busy bar
    m_progress->setMaximumWidth(160);
    m_step = new QLabel(this);
    m_cancel = new QPushButton(QStringLiteral("Prekini"), this);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, m_worker, &TReportWorker::cancel);
    connect(m_worker, &TReportWorker::progressed, this, [this](const QString& step, int rows) {
        m_step->setText(rows > 0 ? QStringLiteral("%1: %2").arg(step).arg(rows) : step);
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_progress);
    layout->addWidget(m_step);
    layout->addWidget(m_cancel);
    showRunning(false);
}

void TWorkerBar::setBusyControls(const QList<QWidget*>& controls)
{
    m_busyControls.clear();
    for (QWidget* control : controls)
        m_busyControls << control;
}

bool TWorkerBar::run(QSqlDatabase db, const TReportWorker::Work& work)
{
    if (m_worker->isRunning())
        return false;
    showRunning(true);
    struct Done {
        TWorkerBar* bar;
        ~Done() { bar->showRunning(false); }
    } done{this};
    return m_worker->run(db, work);
}

bool TWorkerBar::openList(tarvex::QueryDataSet& list, const QString& sql, const QString& step)
{
    const tarvex::ReadPlan plan = list.readPlan(sql);
    tarvex::QueryRows found;
    const bool done = run(list.connection()->database(), [&](QSqlDatabase db, const TProgress& progress) {
        progress(step, 0);
        found = tarvex::QueryDataSet::readPlanned(db, plan, [&](int rows) { progress(step, rows); });
    });
    if (done)
        list.openWith(sql, std::move(found));
    return done;
}

bool TWorkerBar::stopForClose()
{
    if (!m_worker->isRunning())
        return false;
    m_worker->cancel();
    return true;
}

void TWorkerBar::showRunning(bool running)
{
    // The bar keeps its place in the row; only its parts come and go.
    m_progress->setVisible(running);
    m_step->setVisible(running);
    m_step->clear();
    m_cancel->setVisible(running);
    // Controls disabled before the run stay so after it.
    if (running)
        m_enabledBefore.fill(true, m_busyControls.size());
    for (int i = 0; i < m_busyControls.size(); ++i) {
        QWidget* control = m_busyControls[i];
        if (!control)
            continue;
        if (running) {
            m_enabledBefore[i] = control->isEnabled();
            control->setEnabled(false);
        } else if (i < m_enabledBefore.size()) {
            control->setEnabled(m_enabledBefore[i]);
        }
    }
}

} // namespace products
