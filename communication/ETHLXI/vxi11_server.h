#pragma once
// VXI-11 network instrument server on ONC RPC: the core, abort and interrupt
// channels registered with the port mapper on UDP and TCP, served by one
// dispatch thread.

// Link identifier of the first link the instrument grants; every further
// link gets the next free one.
enum { VXI11_LINK_ID = 5000 };
#define VXI11_DEVICE_NAME "inst0"
// The receive size create_link announces. Stock clients split a long write
// into chunks of the announced size but set END only on a chunk of at most
// 1 KiB, so a larger announcement leaves their long messages without END.
// Announcing 1 KiB keeps them correct; clients that send larger chunks are
// still served up to VXI11_MAX_WRITE_CHUNK.
enum { VXI11_MAX_RECV_SIZE = 1024, VXI11_MAX_WRITE_CHUNK = 0x100000 };

// Device_ErrorCode values used here.
enum {
    VXI11_ERR_NONE = 0,
    VXI11_ERR_DEVICE_NOT_ACCESSIBLE = 3,
    VXI11_ERR_INVALID_LINK = 4,
    VXI11_ERR_LOCKED = 11,
    VXI11_ERR_NO_LOCK_HELD = 12,
    VXI11_ERR_IO_TIMEOUT = 15,
    VXI11_ERR_ABORT = 23,
};
// Device_Flags bit of a write's last chunk; read reasons.
enum { VXI11_FLAG_WAITLOCK = 1, VXI11_FLAG_END = 8, VXI11_FLAG_TERMCHAR = 128 };
enum { VXI11_REASON_REQCNT = 1, VXI11_REASON_CHR = 2, VXI11_REASON_END = 4 };

// Longest a read waits for a reply, whatever the client asks.
enum { VXI11_MAX_IO_TIMEOUT_MS = 60000 };
// Largest message assembled from write chunks.
enum { VXI11_MAX_MESSAGE = 128 * 1024 * 1024 };

// Serve on the loopback interface only (a simulated board: a test
// instrument must never be reachable from the network). Before vxi11_init.
void vxi11_set_loopback_only(bool on);
bool vxi11_loopback_only();
// Seconds between registration attempts while the port mapper is missing.
enum { VXI11_RETRY_SECONDS = 3 };

// Creates the transports and registers the programs; 0 or -1.
int vxi11_init();
// The VXI-11 thread: waits for an instrument address, then serves for ever.
void* vxi11_srv_run_thread(void*);
