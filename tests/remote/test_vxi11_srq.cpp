// Service requests over the VXI-11 interrupt channel, received by a small
// server of the interrupt program; links a client host may hold.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>
#include "communication/ETHLXI/vxi11_client.h"
#include "communication/ETHLXI/vxi11_intr.h"
#include "communication/ETHLXI/vxi11_links.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/ETHLXI/vxi11_tcp.h"
#include "communication/LAN/scpi_raw.h"
#include "communication/scpi_msg_session.h"
#include "communication/tcp_listener.h"
#include "tests/remote/remote_rig.h"

namespace {

// The controller's side of the interrupt channel on 127.0.0.1: next()
// decodes the next device_intr_srq call and gives its handle.
class IntrServer {
public:
    explicit IntrServer(bool udp) : udp_(udp)
    {
        fd_ = socket(AF_INET, udp ? SOCK_DGRAM : SOCK_STREAM, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        if (!udp)
            listen(fd_, 1);
    }
    ~IntrServer()
    {
        if (conn_ >= 0)
            close(conn_);
        close(fd_);
    }
    unsigned port() const { return port_; }

    std::string next()
    {
        char buf[512];
        ssize_t n = 0;
        if (udp_) {
            if (!readable(fd_))
                return "<nothing>";
            n = recv(fd_, buf, sizeof buf, 0);
        } else {
            if (conn_ < 0 && readable(fd_))
                conn_ = accept(fd_, nullptr, nullptr);
            uint32_t mark = 0;
            if (conn_ < 0 || !readable(conn_) || recv(conn_, &mark, 4, MSG_WAITALL) != 4)
                return "<nothing>";
            n = recv(conn_, buf, std::min<size_t>(ntohl(mark) & 0x7FFFFFFF, sizeof buf), MSG_WAITALL);
        }
        uint32_t w[11] = {};
        if (n < ssize_t(sizeof w))
            return "<short>";
        std::memcpy(w, buf, sizeof w);
        // xid, CALL, RPC 2, program, version, procedure, two empty auths, handle length
        EXPECT_EQ(ntohl(w[1]), 0u);
        EXPECT_EQ(ntohl(w[2]), 2u);
        EXPECT_EQ(ntohl(w[3]), unsigned(DEVICE_INTR));
        EXPECT_EQ(ntohl(w[4]), 1u);
        EXPECT_EQ(ntohl(w[5]), 30u);
        const size_t len = ntohl(w[10]);
        return len <= size_t(n) - sizeof w ? std::string(buf + sizeof w, len) : "<bad handle>";
    }

private:
    static bool readable(int fd)
    {
        pollfd p {fd, POLLIN, 0};
        return poll(&p, 1, 5000) == 1;
    }
    bool udp_;
    int fd_ = -1;
    int conn_ = -1;
    unsigned port_ = 0;
};

struct SrqCase {
    const char* core; // transport of the core channel
    const char* intr; // family of the interrupt channel
};

class Vxi11Srq : public ::testing::TestWithParam<SrqCase> {};

TEST_P(Vxi11Srq, RequestReachesOnlyEnabledLinksWithTheirHandle)
{
    ASSERT_TRUE(RemoteRig::get().vxiUp());
    Vxi11Client c;
    ASSERT_TRUE(c.open("127.0.0.1", GetParam().core));
    const long a = c.createLink("inst0").lid, b = c.createLink("inst0").lid;
    IntrServer srv(std::strcmp(GetParam().intr, "udp") == 0);
    EXPECT_EQ(c.destroyIntrChan(), VXI11_ERR_NO_CHANNEL);
    ASSERT_EQ(c.createIntrChan(INADDR_LOOPBACK, srv.port(), GetParam().intr), 0);
    EXPECT_EQ(c.createIntrChan(INADDR_LOOPBACK, srv.port(), GetParam().intr), VXI11_ERR_CHANNEL_EXISTS);
    // The event status bit of *OPC, enabled into the status byte's ESB,
    // which *SRE turns into a request for service.
    const auto raise = [&] {
        c.write(a, "*CLS;*ESE 1;*SRE 32;*OPC\n");
        EXPECT_EQ(c.query(a, "*OPC?\n").trimmed(), "1");
    };
    // b enabled and disabled again: only a calls. A call for b would come
    // before the next one of a on the same channel.
    EXPECT_EQ(c.enableSrq(b, true, "link b"), 0);
    EXPECT_EQ(c.enableSrq(b, false, ""), 0);
    EXPECT_EQ(c.enableSrq(a, true, "link a"), 0);
    raise();
    EXPECT_EQ(srv.next(), "link a");
    EXPECT_EQ(c.enableSrq(a, true, std::string(40, 'h').c_str()), 0);
    raise();
    EXPECT_EQ(srv.next(), std::string(40, 'h'));
    EXPECT_EQ(c.destroyIntrChan(), 0);
    EXPECT_EQ(c.enableSrq(99999, true, "x"), VXI11_ERR_INVALID_LINK);
    c.write(a, "*SRE 0;*ESE 0;*CLS\n");
    c.destroyLink(a);
    c.destroyLink(b);
}

INSTANTIATE_TEST_SUITE_P(Channel, Vxi11Srq,
                         ::testing::Values(SrqCase {"tcp", "tcp"}, SrqCase {"tcp", "udp"}, SrqCase {"udp", "udp"}));

// One host cannot take every link: 127.0.0.2 over three connections gets
// its share and no more. Then the lockout of old: 128 links over UDP that
// are never destroyed and a silent TCP connection in every slot; a fresh
// client still gets its answer.
TEST(Vxi11Lockout, NoHostAndNoForgottenLinkOrSilentSocketLocksOthersOut)
{
    ASSERT_TRUE(RemoteRig::get().vxiUp());
    signal(SIGPIPE, SIG_IGN);
    Vxi11Client host2[3];
    std::vector<long> granted;
    for (int i = 0; i < VXI11_MAX_LINKS; ++i) {
        Vxi11Client& c = host2[i % 3];
        if (i < 3) {
            ASSERT_TRUE(c.openFrom("127.0.0.1", unsigned(vxi11_abort_port()), "127.0.0.2"));
        }
        const Vxi11Client::Link l = c.createLink("inst0");
        ASSERT_TRUE(l.rpcOk);
        if (l.error == 0)
            granted.push_back(l.lid);
        else
            EXPECT_EQ(l.error, VXI11_ERR_OUT_OF_RESOURCES);
    }
    EXPECT_EQ(int(granted.size()), VXI11_MAX_LINKS_PER_PEER);

    Vxi11Client udp;
    ASSERT_TRUE(udp.open("127.0.0.1", "udp"));
    int udpGranted = 0;
    for (int i = 0; i < 128; ++i)
        udpGranted += udp.createLink("inst0").error == 0;
    EXPECT_EQ(udpGranted, 128); // the host's oldest UDP links gave way
    std::vector<int> silent;
    for (int i = 0; i < VXI11_MAX_CONNECTIONS; ++i) {
        silent.push_back(RemoteRig::connectLoopback(vxi11_abort_port()));
        ASSERT_GE(silent.back(), 0);
    }
    Vxi11Client fresh;
    ASSERT_TRUE(fresh.open("127.0.0.1", "tcp"));
    const Vxi11Client::Link l = fresh.createLink("inst0");
    ASSERT_EQ(l.error, 0);
    EXPECT_EQ(fresh.query(l.lid, "*IDN?\n"), RemoteRig::idn());
    fresh.destroyLink(l.lid);
    for (int s : silent)
        close(s);
}

// Unfinished messages of every client share one limit: with 6 MiB of a
// VXI-11 message held without END, a raw-socket client whose block would
// pass 8 MiB gets -363 and loses its connection; the bytes are given back.
TEST(PartialLimit, RawClientOverTheSharedLimitIsClosedWith363)
{
    ASSERT_TRUE(RemoteRig::get().vxiUp());
    signal(SIGPIPE, SIG_IGN);
    const long long before = scpi_partial_bytes();
    scpi_partial_set_limit(before + 8 * 1024 * 1024);
    const int port = scpi_raw_start(0, true);
    ASSERT_GT(port, 0);
    Vxi11Client v;
    ASSERT_TRUE(v.open("127.0.0.1", "tcp"));
    const long held = v.createLink("inst0").lid, errs = v.createLink("inst0").lid;
    EXPECT_EQ(v.query(errs, "*CLS;*OPC?\n").trimmed(), "1");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(v.write(held, QByteArray(1024 * 1024, 'x'), false).error, 0);

    const int s = RemoteRig::connectLoopback(port);
    ASSERT_GE(s, 0);
    const std::string block = "SYSTem:ERRor? #74194304" + std::string(4194304, 'y');
    for (size_t at = 0; at < block.size();) {
        const ssize_t n = send(s, block.data() + at, block.size() - at, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        at += size_t(n);
    }
    pollfd p {s, POLLIN, 0};
    char c;
    ASSERT_EQ(poll(&p, 1, 10000), 1);
    EXPECT_LE(recv(s, &c, 1, 0), 0); // closed by the instrument
    close(s);
    EXPECT_TRUE(v.query(errs, "SYSTem:ERRor?\n").startsWith("-363"));
    v.clear(held);
    EXPECT_EQ(scpi_partial_bytes(), before);
    scpi_partial_set_limit(0);
    v.destroyLink(held);
    v.destroyLink(errs);
}

// A connection in the middle of a call keeps its slot, however long the call
// takes: with every slot taken a newcomer is turned away instead of the busy
// client losing its connection mid-call; once the reply has gone, the idle
// client is the one that gives way.
std::atomic<int> g_calls {0};
std::atomic<bool> g_release {false};
TcpListener* g_slowListener = nullptr;

void slowServe(int fd, long number)
{
    char c;
    while (recv(fd, &c, 1, 0) == 1) {
        g_slowListener->touch(number);
        g_calls++;
        while (!g_release)
            usleep(1000);
        send(fd, &c, 1, MSG_NOSIGNAL);
        g_slowListener->done(number);
    }
    close(fd);
}

TEST(ListenerSlots, ABusyConnectionIsNeverCutForANewcomer)
{
    signal(SIGPIPE, SIG_IGN);
    // Never destroyed: its detached threads may outlive the test.
    TcpListener& listener = *new TcpListener(1, slowServe);
    g_slowListener = &listener;
    const int port = listener.start(0, true);
    ASSERT_GT(port, 0);
    const auto closedWithin = [](int fd, int ms) {
        pollfd p {fd, POLLIN, 0};
        char c;
        return poll(&p, 1, ms) == 1 && recv(fd, &c, 1, 0) == 0;
    };
    const int busy = RemoteRig::connectLoopback(port);
    ASSERT_EQ(send(busy, "?", 1, 0), 1);
    while (g_calls == 0)
        usleep(1000);
    const int turnedAway = RemoteRig::connectLoopback(port);
    EXPECT_TRUE(closedWithin(turnedAway, 5000));
    g_release = true;
    char c = 0;
    EXPECT_EQ(recv(busy, &c, 1, 0), 1);
    EXPECT_EQ(c, '?');
    const int next = RemoteRig::connectLoopback(port);
    EXPECT_TRUE(closedWithin(busy, 5000));
    listener.stop();
    for (int fd : {busy, turnedAway, next})
        close(fd);
}

} // namespace
