#pragma once
// The remote-control adapter: one System V message queue carries complete
// messages from the transports (USBTMC, VXI-11) to the single SCPI worker
// thread; the handlers' output collects in one static response buffer from
// which the transports read the replies.
#include <pthread.h>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <QString>

class QObject;
struct scpi_command_t;

// Type of every record on the queue.
enum { SCPI_MSG_TYPE = 20 };
// Owner of the record that ends the worker loop.
enum { SCPI_STOP_OWNER = -2 };
// Key of the queue on the board.
enum { SCPI_MSG_QUEUE_KEY = 1025 };
// Response bytes the buffer holds.
enum { SCPI_TX_BUF_SIZE = 4097024 };
// Room in front of the response bytes for a USBTMC bulk-in header.
enum { SCPI_TX_MARGIN = 12 };

// The queue carries only this record; the message bytes stay in the sender's
// heap buffer and their ownership passes to the worker, which frees them.
// Sender and worker are threads of one process. The record also names the
// session that sent the message and its sequence number, so that the reply
// reaches that session only. `mtype` is a `long` because the kernel's message
// header is one; every other field has one width on the 32-bit board and on a
// 64-bit desktop, except the text pointer, which never leaves the process.
struct scpi_msg_t {
    long mtype;
    int32_t msglen;
    char* mtext;
    int32_t owner;
    uint64_t seq;
};

// One static object for the process. The margin sits directly in front of
// txBuf so that a USBTMC header can be written in front of any read position
// and header plus data leave in one write; the pad takes the alignment bytes
// that round a reply at the very end of the buffer up to a multiple of four.
struct scpi_tx_buffer_t {
    char txBufMargin[SCPI_TX_MARGIN];
    char txBuf[SCPI_TX_BUF_SIZE];
    char txPad[4];
    int txHead; // read position
    int txTail; // write position
};

enum SCPI_DEVICE_STATUS {
    SCPI_LXI_ID = 0,
    SCPI_TMC_ID = 1,
    SCPI_RS232_ID = 2,
    SCPI_GPIB_ID = 3,
    SCPI_MAX_ID = 4,
};

extern scpi_tx_buffer_t scpi_tx_buffer;
extern pthread_mutex_t scpi_txbuf_mutex;
extern pthread_mutex_t scpi_response_mutex;
// -1 while any delivered message is queued or being executed, 0 when the
// worker has finished them all (kept by the sessions, scpi_msg_session.h).
// Guarded by scpi_response_mutex.
extern int scpi_response_load_finished;
// Bit set of SCPI_DEVICE_STATUS; any thread.
extern std::atomic<unsigned> g_scpi_device_status;
// The last carrier state read for the Ethernet interface (written by the
// network hot-plug thread, read by the system tick).
extern std::atomic<bool> eth0_carrier;

// What the remote layer takes from the controller before start-up: the
// instrument's command table (terminated by a null pattern), its serial
// number and the monotonic millisecond clock the transports time transfers
// with. The remote layer sits below the controller and never calls it.
struct scpi_adpt_hooks_t {
    const scpi_command_t* commands;
    const char* (*serial)();
    qint64 (*clock_ms)();
};
void scpi_adpt_set_hooks(const scpi_adpt_hooks_t& hooks);
// The installed command table (an empty one before start-up).
const scpi_command_t* scpi_adpt_commands();
// The serial number ("" before start-up) and the clock (0 before start-up).
const char* scpi_adpt_serial();
qint64 scpi_adpt_clock_ms();

// Which queue the worker reads: the board's keyed queue (default) or, for a
// simulated board, a private queue of this process. Chosen by the program's
// entry before start-up.
void scpi_msg_queue_set_private(bool privateQueue);

// The program holds the worker before its controller exists and releases it
// once the hardware has been brought to the stored settings: a message that
// arrives meanwhile (a client connecting right after power-up) waits instead
// of running against half-applied channels and being undone by the start-up.
// A hold not released within 30 s gives way, so the remote interface never
// stays dead.
void scpi_adpt_hold();
void scpi_adpt_release();

// Start-up, called from the controller's constructor.
int scpi_adpt_init(QObject* controller);
// The program is ending, before its controller goes away: no more messages
// are taken or executed, every client waiting for a reply or for room is
// woken, the network transports stop accepting and end their connection
// threads, the web server stops and the SCPI worker ends. Returns once all
// of that has happened or timeoutMs has passed (false then); pump() is
// called while waiting, so the caller's thread can keep serving requests
// that a finishing command still needs (the GUI thread's events).
bool scpi_adpt_shutdown(int timeoutMs, void (*pump)() = nullptr);
// A controller going away stops being the worker's parent.
void scpi_adpt_detach(QObject* controller);

// Whether a message ends with LF or CR, the terminators a transport leaves
// alone (otherwise it may append a LF before delivering).
inline bool scpi_msg_has_terminator(const char* p, size_t n) { return n > 0 && (p[n - 1] == '\n' || p[n - 1] == '\r'); }

// Delivers one message to the worker on the default session (see
// scpi_msg_session.h for clients with sessions of their own). `buffer` must
// come from malloc; the worker frees it. On failure the buffer is freed here
// and -1 returned.
int scpi_msg_cmd_write(char* buffer, int length);
// Puts one record on the queue; -1 when the queue refuses it (the caller
// still owns the buffer).
int scpi_msg_queue_send(char* buffer, int length, int owner, uint64_t seq);
// The worker's blocking receive of the next record; 0 or -1.
int scpi_msg_cmd_read(scpi_msg_t* record);

// The parser's write callback: appends to the response buffer; returns the
// bytes taken, or -1.
int scpi_msg_reponse_write(const char* data, int length);
// Bytes held in the response buffer (0 when the positions are inconsistent).
int scpi_msg_reponse_avail_len();
// Lock the buffer and return the read position; advance it by n and unlock.
char* scpi_msg_tx_read_start();
void scpi_msg_tx_read_end(int n);
// Lock the buffer and return the write position; advance it by n (clipped)
// and unlock.
char* scpi_msg_tx_write_start();
void scpi_msg_tx_write_end(int n);
// Bytes held, for a caller between scpi_msg_tx_read_start and _end.
int scpi_msg_tx_held_locked();
// Copies up to max held bytes out and consumes them; returns the count.
int scpi_msg_tx_read(char* dst, int max);
void scpi_msg_reponse_buf_clear();

// The response buffer collects the output of the message being executed;
// when it has run, the worker moves it to the reply of the session that
// sent the message.

// Busy flag: set (-1) when a message is handed over, cleared when the worker
// has executed every message handed over.
void scpi_muti_write_flg_set();
void scpi_muti_write_flg_clr();
bool scpi_muti_write_busy();
// Waits while the busy flag is set, at most max_ms; true when the worker is
// idle.
bool scpi_wait_idle(int max_ms);

void scpi_device_set(int id);
void scpi_device_clr(int id);
int scpi_device_status(int id);

// 1 when the Ethernet link is down, 0 when up.
int getethnetstatus();
// Whether the key thread reports any key locked.
int getlocktatus();

// The shell command that loads the USB gadget driver; product and serial
// keep only characters that cannot change the command.
QString scpi_modprobe_command(const char* product, const char* serial);

// One pass of the network hot-plug thread over the carrier file's text: sets
// eth0_carrier and the LXI status bit.
void scpi_carrier_apply(const char* text);

// Opens the queue (simulated board: a private queue of this process) and
// discards records left in it by an earlier run, whose text pointers belong
// to a process that no longer exists. Returns 0 or -1.
int scpi_msg_queue_open(bool simulated);

// The worker: parser set-up with the controller as parent, then the loop.
void scpi_worker_init(QObject* controller);
void scpi_msg_execute(scpi_msg_t* record);
// A client going away (or resetting) leaves a data-transfer mode that it
// entered; a mode entered by another client stays.
void scpi_msg_data_mode_drop(int owner);
void* scpi_thread(void* controller);
void* scpi_hot_plug_thread(void*);

// Receiver of the raw data that follows an arming command in a data-transfer
// mode (WF_Cal, WF_ModArb, WF_BaseArb, WF_LIST, WF_DIGITALDATA); installed by
// the layer that owns the data before the worker starts. Runs on the SCPI
// worker thread. The record block of WF_CONFIG goes to the controller.
typedef void (*scpi_data_receiver_t)(const char* data, long length);
void scpi_msg_set_data_receiver(int mode, scpi_data_receiver_t receiver);

// Test and diagnostic hook: called by the worker with each record it takes,
// before executing it (data mode, text, length).
typedef void (*scpi_msg_probe_t)(int wfileFlag, const char* text, long length);
void scpi_msg_set_probe(scpi_msg_probe_t probe);
