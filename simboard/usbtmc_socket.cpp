#include "simboard/usbtmc_socket.h"
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "communication/remote_stop.h"
#include "platform/platformroot.h"
#include "platform/logging.h"

static const char kDevicePath[] = "/dev/usbtmc0";
// Packets of the simulated bulk-in endpoint stay below the socket's limit.
static const int kSimPacket = 65536;

SocketUsbtmcDevice::~SocketUsbtmcDevice()
{
    close();
    if (m_listen >= 0)
        ::close(m_listen);
}

int SocketUsbtmcDevice::listenSocket()
{
    if (m_listen >= 0)
        return m_listen;
    const QByteArray path = PlatformRoot::cpath(kDevicePath);
    sockaddr_un addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof addr.sun_path) {
        qCCritical(lcUsb, "simulated device path too long: %s", path.constData());
        return -1;
    }
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    const int s = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (s < 0)
        return -1;
    unlink(path.constData());
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || listen(s, 1) < 0) {
        ::close(s);
        return -1;
    }
    m_listen = s;
    return s;
}

int SocketUsbtmcDevice::open()
{
    if (m_fd >= 0)
        return m_fd;
    const int s = listenSocket();
    if (s < 0)
        return -1;
    // Waits for a host or the end of the program.
    if (remote_stop_poll(s, POLLIN, -1) <= 0)
        return -1;
    int c;
    do {
        c = accept4(s, nullptr, nullptr, SOCK_CLOEXEC);
    } while (c < 0 && errno == EINTR);
    if (c >= 0 && send(c, USBTMC_SIM_ATTACHED, sizeof USBTMC_SIM_ATTACHED - 1, MSG_NOSIGNAL) < 0) {
        ::close(c);
        c = -1;
    }
    m_fd = c;
    return m_fd;
}

// Called when the listening socket is readable, so the accept does not wait.
void SocketUsbtmcDevice::refuseWaitingHost()
{
    const int c = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (c < 0)
        return;
    send(c, USBTMC_SIM_BUSY, sizeof USBTMC_SIM_BUSY - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(c);
}

int SocketUsbtmcDevice::read(void* buf, int len)
{
    if (m_fd < 0)
        return -1;
    if (m_listen >= 0) {
        for (;;) {
            // The end of the program wakes the wait too.
            pollfd p[3] = {{m_fd, POLLIN, 0}, {m_listen, POLLIN, 0}, {remote_stop_fd(), POLLIN, 0}};
            if (poll(p, 3, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            if (p[2].revents)
                return -1;
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
        n = ::read(m_fd, buf, size_t(len));
    } while (n < 0 && errno == EINTR);
    return int(n);
}

int SocketUsbtmcDevice::write(const void* buf, int len)
{
    if (m_fd < 0)
        return -1;
    const char* p = static_cast<const char*>(buf);
    int done = 0;
    while (done < len) {
        const int n = len - done < kSimPacket ? len - done : kSimPacket;
        const ssize_t w = send(m_fd, p + done, size_t(n), MSG_NOSIGNAL);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        done += int(w);
    }
    return done;
}

void SocketUsbtmcDevice::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
