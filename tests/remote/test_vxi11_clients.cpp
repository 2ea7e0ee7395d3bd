// Several VXI-11 clients at once over TCP, and clients that misbehave: none
// stalls or ends the server, and none can make it hold unbounded memory.
// That each client reads only its own replies is checked with twenty real
// pyvisa clients against the running program (RealClients).
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <rpc/pmap_clnt.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>
#include "communication/remote_road.h"
#include "communication/ETHLXI/vxi11_client.h"
#include "communication/ETHLXI/vxi11_links.h"
#include "communication/SCPI/scpi.h"
#include "tests/remote/remote_rig.h"
#include "communication/scpi_msg_adpt.h"

namespace {

const uint32_t kDeviceCore = 395183;

void resetPeakRss()
{
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

int coreTcpPort()
{
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return pmap_getport(&a, kDeviceCore, 1, IPPROTO_TCP);
}

int connectCore()
{
    const int port = coreTcpPort();
    return port > 0 ? RemoteRig::connectLoopback(port) : -1;
}

void put32(QByteArray& b, uint32_t v)
{
    const uint32_t n = htonl(v);
    b.append(reinterpret_cast<const char*>(&n), 4);
}

// An RPC call header of DEVICE_CORE version 1 with AUTH_NONE.
QByteArray callHeader(uint32_t xid, uint32_t proc)
{
    QByteArray b;
    for (uint32_t v : {xid, 0u, 2u, kDeviceCore, 1u, proc, 0u, 0u, 0u, 0u})
        put32(b, v);
    return b;
}

bool recvAll(int s, char* p, size_t n)
{
    while (n > 0) {
        const ssize_t r = recv(s, p, n, 0);
        if (r <= 0)
            return false;
        p += r;
        n -= size_t(r);
    }
    return true;
}

// Reads one reply record; returns its body.
QByteArray readReply(int s)
{
    uint32_t mark = 0;
    if (!recvAll(s, reinterpret_cast<char*>(&mark), 4))
        return QByteArray();
    QByteArray body(int(ntohl(mark) & 0x7FFFFFFF), '\0');
    if (!recvAll(s, body.data(), size_t(body.size())))
        return QByteArray();
    return body;
}

uint32_t word(const QByteArray& b, int index)
{
    uint32_t v = 0;
    std::memcpy(&v, b.constData() + 4 * index, 4);
    return ntohl(v);
}

class Vxi11Clients : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig = &RemoteRig::get();
        ASSERT_TRUE(rig->vxiUp()) << "VXI-11 registration failed: is rpcbind running?";
        rig->clearDelivered();
    }
    // A client with a fresh link.
    static long openLink(Vxi11Client& c)
    {
        if (!c.open("127.0.0.1", "tcp"))
            return -1;
        const Vxi11Client::Link l = c.createLink("inst0");
        return l.rpcOk && l.error == 0 ? l.lid : -1;
    }
    RemoteRig* rig = nullptr;
};

QByteArray modelIdn() { return QByteArray("ORNAV96T%EN#SN") + RemoteRig::serial(); }

TEST_F(Vxi11Clients, InterleavedPartialWritesKeepEachClientsMessageAndReply)
{
    Vxi11Client a, b;
    const long la = openLink(a), lb = openLink(b);
    ASSERT_GT(la, 0);
    ASSERT_GT(lb, 0);
    ASSERT_NE(la, lb);
    // A starts a message, B sends and reads a whole query in between.
    EXPECT_EQ(a.write(la, "IDN?;", false).error, 0);
    EXPECT_EQ(b.query(lb, "*IDN?"), RemoteRig::idn());
    // A's message goes on where it stopped and its reply is its own.
    EXPECT_EQ(a.write(la, "*IDN?\n", true).error, 0);
    EXPECT_EQ(a.read(la).data, modelIdn() + ";" + RemoteRig::idn());
    // Nothing of A's is left for B.
    EXPECT_EQ(b.read(lb, 1000, 100).error, 15);
}

TEST_F(Vxi11Clients, AWaitingReadDoesNotHoldUpAnotherClient)
{
    Vxi11Client a, b, c;
    const long la = openLink(a), lb = openLink(b);
    ASSERT_GT(la, 0);
    ASSERT_GT(lb, 0);
    ASSERT_TRUE(c.open("127.0.0.1", "tcp"));
    std::atomic<bool> done {false};
    Vxi11Client::Result ra;
    std::thread reader([&] {
        ra = a.read(la, 1000, 20000);
        done = true;
    });
    usleep(100000);
    // B is served while A's read is still waiting.
    EXPECT_EQ(b.query(lb, "*IDN?\n"), RemoteRig::idn());
    EXPECT_FALSE(done.load());
    // A message on A's link (from another connection) ends A's wait with
    // its reply.
    EXPECT_EQ(c.write(la, "*IDN?\n").error, 0);
    reader.join();
    EXPECT_EQ(ra.error, 0);
    EXPECT_EQ(ra.data, RemoteRig::idn());
}

TEST_F(Vxi11Clients, OversizedWriteIsRefusedWithoutBeingHeldInMemory)
{
    Vxi11Client c;
    const long lid = openLink(c);
    ASSERT_GT(lid, 0);
    const int s = connectCore();
    ASSERT_GE(s, 0);
    const uint32_t dataLen = 200u * 1024 * 1024;
    QByteArray head = callHeader(77, 11);
    for (uint32_t v : {uint32_t(lid), 2000u, 0u, 8u, dataLen})
        put32(head, v);
    QByteArray rec;
    put32(rec, 0x80000000u | uint32_t(head.size() + int(dataLen)));
    rec += head;

    const long before = RemoteRig::memoryKb("VmRSS:");
    resetPeakRss();
    ASSERT_EQ(send(s, rec.constData(), size_t(rec.size()), 0), rec.size());
    static const std::vector<char> zeros(1 << 20, '\0');
    for (uint32_t sent = 0; sent < dataLen; sent += uint32_t(zeros.size()))
        ASSERT_EQ(send(s, zeros.data(), zeros.size(), 0), ssize_t(zeros.size()));
    const QByteArray reply = readReply(s);
    ASSERT_GE(reply.size(), 24);
    EXPECT_EQ(word(reply, 0), 77u); // xid
    EXPECT_EQ(word(reply, 2), 0u);  // accepted
    EXPECT_EQ(word(reply, 5), 4u);  // GARBAGE_ARGS
    const long peak = RemoteRig::memoryKb("VmHWM:");
    EXPECT_LT(peak - before, 8 * 1024) << "peak RSS grew by " << (peak - before) << " KiB";
    close(s);
    EXPECT_TRUE(rig->delivered().empty());
    EXPECT_EQ(c.query(lid, "*IDN?\n"), RemoteRig::idn());
}

TEST_F(Vxi11Clients, PartialMessageIsCappedAndFreedWhenItsConnectionCloses)
{
    const long before = RemoteRig::memoryKb("VmRSS:");
    long lid = -1;
    {
        Vxi11Client c;
        lid = openLink(c);
        ASSERT_GT(lid, 0);
        const QByteArray mib(1 << 20, 'x');
        int accepted = 0;
        Vxi11Client::Result r;
        for (;;) {
            r = c.write(lid, mib, false, 60000);
            if (!r.rpcOk || r.error != 0)
                break;
            ++accepted;
            ASSERT_LE(accepted, 128);
        }
        // The largest legitimate message is 128 MiB; one chunk more is
        // refused.
        EXPECT_TRUE(r.rpcOk);
        EXPECT_EQ(r.error, 23);
        EXPECT_EQ(accepted, 128);
        // Refused, the partial message is gone at once; build one again.
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(c.write(lid, mib, false, 60000).error, 0);
        EXPECT_GT(RemoteRig::memoryKb("VmRSS:") - before, 90 * 1024);
    }
    // The connection closed: its link and the 100 MiB go. (Freeing 100 MiB
    // and ending the connection's thread can take seconds on a loaded
    // machine; another client sees the link gone as an invalid link, 4.)
    Vxi11Client other;
    ASSERT_TRUE(other.open("127.0.0.1", "tcp"));
    long error = 0;
    for (int i = 0; i < 500 && (error = other.readStb(lid).error) != 4; ++i)
        usleep(20000);
    EXPECT_EQ(error, 4);
    // The link leaves the table before its buffer is freed.
    const long above = RemoteRig::rssAboveOnceFreed(before);
    EXPECT_LT(above, 8 * 1024) << "RSS still " << above << " KiB above";
    EXPECT_TRUE(rig->delivered().empty());
}

// A controller whose thread is busy: settings queued to it wait.
class BusyController : public QObject {
public:
    QSemaphore release;
    QSemaphore entered;
};

TEST_F(Vxi11Clients, OpcQueryAnswersOnlyOnceTheControllerHasCaughtUp)
{
    Vxi11Client c;
    const long lid = openLink(c);
    ASSERT_GT(lid, 0);
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "test_remote";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
    QThread thread;
    BusyController controller;
    controller.moveToThread(&thread);
    thread.start();
    QObject* old = scpi_context.parent;
    scpi_context.parent = &controller;
    RemoteRoad::attach(&controller);
    // The controller is busy with a request queued before the query.
    QMetaObject::invokeMethod(
        &controller,
        [&controller] {
            controller.entered.release();
            controller.release.acquire();
        },
        Qt::QueuedConnection);
    const bool busy = controller.entered.tryAcquire(1, 5000);
    EXPECT_TRUE(busy);
    if (busy) {
        EXPECT_EQ(c.write(lid, "*OPC?\n").error, 0);
        EXPECT_EQ(c.read(lid, 1000, 300).error, 15);
    }
    controller.release.release();
    const Vxi11Client::Result r = c.read(lid, 1000, 5000);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.data, QByteArray("1\r\n"));
    scpi_context.parent = old;
    RemoteRoad::attach(old);
    thread.quit();
    thread.wait();
}

} // namespace
