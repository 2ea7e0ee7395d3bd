#include "simboard/usbtmc_host.h"
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <cerrno>
#include <cstring>
#include <QDir>
#include "simboard/usbtmc_socket.h"

UsbtmcHost::~UsbtmcHost() { disconnect(); }

bool UsbtmcHost::connectTo(const QString& root, int timeoutMs)
{
    disconnect();
    busy_ = false;
    const QByteArray path = QDir(root).absoluteFilePath("dev/usbtmc0").toLocal8Bit();
    sockaddr_un addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    QElapsedTimer t;
    t.start();
    for (;;) {
        const int s = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        if (s < 0)
            return false;
        if (::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            // The device greets the host it takes; a device busy with another
            // host says so and lets go.
            const int left = int(qMax<qint64>(timeoutMs - t.elapsed(), 1000));
            pollfd p {s, POLLIN, 0};
            char greeting[32];
            ssize_t n = -1;
            if (poll(&p, 1, left) > 0)
                n = recv(s, greeting, sizeof greeting, 0);
            if (n > 0 && QByteArray(greeting, int(n)) == USBTMC_SIM_ATTACHED) {
                fd_ = s;
                return true;
            }
            busy_ = n > 0 && QByteArray(greeting, int(n)) == USBTMC_SIM_BUSY;
            close(s);
            return false;
        }
        close(s);
        if (t.elapsed() > timeoutMs)
            return false;
        usleep(50000);
    }
}

void UsbtmcHost::disconnect()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

uint8_t UsbtmcHost::nextTag()
{
    // bTag runs 1..255; 0 is not a valid tag.
    tag_ = uint8_t(tag_ % 255 + 1);
    return tag_;
}

static void putLe32(QByteArray& b, int at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A bulk-out header: MsgID, bTag, its inverse, transferSize, attributes and
// (requests only) the terminating character.
static QByteArray bulkHeader(uint8_t msgId, uint8_t tag, uint32_t transferSize, uint8_t attributes, uint8_t term)
{
    QByteArray h(12, '\0');
    h[0] = char(msgId);
    h[1] = char(tag);
    h[2] = char(uint8_t(~tag));
    putLe32(h, 4, transferSize);
    h[8] = char(attributes);
    h[9] = char(term);
    return h;
}

QByteArray UsbtmcHost::msgOutHeader(uint8_t tag, uint32_t transferSize, bool eom)
{
    return bulkHeader(1, tag, transferSize, eom ? 1 : 0, 0);
}

QByteArray UsbtmcHost::requestHeader(uint8_t tag, uint32_t transferSize, bool termChar, uint8_t term)
{
    return bulkHeader(2, tag, transferSize, termChar ? 2 : 0, termChar ? term : 0);
}

bool UsbtmcHost::sendRaw(const QByteArray& bytes, int packetSize)
{
    if (fd_ < 0)
        return false;
    int done = 0;
    while (done < bytes.size()) {
        const int n = qMin(packetSize, bytes.size() - done);
        const ssize_t w = send(fd_, bytes.constData() + done, size_t(n), MSG_NOSIGNAL);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

bool UsbtmcHost::sendMessage(const QByteArray& payload, bool eom, int packetSize)
{
    QByteArray t = msgOutHeader(nextTag(), uint32_t(payload.size()), eom) + payload;
    while (t.size() % 4)
        t.append('\0');
    return sendRaw(t, packetSize);
}

static int waitReadable(int fd, int timeoutMs)
{
    pollfd p {fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs);
}

UsbtmcHost::Reply UsbtmcHost::request(uint32_t size, int timeoutMs)
{
    Reply r;
    const uint8_t tag = nextTag();
    if (!sendRaw(requestHeader(tag, size)))
        return r;
    QByteArray frame;
    int expected = -1;
    while (expected < 0 || frame.size() < expected) {
        if (waitReadable(fd_, timeoutMs) <= 0)
            return r;
        char buf[65536];
        const ssize_t n = recv(fd_, buf, sizeof buf, 0);
        if (n <= 0)
            return r;
        frame.append(buf, int(n));
        if (expected < 0 && frame.size() >= 12) {
            uint32_t ts = 0;
            for (int i = 0; i < 4; ++i)
                ts |= uint32_t(uint8_t(frame[4 + i])) << (8 * i);
            expected = 12 + int((ts + 3) & ~3u);
        }
    }
    r.tag = uint8_t(frame[1]);
    r.tagInverse = uint8_t(frame[2]);
    for (int i = 0; i < 4; ++i)
        r.transferSize |= uint32_t(uint8_t(frame[4 + i])) << (8 * i);
    r.eom = uint8_t(frame[8]) & 1;
    r.frameSize = frame.size();
    r.ok = uint8_t(frame[0]) == 2 && r.tag == tag;
    r.data = frame.mid(12, int(r.transferSize));
    return r;
}

QByteArray UsbtmcHost::query(const QByteArray& message, uint32_t chunk, bool* ok)
{
    QByteArray out;
    bool good = sendMessage(message, true);
    while (good) {
        const Reply r = request(chunk);
        if (!r.ok) {
            good = false;
            break;
        }
        out += r.data;
        if (r.eom)
            break;
    }
    if (ok)
        *ok = good;
    return out;
}

bool UsbtmcHost::closedByDevice(int timeoutMs)
{
    if (fd_ < 0)
        return true;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (waitReadable(fd_, 100) > 0) {
            char c;
            const ssize_t n = recv(fd_, &c, 1, MSG_DONTWAIT);
            if (n == 0)
                return true;
        }
    }
    return false;
}
