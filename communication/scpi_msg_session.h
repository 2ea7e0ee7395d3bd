#pragma once
// Remote sessions: every client of the instrument (each VXI-11 link, the
// USBTMC host) delivers its messages through a session of its own and
// collects only the replies to its own messages. The one SCPI worker still
// executes every message in arrival order; when it has finished one, the
// output goes to the reply of the session that sent it.
#include <cstdint>

// Session 0 always exists; deliveries without a session of their own
// (scpi_msg_cmd_write) go to it.
enum { SCPI_SESSION_DEFAULT = 0 };

// Largest message a client can hand over: the largest arbitrary-wave file
// with room for its command. Transports refuse anything longer before
// allocating it.
enum { SCPI_MAX_MESSAGE = 128 * 1024 * 1024 };

// Messages a session may have queued before its next delivery waits, and
// the bytes all queued messages may hold together: a fast client cannot
// make the queue grow without end.
enum { SCPI_SESSION_MAX_QUEUED = 8 };
enum : long long { SCPI_QUEUED_BYTES_LIMIT = 2LL * SCPI_MAX_MESSAGE };

// Bytes of messages still being received, of every client together: VXI-11
// partial messages (chunks without END) and the lines and blocks a raw
// socket has not yet completed. One limit for all, so that a few clients
// sending long messages they never finish cannot take the instrument's
// memory; the client whose bytes would pass it gets -363 and loses its
// connection (or, over VXI-11, its partial message).
enum : long long { SCPI_PARTIAL_LIMIT = 256LL * 1024 * 1024 };
// Adds delta bytes (negative: released) to the total. Growth that would
// pass the limit is refused: false, nothing added.
bool scpi_partial_charge(long long delta);
long long scpi_partial_bytes();
// Another limit (tests and diagnostics); 0 restores SCPI_PARTIAL_LIMIT.
void scpi_partial_set_limit(long long bytes);

// A new session; its id is positive.
int scpi_session_open();
// Ends a session: its uncollected reply is freed and the output of its
// messages still queued is dropped when they have run.
void scpi_session_close(int id);
// Whether the session exists.
bool scpi_session_valid(int id);

// Delivers one message of the session (buffer from malloc; ownership passes
// to the worker, or the buffer is freed here on failure). An uncollected
// reply of the session is discarded: a new command replaces it. Returns 0
// or -1.
int scpi_session_deliver(int id, char* buffer, int length);

// Device clear: drops the session's uncollected reply and the output of the
// messages it has already delivered.
void scpi_session_clear(int id);

// Waits until the session has a reply and none of its messages is still
// queued or executing, at most timeoutMs; returns the bytes held (0 when
// nothing arrived in time).
int scpi_session_wait_reply(int id, int timeoutMs);
// Waits until none of the session's messages is queued or executing, at
// most timeoutMs; returns the reply bytes held then (possibly 0), or -1 when
// the time ran out or the session is gone. For clients without a read
// request (the raw socket, the web console) that send every reply at once.
int scpi_session_wait_done(int id, int timeoutMs);
// Bytes of reply held for the session now.
int scpi_session_held(int id);
// Copies up to max bytes of the reply out and consumes them.
int scpi_session_read(int id, char* dst, int max);

// Worker side: the message seq of the session has run; its output is the
// content of the response buffer, which is emptied here.
void scpi_session_finished(int id, uint64_t seq);

// Messages delivered and not yet finished, all sessions together.
int scpi_session_inflight();

// The program is ending: every wait above returns at once (nothing held),
// and deliveries are refused from now on.
void scpi_session_shutdown();
bool scpi_session_stopping();

// ---- data transfers -----------------------------------------------------
// A command that arms a data transfer ("WARB#:CARRier", "WFREQLIST#",
// "WFILE", "SYSTem:CONFigure", "DIGital:DATa") arms it for the session whose
// message it was: the next message *of that session* is the data; messages
// of other sessions still run as commands meanwhile. A session that closes
// (or is dropped by its transport) drops its armed transfer with it.
//
// The worker keeps the transfer of the message it is executing in the
// interpreter's data-transfer state (SCPI/scpi_wfile.h): an arming handler
// fills it, and the worker moves it here when the message has run; for the
// data message it moves it back, so the data receivers read it there.
struct scpi_transfer_t {
    int mode = 0;        // WF_type; WF_None (0): nothing armed
    int channel = 0;     // target channel 0..3
    char name[256] = ""; // file or block name
};
// Arms a transfer for the session (replacing one it had); false when the
// session does not exist (the transfer is dropped).
bool scpi_session_arm_transfer(int id, const scpi_transfer_t& t);
// Takes the session's armed transfer out (the worker, for the session's data
// message); false when none is armed.
bool scpi_session_take_transfer(int id, scpi_transfer_t* out);
// The transfer armed for the session now (mode WF_None when none), and
// just its mode; any thread.
scpi_transfer_t scpi_session_transfer(int id);
int scpi_session_transfer_mode(int id);
// Drops the session's armed transfer; any thread.
void scpi_session_drop_transfer(int id);
