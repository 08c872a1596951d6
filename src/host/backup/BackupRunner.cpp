#include "BackupRunner.h"

#include <QMetaObject>

namespace tarvex {

namespace {

QString textOf(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const TarvexError*>(&e))
        return error->kind() == ErrorKind::Abort ? QString() : error->userText();
    return ERR_UNEXPECTED_FMT.arg(QString::fromLocal8Bit(e.what()));
}

} // namespace

BackupRunner::BackupRunner(QObject* parent) : QObject(parent) {}

BackupRunner::~BackupRunner()
{
    cancel();
    wait();
}

void BackupRunner::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool BackupRunner::start(Job job)
{
    if (running())
        return false;
    m_cancelled = false;
    m_thread = std::thread([this, job = std::move(job)] {
        JobControl control{[this](int percent) { emit progress(percent); }, [this] { return m_cancelled.load(); }};
        bool ok = false;
        QString text;
        try {
            text = job(control);
            ok = true;
        } catch (const std::exception& e) {
            text = textOf(e);
        }
        // Delivered on the runner's own thread, after the job's thread ended.
        QMetaObject::invokeMethod(this, [this, ok, text] { done(ok, text); }, Qt::QueuedConnection);
    });
    return true;
}

void BackupRunner::done(bool ok, const QString& text)
{
    wait();
    emit finished(ok, text);
}

} // namespace tarvex
