#include "communication/remote_stop.h"
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdint>

namespace {
std::atomic<bool> g_stopping {false};

// One event counter for the process, made on first use (thread-safe static
// initialisation); it stays readable once written, so every waiter wakes.
int stopFd()
{
    static const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return fd;
}
} // namespace

void remote_stop_request()
{
    if (g_stopping.exchange(true))
        return;
    const uint64_t one = 1;
    const ssize_t r = ::write(stopFd(), &one, sizeof one);
    (void)r;
}

bool remote_stopping() { return g_stopping.load(); }

int remote_stop_fd() { return stopFd(); }

bool remote_stop_sleep_ms(int ms) { return remote_stop_poll(-1, 0, ms) < 0; }

int remote_stop_poll(int fd, short events, int timeoutMs)
{
    for (;;) {
        if (remote_stopping())
            return -1;
        pollfd p[2] = {{stopFd(), POLLIN, 0}, {fd, events, 0}};
        const int n = poll(p, fd >= 0 ? 2 : 1, timeoutMs);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (p[0].revents)
            return -1;
        return n == 0 ? 0 : p[1].revents;
    }
}
