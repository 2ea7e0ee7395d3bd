#pragma once
// A TCP server socket whose connections are each served by a detached
// thread of their own, as the VXI-11 core channel and the raw SCPI socket
// both do: a connection beyond the limit is closed at once, and replies are
// whole messages written at once, so Nagle's delay is switched off.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <set>

class TcpListener {
public:
    // serve(fd, number) owns fd and must close it; number counts the
    // connections from 1.
    using Serve = void (*)(int fd, long number);

    TcpListener(int maxConnections, Serve serve) : max_(maxConnections), serve_(serve) {}

    // Listens on port (0: a free port the system picks) on the loopback
    // interface only or on every interface; the bound port, or -1. A started
    // listener returns its port again.
    int start(int port, bool loopbackOnly);
    int port() const { return port_; }
    int connections() const { return connections_; }
    // Stops accepting, shuts every open connection down (its thread sees
    // the peer gone and ends, closing its session) and waits until all
    // connection threads have ended, at most timeoutMs. True when they have.
    bool stop(int timeoutMs);

private:
    static void* acceptLoop(void* self);
    static void* serveOne(void* arg);

    void forget(int fd);

    const int max_;
    const Serve serve_;
    // Set by start() before the accept thread exists; read-only afterwards.
    int listenFd_ = -1;
    int port_ = -1;
    std::atomic<int> connections_{0};
    std::atomic<long> next_{1};
    std::atomic<bool> stopping_{false};
    // Descriptors of the open connections, for stop(); guarded by fdsMutex_.
    std::mutex fdsMutex_;
    std::set<int> fds_;
};

// Sends all n bytes to a connected socket, resuming after signals; false
// when the peer has gone (never a SIGPIPE that would end the program).
bool tcpSendAll(int fd, const char* p, size_t n);
