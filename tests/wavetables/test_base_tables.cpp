// Base-wave tables and the carrier preview drawn from them.
#include <cmath>
#include <cstdlib>
#include "param/CUnit.h"
#include "tests/wavetables/wavefixture.h"

TEST_F(WaveTables, SineTableHitsPeaksAndZeroCrossings)
{
    const short* s = CWaveCreate::sintable;
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[2048], 32767);
    EXPECT_EQ(s[4096], 0);
    EXPECT_EQ(s[6144], -32767);
    // 32767 sin(2 pi / 8192) = 25.13, truncated.
    EXPECT_EQ(s[1], 25);
    EXPECT_EQ(s[8191], -25);
    for (int i = 0; i < 8192; ++i) {
        ASSERT_NE(s[i], -32768);
        ASSERT_EQ(CWaveCreate::sintable32[i], s[i]);
    }
}

TEST_F(WaveTables, SineBaseIsTheSineTableAndThePreviewShowsOnePeriod)
{
    CWaveCreate::CreateBaseWave(CH1, false);
    const SWaveMem& w = mem(CH1);
    EXPECT_EQ(std::memcmp(w.Base, CWaveCreate::sintable, sizeof(w.Base)), 0);
    EXPECT_TRUE(w.BaseWaveChanged);
    // 460 points per period: peak at a quarter, trough at three quarters.
    EXPECT_NEAR(w.DispBase[0], 0, 1);
    EXPECT_EQ(w.DispBase[115], 100);
    EXPECT_NEAR(w.DispBase[230], 0, 1);
    EXPECT_NEAR(w.DispBase[345], -100, 1);
    EXPECT_TRUE(withinPreviewScale(w.DispBase, 460));
}

TEST_F(WaveTables, RampRisesToTheSymmetryPointAndMarksRisingSamples)
{
    rec(CH1).BaseWave = BASE_Ramp;
    rec(CH1).Symmetry = 50;
    CWaveCreate::CreateBaseWave(CH1, false);
    const short* b = mem(CH1).Base;
    // k = 4096 rising samples: floor(i * 65534 / 4096) - 32767, lowest bit set.
    EXPECT_EQ(b[0], -32767);
    EXPECT_EQ(b[2048], 1);
    EXPECT_EQ(b[4095], 32751);
    // Falling: 32767 - floor((i - 4096) * 65534 / 4096), lowest bit cleared.
    EXPECT_EQ(b[4096], 32766);
    EXPECT_EQ(b[6144], 0);
    EXPECT_EQ(b[8191], -32752);
    for (int i = 0; i < 8192; ++i)
        ASSERT_EQ(b[i] & 1, i < 4096 ? 1 : 0) << i;
    // The preview starts at the trough and peaks at the symmetry point,
    // half-way along (within the point that takes the minimum of its span).
    const short* d = mem(CH1).DispBase;
    EXPECT_EQ(d[0], -100);
    int peak = 0;
    for (int i = 1; i < 460; ++i)
        if (d[i] > d[peak])
            peak = i;
    EXPECT_NEAR(peak, 230, 1);
    EXPECT_EQ(d[peak], 100);
    EXPECT_GE(d[230], 98);
}

TEST_F(WaveTables, ExtremeSymmetriesKeepTwoRisingAndTwoFallingSamples)
{
    rec(CH3).BaseWave = BASE_Ramp;
    const double sym[2] = {0.0, 100.0};
    const int rising[2] = {2, 8190};
    for (int c = 0; c < 2; ++c) {
        rec(CH3).Symmetry = sym[c];
        CWaveCreate::CreateBaseWave(CH3, false);
        int odd = 0;
        for (short v : mem(CH3).Base)
            odd += v & 1;
        EXPECT_EQ(odd, rising[c]) << "symmetry " << sym[c];
        EXPECT_EQ(8192 - odd >= 2, true);
    }
}

TEST_F(WaveTables, NoiseTableIsSeededAndEqualOnEveryChannel)
{
    rec(CH1).BaseWave = BASE_Noise;
    rec(CH4).BaseWave = BASE_Noise;
    CWaveCreate::CreateBaseWave(CH1, false);
    std::rand(); // disturb the generator between the two draws
    CWaveCreate::CreateBaseWave(CH4, false);
    int distinct = 0;
    for (int i = 0; i < 8192; ++i) {
        ASSERT_LT(std::abs(int(mem(CH1).Base[i])), 26639) << i;
        distinct += i > 0 && mem(CH1).Base[i] != mem(CH1).Base[i - 1];
    }
    EXPECT_GT(distinct, 8000);
    EXPECT_EQ(std::memcmp(mem(CH1).Base, mem(CH4).Base, sizeof(mem(CH1).Base)), 0);
}

// PN3 independently: a_t = a_(t-3) xor a_(t-2), starting from all ones.
static void pn3Bits(int* bits, int n)
{
    int a1 = 1, a2 = 1, a3 = 1; // a_(t-1), a_(t-2), a_(t-3)
    for (int t = 0; t < n; ++t) {
        const int a = a3 ^ a2;
        bits[t] = a;
        a3 = a2;
        a2 = a1;
        a1 = a;
    }
}

TEST_F(WaveTables, PrbsTableHoldsOneCodeBitPerRunOfOneHundredSamples)
{
    rec(CH1).BaseWave = BASE_Prbs;
    rec(CH1).CodeElement = 0; // PN3
    // A stale sample where index 0 lies must not survive.
    mem(CH1).Base[0] = 1234;
    CWaveCreate::CreateBaseWave(CH1, false);
    const short* b = mem(CH1).Base;
    int bits[82];
    pn3Bits(bits, 82);
    for (int i = 1; i < 8192; ++i) {
        const int run = (i - 1) / 100;
        ASSERT_EQ(b[i], bits[run] ? 32767 : -32767) << i;
    }
    EXPECT_EQ(b[0], b[8191]);
    // The PN3 code repeats every 7 bits, 700 samples.
    for (int i = 1; i + 700 < 8192; ++i)
        ASSERT_EQ(b[i], b[i + 700]);
    bool earlier = true;
    for (int i = 1; i + 300 < 8192 && earlier; ++i)
        earlier = b[i] == b[i + 300];
    EXPECT_FALSE(earlier);
}

TEST_F(WaveTables, PrbsRunsFollowTheCodeElement)
{
    // PN7 repeats after 127 bits, beyond the 82 runs of one table: no run
    // period shorter than the table shows up.
    rec(CH2).BaseWave = BASE_Prbs;
    rec(CH2).CodeElement = 2;
    CWaveCreate::CreateBaseWave(CH2, false);
    const short* b = mem(CH2).Base;
    for (int period = 1; period < 40; ++period) {
        bool same = true;
        for (int r = 0; r + period < 81 && same; ++r)
            same = b[1 + r * 100] == b[1 + (r + period) * 100];
        EXPECT_FALSE(same) << "period " << period;
    }
}

TEST_F(WaveTables, DcTableIsFullScale)
{
    rec(CH1).BaseWave = BASE_DC;
    CWaveCreate::CreateBaseWave(CH1, false);
    for (short v : mem(CH1).Base)
        ASSERT_EQ(v, 32767);
    EXPECT_TRUE(withinPreviewScale(mem(CH1).DispBase, 460));
}

TEST_F(WaveTables, SquarePreviewFollowsTheDuty)
{
    // 1 kHz, about 25 % duty: width 0.2505 ms, 1 ns edges on CH1.
    rec(CH1).BaseWave = BASE_Square;
    rec(CH1).PulseWidth = 0.2505e-3;
    for (short& v : mem(CH1).Base)
        v = 77;
    CWaveCreate::CreateBaseWave(CH1, false);
    const SWaveMem& w = mem(CH1);
    // r = 2 (clamped), a = floor(460 * 0.2505) = 115, b = a + 1.
    EXPECT_EQ(w.DispBase[0], -100);
    EXPECT_EQ(w.DispBase[1], 0);
    int high = 0;
    for (int i = 0; i < 460; ++i)
        high += w.DispBase[i] == 100;
    EXPECT_EQ(high, 114); // indices 2 .. 115
    EXPECT_EQ(w.DispBase[116], -100);
    EXPECT_EQ(w.DispBase[459], -100);
    // The square has no table of its own: Base stays as it was.
    EXPECT_EQ(w.Base[100], 77);
}

TEST_F(WaveTables, PulsePeriodUsesTheFrequencyWhateverTheEntryUnit)
{
    rec(CH1).BaseWave = BASE_Pulse;
    rec(CH1).Frequency = 1000;
    rec(CH1).PulseWidth = 0.5e-3;
    rec(CH1).Rise = rec(CH1).Fall = 8e-9;
    CWaveCreate::CreateBaseWave(CH1, false);
    short byFrequency[460];
    std::memcpy(byFrequency, mem(CH1).DispBase, sizeof(byFrequency));
    rec(CH1).TimeUnit = 1; // period entry
    EXPECT_DOUBLE_EQ(CWaveCreate::GetBasePeriod(CH1), 1e-3);
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_EQ(std::memcmp(byFrequency, mem(CH1).DispBase, sizeof(byFrequency)), 0);
    int high = 0;
    for (short v : byFrequency)
        high += v == 100;
    EXPECT_GT(high, 220);
}

TEST_F(WaveTables, ArbTableIsCopiedAndSampledWithoutPhaseInPointMode)
{
    SWaveMem& w = mem(CH1);
    for (int i = 0; i < 8192; ++i)
        w.Arb[i] = short(i * 8 - 32767); // rising ramp
    rec(CH1).BaseWave = BASE_Arb;
    rec(CH1).Phase = 180;
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_EQ(std::memcmp(w.Base, w.Arb, sizeof(w.Base)), 0);
    EXPECT_TRUE(w.BaseWaveChanged);
    // Played by frequency the phase moves the preview start to mid-ramp.
    EXPECT_NEAR(w.DispBase[0], 0, 1);
    rec(CH1).ArbSample = true;
    CWaveCreate::CreateBaseWave(CH1, false);
    EXPECT_EQ(w.DispBase[0], -100);
}

TEST_F(WaveTables, NoiseSumRoughensThePreviewOfOrdinaryWavesOnly)
{
    CWaveCreate::CreateBaseWave(CH1, true);
    short clean[460];
    std::memcpy(clean, mem(CH1).DispBase, sizeof(clean));
    rec(CH1).noiseSumSW = true;
    rec(CH1).SNRatio = 10;
    CWaveCreate::CreateBaseWave(CH1, true);
    const short* noisy = mem(CH1).DispBase;
    int differ = 0;
    for (int i = 0; i < 460; ++i)
        differ += noisy[i] != clean[i];
    EXPECT_GT(differ, 200);
    EXPECT_TRUE(withinPreviewScale(noisy, 460));
    // The sine still dominates: the noisy peak sits near the clean one.
    EXPECT_GT(noisy[115], 50);
    EXPECT_LT(noisy[345], -50);

    // Noise and DC are drawn without it.
    rec(CH1).BaseWave = BASE_DC;
    CWaveCreate::CreateBaseWave(CH1, true);
    for (int i = 0; i < 460; ++i)
        ASSERT_EQ(mem(CH1).DispBase[i], mem(CH1).DispBase[0]);
}

TEST_F(WaveTables, RmsRatioFollowsTheDrawnWave)
{
    rec(CH2).BaseWave = BASE_Ramp;
    CWaveCreate::CreateBaseWave(CH2, false);
    EXPECT_NEAR(CUnit::GetArbVrms(CH2), 1 / std::sqrt(3.0), 1e-3);
    rec(CH2).BaseWave = BASE_Square;
    CWaveCreate::CreateBaseWave(CH2, false);
    EXPECT_NEAR(CUnit::GetArbVrms(CH2), 1.0, 0.01);
}
