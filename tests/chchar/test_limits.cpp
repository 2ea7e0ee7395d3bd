#include <cmath>
#include "tests/chchar/chchar_fixture.h"

TEST_F(ChCharTest, LoadGainOfSourceIntoLoad)
{
    // A 50 ohm source into the load; no load at all is no division by zero.
    EXPECT_DOUBLE_EQ(CChCharacter::GetLoadGain(999999), 999999.0 / 1000049.0);
    EXPECT_DOUBLE_EQ(CChCharacter::GetLoadGain(1e6), 1.0);
    EXPECT_DOUBLE_EQ(CChCharacter::GetLoadGain(0), 0.0);
    EXPECT_DOUBLE_EQ(CChCharacter::GetLoadGain(-50), 0.0);
    setLoad(CH4, 450);
    EXPECT_DOUBLE_EQ(CChCharacter::GetLoadRate(CH4), 0.9);
    EXPECT_DOUBLE_EQ(CChCharacter::GetLoadRate(CH3), 1.0);
}

TEST_F(ChCharTest, RowAtExactRowFrequencyIsThatRowAndJustAboveIsTheNext)
{
    for (CH_ID ch : {CH1, CH3}) {
        CChCharacter c(ch);
        const ref::Row* rows = ref::rowsOf(ch);
        const int real = (ch == CH1) ? 8 : 5;
        for (int i = 0; i + 1 < real; ++i) {
            SCOPED_TRACE(testing::Message() << "ch " << ch << " row " << i);
            const AmpFreTable& at = c.GetAmpFreqTableAtFreq(rows[i].fre);
            EXPECT_EQ(at.fre, rows[i].fre);
            EXPECT_EQ(at.amp, rows[i].amp);
            const AmpFreTable& above = c.GetAmpFreqTableAtFreq(rows[i].fre * (1 + 1e-12));
            EXPECT_EQ(above.fre, rows[i + 1].fre);
            EXPECT_EQ(above.maxLevel, rows[i + 1].maxLevel);
        }
        // Anything below the first row and DC use the first row.
        EXPECT_EQ(c.GetAmpFreqTableAtFreq(0).amp, 20.0);
        EXPECT_EQ(c.GetAmpFreqTableAtFreq(-5).amp, 20.0);
    }
}

TEST_F(ChCharTest, CatchAllRowAndThePairsDifferAtTheSameFrequency)
{
    CChCharacter c1(CH1), c3(CH3);
    const AmpFreTable& r1 = c1.GetAmpFreqTableAtFreq(1e9);
    EXPECT_EQ(r1.amp, 1.0);
    EXPECT_EQ(r1.offset, 2.0);
    EXPECT_EQ(r1.maxLevel, 2.5);
    EXPECT_EQ(c3.GetAmpFreqTableAtFreq(1e9).maxLevel, 2.5);
    // Beyond every row (infinity) the zero rows that pad CH3/CH4 are not
    // taken for a channel limit.
    const AmpFreTable& inf3 = c3.GetAmpFreqTableAtFreq(INFINITY);
    EXPECT_EQ(inf3.amp, 1.0);
    // 30 MHz: full swing on CH1 (up to 40 MHz), second row on CH3 (20..80 MHz).
    EXPECT_EQ(c1.GetMaxAmpAtFreq(30e6, 1e6), 20.0);
    EXPECT_EQ(c3.GetMaxAmpAtFreq(30e6, 1e6), 10.0);
    // 250 MHz: 4 Vpp on CH1 (160..300 MHz), catch-all 1 Vpp on CH3 (above 200 MHz).
    EXPECT_EQ(c1.GetMaxAmpAtFreq(250e6, 1e6), 4.0);
    EXPECT_EQ(c3.GetMaxAmpAtFreq(250e6, 1e6), 1.0);
}

TEST_F(ChCharTest, MaximumAmplitudeAtTheLoadAndUnderTheLimit)
{
    CChCharacter c(CH2);
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(1e6, 50), 10.0);
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(450e6, 50), 0.75);
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(450e6, 150), 1.5 * 0.75);
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(1e3, 1e6), 20.0);

    // The channel's own load and amplitude limit.
    setLoad(CH2, 50);
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(1e6), 10.0);
    rec(CH2).AmpLimit = true;
    rec(CH2).LimitH = 1.5;
    rec(CH2).LimitL = -2.0;
    EXPECT_DOUBLE_EQ(c.GetLimitAmp(), 3.5);
    EXPECT_DOUBLE_EQ(c.GetLimitOffset(), -0.5);
    EXPECT_DOUBLE_EQ(c.GetLimitHigh(), 1.5);
    EXPECT_DOUBLE_EQ(c.GetLimitLow(), -2.0);
    EXPECT_TRUE(c.AmpLimit());
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(1e6), 3.5);
    // A limit wider than the row leaves the row's value.
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(550e6), 0.5);
    rec(CH2).AmpLimit = false;
    EXPECT_DOUBLE_EQ(c.GetMaxAmpAtFreq(1e6), 10.0);
}

TEST_F(ChCharTest, HighLowWindowWithoutMerge)
{
    CChCharacter c(CH1);
    double h, l, o;
    c.GetMaxHighLow(100e6, h, l, o); // row 120 MHz: level 5, offset 5
    EXPECT_DOUBLE_EQ(h, 5.0);
    EXPECT_DOUBLE_EQ(l, -5.0);
    EXPECT_DOUBLE_EQ(o, 5.0);
    setLoad(CH1, 50);
    c.GetMaxHighLow(350e6, h, l, o); // row 400 MHz: level 3.25, offset 2
    EXPECT_DOUBLE_EQ(h, 1.625);
    EXPECT_DOUBLE_EQ(l, -1.625);
    EXPECT_DOUBLE_EQ(o, 1.0);

    CChCharacter c4(CH4);
    c4.GetMaxHighLow(150e6, h, l, o); // CH4 row 200 MHz: level 3.5, offset 2
    EXPECT_DOUBLE_EQ(h, 3.5);
    EXPECT_DOUBLE_EQ(o, 2.0);
}

TEST_F(ChCharTest, HighLowWindowMakesRoomForTheMergedPartner)
{
    double h, l, o;
    // CH2 merges CH1: CH1 keeps half of the smallest amplitude free.
    rec(CH2).ChMerge = 1;
    CChCharacter c1(CH1);
    c1.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 10.0 - 0.001);
    EXPECT_DOUBLE_EQ(l, -(10.0 - 0.001));
    EXPECT_DOUBLE_EQ(o, 10.0);
    setLoad(CH1, 50);
    c1.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 5.0 - 0.0005);

    // CH2 itself carries CH1's signal: CH1's half swing and offset come off.
    CChCharacter c2(CH2);
    rec(CH1).Vpp = 2.0;
    rec(CH1).Offset = 1.5;
    c2.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 10.0 - 1.0 - 1.5);
    EXPECT_DOUBLE_EQ(l, -(10.0 - 1.0 - 1.5));
    // A negative partner offset narrows the window just as much.
    rec(CH1).Offset = -1.5;
    c2.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 7.5);
    EXPECT_DOUBLE_EQ(l, -7.5);
    // A DC partner has no swing, only its offset.
    rec(CH1).BaseWave = BASE_DC;
    c2.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 8.5);

    // The pairs are CH1/CH2 and CH3/CH4: CH3 is unaffected by CH2 merging.
    CChCharacter c3(CH3);
    c3.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 10.0);
}

TEST_F(ChCharTest, HighLowWindowClippedByTheLimits)
{
    CChCharacter c(CH3);
    rec(CH3).AmpLimit = true;
    rec(CH3).LimitH = 3.0;
    rec(CH3).LimitL = -12.0;
    double h, l, o;
    c.GetMaxHighLow(1e6, h, l, o);
    EXPECT_DOUBLE_EQ(h, 3.0);   // limited
    EXPECT_DOUBLE_EQ(l, -10.0); // the limit is beyond the output's reach
    EXPECT_DOUBLE_EQ(o, 10.0);
    rec(CH3).LimitL = -0.5;
    c.GetMaxHighLow(150e6, h, l, o); // row 200 MHz, level 3.5
    EXPECT_DOUBLE_EQ(h, 3.0);
    EXPECT_DOUBLE_EQ(l, -0.5);
}

TEST_F(ChCharTest, HighestFrequencyForAnOffset)
{
    // Scanning from the top row down, the first row with enough offset reach;
    // an offset beyond every row gets the top row. A zero offset never lands
    // on the zero rows that pad the CH3/CH4 table (that would allow no
    // frequency at all).
    const struct {
        CH_ID ch;
        double offset, fre;
    } rows[] = {
        {CH1, 3.0, 160e6},      {CH1, 5.0, 160e6},     {CH1, 5.0001, 40e6},  {CH1, 2.0, ref::TOP},
        {CH1, 0.001, ref::TOP}, {CH3, 3.0, 120e6},     {CH3, 5.5, 20e6},     {CH3, 1.0, ref::TOP},
        {CH1, 10.5, ref::TOP},  {CH3, 10.5, ref::TOP}, {CH3, 0.0, ref::TOP},
    };
    for (const auto& r : rows)
        EXPECT_EQ(CChCharacter(r.ch).GetMaxFreqAtMinOffset(r.offset), r.fre) << r.ch << " " << r.offset;
}
