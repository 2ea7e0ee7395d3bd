// Sweep tables and previews, burst previews.
#include <cmath>
#include "tests/wavetables/wavefixture.h"

class Sweep : public WaveTables {
protected:
    void SetUp() override
    {
        WaveTables::SetUp();
        rec(CH1).WorkMode = WORK_SCAN;
    }
};

TEST_F(Sweep, LinearTableIsARampInTheSweepDirection)
{
    CH_DATA& d = rec(CH1);
    d.SweepType = ST_LINE;
    d.SwpStartFre = 1000;
    d.SwpEndFre = 1e6;
    CWaveCreate::CreateSweepWave(CH1);
    const short* m = mem(CH1).Modulate;
    // floor(i * 31.9990234375) - 32767; 2047 * 31.9990234375 = 65502.0009...
    EXPECT_EQ(m[0], -32767);
    EXPECT_EQ(m[1024], 0);
    EXPECT_EQ(m[2047], 32735);
    EXPECT_EQ(mem(CH1).DispMod[0], -100);
    EXPECT_EQ(mem(CH1).DispMod[459], 100);

    d.SwpStartFre = 1e6;
    d.SwpEndFre = 1000;
    CWaveCreate::CreateSweepWave(CH1);
    EXPECT_EQ(m[0], 32767);
    EXPECT_EQ(m[2047], -32735);
    EXPECT_EQ(mem(CH1).DispMod[0], 100);
    EXPECT_EQ(mem(CH1).DispMod[459], -100);
}

TEST_F(Sweep, LogTableFollowsTheLogarithmicFrequencyRamp)
{
    CH_DATA& d = rec(CH1);
    d.SweepType = ST_LOG;
    d.SwpStartFre = 1000;
    d.SwpEndFre = 1e6;
    CWaveCreate::CreateSweepWave(CH1);
    const short* m = mem(CH1).Modulate;
    EXPECT_EQ(m[0], -32767);
    EXPECT_EQ(m[2047], 32767);
    for (int i : {1, 700, 1023, 1800, 2046}) {
        const double f = std::pow(10.0, 3 + 3.0 * i / 2047);
        const double expect = (2 * (f - 1000) / (1e6 - 1000) - 1) * 32767;
        EXPECT_NEAR(m[i], expect, 1.0) << i;
    }
    // Swept downwards the same curve runs backwards.
    d.SwpStartFre = 1e6;
    d.SwpEndFre = 1000;
    CWaveCreate::CreateSweepWave(CH1);
    EXPECT_EQ(m[0], 32767);
    EXPECT_EQ(m[2047], -32767);
    // Equal ends give a flat table instead of a division by zero.
    d.SwpEndFre = 1e6;
    CWaveCreate::CreateSweepWave(CH1);
    for (int i = 0; i < 2048; ++i)
        ASSERT_EQ(m[i], -32767);
    EXPECT_TRUE(withinPreviewScale(mem(CH1).DispMixer, 460));
}

TEST_F(Sweep, StepListSpreadsTheStepsFromStartToStop)
{
    CH_DATA& d = rec(CH1);
    d.SweepType = ST_STEP;
    d.SwpStartFre = 1000;
    d.SwpEndFre = 2000;
    d.SweepStep = 5;
    CWaveCreate::CreateSweepWave(CH1);
    const SWaveMem& w = mem(CH1);
    ASSERT_EQ(w.ListLen, 5);
    const double expect[5] = {1000, 1250, 1500, 1750, 2000};
    for (int k = 0; k < 5; ++k)
        EXPECT_DOUBLE_EQ(w.List[k], expect[k]);
    EXPECT_EQ(w.listmaxfre, 2000);
    // Five levels in the modulating trace, lowest first.
    EXPECT_EQ(w.DispMod[0], -100);
    EXPECT_EQ(w.DispMod[459], 100);

    d.SweepStep = 5000;
    CWaveCreate::CreateSweepWave(CH1);
    EXPECT_EQ(w.ListLen, 2048);
    EXPECT_DOUBLE_EQ(w.List[2047], 2000);
    // A single step still yields the two ends, not a division by zero.
    d.SweepStep = 1;
    CWaveCreate::CreateSweepWave(CH1);
    EXPECT_EQ(w.ListLen, 2);
    EXPECT_DOUBLE_EQ(w.List[0], 1000);
    EXPECT_DOUBLE_EQ(w.List[1], 2000);
}

TEST_F(Sweep, ListTableMapsTheListOntoFullScale)
{
    CH_DATA& d = rec(CH1);
    d.SweepType = ST_LIST;
    SWaveMem& w = mem(CH1);
    const double list[4] = {100, 200, 400, 300};
    for (int i = 0; i < 4; ++i)
        w.List[i] = list[i];
    w.ListLen = 4;
    CWaveCreate::CreateSweepWave(CH1);
    // trunc((f - 100) / 300 * 65534 - 32767) for the list entry of each quarter
    EXPECT_EQ(w.Modulate[0], -32767);
    EXPECT_EQ(w.Modulate[511], -32767);
    EXPECT_EQ(w.Modulate[512], -10922);
    EXPECT_EQ(w.Modulate[1024], 32767);
    EXPECT_EQ(w.Modulate[1536], 10922);
    EXPECT_EQ(w.ListLen, 4); // the loaded list is kept

    for (int i = 0; i < 4; ++i)
        w.List[i] = 500;
    CWaveCreate::CreateSweepWave(CH1);
    for (int i = 0; i < 2048; ++i)
        ASSERT_EQ(w.Modulate[i], -32767);

    // One point: nothing to sweep, the table stays.
    w.ListLen = 1;
    w.Modulate[7] = 99;
    CWaveCreate::CreateSweepWave(CH1);
    EXPECT_EQ(w.Modulate[7], 99);
    EXPECT_EQ(std::memcmp(w.DispMixer, w.DispBase, sizeof(w.DispMixer)), 0);
}

class Burst : public WaveTables {
protected:
    void SetUp() override
    {
        WaveTables::SetUp();
        rec(CH1).WorkMode = WORK_BURST;
        // Start off the zero crossing so that an idle sample differs from
        // a carrier sample at every edge of a gap.
        rec(CH1).Phase = 30;
    }
    static short fast(int i) { return mem(CH1).DispBase[(8 * i) % 460]; }
};

TEST_F(Burst, EachKindShowsTheCarrierOnlyWhereItRuns)
{
    // N cycles: two bursts with idle gaps; gate: the carrier while the gate
    // (drawn in its polarity) is open; infinite: one gap in the middle.
    const struct {
        u32 type;
        int polarity;
        bool (*runs)(int);
        short gateOpen, gateShut;
    } rows[] = {
        {BT_NCYC, 1, [](int i) { return !((i >= 115 && i <= 229) || i >= 345); }, 0, 0},
        {BT_GATE, 1, [](int i) { return i >= 115 && i <= 344; }, 100, -100},
        {BT_GATE, 0, [](int i) { return i >= 115 && i <= 344; }, -100, 100},
        {BT_INFINIT, 1, [](int i) { return !(i >= 172 && i <= 286); }, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "burst " << r.type << " polarity " << r.polarity);
        rec(CH1).BurstType = r.type;
        rec(CH1).BstGatePolarity = r.polarity;
        std::memset(mem(CH1).DispMod, 0x11, sizeof(mem(CH1).DispMod));
        CWaveCreate::CreateBurstWave(CH1);
        const SWaveMem& w = mem(CH1);
        for (int i = 0; i < 460; ++i) {
            ASSERT_EQ(w.DispMixer[i], r.runs(i) ? fast(i) : 0) << i;
            if (r.type != BT_INFINIT) {
                ASSERT_EQ(w.DispMod[i], r.runs(i) ? r.gateOpen : r.gateShut) << i;
            }
        }
    }
}

TEST_F(Burst, FactoryBurstKindDrawsTheBaseWaveAlone)
{
    ASSERT_EQ(rec(CH1).BurstType, 0u);
    std::memset(mem(CH1).DispMixer, 0x22, sizeof(mem(CH1).DispMixer));
    std::memset(mem(CH1).DispMod, 0x22, sizeof(mem(CH1).DispMod));
    CWaveCreate::CreateBurstWave(CH1);
    const SWaveMem& w = mem(CH1);
    EXPECT_EQ(std::memcmp(w.DispMixer, w.DispBase, sizeof(w.DispMixer)), 0);
    for (short v : w.DispMod)
        ASSERT_EQ(v, 0);
}

TEST_F(Burst, HarmonicCarrierRepeatsItsOwnPeriodOnly)
{
    rec(CH1).BaseWave = BASE_Harmonic;
    rec(CH1).BurstType = BT_INFINIT;
    CWaveCreate::CreateBurstWave(CH1);
    const SWaveMem& w = mem(CH1);
    for (int i = 0; i < 172; ++i)
        ASSERT_EQ(w.DispMixer[i], w.DispBase[(8 * i) % 220]) << i;
}
