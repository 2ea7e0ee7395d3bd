// Sessions of the remote clients: who sent which message, and the reply
// each of them has to collect.
#include "communication/scpi_msg_session.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>
#include "communication/scpi_msg_adpt.h"

namespace {

struct Session {
    uint64_t lastSeq = 0;   // newest message delivered
    uint64_t clearedAt = 0; // output of messages up to this one is dropped
    int queued = 0;         // delivered and not finished
    std::vector<char> reply;
    size_t replyPos = 0;
    scpi_transfer_t transfer; // armed data transfer (mode WF_None: none)
};

// Everything below is guarded by g_mutex; the transports (any thread), the
// worker and the web server's threads all come through here. The state is
// never destroyed: a transport thread that is still blocked somewhere when
// the program ends (the USB host's endpoint, the RPC dispatch loop) may
// reach it while static objects are torn down.
struct State {
    std::mutex mutex;
    std::condition_variable changed;
    std::map<int, Session> sessions = {{SCPI_SESSION_DEFAULT, Session()}};
    int nextId = 1;
    uint64_t nextSeq = 1;
    int inflight = 0;
    long long queuedBytes = 0;
    // Bytes of each message on the queue, for the byte budget.
    std::map<uint64_t, long long> sizes;
    bool stopping = false; // the program is ending
};
State& g_state = *new State;
std::mutex& g_mutex = g_state.mutex;
std::condition_variable& g_changed = g_state.changed;
std::map<int, Session>& g_sessions = g_state.sessions;
int& g_nextId = g_state.nextId;
uint64_t& g_nextSeq = g_state.nextSeq;
int& g_inflight = g_state.inflight;
long long& g_queuedBytes = g_state.queuedBytes;
std::map<uint64_t, long long>& g_sizes = g_state.sizes;
bool& g_stopping = g_state.stopping;

// Called with g_mutex held.
void setBusyFlag()
{
    // The busy flag of the adapter mirrors whether anything is queued.
    pthread_mutex_lock(&scpi_response_mutex);
    scpi_response_load_finished = g_inflight > 0 ? -1 : 0;
    pthread_mutex_unlock(&scpi_response_mutex);
}

void dropReply(Session& s)
{
    std::vector<char>().swap(s.reply);
    s.replyPos = 0;
}

} // namespace

int scpi_session_open()
{
    std::lock_guard<std::mutex> l(g_mutex);
    while (g_sessions.count(g_nextId) || g_nextId <= 0)
        g_nextId = g_nextId <= 0 ? 1 : g_nextId + 1;
    const int id = g_nextId++;
    g_sessions[id] = Session();
    return id;
}

void scpi_session_close(int id)
{
    if (id == SCPI_SESSION_DEFAULT)
        return;
    std::lock_guard<std::mutex> l(g_mutex);
    g_sessions.erase(id);
    g_changed.notify_all();
}

bool scpi_session_valid(int id)
{
    std::lock_guard<std::mutex> l(g_mutex);
    return g_sessions.count(id) != 0;
}

int scpi_session_deliver(int id, char* buffer, int length)
{
    uint64_t seq = 0;
    {
        std::unique_lock<std::mutex> l(g_mutex);
        // Wait for room: a session may keep a few messages queued, and all
        // of them together a bounded number of bytes.
        g_changed.wait(l, [&] {
            auto it = g_sessions.find(id);
            if (it == g_sessions.end() || g_stopping)
                return true;
            const bool roomForSession = it->second.queued < SCPI_SESSION_MAX_QUEUED;
            const bool roomForBytes = g_queuedBytes == 0 || g_queuedBytes + length <= SCPI_QUEUED_BYTES_LIMIT;
            return roomForSession && roomForBytes;
        });
        auto it = g_sessions.find(id);
        if (it == g_sessions.end() || g_stopping) {
            std::free(buffer);
            return -1;
        }
        Session& s = it->second;
        seq = g_nextSeq++;
        s.lastSeq = seq;
        s.queued++;
        dropReply(s);
        g_inflight++;
        g_queuedBytes += length;
        g_sizes[seq] = length;
        setBusyFlag();
    }
    if (scpi_msg_queue_send(buffer, length, id, seq) < 0) {
        // Nobody will execute it: account for it as finished.
        std::free(buffer);
        std::lock_guard<std::mutex> l(g_mutex);
        auto it = g_sessions.find(id);
        if (it != g_sessions.end())
            it->second.queued--;
        g_inflight--;
        g_queuedBytes -= g_sizes[seq];
        g_sizes.erase(seq);
        setBusyFlag();
        g_changed.notify_all();
        return -1;
    }
    return 0;
}

void scpi_session_clear(int id)
{
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    if (it == g_sessions.end())
        return;
    it->second.clearedAt = it->second.lastSeq;
    dropReply(it->second);
    g_changed.notify_all();
}

static int heldLocked(const Session& s) { return int(s.reply.size() - s.replyPos); }

int scpi_session_wait_reply(int id, int timeoutMs)
{
    std::unique_lock<std::mutex> l(g_mutex);
    int held = 0;
    g_changed.wait_for(l, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs), [&] {
        auto it = g_sessions.find(id);
        if (it == g_sessions.end() || g_stopping)
            return true;
        held = it->second.queued == 0 ? heldLocked(it->second) : 0;
        return held > 0;
    });
    return held;
}

int scpi_session_wait_done(int id, int timeoutMs)
{
    std::unique_lock<std::mutex> l(g_mutex);
    int held = -1;
    g_changed.wait_for(l, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs), [&] {
        auto it = g_sessions.find(id);
        if (it == g_sessions.end() || g_stopping)
            return true;
        if (it->second.queued != 0)
            return false;
        held = heldLocked(it->second);
        return true;
    });
    return held;
}

int scpi_session_held(int id)
{
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    return it == g_sessions.end() ? 0 : heldLocked(it->second);
}

int scpi_session_read(int id, char* dst, int max)
{
    if (!dst || max <= 0)
        return 0;
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    if (it == g_sessions.end())
        return 0;
    Session& s = it->second;
    int n = heldLocked(s);
    if (n > max)
        n = max;
    if (n > 0)
        std::copy(s.reply.begin() + long(s.replyPos), s.reply.begin() + long(s.replyPos) + n, dst);
    s.replyPos += size_t(n);
    if (s.replyPos >= s.reply.size())
        dropReply(s);
    return n;
}

void scpi_session_finished(int id, uint64_t seq)
{
    // The output of the message: what the handlers wrote to the response
    // buffer while it ran.
    std::vector<char> out;
    {
        char* p = scpi_msg_tx_read_start();
        const int n = scpi_msg_tx_held_locked();
        if (n > 0)
            out.assign(p, p + n);
        scpi_msg_tx_read_end(n);
    }
    {
        std::lock_guard<std::mutex> l(g_mutex);
        auto it = g_sessions.find(id);
        if (it != g_sessions.end()) {
            Session& s = it->second;
            s.queued--;
            // Only the newest message's output is kept: a later command
            // discards an uncollected reply, and a device clear discards
            // the output of everything delivered before it.
            if (seq == s.lastSeq && seq > s.clearedAt) {
                s.reply.swap(out);
                s.replyPos = 0;
            }
        }
        g_inflight--;
        auto sz = g_sizes.find(seq);
        if (sz != g_sizes.end()) {
            g_queuedBytes -= sz->second;
            g_sizes.erase(sz);
        }
        setBusyFlag();
        g_changed.notify_all();
    }
}

int scpi_session_inflight()
{
    std::lock_guard<std::mutex> l(g_mutex);
    return g_inflight;
}

bool scpi_session_arm_transfer(int id, const scpi_transfer_t& t)
{
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    if (it == g_sessions.end())
        return false;
    it->second.transfer = t;
    return true;
}

bool scpi_session_take_transfer(int id, scpi_transfer_t* out)
{
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    if (it == g_sessions.end() || it->second.transfer.mode == 0)
        return false;
    if (out)
        *out = it->second.transfer;
    it->second.transfer = scpi_transfer_t();
    return true;
}

scpi_transfer_t scpi_session_transfer(int id)
{
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    return it == g_sessions.end() ? scpi_transfer_t() : it->second.transfer;
}

int scpi_session_transfer_mode(int id) { return scpi_session_transfer(id).mode; }

void scpi_session_drop_transfer(int id)
{
    std::lock_guard<std::mutex> l(g_mutex);
    auto it = g_sessions.find(id);
    if (it != g_sessions.end())
        it->second.transfer = scpi_transfer_t();
}

void scpi_session_shutdown()
{
    std::lock_guard<std::mutex> l(g_mutex);
    g_stopping = true;
    g_changed.notify_all();
}

bool scpi_session_stopping()
{
    std::lock_guard<std::mutex> l(g_mutex);
    return g_stopping;
}

namespace {
std::atomic<long long> g_partialBytes {0};
std::atomic<long long> g_partialLimit {SCPI_PARTIAL_LIMIT};
} // namespace

bool scpi_partial_charge(long long delta)
{
    if (delta <= 0) {
        g_partialBytes += delta;
        return true;
    }
    long long now = g_partialBytes.load();
    do {
        if (now + delta > g_partialLimit.load())
            return false;
    } while (!g_partialBytes.compare_exchange_weak(now, now + delta));
    return true;
}

long long scpi_partial_bytes() { return g_partialBytes.load(); }

void scpi_partial_set_limit(long long bytes) { g_partialLimit = bytes > 0 ? bytes : SCPI_PARTIAL_LIMIT; }
