// Counter trigger DAC words, the range hysteresis and the statistics. The
// readings of a simulated input are in tests/digital (test_sim_inputs.cpp),
// the protocol output's bytes decoded by sigrok in the client tests.
#include "tests/regs/regs_fixture.h"

namespace {
void pokeCount(unsigned address, uint32_t v)
{
    QByteArray b;
    for (int k = 0; k < 4; ++k)
        b.append(char((v >> (8 * k)) & 0xFF));
    ASSERT_TRUE(SimFpga::instance().poke(address, b));
}
} // namespace

class CounterTest : public RegsTest {
protected:
    void SetUp() override
    {
        RegsTest::SetUp();
        CSetParam::offCounter();
        CSetParam::state.cntSlowRange = false;
    }
    // Counts as the hardware presents them: one less than counted.
    static void fast(uint32_t h, uint32_t r, uint32_t c)
    {
        pokeCount(REG_CNT_HLEVEL_H, h - 1);
        pokeCount(REG_CNT_REF_H, r - 1);
        pokeCount(REG_CNT_CYCLE_H, c - 1);
    }
    static void slow(uint32_t h, uint32_t r, uint32_t c)
    {
        pokeCount(REG_CNT_HLEVEL_L, h - 1);
        pokeCount(REG_CNT_REF_L, r - 1);
        pokeCount(REG_CNT_CYCLE_L, c - 1);
    }
};

TEST_F(CounterTest, TriggerLevelAndSensitivityWords)
{
    CSetParam::SetCntTrigVoltage(1.0);
    EXPECT_EQ(writesAt(REG_OFS_DAC_SEL), (QList<uint64_t> {2}));
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t> {(uint64_t(1.0 / 2.5 * 2047 + 2047) & 0xFFF) + 0x1000}));
    fpga().clearWrites();
    CSetParam::SetCntTrigVoltage(-2.5);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t> {0x1000}));
    // Beyond the span: held at full scale, not wrapped to a low level.
    fpga().clearWrites();
    CSetParam::SetCntTrigVoltage(3.0);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t> {0x1000 + 4095}));

    fpga().clearWrites();
    CSetParam::SetCntTrigSensiti(50);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t> {uint64_t(50.0 / 100 * 4095) | 0x5000}));
    fpga().clearWrites();
    CSetParam::SetCntTrigSensiti(150);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t> {4095 | 0x5000}));
}

TEST_F(CounterTest, SlowRangeBelowTheThresholdWithHysteresis)
{
    // 500 Hz on the fast counters is below 1000 Hz: the slow range counts.
    fast(1, 5000000, 1);
    slow(312500, 625000, 1000); // 1000 cycles in 625000 FCLK ticks, high half the time
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_TRUE(CSetParam::state.cntSlowRange);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntFre[CSetParam::VALUE], 1000.0 * ref::FCLK / 625000.0);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntDuty[CSetParam::VALUE], 50.0);
    // From the slow range the fast one takes over only above 10 kHz.
    fast(1, 2500000, 1000); // 8 * 1000 * FCLK / 2.5e6 = 1 MHz
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_FALSE(CSetParam::state.cntSlowRange);
    fast(1, 250000000, 8); // 80 Hz on the fast counters: below 1000 Hz
    slow(1, 312500000, 5000);
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_TRUE(CSetParam::state.cntSlowRange);
    fast(1, 312500000, 1000); // 8000 Hz: above 1000, but below the 10 kHz of the slow range
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_TRUE(CSetParam::state.cntSlowRange);
}

TEST_F(CounterTest, StatisticsOverTheMostRecentReadings)
{
    const double fs[] = {1e6, 2e6, 4e6};
    for (double f : fs) {
        fast(1, 2500000, uint32_t(f * 2500000 / (8 * ref::FCLK)));
        ASSERT_EQ(CSetParam::readCounterPara(), 1);
    }
    const double mean = (1e6 + 2e6 + 4e6) / 3;
    const double sd =
        std::sqrt(((1e6 - mean) * (1e6 - mean) + (2e6 - mean) * (2e6 - mean) + (4e6 - mean) * (4e6 - mean)) / 3);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntFre[CSetParam::MEAN], mean);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntFre[CSetParam::MIN], 1e6);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntFre[CSetParam::MAX], 4e6);
    EXPECT_NEAR(CSetParam::state.cntFre[CSetParam::SDEV], sd, sd * 1e-12);
    EXPECT_EQ(CSetParam::CounterSamples(), 3);

    // The ring keeps 256: after 300 readings of 1 MHz the 2 and 4 MHz are gone.
    for (int i = 0; i < 300; ++i) {
        fast(1, 2500000, 1000);
        ASSERT_EQ(CSetParam::readCounterPara(), 1);
    }
    EXPECT_EQ(CSetParam::CounterSamples(), 256);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntFre[CSetParam::MAX], 1e6);
    EXPECT_DOUBLE_EQ(CSetParam::state.cntFre[CSetParam::SDEV], 0);
    CSetParam::offCounter();
    EXPECT_EQ(CSetParam::CounterSamples(), 0);
    EXPECT_EQ(CSetParam::state.strFre[CSetParam::VALUE], "------");
}
