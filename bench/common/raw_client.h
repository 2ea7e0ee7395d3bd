#pragma once
// A client of a line server on the loopback (the program's raw SCPI socket or
// the floor server of the same run): connect, send, read one reply. Every
// benchmark that talks TCP uses these, so that the program and its floor
// are measured by the very same client code.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <string>

// Connects to port on the loopback; -1 when nobody listens. nagle: leave
// Nagle's algorithm on, as most VISA libraries do. A reply that never comes
// ends a read after 30 s instead of hanging the benchmark.
inline int rawConnect(int port, bool nagle = false)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(port));
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) < 0) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    const timeval limit {30, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const int one = 1;
    if (!nagle)
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

inline bool rawSendAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t w = send(fd, p, n, MSG_NOSIGNAL);
        if (w <= 0)
            return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

inline bool rawSendLine(int fd, const std::string& s)
{
    const std::string l = s + "\n";
    return rawSendAll(fd, l.data(), l.size());
}

// Reads one reply: a line, or a definite-length block and its LF.
inline bool rawReadReply(int fd, std::string* out = nullptr)
{
    std::string r;
    char c;
    size_t blockEnd = 0;
    for (;;) {
        char buf[65536];
        const size_t want = blockEnd > r.size() ? std::min(sizeof buf, blockEnd - r.size()) : 1;
        const ssize_t n = recv(fd, want == 1 ? &c : buf, want, 0);
        if (n <= 0)
            return false;
        if (want == 1)
            r += c;
        else
            r.append(buf, size_t(n));
        if (blockEnd == 0 && r.size() >= 2 && r[0] == '#') {
            const size_t digits = size_t(r[1] - '0');
            if (r.size() == 2 + digits)
                blockEnd = 2 + digits + size_t(std::stoul(r.substr(2, digits))) + 1;
        }
        if ((blockEnd == 0 && r.back() == '\n' && r[0] != '#') || (blockEnd && r.size() >= blockEnd))
            break;
    }
    if (out)
        *out = r;
    return true;
}
