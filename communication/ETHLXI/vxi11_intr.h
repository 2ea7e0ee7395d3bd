#pragma once
// The VXI-11 interrupt channel: the connection from the instrument back to a
// controller's RPC server of the interrupt program, over which a service
// request reaches the controller as device_intr_srq. A controller creates one
// channel per core channel (create_intr_chan, destroy_intr_chan) and enables
// the request per link (device_enable_srq, with a handle that comes back in
// the call).
#include <cstdint>
#include <string>
#include "vxi11/vxi11.h"

// Error codes of the channel procedures.
enum { VXI11_ERR_NOT_SUPPORTED = 8, VXI11_ERR_NO_CHANNEL = 6, VXI11_ERR_CHANNEL_EXISTS = 29 };

// A core channel: its TCP connection (0 for UDP) and the client's IPv4
// address in host order. Over UDP the address tells clients apart.
struct Vxi11Peer {
    long conn = 0;
    uint32_t addr = 0;
    bool operator<(const Vxi11Peer& o) const { return conn != o.conn ? conn < o.conn : addr < o.addr; }
};

Device_ErrorCode vxi11_create_intr_chan(const Vxi11Peer& peer, const Device_RemoteFunc& f);
Device_ErrorCode vxi11_destroy_intr_chan(const Vxi11Peer& peer);
// The core channel closed: its interrupt channel goes too.
void vxi11_drop_intr_chan(const Vxi11Peer& peer);
// Queues device_intr_srq with handle on the peer's channel, if it has one.
// Never blocks: each channel sends from a thread of its own, so a controller
// that has gone away delays only its own calls.
void vxi11_intr_post(const Vxi11Peer& peer, const std::string& handle);
// Installs the interpreter's service-request hook (once; idempotent).
void vxi11_srq_install();
