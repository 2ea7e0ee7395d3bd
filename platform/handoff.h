#pragma once
// Hand-offs between threads that go through Qt: a queued call, a blocking
// queued call, a QSemaphore. Qt orders the two sides (the event queue's lock,
// the semaphore), but the Qt libraries are not built with the thread
// sanitizer, so in a sanitizer build that order is invisible and every value
// handed over looks like a data race. These marks tell the sanitizer about
// the order Qt already gives: handoffSend(key) before posting (or before
// releasing the semaphore), handoffTake(key) where the other side starts (or
// after the wait succeeded), with the same key (the shared state's address).
// They do nothing in any other build.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
inline void handoffSend(const void* key) { __tsan_release(const_cast<void*>(key)); }
inline void handoffTake(const void* key) { __tsan_acquire(const_cast<void*>(key)); }
#else
inline void handoffSend(const void*) {}
inline void handoffTake(const void*) {}
#endif
