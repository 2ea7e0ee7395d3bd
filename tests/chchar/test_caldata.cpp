#include <cmath>
#include "tests/chchar/chchar_fixture.h"

TEST_F(ChCharTest, CurvesAreFoundByRangeAndAmplitude)
{
    CChCharacter c(CH1);
    ACAmpFre* a = c.GetATTtoAmpForMap(9, 2.5);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->AdjAmp, 2.5);
    EXPECT_TRUE(a->Points.empty());
    a->Points.push_back(ACFrePiont {1000, 1, 0, 0});
    ACAmpFre* again = c.GetATTtoAmpForMap(9, 2.5);
    EXPECT_EQ(again->Points.size(), 1u);
    EXPECT_EQ(c.GetATTtoAmpMap(9)->ACFreAmp.size(), 1u);
    c.GetATTtoAmpForMap(9, 5.0);
    EXPECT_EQ(c.GetATTtoAmpMap(9)->ACFreAmp.size(), 2u);
    EXPECT_EQ(c.GetATTtoAmpForMap(3, 1.0), nullptr); // code without a range
    // Other ranges and other channels' objects are untouched.
    EXPECT_TRUE(c.GetATTtoAmpMap(1)->ACFreAmp.empty());
    CChCharacter d(CH1);
    EXPECT_TRUE(d.GetATTtoAmpMap(9)->ACFreAmp.empty());

    c.ClearAcCalValue();
    for (const AmpSWMap& m : c.AmpSWMaps)
        EXPECT_TRUE(m.ACFreAmp.empty());
}

// Reading calibration files (tests/calibration) merges close points and
// clamps temperature factors; here what the file texts do not reach: the
// rounding of a printed frequency and the values no file may add.
TEST_F(ChCharTest, CalibrationPointsKeepFourSignificantDigits)
{
    std::vector<ACFrePiont> p;
    EXPECT_TRUE(CChCharacter::SetAddACCalValue(&p, 1234567.0, 0.99));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].fre, 1235000.0);
    EXPECT_EQ(p[0].amp, 0.99);
    // 1.0006e6 is 0.1 % away from nothing: a point of its own at 1.001e6.
    CChCharacter::SetAddACCalValue(&p, 1.0006e6, 0.97);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1].fre, 1.001e6);
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(&p, 0.0, 0.9));
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(&p, -5.0, 0.9));
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(&p, NAN, 0.9));
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(nullptr, 1000, 0.9));
    EXPECT_EQ(p.size(), 2u);
}

TEST_F(ChCharTest, TemperatureFactorsMatchThePrintedFrequency)
{
    std::vector<ACFrePiont> p = {{1000, 1, 0, 0}, {1.235e6, 0.9, 0, 0}};
    // The factor file carries the frequency as printed; it is rounded the
    // same way before matching.
    EXPECT_TRUE(CChCharacter::SetAddACTempValue(&p, 1234567, 1.05, true));
    EXPECT_DOUBLE_EQ(p[1].tmpHfactor, 1.05 - 1.0);
    EXPECT_EQ(p[1].amp, 0.9);
    // No calibration point at that frequency: nothing changes.
    EXPECT_FALSE(CChCharacter::SetAddACTempValue(&p, 2e6, 1.1, true));
    EXPECT_EQ(p.size(), 2u);
    LogCapture log;
    EXPECT_FALSE(CChCharacter::SetAddACTempValue(&p, -1.0, 1.1, true));
    EXPECT_TRUE(log.contains("error temp freq:-1.000000e+00"));
}
