// VXI-11 links and the core procedures on them.
#include "communication/ETHLXI/vxi11_links.h"
#include <malloc.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"

#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/tcp_listener.h"
#include "platform/logging.h"

namespace {

// A large partial message, once freed, is handed back to the system: the
// connection threads allocate from arenas of their own, which would
// otherwise keep the pages.
const size_t kTrimAbove = 4 * 1024 * 1024;

struct Link {
    long lid = 0;
    int session = 0;
    long conn = 0;
    uint32_t addr = 0; // the client's IPv4 address, host order
    // The message being assembled from chunks, guarded by m.
    std::mutex m;
    char* pbuf = nullptr;
    size_t recv = 0;
    qint64 start_time = 0;
    unsigned long io_timeout = 0;
    // Set by device_abort on the abort channel; ends a read waiting for its
    // reply.
    std::atomic<bool> abort {false};
    // When a call last named the link (scpi_adpt_clock_ms): links created
    // over UDP have no connection that tells when their client has gone.
    std::atomic<qint64> lastUse {0};
    // device_enable_srq: whether a service request goes to the link's
    // interrupt channel, and the handle it carries; guarded by m.
    bool srq = false;
    std::string srqHandle;

    void dropPending()
    {
        scpi_partial_charge(-(long long)recv);
        std::free(pbuf);
        if (recv > kTrimAbove)
            malloc_trim(0);
        pbuf = nullptr;
        recv = 0;
    }
    ~Link() { std::free(pbuf); }
};

// Used by the RPC threads, which are never joined: made once and never
// destroyed, so a call served while exit() runs meets a live table.
std::mutex& g_linksMutex = *new std::mutex;
std::map<long, std::shared_ptr<Link>>& g_links = *new std::map<long, std::shared_ptr<Link>>;
long g_nextLid = VXI11_LINK_ID; // guarded by g_linksMutex

// The instrument's exclusive lock: the link holding it (0: none), guarded by
// g_lockMutex. A link waiting for it (waitlock) waits on g_lockFreed.
std::mutex g_lockMutex;
std::condition_variable g_lockFreed;
long g_lockOwner = 0;

// Longest wait for the lock whatever the client asks: the waiting call holds
// its connection (or, over UDP, the one dispatch thread).
const unsigned long kMaxLockWaitMs = 60000;

// Whether link lid may go on: nobody else holds the lock, or it was released
// within lock_timeout when the call's flags ask to wait (waitlock). With
// take, the link then holds the lock.
bool lockFree(long lid, long conn, long flags, unsigned long lockTimeout, bool take)
{
    // Over UDP one thread serves every client: a call there never waits for
    // the lock, it is refused at once.
    if (conn == 0)
        flags &= ~long(VXI11_FLAG_WAITLOCK);
    std::unique_lock<std::mutex> l(g_lockMutex);
    auto free = [lid] { return g_lockOwner == 0 || g_lockOwner == lid; };
    bool ok = free();
    if (!ok && (flags & VXI11_FLAG_WAITLOCK)) {
        const unsigned long ms = lockTimeout < kMaxLockWaitMs ? lockTimeout : kMaxLockWaitMs;
        ok = g_lockFreed.wait_for(l, std::chrono::milliseconds(ms), free);
    }
    if (ok && take)
        g_lockOwner = lid;
    return ok;
}

void releaseLock(long lid)
{
    {
        std::lock_guard<std::mutex> l(g_lockMutex);
        if (g_lockOwner != lid)
            return;
        g_lockOwner = 0;
    }
    g_lockFreed.notify_all();
}

std::shared_ptr<Link> findLink(long lid)
{
    std::lock_guard<std::mutex> l(g_linksMutex);
    auto it = g_links.find(lid);
    if (it == g_links.end())
        return nullptr;
    it->second->lastUse = scpi_adpt_clock_ms();
    return it->second;
}

// The link a procedure names, once the instrument's lock lets that link in:
// null with the VXI-11 error set otherwise (4: no such link, 11: another
// link holds the lock past this call's lock timeout).
std::shared_ptr<Link> usableLink(long lid, long flags, unsigned long lockTimeout, long* error)
{
    std::shared_ptr<Link> link = findLink(lid);
    if (!link) {
        *error = VXI11_ERR_INVALID_LINK;
        return nullptr;
    }
    if (!lockFree(link->lid, link->conn, flags, lockTimeout, false)) {
        *error = VXI11_ERR_LOCKED;
        return nullptr;
    }
    return link;
}

// Makes room for a new link, g_linksMutex held: links created over UDP idle
// for longer than the idle timeout go; when the table is still full, the
// least recently used UDP link gives way (its client may well have gone
// without destroy_link, and only a connection tells that). Links of open
// TCP connections stay: they go with their connection. The removed links
// are returned to be retired outside the lock.
void makeRoom(std::vector<std::shared_ptr<Link>>& gone)
{
    const qint64 now = scpi_adpt_clock_ms();
    const qint64 idle = vxi11_idle_timeout_ms();
    std::shared_ptr<Link> oldest;
    for (auto it = g_links.begin(); it != g_links.end();) {
        const std::shared_ptr<Link>& link = it->second;
        if (link->conn == 0 && now - link->lastUse > idle) {
            gone.push_back(link);
            it = g_links.erase(it);
            continue;
        }
        if (link->conn == 0 && (!oldest || link->lastUse < oldest->lastUse))
            oldest = link;
        ++it;
    }
    if (g_links.size() >= VXI11_MAX_LINKS && oldest) {
        g_links.erase(oldest->lid);
        gone.push_back(oldest);
    }
}

int linksOf(long conn)
{
    int n = 0;
    for (const auto& l : g_links)
        n += l.second->conn == conn;
    return n;
}

// Keeps a host within its share of the table, g_linksMutex held: at its
// limit, its own least recently used UDP link gives way. False when the
// host holds its whole share in TCP links.
bool peerRoom(uint32_t addr, std::vector<std::shared_ptr<Link>>& gone)
{
    int n = 0;
    std::shared_ptr<Link> oldest;
    for (const auto& l : g_links) {
        if (l.second->addr != addr)
            continue;
        ++n;
        if (l.second->conn == 0 && (!oldest || l.second->lastUse < oldest->lastUse))
            oldest = l.second;
    }
    if (n < VXI11_MAX_LINKS_PER_PEER)
        return true;
    if (!oldest)
        return false;
    g_links.erase(oldest->lid);
    gone.push_back(oldest);
    return true;
}

void retire(const std::shared_ptr<Link>& link)
{
    // A link that goes (destroy_link, a dropped connection, an expired UDP
    // link) gives its lock back: a lock must never outlive its holder.
    releaseLock(link->lid);
    link->abort = true;
    {
        std::lock_guard<std::mutex> l(link->m);
        link->dropPending();
    }
    scpi_session_close(link->session);
    scpi_msg_data_mode_drop(link->session);
}

} // namespace

void vxi11_create_link(const Create_LinkParms& p, Create_LinkResp& r, const Vxi11Peer& peer)
{
    const long conn = peer.conn;
    std::memset(&r, 0, sizeof r);
    if (!p.device || std::strcmp(p.device, VXI11_DEVICE_NAME) != 0) {
        r.error = VXI11_ERR_DEVICE_NOT_ACCESSIBLE;
        r.lid = 0;
        return;
    }
    auto link = std::make_shared<Link>();
    std::vector<std::shared_ptr<Link>> gone;
    {
        std::lock_guard<std::mutex> l(g_linksMutex);
        makeRoom(gone);
        // One TCP connection, and one host, hold at most a share of the
        // links, so that neither can lock every other client out.
        if (!peerRoom(peer.addr, gone) || g_links.size() >= VXI11_MAX_LINKS ||
            (conn != 0 && linksOf(conn) >= VXI11_MAX_LINKS_PER_CONNECTION)) {
            r.error = VXI11_ERR_OUT_OF_RESOURCES;
        }
    }
    for (const auto& old : gone)
        retire(old);
    if (r.error)
        return;
    {
        std::lock_guard<std::mutex> l(g_linksMutex);
        if (g_links.size() >= VXI11_MAX_LINKS) {
            r.error = VXI11_ERR_OUT_OF_RESOURCES;
            return;
        }
        // Ids count up from 5000; one still in use after a wrap is skipped.
        while (g_links.count(g_nextLid) || g_nextLid < VXI11_LINK_ID)
            g_nextLid = g_nextLid < VXI11_LINK_ID || g_nextLid >= 0x7FFFFFF0L ? long(VXI11_LINK_ID) : g_nextLid + 1;
        link->lid = g_nextLid++;
        link->conn = conn;
        link->addr = peer.addr;
        link->lastUse = scpi_adpt_clock_ms();
        link->session = scpi_session_open();
        g_links[link->lid] = link;
    }
    if (p.lockDevice && !lockFree(link->lid, conn, VXI11_FLAG_WAITLOCK, p.lock_timeout, true)) {
        Device_Error dropped;
        vxi11_destroy_link(link->lid, dropped);
        r.error = VXI11_ERR_LOCKED;
        return;
    }
    r.error = VXI11_ERR_NONE;
    r.lid = link->lid;
    r.abortPort = u_short(vxi11_abort_port());
    r.maxRecvSize = VXI11_MAX_RECV_SIZE;
}

void vxi11_device_write(const Device_WriteParms& p, Device_WriteResp& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = usableLink(p.lid, p.flags, p.lock_timeout, &r.error);
    if (!link)
        return;
    char* msg = nullptr;
    size_t n = 0;
    {
        std::lock_guard<std::mutex> l(link->m);
        const qint64 now = scpi_adpt_clock_ms();
        bool discarded = false;
        if (link->pbuf && now - link->start_time > qint64(link->io_timeout)) {
            ORNAV_LOG_AT(lcVxi).critical("time out give up data size:%d!", int(link->recv));
            link->dropPending();
            discarded = true;
        }
        const bool first = link->pbuf == nullptr;
        const size_t len = p.data.data_len;
        const bool end = p.flags & VXI11_FLAG_END;
        // Room for the chunk, a LF that may be appended, and a NUL. A
        // message longer than the largest legitimate one is refused.
        // Charged before the chunk is stored; a link whose chunk would pass
        // the limit shared with every client loses its partial message.
        if (!scpi_partial_charge((long long)len)) {
            ORNAV_LOG_AT(lcVxi).critical("partial messages over %lld bytes: link %ld dropped its own",
                                         scpi_partial_bytes(), link->lid);
            link->dropPending();
            Sys_Error(SCPI_ERROR_INPUT_BUFFER_OVERRUN);
            r.error = VXI11_ERR_ABORT;
            return;
        }
        char* grown = nullptr;
        if (link->recv + len <= size_t(VXI11_MAX_MESSAGE))
            grown = static_cast<char*>(std::realloc(link->pbuf, link->recv + len + 2));
        if (!grown) {
            scpi_partial_charge(-(long long)len);
            ORNAV_LOG_AT(lcVxi).critical("~scpi lxi error:%ld!", long(len));
            link->dropPending();
            r.error = VXI11_ERR_ABORT;
            return;
        }
        link->pbuf = grown;
        if (len)
            std::memcpy(link->pbuf + link->recv, p.data.data_val, len);
        link->recv += len;
        r.size = u_long(len);
        if (!end) {
            link->start_time = now;
            link->io_timeout = p.io_timeout;
            return;
        }
        scpi_partial_charge(-(long long)link->recv); // the message is whole: no longer partial
        // A message that came in one chunk gets a LF when it has no line end.
        // One assembled from several chunks is passed on as sent: it may be
        // data (a record, a wave file) whose receiver must see exactly the
        // bytes sent. The worker ends a command message that lacks a line end
        // itself, so END always closes the message.
        if ((first || discarded) && !scpi_msg_has_terminator(link->pbuf, link->recv))
            link->pbuf[link->recv++] = '\n';
        link->pbuf[link->recv] = '\0';
        msg = link->pbuf;
        n = link->recv;
        link->pbuf = nullptr;
        link->recv = 0;
    }
    // Outside the link's lock: a delivery may wait for room on the queue.
    scpi_session_deliver(link->session, msg, int(n));
}

void vxi11_device_read(const Device_ReadParms& p, Device_ReadResp& r, std::vector<char>& storage)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = usableLink(p.lid, p.flags, p.lock_timeout, &r.error);
    if (!link) {
        r.reason = VXI11_REASON_END;
        return;
    }
    unsigned long timeout = p.io_timeout;
    if (timeout > VXI11_MAX_IO_TIMEOUT_MS)
        timeout = VXI11_MAX_IO_TIMEOUT_MS;
    // Woken as soon as the worker has finished this link's messages; waited
    // for in slices so that device_abort on the abort channel ends the wait.
    link->abort = false;
    const qint64 deadline = scpi_adpt_clock_ms() + qint64(timeout);
    int held = 0;
    for (;;) {
        const qint64 left = deadline - scpi_adpt_clock_ms();
        held = scpi_session_wait_reply(link->session, int(left < 50 ? (left > 0 ? left : 0) : 50));
        if (held > 0)
            break;
        if (link->abort.exchange(false)) {
            r.error = VXI11_ERR_ABORT;
            return;
        }
        if (left <= 0 || scpi_session_stopping()) {
            // Out of time, or the program is ending: no reply will come.
            r.error = VXI11_ERR_IO_TIMEOUT;
            return;
        }
    }
    const int want = p.requestSize < u_long(held) ? int(p.requestSize) : held;
    try {
        storage.resize(size_t(want > 0 ? want : 1));
    } catch (const std::bad_alloc&) {
        ORNAV_LOG_AT(lcVxi).critical("alloc mem error!");
        r.error = VXI11_ERR_IO_TIMEOUT;
        return;
    }
    int n = 0;
    bool sawTerm = false;
    if (p.flags & VXI11_FLAG_TERMCHAR) {
        // The read ends after the first termChar: taken a byte at a time, so
        // that what follows stays for the next read.
        while (n < want && !sawTerm) {
            if (scpi_session_read(link->session, storage.data() + n, 1) != 1)
                break;
            sawTerm = storage[size_t(n++)] == p.termChar;
        }
    } else {
        n = scpi_session_read(link->session, storage.data(), want);
    }
    r.error = VXI11_ERR_NONE;
    // END only when the whole reply has gone; a client asking for less gets
    // the rest on its next read.
    r.reason = scpi_session_held(link->session) > 0 ? VXI11_REASON_REQCNT : VXI11_REASON_END;
    if (sawTerm)
        r.reason = (r.reason & VXI11_REASON_END) | VXI11_REASON_CHR;
    r.data.data_len = u_int(n);
    r.data.data_val = storage.data();
}

void vxi11_device_readstb(const Device_GenericParms& p, Device_ReadStbResp& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = usableLink(p.lid, p.flags, p.lock_timeout, &r.error);
    if (!link)
        return;
    const bool mav = scpi_session_held(link->session) > 0;
    r.error = VXI11_ERR_NONE;
    r.stb = u_char(SCPI_StatusByte(&scpi_context, mav));
}

void vxi11_device_clear(const Device_GenericParms& p, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = usableLink(p.lid, p.flags, p.lock_timeout, &r.error);
    if (!link)
        return;
    // Input (the partial message), output (the uncollected reply) and a
    // pending transfer (a data message the session armed and has not sent).
    {
        std::lock_guard<std::mutex> l(link->m);
        link->dropPending();
    }
    scpi_session_clear(link->session);
    scpi_msg_data_mode_drop(link->session);
}

// Runs text as a message of the link, as if the client had written it.
static void deliverText(const std::shared_ptr<Link>& link, const char* text)
{
    const size_t n = std::strlen(text);
    char* msg = static_cast<char*>(std::malloc(n + 1));
    if (!msg)
        return;
    std::memcpy(msg, text, n + 1);
    scpi_session_deliver(link->session, msg, int(n));
}

void vxi11_device_generic(int proc, const Device_GenericParms& p, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = usableLink(p.lid, p.flags, p.lock_timeout, &r.error);
    if (!link)
        return;
    // Queued behind the link's earlier messages, in order, as a group
    // execute trigger or a remote/local message of a GPIB controller would
    // be.
    switch (proc) {
    case VXI11_PROC_TRIGGER: deliverText(link, "*TRG\n"); break;
    case VXI11_PROC_REMOTE: deliverText(link, "SYSTem:LOCK ON\n"); break;
    case VXI11_PROC_LOCAL: deliverText(link, "SYSTem:LOCK OFF\n"); break;
    default: break;
    }
}

void vxi11_device_enable_srq(const Device_EnableSrqParms& p, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = findLink(p.lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    std::lock_guard<std::mutex> l(link->m);
    link->srq = p.enable;
    link->srqHandle.assign(p.handle.handle_val ? p.handle.handle_val : "", p.handle.handle_len);
}

void vxi11_srq_fanout()
{
    std::vector<std::pair<Vxi11Peer, std::string>> to;
    {
        std::lock_guard<std::mutex> l(g_linksMutex);
        for (const auto& e : g_links) {
            Link& link = *e.second;
            std::lock_guard<std::mutex> ll(link.m);
            if (link.srq) {
                Vxi11Peer peer;
                peer.conn = link.conn;
                peer.addr = link.addr;
                to.emplace_back(peer, link.srqHandle);
            }
        }
    }
    for (const auto& t : to)
        vxi11_intr_post(t.first, t.second);
}

void vxi11_device_lock(const Device_LockParms& p, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = findLink(p.lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    if (!lockFree(link->lid, link->conn, p.flags, p.lock_timeout, true))
        r.error = VXI11_ERR_LOCKED;
}

void vxi11_device_unlock(Device_Link lid, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    if (!findLink(lid)) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    {
        std::lock_guard<std::mutex> l(g_lockMutex);
        if (g_lockOwner != lid) {
            r.error = VXI11_ERR_NO_LOCK_HELD;
            return;
        }
    }
    releaseLock(lid);
}

void vxi11_device_abort(Device_Link lid, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = findLink(lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    link->abort = true;
}

void vxi11_destroy_link(Device_Link lid, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    std::shared_ptr<Link> link;
    {
        std::lock_guard<std::mutex> l(g_linksMutex);
        auto it = g_links.find(lid);
        if (it != g_links.end()) {
            link = it->second;
            g_links.erase(it);
        }
    }
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    retire(link);
}

Device_ErrorCode vxi11_check_link(Device_Link lid) { return findLink(lid) ? VXI11_ERR_NONE : VXI11_ERR_INVALID_LINK; }

void vxi11_drop_connection(const Vxi11Peer& peer)
{
    const long conn = peer.conn;
    if (conn == 0)
        return;
    vxi11_drop_intr_chan(peer);
    std::vector<std::shared_ptr<Link>> gone;
    {
        std::lock_guard<std::mutex> l(g_linksMutex);
        for (auto it = g_links.begin(); it != g_links.end();) {
            if (it->second->conn == conn) {
                gone.push_back(it->second);
                it = g_links.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& link : gone)
        retire(link);
}

void vxi11_set_idle_timeout_ms(long long ms) { tcpSetIdleTimeoutMs(ms); }

long long vxi11_idle_timeout_ms() { return tcpIdleTimeoutMs(); }

int vxi11_link_count()
{
    std::lock_guard<std::mutex> l(g_linksMutex);
    return int(g_links.size());
}
