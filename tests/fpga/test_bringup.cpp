// Start-up programming of the board as the simulated FPGA sees it. The
// versions read and the writes of the bring-up, on the running program:
// test_program_bringup.cpp.
#include "tests/fpga/fpga_test_support.h"
#include "param/sys_param.h"

class BringUp : public SimBoardTest {};

TEST_F(BringUp, EveryChannelTakesTheReducedBandwidthVariant)
{
    sys_param::SysInfo = "ORNAV72X;EN;200";
    CSetParam::Init(200);
    ASSERT_TRUE(CSetParam::DeviceOpen());
    for (int ch = CH1; ch <= CH4; ++ch) {
        CChCharacter reduced {CH_ID(ch)}, full {CH_ID(ch)};
        reduced.InitBandwidth(200);
        ASSERT_NE(reduced.Bandwidth.freqSine, full.Bandwidth.freqSine);
        EXPECT_EQ(CSetParam::state.pCharacter[ch].chId, CH_ID(ch));
        EXPECT_EQ(CSetParam::state.pCharacter[ch].Bandwidth.freqSine, reduced.Bandwidth.freqSine) << ch;
        EXPECT_EQ(CSetParam::state.pCharacter[ch].Bandwidth.freqArb, reduced.Bandwidth.freqArb) << ch;
    }
    EXPECT_EQ(sys_param::DisplayName, QString("ORNAV72X"));
}

TEST_F(BringUp, MissingRegisterDeviceLeavesTheApplicationRunningWithoutIt)
{
    ASSERT_TRUE(QFile::remove(file("/dev/fpga")));
    sys_param::LogicVersion = "untouched";
    fpga().clearWrites();
    MessageCapture log;
    CSetParam::Init(600);
    EXPECT_FALSE(CSetParam::DeviceOpen());
    EXPECT_TRUE(log.contains("Can't Open /dev/fpga !!!\n\r")) << log.messages().join('|').toStdString();
    EXPECT_EQ(sys_param::LogicVersion, QString("untouched"));
    EXPECT_TRUE(fpga().writes().isEmpty());
    CSetParam::SetFPGA_reg(REG_BEEP, true);
    EXPECT_TRUE(fpga().writes().isEmpty());
}

TEST_F(BringUp, VersionTexts)
{
    openDevice();
    struct {
        int b0, b1;
        const char* text;
    } logic[] = {
        {0x12, 0x05, "1.02.005"},
        {0x00, 0x00, "0.00.000"},
        {0xFF, 0xFF, "15.15.255"},
        {0xA9, 0x64, "10.09.100"},
    };
    for (const auto& c : logic) {
        fpga().poke(REG_LOGIC_VER, bytes({c.b0, c.b1}));
        EXPECT_EQ(CSetParam::ReadLogicVer(), QString(c.text));
    }
    struct {
        int b;
        const char* text;
    } hw[] = {{0x00, "1.00"}, {0x09, "2.01"}, {0x07, "1.07"}, {0xFF, "32.07"}};
    for (const auto& c : hw) {
        fpga().poke(REG_HW_VER, bytes({c.b}));
        EXPECT_EQ(CSetParam::ReadHardwareVer(), QString(c.text));
    }
}

TEST_F(BringUp, SoftwareDates)
{
    const QString full = CSetParam::ReadSoftDate();
    // "Mmm dd yyyy hh:mm:ss"
    EXPECT_TRUE(QRegExp("[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}").exactMatch(full))
        << full.toStdString();
    EXPECT_EQ(CSetParam::GetSoftDate(), full.left(11));
    // An empty or missing date keeps the one given before.
    EXPECT_STREQ(CSetParam::SoftAndLogicDate("Jan  1 2024"), "Jan  1 2024");
    EXPECT_STREQ(CSetParam::SoftAndLogicDate(""), "Jan  1 2024");
    EXPECT_STREQ(CSetParam::SoftAndLogicDate(nullptr), "Jan  1 2024");
    EXPECT_STREQ(CSetParam::SoftAndLogicDate("Feb  2 2025"), "Feb  2 2025");
}
