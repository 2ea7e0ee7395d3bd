// Harmonic waveform: which harmonics are on, and the summed table.
#include <cmath>
#include "tests/wavetables/wavefixture.h"

class Harmonics : public WaveTables {
protected:
    void SetUp() override
    {
        WaveTables::SetUp();
        rec(CH1).BaseWave = BASE_Harmonic;
    }
};

TEST_F(Harmonics, MaskFollowsTheTypeWithinTheOrder)
{
    CH_DATA& d = rec(CH1);
    d.HarmonicOrder = 16;
    d.HarmonicType = HARMNIC_TYPE_ODD; // 3rd, 5th, .. 15th
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x2AAA);
    d.HarmonicType = HARMNIC_TYPE_EVEN; // 2nd, 4th, .. 16th
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x5555);
    d.HarmonicType = HARMNIC_TYPE_ALL;
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x7FFF);
    d.HarmonicOrder = 5; // 2nd .. 5th
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x7800);
    d.HarmonicType = HARMNIC_TYPE_USER;
    d.HarmonicUserType = 0xFFFF;
    d.HarmonicOrder = 4; // user bits, cut to 2nd .. 4th
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x7000);
    d.HarmonicOrder = 16;
    d.HarmonicUserType = 0x0003; // 15th and 16th
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x0003);
    d.HarmonicOrder = 1;
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0);
    // A record with a nonsense order cannot reach past the 16th harmonic.
    d.HarmonicType = HARMNIC_TYPE_ALL;
    d.HarmonicOrder = 200;
    EXPECT_EQ(CWaveCreate::GetHarmonicOnOffMask(CH1), 0x7FFF);
}

TEST_F(Harmonics, MaxVppCountsOnlyEnabledHarmonics)
{
    CH_DATA& d = rec(CH1);
    d.Vpp = 1;
    for (double& a : d.HarmonicSnAmp)
        a = 0.1;
    d.HarmonicType = HARMNIC_TYPE_ODD;
    d.HarmonicSnAmp[0] = 5; // 2nd: off in the odd set
    EXPECT_DOUBLE_EQ(CWaveCreate::GetHarmonicMaxVpp(CH1), 1);
    d.HarmonicSnAmp[1] = 3; // 3rd: on
    EXPECT_DOUBLE_EQ(CWaveCreate::GetHarmonicMaxVpp(CH1), 3);
}

TEST_F(Harmonics, PureFundamentalIsTheSineShiftedByThePhase)
{
    CH_DATA& d = rec(CH1);
    d.HarmonicType = HARMNIC_TYPE_USER;
    d.HarmonicUserType = 0;
    d.Phase = 45; // 1024 table points
    CWaveCreate::CreateBaseWave(CH1, false);
    const short* b = mem(CH1).Base;
    for (int i = 0; i < 8192; ++i)
        ASSERT_EQ(b[i], CWaveCreate::sintable[(i + 1024) % 8192]) << i;
    // The raw sum spans -32767 .. 32767: one full-scale span.
    EXPECT_DOUBLE_EQ(mem(CH1).HarZoomRate, 1.0);
}

TEST_F(Harmonics, SumMatchesAnIndependentComputation)
{
    CH_DATA& d = rec(CH1);
    d.Vpp = 1;
    d.HarmonicOrder = 4;
    d.HarmonicType = HARMNIC_TYPE_ALL;
    const double amp[3] = {0.5, 0.25, 2.0};
    const double ph[3] = {0, 90, -180};
    for (int k = 0; k < 3; ++k) {
        d.HarmonicSnAmp[k] = amp[k];
        d.HarmonicSnPhase[k] = ph[k];
    }
    CWaveCreate::CreateBaseWave(CH1, false);

    // sum_k A_k sin(2 pi (k i / 8192 + phase_k / 360)) / max amplitude,
    // then mapped by its own extremes onto -32767 .. 32767.
    const double mx = 2.0;
    static double ref[8192];
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < 8192; ++i) {
        double v = std::sin(2 * M_PI * i / 8192) * 1.0 / mx;
        for (int k = 2; k <= 4; ++k)
            v += std::sin(2 * M_PI * (double(k) * i / 8192 + ph[k - 2] / 360)) * amp[k - 2] / mx;
        ref[i] = v;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    const short* b = mem(CH1).Base;
    for (int i = 0; i < 8192; ++i) {
        const double expect = (ref[i] - (hi + lo) / 2) * 65534 / (hi - lo);
        ASSERT_NEAR(b[i], expect, 6) << i;
    }
    EXPECT_NEAR(mem(CH1).HarZoomRate, (hi - lo) * 32767 / 65534, 0.01);
    EXPECT_TRUE(mem(CH1).BaseWaveChanged);
}

TEST_F(Harmonics, PreviewUsesTheLeftPartOfTheTrace)
{
    CWaveCreate::CreateBaseWave(CH1, false);
    const short* p = mem(CH1).DispBase;
    short lo = 0, hi = 0;
    for (int i = 0; i < 220; ++i) {
        lo = std::min(lo, p[i]);
        hi = std::max(hi, p[i]);
    }
    EXPECT_EQ(lo, -100);
    EXPECT_EQ(hi, 100);
    for (int i = 220; i < 460; ++i)
        ASSERT_EQ(p[i], 0) << i;
}
