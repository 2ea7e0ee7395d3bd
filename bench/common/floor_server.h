#pragma once
// The floor of the remote benchmarks: a minimal line server on the loopback,
// in this process, that a benchmark's client talks to exactly as it talks to
// the instrument. It answers every line that holds a '?' with a short reply
// at once and takes every other line without a reply, with Nagle off and an
// immediate ACK after each read (what the best a server on this machine can
// do). A figure of the instrument divided by the floor of the same run is a
// ratio that does not depend on how fast or busy the machine is.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

class FloorServer {
public:
    FloorServer()
    {
        listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) < 0 ||
            listen(listenFd_, 4) < 0 || getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len) < 0)
            return;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { acceptLoop(); });
    }
    ~FloorServer()
    {
        stop_ = true;
        if (listenFd_ >= 0)
            shutdown(listenFd_, SHUT_RDWR);
        if (thread_.joinable())
            thread_.join();
        if (listenFd_ >= 0)
            close(listenFd_);
    }
    int port() const { return port_; }

private:
    void acceptLoop()
    {
        while (!stop_) {
            const int c = accept(listenFd_, nullptr, nullptr);
            if (c < 0)
                return;
            std::thread([c] { serve(c); }).detach();
        }
    }
    static void serve(int fd)
    {
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        thread_local std::string line;
        for (;;) {
            char in[1 << 16];
            const ssize_t n = recv(fd, in, sizeof in, 0);
            if (n <= 0)
                break;
            setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
            for (ssize_t i = 0; i < n; ++i) {
                if (in[i] != '\n') {
                    if (line.size() < 256)
                        line += in[i];
                    continue;
                }
                if (line.compare(0, 7, "BLOCK? ") == 0) {
                    // A definite-length block of the given size, as a
                    // picture or a wave comes back.
                    const std::string data(size_t(std::atol(line.c_str() + 7)), 'x');
                    const std::string len = std::to_string(data.size());
                    const std::string reply = "#" + std::to_string(len.size()) + len + data + "\n";
                    sendAll(fd, reply.data(), reply.size());
                } else if (line.find('?') != std::string::npos) {
                    send(fd, "1\n", 2, MSG_NOSIGNAL);
                }
                line.clear();
            }
        }
        close(fd);
    }

    static void sendAll(int fd, const char* p, size_t n)
    {
        while (n > 0) {
            const ssize_t w = send(fd, p, n, MSG_NOSIGNAL);
            if (w <= 0)
                return;
            p += w;
            n -= size_t(w);
        }
    }

    int listenFd_ = -1;
    int port_ = -1;
    std::atomic<bool> stop_ {false};
    std::thread thread_;
};
