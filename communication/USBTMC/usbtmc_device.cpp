#include "usbtmc_device.h"
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "platformroot.h"

static const char kDevicePath[] = "/dev/usbtmc0";
static int g_fd = -1;
static int g_listen = -1;

// Packets of the simulated bulk-in endpoint stay below the socket's limit.
static const int kSimPacket = 65536;

static int simListen()
{
    if (g_listen >= 0)
        return g_listen;
    const QByteArray path = PlatformRoot::cpath(kDevicePath);
    sockaddr_un addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof addr.sun_path) {
        fprintf(stderr, "[usb-ERRO]:simulated device path too long: %s\n", path.constData());
        return -1;
    }
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    const int s = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (s < 0)
        return -1;
    unlink(path.constData());
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || listen(s, 1) < 0) {
        close(s);
        return -1;
    }
    g_listen = s;
    return s;
}

int usbtmc_dev_open()
{
    if (g_fd >= 0)
        return g_fd;
    if (!PlatformRoot::simulated()) {
        g_fd = open(PlatformRoot::cpath(kDevicePath).constData(), O_RDWR | O_CLOEXEC);
        return g_fd;
    }
    const int s = simListen();
    if (s < 0)
        return -1;
    int c;
    do {
        c = accept4(s, nullptr, nullptr, SOCK_CLOEXEC);
    } while (c < 0 && errno == EINTR);
    if (c >= 0 && send(c, USBTMC_SIM_ATTACHED, sizeof USBTMC_SIM_ATTACHED - 1, MSG_NOSIGNAL) < 0) {
        close(c);
        c = -1;
    }
    g_fd = c;
    return g_fd;
}

// Like a real USB device port, the gadget serves one host at a time: a
// second host is told so at once and let go.
// Called when the listening socket is readable, so the accept does not wait.
static void refuseWaitingHost()
{
    const int c = accept4(g_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (c < 0)
        return;
    send(c, USBTMC_SIM_BUSY, sizeof USBTMC_SIM_BUSY - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    close(c);
}

int usbtmc_dev_read(void* buf, int len)
{
    if (g_fd < 0)
        return -1;
    if (PlatformRoot::simulated() && g_listen >= 0) {
        for (;;) {
            pollfd p[2] = {{g_fd, POLLIN, 0}, {g_listen, POLLIN, 0}};
            if (poll(p, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            // The connected host first: when it has just gone, the host
            // waiting behind it is the next one, not a second one.
            if (p[0].revents)
                break;
            if (p[1].revents & POLLIN)
                refuseWaitingHost();
        }
    }
    ssize_t n;
    do {
        n = read(g_fd, buf, size_t(len));
    } while (n < 0 && errno == EINTR);
    return int(n);
}

int usbtmc_dev_write(const void* buf, int len)
{
    if (g_fd < 0)
        return -1;
    const char* p = static_cast<const char*>(buf);
    const int piece = PlatformRoot::simulated() ? kSimPacket : len;
    int done = 0;
    while (done < len) {
        const int n = len - done < piece ? len - done : piece;
        const ssize_t w = PlatformRoot::simulated() ? send(g_fd, p + done, size_t(n), MSG_NOSIGNAL)
                                                    : write(g_fd, p + done, size_t(n));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        done += int(w);
    }
    return done;
}

void usbtmc_dev_close()
{
    if (g_fd >= 0)
        close(g_fd);
    g_fd = -1;
}

bool usbtmc_dev_is_open()
{
    return g_fd >= 0;
}
