#pragma once
// A TCP server socket whose connections are each served by a detached
// thread of their own, as the VXI-11 core channel and the raw SCPI socket
// both do: a connection beyond the limit is closed at once, and replies are
// whole messages written at once, so Nagle's delay is switched off.
#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>

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
    // The connection number has received a call (or a message) and works on
    // it: it is not idle, and while it works it is never shut down to make
    // room, however long the call takes (an *OPC? behind a *RST). done()
    // when its reply has gone; from then on it counts as idle again.
    void touch(long number) { mark(number, true); }
    void done(long number) { mark(number, false); }
    // The program is ending: stops accepting and shuts every open
    // connection down (its thread sees the peer gone, closes its session and
    // ends; connections() falls to 0).
    void stop();

private:
    static void* acceptLoop(void* self);
    void mark(long number, bool working);
    static void* serveOne(void* arg);
    // Shuts down connections idle for longer than the idle timeout and, with
    // every slot taken, the one idle for longest: a client that holds a slot
    // without sending never locks the others out. A connection in the middle
    // of a call is not idle. True when a slot was freed (or none was needed).
    bool reap(bool full);

    struct Slot {
        int fd;         // a duplicate of the connection's socket, to shut it down
        long long last; // steady clock, ms, since when it is idle (or working)
        bool working;   // between touch() and done()
    };
    std::mutex slotsMutex_;
    std::map<long, Slot> slots_; // guarded by slotsMutex_

    const int max_;
    const Serve serve_;
    int listenFd_ = -1;
    int port_ = -1;
    std::atomic<int> connections_ {0};
    std::atomic<long> next_ {1};
    std::atomic<bool> stopping_ {false};
};

// How long a connection may hold its slot without sending (default 10 min);
// shorter when the slots are full.
void tcpSetIdleTimeoutMs(long long ms);
long long tcpIdleTimeoutMs();

// Acknowledges what has been read at once instead of after the delayed-ACK
// timer. A client with Nagle's algorithm on (most VISA libraries) holds its
// next message until its last one is acknowledged; a command without a reply
// would otherwise stall the query behind it by the peer's delayed ACK
// (40 ms on Linux). The kernel drops the setting again by itself, so it is
// renewed after every read.
void tcpQuickAck(int fd);

// Sends all n bytes to a connected socket, resuming after signals; false
// when the peer has gone (never a SIGPIPE that would end the program).
bool tcpSendAll(int fd, const char* p, size_t n);
