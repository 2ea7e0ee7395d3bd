// Modulating tables, pulse-carrier frequency lists and modulation previews.
#include <cmath>
#include <cstdlib>
#include "tests/wavetables/wavefixture.h"

class Modulation : public WaveTables {
protected:
    void SetUp() override
    {
        WaveTables::SetUp();
        rec(CH1).WorkMode = WORK_MODULATION;
    }
};

TEST_F(Modulation, InternalSourceTables)
{
    short* m = mem(CH1).Modulate;
    CWaveCreate::CreateModSrc(CH1, Mod_Sine);
    for (int i = 0; i < 2048; ++i)
        ASSERT_EQ(m[i], CWaveCreate::sintable[4 * i]) << i;
    EXPECT_EQ(m[512], 32767);
    EXPECT_EQ(m[1536], -32767);

    CWaveCreate::CreateModSrc(CH1, Mod_Square);
    EXPECT_EQ(m[0], 32767);
    EXPECT_EQ(m[1023], 32767);
    EXPECT_EQ(m[1024], -32767);
    EXPECT_EQ(m[2047], -32767);

    // floor(i * 65534 / 2048) - 32767
    CWaveCreate::CreateModSrc(CH1, Mod_UpRamp);
    EXPECT_EQ(m[0], -32767);
    EXPECT_EQ(m[1024], 0);
    EXPECT_EQ(m[2047], 32735);
    CWaveCreate::CreateModSrc(CH1, Mod_DnRamp);
    EXPECT_EQ(m[0], 32767);
    EXPECT_EQ(m[1024], 0);
    EXPECT_EQ(m[2047], -32735);

    CWaveCreate::CreateModSrc(CH1, Mod_Noise);
    for (int i = 0; i < 2048; ++i)
        ASSERT_GE(m[i], -32767) << i; // never -32768

    for (int i = 0; i < 2048; ++i)
        mem(CH1).MArb[i] = short(i - 1000);
    CWaveCreate::CreateModSrc(CH1, Mod_Arb);
    EXPECT_EQ(std::memcmp(m, mem(CH1).MArb, sizeof(mem(CH1).MArb)), 0);

    // An external source has no table: zeros over the preview length, then -1.
    CWaveCreate::CreateModSrc(CH1, Mod_EXT);
    EXPECT_EQ(m[0], 0);
    EXPECT_EQ(m[459], 0);
    EXPECT_EQ(m[460], -1);
    EXPECT_EQ(m[2047], -1);
}

TEST_F(Modulation, AmPreviewFollowsTheModulatingEnvelope)
{
    CH_DATA& d = rec(CH1);
    d.ModType = MT_AM;
    d.Frequency = 1000;
    d.ModFre = 100;
    d.ModDepthAM = 100;
    CWaveCreate::CreateModWave(CH1);
    const SWaveMem& w = mem(CH1);
    // The modulating sine over the window: zero, peak, zero, trough.
    EXPECT_EQ(w.DispMod[0], 0);
    EXPECT_NEAR(w.DispMod[115], 100, 1);
    EXPECT_NEAR(w.DispMod[345], -100, 1);
    // At 100 % depth the output vanishes at the modulating trough and
    // reaches the carrier's full swing around its crest.
    for (int i = 335; i <= 355; ++i)
        ASSERT_LE(std::abs(w.DispMixer[i]), 3) << i;
    int peak = 0;
    for (int i = 80; i <= 150; ++i)
        peak = std::max(peak, std::abs(int(w.DispMixer[i])));
    EXPECT_GE(peak, 95);
    EXPECT_TRUE(withinPreviewScale(w.DispMixer, 460));
}

TEST_F(Modulation, FmOnAPulseCarrierListsTheInstantaneousFrequencies)
{
    CH_DATA& d = rec(CH1);
    d.ModType = MT_FM;
    d.BaseWave = BASE_Pulse;
    d.Frequency = 10000;
    d.ModFreDev = 1000;
    d.ModWave = Mod_Sine;
    CWaveCreate::CreateModWave(CH1);
    const SWaveMem& w = mem(CH1);
    ASSERT_EQ(w.ListLen, 2048);
    for (int i = 0; i < 2048; ++i) {
        const double expect = 9000 + (CWaveCreate::sintable[4 * i] + 32767.0) * 2000 / 65534;
        ASSERT_NEAR(w.List[i], expect, 1e-9) << i;
    }
    EXPECT_DOUBLE_EQ(w.List[0], 10000);
    EXPECT_DOUBLE_EQ(w.List[1536], 9000);
    EXPECT_DOUBLE_EQ(w.listmaxfre, 11000);
}

TEST_F(Modulation, FmOnASineCarrierLeavesTheListAlone)
{
    CH_DATA& d = rec(CH1);
    d.ModType = MT_FM;
    mem(CH1).ListLen = 3;
    mem(CH1).List[0] = 123;
    CWaveCreate::CreateModWave(CH1);
    EXPECT_EQ(mem(CH1).ListLen, 3);
    EXPECT_EQ(mem(CH1).List[0], 123);
}

TEST_F(Modulation, FrequencyKeyingOfAPulseCarrierListsTheHops)
{
    CH_DATA& d = rec(CH2);
    d.WorkMode = WORK_MODULATION;
    d.BaseWave = BASE_Pulse;
    d.Frequency = 1000;
    d.ModHopFre = 500;
    d.ModHopFre2 = 4000;
    d.ModHopFre3 = 2000;
    const MOD_Type kinds[3] = {MT_FSK, MT_3FSK, MT_4FSK};
    const int lens[3] = {2, 3, 4};
    const double maxima[3] = {1000, 4000, 4000};
    for (int k = 0; k < 3; ++k) {
        d.ModType = kinds[k];
        CWaveCreate::CreateModWave(CH2);
        const SWaveMem& w = mem(CH2);
        ASSERT_EQ(w.ListLen, lens[k]);
        const double hops[4] = {1000, 500, 4000, 2000};
        for (int i = 0; i < lens[k]; ++i)
            EXPECT_EQ(w.List[i], hops[i]);
        EXPECT_EQ(w.listmaxfre, maxima[k]);
    }
}

TEST_F(Modulation, EveryKindDrawsBoundedChangingTraces)
{
    CH_DATA& d = rec(CH3);
    d.WorkMode = WORK_MODULATION;
    d.Frequency = 10000;
    d.ModFre = 1000;
    d.Bitrate = 2000;
    d.ModRate = 1000;
    for (int i = 0; i < 15; ++i) {
        d.ModType = sys_param::modTypeOfIndex(i);
        std::memset(mem(CH3).DispMixer, 0x7F, sizeof(mem(CH3).DispMixer));
        std::memset(mem(CH3).DispMod, 0x7F, sizeof(mem(CH3).DispMod));
        CWaveCreate::CreateModWave(CH3);
        const SWaveMem& w = mem(CH3);
        EXPECT_TRUE(withinPreviewScale(w.DispMixer, 460)) << "kind " << d.ModType;
        EXPECT_TRUE(withinPreviewScale(w.DispMod, 460)) << "kind " << d.ModType;
        short lo = 100, hi = -100;
        for (short v : w.DispMixer) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        EXPECT_GE(hi - lo, 100) << "kind " << d.ModType;
    }
}

TEST_F(Modulation, BurstAndModulationRedrawsDoNotReflagAnUnchangedSine)
{
    CWaveCreate::CreateBaseWave(CH1, false);
    mem(CH1).BaseWaveChanged = false; // the channel has uploaded it
    rec(CH1).ModType = MT_AM;
    CWaveCreate::CreateModWave(CH1);
    EXPECT_FALSE(mem(CH1).BaseWaveChanged);
}
