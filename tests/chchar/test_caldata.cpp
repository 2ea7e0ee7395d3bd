#include <cmath>
#include "tests/chchar/chchar_fixture.h"

TEST_F(ChCharTest, CurvesAreFoundByRangeAndAmplitude)
{
    CChCharacter c(CH1);
    ACAmpFre* a = c.GetATTtoAmpForMap(9, 2.5);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->AdjAmp, 2.5);
    EXPECT_TRUE(a->Points.empty());
    a->Points.push_back(ACFrePiont{1000, 1, 0, 0});
    ACAmpFre* again = c.GetATTtoAmpForMap(9, 2.5);
    EXPECT_EQ(again->Points.size(), 1u);
    EXPECT_EQ(c.GetATTtoAmpMap(9)->ACFreAmp.size(), 1u);
    c.GetATTtoAmpForMap(9, 5.0);
    EXPECT_EQ(c.GetATTtoAmpMap(9)->ACFreAmp.size(), 2u);
    EXPECT_EQ(c.GetATTtoAmpForMap(3, 1.0), nullptr);  // code without a range
    // Other ranges and other channels' objects are untouched.
    EXPECT_TRUE(c.GetATTtoAmpMap(1)->ACFreAmp.empty());
    CChCharacter d(CH1);
    EXPECT_TRUE(d.GetATTtoAmpMap(9)->ACFreAmp.empty());

    c.ClearAcCalValue();
    for (const AmpSWMap& m : c.AmpSWMaps)
        EXPECT_TRUE(m.ACFreAmp.empty());
}

TEST_F(ChCharTest, CalibrationPointsKeepFourSignificantDigits)
{
    std::vector<ACFrePiont> p;
    EXPECT_TRUE(CChCharacter::SetAddACCalValue(&p, 1234567.0, 0.99));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].fre, 1235000.0);
    EXPECT_EQ(p[0].amp, 0.99);
    EXPECT_EQ(p[0].tmpHfactor, 0.0);
    EXPECT_EQ(p[0].tmpLfactor, 0.0);

    // 1.0001e6 and 1.0000e6 both round to 1.000e6: one point, the later gain.
    p.clear();
    CChCharacter::SetAddACCalValue(&p, 1.0001e6, 0.95);
    CChCharacter::SetAddACCalValue(&p, 1.0000e6, 0.96);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].fre, 1e6);
    EXPECT_EQ(p[0].amp, 0.96);
    // 1.001e6 is 0.1 % away: a point of its own.
    CChCharacter::SetAddACCalValue(&p, 1.0006e6, 0.97);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1].fre, 1.001e6);

    EXPECT_FALSE(CChCharacter::SetAddACCalValue(&p, 0.0, 0.9));
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(&p, -5.0, 0.9));
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(&p, NAN, 0.9));
    EXPECT_FALSE(CChCharacter::SetAddACCalValue(nullptr, 1000, 0.9));
    EXPECT_EQ(p.size(), 2u);
}

TEST_F(ChCharTest, SortingOrdersCurvesByAmplitudeAndPointsByFrequency)
{
    CChCharacter c(CH4);
    CChCharacter::SetAddACCalValue(&c.GetATTtoAmpForMap(0, 3.0)->Points, 5e6, 0.9);
    CChCharacter::SetAddACCalValue(&c.GetATTtoAmpForMap(0, 3.0)->Points, 1e3, 1.0);
    CChCharacter::SetAddACCalValue(&c.GetATTtoAmpForMap(0, 1.0)->Points, 2e6, 0.8);
    CChCharacter::SetAddACCalValue(&c.GetATTtoAmpForMap(0, 1.0)->Points, 1e5, 0.85);
    c.SortACCalValue(0);
    const AmpSWMap* m = c.GetATTtoAmpMap(0);
    ASSERT_EQ(m->ACFreAmp.size(), 2u);
    EXPECT_EQ(m->ACFreAmp[0].AdjAmp, 1.0);
    EXPECT_EQ(m->ACFreAmp[1].AdjAmp, 3.0);
    EXPECT_EQ(m->ACFreAmp[0].Points[0].fre, 1e5);
    EXPECT_EQ(m->ACFreAmp[0].Points[1].fre, 2e6);
    EXPECT_EQ(m->ACFreAmp[1].Points[0].fre, 1e3);
    EXPECT_EQ(m->ACFreAmp[1].Points[1].amp, 0.9);
}

TEST_F(ChCharTest, EveryCurveOfARangeIsAnchoredAtOneKilohertz)
{
    CChCharacter c(CH1);
    // The first range in table order (code 14) has no curves at all; later
    // ranges are still anchored.
    c.GetATTtoAmpForMap(8, 0.1)->Points = {{1000, 0.99, 0, 0}, {1e7, 0.98, 0, 0}};
    c.GetATTtoAmpForMap(8, 0.3)->Points = {{1e5, 0.97, 0, 0}, {1e7, 0.95, 0, 0}};
    c.GetATTtoAmpForMap(8, 0.2);  // nothing measured: left alone
    c.GetATTtoAmpForMap(1, 10.0)->Points = {{1e6, 1.01, 0, 0}};
    c.GetATTtoAmpForMap(1, 5.0)->Points = {{1000.05, 1.02, 0, 0}, {1e6, 1.0, 0, 0}};
    // A range without a 1 kHz curve gets nothing.
    c.GetATTtoAmpForMap(9, 5.0)->Points = {{1e4, 0.9, 0, 0}};
    c.Set1KFreqCalValue();

    const AmpSWMap* m8 = c.GetATTtoAmpMap(8);
    ASSERT_EQ(m8->ACFreAmp[1].Points.size(), 3u);
    EXPECT_EQ(m8->ACFreAmp[1].Points[0].fre, 1000.0);
    EXPECT_EQ(m8->ACFreAmp[1].Points[0].amp, 0.99);
    EXPECT_EQ(m8->ACFreAmp[1].Points[1].fre, 1e5);
    EXPECT_EQ(m8->ACFreAmp[0].Points.size(), 2u);  // already anchored
    EXPECT_TRUE(m8->ACFreAmp[2].Points.empty());

    const AmpSWMap* m1 = c.GetATTtoAmpMap(1);
    ASSERT_EQ(m1->ACFreAmp[0].Points.size(), 2u);
    EXPECT_EQ(m1->ACFreAmp[0].Points[0].fre, 1000.0);
    EXPECT_EQ(m1->ACFreAmp[0].Points[0].amp, 1.02);  // within 0.01 % of 1 kHz counts

    EXPECT_EQ(c.GetATTtoAmpMap(9)->ACFreAmp[0].Points.size(), 1u);
}

TEST_F(ChCharTest, TemperatureFactorsAreClampedAndStoredAsChange)
{
    std::vector<ACFrePiont> p = {{1000, 1, 0, 0}, {1.235e6, 0.9, 0, 0}};
    EXPECT_TRUE(CChCharacter::SetAddACTempValue(&p, 1000, 1.5, true));
    EXPECT_DOUBLE_EQ(p[0].tmpHfactor, 0.2);
    EXPECT_EQ(p[0].tmpLfactor, 0.0);
    EXPECT_TRUE(CChCharacter::SetAddACTempValue(&p, 1000, 0.5, false));
    EXPECT_DOUBLE_EQ(p[0].tmpLfactor, -0.1);
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
