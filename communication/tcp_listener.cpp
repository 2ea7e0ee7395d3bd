#include "communication/tcp_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {
struct Connection {
    TcpListener* listener;
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
    // serve() closes the descriptor; stop() must not shut down a number the
    // system has handed out again, so it is forgotten when serve() ends.
    c.listener->serve_(c.fd, c.number);
    c.listener->forget(c.fd);
    c.listener->connections_--;
    return nullptr;
}

void TcpListener::forget(int fd)
{
    std::lock_guard<std::mutex> l(fdsMutex_);
    fds_.erase(fd);
}

bool TcpListener::stop(int timeoutMs)
{
    if (stopping_.exchange(true) || listenFd_ < 0)
        return connections_ == 0;
    // Wakes the accept thread, which ends on seeing stopping_.
    ::shutdown(listenFd_, SHUT_RDWR);
    {
        std::lock_guard<std::mutex> l(fdsMutex_);
        for (int fd : fds_)
            ::shutdown(fd, SHUT_RDWR);
    }
    for (int waited = 0; connections_ > 0 && waited < timeoutMs; waited += 5)
        usleep(5000);
    return connections_ == 0;
}

void* TcpListener::acceptLoop(void* self)
{
    auto* l = static_cast<TcpListener*>(self);
    while (!l->stopping_) {
        const int c = accept4(l->listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) {
            if (errno != EINTR && !l->stopping_)
                usleep(100000);
            continue;
        }
        if (l->connections_ >= l->max_ || l->stopping_) {
            close(c);
            continue;
        }
        const int one = 1;
        setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        l->connections_++;
        {
            std::lock_guard<std::mutex> g(l->fdsMutex_);
            l->fds_.insert(c);
        }
        auto* arg = new Connection{l, c, l->next_++};
        pthread_t t;
        if (pthread_create(&t, nullptr, serveOne, arg) != 0) {
            delete arg;
            l->forget(c);
            close(c);
            l->connections_--;
            continue;
        }
        pthread_detach(t);
    }
    return nullptr;
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
