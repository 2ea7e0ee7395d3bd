#include "communication/ETHLXI/vxi11_client.h"
#include <cstring>
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_server.h"

Vxi11Client::~Vxi11Client()
{
    close();
}

bool Vxi11Client::open(const QString& host, const char* proto)
{
    close();
    clnt_ = clnt_create(host.toLatin1().constData(), DEVICE_CORE, DEVICE_CORE_VERSION, proto);
    if (!clnt_)
        return false;
    // Longer than any io_timeout a caller passes.
    timeval tv{70, 0};
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
    Create_LinkResp* r = create_link_1(&p, clnt_);
    if (!r)
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
    Device_WriteResp* r = device_write_1(&p, clnt_);
    if (!r)
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
    Device_ReadResp* r = device_read_1(&p, clnt_);
    if (!r)
        return res;
    res.rpcOk = true;
    res.error = r->error;
    res.reason = r->reason;
    res.data = QByteArray(r->data.data_val, int(r->data.data_len));
    xdr_free(reinterpret_cast<xdrproc_t>(xdr_Device_ReadResp), reinterpret_cast<char*>(r));
    return res;
}

Vxi11Client::Result Vxi11Client::clear(long lid)
{
    Result res;
    if (!clnt_)
        return res;
    Device_GenericParms p;
    std::memset(&p, 0, sizeof p);
    p.lid = lid;
    Device_Error* r = device_clear_1(&p, clnt_);
    if (r) {
        res.rpcOk = true;
        res.error = r->error;
    }
    return res;
}

Vxi11Client::Result Vxi11Client::destroyLink(long lid)
{
    Result res;
    if (!clnt_)
        return res;
    Device_Link l = lid;
    Device_Error* r = destroy_link_1(&l, clnt_);
    if (r) {
        res.rpcOk = true;
        res.error = r->error;
    }
    return res;
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
