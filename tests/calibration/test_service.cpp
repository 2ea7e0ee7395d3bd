// The calibration station's commands through the SCPI worker, in process
// (no controller: the hardware and file effects only).
#include <cstdlib>
#include <cstring>
#include "tests/calibration/cal_fixture.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_service.h"
#include "communication/SCPI/scpi_wfile.h"
#include "communication/SCPI/sys_error.h"
#include "app/ornav72.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"

namespace {

class ServiceTest : public CalTest {
protected:
    void SetUp() override
    {
        CalTest::SetUp();
        scpi_adpt_set_hooks({scpi_commands, &Ornav72::GetSN, &Ornav72::clock_tick});
        scpi_commands_install_receivers();
        scpi_msg_queue_open(true);
        scpi_worker_init(nullptr);
        scpi_wfile_reset();
        scpi_msg_reponse_buf_clear();
        Sys_ErrorClear();
        pc_lock = false;
    }
    void TearDown() override
    {
        scpi_wfile_reset();
        CalTest::TearDown();
    }

    // One message as a transport delivers it, taken from the queue and run
    // by this thread in place of the worker; the reply collected.
    static QByteArray send(const QByteArray& message)
    {
        char* text = static_cast<char*>(std::malloc(size_t(message.size())));
        std::memcpy(text, message.constData(), size_t(message.size()));
        if (scpi_session_deliver(SCPI_SESSION_DEFAULT, text, message.size()) != 0)
            return QByteArray();
        scpi_msg_t rec;
        if (scpi_msg_cmd_read(&rec) != 0)
            return QByteArray();
        scpi_msg_execute(&rec);
        char buf[4096];
        const int n = scpi_session_read(SCPI_SESSION_DEFAULT, buf, sizeof buf);
        return QByteArray(buf, n > 0 ? n : 0);
    }
    static QByteArray block(const QByteArray& data)
    {
        const QByteArray len = QByteArray::number(data.size());
        return "#" + QByteArray::number(len.size()) + len + data;
    }
    static QByteArray doubleBytes(double v) { return QByteArray(reinterpret_cast<const char*>(&v), sizeof v); }
    static QByteArray lastError() { return send("SYSTem:ERRor?\n").trimmed(); }
};

} // namespace

TEST_F(ServiceTest, RangeWordsGoStraightToTheChannel)
{
    EXPECT_EQ(send("WP1:ADDR47 " + block(QByteArray(1, '\x09')) + "\n"), QByteArray());
    EXPECT_EQ(SCPI_ServiceAttCode(), 9);
    EXPECT_EQ(chValue(0, REG_ATT, 1), 9u);
    EXPECT_EQ(chWrites(0, REG_VOL_ADJ), (QList<uint64_t> {1}));
    EXPECT_EQ(writesAt(REG_OFS_DAC).size(), 2); // offset 0 V through range 14 first
    EXPECT_LT(lastWrite(REG_OFS_DAC), lastWrite(reg(0, REG_ATT)));

    // The offset and the amplitude of the remembered range, on any channel.
    fpga().clearWrites();
    CSetParam::SetOffset(CH3, 9, 1.5, false);
    const QList<uint64_t> direct = writesAt(REG_OFS_DAC);
    fpga().clearWrites();
    send("WP3:ADDR99 " + block(doubleBytes(1.5)) + "\n");
    EXPECT_EQ(writesAt(REG_OFS_DAC), direct);

    fpga().clearWrites();
    send("WP2:ADDR51 " + block(doubleBytes(3.0)) + "\n");
    // 3 Vpp in the 8 V range (7 V of amplitude): the scale is 3 / 7.
    EXPECT_EQ(chWrites(1, REG_VOL_ADJ).size(), 1);
    EXPECT_EQ(stream("table:2:flat").size(), 4096);

    send("WP2:ADDR50 " + block(QByteArray(1, '\x01')) + "\n");
    EXPECT_EQ(chValue(1, REG_OUTPUT, 1), 1u);
    send("WP2:ADDR50 " + block(QByteArray(1, '\x00')) + "\n");
    EXPECT_EQ(chValue(1, REG_OUTPUT, 1), 0u);

    send("WP4:ADDR2 " + block(doubleBytes(1e6)) + "\n");
    EXPECT_EQ(chValue(3, REG_PHASE_INC, 8), ref::inc64(1e6));
    EXPECT_EQ(lastError(), QByteArray("0,\"No error\""));
}

TEST_F(ServiceTest, BadChannelsAndBlocksAreRefused)
{
    send("WP5:ADDR47 " + block(QByteArray(1, '\x01')) + "\n");
    EXPECT_EQ(lastError(), QByteArray("-108,\"Parameter not allowed\""));
    EXPECT_TRUE(chWrites(3, REG_ATT).isEmpty());
    // Three bytes are neither a byte nor a double.
    send("WP1:ADDR99 " + block("abc") + "\n");
    EXPECT_TRUE(lastError().startsWith("-224,"));
    EXPECT_TRUE(writesAt(REG_OFS_DAC).isEmpty());
    send("WP1:ADDR47 12\n");
    EXPECT_TRUE(lastError().startsWith("-224,"));

    send("SYNC9:CMD0\n");
    EXPECT_EQ(lastError(), QByteArray("-108,\"Parameter not allowed\""));
    EXPECT_FALSE(CSetParam::state.isDcCal);
    EXPECT_TRUE(pc_lock);
    send("SYNC1:CMD9\n");
    EXPECT_TRUE(lastError().startsWith("-224,"));
    EXPECT_FALSE(CSetParam::state.isDcCal);
}

// The whole session over VXI-11 and the saved file:
// RealClients.PyvisaRunsACalibrationSession. Here: the transfer armed by a
// "WFILE" without terminator, the save on any channel number, the end of the
// DC state and the clearing.
TEST_F(ServiceTest, CalibrationSessionEndsInTheSavedFile)
{
    send("SYNC1:CMD0\n");
    EXPECT_TRUE(CSetParam::state.isDcCal);
    EXPECT_EQ(chValue(0, REG_BASE_WAVE, 1), 5u);
    send("WFILE");
    EXPECT_EQ(scpi_session_transfer_mode(SCPI_SESSION_DEFAULT), int(WF_Cal));
    send("[T:DC]\r\n[CH:0]\r\n[ATT:09][A:1.012000][B:-0.003000]\r\n[CH:END]\r\n[T:END]\r\n\r\n");
    EXPECT_EQ(scpi_session_transfer_mode(SCPI_SESSION_DEFAULT), int(WF_None));
    EXPECT_EQ(range(0, 9)->DC_a, 1.012);
    send("SYNC9:CMD3\n");
    EXPECT_EQ(lastError(), QByteArray("0,\"No error\""));
    EXPECT_TRUE(readBoardFile(CSetParam::kCalFile).contains("[ATT:09][A:1.012000][B:-0.003000]\r\n"));
    send("SYNC1:CMD4\n");
    EXPECT_FALSE(CSetParam::state.isDcCal);
    send("SYNC1:CMD6\n");
    EXPECT_FALSE(QFile::exists(hostPath(CSetParam::kCalFile)));
    EXPECT_EQ(range(0, 9)->DC_a, 1.0);
}

TEST_F(ServiceTest, FactoryItemsReadBackPadded)
{
    Ornav72::useSerialNumber("SN777");
    QByteArray sn = send("RP1:ADDR2048?\n");
    ASSERT_EQ(sn.size(), 32) << sn.toHex().constData();
    EXPECT_TRUE(sn.endsWith("\r\n"));
    EXPECT_EQ(sn.left(5), QByteArray("SN777"));
    EXPECT_EQ(sn.mid(5, 25), QByteArray(25, '\0'));
    EXPECT_EQ(send("RP3:ADDR2049?\n"), QByteArray("1.0.1\r\n"));
    sys_param::SysInfo = "ORNAV46Q;EN;600";
    sys_param::HardWareVersion = "2.1";
    const QByteArray info = send("RP1:ADDR2304?\n");
    ASSERT_EQ(info.size(), 56);
    EXPECT_EQ(info.left(25), QByteArray("ORNAV46Q;EN;600;1.09;2.1;"));
    EXPECT_EQ(info.mid(25, 29), QByteArray(29, '\0'));
    EXPECT_EQ(send("RP1:ADDR7?\n"), QByteArray());
}
