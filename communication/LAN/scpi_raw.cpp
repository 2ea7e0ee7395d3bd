// The raw SCPI socket server: a listening socket and one thread per client.
#include "communication/LAN/scpi_raw.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "communication/LAN/scpi_raw_framer.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"

namespace {

int g_listenFd = -1;
int g_port = -1;
std::atomic<int> g_connections{0};

bool sendAll(int fd, const char* p, size_t n)
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

// Hands one message to the worker and sends its reply, if it has one,
// before the next message goes: a raw client reads the replies in the order
// of its queries.
bool runMessage(int fd, int session, std::vector<char>& msg)
{
    const size_t n = msg.size();
    char* buf = static_cast<char*>(std::malloc(n + 1));
    if (!buf)
        return false;
    std::memcpy(buf, msg.data(), n);
    buf[n] = '\0';
    std::vector<char>().swap(msg);
    if (scpi_session_deliver(session, buf, int(n)) < 0)
        return false;
    int held;
    // A long operation (a large wave file) may keep the worker busy; the
    // client waits as long as it likes.
    while ((held = scpi_session_wait_done(session, 1000)) < 0) {
        if (!scpi_session_valid(session))
            return false;
    }
    if (held == 0)
        return true;
    std::vector<char> reply(size_t(held) + 1);
    const int got = scpi_session_read(session, reply.data(), held);
    reply.resize(size_t(got));
    // The parser ends a reply with CR LF; on a raw socket a reply ends with
    // LF alone, as clients split replies at LF.
    if (reply.size() >= 2 && reply[reply.size() - 2] == '\r' && reply.back() == '\n')
        reply.erase(reply.end() - 2);
    else if (reply.empty() || reply.back() != '\n')
        reply.push_back('\n');
    return sendAll(fd, reply.data(), reply.size());
}

void* serveConnection(void* p)
{
    const int fd = int(reinterpret_cast<intptr_t>(p));
    const int session = scpi_session_open();
    ScpiRawFramer framer(SCPI_RAW_MAX_LINE, SCPI_MAX_MESSAGE);
    std::vector<char> in(65536);
    std::vector<char> msg;
    bool isData = false;
    bool open = true;
    while (open) {
        const ssize_t r = recv(fd, in.data(), in.size(), 0);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        if (framer.feed(in.data(), size_t(r)) != ScpiRawFramer::Ok) {
            fprintf(stderr, "[lan-ERRO] f:%s,l:%d,block longer than %d bytes, connection closed\r\n", __func__,
                    __LINE__, int(SCPI_MAX_MESSAGE));
            break;
        }
        while (open && framer.next(msg, isData))
            open = runMessage(fd, session, msg);
    }
    scpi_session_close(session);
    scpi_msg_data_mode_drop(session);
    close(fd);
    g_connections--;
    return nullptr;
}

void* acceptLoop(void*)
{
    for (;;) {
        const int c = accept4(g_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) {
            if (errno != EINTR)
                usleep(100000);
            continue;
        }
        if (g_connections >= SCPI_RAW_MAX_CONNECTIONS) {
            close(c);
            continue;
        }
        const int one = 1;
        setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        g_connections++;
        pthread_t t;
        if (pthread_create(&t, nullptr, serveConnection, reinterpret_cast<void*>(intptr_t(c))) != 0) {
            close(c);
            g_connections--;
            continue;
        }
        pthread_detach(t);
    }
    return nullptr;
}

} // namespace

int scpi_raw_start(int port, bool loopbackOnly)
{
    if (g_listenFd >= 0)
        return g_port;
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
        fprintf(stderr, "[lan-ERRO] f:%s,l:%d,cannot listen on port %d: %s\r\n", __func__, __LINE__, port,
                strerror(errno));
        close(s);
        return -1;
    }
    g_listenFd = s;
    g_port = ntohs(a.sin_port);
    pthread_t t;
    if (pthread_create(&t, nullptr, acceptLoop, nullptr) != 0) {
        close(s);
        g_listenFd = -1;
        g_port = -1;
        return -1;
    }
    pthread_detach(t);
    return g_port;
}

int scpi_raw_port()
{
    return g_port;
}

int scpi_raw_connections()
{
    return g_connections;
}
