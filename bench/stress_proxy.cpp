#include "stress_proxy.h"

#include <QByteArray>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace stress {

namespace {

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

sockaddr_un addressOf(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = path.toLocal8Bit();
    if (size_t(bytes.size()) >= sizeof(address.sun_path))
        throw std::runtime_error("socket path too long: " + bytes.toStdString());
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return address;
}

// A COM_QUERY packet's payload (after its command byte) that is a bare COMMIT.
bool isCommit(const std::string& payload, size_t from, size_t size)
{
    std::string text = payload.substr(from, size);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    text = text.substr(start);
    if (text.size() != 6)
        return false;
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text == "COMMIT";
}

} // namespace

struct CommitCutter::Sessions {
    std::atomic<bool> stopping{false};
    int listener = -1;
    std::thread acceptor;
    std::mutex mutex;
    std::vector<std::thread> relays;
};

CommitCutter::CommitCutter(const QString& serverPath, const QString& listenPath, int every)
    : m_serverPath(serverPath), m_listenPath(listenPath), m_every(every)
{
}

CommitCutter::~CommitCutter()
{
    stop();
}

void CommitCutter::start()
{
    if (m_sessions)
        return;
    auto sessions = std::make_unique<Sessions>();
    const sockaddr_un address = addressOf(m_listenPath);
    ::unlink(address.sun_path);
    sessions->listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (sessions->listener < 0 ||
        ::bind(sessions->listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(sessions->listener, 64) != 0) {
        const std::string reason = std::strerror(errno);
        if (sessions->listener >= 0)
            ::close(sessions->listener);
        throw std::runtime_error("cannot listen on " + m_listenPath.toStdString() + ": " + reason);
    }
    m_sessions = std::move(sessions);
    m_sessions->acceptor = std::thread([this] { acceptLoop(); });
}

void CommitCutter::stop()
{
    if (!m_sessions)
        return;
    m_sessions->stopping = true;
    m_sessions->acceptor.join();
    {
        std::lock_guard<std::mutex> lock(m_sessions->mutex);
        for (std::thread& relay : m_sessions->relays)
            relay.join();
    }
    ::close(m_sessions->listener);
    ::unlink(m_listenPath.toLocal8Bit().constData());
    m_sessions.reset();
}

void CommitCutter::acceptLoop()
{
    Sessions& sessions = *m_sessions;
    const sockaddr_un server = addressOf(m_serverPath);
    while (!sessions.stopping) {
        pollfd waiting{sessions.listener, POLLIN, 0};
        if (::poll(&waiting, 1, 100) <= 0)
            continue;
        const int client = ::accept(sessions.listener, nullptr, nullptr);
        if (client < 0)
            continue;
        const int upstream = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (upstream < 0 || ::connect(upstream, reinterpret_cast<const sockaddr*>(&server), sizeof(server)) != 0) {
            // No server behind: the workstation sees it as such.
            if (upstream >= 0)
                ::close(upstream);
            ::close(client);
            continue;
        }
        std::lock_guard<std::mutex> lock(sessions.mutex);
        sessions.relays.emplace_back([this, &sessions, client, upstream] {
            std::string pending;  // the workstation's bytes short of a whole packet
            bool cutting = false;
            char buffer[16384];
            pollfd ends[2] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
            while (!sessions.stopping) {
                const int ready = ::poll(ends, 2, 100);
                if (ready < 0 && errno != EINTR)
                    break;
                if (ready <= 0)
                    continue;
                if (ends[1].revents) {
                    const ssize_t n = ::read(upstream, buffer, sizeof buffer);
                    if (n <= 0)
                        break;
                    if (cutting) {
                        ++m_cut;  // the commit is done; its answer goes nowhere
                        break;
                    }
                    if (!writeAll(client, buffer, size_t(n)))
                        break;
                }
                if (ends[0].revents && !cutting) {
                    const ssize_t n = ::read(client, buffer, sizeof buffer);
                    if (n <= 0)
                        break;
                    pending.append(buffer, size_t(n));
                    // Whole packets only: a 3-byte length, a sequence byte, the payload.
                    bool sent = true;
                    while (pending.size() >= 4 && !cutting) {
                        const size_t length = size_t(static_cast<unsigned char>(pending[0])) |
                                              size_t(static_cast<unsigned char>(pending[1])) << 8 |
                                              size_t(static_cast<unsigned char>(pending[2])) << 16;
                        if (pending.size() < 4 + length)
                            break;
                        const bool commit = length >= 1 && pending[4] == 0x03 && isCommit(pending, 5, length - 1);
                        if (!writeAll(upstream, pending.data(), 4 + length)) {
                            sent = false;
                            break;
                        }
                        pending.erase(0, 4 + length);
                        if (commit) {
                            const int every = m_every;
                            const int number = ++m_commits;
                            cutting = every > 0 && number % every == 0;
                        }
                    }
                    if (!sent)
                        break;
                }
            }
            ::close(client);
            ::close(upstream);
        });
    }
}

} // namespace stress
