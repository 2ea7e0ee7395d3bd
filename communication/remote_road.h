#pragma once
// The road of remote requests to the controller, and completion that means
// applied.
//
// The SCPI worker hands each setting to the controller's thread as a queued
// request. Applying it rarely ends there: the channel's slot queues the
// channel's re-apply (ChannelExe), a choice of wave or mode makes a round
// trip through the channel page in the GUI thread and comes back, a file
// load queues the channel again. Each of those follow-ups is a "hop" posted
// through chain(), which counts it until it has run.
//
// Completion is explicit: after handing over the requests of a command the
// worker calls issue(), which numbers that point (sequence numbers grow by
// one per issue) and posts a check behind the requests. The check runs on
// the controller's thread; when no hop is outstanding and none has started
// or ended since the check was posted, everything handed over before it has
// been applied with all its follow-ups, and the point's number is marked
// applied. A setter, "*OPC?", "*OPC" and "*WAI" wait for the number issued
// before them; a wait that times out reports it, and the road keeps moving
// (the check still completes later).
//
// Threads: issue() and wait() are called by the SCPI worker (any thread may
// call them); chain() by whichever thread starts a hop (mostly the
// controller's); the checks run on the attached controller's thread. All
// state is guarded by one mutex inside.
#include <cstdint>
#include <functional>

class QObject;

namespace RemoteRoad {

// The object whose thread applies remote requests (the controller). Null
// detaches: waiters are released (with false) and nothing is counted.
void attach(QObject* controller);
// Detaches when controller is the attached one (a controller going away).
void detach(QObject* controller);

// Posts fn to run in obj's thread as a hop of an apply in progress; the hop
// counts as outstanding until fn has returned. Without obj, fn is dropped.
void chain(QObject* obj, std::function<void()> fn);

// A blocking call into another thread (the screens) made while applying:
// what that thread posts back meanwhile lands behind a check already
// queued, so the call counts as a hop from begin to end.
void beginHop();
void endHop();

// Numbers the point after the requests handed over so far and posts its
// check. Returns the number (0 when no controller is attached: nothing to
// wait for).
uint64_t issue();

// Waits until the point seq has been applied, at most timeoutMs. True when
// it has (or seq is 0); false on a timeout or when the controller went away.
bool wait(uint64_t seq, int timeoutMs);

// issue() then wait(): everything handed over before has been applied.
// Called on the controller's own thread it returns true at once (the caller
// is itself part of the apply).
bool settle(int timeoutMs);

// Notes that a request was handed over; requestsOutstanding() stays true
// until a later settle() or wait() has succeeded. Lets the worker wait
// after a command that handed something over without waiting itself.
void noteRequest();
bool requestsOutstanding();

// Runs on the controller's thread at every check, before the point it may
// mark applied is marked: whatever the SCPI side reads instead of the
// controller's own state (a published copy) is brought up to date there, so
// a command that waited for its point reads what it set. Installed once at
// start-up, before the worker starts; null removes it.
void setApplyHook(void (*hook)());

// The highest point applied, and the last point issued (diagnostics, tests).
uint64_t applied();
uint64_t issued();

} // namespace RemoteRoad
