// The message adapter's response buffer, status bits and network carrier.
#include <gtest/gtest.h>
#include <QFile>
#include <QElapsedTimer>
#include <unistd.h>
#include <cstring>
#include <vector>
#include "platform/platformroot.h"
#include "tests/remote/remote_rig.h"
#include "communication/scpi_msg_adpt.h"

namespace {

TEST(ResponseBuffer, OverflowIsClippedAndAFullBufferRefusesMore)
{
    scpi_msg_reponse_buf_clear();
    std::vector<char> big(SCPI_TX_BUF_SIZE - 4, 'x');
    ASSERT_EQ(scpi_msg_reponse_write(big.data(), int(big.size())), int(big.size()));
    // 4,097,020 held: ten more bytes are cut to 4,097,023 - 4,097,020 = 3.
    EXPECT_EQ(scpi_msg_reponse_write("0123456789", 10), 3);
    EXPECT_EQ(scpi_msg_reponse_avail_len(), SCPI_TX_BUF_SIZE - 1);
    // One byte still fits exactly; after that the buffer is full.
    EXPECT_EQ(scpi_msg_reponse_write("z", 1), 1);
    EXPECT_EQ(scpi_msg_reponse_avail_len(), SCPI_TX_BUF_SIZE);
    EXPECT_EQ(scpi_msg_reponse_write("z", 1), 0);
    EXPECT_EQ(scpi_msg_reponse_avail_len(), SCPI_TX_BUF_SIZE);
    EXPECT_EQ(scpi_msg_reponse_write(nullptr, 1), -1);
    char tail[3];
    char* p = scpi_msg_tx_read_start();
    std::memcpy(tail, p + SCPI_TX_BUF_SIZE - 4, 3);
    scpi_msg_tx_read_end(0);
    EXPECT_EQ(std::string(tail, 3), "012");
    scpi_msg_reponse_buf_clear();
    EXPECT_EQ(scpi_msg_reponse_avail_len(), 0);
}

TEST(ResponseBuffer, ReadingEverythingResetsBothPositions)
{
    scpi_msg_reponse_buf_clear();
    scpi_msg_reponse_write("abcdef", 6);
    char out[4];
    EXPECT_EQ(scpi_msg_tx_read(out, 4), 4);
    EXPECT_EQ(scpi_msg_reponse_avail_len(), 2);
    EXPECT_EQ(scpi_msg_tx_read(out, 4), 2);
    EXPECT_EQ(std::string(out, 2), "ef");
    // Both positions are back at the start: the next reply begins at txBuf.
    EXPECT_EQ(scpi_msg_tx_write_start(), scpi_tx_buffer.txBuf);
    scpi_msg_tx_write_end(0);
    EXPECT_EQ(scpi_tx_buffer.txHead, 0);
    EXPECT_EQ(scpi_tx_buffer.txTail, 0);
}

TEST(DeviceStatus, IdsAboveTheRangeAreRefused)
{
    scpi_device_clr(SCPI_TMC_ID);
    scpi_device_set(SCPI_TMC_ID);
    EXPECT_EQ(scpi_device_status(SCPI_TMC_ID), 1);
    const unsigned before = g_scpi_device_status;
    scpi_device_set(9);
    scpi_device_set(-1);
    EXPECT_EQ(g_scpi_device_status, before);
    EXPECT_EQ(scpi_device_status(9), 0);
    scpi_device_clr(SCPI_TMC_ID);
    EXPECT_EQ(scpi_device_status(SCPI_TMC_ID), 0);
}

TEST(GadgetDriver, ModprobeCommandKeepsOnlySafeCharacters)
{
    EXPECT_EQ(scpi_modprobe_command("ORNAV96T", "SN1234567890123"),
              QString("modprobe g_usbtmc Product=ORNAV96T Serial=SN1234567890123"));
    EXPECT_EQ(scpi_modprobe_command("ORNAV96T", "A1;reboot $(rm -rf /) `x` |y"),
              QString("modprobe g_usbtmc Product=ORNAV96T Serial=A1rebootrm-rfxy"));
}

bool waitCarrier(bool up, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (scpi_device_status(SCPI_LXI_ID) == (up ? 1 : 0) && getethnetstatus() == (up ? 0 : 1))
            return true;
        usleep(20000);
    }
    return false;
}

void writeCarrier(const char* text)
{
    QFile f(PlatformRoot::path("/sys/class/net/eth0/carrier"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

TEST(NetworkCarrier, LxiBitFollowsTheLinkStateFile)
{
    RemoteRig::get();
    writeCarrier("1\n");
    EXPECT_TRUE(waitCarrier(true, 5000));
    EXPECT_TRUE(eth0_carrier);
    writeCarrier("0\n");
    EXPECT_TRUE(waitCarrier(false, 5000));
    EXPECT_FALSE(eth0_carrier);
    writeCarrier("1\n");
    EXPECT_TRUE(waitCarrier(true, 5000));
}

} // namespace
