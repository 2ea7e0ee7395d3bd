// USBTMC bulk message handling (USBTMC 1.0 bulk headers, little-endian).
#include "communication/USBTMC/usbtmc.h"
#include <endian.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "communication/SCPI/scpi_wfile.h"
#include "platform/platformroot.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/USBTMC/usbtmc_device.h"

namespace {

// Reassembly of a message longer than one read.
struct Reassembly {
    bool multframe = false;
    char* recvbuf = nullptr;
    uint32_t recvsize = 0;   // bytes expected
    uint32_t recvindex = 0;  // bytes held
    usbtmc_bulk_header_t header{};
};
Reassembly g_rx;

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
        fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,malloc error\r\n\r\n", __func__, __LINE__);
        return;
    }
    if (n)
        std::memcpy(msg, p, n);
    if (appendLF)
        msg[n++] = '\n';
    msg[n] = '\0';
    scpi_msg_cmd_write(msg, int(n));
}

// Hands the assembled buffer itself to the worker.
void deliverAssembled()
{
    char* msg = g_rx.recvbuf;
    const uint32_t n = g_rx.recvindex;
    g_rx.recvbuf = nullptr;
    clearReassembly();
    scpi_msg_cmd_write(msg, int(n));
}

int handleMsgOut(const usbtmc_bulk_header_t& h, const uint8_t* data, int length)
{
    if (h.bTagInverse != uint8_t(h.bTag ^ 0xFF)) {
        fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,ignoring invalid: %x != %x \r\n", __func__, __LINE__,
                unsigned(h.bTagInverse), unsigned(uint8_t(h.bTag ^ 0xFF)));
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
            fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,transfer too large:%u\r\n", __func__, __LINE__,
                    unsigned(transferSize));
            clearReassembly();
            return -1;
        }
        if (!g_rx.multframe) {
            g_rx.header = h;
            g_rx.recvbuf = static_cast<char*>(std::malloc(size_t(transferSize) + 1));
            if (!g_rx.recvbuf) {
                fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,malloc error\r\n\r\n", __func__, __LINE__);
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
                fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,realloc error\r\n\r\n", __func__, __LINE__);
                return -1;
            }
            g_rx.recvbuf = grown;
            g_rx.recvsize += transferSize;
            g_rx.header = h;
        }
        std::memcpy(g_rx.recvbuf + g_rx.recvindex, payload, present);
        g_rx.recvindex += present;
        scpi_wait_idle(1000);
        return 0;
    }

    // The whole transfer is in this read; what follows it is alignment.
    if (!eom) {
        if (scpi_msg_has_terminator(payload, transferSize))
            deliverCopy(payload, transferSize, false);
        return 0;
    }
    if (g_rx.multframe) {
        char* grown = static_cast<char*>(std::realloc(g_rx.recvbuf, size_t(g_rx.recvindex) + transferSize + 1));
        if (!grown) {
            clearReassembly();
            fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,realloc error\r\n\r\n", __func__, __LINE__);
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
        fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,ignoring invalid: %x != %x \r\n", __func__, __LINE__,
                unsigned(h.bTagInverse), unsigned(uint8_t(h.bTag ^ 0xFF)));
        return -1;
    }
    if (h.command_specific.req_dev_dep_msg_in.bmTransferAttributes & USBTMC_ATTR_TERMCHAR_ENABLED) {
        fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,FAIL! requested term char!\r\n\r\n", __func__, __LINE__);
        return -1;
    }
    // Wait up to two seconds for the worker to finish the last message.
    scpi_wait_idle(2000);

    const uint32_t requested = le32toh(h.command_specific.req_dev_dep_msg_in.transferSize);
    char* p = scpi_msg_tx_read_start();
    const int held = scpi_msg_tx_held_locked();
    if (held <= 0) {
        scpi_msg_tx_read_end(0);
        return -1;
    }
    const uint32_t size = requested < uint32_t(held) ? requested : uint32_t(held);
    const bool all = size == uint32_t(held);
    usbtmc_bulk_header_t reply;
    std::memset(&reply, 0, sizeof reply);
    reply.MsgID = USBTMC_MSGID_DEV_DEP_MSG_IN;
    reply.bTag = h.bTag;
    reply.bTagInverse = h.bTagInverse;
    reply.command_specific.dev_dep_msg_in.transferSize = htole32(size);
    reply.command_specific.dev_dep_msg_in.bmTransferAttributes = all ? USBTMC_ATTR_EOM : 0;
    char* frame = p - USBTMC_HEADER_SIZE;
    std::memcpy(frame, &reply, sizeof reply);
    const uint32_t padded = (size + 3u) & ~3u;
    if (all)
        std::memset(p + size, 0, padded - size);  // free space after the reply
    const int ret = usbtmc_dev_write(frame, int(USBTMC_HEADER_SIZE + padded));
    if (ret < 0) {
        fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,write error ret:%d !\r\n\r\n", __func__, __LINE__, ret);
        scpi_msg_tx_read_end(0);
        return 1;
    }
    scpi_msg_tx_read_end(int(size));
    return 1;
}

} // namespace

void USBTMC_Reset_State()
{
    clearReassembly();
    scpi_wfile_reset();
}

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
        fprintf(stderr, "[usbtmc-ERRO] f:%s,l:%d,len:%d<12\n\r\n", __func__, __LINE__, length);
        return -1;
    }
    usbtmc_bulk_header_t h;
    std::memcpy(&h, data, sizeof h);
    switch (h.MsgID) {
    case USBTMC_MSGID_DEV_DEP_MSG_OUT:
        return handleMsgOut(h, data, length);
    case USBTMC_MSGID_REQUEST_DEV_DEP_MSG_IN:
        return handleRequestIn(h);
    case USBTMC_MSGID_VENDOR_SPECIFIC_OUT:
    case USBTMC_MSGID_REQUEST_VENDOR_SPECIFIC_IN:
        return -1;
    default:
        return 0;
    }
}

void* usbtmcThread(void*)
{
    static const char kPath[] = "/dev/usbtmc0";
    usbtmc_dev_wait_ready();
    uint8_t* buf = static_cast<uint8_t*>(std::malloc(USBTMC_READ_SIZE));
    if (!buf)
        return nullptr;
    if (usbtmc_dev_open() < 0)
        fprintf(stderr, "[usb-ERRO]:Can't Open %s !!! ID:%d.\n\r", kPath, -1);
    for (;;) {
        if (!usbtmc_dev_is_open()) {
            sleep(2);
            usbtmc_dev_open();
            continue;
        }
        const int n = usbtmc_dev_read(buf, USBTMC_READ_SIZE);
        if (n <= 0) {
            fprintf(stderr, "[usb-ERRO]:Disconnect from the computer! %d\r\n", n);
        } else if (USBTMC_Data_parse(buf, n) >= 0) {
            continue;
        }
        usbtmc_dev_close();
        USBTMC_Reset_State();
        usleep(1000);
        usbtmc_dev_open();
    }
}
