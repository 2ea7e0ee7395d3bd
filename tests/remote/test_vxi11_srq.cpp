// Service requests over the VXI-11 interrupt channel, received by a small
// server of the interrupt program; links a client host may hold.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstring>
#include <string>
#include "communication/ETHLXI/vxi11_client.h"
#include "communication/ETHLXI/vxi11_intr.h"
#include "communication/ETHLXI/vxi11_links.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "tests/remote/remote_rig.h"

namespace {

// The controller's side of the interrupt channel on 127.0.0.1: next()
// decodes the next device_intr_srq call and gives its handle.
class IntrServer {
public:
    explicit IntrServer(bool udp) : udp_(udp)
    {
        fd_ = socket(AF_INET, udp ? SOCK_DGRAM : SOCK_STREAM, 0);
        sockaddr_in a{};
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
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, 5000) == 1;
    }
    bool udp_;
    int fd_ = -1;
    int conn_ = -1;
    unsigned port_ = 0;
};

struct SrqCase {
    const char* core;  // transport of the core channel
    const char* intr;  // family of the interrupt channel
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
                         ::testing::Values(SrqCase{"tcp", "tcp"}, SrqCase{"tcp", "udp"}, SrqCase{"udp", "udp"}));

} // namespace
