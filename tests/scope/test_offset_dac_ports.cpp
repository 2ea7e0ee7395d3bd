// The offset-DAC words the simulated FPGA latches per channel: the two DACs
// each serve a pair of channels, bit 15 picks the first of the pair and bit
// 12 the fine output.
#include "tests/scope/scope_fixture.h"

namespace {
void dacWord(unsigned sel, uint16_t word)
{
    uint8_t s = uint8_t(sel);
    userCmd a;
    CSetParam::MakeCMD(a, REG_OFS_DAC_SEL, &s, FPGA_UNIT_BYTES);
    SimFpga::instance().write(a, 1);
    uint8_t b[2] = {uint8_t(word & 0xFF), uint8_t(word >> 8)};
    userCmd c;
    CSetParam::MakeCMD(c, REG_OFS_DAC, b, FPGA_UNIT_BYTES);
    SimFpga::instance().write(c, 2);
}
} // namespace

TEST(OffsetDacPorts, EachChannelKeepsItsCoarseAndFineWord)
{
    SimFpga::instance().reset();
    EXPECT_TRUE(FpgaProbe::stream("offset:1").isEmpty());
    dacWord(0, 0x8000 | 123); // CH1 coarse
    EXPECT_TRUE(FpgaProbe::stream("offset:1").isEmpty()) << "only one of the two words";
    dacWord(0, 0xC000 | 0x1000 | 456);  // CH1 fine
    dacWord(0, 789);                    // CH2 coarse
    dacWord(0, 0x4000 | 0x1000 | 4095); // CH2 fine
    dacWord(1, 0x8000 | 1);             // CH3 coarse
    dacWord(1, 0xD000 | 2);             // CH3 fine
    dacWord(2, 0x1000 | 2047);          // the counter's trigger DAC: no channel
    dacWord(2, 0x5000 | 100);
    EXPECT_EQ(FpgaProbe::stream("offset:1"), (QVector<quint64> {123, 456}));
    EXPECT_EQ(FpgaProbe::stream("offset:2"), (QVector<quint64> {789, 4095}));
    EXPECT_EQ(FpgaProbe::stream("offset:3"), (QVector<quint64> {1, 2}));
    EXPECT_TRUE(FpgaProbe::stream("offset:4").isEmpty());
    QVector<quint64> out;
    QString why;
    EXPECT_FALSE(SimFpga::instance().stream("offset:5", &out, &why));
    EXPECT_TRUE(why.contains("offset:CH"));
    SimFpga::instance().reset();
    EXPECT_TRUE(FpgaProbe::stream("offset:1").isEmpty());
}
