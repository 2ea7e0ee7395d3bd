// VXI-11 links and the core procedures on them.
#include "communication/ETHLXI/vxi11_links.h"
#include <malloc.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/scpi.h"

#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"
#include "communication/ETHLXI/vxi11_server.h"

namespace {

// A large partial message, once freed, is handed back to the system: the
// connection threads allocate from arenas of their own, which would
// otherwise keep the pages.
const size_t kTrimAbove = 4 * 1024 * 1024;

struct Link {
    long lid = 0;
    int session = 0;
    long conn = 0;
    // The message being assembled from chunks, guarded by m.
    std::mutex m;
    char* pbuf = nullptr;
    size_t recv = 0;
    qint64 start_time = 0;
    unsigned long io_timeout = 0;

    void dropPending()
    {
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
long g_nextLid = VXI11_LINK_ID;

std::shared_ptr<Link> findLink(long lid)
{
    std::lock_guard<std::mutex> l(g_linksMutex);
    auto it = g_links.find(lid);
    return it == g_links.end() ? nullptr : it->second;
}

void retire(const std::shared_ptr<Link>& link)
{
    {
        std::lock_guard<std::mutex> l(link->m);
        link->dropPending();
    }
    scpi_session_close(link->session);
    scpi_msg_data_mode_drop(link->session);
}

} // namespace

void vxi11_create_link(const Create_LinkParms& p, Create_LinkResp& r, long conn)
{
    std::memset(&r, 0, sizeof r);
    if (!p.device || std::strcmp(p.device, VXI11_DEVICE_NAME) != 0) {
        r.error = VXI11_ERR_DEVICE_NOT_ACCESSIBLE;
        r.lid = 0;
        return;
    }
    auto link = std::make_shared<Link>();
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
        link->session = scpi_session_open();
        g_links[link->lid] = link;
    }
    r.error = VXI11_ERR_NONE;
    r.lid = link->lid;
    r.abortPort = VXI11_ABORT_PORT;
    r.maxRecvSize = VXI11_MAX_RECV_SIZE;
}

void vxi11_device_write(const Device_WriteParms& p, Device_WriteResp& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = findLink(p.lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    char* msg = nullptr;
    size_t n = 0;
    {
        std::lock_guard<std::mutex> l(link->m);
        const qint64 now = scpi_adpt_clock_ms();
        if (link->pbuf && now - link->start_time > qint64(link->io_timeout)) {
            fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,time out give up data size:%d!\r\n", __func__, __LINE__,
                    int(link->recv));
            link->dropPending();
        }
        const size_t len = p.data.data_len;
        const bool end = p.flags & VXI11_FLAG_END;
        // Room for the chunk, a LF that may be appended, and a NUL. A
        // message longer than the largest legitimate one is refused.
        char* grown = nullptr;
        if (link->recv + len <= size_t(VXI11_MAX_MESSAGE))
            grown = static_cast<char*>(std::realloc(link->pbuf, link->recv + len + 2));
        if (!grown) {
            fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,~scpi lxi error:%ld!\r\n", __func__, __LINE__, long(len));
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
        // END closes the message however many chunks it came in: without a
        // terminator of its own it gets a LF, or the parser would hold it
        // back unexecuted.
        if (!scpi_msg_has_terminator(link->pbuf, link->recv))
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
    const std::shared_ptr<Link> link = findLink(p.lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        r.reason = VXI11_REASON_END;
        return;
    }
    unsigned long timeout = p.io_timeout;
    if (timeout > VXI11_MAX_IO_TIMEOUT_MS)
        timeout = VXI11_MAX_IO_TIMEOUT_MS;
    // Woken as soon as the worker has finished this link's messages.
    const int held = scpi_session_wait_reply(link->session, int(timeout));
    if (held <= 0) {
        r.error = VXI11_ERR_IO_TIMEOUT;
        return;
    }
    const int want = p.requestSize < u_long(held) ? int(p.requestSize) : held;
    try {
        storage.resize(size_t(want > 0 ? want : 1));
    } catch (const std::bad_alloc&) {
        fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,alloc mem error!\r\n", __func__, __LINE__);
        r.error = VXI11_ERR_IO_TIMEOUT;
        return;
    }
    const int n = scpi_session_read(link->session, storage.data(), want);
    r.error = VXI11_ERR_NONE;
    // END only when the whole reply has gone; a client asking for less gets
    // the rest on its next read.
    r.reason = scpi_session_held(link->session) > 0 ? VXI11_REASON_REQCNT : VXI11_REASON_END;
    r.data.data_len = u_int(n);
    r.data.data_val = storage.data();
}

void vxi11_device_readstb(const Device_GenericParms& p, Device_ReadStbResp& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = findLink(p.lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    const bool mav = scpi_session_held(link->session) > 0;
    r.error = VXI11_ERR_NONE;
    r.stb = u_char(SCPI_StatusByte(&scpi_context, mav));
}

void vxi11_device_clear(const Device_GenericParms& p, Device_Error& r)
{
    std::memset(&r, 0, sizeof r);
    const std::shared_ptr<Link> link = findLink(p.lid);
    if (!link) {
        r.error = VXI11_ERR_INVALID_LINK;
        return;
    }
    {
        std::lock_guard<std::mutex> l(link->m);
        link->dropPending();
    }
    scpi_session_clear(link->session);
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

Device_ErrorCode vxi11_check_link(Device_Link lid)
{
    return findLink(lid) ? VXI11_ERR_NONE : VXI11_ERR_INVALID_LINK;
}

void vxi11_drop_connection(long conn)
{
    if (conn == 0)
        return;
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

int vxi11_link_count()
{
    std::lock_guard<std::mutex> l(g_linksMutex);
    return int(g_links.size());
}
