// The VXI-11 procedures as the RPC library's dispatcher calls them (the UDP
// transport, served by one dispatch thread). The work is done by the link
// procedures, shared with the TCP server; the results here are static
// because the library encodes them after the procedure has returned.
#include <arpa/inet.h>
#include <cstring>
#include <vector>
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_links.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/scpi_msg_adpt.h"

namespace {

Device_Error* generic(int proc, Device_GenericParms* p)
{
    static Device_Error r;
    static Device_GenericParms none;
    vxi11_device_generic(proc, p ? *p : none, r);
    return &r;
}

// The calling client: over UDP only its address tells it apart.
Vxi11Peer caller(struct svc_req* rq)
{
    Vxi11Peer peer;
    const netbuf* nb = rq && rq->rq_xprt ? svc_getrpccaller(rq->rq_xprt) : nullptr;
    if (nb && nb->buf && nb->len >= sizeof(sockaddr_in)) {
        sockaddr_in a;
        std::memcpy(&a, nb->buf, sizeof a);
        if (a.sin_family == AF_INET)
            peer.addr = ntohl(a.sin_addr.s_addr);
    }
    return peer;
}

} // namespace

extern "C" {

Create_LinkResp* create_link_1_svc(Create_LinkParms* p, struct svc_req* rq)
{
    static Create_LinkResp r;
    static Create_LinkParms none;
    vxi11_create_link(p ? *p : none, r, caller(rq));
    return &r;
}

Device_WriteResp* device_write_1_svc(Device_WriteParms* p, struct svc_req*)
{
    static Device_WriteResp r;
    std::memset(&r, 0, sizeof r);
    if (!p) {
        r.error = VXI11_ERR_INVALID_LINK;
        return &r;
    }
    vxi11_device_write(*p, r);
    return &r;
}

Device_ReadResp* device_read_1_svc(Device_ReadParms* p, struct svc_req*)
{
    static Device_ReadResp r;
    static std::vector<char> storage;
    std::memset(&r, 0, sizeof r);
    std::vector<char>().swap(storage);
    if (!p) {
        r.error = VXI11_ERR_INVALID_LINK;
        r.reason = VXI11_REASON_END;
        return &r;
    }
    vxi11_device_read(*p, r, storage);
    return &r;
}

Device_ReadStbResp* device_readstb_1_svc(Device_GenericParms* p, struct svc_req*)
{
    static Device_ReadStbResp r;
    std::memset(&r, 0, sizeof r);
    if (!p) {
        r.error = VXI11_ERR_INVALID_LINK;
        return &r;
    }
    vxi11_device_readstb(*p, r);
    return &r;
}

Device_Error* device_clear_1_svc(Device_GenericParms* p, struct svc_req*)
{
    static Device_Error r;
    r.error = VXI11_ERR_INVALID_LINK;
    if (p)
        vxi11_device_clear(*p, r);
    return &r;
}

Device_Error* destroy_link_1_svc(Device_Link* lid, struct svc_req*)
{
    static Device_Error r;
    r.error = VXI11_ERR_INVALID_LINK;
    if (lid)
        vxi11_destroy_link(*lid, r);
    return &r;
}

Device_Error* device_abort_1_svc(Device_Link* lid, struct svc_req*)
{
    static Device_Error r;
    vxi11_device_abort(lid ? *lid : 0, r);
    return &r;
}

Device_Error* device_trigger_1_svc(Device_GenericParms* p, struct svc_req*) { return generic(VXI11_PROC_TRIGGER, p); }
Device_Error* device_remote_1_svc(Device_GenericParms* p, struct svc_req*) { return generic(VXI11_PROC_REMOTE, p); }
Device_Error* device_local_1_svc(Device_GenericParms* p, struct svc_req*) { return generic(VXI11_PROC_LOCAL, p); }

Device_Error* device_lock_1_svc(Device_LockParms* p, struct svc_req*)
{
    static Device_Error r;
    static Device_LockParms none;
    vxi11_device_lock(p ? *p : none, r);
    return &r;
}

Device_Error* device_unlock_1_svc(Device_Link* lid, struct svc_req*)
{
    static Device_Error r;
    vxi11_device_unlock(lid ? *lid : 0, r);
    return &r;
}
Device_Error* device_enable_srq_1_svc(Device_EnableSrqParms* p, struct svc_req*)
{
    static Device_Error r;
    static Device_EnableSrqParms none;
    vxi11_device_enable_srq(p ? *p : none, r);
    return &r;
}

Device_DocmdResp* device_docmd_1_svc(Device_DocmdParms* p, struct svc_req*)
{
    static Device_DocmdResp r;
    std::memset(&r, 0, sizeof r);
    r.error = vxi11_check_link(p ? p->lid : 0);
    return &r;
}

Device_Error* create_intr_chan_1_svc(Device_RemoteFunc* f, struct svc_req* rq)
{
    static Device_Error r;
    r.error = f ? vxi11_create_intr_chan(caller(rq), *f) : Device_ErrorCode(VXI11_ERR_NOT_SUPPORTED);
    return &r;
}

Device_Error* destroy_intr_chan_1_svc(void*, struct svc_req* rq)
{
    static Device_Error r;
    r.error = vxi11_destroy_intr_chan(caller(rq));
    return &r;
}

void* device_intr_srq_1_svc(Device_SrqParms*, struct svc_req*)
{
    static char done;
    return &done;
}

} // extern "C"
