// VXI-11 interrupt channels and the service requests sent over them.
//
// The interpreter raises a request on its own thread (a new reason under
// *SRE); the hook only counts it and wakes the dispatcher, which finds the
// links that enabled requests and queues a call on each one's channel. Every
// channel has a sender thread of its own that connects to the controller's
// interrupt server and sends device_intr_srq, a call without a reply: a
// controller that has gone away (or never listened) costs at most its own
// sender's connect and send timeouts, never the interpreter, the controller
// thread or another client.
#include "communication/ETHLXI/vxi11_intr.h"
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include "communication/SCPI/scpi_interface.h"
#include "communication/ETHLXI/vxi11_links.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/tcp_listener.h"
#include "platform/logging.h"

namespace {

// Longest a sender waits to connect to, or to send to, a controller.
const int kConnectTimeoutMs = 1000;
const int kSendTimeoutMs = 1000;
// Requests queued per channel at most; more while the controller is slow
// are dropped (a request says "look at the status byte": one pending is
// enough, a few keep distinct handles of several links).
const size_t kMaxQueued = 16;
// Channels open at once at most: one per TCP connection, and one per client
// address over UDP, where addresses cost a sender nothing; each channel has
// a thread.
const size_t kMaxChannels = 128;

struct Channel {
    sockaddr_in to {};
    u_long prog = 0;
    u_long vers = 0;
    bool udp = false;
    // Guarded by m: requests to send and the end of the channel.
    std::mutex m;
    std::condition_variable wake;
    std::deque<std::string> queue;
    bool stop = false;
    // Owned by the sender thread.
    int fd = -1;
    uint32_t xid = 1;
};

// Made once and never destroyed: senders and the dispatcher are detached
// threads that may still run while the program exits.
std::mutex& g_chanMutex = *new std::mutex;
std::map<Vxi11Peer, std::shared_ptr<Channel>>& g_channels = *new std::map<Vxi11Peer, std::shared_ptr<Channel>>;

// Requests raised by the interpreter and not yet dispatched, guarded by
// g_srqMutex (held only to count and to wait, never while sending).
std::mutex& g_srqMutex = *new std::mutex;
std::condition_variable& g_srqWake = *new std::condition_variable;
unsigned g_srqRaised = 0;

void putU32(std::vector<char>& out, uint32_t v)
{
    v = htonl(v);
    const char* p = reinterpret_cast<const char*>(&v);
    out.insert(out.end(), p, p + 4);
}

// The ONC RPC call device_intr_srq(handle) with null credentials; over TCP
// with its record mark in front.
std::vector<char> encodeCall(Channel& c, const std::string& handle)
{
    std::vector<char> out;
    if (!c.udp)
        putU32(out, 0); // record mark, filled in below
    putU32(out, c.xid++);
    putU32(out, 0); // CALL
    putU32(out, 2); // RPC version
    putU32(out, uint32_t(c.prog));
    putU32(out, uint32_t(c.vers));
    putU32(out, uint32_t(device_intr_srq));
    for (int i = 0; i < 4; ++i)
        putU32(out, 0); // credentials and verifier: AUTH_NONE, empty
    putU32(out, uint32_t(handle.size()));
    out.insert(out.end(), handle.begin(), handle.end());
    out.resize(out.size() + ((4 - handle.size() % 4) % 4), '\0');
    if (!c.udp) {
        const uint32_t mark = htonl(0x80000000u | uint32_t(out.size() - 4));
        std::memcpy(out.data(), &mark, 4);
    }
    return out;
}

bool connectChannel(Channel& c)
{
    c.fd = socket(AF_INET, c.udp ? SOCK_DGRAM : SOCK_STREAM, 0);
    if (c.fd < 0)
        return false;
    timeval tv {kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
    setsockopt(c.fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    if (c.udp)
        return ::connect(c.fd, reinterpret_cast<const sockaddr*>(&c.to), sizeof c.to) == 0;
    // Connect without blocking, so that an address nobody answers costs the
    // connect timeout and not the system's minutes.
    const int flags = fcntl(c.fd, F_GETFL);
    fcntl(c.fd, F_SETFL, flags | O_NONBLOCK);
    int rc = ::connect(c.fd, reinterpret_cast<const sockaddr*>(&c.to), sizeof c.to);
    if (rc < 0 && errno == EINPROGRESS) {
        pollfd p {c.fd, POLLOUT, 0};
        int err = 0;
        socklen_t len = sizeof err;
        rc = poll(&p, 1, kConnectTimeoutMs) == 1 && getsockopt(c.fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0
            ? 0
            : -1;
    }
    fcntl(c.fd, F_SETFL, flags);
    return rc == 0;
}

void closeChannel(Channel& c)
{
    if (c.fd >= 0)
        ::close(c.fd);
    c.fd = -1;
}

// Sends one request; on a broken connection connects once more.
void sendOne(Channel& c, const std::string& handle)
{
    const std::vector<char> call = encodeCall(c, handle);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (c.fd >= 0 && !c.udp) {
            // Replies the controller's server may send anyway are read and
            // dropped, so they never fill the socket; a closed peer shows
            // here as a read of 0.
            char sink[512];
            ssize_t n;
            while ((n = recv(c.fd, sink, sizeof sink, MSG_DONTWAIT)) > 0) {}
            if (n == 0)
                closeChannel(c);
        }
        if (c.fd < 0 && !connectChannel(c)) {
            closeChannel(c);
            break;
        }
        if (c.udp ? send(c.fd, call.data(), call.size(), MSG_NOSIGNAL) == ssize_t(call.size())
                  : tcpSendAll(c.fd, call.data(), call.size()))
            return;
        closeChannel(c);
    }
    char host[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &c.to.sin_addr, host, sizeof host);
    ORNAV_LOG_AT(lcVxi).warning("service request to %s:%u not delivered", host, unsigned(ntohs(c.to.sin_port)));
}

void senderLoop(std::shared_ptr<Channel> c)
{
    for (;;) {
        std::string handle;
        {
            std::unique_lock<std::mutex> l(c->m);
            c->wake.wait(l, [&] { return c->stop || !c->queue.empty(); });
            if (c->stop)
                break;
            handle = std::move(c->queue.front());
            c->queue.pop_front();
        }
        sendOne(*c, handle);
    }
    closeChannel(*c);
}

void stopChannel(const std::shared_ptr<Channel>& c)
{
    {
        std::lock_guard<std::mutex> l(c->m);
        c->stop = true;
    }
    c->wake.notify_all();
}

void dispatchLoop()
{
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> l(g_srqMutex);
            g_srqWake.wait(l, [&] { return g_srqRaised != seen; });
            seen = g_srqRaised;
        }
        vxi11_srq_fanout();
    }
}

// On the interpreter's thread: count the request and wake the dispatcher.
void onSrq(scpi_reg_val_t)
{
    {
        std::lock_guard<std::mutex> l(g_srqMutex);
        ++g_srqRaised;
    }
    g_srqWake.notify_one();
}

} // namespace

Device_ErrorCode vxi11_create_intr_chan(const Vxi11Peer& peer, const Device_RemoteFunc& f)
{
    if (f.progFamily != DEVICE_TCP && f.progFamily != DEVICE_UDP)
        return VXI11_ERR_NOT_SUPPORTED;
    auto c = std::make_shared<Channel>();
    c->to.sin_family = AF_INET;
    c->to.sin_addr.s_addr = htonl(uint32_t(f.hostAddr));
    c->to.sin_port = htons(f.hostPort);
    c->prog = f.progNum;
    c->vers = f.progVers;
    c->udp = f.progFamily == DEVICE_UDP;
    {
        std::lock_guard<std::mutex> l(g_chanMutex);
        // One interrupt channel per core channel.
        if (g_channels.count(peer))
            return VXI11_ERR_CHANNEL_EXISTS;
        if (g_channels.size() >= kMaxChannels)
            return Device_ErrorCode(VXI11_ERR_OUT_OF_RESOURCES);
        g_channels[peer] = c;
    }
    vxi11_srq_install();
    std::thread(senderLoop, c).detach();
    return VXI11_ERR_NONE;
}

Device_ErrorCode vxi11_destroy_intr_chan(const Vxi11Peer& peer)
{
    std::shared_ptr<Channel> c;
    {
        std::lock_guard<std::mutex> l(g_chanMutex);
        auto it = g_channels.find(peer);
        if (it == g_channels.end())
            return VXI11_ERR_NO_CHANNEL;
        c = it->second;
        g_channels.erase(it);
    }
    stopChannel(c);
    return VXI11_ERR_NONE;
}

void vxi11_drop_intr_chan(const Vxi11Peer& peer) { vxi11_destroy_intr_chan(peer); }

void vxi11_intr_post(const Vxi11Peer& peer, const std::string& handle)
{
    std::shared_ptr<Channel> c;
    {
        std::lock_guard<std::mutex> l(g_chanMutex);
        auto it = g_channels.find(peer);
        if (it == g_channels.end())
            return;
        c = it->second;
    }
    {
        std::lock_guard<std::mutex> l(c->m);
        if (c->queue.size() >= kMaxQueued)
            c->queue.pop_front();
        c->queue.push_back(handle);
    }
    c->wake.notify_one();
}

void vxi11_srq_install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        std::thread(dispatchLoop).detach();
        SCPI_SetSrqHook(onSrq);
    });
}
