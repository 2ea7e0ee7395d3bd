#include "communication/tcp_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#include <poll.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <climits>
#include <cstring>
#include <fcntl.h>

namespace {
std::atomic<long long> g_idleTimeoutMs {10LL * 60 * 1000};

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Connection {
    TcpListener* owner;
    TcpListener::Serve serve;
    std::atomic<int>* count;
    int fd;
    long number;
};
} // namespace

int TcpListener::start(int port, bool loopbackOnly)
{
    if (listenFd_ >= 0)
        return port_;
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return -1;
    const int one = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    a.sin_port = htons(uint16_t(port));
    socklen_t len = sizeof a;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) < 0 || listen(s, 16) < 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) < 0) {
        close(s);
        return -1;
    }
    listenFd_ = s;
    port_ = ntohs(a.sin_port);
    pthread_t t;
    if (pthread_create(&t, nullptr, acceptLoop, this) != 0) {
        close(s);
        listenFd_ = -1;
        port_ = -1;
        return -1;
    }
    pthread_detach(t);
    return port_;
}

void* TcpListener::serveOne(void* arg)
{
    const Connection c = *static_cast<Connection*>(arg);
    delete static_cast<Connection*>(arg);
    c.serve(c.fd, c.number);
    {
        std::lock_guard<std::mutex> l(c.owner->slotsMutex_);
        auto it = c.owner->slots_.find(c.number);
        if (it != c.owner->slots_.end()) {
            close(it->second.fd);
            c.owner->slots_.erase(it);
        }
    }
    (*c.count)--;
    return nullptr;
}

void* TcpListener::acceptLoop(void* self)
{
    auto* l = static_cast<TcpListener*>(self);
    while (!l->stopping_) {
        // Woken at least once a second to end idle connections; with none
        // open there is nothing to end, and only a client or stop() (which
        // shuts the listening socket down) wakes the thread.
        pollfd p {l->listenFd_, POLLIN, 0};
        if (poll(&p, 1, l->connections_ > 0 ? 1000 : -1) <= 0 || l->stopping_) {
            l->reap(false);
            continue;
        }
        const int c = accept4(l->listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) {
            if (errno != EINTR)
                usleep(100000);
            continue;
        }
        if (l->stopping_ || (l->connections_ >= l->max_ && !l->reap(true))) {
            close(c); // nothing could give way
            continue;
        }
        const int one = 1;
        setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        l->connections_++;
        const long number = l->next_++;
        {
            std::lock_guard<std::mutex> g(l->slotsMutex_);
            l->slots_[number] = Slot {fcntl(c, F_DUPFD_CLOEXEC, 0), nowMs(), false};
        }
        auto* arg = new Connection {l, l->serve_, &l->connections_, c, number};
        pthread_t t;
        if (pthread_create(&t, nullptr, serveOne, arg) != 0) {
            delete arg;
            {
                std::lock_guard<std::mutex> g(l->slotsMutex_);
                close(l->slots_[number].fd);
                l->slots_.erase(number);
            }
            close(c);
            l->connections_--;
            continue;
        }
        pthread_detach(t);
    }
    return nullptr;
}

void TcpListener::stop()
{
    if (stopping_.exchange(true) || listenFd_ < 0)
        return;
    // Wakes the accept thread at once.
    ::shutdown(listenFd_, SHUT_RDWR);
    std::lock_guard<std::mutex> l(slotsMutex_);
    for (auto& e : slots_) {
        shutdown(e.second.fd, SHUT_RDWR);
        e.second.last = LLONG_MIN;
    }
}

void TcpListener::mark(long number, bool working)
{
    std::lock_guard<std::mutex> l(slotsMutex_);
    auto it = slots_.find(number);
    if (it != slots_.end()) {
        it->second.last = nowMs();
        it->second.working = working;
    }
}

bool TcpListener::reap(bool full)
{
    const long long now = nowMs();
    const long long limit = g_idleTimeoutMs;
    std::lock_guard<std::mutex> l(slotsMutex_);
    Slot* oldest = nullptr;
    for (auto& e : slots_) {
        if (e.second.last == LLONG_MIN || e.second.working)
            continue; // already shut down (its thread is ending), or busy
        if (now - e.second.last > limit) {
            shutdown(e.second.fd, SHUT_RDWR);
            e.second.last = LLONG_MIN;
            full = false; // a slot is freed already
        } else if (!oldest || e.second.last < oldest->last) {
            oldest = &e.second;
        }
    }
    bool freed = !full;
    if (full && oldest) {
        shutdown(oldest->fd, SHUT_RDWR);
        oldest->last = LLONG_MIN;
        freed = true;
    }
    return freed;
}

void tcpSetIdleTimeoutMs(long long ms) { g_idleTimeoutMs = ms; }

long long tcpIdleTimeoutMs() { return g_idleTimeoutMs; }

void tcpQuickAck(int fd)
{
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
}

bool tcpSendAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t w = send(fd, p, n, MSG_NOSIGNAL);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= size_t(w);
    }
    return true;
}
