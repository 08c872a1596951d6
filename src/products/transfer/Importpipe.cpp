#include "Importpipe.h"

namespace products {

namespace {

constexpr size_t kRowsPerHand = 1000;
constexpr size_t kHandsAhead = 8;

} // namespace

ImportRowPipe::ImportRowPipe(const QString& path, const ImportFormat& format)
    : m_thread([this, path, format] { produce(path, format); })
{
}

ImportRowPipe::~ImportRowPipe()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ImportRowPipe::hand(Rows& rows)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || m_ready.size() < kHandsAhead; });
    if (!m_stop)
        m_ready.push_back(std::move(rows));
    rows.clear();
    lock.unlock();
    m_changed.notify_all();
}

void ImportRowPipe::produce(const QString& path, const ImportFormat& format)
{
    Rows rows;
    try {
        ImportFile::read(path, format, [&](int number, const QStringList& cells) {
            rows.emplace_back(number, cells);
            if (rows.size() == kRowsPerHand)
                hand(rows);
            std::lock_guard lock(m_mutex);
            return !m_stop;
        });
        if (!rows.empty())
            hand(rows);
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_error = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_changed.notify_all();
}

bool ImportRowPipe::next(Rows& rows)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_ready.empty() || m_finished; });
    if (!m_ready.empty()) {
        rows = std::move(m_ready.front());
        m_ready.pop_front();
        lock.unlock();
        m_changed.notify_all();
        return true;
    }
    // Every row read came out first; then the reader's fault, if any.
    if (m_error)
        std::rethrow_exception(m_error);
    return false;
}

} // namespace products
