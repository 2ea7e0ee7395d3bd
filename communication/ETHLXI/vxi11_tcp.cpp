// The VXI-11 server on TCP: ONC RPC calls in record-marking framing, one
// thread per connection. A read that waits for its reply holds only its own
// connection; other clients go on being served. A connection that breaks or
// sends garbage ends only itself, and a record longer than the largest
// legitimate call is skipped without being kept in memory.
#include "communication/ETHLXI/vxi11_tcp.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_links.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/tcp_listener.h"

namespace {

// A call record: a 1 MiB write and its headers.
const size_t kMaxRecord = size_t(VXI11_MAX_WRITE_CHUNK) + 4096;
// What is kept of a record that is too long: enough for its call header.
const size_t kKeptOfOversized = 512;

enum : u_int {
    kCall = 0,
    kReply = 1,
    kMsgAccepted = 0,
    kMsgDenied = 1,
    kRpcMismatch = 0,
    kSuccess = 0,
    kProgUnavail = 1,
    kProgMismatch = 2,
    kProcUnavail = 3,
    kGarbageArgs = 4,
};

bool recvAll(int fd, char* p, size_t n)
{
    while (n > 0) {
        const ssize_t r = recv(fd, p, n, 0);
        if (r == 0)
            return false;
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += r;
        n -= size_t(r);
    }
    return true;
}

// Reads one record (all its fragments). Returns false when the connection
// ended. oversized tells that the record was longer than kMaxRecord: only
// its beginning is kept.
bool readRecord(int fd, std::vector<char>& rec, bool& oversized)
{
    rec.clear();
    oversized = false;
    char scratch[65536];
    for (;;) {
        uint32_t mark;
        if (!recvAll(fd, reinterpret_cast<char*>(&mark), 4))
            return false;
        mark = ntohl(mark);
        size_t len = mark & 0x7FFFFFFFu;
        const bool last = mark & 0x80000000u;
        while (len > 0) {
            const size_t chunk = len < sizeof scratch ? len : sizeof scratch;
            if (!oversized && rec.size() + chunk > kMaxRecord) {
                oversized = true;
                rec.resize(rec.size() < kKeptOfOversized ? rec.size() : kKeptOfOversized);
                rec.shrink_to_fit();
            }
            if (oversized) {
                if (!recvAll(fd, scratch, chunk))
                    return false;
                if (rec.size() < kKeptOfOversized)
                    rec.insert(rec.end(), scratch,
                               scratch +
                                   (kKeptOfOversized - rec.size() < chunk ? kKeptOfOversized - rec.size() : chunk));
            } else {
                const size_t at = rec.size();
                rec.resize(at + chunk);
                if (!recvAll(fd, rec.data() + at, chunk))
                    return false;
            }
            len -= chunk;
        }
        if (last) {
            tcpQuickAck(fd);
            return true;
        }
    }
}

// Skips an opaque_auth (flavor and body of at most 400 bytes).
bool skipAuth(XDR* x)
{
    u_int flavor = 0, len = 0;
    if (!xdr_u_int(x, &flavor) || !xdr_u_int(x, &len) || len > 400)
        return false;
    return xdr_setpos(x, xdr_getpos(x) + ((len + 3u) & ~3u));
}

// Encodes a reply into out (record mark included) and sends it.
class Reply {
public:
    Reply(u_int xid, size_t resultRoom) : buf_(128 + resultRoom)
    {
        xdrmem_create(&x_, buf_.data() + 4, u_int(buf_.size() - 4), XDR_ENCODE);
        u_int dir = kReply;
        xdr_u_int(&x_, &xid);
        xdr_u_int(&x_, &dir);
    }
    ~Reply() { xdr_destroy(&x_); }
    void accepted(u_int stat)
    {
        u_int v[] = {kMsgAccepted, 0 /* AUTH_NONE */, 0, stat};
        for (u_int& w : v)
            xdr_u_int(&x_, &w);
    }
    void mismatch(u_int low, u_int high)
    {
        xdr_u_int(&x_, &low);
        xdr_u_int(&x_, &high);
    }
    void denied()
    {
        u_int v[] = {kMsgDenied, kRpcMismatch, 2, 2};
        for (u_int& w : v)
            xdr_u_int(&x_, &w);
    }
    bool result(xdrproc_t proc, void* value) { return proc(&x_, value); }
    bool send(int fd)
    {
        const u_int len = xdr_getpos(&x_);
        const uint32_t mark = htonl(0x80000000u | len);
        std::memcpy(buf_.data(), &mark, 4);
        return tcpSendAll(fd, buf_.data(), size_t(len) + 4);
    }

private:
    std::vector<char> buf_;
    XDR x_;
};

// A type carried as a value, to name a procedure's argument and result types.
template <typename T>
struct Tag {
    using type = T;
};

template <typename Args>
bool decodeArgs(XDR* x, xdrproc_t proc, Args& args)
{
    std::memset(&args, 0, sizeof args);
    return proc(x, &args);
}

bool serveCall(int fd, const Vxi11Peer& peer, const std::vector<char>& rec, bool oversized)
{
    XDR x;
    xdrmem_create(&x, const_cast<char*>(rec.data()), u_int(rec.size()), XDR_DECODE);
    u_int xid = 0, dir = 0, rpcvers = 0, prog = 0, vers = 0, proc = 0;
    const bool header = xdr_u_int(&x, &xid) && xdr_u_int(&x, &dir) && dir == kCall && xdr_u_int(&x, &rpcvers) &&
        xdr_u_int(&x, &prog) && xdr_u_int(&x, &vers) && xdr_u_int(&x, &proc) && skipAuth(&x) && skipAuth(&x);
    if (!header) {
        // Not a call this server can answer: the stream is unusable.
        xdr_destroy(&x);
        return false;
    }
    if (rpcvers != 2) {
        Reply r(xid, 0);
        r.denied();
        xdr_destroy(&x);
        return r.send(fd);
    }
    const bool known = prog == DEVICE_CORE || prog == DEVICE_ASYNC || prog == DEVICE_INTR;
    if (!known || vers != 1 || oversized) {
        Reply r(xid, 0);
        if (!known) {
            r.accepted(kProgUnavail);
        } else if (vers != 1) {
            r.accepted(kProgMismatch);
            r.mismatch(1, 1);
        } else {
            // A call longer than the largest write the link accepts.
            r.accepted(kGarbageArgs);
        }
        xdr_destroy(&x);
        return r.send(fd);
    }

    bool ok = true;
    bool argsOk = true;
    // Runs one procedure: decodes Args, lets fn fill the result (returning
    // how many bytes of variable data it carries), frees what decoding
    // allocated and sends the result.
    auto call = [&](auto argsTag, auto resTag, xdrproc_t argProc, xdrproc_t resProc, auto fn) {
        using Args = typename decltype(argsTag)::type;
        using Res = typename decltype(resTag)::type;
        Args a;
        if (!(argsOk = decodeArgs(&x, argProc, a)))
            return;
        Res res;
        std::memset(&res, 0, sizeof res);
        const size_t extra = fn(a, res);
        xdr_free(argProc, reinterpret_cast<char*>(&a));
        Reply r(xid, 16 + extra);
        r.accepted(kSuccess);
        r.result(resProc, &res);
        ok = r.send(fd);
    };
    const auto linkArgs = Tag<Device_Link>();
    const auto genericArgs = Tag<Device_GenericParms>();
    const auto errorRes = Tag<Device_Error>();
    const xdrproc_t linkProc = xdrproc_t(xdr_Device_Link), genericProc = xdrproc_t(xdr_Device_GenericParms),
                    errorProc = xdrproc_t(xdr_Device_Error);

    if (proc == 0) { // NULLPROC
        Reply r(xid, 0);
        r.accepted(kSuccess);
        ok = r.send(fd);
    } else if (prog == DEVICE_ASYNC && proc == 1) { // device_abort
        call(linkArgs, errorRes, linkProc, errorProc, [](Device_Link& lid, Device_Error& e) {
            vxi11_device_abort(lid, e);
            return size_t(0);
        });
    } else if (prog == DEVICE_INTR && proc == 30) { // device_intr_srq: nothing to answer
        Device_SrqParms a;
        if ((argsOk = decodeArgs(&x, xdrproc_t(xdr_Device_SrqParms), a))) {
            xdr_free(xdrproc_t(xdr_Device_SrqParms), reinterpret_cast<char*>(&a));
            Reply r(xid, 0);
            r.accepted(kSuccess);
            ok = r.send(fd);
        }
    } else if (prog != DEVICE_CORE) {
        Reply r(xid, 0);
        r.accepted(kProcUnavail);
        ok = r.send(fd);
    } else {
        std::vector<char> storage; // a read's data, alive until it is sent
        switch (proc) {
        case 10:
            call(Tag<Create_LinkParms>(), Tag<Create_LinkResp>(), xdrproc_t(xdr_Create_LinkParms),
                 xdrproc_t(xdr_Create_LinkResp), [&peer](Create_LinkParms& a, Create_LinkResp& res) {
                     vxi11_create_link(a, res, peer);
                     return size_t(16);
                 });
            break;
        case 11:
            call(Tag<Device_WriteParms>(), Tag<Device_WriteResp>(), xdrproc_t(xdr_Device_WriteParms),
                 xdrproc_t(xdr_Device_WriteResp), [](Device_WriteParms& a, Device_WriteResp& res) {
                     vxi11_device_write(a, res);
                     return size_t(0);
                 });
            break;
        case 12:
            call(Tag<Device_ReadParms>(), Tag<Device_ReadResp>(), xdrproc_t(xdr_Device_ReadParms),
                 xdrproc_t(xdr_Device_ReadResp), [&storage](Device_ReadParms& a, Device_ReadResp& res) {
                     vxi11_device_read(a, res, storage);
                     return storage.size();
                 });
            break;
        case 13:
            call(genericArgs, Tag<Device_ReadStbResp>(), genericProc, xdrproc_t(xdr_Device_ReadStbResp),
                 [](Device_GenericParms& a, Device_ReadStbResp& res) {
                     vxi11_device_readstb(a, res);
                     return size_t(0);
                 });
            break;
        case 15:
            call(genericArgs, errorRes, genericProc, errorProc, [](Device_GenericParms& a, Device_Error& res) {
                vxi11_device_clear(a, res);
                return size_t(0);
            });
            break;
        case 14:
        case 16:
        case 17: // trigger, remote, local
            call(genericArgs, errorRes, genericProc, errorProc, [proc](Device_GenericParms& a, Device_Error& e) {
                vxi11_device_generic(int(proc), a, e);
                return size_t(0);
            });
            break;
        case 18:
            call(Tag<Device_LockParms>(), errorRes, xdrproc_t(xdr_Device_LockParms), errorProc,
                 [](Device_LockParms& a, Device_Error& e) {
                     vxi11_device_lock(a, e);
                     return size_t(0);
                 });
            break;
        case 19:
        case 23: // unlock, destroy_link
            call(linkArgs, errorRes, linkProc, errorProc, [proc](Device_Link& lid, Device_Error& res) {
                if (proc == 23)
                    vxi11_destroy_link(lid, res);
                else
                    vxi11_device_unlock(lid, res);
                return size_t(0);
            });
            break;
        case 20:
            call(Tag<Device_EnableSrqParms>(), errorRes, xdrproc_t(xdr_Device_EnableSrqParms), errorProc,
                 [](Device_EnableSrqParms& a, Device_Error& e) {
                     vxi11_device_enable_srq(a, e);
                     return size_t(0);
                 });
            break;
        case 22:
            call(Tag<Device_DocmdParms>(), Tag<Device_DocmdResp>(), xdrproc_t(xdr_Device_DocmdParms),
                 xdrproc_t(xdr_Device_DocmdResp), [](Device_DocmdParms& a, Device_DocmdResp& res) {
                     res.error = vxi11_check_link(a.lid);
                     return size_t(0);
                 });
            break;
        case 25: // create_intr_chan: this connection's interrupt channel
            call(Tag<Device_RemoteFunc>(), errorRes, xdrproc_t(xdr_Device_RemoteFunc), errorProc,
                 [&peer](Device_RemoteFunc& f, Device_Error& e) {
                     e.error = vxi11_create_intr_chan(peer, f);
                     return size_t(0);
                 });
            break;
        case 26: { // destroy_intr_chan
            Device_Error res;
            res.error = vxi11_destroy_intr_chan(peer);
            Reply r(xid, 16);
            r.accepted(kSuccess);
            r.result(errorProc, &res);
            ok = r.send(fd);
            break;
        }
        default: {
            Reply r(xid, 0);
            r.accepted(kProcUnavail);
            ok = r.send(fd);
            break;
        }
        }
    }
    xdr_destroy(&x);
    if (!argsOk) {
        Reply r(xid, 0);
        r.accepted(kGarbageArgs);
        ok = r.send(fd);
    }
    return ok;
}

void serveConnection(int fd, long conn);
TcpListener g_listener(VXI11_MAX_CONNECTIONS, serveConnection);

void serveConnection(int fd, long conn)
{
    std::vector<char> rec;
    bool oversized = false;
    Vxi11Peer peer;
    peer.conn = conn;
    sockaddr_in a {};
    socklen_t len = sizeof a;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0 && a.sin_family == AF_INET)
        peer.addr = ntohl(a.sin_addr.s_addr);
    // Calls are answered one after the other, in the order they arrived.
    while (readRecord(fd, rec, oversized)) {
        g_listener.touch(conn);
        const bool open = serveCall(fd, peer, rec, oversized);
        g_listener.done(conn);
        if (!open)
            break;
        if (rec.capacity() > 65536)
            std::vector<char>().swap(rec);
    }
    vxi11_drop_connection(peer);
    close(fd);
}

} // namespace

int vxi11_tcp_start()
{
    // A simulated board answers on the loopback interface only, so that a
    // test instrument is never reachable from the network.
    return g_listener.start(0, vxi11_loopback_only());
}

int vxi11_abort_port() { return g_listener.port(); }

int vxi11_tcp_connections() { return g_listener.connections(); }

void vxi11_tcp_stop() { g_listener.stop(); }
