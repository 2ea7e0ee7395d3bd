// USBTMC through the simulated gadget device: bulk packets in, replies out.
#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <unistd.h>
#include "communication/SCPI/scpi.h"
#include "communication/SCPI/scpi_wfile.h"
#include "tests/remote/remote_rig.h"
#include "communication/scpi_msg_adpt.h"
#include "simboard/usbtmc_host.h"

namespace {

class Usbtmc : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig = &RemoteRig::get();
        ASSERT_TRUE(host.connectTo(rig->root()));
        // One round trip: the device has taken this connection, so the
        // reset after an earlier host went away is behind us.
        ASSERT_EQ(host.query("*IDN?\n"), RemoteRig::idn());
        rig->clearDelivered();
    }
    // After a fault the device reopens; a fresh connection must work again.
    void expectRecovers()
    {
        EXPECT_TRUE(host.closedByDevice());
        ASSERT_TRUE(host.connectTo(rig->root()));
        bool ok = false;
        EXPECT_EQ(host.query("*IDN?\n", 1 << 20, &ok), RemoteRig::idn());
        EXPECT_TRUE(ok);
    }
    RemoteRig* rig = nullptr;
    UsbtmcHost host;
};

TEST_F(Usbtmc, QueryRoundTripEchoesTagAndAlignsTheReply)
{
    ASSERT_TRUE(host.sendMessage("*IDN?\n"));
    const UsbtmcHost::Reply r = host.request(1 << 20);
    ASSERT_TRUE(r.ok);
    const QByteArray expected = RemoteRig::idn();
    EXPECT_EQ(r.data, expected);
    EXPECT_EQ(r.transferSize, uint32_t(expected.size()));
    EXPECT_TRUE(r.eom);
    EXPECT_EQ(r.tagInverse, uint8_t(~r.tag));
    EXPECT_EQ(r.frameSize, 12 + ((expected.size() + 3) & ~3));
}

TEST_F(Usbtmc, MessageWithoutNewlineRunsWithEomAndIsDroppedWithout)
{
    // With EOM the device appends the LF the parser needs.
    bool ok = false;
    EXPECT_EQ(host.query("*IDN?", 1 << 20, &ok), RemoteRig::idn());
    EXPECT_TRUE(ok);
    ASSERT_EQ(rig->delivered().size(), 1u);
    EXPECT_EQ(rig->delivered()[0].text, QByteArray("*IDN?\n"));

    // Without EOM and without a terminator the transfer is not a message.
    rig->clearDelivered();
    ASSERT_TRUE(host.sendMessage("*IDN?", false));
    EXPECT_FALSE(rig->waitDelivered(1, 300));
    // A terminator makes it one even without EOM.
    ASSERT_TRUE(host.sendMessage("*IDN?\r", false));
    ASSERT_TRUE(rig->waitDelivered(1));
    EXPECT_EQ(rig->delivered()[0].text, QByteArray("*IDN?\r"));
}

TEST_F(Usbtmc, LongTransferIsAssembledFrom512ByteReadsIntoOneMessage)
{
    QByteArray block(200000, '\0');
    QRandomGenerator gen(7);
    for (char& c : block)
        c = char(gen.bounded(256));
    scpi_wfile_arm(WF_BaseArb, 0, "wave.bsv");
    ASSERT_TRUE(host.sendMessage(block, true, 512));
    ASSERT_TRUE(rig->waitDelivered(1));
    const auto got = rig->delivered();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].mode, int(WF_BaseArb));
    EXPECT_EQ(got[0].text.size(), block.size());
    EXPECT_TRUE(got[0].text == block);
    // The data mode ends with the block; commands parse again.
    EXPECT_EQ(wfile_flag, int(WF_None));
    EXPECT_EQ(host.query("*IDN?\n"), RemoteRig::idn());
}

TEST_F(Usbtmc, TransfersWithoutEomContinueOneMessage)
{
    const QByteArray a(1000, 'a'), b(700, 'b');
    scpi_wfile_arm(WF_LIST, 1, "list.csv");
    ASSERT_TRUE(host.sendMessage(a, false, 512));
    ASSERT_TRUE(host.sendMessage(b, true, 512));
    ASSERT_TRUE(rig->waitDelivered(1));
    ASSERT_EQ(rig->delivered().size(), 1u);
    EXPECT_EQ(rig->delivered()[0].text, a + b);
}

// Transfers the device cannot take: it runs nothing of them, closes the
// endpoint and opens again for the next host. A request with a TermChar
// comes after a message whose reply it would fetch; an unknown MsgID is
// ignored.
TEST_F(Usbtmc, MalformedTransfersRunNothingAndTheDeviceReopens)
{
    QByteArray wrongTag = UsbtmcHost::msgOutHeader(5, 6, true) + QByteArray("*IDN?\n\0\0", 8);
    wrongTag[2] = char(0x00);
    const QByteArray vendor("\x7e\x03\xfc\0\0\0\0\0\0\0\0\0", 12);
    const struct {
        const char* name;
        QByteArray before; // a message sent first
        QByteArray transfer;
    } rows[] = {
        {"short packet", {}, QByteArray("\x01\x02\xfd", 3)},
        {"wrong tag inverse", {}, wrongTag},
        {"huge transfer size", {}, UsbtmcHost::msgOutHeader(9, 0xFFFFFFF0u, true) + QByteArray(500, 'x')},
        {"request with TermChar", "*IDN?\n", {}},
        {"vendor-specific request", {}, vendor},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        rig->clearDelivered();
        QByteArray transfer = row.transfer;
        if (!row.before.isEmpty()) {
            ASSERT_TRUE(host.sendMessage(row.before));
            ASSERT_TRUE(rig->waitDelivered(1));
            rig->clearDelivered();
            transfer = UsbtmcHost::requestHeader(host.nextTag(), 100, true, '\n');
        }
        ASSERT_TRUE(host.sendRaw(transfer));
        EXPECT_FALSE(rig->waitDelivered(1, 300));
        expectRecovers();
        EXPECT_EQ(rig->delivered().size(), 1u); // only the recovery query
    }
    QByteArray unknown(12, '\0');
    unknown[0] = char(50);
    ASSERT_TRUE(host.sendRaw(unknown));
    bool ok = false;
    EXPECT_EQ(host.query("*IDN?\n", 1 << 20, &ok), RemoteRig::idn());
    EXPECT_TRUE(ok);
}

TEST_F(Usbtmc, MessageOverTheParserLimitIsRefusedWithOverrunAndLongOnesRun)
{
    Sys_ErrorClear();
    QByteArray big("*IDN?");
    while (big.size() <= SCPI_INPUT_MAX_MESSAGE)
        big += ";*IDN?";
    big += '\n';
    ASSERT_TRUE(host.sendMessage(big));
    ASSERT_TRUE(rig->waitDelivered(1));
    EXPECT_EQ(host.query("SYSTem:ERRor?\n"), QByteArray("-363,\"Input buffer overrun\"\r\n"));

    // About 4000 bytes of settings and queries in one message all run.
    QByteArray compound;
    int queries = 0;
    while (compound.size() < 3950) {
        compound += "*ESE 0;*ESE?;";
        ++queries;
    }
    compound += "*IDN?\n";
    QByteArray expected;
    for (int i = 0; i < queries; ++i)
        expected += "0;";
    expected += RemoteRig::idn();
    EXPECT_EQ(host.query(compound), expected);
    EXPECT_EQ(host.query("SYSTem:ERRor?\n"), QByteArray("0,\"No error\"\r\n"));
}

TEST_F(Usbtmc, UnfinishedLongTransferIsFreedWhenTheHostGoes)
{
    const long before = RemoteRig::memoryKb("VmRSS:");
    // A transfer announced as 48 MiB, of which 40 MiB arrive.
    const uint32_t announced = 48u << 20;
    ASSERT_TRUE(host.sendRaw(UsbtmcHost::msgOutHeader(host.nextTag(), announced, true) + QByteArray(500, 'x')));
    const QByteArray packet(512, 'y');
    for (int i = 0; i < (40 << 20) / 512; ++i)
        ASSERT_TRUE(host.sendRaw(packet));
    // Once the device has taken it all, the data is held...
    bool ok = false;
    for (int i = 0; i < 250 && !ok; ++i) {
        ok = RemoteRig::memoryKb("VmRSS:") - before > 30 * 1024;
        if (!ok)
            usleep(20000);
    }
    EXPECT_TRUE(ok);
    // ...until the host is unplugged.
    host.disconnect();
    const long above = RemoteRig::rssAboveOnceFreed(before, 5000);
    EXPECT_LT(above, 8 * 1024) << "RSS still " << above << " KiB above";
    EXPECT_TRUE(rig->delivered().empty());
}

TEST_F(Usbtmc, SecondHostIsRefusedAtOnceWhileOneIsConnected)
{
    UsbtmcHost second;
    EXPECT_FALSE(second.connectTo(rig->root(), 3000));
    EXPECT_TRUE(second.busy());
    // The first host is not disturbed.
    EXPECT_EQ(host.query("*IDN?\n"), RemoteRig::idn());
    // Once it is gone the port is free for the next one.
    host.disconnect();
    ASSERT_TRUE(second.connectTo(rig->root()));
    EXPECT_EQ(second.query("*IDN?\n"), RemoteRig::idn());
}

// A reply longer than the host asks for comes in pieces of the requested
// size, EOM on the last only; the reply is placed in the response buffer as
// a handler would after the command has run.
TEST_F(Usbtmc, ReplyLargerThanTheRequestIsReadInPieces)
{
    const struct {
        int size, request, transfers;
    } rows[] = {{100, 64, 2}, {200003, 100000, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.size);
        QByteArray reply(row.size, '\0');
        for (int i = 0; i < reply.size(); ++i)
            reply[i] = char(i * 31 + 7);
        rig->clearDelivered();
        rig->injectReply(reply);
        ASSERT_TRUE(host.sendMessage("SYSTem:ERRor\n"));
        ASSERT_TRUE(rig->waitDelivered(1));
        QByteArray got;
        for (int n = 1; n <= row.transfers; ++n) {
            const UsbtmcHost::Reply r = host.request(uint32_t(row.request));
            ASSERT_TRUE(r.ok);
            got += r.data;
            const int last = row.size - (row.transfers - 1) * row.request;
            EXPECT_EQ(r.eom, n == row.transfers) << "transfer " << n;
            EXPECT_EQ(r.transferSize, uint32_t(n == row.transfers ? last : row.request)) << "transfer " << n;
            if (n == row.transfers) {
                EXPECT_EQ(r.frameSize, 12 + ((last + 3) & ~3));
            }
        }
        EXPECT_TRUE(got == reply);
        EXPECT_EQ(scpi_msg_reponse_avail_len(), 0);
    }
}

} // namespace
