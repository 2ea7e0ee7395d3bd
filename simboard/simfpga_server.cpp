// Serves the simulated FPGA of a running program to ornav-sim: one request
// line per connection on a Unix socket under the board root, answered and
// closed. The socket disappears with the program; a stale one left by a
// crash refuses connections, so ornav-sim can tell nobody is running.
#include "simboard/simfpga.h"
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
const int kMaxRequest = 4096;
const int kClientTimeoutMs = 2000;

bool fillAddress(const QByteArray& file, sockaddr_un* addr)
{
    std::memset(addr, 0, sizeof(*addr));
    addr->sun_family = AF_UNIX;
    if (file.isEmpty() || size_t(file.size()) >= sizeof(addr->sun_path))
        return false;
    std::memcpy(addr->sun_path, file.constData(), size_t(file.size()));
    return true;
}

void sendAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    size_t left = size_t(data.size());
    while (left > 0) {
        pollfd pf {fd, POLLOUT, 0};
        if (::poll(&pf, 1, kClientTimeoutMs) <= 0)
            return;
        const ssize_t n = ::send(fd, p, left, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        p += n;
        left -= size_t(n);
    }
}

QByteArray readLine(int fd)
{
    QByteArray line;
    char buf[512];
    while (line.size() < kMaxRequest && !line.contains('\n')) {
        pollfd pf {fd, POLLIN, 0};
        if (::poll(&pf, 1, kClientTimeoutMs) <= 0)
            break;
        const ssize_t n = ::recv(fd, buf, sizeof(buf), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        line.append(buf, int(n));
    }
    const int nl = line.indexOf('\n');
    return nl >= 0 ? line.left(nl) : line;
}
} // namespace

bool SimFpga::startServer(const QString& socketFile)
{
    stopServer();
    const QByteArray file = QFile::encodeName(socketFile);
    sockaddr_un addr;
    if (!fillAddress(file, &addr)) {
        qWarning("simulated FPGA: socket path too long: %s", file.constData());
        return false;
    }
    QDir().mkpath(QFileInfo(socketFile).absolutePath());

    // A program already serving this board answers; leave it alone.
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe >= 0) {
        const bool alive = ::connect(probe, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
        ::close(probe);
        if (alive) {
            qWarning("simulated FPGA: another program serves %s", file.constData());
            return false;
        }
    }
    ::unlink(file.constData());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::listen(fd, 8) != 0 ||
        ::pipe2(m_wake, O_CLOEXEC) != 0) {
        qWarning("simulated FPGA: cannot serve %s: %s", file.constData(), std::strerror(errno));
        ::close(fd);
        ::unlink(file.constData());
        m_wake[0] = m_wake[1] = -1;
        return false;
    }
    m_listenFd = fd;
    m_socketFile = file;
    m_server = std::thread(&SimFpga::serve, this);
    return true;
}

void SimFpga::serve()
{
    for (;;) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (!(fds[0].revents & POLLIN))
            continue;
        const int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const QByteArray line = readLine(client);
        sendAll(client, handleRequest(line));
        ::close(client);
    }
}

void SimFpga::stopServer()
{
    if (!m_server.joinable())
        return;
    const char c = 1;
    ssize_t r = ::write(m_wake[1], &c, 1);
    (void)r;
    m_server.join();
    ::close(m_listenFd);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
    m_listenFd = m_wake[0] = m_wake[1] = -1;
    ::unlink(m_socketFile.constData());
    m_socketFile.clear();
}

bool SimFpga::serving() const { return m_server.joinable(); }
