#pragma once
// A file's rows read on a thread of their own: unpacking and parsing a
// large sheet takes as long as checking its rows, so the two go side by
// side (and the database stages the rows meanwhile). The reader runs ahead
// by a few thousand rows at most; a fault of the file comes out of next()
// as ImportFileError, and a pipe dropped early (a "Prekini", a fault of the
// checks) stops the reader and waits for it.

#include "Importfile.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace products {

class ImportRowPipe {
public:
    using Rows = std::vector<std::pair<int, QStringList>>;

    ImportRowPipe(const QString& path, const ImportFormat& format);
    ~ImportRowPipe();
    ImportRowPipe(const ImportRowPipe&) = delete;
    ImportRowPipe& operator=(const ImportRowPipe&) = delete;

    // The next rows in file order (row number, cells); false after the last.
    // Throws what the reading threw.
    bool next(Rows& rows);

private:
    void produce(const QString& path, const ImportFormat& format);
    void hand(Rows& rows);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Rows> m_ready;
    bool m_finished = false;  // the reader is done (or failed)
    bool m_stop = false;      // the reader is to stop
    std::exception_ptr m_error;
    std::thread m_thread;
};

} // namespace products
