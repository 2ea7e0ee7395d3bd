// Board operations: trigger connector, manual trigger, reference clock,
// overload latches and the chip serial ports. The phase reset: forced by a
// sync output (ChannelExe), pulsed by a new carrier while synchronising
// (RegsTest).
#include "tests/fpga/fpga_test_support.h"
#include "hardware/mem_io.h"
#include "platform/shellrunner.h"
#include "param/sys_param.h"

class BoardOps : public SimBoardTest {
protected:
    void SetUp() override
    {
        SimBoardTest::SetUp();
        openDevice();
        for (int ch = 0; ch < 4; ++ch)
            sys_param::OnOff[ch] = false;
        sys_param::TrgInOut = 0;
    }
    // The bytes written to one address, one entry per write.
    static QList<QByteArray> writesAt(unsigned address)
    {
        QList<QByteArray> out;
        for (const auto& w : SimFpga::instance().writes())
            if (w.address == address)
                out << w.bytes;
        return out;
    }
    char trigDirection() const { return readFile("/sys/class/gpio/gpio41/value").left(1).at(0); }
};

TEST_F(BoardOps, TriggerConnectorDrivenByChannelsOrListenedToByOne)
{
    mem_io io;
    ASSERT_GE(io.trigIO, 0);
    struct Step {
        CH_ID ch;
        bool on, enable, isOut;
        int trg;   // TrgInOut afterwards
        int reg;   // REG_TRIG_IO written
        char gpio; // direction line afterwards
    };
    const Step steps[] = {
        {CH1, true, true, true, 0x01, 0x01, '1'},   // CH1 drives the connector
        {CH2, true, true, true, 0x03, 0x03, '1'},   // CH2 drives it too
        {CH3, true, true, false, 0x14, 0x14, '0'},  // CH3 listens: only it, input mode
        {CH1, true, true, true, 0x05, 0x05, '1'},   // back to output: input flag gone, CH3's bit kept
        {CH3, true, false, true, 0x01, 0x01, '1'},  // disabled: CH3's bit cleared
        {CH4, true, true, false, 0x18, 0x18, '0'},  // CH4 listens
        {CH4, true, false, false, 0x10, 0x00, '0'}, // no channel left in input mode: written as 0
        {CH2, false, true, true, 0x10, 0x00, '1'},  // output off counts as disabled
    };
    for (const Step& s : steps) {
        sys_param::OnOff[s.ch] = s.on;
        fpga().clearWrites();
        CSetParam::SetDigtalModTrigInOutReg(s.ch, s.enable, s.isOut);
        EXPECT_EQ(int(sys_param::TrgInOut), s.trg) << "ch " << s.ch;
        const auto w = writesAt(REG_TRIG_IO);
        ASSERT_EQ(w.size(), 1);
        EXPECT_EQ(w[0], bytes({s.reg})) << "ch " << s.ch;
        EXPECT_EQ(trigDirection(), s.gpio) << "ch " << s.ch;
    }
}

TEST_F(BoardOps, ManualTriggerOneChannelOrAll)
{
    sys_param::SetManualTrigType(CH_SYS, 0);
    CSetParam::SetManualTrig(CH3);
    EXPECT_EQ(writesAt(REG_MANUAL_TRIG), (QList<QByteArray> {bytes({0}), bytes({0x04})}));
    fpga().clearWrites();
    sys_param::SetManualTrigType(CH_SYS, 1);
    CSetParam::SetManualTrig(CH2);
    EXPECT_EQ(writesAt(REG_MANUAL_TRIG), (QList<QByteArray> {bytes({0}), bytes({15})}));
    sys_param::SetManualTrigType(CH_SYS, 0);
}

// The clock source words are checked through the controller (tests/channel,
// tests/controller); the lock needs every bit of the status.
TEST_F(BoardOps, ReferenceClockLock)
{
    EXPECT_FALSE(CSetParam::GetInputClkValid());
    fpga().poke(REG_CLK_STATUS, bytes({0xFE}));
    EXPECT_FALSE(CSetParam::GetInputClkValid());
    fpga().poke(REG_CLK_STATUS, bytes({0xFF}));
    EXPECT_TRUE(CSetParam::GetInputClkValid());
}

TEST_F(BoardOps, OverloadPollClearsTheLatchOfEachProtectedChannel)
{
    // CH1 and CH4 overloaded, CH2 with one bit only.
    fpga().poke(REG_SAFE_STATUS, bytes({0b11001011}));
    EXPECT_EQ(CSetParam::PollOverload(), 0x9);
    EXPECT_EQ(writesAt(0x060), (QList<QByteArray> {bytes({1})}));
    EXPECT_EQ(writesAt(0x360), (QList<QByteArray> {bytes({1})}));
    EXPECT_TRUE(writesAt(0x160).isEmpty());
    // The latches of CH1 and CH4 are cleared; CH2's single bit stays.
    EXPECT_EQ(fpga().peek(REG_SAFE_STATUS, 1), bytes({0b00001000}));
    fpga().clearWrites();
    EXPECT_EQ(CSetParam::PollOverload(), 0);
    EXPECT_TRUE(writesAt(0x060).isEmpty());
}

TEST_F(BoardOps, ChipSerialWords)
{
    CSetParam::SetLMK04906(0x12345678);
    CSetParam::SetPLL();
    EXPECT_EQ(writesAt(REG_CLK_SPI), (QList<QByteArray> {bytes({0x78, 0x56, 0x34}), bytes({60, 0, 0})}));
    EXPECT_EQ(fpga().peek(REG_CLK_SPI + 3, 1), bytes({0})); // REG_CLK_SOURCE untouched

    CSetParam::SetLTC2000Reg(CH1, 0x5A);
    CSetParam::SetLTC2000Reg(CH3, 0xA5);
    EXPECT_EQ(writesAt(REG_LTC_SEL), (QList<QByteArray> {bytes({0}), bytes({1})}));
    EXPECT_EQ(writesAt(REG_LTC_DATA), (QList<QByteArray> {bytes({0x5A}), bytes({0xA5})}));

    CSetParam::SetAD9122Reg(0x1BE0);
    EXPECT_EQ(writesAt(REG_DAC_SPI), (QList<QByteArray> {bytes({0xE0, 0x1B})}));
}
