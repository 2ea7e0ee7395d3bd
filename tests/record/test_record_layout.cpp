// The stored record is read back byte for byte by other builds' tools and by
// the remote configuration block: check the factory record's bytes at the
// documented offsets, independent of the structure declaration.
#include <gtest/gtest.h>
#include <cstring>
#include "param/sys_param.h"

namespace {
const unsigned char* bytes() { return reinterpret_cast<const unsigned char*>(&sys_param::HWinfo); }
template <typename T>
T at(size_t off)
{
    T v;
    std::memcpy(&v, bytes() + off, sizeof v);
    return v;
}
const size_t kCh = 56;       // first channel record
const size_t kChSize = 1104; // one channel record

class FactoryRecord : public ::testing::Test {
protected:
    void SetUp() override { sys_param::setFactoryValues(sys_param::HWinfo); }
};
} // namespace

TEST_F(FactoryRecord, ChannelFieldsAtTheirOffsets)
{
    for (int ch = 0; ch < 4; ++ch) {
        const size_t b = kCh + ch * kChSize;
        SCOPED_TRACE(ch);
        EXPECT_EQ(at<uint32_t>(b + 0), 0u);        // WorkMode
        EXPECT_EQ(at<uint32_t>(b + 4), 4160u);     // ModType MT_AM
        EXPECT_EQ(at<uint32_t>(b + 8), 8192u);     // SweepType ST_LINE
        EXPECT_EQ(at<uint32_t>(b + 12), 0u);       // BurstType: factory 0
        EXPECT_EQ(at<double>(b + 40), 1.0);        // ChCoupleFreqRate
        EXPECT_EQ(at<double>(b + 56), 1.0);        // ChCouplePhaseRate
        EXPECT_EQ(at<uint32_t>(b + 88), 1000000u); // Load high impedance
        EXPECT_EQ(at<double>(b + 104), 1.0);       // LimitH
        EXPECT_EQ(at<double>(b + 112), -1.0);      // LimitL
        EXPECT_EQ(at<double>(b + 120), 320000000.0);
        EXPECT_EQ(at<double>(b + 128), 1000.0);               // Frequency
        EXPECT_EQ(at<double>(b + 136), 0.001);                // Period
        EXPECT_EQ(at<double>(b + 144), 0.1);                  // Vpp
        EXPECT_EQ(at<double>(b + 176), 0.05);                 // High
        EXPECT_EQ(at<double>(b + 184), -0.05);                // Low
        EXPECT_EQ(at<double>(b + 200), 50.0);                 // Symmetry
        EXPECT_EQ(at<double>(b + 208), 10.0);                 // Delay
        EXPECT_EQ(at<double>(b + 216), ch < 2 ? 1e-9 : 5e-9); // Rise
        EXPECT_EQ(at<double>(b + 224), ch < 2 ? 1e-9 : 5e-9); // Fall
        EXPECT_EQ(at<double>(b + 240), 0.0005);               // PulseWidth
        EXPECT_EQ(at<uint32_t>(b + 248), 10u);                // SweepStep
        EXPECT_EQ(at<uint32_t>(b + 252), 2u);                 // BstCycles
        EXPECT_EQ(at<double>(b + 264), 10.0);                 // SNRatiodB
        EXPECT_STREQ(reinterpret_cast<const char*>(bytes() + b + 280), "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv");
        EXPECT_STREQ(reinterpret_cast<const char*>(bytes() + b + 408), "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv");
        EXPECT_EQ(bytes()[b + 536], 0);  // ListFileDir empty
        EXPECT_EQ(bytes()[b + 665], 16); // HarmonicOrder
        EXPECT_EQ(bytes()[b + 666], 2);  // HarmonicSn
        for (int k = 2; k <= 16; ++k)
            EXPECT_DOUBLE_EQ(at<double>(b + 672 + 8 * (k - 2)), 0.1 / k);
        EXPECT_EQ(at<double>(b + 912), 2e-8);      // EdgeTime
        EXPECT_EQ(at<double>(b + 928), 1000000.0); // SwpEndFre
        EXPECT_EQ(at<int32_t>(b + 948), 1);        // BstGatePolarity
        EXPECT_EQ(at<double>(b + 960), 0.005);     // TrigerPeriod
        EXPECT_EQ(at<float>(b + 1000), 100.0f);    // ModDepthAM
        EXPECT_EQ(at<double>(b + 1008), 1000.0);   // ModFreDev
        EXPECT_EQ(at<float>(b + 1016), 180.0f);    // ModPhaseDev
        EXPECT_EQ(at<double>(b + 1024), 100000.0); // ModHopFre
        EXPECT_EQ(at<double>(b + 1040), 25000.0);  // ModHopFre3
        EXPECT_EQ(at<float>(b + 1052), 90.0f);     // Phase2
        EXPECT_EQ(at<float>(b + 1060), 270.0f);    // Phase4
        EXPECT_EQ(at<double>(b + 1064), 0.002);    // ModOscTime
        EXPECT_EQ(at<double>(b + 1080), 100.0);    // ModRate
        EXPECT_EQ(at<double>(b + 1096), 0.0);      // QAMRate
    }
}

TEST_F(FactoryRecord, SystemFieldsAtTheirOffsets)
{
    EXPECT_EQ(bytes()[4472], 1);           // Beep
    EXPECT_EQ(bytes()[4474], 1);           // PhaseSyncType
    EXPECT_EQ(bytes()[4476], 7);           // BackLight
    EXPECT_EQ(bytes()[4477], 3);           // Screensaver
    EXPECT_EQ(bytes()[4482], 100);         // CounterTrigSensiti
    EXPECT_EQ(at<uint16_t>(4488), 1);      // digitalI2CAddr
    EXPECT_EQ(bytes()[4490], 4);           // digitalUARTDataBits
    EXPECT_EQ(at<float>(4500), 1000.0f);   // digitalSPIClk
    EXPECT_EQ(at<float>(4504), 1000.0f);   // digitalI2CClk
    EXPECT_EQ(at<double>(4512), 115200.0); // digitalUARTBaudrate
    EXPECT_EQ(at<double>(4520), 0.01);     // digitalASendInterval
    EXPECT_EQ(at<float>(4528), 3.0f);      // digitalAmplitude
}

TEST_F(FactoryRecord, ReservedBytesAndIdentityAreZero)
{
    const size_t reserved[][2] = {{52, 4}, {4493, 3}, {4508, 4}, {4532, 4}};
    for (auto r : reserved)
        for (size_t i = 0; i < r[1]; ++i)
            EXPECT_EQ(bytes()[r[0] + i], 0) << "offset " << r[0] + i;
    const size_t chReserved[][2] = {{33, 7}, {97, 7}, {263, 1}, {667, 1}, {954, 6}, {1020, 4}, {1089, 7}};
    for (int ch = 0; ch < 4; ++ch)
        for (auto r : chReserved)
            for (size_t i = 0; i < r[1]; ++i)
                EXPECT_EQ(bytes()[kCh + ch * kChSize + r[0] + i], 0) << "channel " << ch << " offset " << r[0] + i;
    for (size_t i = 0; i < 52; ++i)
        EXPECT_EQ(bytes()[i], 0) << "identity byte " << i;
}

TEST_F(FactoryRecord, WritesThroughAccessorsLandAtTheStoredOffsets)
{
    sys_param::SetChFrequency(CH2, 12345.5);
    EXPECT_EQ(at<double>(kCh + kChSize + 128), 12345.5);
    sys_param::SetChLoad(CH4, 50);
    EXPECT_EQ(at<uint32_t>(kCh + 3 * kChSize + 88), 50u);
    sys_param::SetChModPhase3(CH3, 45.25);
    EXPECT_EQ(at<float>(kCh + 2 * kChSize + 1056), 45.25f);
    sys_param::SetdigitalUARTParity(CH_SYS, 2);
    EXPECT_EQ(bytes()[4492], 2);
    sys_param::SetDigitalUARTBaudrate(CH_SYS, 9600);
    EXPECT_EQ(at<double>(4512), 9600.0);
}
