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
#include "communication/tcp_listener.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "platform/logging.h"

namespace {

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
    return tcpSendAll(fd, reply.data(), reply.size());
}

void serveConnection(int fd, long number);
TcpListener g_listener(SCPI_RAW_MAX_CONNECTIONS, serveConnection);

void serveConnection(int fd, long number)
{
    const int session = scpi_session_open();
    ScpiRawFramer framer(SCPI_RAW_MAX_LINE, SCPI_MAX_MESSAGE);
    std::vector<char> in(65536);
    std::vector<char> msg;
    bool isData = false;
    bool open = true;
    // What the framer holds counts in the limit shared with every client's
    // unfinished messages; the bytes charged for this connection.
    long long charged = 0;
    const auto charge = [&charged](size_t held) {
        if (!scpi_partial_charge((long long)held - charged))
            return false;
        charged = (long long)held;
        return true;
    };
    while (open) {
        const ssize_t r = recv(fd, in.data(), in.size(), 0);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        tcpQuickAck(fd);
        g_listener.touch(number);
        if (framer.feed(in.data(), size_t(r)) != ScpiRawFramer::Ok) {
            ORNAV_LOG_AT(lcLan).critical("block longer than %d bytes, connection closed", int(SCPI_MAX_MESSAGE));
            break;
        }
        if (!charge(framer.held())) {
            ORNAV_LOG_AT(lcLan).critical("unfinished messages of all clients over %lld bytes, connection closed",
                                         scpi_partial_bytes());
            Sys_Error(SCPI_ERROR_INPUT_BUFFER_OVERRUN);
            break;
        }
        while (open && framer.next(msg, isData)) {
            charge(framer.held());
            open = runMessage(fd, session, msg);
        }
        g_listener.done(number);
    }
    scpi_partial_charge(-charged);
    scpi_session_close(session);
    scpi_msg_data_mode_drop(session);
    close(fd);
}

} // namespace

int scpi_raw_start(int port, bool loopbackOnly)
{
    const int bound = g_listener.start(port, loopbackOnly);
    if (bound < 0)
        ORNAV_LOG_AT(lcLan).critical("cannot listen on port %d: %s", port, strerror(errno));
    return bound;
}

int scpi_raw_port() { return g_listener.port(); }

int scpi_raw_connections() { return g_listener.connections(); }

void scpi_raw_stop() { g_listener.stop(); }
