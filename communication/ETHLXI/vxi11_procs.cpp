// The VXI-11 procedures of the instrument. One dispatch thread runs them,
// one request at a time, so the link state needs no lock.
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "communication/scpi_msg_adpt.h"
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_server.h"

namespace {

// Write side: the message being assembled from chunks.
struct PendingWrite {
    char* pbuf = nullptr;
    size_t recv = 0;
    qint64 start_time = 0;
    unsigned long io_timeout = 0;
};
PendingWrite g_write;

// Read side: the bytes of the last reply, kept until the next read because
// the RPC layer encodes them after the procedure has returned.
char* g_readBuf = nullptr;

void dropPending()
{
    std::free(g_write.pbuf);
    g_write = PendingWrite();
}

template <typename T> T* zeroed()
{
    static T r;
    std::memset(&r, 0, sizeof r);
    return &r;
}

} // namespace

extern "C" {

Create_LinkResp* create_link_1_svc(Create_LinkParms* p, struct svc_req*)
{
    static Create_LinkResp r;
    std::memset(&r, 0, sizeof r);
    if (p && p->device && std::strcmp(p->device, VXI11_DEVICE_NAME) == 0) {
        r.error = VXI11_ERR_NONE;
        r.lid = VXI11_LINK_ID;
        r.abortPort = VXI11_ABORT_PORT;
        r.maxRecvSize = VXI11_MAX_RECV_SIZE;
    } else {
        r.error = VXI11_ERR_DEVICE_NOT_ACCESSIBLE;
        r.lid = 0;
    }
    return &r;
}

Device_WriteResp* device_write_1_svc(Device_WriteParms* p, struct svc_req*)
{
    static Device_WriteResp r;
    std::memset(&r, 0, sizeof r);
    if (!p || p->lid != VXI11_LINK_ID) {
        r.error = VXI11_ERR_INVALID_LINK;
        return &r;
    }
    const qint64 now = scpi_adpt_clock_ms();
    bool discarded = false;
    if (g_write.pbuf && now - g_write.start_time > qint64(g_write.io_timeout)) {
        fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,time out give up data size:%d!\r\n", __func__, __LINE__,
                int(g_write.recv));
        dropPending();
        discarded = true;
    }
    const bool first = g_write.pbuf == nullptr;
    const size_t len = p->data.data_len;
    const bool end = p->flags & VXI11_FLAG_END;
    // Room for the chunk, a LF that may be appended, and a NUL.
    char* grown = nullptr;
    if (g_write.recv + len <= VXI11_MAX_MESSAGE)
        grown = static_cast<char*>(std::realloc(g_write.pbuf, g_write.recv + len + 2));
    if (!grown) {
        fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,~scpi lxi error:%ld!\r\n", __func__, __LINE__, long(len));
        dropPending();
        r.error = VXI11_ERR_ABORT;
        return &r;
    }
    g_write.pbuf = grown;
    if (len)
        std::memcpy(g_write.pbuf + g_write.recv, p->data.data_val, len);
    g_write.recv += len;
    r.size = u_long(len);
    if (!end) {
        g_write.start_time = now;
        g_write.io_timeout = p->io_timeout;
        return &r;
    }
    if ((first || discarded) && !scpi_msg_has_terminator(g_write.pbuf, g_write.recv))
        g_write.pbuf[g_write.recv++] = '\n';
    g_write.pbuf[g_write.recv] = '\0';
    char* msg = g_write.pbuf;
    const size_t n = g_write.recv;
    g_write = PendingWrite();
    scpi_msg_cmd_write(msg, int(n));
    return &r;
}

Device_ReadResp* device_read_1_svc(Device_ReadParms* p, struct svc_req*)
{
    static Device_ReadResp r;
    std::memset(&r, 0, sizeof r);
    std::free(g_readBuf);
    g_readBuf = nullptr;
    if (!p || p->lid != VXI11_LINK_ID) {
        r.error = VXI11_ERR_INVALID_LINK;
        r.reason = VXI11_REASON_END;
        return &r;
    }
    unsigned long timeout = p->io_timeout;
    if (timeout > VXI11_MAX_IO_TIMEOUT_MS)
        timeout = VXI11_MAX_IO_TIMEOUT_MS;
    // A reply is complete once the worker has finished the message; taking
    // bytes earlier would split a reply the handler writes in pieces.
    int held = 0;
    for (unsigned long i = 0;; ++i) {
        held = scpi_msg_reponse_avail_len();
        if (held > 0 && !scpi_muti_write_busy())
            break;
        if (i >= timeout)
            break;
        usleep(1000);
    }
    if (held <= 0) {
        r.error = VXI11_ERR_IO_TIMEOUT;
        return &r;
    }
    const int want = p->requestSize < u_long(held) ? int(p->requestSize) : held;
    g_readBuf = static_cast<char*>(std::malloc(size_t(want > 0 ? want : 1)));
    if (!g_readBuf) {
        fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,alloc mem error!\r\n", __func__, __LINE__);
        r.error = VXI11_ERR_IO_TIMEOUT;
        return &r;
    }
    const int n = scpi_msg_tx_read(g_readBuf, want);
    r.error = VXI11_ERR_NONE;
    // END only when the whole reply has gone; a client asking for less gets
    // the rest on its next read.
    r.reason = scpi_msg_reponse_avail_len() > 0 ? VXI11_REASON_REQCNT : VXI11_REASON_END;
    r.data.data_len = u_int(n);
    r.data.data_val = g_readBuf;
    return &r;
}

Device_Error* device_clear_1_svc(Device_GenericParms*, struct svc_req*)
{
    scpi_msg_reponse_buf_clear();
    return zeroed<Device_Error>();
}

Device_Error* device_abort_1_svc(Device_Link*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_ReadStbResp* device_readstb_1_svc(Device_GenericParms*, struct svc_req*) { return zeroed<Device_ReadStbResp>(); }
Device_Error* device_trigger_1_svc(Device_GenericParms*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* device_remote_1_svc(Device_GenericParms*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* device_local_1_svc(Device_GenericParms*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* device_lock_1_svc(Device_LockParms*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* device_unlock_1_svc(Device_Link*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* device_enable_srq_1_svc(Device_EnableSrqParms*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_DocmdResp* device_docmd_1_svc(Device_DocmdParms*, struct svc_req*) { return zeroed<Device_DocmdResp>(); }
Device_Error* destroy_link_1_svc(Device_Link*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* create_intr_chan_1_svc(Device_RemoteFunc*, struct svc_req*) { return zeroed<Device_Error>(); }
Device_Error* destroy_intr_chan_1_svc(void*, struct svc_req*) { return zeroed<Device_Error>(); }

void* device_intr_srq_1_svc(Device_SrqParms*, struct svc_req*)
{
    static char done;
    return &done;
}

} // extern "C"
