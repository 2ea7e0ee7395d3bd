// Message queue, response buffer, busy flag and device status of the remote
// adapter.
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"
#include "platform/logging.h"
#include <sys/ipc.h>
#include <sys/msg.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <time.h>
#include <unistd.h>

scpi_tx_buffer_t scpi_tx_buffer;
pthread_mutex_t scpi_txbuf_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_mutex_t scpi_response_mutex = PTHREAD_MUTEX_INITIALIZER;
int scpi_response_load_finished = 0;
std::atomic<unsigned> g_scpi_device_status {0};
std::atomic<bool> eth0_carrier {false};

// Opened once at start-up, before the threads that use it exist.
static int g_msgQueue = -1;

// ---- device status ---------------------------------------------------------

void scpi_device_set(int id)
{
    if (id < 0 || id > SCPI_MAX_ID)
        return;
    g_scpi_device_status |= 1u << id;
}

void scpi_device_clr(int id)
{
    if (id < 0 || id > SCPI_MAX_ID)
        return;
    g_scpi_device_status &= ~(1u << id);
}

int scpi_device_status(int id)
{
    if (id < 0 || id > SCPI_MAX_ID)
        return 0;
    return (g_scpi_device_status >> id) & 1u;
}

int getethnetstatus() { return eth0_carrier ? 0 : 1; }

void scpi_carrier_apply(const char* text)
{
    const bool up = text && std::atoi(text) != 0;
    eth0_carrier = up;
    if (!up && scpi_device_status(SCPI_LXI_ID))
        scpi_device_clr(SCPI_LXI_ID);
    else if (up && !scpi_device_status(SCPI_LXI_ID))
        scpi_device_set(SCPI_LXI_ID);
}

// ---- busy flag -------------------------------------------------------------

void scpi_muti_write_flg_set()
{
    pthread_mutex_lock(&scpi_response_mutex);
    scpi_response_load_finished = -1;
    pthread_mutex_unlock(&scpi_response_mutex);
    scpi_msg_reponse_buf_clear();
}

void scpi_muti_write_flg_clr()
{
    pthread_mutex_lock(&scpi_response_mutex);
    scpi_response_load_finished = 0;
    pthread_mutex_unlock(&scpi_response_mutex);
}

bool scpi_muti_write_busy()
{
    pthread_mutex_lock(&scpi_response_mutex);
    const bool busy = scpi_response_load_finished == -1;
    pthread_mutex_unlock(&scpi_response_mutex);
    return busy;
}

bool scpi_wait_idle(int max_ms)
{
    // Timed by the monotonic clock; the short poll keeps a reply's latency
    // well below a millisecond.
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        if (!scpi_muti_write_busy())
            return true;
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long ms = (now.tv_sec - start.tv_sec) * 1000LL + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (ms >= max_ms)
            return false;
        usleep(100);
    }
}

// ---- response buffer -------------------------------------------------------

// Length that fits at the write position; logs as the buffer fills.
static int clipToBuffer(int tail, int length)
{
    if (tail + length > SCPI_TX_BUF_SIZE) {
        length = SCPI_TX_BUF_SIZE - 1 - tail;
        qCCritical(lcScpi, "tx data overflow!!");
    }
    if (length <= 0) {
        qCCritical(lcScpi, "tx buf error!!");
        return 0;
    }
    return length;
}

int scpi_msg_reponse_write(const char* data, int length)
{
    if (!data) {
        qCCritical(lcScpi, "buf == null");
        return -1;
    }
    if (length <= 0)
        return 0;
    pthread_mutex_lock(&scpi_txbuf_mutex);
    const int n = clipToBuffer(scpi_tx_buffer.txTail, length);
    if (n > 0) {
        std::memcpy(scpi_tx_buffer.txBuf + scpi_tx_buffer.txTail, data, size_t(n));
        scpi_tx_buffer.txTail += n;
    }
    pthread_mutex_unlock(&scpi_txbuf_mutex);
    return n;
}

static int availLocked()
{
    const int head = scpi_tx_buffer.txHead;
    const int tail = scpi_tx_buffer.txTail;
    if (head < 0 || tail < head || tail > SCPI_TX_BUF_SIZE)
        return 0;
    return tail - head;
}

int scpi_msg_tx_held_locked() { return availLocked(); }

int scpi_msg_reponse_avail_len()
{
    pthread_mutex_lock(&scpi_txbuf_mutex);
    const int n = availLocked();
    pthread_mutex_unlock(&scpi_txbuf_mutex);
    return n;
}

static void advanceHeadLocked(int n)
{
    if (n > 0) {
        const int avail = availLocked();
        scpi_tx_buffer.txHead += n > avail ? avail : n;
    }
    if (scpi_tx_buffer.txHead >= scpi_tx_buffer.txTail) {
        scpi_tx_buffer.txHead = 0;
        scpi_tx_buffer.txTail = 0;
    }
}

char* scpi_msg_tx_read_start()
{
    pthread_mutex_lock(&scpi_txbuf_mutex);
    return scpi_tx_buffer.txBuf + scpi_tx_buffer.txHead;
}

void scpi_msg_tx_read_end(int n)
{
    advanceHeadLocked(n);
    pthread_mutex_unlock(&scpi_txbuf_mutex);
}

char* scpi_msg_tx_write_start()
{
    pthread_mutex_lock(&scpi_txbuf_mutex);
    return scpi_tx_buffer.txBuf + scpi_tx_buffer.txTail;
}

void scpi_msg_tx_write_end(int n)
{
    if (n > 0) {
        n = clipToBuffer(scpi_tx_buffer.txTail, n);
        scpi_tx_buffer.txTail += n;
    }
    pthread_mutex_unlock(&scpi_txbuf_mutex);
}

int scpi_msg_tx_read(char* dst, int max)
{
    if (!dst || max <= 0)
        return 0;
    pthread_mutex_lock(&scpi_txbuf_mutex);
    int n = availLocked();
    if (n > max)
        n = max;
    if (n > 0)
        std::memcpy(dst, scpi_tx_buffer.txBuf + scpi_tx_buffer.txHead, size_t(n));
    advanceHeadLocked(n);
    pthread_mutex_unlock(&scpi_txbuf_mutex);
    return n;
}

void scpi_msg_reponse_buf_clear()
{
    pthread_mutex_lock(&scpi_txbuf_mutex);
    scpi_tx_buffer.txHead = 0;
    scpi_tx_buffer.txTail = 0;
    pthread_mutex_unlock(&scpi_txbuf_mutex);
}

// ---- message queue ---------------------------------------------------------

int scpi_msg_queue_open(bool simulated)
{
    if (simulated) {
        // Several simulated instruments (and the tests) may run on one host;
        // each keeps a queue of its own so that no text pointer ever reaches
        // another process.
        g_msgQueue = msgget(IPC_PRIVATE, IPC_CREAT | 0600);
    } else {
        g_msgQueue = msgget(SCPI_MSG_QUEUE_KEY, IPC_EXCL);
        if (g_msgQueue < 0)
            g_msgQueue = msgget(SCPI_MSG_QUEUE_KEY, IPC_CREAT | 0666);
    }
    if (g_msgQueue < 0)
        return -1;
    if (simulated)
        atexit([] { msgctl(g_msgQueue, IPC_RMID, nullptr); });
    // The queue outlives the process. Records of an earlier run point into a
    // heap that is gone: drop them unread.
    scpi_msg_t stale;
    while (msgrcv(g_msgQueue, &stale, sizeof(stale) - sizeof(long), 0, IPC_NOWAIT) >= 0) {}
    return 0;
}

int scpi_msg_queue_send(char* buffer, int length, int owner, uint64_t seq)
{
    scpi_msg_t rec;
    rec.mtype = SCPI_MSG_TYPE;
    rec.msglen = length;
    rec.mtext = buffer;
    rec.owner = owner;
    rec.seq = seq;
    if (g_msgQueue < 0)
        return -1;
    // The queue holds many records; should it ever be full, the worker is
    // taking them off, so a short wait is enough.
    for (int tries = 0;; ++tries) {
        const int ret = msgsnd(g_msgQueue, &rec, sizeof(rec) - sizeof(long), IPC_NOWAIT);
        if (ret == 0)
            return 0;
        if ((errno != EAGAIN && errno != EINTR) || tries >= 1000) {
            qCCritical(lcScpi, "SCPI msgsnd failed,retValue=%d", ret);
            return -1;
        }
        usleep(1000);
    }
}

int scpi_msg_cmd_write(char* buffer, int length) { return scpi_session_deliver(SCPI_SESSION_DEFAULT, buffer, length); }

int scpi_msg_cmd_read(scpi_msg_t* record)
{
    if (!record || g_msgQueue < 0)
        return -1;
    for (;;) {
        const ssize_t n = msgrcv(g_msgQueue, record, sizeof(*record) - sizeof(long), SCPI_MSG_TYPE, 0);
        if (n >= 0)
            return 0;
        if (errno != EINTR)
            return -1;
    }
}
