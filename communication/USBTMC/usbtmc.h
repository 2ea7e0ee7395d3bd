#pragma once
// USBTMC device side: bulk-out messages from the host are reassembled and
// delivered to the SCPI worker; bulk-in requests are answered from the
// response buffer.
#include <cstdint>

enum {
    USBTMC_HEADER_SIZE = 12,
    USBTMC_READ_SIZE = 512,
    USBTMC_MSGID_DEV_DEP_MSG_OUT = 1,
    USBTMC_MSGID_REQUEST_DEV_DEP_MSG_IN = 2,
    USBTMC_MSGID_DEV_DEP_MSG_IN = 2,
    USBTMC_MSGID_VENDOR_SPECIFIC_OUT = 126,
    USBTMC_MSGID_REQUEST_VENDOR_SPECIFIC_IN = 127,
    USBTMC_ATTR_EOM = 0x01,
    USBTMC_ATTR_TERMCHAR_ENABLED = 0x02,
    // Long messages shorter than this arrive in one read.
    USBTMC_LONG_MESSAGE = 65,
};

// Largest message the device assembles. The host announces the size up front;
// a larger announcement is refused rather than allocated.
enum { USBTMC_MAX_MESSAGE = 128 * 1024 * 1024 };

#pragma pack(push, 1)
struct usbtmc_bulk_header_t {
    uint8_t MsgID;
    uint8_t bTag;
    uint8_t bTagInverse;
    uint8_t reserved;
    union {
        struct {
            uint32_t transferSize;
            uint8_t bmTransferAttributes;
            uint8_t reserved[3];
        } dev_dep_msg_out, dev_dep_msg_in;
        struct {
            uint32_t transferSize;
            uint8_t bmTransferAttributes;
            uint8_t TermChar;
            uint8_t reserved[2];
        } req_dev_dep_msg_in;
        struct {
            uint32_t transferSize;
            uint8_t reserved[4];
        } vendor_specific_out, req_vendor_specific_in, vendor_specific_in;
    } command_specific;
};
#pragma pack(pop)
static_assert(sizeof(usbtmc_bulk_header_t) == USBTMC_HEADER_SIZE, "USBTMC bulk header is 12 bytes");

// Handles one read from the bulk-out endpoint: 0 handled, 1 reply sent,
// negative on a protocol fault (the device is then reopened).
int USBTMC_Data_parse(const uint8_t* data, int length);
// How long a read request waits for the reply to the host's message.
enum { USBTMC_REPLY_WAIT_MS = 2000 };

// Drops a message being assembled, the host's uncollected reply and a
// data-transfer mode the host started.
void USBTMC_Reset_State();
// The remote session of the USB host.
int USBTMC_Session();
// The USBTMC thread.
void* usbtmcThread(void*);
