#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <string>
#include "param/sys_param.h"

namespace {
class Accessors : public ::testing::Test {
protected:
    void SetUp() override { sys_param::setFactoryValues(sys_param::HWinfo); }
};
} // namespace

TEST_F(Accessors, DoubleRuleKeepsBitsWithinTolerance)
{
    sys_param::SetChFrequency(CH1, 1000.0 + 5e-13);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].Frequency, 1000.0);
    sys_param::SetChFrequency(CH1, 1000.0 + 2e-12);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].Frequency, 1000.0 + 2e-12);
}

TEST_F(Accessors, FloatRuleNarrowsToSinglePrecision)
{
    sys_param::SetChModDepth(CH2, 33.3333333333);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH2].ModDepth, 33.3333333333f);
    EXPECT_EQ(sys_param::GetChModDepth(CH2), double(33.3333333333f));
}

TEST_F(Accessors, IntegerRuleTruncatesTowardsZero)
{
    sys_param::SetChBurstCync(CH1, 7.9);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].BstCycles, 7u);
    sys_param::SetChModWave(CH1, -1.7);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].ModWave, -1);
    sys_param::SetChBurstGatePolarity(CH1, -0.5);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].BstGatePolarity, 0);
    sys_param::SetChHarmonicOrder(CH1, 12.99);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].HarmonicOrder, 12);
    // Not a number changes nothing rather than storing an undefined value.
    sys_param::SetChBurstCync(CH1, std::nan(""));
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].BstCycles, 7u);
}

TEST_F(Accessors, BooleanRulesB0AndB4Differ)
{
    sys_param::SetChSyncRevers(CH1, 0.00005);
    EXPECT_FALSE(sys_param::HWinfo.PDT[CH1].SyncRevers);
    sys_param::SetChInversion(CH1, 0.00005);
    EXPECT_TRUE(sys_param::HWinfo.PDT[CH1].ChInversion);
    sys_param::SetChNoiseSumSW(CH1, -0.5);
    EXPECT_TRUE(sys_param::HWinfo.PDT[CH1].noiseSumSW);
    sys_param::SetChOnOff(CH2, 256); // only the low byte counts
    EXPECT_FALSE(sys_param::OnOff[CH2]);
    sys_param::SetChOnOff(CH2, 1);
    EXPECT_TRUE(sys_param::OnOff[CH2]);
    sys_param::SetClkSource(CH_SYS, 0.7); // (unsigned)0.7 is 0
    EXPECT_FALSE(sys_param::HWinfo.ClockSource);
}

TEST_F(Accessors, LoadRemembersTheReplacedValue)
{
    sys_param::SetChLoad(CH3, 50);
    EXPECT_EQ(sys_param::bkLoad, 1000000u);
    sys_param::SetChLoad(CH3, 75);
    EXPECT_EQ(sys_param::bkLoad, 50u);
    EXPECT_EQ(sys_param::GetChLoad(CH3), 75.0);
}

TEST_F(Accessors, HarmonicComponentFollowsHarmonicSn)
{
    sys_param::SetChHarmonicSn(CH1, 16);
    sys_param::SetChHarmonicAmp(CH1, 0.25);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].HarmonicSnAmp[14], 0.25);
    sys_param::SetChHarmonicSn(CH1, 3);
    sys_param::SetChHarmonicPhase(CH1, 90);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].HarmonicSnPhase[1], 90.0);
    EXPECT_DOUBLE_EQ(sys_param::GetChHarmonicAmp(CH1), 0.1 / 3);
    // A record holding an impossible HarmonicSn never reaches outside the array.
    sys_param::HWinfo.PDT[CH1].HarmonicSn = 200;
    sys_param::SetChHarmonicAmp(CH1, 0.5);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].HarmonicSnAmp[14], 0.5);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].HarmonicSnPhase[0], 0.0);
}

TEST_F(Accessors, CouplingSelectsTheFirstRecordOfAPair)
{
    for (CH_ID id : {CH1, CH2, CH3, CH4, COUPLE34}) {
        sys_param::setFactoryValues(sys_param::HWinfo);
        sys_param::SetChCoupleFreqRate(id, 3.0);
        EXPECT_EQ(sys_param::HWinfo.PDT[CH3].ChCoupleFreqRate, 3.0) << id;
        EXPECT_EQ(sys_param::HWinfo.PDT[CH1].ChCoupleFreqRate, 1.0) << id;
    }
    sys_param::SetChCoupleAmplSW(COUPLE12, 1);
    EXPECT_TRUE(sys_param::HWinfo.PDT[CH1].ChCoupleAmplSW);
    EXPECT_FALSE(sys_param::HWinfo.PDT[CH3].ChCoupleAmplSW);
    sys_param::SetChCouplePhaseType(COUPLE12, 0.00005); // B4
    EXPECT_FALSE(sys_param::HWinfo.PDT[CH1].ChCouplePhaseType);
}

TEST_F(Accessors, FilePathsAreCutAt127Bytes)
{
    const std::string longPath(200, 'a');
    sys_param::SetChArbFileDir(CH2, longPath.c_str(), int(longPath.size()));
    EXPECT_EQ(std::string(sys_param::GetChArbFileDir(CH2)), std::string(127, 'a'));
    EXPECT_EQ(sys_param::HWinfo.PDT[CH2].ArbFileDir[127], '\0');
    sys_param::SetChListFileDir(CH2, "/media/usbdisk/l.csv", 20);
    EXPECT_STREQ(sys_param::GetChListFileDir(CH2), "/media/usbdisk/l.csv");
    // A shorter path leaves no tail of the earlier one in the record.
    sys_param::SetChArbFileDir(CH2, "/x", 2);
    for (int i = 2; i < 128; ++i)
        EXPECT_EQ(sys_param::HWinfo.PDT[CH2].ArbFileDir[i], '\0') << i;
}

TEST_F(Accessors, ChannelCopyCopiesEveryByte)
{
    sys_param::SetChFrequency(CH1, 2.5e6);
    sys_param::SetChArbFileDir(CH1, "/home/root/a.bsv", 16);
    sys_param::HWinfo.PDT[CH1].ChCoupleFreqDev = 7;
    sys_param::chParamCopy(CH1, CH2);
    EXPECT_EQ(std::memcmp(&sys_param::HWinfo.PDT[CH1], &sys_param::HWinfo.PDT[CH2], sizeof(CH_DATA)), 0);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH3].Frequency, 1000.0);
}

TEST_F(Accessors, ModTypeOfIndexAndModeEncoding)
{
    const uint32_t expected[15] = {4160, 4161, 4162, 4163, 4292, 4293, 4294, 4295,
                                   4232, 4233, 4234, 4235, 4108, 4109, 4110};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(uint32_t(sys_param::modTypeOfIndex(i)), expected[i]);
        EXPECT_EQ(uint32_t(sys_param::modTypeOfIndex(i + 64)), expected[i]);
        EXPECT_EQ(expected[i] & 63, uint32_t(i));
        EXPECT_EQ(workModeOf(expected[i]), 1u);
    }
    EXPECT_EQ(workModeOf(ST_LIST), 2u);
    EXPECT_EQ(workModeOf(BT_GATE), 3u);
    // A factory BurstType of 0 masked with & 3 reads as N cycles.
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].BurstType & 3, BT_NCYC & 3);
}
