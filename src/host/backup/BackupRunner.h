#pragma once
// Runs one backup or restore on a thread of its own, so the console stays
// responsive: progress and the end come back as signals on the thread that
// owns the runner; cancel() asks the job to stop at its next piece of work.

#include "DatabaseBackup.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

namespace tarvex {

class BackupRunner : public QObject {
    Q_OBJECT
public:
    // The job's result line for the user (empty: nothing to say).
    using Job = std::function<QString(const JobControl&)>;

    explicit BackupRunner(QObject* parent = nullptr);
    // Stops a job still at work and waits for it.
    ~BackupRunner() override;

    // Starts the job unless one is at work; false then.
    bool start(Job job);
    void cancel() { m_cancelled = true; }
    bool running() const { return m_thread.joinable(); }
    // Waits for the job's end (its finished signal is still delivered later).
    void wait();

signals:
    void progress(int percent);
    // ok: done, `text` its result; otherwise `text` says why it failed, and
    // is empty when the user cancelled.
    void finished(bool ok, const QString& text);

private:
    void done(bool ok, const QString& text);

    std::thread m_thread;
    std::atomic<bool> m_cancelled{false};
};

} // namespace tarvex
