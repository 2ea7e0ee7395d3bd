// Completion of remote requests on the controller's thread: numbered points,
// counted follow-up hops and the check that marks a point applied.
#include "communication/remote_road.h"
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include "platform/handoff.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Never destroyed: a thread may still wait or post at the very end.
struct State {
    std::mutex mutex;
    std::condition_variable changed;
};
State& g_state = *new State;
std::mutex& g_mutex = g_state.mutex;
std::condition_variable& g_changed = g_state.changed;
// All below guarded by g_mutex.
QObject* g_target = nullptr; // the controller; attach() at start-up and before it goes away
uint64_t g_generation = 0;   // bumped by attach(): checks of an earlier controller end
uint64_t g_issued = 0;       // last point numbered by issue()
uint64_t g_applied = 0;      // highest point marked applied (checks, controller's thread)
int g_hops = 0;              // hops posted and not yet finished
uint64_t g_epoch = 0;        // changes whenever a hop is posted or finishes
bool g_checkPosted = false;  // a check is on the controller's queue
uint64_t g_checkSeq = 0;     // the point that check can mark: issued when it was posted
uint64_t g_checkEpoch = 0;   // the hop epoch when it was posted
uint64_t g_noted = 0;        // requests handed over (noteRequest)
uint64_t g_notedAtIssue = 0; // g_noted at the last issue()
uint64_t g_notedApplied = 0; // requests known applied
// Set at start-up before the worker starts; read by the checks.
std::atomic<void (*)()> g_applyHook {nullptr};

void runCheck(uint64_t generation);

// Puts a check on the controller's queue, behind everything posted so far.
// Called with g_mutex held.
void postCheckLocked()
{
    if (g_checkPosted || !g_target || g_applied >= g_issued)
        return;
    g_checkPosted = true;
    g_checkSeq = g_issued;
    g_checkEpoch = g_epoch;
    const uint64_t generation = g_generation;
    QMetaObject::invokeMethod(
        g_target, [generation]() { runCheck(generation); }, Qt::QueuedConnection);
}

// On the controller's thread.
void runCheck(uint64_t generation)
{
    // Before the point can be marked: everything it covers ran before this
    // check on this thread, and the waiter reads the copies after the mark.
    if (void (*hook)() = g_applyHook.load())
        hook();
    std::lock_guard<std::mutex> lock(g_mutex);
    if (generation != g_generation)
        return;
    g_checkPosted = false;
    if (g_hops > 0)
        return; // the last hop to finish posts the next check
    if (g_epoch != g_checkEpoch) {
        // A hop ran since the check was posted: what it queued without
        // counting (a reply of the screens) may sit behind this check.
        postCheckLocked();
        return;
    }
    if (g_checkSeq > g_applied) {
        g_applied = g_checkSeq;
        if (g_checkSeq == g_issued)
            g_notedApplied = g_notedAtIssue;
        g_changed.notify_all();
    }
    postCheckLocked(); // points issued after this check was posted
}

void hopFinished()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_hops--;
    g_epoch++;
    if (g_hops == 0)
        postCheckLocked();
}

} // namespace

namespace RemoteRoad {

void attach(QObject* controller)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_target = controller;
    g_generation++;
    g_checkPosted = false;
    // Nothing issued to an earlier controller will be applied any more.
    g_applied = g_issued;
    g_notedApplied = g_noted;
    g_changed.notify_all();
}

void detach(QObject* controller)
{
    bool attached = false;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        attached = controller && g_target == controller;
    }
    if (attached)
        attach(nullptr);
}

void beginHop()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_hops++;
    g_epoch++;
}

void endHop() { hopFinished(); }

void chain(QObject* obj, std::function<void()> fn)
{
    if (!obj || !fn)
        return;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_hops++;
        g_epoch++;
    }
    // A hop whose object is gone by the time it would run still finishes.
    struct Hop {
        std::function<void()> fn;
        bool ran = false;
        ~Hop()
        {
            // The last reference may go in the posting thread, after the
            // hop ran in the object's thread (Qt's own reference count).
            handoffTake(this);
            if (!ran)
                hopFinished();
        }
    };
    auto hop = std::make_shared<Hop>();
    hop->fn = std::move(fn);
    handoffSend(hop.get());
    QMetaObject::invokeMethod(
        obj,
        [hop]() {
            handoffTake(hop.get());
            hop->fn();
            hop->ran = true;
            handoffSend(hop.get());
            hopFinished();
        },
        Qt::QueuedConnection);
}

uint64_t issue()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_target)
        return 0;
    const uint64_t seq = ++g_issued;
    g_notedAtIssue = g_noted;
    postCheckLocked();
    return seq;
}

bool wait(uint64_t seq, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(g_mutex);
    const uint64_t generation = g_generation;
    const bool done = g_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                                         [&] { return g_applied >= seq || g_generation != generation; });
    return done && g_generation == generation;
}

bool settle(int timeoutMs)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_target || g_target->thread() == QThread::currentThread())
            return true;
    }
    return wait(issue(), timeoutMs);
}

void noteRequest()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_noted++;
}

bool requestsOutstanding()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_target && g_notedApplied < g_noted;
}

void setApplyHook(void (*hook)()) { g_applyHook.store(hook); }

uint64_t applied()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_applied;
}

uint64_t issued()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_issued;
}

} // namespace RemoteRoad
