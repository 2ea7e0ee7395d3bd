// ornav-sim commands that reach the simulated FPGA of a running ornav72:
// peek, poke, key, stream and log. Arguments are checked here, so a wrong
// address or count is refused before anything is sent.
#include "tools/ornav-sim/simcommands.h"
#include "simboard/simfpga.h"
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
const int kTimeoutMs = 10000;

int usageError(const char* text)
{
    std::fprintf(stderr, "ornav-sim: %s\n", text);
    return 2;
}

bool number(const QString& t, quint64 max, quint64* v) { return SimFpga::parseNumber(t, max, v); }

} // namespace

// Sends one request to the program serving the board at root and prints its
// answer (or, with capture, hands it back). 2 when no program is running
// there, 1 when it refuses.
int simRequest(const QString& root, const QString& line, QByteArray* capture)
{
    const QByteArray file = QFile::encodeName(root + SimFpga::kSocketPath);
    sockaddr_un addr;
    std::memset(&addr, 0, sizeof(addr));
    addr.sun_family = AF_UNIX;
    if (size_t(file.size()) >= sizeof(addr.sun_path))
        return usageError("the board root path is too long to reach the program");
    std::memcpy(addr.sun_path, file.constData(), size_t(file.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        if (fd >= 0)
            ::close(fd);
        std::fprintf(stderr, "ornav-sim: no ornav72 is running on the simulated board at %s\n", qPrintable(root));
        return 2;
    }
    const QByteArray out = line.toUtf8() + '\n';
    if (::send(fd, out.constData(), size_t(out.size()), MSG_NOSIGNAL) != out.size()) {
        ::close(fd);
        std::fprintf(stderr, "ornav-sim: lost the connection to ornav72\n");
        return 1;
    }
    QByteArray reply;
    char buf[65536];
    for (;;) {
        pollfd pf {fd, POLLIN, 0};
        if (::poll(&pf, 1, kTimeoutMs) <= 0)
            break;
        const ssize_t n = ::recv(fd, buf, sizeof(buf), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        reply.append(buf, int(n));
    }
    ::close(fd);
    if (reply.startsWith("ok\n")) {
        if (capture)
            *capture = reply.mid(3);
        else
            std::fwrite(reply.constData() + 3, 1, size_t(reply.size() - 3), stdout);
        return 0;
    }
    if (reply.startsWith("error ")) {
        std::fprintf(stderr, "ornav-sim: %s", reply.constData() + 6);
        return 1;
    }
    std::fprintf(stderr, "ornav-sim: no answer from ornav72\n");
    return 1;
}

namespace {
int request(const QString& root, const QString& line) { return simRequest(root, line, nullptr); }
} // namespace

int simCmdPeek(const QString& root, const QStringList& args)
{
    quint64 addr = 0;
    quint64 count = 1;
    if (args.isEmpty() || args.size() > 2)
        return usageError("usage: peek ADDR [COUNT]");
    if (!number(args[0], 0xFFFF, &addr))
        return usageError("peek: ADDR must be a register address 0..0xffff (decimal or 0x hex)");
    if (args.size() == 2 && (!number(args[1], 0x10000, &count) || count < 1))
        return usageError("peek: COUNT must be a number of bytes, at least 1");
    if (addr + count > 0x10000)
        return usageError("peek: ADDR + COUNT runs past the end of the register space (0xffff)");
    return request(root, QStringLiteral("peek %1 %2").arg(addr).arg(count));
}

int simCmdPoke(const QString& root, const QStringList& args)
{
    quint64 addr = 0;
    if (args.size() < 2)
        return usageError("usage: poke ADDR BYTE...");
    if (!number(args[0], 0xFFFF, &addr))
        return usageError("poke: ADDR must be a register address 0..0xffff (decimal or 0x hex)");
    QStringList bytes;
    for (int i = 1; i < args.size(); ++i) {
        quint64 b = 0;
        if (!number(args[i], 255, &b))
            return usageError(qPrintable(QStringLiteral("poke: '%1' is not a byte 0..255").arg(args[i])));
        bytes << QString::number(b);
    }
    if (addr + quint64(bytes.size()) > 0x10000)
        return usageError("poke: the bytes run past the end of the register space (0xffff)");
    return request(root, QStringLiteral("poke %1 %2").arg(addr).arg(bytes.join(' ')));
}

int simCmdKey(const QString& root, const QStringList& args)
{
    quint64 code = 0;
    if (args.size() != 1 || !number(args[0], 255, &code))
        return usageError("usage: key CODE (a key code 0..255)");
    return request(root, QStringLiteral("key %1").arg(code));
}

int simCmdStream(const QString& root, const QStringList& args)
{
    if (args.size() != 1 || args[0].contains(' '))
        return usageError("usage: stream NAME (table:CH:KIND, list:CH, deep:CH, digital, digital:flag)");
    return request(root, QStringLiteral("stream %1").arg(args[0]));
}

int simCmdLog(const QString& root, const QStringList& args)
{
    if (args.size() > 1 || (args.size() == 1 && args[0] != "--clear"))
        return usageError("usage: log [--clear]");
    return request(root, args.isEmpty() ? QStringLiteral("log") : QStringLiteral("log --clear"));
}
