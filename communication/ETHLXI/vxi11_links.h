#pragma once
// The VXI-11 links of the instrument and the core procedures on them,
// independent of the RPC transport that carried the call. Every link has an
// id of its own, a session of its own (its replies) and its own partial
// message; the procedures are safe to run from several threads at once.
#include <vector>
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_intr.h"

// Links at most open at once; a further create_link gets "out of resources".
enum { VXI11_MAX_LINKS = 128 };
enum { VXI11_ERR_OUT_OF_RESOURCES = 9 };
// Links one TCP connection may hold.
enum { VXI11_MAX_LINKS_PER_CONNECTION = 32 };
// Links one client host (peer address) may hold, over all its connections
// and UDP: half the table, so that any single host, however many
// connections it opens, always leaves room for another. A host at its
// limit that asks for one more gets it in place of its own least recently
// used UDP link (its program may have gone without destroy_link); with
// only TCP links it is refused (error 9). A controller runs one link per
// instrument session, so 64 is far beyond a legitimate host's need.
enum { VXI11_MAX_LINKS_PER_PEER = 64 };
// A link created over UDP that no call has named for this long goes (and,
// with the table full, the least recently used one gives way to a new
// link). Also the idle timeout of VXI-11 and raw-socket connections.
enum : long long { VXI11_IDLE_TIMEOUT_MS = 10 * 60 * 1000 };
void vxi11_set_idle_timeout_ms(long long ms);
long long vxi11_idle_timeout_ms();

// peer names the client: the TCP connection the link was created on (0 for
// UDP; its links are destroyed when it closes) and its address.
void vxi11_create_link(const Create_LinkParms& p, Create_LinkResp& r, const Vxi11Peer& peer);
void vxi11_device_write(const Device_WriteParms& p, Device_WriteResp& r);
// The reply bytes are copied into storage, which must outlive the encoding
// of r.
void vxi11_device_read(const Device_ReadParms& p, Device_ReadResp& r, std::vector<char>& storage);
void vxi11_device_readstb(const Device_GenericParms& p, Device_ReadStbResp& r);
void vxi11_device_clear(const Device_GenericParms& p, Device_Error& r);
void vxi11_destroy_link(Device_Link lid, Device_Error& r);
// device_trigger ("*TRG"), device_remote and device_local (the front
// panel's remote lock), queued as messages of the link.
enum { VXI11_PROC_TRIGGER = 14, VXI11_PROC_REMOTE = 16, VXI11_PROC_LOCAL = 17 };
void vxi11_device_generic(int proc, const Device_GenericParms& p, Device_Error& r);
// The instrument's exclusive lock: other links' writes, reads, status reads,
// clears and triggers get error 11 (after lock_timeout when they set
// waitlock). A link that goes releases its lock.
void vxi11_device_lock(const Device_LockParms& p, Device_Error& r);
void vxi11_device_unlock(Device_Link lid, Device_Error& r);
// From the abort channel: ends the link's waiting read with error 23.
void vxi11_device_abort(Device_Link lid, Device_Error& r);
// The port of the abort channel create_link announces (the TCP server,
// which serves the abort program too).
int vxi11_abort_port();
// Enables or disables service requests of the link on its core channel's
// interrupt channel, with the handle that comes back in device_intr_srq.
void vxi11_device_enable_srq(const Device_EnableSrqParms& p, Device_Error& r);
// A service request: device_intr_srq queued on the interrupt channel of
// every link that enabled it (from the dispatcher thread, never the
// interpreter's).
void vxi11_srq_fanout();
// Procedures the instrument accepts without doing anything: error 0 on a
// valid link, 4 on any other.
Device_ErrorCode vxi11_check_link(Device_Link lid);

// A TCP connection closed: its links go, with their partial messages and
// uncollected replies.
void vxi11_drop_connection(const Vxi11Peer& peer);
// Links open now (tests and diagnostics).
int vxi11_link_count();
