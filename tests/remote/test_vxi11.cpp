// VXI-11 procedures through a real RPC client and the port mapper.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <unistd.h>
#include "communication/ETHLXI/vxi11_client.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "tests/remote/remote_rig.h"
#include "communication/scpi_msg_adpt.h"

namespace {

class Vxi11 : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        rig = &RemoteRig::get();
        ASSERT_TRUE(rig->vxiUp()) << "VXI-11 registration failed: is rpcbind running?";
        ASSERT_TRUE(client.open("127.0.0.1", GetParam()));
        link = client.createLink("inst0");
        ASSERT_TRUE(link.rpcOk);
        // Nothing of an earlier test may linger in the reply buffer.
        client.clear(link.lid);
        rig->clearDelivered();
    }
    RemoteRig* rig = nullptr;
    Vxi11Client client;
    Vxi11Client::Link link;
};

TEST_P(Vxi11, LinkToInst0IsGrantedAndOtherDevicesRefused)
{
    EXPECT_EQ(link.error, 0);
    EXPECT_EQ(link.lid, 5000);
    EXPECT_EQ(link.abortPort, 666u);
    EXPECT_EQ(link.maxRecvSize, 0x100000ul);
    const Vxi11Client::Link other = client.createLink("gpib0,5");
    ASSERT_TRUE(other.rpcOk);
    EXPECT_EQ(other.error, 3);
    EXPECT_EQ(other.lid, 0);
}

TEST_P(Vxi11, QueryWithoutNewlineGetsLfAppendedAndReplyEndsWithEnd)
{
    const Vxi11Client::Result w = client.write(link.lid, "*IDN?");
    EXPECT_EQ(w.error, 0);
    EXPECT_EQ(w.size, 5u);
    const Vxi11Client::Result r = client.read(link.lid);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.reason, 4);
    EXPECT_EQ(r.data, RemoteRig::idn());
    ASSERT_EQ(rig->delivered().size(), 1u);
    EXPECT_EQ(rig->delivered()[0].text, QByteArray("*IDN?\n"));
}

TEST_P(Vxi11, WrongLinkIdIsRefusedOnWriteAndRead)
{
    const Vxi11Client::Result w = client.write(4999, "*IDN?\n");
    EXPECT_EQ(w.error, 4);
    const Vxi11Client::Result r = client.read(1, 100, 100);
    EXPECT_EQ(r.error, 4);
    EXPECT_EQ(r.reason, 4);
    EXPECT_TRUE(rig->delivered().empty());
    // The link still works.
    EXPECT_EQ(client.query(link.lid, "*IDN?\n"), RemoteRig::idn());
}

TEST_P(Vxi11, ReadWithNothingPendingTimesOutWithError15)
{
    QElapsedTimer t;
    t.start();
    const Vxi11Client::Result r = client.read(link.lid, 1000, 300);
    EXPECT_EQ(r.error, 15);
    EXPECT_TRUE(r.data.isEmpty());
    // It waited out the io_timeout rather than failing at once.
    EXPECT_GE(t.elapsed(), 280);
}

TEST_P(Vxi11, ChunksWithoutEndFormOneMessage)
{
    EXPECT_EQ(client.write(link.lid, "SYST", false).error, 0);
    EXPECT_EQ(client.write(link.lid, ":ERR?", false).error, 0);
    EXPECT_EQ(client.write(link.lid, "\n", true).error, 0);
    EXPECT_EQ(client.read(link.lid).data, QByteArray("0,\"No error\"\r\n"));
    ASSERT_EQ(rig->delivered().size(), 1u);
    EXPECT_EQ(rig->delivered()[0].text, QByteArray("SYST:ERR?\n"));
}

TEST_P(Vxi11, StalePartialMessageIsDiscardedAfterItsTimeout)
{
    EXPECT_EQ(client.write(link.lid, "SYST:ERR", false, 100).error, 0);
    usleep(300000);
    EXPECT_EQ(client.write(link.lid, "*IDN?", true).error, 0);
    EXPECT_EQ(client.read(link.lid).data, RemoteRig::idn());
    ASSERT_EQ(rig->delivered().size(), 1u);
    EXPECT_EQ(rig->delivered()[0].text, QByteArray("*IDN?\n"));
}

TEST_P(Vxi11, ShortReadsReturnTheReplyInPiecesWithEndOnTheLast)
{
    EXPECT_EQ(client.write(link.lid, "*IDN?\n").error, 0);
    const QByteArray expected = RemoteRig::idn();
    const Vxi11Client::Result a = client.read(link.lid, 10);
    EXPECT_EQ(a.error, 0);
    EXPECT_EQ(a.data, expected.left(10));
    EXPECT_EQ(a.reason & 4, 0);
    const Vxi11Client::Result b = client.read(link.lid, 1000);
    EXPECT_EQ(b.data, expected.mid(10));
    EXPECT_EQ(b.reason, 4);
}

TEST_P(Vxi11, DeviceClearDiscardsTheReply)
{
    EXPECT_EQ(client.write(link.lid, "*IDN?\n").error, 0);
    ASSERT_TRUE(rig->waitDelivered(1));
    EXPECT_EQ(client.clear(link.lid).error, 0);
    EXPECT_EQ(client.read(link.lid, 1000, 100).error, 15);
}

TEST_P(Vxi11, MessageOverTheParserLimitRunsNothingAndTheNextWorks)
{
    QByteArray big;
    while (big.size() < 400)
        big += "*IDN?;";
    big += "*IDN?\n";
    EXPECT_EQ(client.write(link.lid, big).error, 0);
    EXPECT_EQ(client.read(link.lid, 1000, 200).error, 15);
    EXPECT_EQ(client.query(link.lid, "*IDN?\n"), RemoteRig::idn());
}

TEST_P(Vxi11, NewCommandDiscardsAnUncollectedReply)
{
    EXPECT_EQ(client.write(link.lid, "IDN?\n").error, 0);
    EXPECT_EQ(client.write(link.lid, "*IDN?\n").error, 0);
    EXPECT_EQ(client.read(link.lid).data, RemoteRig::idn());
}

INSTANTIATE_TEST_SUITE_P(Transport, Vxi11, ::testing::Values("tcp", "udp"));

} // namespace
