#include "communication/ETHLXI/vxi11_client.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstring>
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_server.h"

// Calls go through clnt_call with results on the caller's stack, so that
// clients in several threads (one CLIENT each) never share a result.
template <typename A, typename R>
static bool call(CLIENT* c, u_long proc, xdrproc_t xa, A* a, xdrproc_t xr, R* r)
{
    std::memset(r, 0, sizeof *r);
    timeval tv {70, 0};
    return clnt_call(c, proc, xa, reinterpret_cast<char*>(a), xr, reinterpret_cast<char*>(r), tv) == RPC_SUCCESS;
}

Vxi11Client::~Vxi11Client() { close(); }

bool Vxi11Client::open(const QString& host, const char* proto)
{
    close();
    clnt_ = clnt_create(host.toLatin1().constData(), DEVICE_CORE, DEVICE_CORE_VERSION, proto);
    if (!clnt_)
        return false;
    // Longer than any io_timeout a caller passes.
    timeval tv {70, 0};
    clnt_control(clnt_, CLSET_TIMEOUT, reinterpret_cast<char*>(&tv));
    return true;
}

bool Vxi11Client::openFrom(const QString& host, unsigned port, const QString& from)
{
    close();
    sockaddr_in to {}, me {};
    to.sin_family = me.sin_family = AF_INET;
    to.sin_port = htons(u_short(port));
    if (inet_pton(AF_INET, host.toLatin1().constData(), &to.sin_addr) != 1 ||
        inet_pton(AF_INET, from.toLatin1().constData(), &me.sin_addr) != 1)
        return false;
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock < 0)
        return false;
    if (bind(sock, reinterpret_cast<sockaddr*>(&me), sizeof me) != 0 ||
        ::connect(sock, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(sock);
        return false;
    }
    clnt_ = clnttcp_create(&to, DEVICE_CORE, DEVICE_CORE_VERSION, &sock, 0, 0);
    if (!clnt_) {
        ::close(sock);
        return false;
    }
    // The client owns the socket from now on.
    clnt_control(clnt_, CLSET_FD_CLOSE, nullptr);
    timeval tv {70, 0};
    clnt_control(clnt_, CLSET_TIMEOUT, reinterpret_cast<char*>(&tv));
    return true;
}

void Vxi11Client::close()
{
    if (clnt_)
        clnt_destroy(clnt_);
    clnt_ = nullptr;
}

Vxi11Client::Link Vxi11Client::createLink(const char* device)
{
    Link l;
    if (!clnt_)
        return l;
    Create_LinkParms p;
    std::memset(&p, 0, sizeof p);
    p.clientId = 1;
    p.device = const_cast<char*>(device);
    Create_LinkResp res;
    Create_LinkResp* r = &res;
    if (!call(clnt_, create_link, xdrproc_t(xdr_Create_LinkParms), &p, xdrproc_t(xdr_Create_LinkResp), r))
        return l;
    l.rpcOk = true;
    l.error = r->error;
    l.lid = r->lid;
    l.abortPort = r->abortPort;
    l.maxRecvSize = r->maxRecvSize;
    return l;
}

Vxi11Client::Result Vxi11Client::write(long lid, const QByteArray& data, bool end, unsigned long ioTimeoutMs)
{
    Result res;
    if (!clnt_)
        return res;
    Device_WriteParms p;
    std::memset(&p, 0, sizeof p);
    p.lid = lid;
    p.io_timeout = ioTimeoutMs;
    p.flags = end ? VXI11_FLAG_END : 0;
    p.data.data_len = u_int(data.size());
    p.data.data_val = const_cast<char*>(data.constData());
    Device_WriteResp wr;
    Device_WriteResp* r = &wr;
    if (!call(clnt_, device_write, xdrproc_t(xdr_Device_WriteParms), &p, xdrproc_t(xdr_Device_WriteResp), r))
        return res;
    res.rpcOk = true;
    res.error = r->error;
    res.size = r->size;
    return res;
}

Vxi11Client::Result Vxi11Client::read(long lid, unsigned long requestSize, unsigned long ioTimeoutMs)
{
    Result res;
    if (!clnt_)
        return res;
    Device_ReadParms p;
    std::memset(&p, 0, sizeof p);
    p.lid = lid;
    p.requestSize = requestSize;
    p.io_timeout = ioTimeoutMs;
    // Decoding allocates the data only where the pointer starts out null.
    Device_ReadResp rr;
    std::memset(&rr, 0, sizeof rr);
    Device_ReadResp* r = &rr;
    if (!call(clnt_, device_read, xdrproc_t(xdr_Device_ReadParms), &p, xdrproc_t(xdr_Device_ReadResp), r))
        return res;
    res.rpcOk = true;
    res.error = r->error;
    res.reason = r->reason;
    res.data = QByteArray(r->data.data_val, int(r->data.data_len));
    xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp), reinterpret_cast<char*>(r));
    return res;
}

// Arguments of type P that name only the link.
template <typename P>
static P linkParms(long lid)
{
    P p;
    std::memset(&p, 0, sizeof p);
    p.lid = lid;
    return p;
}

// A call answered by a Device_Error: its error code, or -1 when the call
// itself failed.
template <typename P>
static long errorCall(CLIENT* c, u_long proc, xdrproc_t argProc, P* p)
{
    Device_Error e;
    return c && call(c, proc, argProc, p, xdrproc_t(xdr_Device_Error), &e) ? long(e.error) : -1;
}

static Vxi11Client::Result errorResult(long error)
{
    Vxi11Client::Result res;
    res.rpcOk = error >= 0;
    if (res.rpcOk)
        res.error = error;
    return res;
}

Vxi11Client::Result Vxi11Client::clear(long lid)
{
    auto p = linkParms<Device_GenericParms>(lid);
    return errorResult(errorCall(clnt_, device_clear, xdrproc_t(xdr_Device_GenericParms), &p));
}

Vxi11Client::Result Vxi11Client::destroyLink(long lid)
{
    Device_Link l = lid;
    return errorResult(errorCall(clnt_, destroy_link, xdrproc_t(xdr_Device_Link), &l));
}

Vxi11Client::Result Vxi11Client::readStb(long lid)
{
    Result res;
    if (!clnt_)
        return res;
    auto p = linkParms<Device_GenericParms>(lid);
    Device_ReadStbResp r;
    if (call(clnt_, device_readstb, xdrproc_t(xdr_Device_GenericParms), &p, xdrproc_t(xdr_Device_ReadStbResp), &r)) {
        res.rpcOk = true;
        res.error = r.error;
        res.stb = r.stb;
    }
    return res;
}

long Vxi11Client::linkCall(int proc, long lid)
{
    if (!clnt_)
        return -1;
    switch (proc) {
    case device_trigger:
    case device_remote:
    case device_local: {
        auto p = linkParms<Device_GenericParms>(lid);
        return errorCall(clnt_, u_long(proc), xdrproc_t(xdr_Device_GenericParms), &p);
    }
    case device_lock: {
        auto p = linkParms<Device_LockParms>(lid);
        return errorCall(clnt_, u_long(proc), xdrproc_t(xdr_Device_LockParms), &p);
    }
    case device_unlock: {
        Device_Link l = lid;
        return errorCall(clnt_, u_long(proc), xdrproc_t(xdr_Device_Link), &l);
    }
    case device_enable_srq: {
        auto p = linkParms<Device_EnableSrqParms>(lid);
        return errorCall(clnt_, u_long(proc), xdrproc_t(xdr_Device_EnableSrqParms), &p);
    }
    case device_docmd: {
        auto p = linkParms<Device_DocmdParms>(lid);
        Device_DocmdResp r;
        std::memset(&r, 0, sizeof r);
        if (!call(clnt_, u_long(proc), xdrproc_t(xdr_Device_DocmdParms), &p, xdrproc_t(xdr_Device_DocmdResp), &r))
            return -1;
        const long error = long(r.error);
        xdr_free(xdrproc_t(xdr_Device_DocmdResp), reinterpret_cast<char*>(&r));
        return error;
    }
    default: return -1;
    }
}

long Vxi11Client::createIntrChan(unsigned long hostAddr, unsigned port, const char* proto)
{
    Device_RemoteFunc f;
    std::memset(&f, 0, sizeof f);
    f.hostAddr = hostAddr;
    f.hostPort = u_short(port);
    f.progNum = DEVICE_INTR;
    f.progVers = DEVICE_INTR_VERSION;
    f.progFamily = std::strcmp(proto, "udp") == 0 ? DEVICE_UDP : DEVICE_TCP;
    return errorCall(clnt_, u_long(create_intr_chan), xdrproc_t(xdr_Device_RemoteFunc), &f);
}

long Vxi11Client::destroyIntrChan()
{
    Device_Error e;
    return clnt_ &&
            call(clnt_, destroy_intr_chan, reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(xdr_void)),
                 static_cast<char*>(nullptr), xdrproc_t(xdr_Device_Error), &e)
        ? long(e.error)
        : -1;
}

long Vxi11Client::enableSrq(long lid, bool on, const QByteArray& handle)
{
    auto p = linkParms<Device_EnableSrqParms>(lid);
    p.enable = on;
    p.handle.handle_len = u_int(handle.size());
    p.handle.handle_val = const_cast<char*>(handle.constData());
    return errorCall(clnt_, u_long(device_enable_srq), xdrproc_t(xdr_Device_EnableSrqParms), &p);
}

long Vxi11Client::lock(long lid, bool wait, unsigned long lockTimeoutMs)
{
    if (!clnt_)
        return -1;
    Device_LockParms p;
    std::memset(&p, 0, sizeof p);
    p.lid = lid;
    p.flags = wait ? VXI11_FLAG_WAITLOCK : 0;
    p.lock_timeout = lockTimeoutMs;
    return errorCall(clnt_, u_long(device_lock), xdrproc_t(xdr_Device_LockParms), &p);
}

long Vxi11Client::abort(const QString& host, unsigned port, long lid)
{
    sockaddr_in addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    addr.sin_port = htons(u_short(port));
    if (inet_pton(AF_INET, host.toLatin1().constData(), &addr.sin_addr) != 1)
        return -1;
    int sock = RPC_ANYSOCK;
    CLIENT* c = clnttcp_create(&addr, DEVICE_ASYNC, DEVICE_ASYNC_VERSION, &sock, 0, 0);
    if (!c)
        return -1;
    Device_Link l = lid;
    const long error = errorCall(c, u_long(device_abort), xdrproc_t(xdr_Device_Link), &l);
    clnt_destroy(c);
    return error;
}

QByteArray Vxi11Client::query(long lid, const QByteArray& message, bool* ok, unsigned long ioTimeoutMs)
{
    QByteArray out;
    bool good = write(lid, message, true, ioTimeoutMs).error == 0;
    while (good) {
        const Result r = read(lid, 1 << 20, ioTimeoutMs);
        if (!r.rpcOk || r.error != 0) {
            good = false;
            break;
        }
        out += r.data;
        if (r.reason & VXI11_REASON_END)
            break;
    }
    if (ok)
        *ok = good;
    return out;
}
