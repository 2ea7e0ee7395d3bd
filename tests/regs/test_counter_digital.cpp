// Counter trigger DAC words, counter readings and statistics; the digital
// protocol output's bytes, companions, clock and interval words.
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
        CSetParam::cntSlowRange = false;
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
    EXPECT_EQ(writesAt(REG_OFS_DAC_SEL), (QList<uint64_t>{2}));
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t>{(uint64_t(1.0 / 2.5 * 2047 + 2047) & 0xFFF) + 0x1000}));
    fpga().clearWrites();
    CSetParam::SetCntTrigVoltage(-2.5);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t>{0x1000}));
    // Beyond the span: held at full scale, not wrapped to a low level.
    fpga().clearWrites();
    CSetParam::SetCntTrigVoltage(3.0);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t>{0x1000 + 4095}));

    fpga().clearWrites();
    CSetParam::SetCntTrigSensiti(50);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t>{uint64_t(50.0 / 100 * 4095) | 0x5000}));
    fpga().clearWrites();
    CSetParam::SetCntTrigSensiti(150);
    EXPECT_EQ(writesAt(REG_OFS_DAC), (QList<uint64_t>{4095 | 0x5000}));
}

TEST_F(CounterTest, FastRangeReadingAndDerivedTimes)
{
    fast(1250000, 2500000, 1000);
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    const double f = 1000.0 * 8 * ref::FCLK / 2500000.0;
    const double duty = 1250000.0 * 100 / (2500000.0 * 8);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::VALUE], f);
    EXPECT_DOUBLE_EQ(CSetParam::cntDuty[CSetParam::VALUE], duty);
    EXPECT_DOUBLE_EQ(CSetParam::cntPeriod[CSetParam::VALUE], 1 / f);
    EXPECT_DOUBLE_EQ(CSetParam::cntPWidth[CSetParam::VALUE], 1 / f * duty / 100);
    EXPECT_DOUBLE_EQ(CSetParam::cntNWidth[CSetParam::VALUE], 1 / f - 1 / f * duty / 100);
    EXPECT_FALSE(CSetParam::cntSlowRange);
    EXPECT_EQ(CSetParam::strFre.size(), int(CSetParam::COUNTER_VALUES));
    EXPECT_NE(CSetParam::strFre[CSetParam::VALUE], "------");
    EXPECT_EQ(CSetParam::CounterSamples(), 1);
}

TEST_F(CounterTest, SlowRangeBelowTheThresholdWithHysteresis)
{
    // 500 Hz on the fast counters is below 1000 Hz: the slow range counts.
    fast(1, 5000000, 1);
    slow(312500, 625000, 1000);  // 1000 cycles in 625000 FCLK ticks, high half the time
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_TRUE(CSetParam::cntSlowRange);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::VALUE], 1000.0 * ref::FCLK / 625000.0);
    EXPECT_DOUBLE_EQ(CSetParam::cntDuty[CSetParam::VALUE], 50.0);
    // From the slow range the fast one takes over only above 10 kHz.
    fast(1, 2500000, 1000);  // 8 * 1000 * FCLK / 2.5e6 = 1 MHz
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_FALSE(CSetParam::cntSlowRange);
    fast(1, 250000000, 8);   // 80 Hz on the fast counters: below 1000 Hz
    slow(1, 312500000, 5000);
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_TRUE(CSetParam::cntSlowRange);
    fast(1, 312500000, 1000); // 8000 Hz: above 1000, but below the 10 kHz of the slow range
    ASSERT_EQ(CSetParam::readCounterPara(), 1);
    EXPECT_TRUE(CSetParam::cntSlowRange);
}

TEST_F(CounterTest, NoSignalShowsDashesEverywhere)
{
    fast(1, 1, 1);
    slow(1, 1, 1);
    EXPECT_EQ(CSetParam::readCounterPara(), 0);
    for (const QStringList* l : {&CSetParam::strFre, &CSetParam::strDuty, &CSetParam::strPeriod,
                                 &CSetParam::strPWidth, &CSetParam::strNWidth}) {
        ASSERT_EQ(l->size(), int(CSetParam::COUNTER_VALUES));
        for (const QString& s : *l)
            EXPECT_EQ(s, "------");
    }
    EXPECT_EQ(CSetParam::CounterSamples(), 0);
}

TEST_F(CounterTest, StatisticsOverTheMostRecentReadings)
{
    const double fs[] = {1e6, 2e6, 4e6};
    for (double f : fs) {
        fast(1, 2500000, uint32_t(f * 2500000 / (8 * ref::FCLK)));
        ASSERT_EQ(CSetParam::readCounterPara(), 1);
    }
    const double mean = (1e6 + 2e6 + 4e6) / 3;
    const double sd = std::sqrt(((1e6 - mean) * (1e6 - mean) + (2e6 - mean) * (2e6 - mean) +
                                 (4e6 - mean) * (4e6 - mean)) / 3);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::MEAN], mean);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::MIN], 1e6);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::MAX], 4e6);
    EXPECT_NEAR(CSetParam::cntFre[CSetParam::SDEV], sd, sd * 1e-12);
    EXPECT_EQ(CSetParam::CounterSamples(), 3);

    // The ring keeps 256: after 300 readings of 1 MHz the 2 and 4 MHz are gone.
    for (int i = 0; i < 300; ++i) {
        fast(1, 2500000, 1000);
        ASSERT_EQ(CSetParam::readCounterPara(), 1);
    }
    EXPECT_EQ(CSetParam::CounterSamples(), 256);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::MAX], 1e6);
    EXPECT_DOUBLE_EQ(CSetParam::cntFre[CSetParam::SDEV], 0);
    CSetParam::offCounter();
    EXPECT_EQ(CSetParam::CounterSamples(), 0);
    EXPECT_EQ(CSetParam::strFre[CSetParam::VALUE], "------");
}

TEST_F(RegsTest, DigitalUartParityCompanions)
{
    sys_param::HWinfo.digitalType = DIGITAL_UART;
    const char data[] = {char(0x00), char(0x01), char(0x03), char(0xFF), char(0x80)};
    const int ones[] = {0, 1, 2, 8, 1};
    sys_param::HWinfo.digitalUARTParity = 1;  // even
    CSetParam::SetDigitalData(data, 5);
    QVector<quint64> d = stream("digital"), f = stream("digital:flag");
    ASSERT_EQ(d.size(), 5);
    ASSERT_EQ(f.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(d[i], quint64(uint8_t(data[i])));
        EXPECT_EQ(f[i], quint64(ones[i] & 1)) << i;
    }
    sys_param::HWinfo.digitalUARTParity = 2;  // odd
    CSetParam::SetDigitalData(data, 5);
    f = stream("digital:flag");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f[i], quint64((ones[i] & 1) == 0 ? 1 : 0)) << i;
    sys_param::HWinfo.digitalUARTParity = 0;
    CSetParam::SetDigitalData(data, 5);
    f = stream("digital:flag");
    EXPECT_EQ(f.count(0), 5);
    EXPECT_EQ(writesAt(REG_DIG_LOAD).mid(0, 2), (QList<uint64_t>{1, 0}));
}

TEST_F(RegsTest, DigitalI2cAddressGoesFirst)
{
    sys_param::HWinfo.digitalType = DIGITAL_I2C;
    const char data[] = {char(0xAA), char(0x55)};
    sys_param::HWinfo.digitalI2CAddr = 0x50;
    CSetParam::SetDigitalData(data, 2);
    EXPECT_EQ(stream("digital"), (QVector<quint64>{0xA0, 0xAA, 0x55}));
    EXPECT_EQ(stream("digital:flag"), (QVector<quint64>{0, 0, 0}));
    // 10-bit address 0x2F3 (A9 A8 = 1 0): 11110 10 0, then 0xF3.
    sys_param::HWinfo.digitalI2CAddr = 0x2F3;
    CSetParam::SetDigitalData(data, 2);
    EXPECT_EQ(stream("digital"), (QVector<quint64>{0xF4, 0xF3, 0xAA, 0x55}));
    sys_param::HWinfo.digitalI2CAddr = 0x1FF;  // A9 A8 = 0 1
    CSetParam::SetDigitalData(data, 0);
    EXPECT_EQ(stream("digital"), (QVector<quint64>{0xF2, 0xFF}));
}

TEST_F(RegsTest, DigitalDataCappedClockAndIntervalWords)
{
    sys_param::HWinfo.digitalType = DIGITAL_SPI;
    std::vector<char> big(3000, char(0x11));
    big[2047] = char(0x22);
    CSetParam::SetDigitalData(big.data(), unsigned(big.size()));
    const QVector<quint64> d = stream("digital");
    ASSERT_EQ(d.size(), 2048);
    EXPECT_EQ(d.last(), 0x22u);

    CSetParam::SetDigitalClk(2e6);
    EXPECT_EQ(value(REG_DIG_CLK, 4), uint64_t(2e6 * ref::W32 / ref::FCLK));
    CSetParam::SetDigitalAutoInterval(1 / 0.5);
    EXPECT_EQ(value(REG_DIG_INTERVAL, 6), uint64_t((1 / 0.5) * ref::W48F / ref::FCLK));
    CSetParam::SetDigitalMannulTrig();
    EXPECT_EQ(writesAt(REG_DIG_MANUAL), (QList<uint64_t>{1, 0}));
}
