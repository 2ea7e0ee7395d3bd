#include <cmath>
#include "tests/chchar/chchar_fixture.h"

TEST_F(ChCharTest, AcRangeAtTheBoundariesHighImpedance)
{
    CChCharacter c(CH1);
    // Each range serves up to its `amp`; just above goes to the next AC
    // range. The DC-only range (amp 0) is never chosen for an amplitude.
    const struct {
        double amp;
        int atOrBelow, above;
    } edges[] = {
        {0.004, 14, 6}, {0.011, 6, 12}, {0.033, 12, 4}, {0.1, 4, 8},
        {0.3, 8, 0},    {4.0, 0, 9},    {8.0, 9, 1},    {20.0, 1, 1},
    };
    for (const auto& e : edges) {
        EXPECT_EQ(int(c.GetACMapSW(e.amp)), e.atOrBelow) << e.amp;
        EXPECT_EQ(int(c.GetACMapSW(e.amp * (1 + 1e-9))), e.above) << e.amp;
    }
    EXPECT_EQ(c.GetACSWMap(0.05), &c.AmpSWMaps[3]);
    rec(CH1).BaseWave = BASE_DC;
    EXPECT_EQ(c.GetDCSWMap(3.0), &c.AmpSWMaps[5]); // the attenuator-only range
}

// Range codes by amplitude (AC) or offset (DC) for a load and a wave. Into
// 50 ohm the open-circuit level, twice the one at the load, counts. Up to
// 2 V offset every small range reaches; above, a sine takes the amplified
// /3 range (9), a DC level the attenuator-only range (15).
TEST_F(ChCharTest, RangeCodeByAmplitudeOffsetLoadAndWave)
{
    const struct {
        CH_ID ch;
        unsigned load;
        u32 wave;
        bool ac;
        double v;
        int code;
    } rows[] = {
        {CH1, 1000000, BASE_Sine, true, 0.0, 14},  {CH1, 1000000, BASE_Sine, true, 0.002, 14},
        {CH1, 1000000, BASE_Sine, true, 2.0, 0},   {CH1, 1000000, BASE_Sine, true, 25.0, 1},
        {CH2, 50, BASE_Sine, true, 0.005, 6},      {CH2, 50, BASE_Sine, true, 0.002, 14},
        {CH2, 50, BASE_Sine, true, 0.0021, 6},     {CH3, 50, BASE_Sine, true, 0.15, 8},
        {CH3, 50, BASE_Sine, true, 0.1500001, 0},  {CH2, 50, BASE_Sine, true, 2.0, 0},
        {CH3, 50, BASE_Sine, true, 2.0000001, 9},  {CH2, 50, BASE_Sine, true, 4.0, 9},
        {CH3, 50, BASE_Sine, true, 10.0, 1},       {CH1, 1000000, BASE_Sine, false, 0.0, 14},
        {CH1, 1000000, BASE_Sine, false, 2.0, 14}, {CH1, 1000000, BASE_Sine, false, 2.0000001, 9},
        {CH1, 1000000, BASE_Sine, false, 10.0, 9}, {CH1, 1000000, BASE_Sine, false, 10.0001, 1},
        {CH1, 1000000, BASE_DC, false, 3.0, 15},   {CH1, 1000000, BASE_DC, false, 2.0, 14},
        {CH1, 1000000, BASE_DC, false, 10.0, 15},  {CH1, 1000000, BASE_DC, false, 10.0001, 1},
        {CH1, 50, BASE_Square, false, 1.0, 14},    {CH1, 50, BASE_Square, false, 1.5, 9},
        {CH1, 50, BASE_Square, false, 5.0, 9},     {CH1, 50, BASE_Square, false, 5.01, 1},
    };
    for (const auto& r : rows) {
        setLoad(r.ch, r.load);
        rec(r.ch).BaseWave = r.wave;
        CChCharacter c(r.ch);
        EXPECT_EQ(int(r.ac ? c.GetACMapSW(r.v) : c.GetDCMapSW(r.v)), r.code)
            << "ch " << r.ch << " load " << r.load << " wave " << r.wave << (r.ac ? " AC " : " DC ") << r.v;
    }
}

TEST_F(ChCharTest, FullScaleOfARangeAtTheLoadAndWithoutLoad)
{
    CChCharacter c(CH3);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(14), 0.004);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(9), 8.0);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(15), 0.0);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(3), 20.0); // no range: the largest output
    setLoad(CH3, 50);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(12), 0.0165);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(1), 10.0);
    EXPECT_DOUBLE_EQ(c.GetMapAmp(7), 10.0);
    // Without a load the largest range is used.
    setLoad(CH4, 0);
    CChCharacter c4(CH4);
    EXPECT_EQ(int(c4.GetACMapSW(0.001)), 1);
    EXPECT_EQ(int(c4.GetDCMapSW(0.0)), 1);
    EXPECT_EQ(c4.GetMapAmp(6), 0.0);
}

TEST_F(ChCharTest, DcCalibrationPerSwitchCode)
{
    CChCharacter c(CH2);
    EXPECT_DOUBLE_EQ(c.GetDcCalValue(8, 1.25), 1.25); // uncalibrated: a = 1, b = 0

    EXPECT_TRUE(c.SetDCCalValue(8, 1.1, 0.01));
    EXPECT_TRUE(c.SetDCCalValue(1, 0.95, -0.02));
    EXPECT_DOUBLE_EQ(c.GetDcCalValue(8, 2.0), 1.1 * 2.0 + 2 * 0.01);
    EXPECT_DOUBLE_EQ(c.GetDcCalValue(1, -3.0), 0.95 * -3.0 + 2 * -0.02);
    EXPECT_DOUBLE_EQ(c.GetDcCalValue(14, 0.5), 0.5); // other ranges untouched

    // A gain outside 0.6 < a < 1.5 is a failed measurement: back to a = 1, b = 0.
    EXPECT_FALSE(c.SetDCCalValue(1, 0.6, 0.01));
    EXPECT_EQ(c.GetATTtoAmpMap(1)->DC_a, 1.0);
    EXPECT_FALSE(c.SetDCCalValue(1, 1.5, 0.01));
    EXPECT_TRUE(c.SetDCCalValue(1, 0.6001, 0.01));
    EXPECT_TRUE(c.SetDCCalValue(1, 1.4999, 0.01));
    EXPECT_FALSE(c.SetDCCalValue(3, 1.0, 0.0)); // no such range

    c.SetAllDCCalValue(1.0, 0.0);
    for (const AmpSWMap& m : c.AmpSWMaps) {
        EXPECT_EQ(m.DC_a, 1.0);
        EXPECT_EQ(m.DC_b, 0.0);
    }
    // An unknown code is logged and leaves the value.
    LogCapture log;
    EXPECT_DOUBLE_EQ(c.GetDcCalValue(3, 1.234), 1.234);
    EXPECT_TRUE(log.contains("[error]f:GetDcCalValue could not find a,b ATT:3"));
}
