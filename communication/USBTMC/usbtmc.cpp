// USBTMC bulk message handling (USBTMC 1.0 bulk headers, little-endian).
#include "communication/USBTMC/usbtmc.h"
#include <endian.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>
#include "communication/SCPI/scpi_wfile.h"
#include "platform/platformroot.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"
#include "communication/USBTMC/usbtmc_device.h"
#include "communication/remote_stop.h"
#include "platform/logging.h"

namespace {

// Reassembly of a message longer than one read.
struct Reassembly {
    bool multframe = false;
    char* recvbuf = nullptr;
    uint32_t recvsize = 0;  // bytes expected
    uint32_t recvindex = 0; // bytes held
    usbtmc_bulk_header_t header {};
};
Reassembly g_rx;
// The host's session: the replies to its messages, and only those.
int g_session = -1;

int session()
{
    if (g_session < 0)
        g_session = scpi_session_open();
    return g_session;
}

void clearReassembly()
{
    std::free(g_rx.recvbuf);
    g_rx = Reassembly();
}

// Copies the bytes into a buffer of the worker's and delivers it.
void deliverCopy(const char* p, uint32_t n, bool appendLF)
{
    char* msg = static_cast<char*>(std::malloc(size_t(n) + (appendLF ? 1 : 0) + 1));
    if (!msg) {
        ORNAV_LOG_AT(lcUsbtmc).critical("malloc error");
        return;
    }
    if (n)
        std::memcpy(msg, p, n);
    if (appendLF)
        msg[n++] = '\n';
    msg[n] = '\0';
    scpi_session_deliver(session(), msg, int(n));
}

// Hands the assembled buffer itself to the worker.
void deliverAssembled()
{
    char* msg = g_rx.recvbuf;
    const uint32_t n = g_rx.recvindex;
    g_rx.recvbuf = nullptr;
    clearReassembly();
    scpi_session_deliver(session(), msg, int(n));
}

int handleMsgOut(const usbtmc_bulk_header_t& h, const uint8_t* data, int length)
{
    if (h.bTagInverse != uint8_t(h.bTag ^ 0xFF)) {
        ORNAV_LOG_AT(lcUsbtmc).critical("ignoring invalid: %x != %x", unsigned(h.bTagInverse),
                                        unsigned(uint8_t(h.bTag ^ 0xFF)));
        return -1;
    }
    const uint32_t transferSize = le32toh(h.command_specific.dev_dep_msg_out.transferSize);
    const bool eom = h.command_specific.dev_dep_msg_out.bmTransferAttributes & USBTMC_ATTR_EOM;
    const uint32_t present = uint32_t(length - USBTMC_HEADER_SIZE);
    const char* payload = reinterpret_cast<const char*>(data + USBTMC_HEADER_SIZE);

    if (transferSize > present) {
        // The rest of this transfer follows in later reads.
        if (transferSize > USBTMC_MAX_MESSAGE ||
            (g_rx.multframe && uint64_t(g_rx.recvsize) + transferSize > USBTMC_MAX_MESSAGE)) {
            ORNAV_LOG_AT(lcUsbtmc).critical("transfer too large:%u", unsigned(transferSize));
            clearReassembly();
            return -1;
        }
        if (!g_rx.multframe) {
            g_rx.header = h;
            g_rx.recvbuf = static_cast<char*>(std::malloc(size_t(transferSize) + 1));
            if (!g_rx.recvbuf) {
                ORNAV_LOG_AT(lcUsbtmc).critical("malloc error");
                clearReassembly();
                return -1;
            }
            g_rx.recvsize = transferSize;
            g_rx.recvindex = 0;
            g_rx.multframe = true;
        } else {
            // A transfer continuing a message sent without EOM.
            char* grown = static_cast<char*>(std::realloc(g_rx.recvbuf, size_t(g_rx.recvsize) + transferSize + 1));
            if (!grown) {
                clearReassembly();
                ORNAV_LOG_AT(lcUsbtmc).critical("realloc error");
                return -1;
            }
            g_rx.recvbuf = grown;
            g_rx.recvsize += transferSize;
            g_rx.header = h;
        }
        std::memcpy(g_rx.recvbuf + g_rx.recvindex, payload, present);
        g_rx.recvindex += present;
        return 0;
    }

    // The whole transfer is in this read; what follows it is alignment.
    if (!eom) {
        if (scpi_msg_has_terminator(payload, transferSize))
            deliverCopy(payload, transferSize, false);
        return 0;
    }
    if (g_rx.multframe) {
        if (uint64_t(g_rx.recvindex) + transferSize > USBTMC_MAX_MESSAGE) {
            ORNAV_LOG_AT(lcUsbtmc).critical("transfer too large:%u", unsigned(transferSize));
            clearReassembly();
            return -1;
        }
        char* grown = static_cast<char*>(std::realloc(g_rx.recvbuf, size_t(g_rx.recvindex) + transferSize + 1));
        if (!grown) {
            clearReassembly();
            ORNAV_LOG_AT(lcUsbtmc).critical("realloc error");
            return -1;
        }
        g_rx.recvbuf = grown;
        std::memcpy(g_rx.recvbuf + g_rx.recvindex, payload, transferSize);
        g_rx.recvindex += transferSize;
        g_rx.recvbuf[g_rx.recvindex] = '\0';
        deliverAssembled();
        return 0;
    }
    deliverCopy(payload, transferSize, !scpi_msg_has_terminator(payload, transferSize));
    return 0;
}

int handleRequestIn(const usbtmc_bulk_header_t& h)
{
    if (h.bTagInverse != uint8_t(h.bTag ^ 0xFF)) {
        ORNAV_LOG_AT(lcUsbtmc).critical("ignoring invalid: %x != %x", unsigned(h.bTagInverse),
                                        unsigned(uint8_t(h.bTag ^ 0xFF)));
        return -1;
    }
    if (h.command_specific.req_dev_dep_msg_in.bmTransferAttributes & USBTMC_ATTR_TERMCHAR_ENABLED) {
        ORNAV_LOG_AT(lcUsbtmc).critical("FAIL! requested term char!");
        return -1;
    }
    // Wait up to two seconds for the worker to finish this host's messages;
    // the wait ends as soon as the reply is there.
    const int held = scpi_session_wait_reply(session(), USBTMC_REPLY_WAIT_MS);
    if (held <= 0)
        return -1;

    const uint32_t requested = le32toh(h.command_specific.req_dev_dep_msg_in.transferSize);
    const uint32_t size = requested < uint32_t(held) ? requested : uint32_t(held);
    const bool all = size == uint32_t(held);
    const uint32_t padded = (size + 3u) & ~3u;
    // Header, reply bytes and alignment leave in one bulk-in write.
    std::vector<char> frame;
    try {
        frame.assign(USBTMC_HEADER_SIZE + padded, '\0');
    } catch (const std::bad_alloc&) {
        ORNAV_LOG_AT(lcUsbtmc).critical("malloc error");
        return -1;
    }
    usbtmc_bulk_header_t reply;
    std::memset(&reply, 0, sizeof reply);
    reply.MsgID = USBTMC_MSGID_DEV_DEP_MSG_IN;
    reply.bTag = h.bTag;
    reply.bTagInverse = h.bTagInverse;
    reply.command_specific.dev_dep_msg_in.transferSize = htole32(size);
    reply.command_specific.dev_dep_msg_in.bmTransferAttributes = all ? USBTMC_ATTR_EOM : 0;
    std::memcpy(frame.data(), &reply, sizeof reply);
    // Only this thread consumes the host's reply, so the bytes counted above
    // are still there.
    scpi_session_read(session(), frame.data() + USBTMC_HEADER_SIZE, int(size));
    const int ret = usbtmc_dev_write(frame.data(), int(frame.size()));
    if (ret < 0)
        ORNAV_LOG_AT(lcUsbtmc).critical("write error ret:%d !", ret);
    return 1;
}

} // namespace

void USBTMC_Reset_State()
{
    clearReassembly();
    // The host is gone: its partial message, its reply and a data-transfer
    // mode it started go with it; other clients are not touched.
    if (g_session >= 0) {
        scpi_session_clear(g_session);
        scpi_msg_data_mode_drop(g_session);
    }
}

int USBTMC_Session() { return session(); }

int USBTMC_Data_parse(const uint8_t* data, int length)
{
    if (!data || length <= 0)
        return -1;
    if (g_rx.multframe && g_rx.recvindex < g_rx.recvsize) {
        // Payload of a long transfer; bytes past its end are alignment.
        uint32_t n = uint32_t(length);
        if (n > g_rx.recvsize - g_rx.recvindex)
            n = g_rx.recvsize - g_rx.recvindex;
        std::memcpy(g_rx.recvbuf + g_rx.recvindex, data, n);
        g_rx.recvindex += n;
        if (g_rx.recvindex == g_rx.recvsize &&
            (g_rx.header.command_specific.dev_dep_msg_out.bmTransferAttributes & USBTMC_ATTR_EOM)) {
            g_rx.recvbuf[g_rx.recvindex] = '\0';
            deliverAssembled();
        }
        return 0;
    }
    if (length < USBTMC_HEADER_SIZE) {
        ORNAV_LOG_AT(lcUsbtmc).critical("len:%d<12", length);
        return -1;
    }
    usbtmc_bulk_header_t h;
    std::memcpy(&h, data, sizeof h);
    switch (h.MsgID) {
    case USBTMC_MSGID_DEV_DEP_MSG_OUT: return handleMsgOut(h, data, length);
    case USBTMC_MSGID_REQUEST_DEV_DEP_MSG_IN: return handleRequestIn(h);
    case USBTMC_MSGID_VENDOR_SPECIFIC_OUT:
    case USBTMC_MSGID_REQUEST_VENDOR_SPECIFIC_IN: return -1;
    default: return 0;
    }
}

void* usbtmcThread(void*)
{
    static const char kPath[] = "/dev/usbtmc0";
    usbtmc_dev_wait_ready();
    uint8_t* buf = static_cast<uint8_t*>(std::malloc(USBTMC_READ_SIZE));
    if (!buf)
        return nullptr;
    if (!remote_stopping() && usbtmc_dev_open() < 0 && !remote_stopping())
        qCCritical(lcUsb, "Can't Open %s !!! ID:%d.", kPath, -1);
    // Every wait below (device, host, pause) ends when the program ends.
    while (!remote_stopping()) {
        if (!usbtmc_dev_is_open()) {
            remote_stop_sleep_ms(2000);
            usbtmc_dev_open();
            continue;
        }
        const int n = usbtmc_dev_read(buf, USBTMC_READ_SIZE);
        if (remote_stopping())
            break;
        if (n <= 0) {
            qCCritical(lcUsb, "Disconnect from the computer! %d", n);
        } else if (USBTMC_Data_parse(buf, n) >= 0) {
            continue;
        }
        usbtmc_dev_close();
        USBTMC_Reset_State();
        usleep(1000);
        usbtmc_dev_open();
    }
    usbtmc_dev_close();
    clearReassembly();
    std::free(buf);
    return nullptr;
}
