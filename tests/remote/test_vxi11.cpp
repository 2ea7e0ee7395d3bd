// VXI-11 procedures through a real RPC client and the port mapper.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <unistd.h>
#include <vector>
#include "communication/ETHLXI/vxi11_links.h"
#include <string>
#include <thread>
#include "communication/ETHLXI/vxi11_client.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "tests/remote/remote_rig.h"
#include "communication/SCPI/scpi.h"
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
    EXPECT_GE(link.lid, 5000);
    EXPECT_GT(link.abortPort, 0u);
    EXPECT_EQ(link.maxRecvSize, 1024ul);
    for (const char* name : {"gpib0,5", "inst0 ", "INST0", "inst01", ""}) {
        const Vxi11Client::Link other = client.createLink(name);
        ASSERT_TRUE(other.rpcOk);
        EXPECT_EQ(other.error, 3) << name;
        EXPECT_EQ(other.lid, 0) << name;
    }
    // Every link gets an id of its own.
    const Vxi11Client::Link second = client.createLink("inst0");
    ASSERT_TRUE(second.rpcOk);
    EXPECT_EQ(second.error, 0);
    EXPECT_NE(second.lid, link.lid);
    EXPECT_EQ(client.destroyLink(second.lid).error, 0);
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

TEST_P(Vxi11, ChunksWithoutEndFormOneMessage)
{
    // END on the last chunk ends the message, with or without a LF of its
    // own: a message of several chunks is passed on as sent (it may be data)
    // and still runs as a command (its query answers).
    const struct {
        std::vector<QByteArray> chunks;
        QByteArray message;
    } rows[] = {
        {{"SYST", ":ERR?", "\n"}, "SYST:ERR?\n"},
        {{"SYST", ":ERR?"}, "SYST:ERR?"},
        {{"CHANnel1:BASe:PH", "AS 46;PHAS?"}, "CHANnel1:BASe:PHAS 46;PHAS?"},
    };
    for (const auto& row : rows) {
        rig->clearDelivered();
        for (size_t i = 0; i < row.chunks.size(); ++i)
            EXPECT_EQ(client.write(link.lid, row.chunks[i], i + 1 == row.chunks.size()).error, 0);
        const Vxi11Client::Result r = client.read(link.lid);
        EXPECT_EQ(r.error, 0) << row.message.constData();
        EXPECT_TRUE(r.data.endsWith("\r\n")) << row.message.constData();
        ASSERT_EQ(rig->delivered().size(), 1u) << row.message.constData();
        EXPECT_EQ(rig->delivered()[0].text, row.message);
    }
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

TEST_P(Vxi11, MessageOverTheParserLimitIsRefusedWithOverrunAndTheNextWorks)
{
    // Over UDP a call stays below the datagram size, so the long message
    // comes in chunks.
    client.query(link.lid, "SYSTem:ERRor\n");
    QByteArray big;
    while (big.size() <= SCPI_INPUT_MAX_MESSAGE)
        big += "*IDN?;";
    big += "*IDN?\n";
    for (int at = 0; at < big.size(); at += 4000)
        EXPECT_EQ(client.write(link.lid, big.mid(at, 4000), at + 4000 >= big.size()).error, 0);
    EXPECT_EQ(client.read(link.lid, 1000, 200).error, 15);
    EXPECT_EQ(client.query(link.lid, "SYSTem:ERRor?\n"), QByteArray("-363,\"Input buffer overrun\"\r\n"));
    EXPECT_EQ(client.query(link.lid, "*IDN?\n"), RemoteRig::idn());
}

// device_clear drops a waiting reply and a half message alike; a read with
// nothing to answer waits out its io_timeout and gives 15.
TEST_P(Vxi11, DeviceClearDropsTheReplyAndAHalfMessage)
{
    EXPECT_EQ(client.write(link.lid, "*IDN?\n").error, 0);
    ASSERT_TRUE(rig->waitDelivered(1));
    EXPECT_EQ(client.clear(link.lid).error, 0);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(client.read(link.lid, 1000, 300).error, 15);
    EXPECT_GE(t.elapsed(), 280);
    rig->clearDelivered();
    EXPECT_EQ(client.write(link.lid, "IDN?;", false).error, 0);
    EXPECT_EQ(client.clear(link.lid).error, 0);
    EXPECT_EQ(client.query(link.lid, "*IDN?"), RemoteRig::idn());
    ASSERT_EQ(rig->delivered().size(), 1u);
    EXPECT_EQ(rig->delivered()[0].text, QByteArray("*IDN?\n"));
}

TEST_P(Vxi11, EveryProcedureRefusesADestroyedOrUnknownLink)
{
    const Vxi11Client::Link l = client.createLink("inst0");
    ASSERT_EQ(l.error, 0);
    EXPECT_EQ(client.destroyLink(l.lid).error, 0);
    for (long lid : {l.lid, 4999L, 0L}) {
        EXPECT_EQ(client.write(lid, "*IDN?\n").error, 4) << lid;
        EXPECT_EQ(client.read(lid, 100, 100).error, 4) << lid;
        EXPECT_EQ(client.readStb(lid).error, 4) << lid;
        EXPECT_EQ(client.clear(lid).error, 4) << lid;
        for (int proc : {14, 16, 17, 18, 19, 20, 22})
            EXPECT_EQ(client.linkCall(proc, lid), 4) << lid << " procedure " << proc;
        EXPECT_EQ(client.destroyLink(lid).error, 4) << lid;
    }
    EXPECT_TRUE(rig->delivered().empty());
    // The fixture's link is untouched.
    for (int proc : {14, 16, 17, 18, 19, 20, 22})
        EXPECT_EQ(client.linkCall(proc, link.lid), 0) << "procedure " << proc;
    EXPECT_EQ(client.query(link.lid, "*IDN?\n"), RemoteRig::idn());
}

TEST_P(Vxi11, ReadStbGivesTheStatusByte)
{
    EXPECT_EQ(client.query(link.lid, "*CLS;*SRE 0;*ESE 0;*STB?\n"), QByteArray("0\r\n"));
    Vxi11Client::Result stb = client.readStb(link.lid);
    ASSERT_EQ(stb.error, 0);
    EXPECT_EQ(stb.stb, 0u);
    // An error queued sets "error queue not empty"; an uncollected reply
    // sets MAV; with both enabled for service, the master summary too.
    EXPECT_EQ(client.write(link.lid, "NO:SUCH:COMMand\n").error, 0);
    EXPECT_EQ(client.query(link.lid, "*SRE 16;*STB?\n"), QByteArray("4\r\n"));
    EXPECT_EQ(client.write(link.lid, "*IDN?\n").error, 0);
    ASSERT_TRUE(rig->waitDelivered(4));
    stb = client.readStb(link.lid);
    EXPECT_EQ(stb.stb, 0x04u | 0x10u | 0x40u);
    EXPECT_EQ(client.read(link.lid).data, RemoteRig::idn());
    EXPECT_EQ(client.readStb(link.lid).stb, 0x04u);
    // *CLS empties the error list.
    EXPECT_EQ(client.write(link.lid, "*CLS;*SRE 0\n").error, 0);
    ASSERT_TRUE(rig->waitDelivered(5));
    EXPECT_EQ(client.readStb(link.lid).stb, 0u);
    EXPECT_EQ(client.query(link.lid, "SYSTem:ERRor?\n"), QByteArray("0,\"No error\"\r\n"));
}

TEST_P(Vxi11, EventStatusCommandsFollowIeee4882)
{
    EXPECT_EQ(client.query(link.lid, "*CLS;*ESE 36;*ESE?;*SRE 255;*SRE?\n"), QByteArray("36;191\r\n"));
    // A command error sets bit 5 of the event status register, which *ESE
    // enables: the summary bit 0x20 and the master summary 0x40 follow.
    client.write(link.lid, "NO:SUCH\n");
    EXPECT_EQ(client.query(link.lid, "*STB?\n"), QByteArray(QByteArray::number(0x04 | 0x20 | 0x40) + "\r\n"));
    EXPECT_EQ(client.query(link.lid, "*ESR?\n"), QByteArray("32\r\n"));
    // Reading the register cleared it.
    EXPECT_EQ(client.query(link.lid, "*ESR?\n"), QByteArray("0\r\n"));
    EXPECT_EQ(client.query(link.lid, "*OPC;*ESR?\n"), QByteArray("1\r\n"));
    EXPECT_EQ(client.query(link.lid, "*WAI;*OPC?\n"), QByteArray("1\r\n"));
    // Out of range: -224, and the register keeps its value.
    EXPECT_EQ(client.query(link.lid, "*CLS;*ESE 256;*ESE?\n"), QByteArray("36\r\n"));
    EXPECT_EQ(client.query(link.lid, "SYSTem:ERRor?\n"), QByteArray("-224,\"Illegal parameter value\"\r\n"));
    EXPECT_EQ(client.query(link.lid, "*CLS;*ESE 0;*SRE 0;*STB?\n"), QByteArray("0\r\n"));
}

TEST_P(Vxi11, NewCommandDiscardsAnUncollectedReply)
{
    EXPECT_EQ(client.write(link.lid, "IDN?\n").error, 0);
    EXPECT_EQ(client.write(link.lid, "*IDN?\n").error, 0);
    EXPECT_EQ(client.read(link.lid).data, RemoteRig::idn());
}

TEST_P(Vxi11, LockKeepsOtherLinksOutUntilReleasedAndAbortEndsAWaitingRead)
{
    Vxi11Client second;
    ASSERT_TRUE(second.open("127.0.0.1", GetParam()));
    const Vxi11Client::Link other = second.createLink("inst0");
    ASSERT_EQ(client.lock(link.lid, false, 0), 0);
    // Another link: refused (11) without waitlock; unlocking a lock it does
    // not hold: 12. The holder goes on.
    EXPECT_EQ(second.write(other.lid, "*IDN?\n").error, 11);
    EXPECT_EQ(second.read(other.lid, 100, 100).error, 11);
    EXPECT_EQ(second.lock(other.lid, false, 0), 11);
    EXPECT_EQ(second.linkCall(19, other.lid), 12);
    EXPECT_EQ(client.query(link.lid, "*IDN?\n"), RemoteRig::idn());
    if (std::string(GetParam()) == "tcp") {
        // waitlock: the call waits until the holder unlocks.
        std::thread holder([&] {
            usleep(200000);
            EXPECT_EQ(client.linkCall(19, link.lid), 0);
        });
        EXPECT_EQ(second.lock(other.lid, true, 5000), 0);
        holder.join();
        // Destroying the holder's link releases its lock.
        EXPECT_EQ(client.lock(link.lid, false, 0), 11);
        EXPECT_EQ(second.destroyLink(other.lid).error, 0);
        EXPECT_EQ(client.lock(link.lid, false, 0), 0);
        EXPECT_EQ(client.linkCall(19, link.lid), 0);
    } else {
        EXPECT_EQ(second.lock(other.lid, true, 5000), 11); // over UDP: no waiting
        EXPECT_EQ(client.destroyLink(link.lid).error, 0);
        EXPECT_EQ(second.lock(other.lid, false, 0), 0);
        EXPECT_EQ(second.destroyLink(other.lid).error, 0);
        link = client.createLink("inst0");
    }
    // device_abort on the announced abort channel ends a waiting read.
    std::thread reader([&] { EXPECT_EQ(client.read(link.lid, 100, 5000).error, 23); });
    usleep(300000);
    EXPECT_EQ(Vxi11Client::abort("127.0.0.1", link.abortPort, link.lid), 0);
    reader.join();
}

// Links never destroyed fill the table: over UDP the least recently used
// gives way; one TCP connection is refused beyond its share. (Silent
// connections in every slot and a host's share: Vxi11Lockout.)
TEST_P(Vxi11, ForgottenLinksLockNobodyOut)
{
    std::vector<long> mine;
    for (int i = 0; i < VXI11_MAX_LINKS; ++i) {
        const Vxi11Client::Link l = client.createLink("inst0");
        if (l.error != 0)
            break;
        mine.push_back(l.lid);
    }
    EXPECT_EQ(int(mine.size()),
              std::string(GetParam()) == "udp" ? VXI11_MAX_LINKS : VXI11_MAX_LINKS_PER_CONNECTION - 1);
    Vxi11Client fresh;
    ASSERT_TRUE(fresh.open("127.0.0.1", "tcp"));
    const Vxi11Client::Link l = fresh.createLink("inst0");
    ASSERT_EQ(l.error, 0);
    EXPECT_EQ(fresh.query(l.lid, "*IDN?\n"), RemoteRig::idn());
    fresh.destroyLink(l.lid);
    for (long lid : mine)
        client.destroyLink(lid);
}

INSTANTIATE_TEST_SUITE_P(Transport, Vxi11, ::testing::Values("tcp", "udp"));

} // namespace
