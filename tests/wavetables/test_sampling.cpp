// Resampling and shaping routines shared by the tables and the preview.
#include "tests/wavetables/wavefixture.h"

TEST(Sampling, PulseHasItsEdgesWhereTheTimesPutThem)
{
    // 64 points over a period of 1; width 0.375, rise 0.125, fall 0.25:
    // r = 8, a = 64 * 0.3125 = 20, b = 64 * 0.5625 = 36.
    short p[64];
    CWaveCreate::CreatePulse(p, 64, -100, 100, 1.0, 0.375, 0.125, 0.25);
    EXPECT_EQ(p[0], -100);
    EXPECT_EQ(p[4], 0); // -100 + 200 * 4 / 8
    EXPECT_EQ(p[8], 100);
    EXPECT_EQ(p[19], 100);
    EXPECT_EQ(p[20], 100); // the falling edge starts at the high level
    EXPECT_EQ(p[28], 0);   // 100 - 200 * 8 / 16
    EXPECT_EQ(p[35], -87); // 100 - floor(200 * 15 / 16)
    EXPECT_EQ(p[36], -100);
    EXPECT_EQ(p[63], -100);
}

TEST(Sampling, PulseNarrowerThanItsEdgesKeepsAHighSample)
{
    // 1 us wide with 10 us edges in a 1 ms period on 460 points.
    short p[460];
    CWaveCreate::CreatePulse(p, 460, -100, 100, 1e-3, 1e-6, 1e-5, 1e-5);
    int high = 0;
    for (short v : p)
        high += v == 100;
    EXPECT_GE(high, 1);
    EXPECT_EQ(p[459], -100);
    // A zero period draws something bounded instead of failing.
    CWaveCreate::CreatePulse(p, 460, -100, 100, 0, 1e-6, 1e-5, 1e-5);
    for (short v : p)
        ASSERT_TRUE(v >= -100 && v <= 100);
}

TEST(Sampling, NoiseTooSmallToShowLeavesTheDataAlone)
{
    // So large a ratio that the noise would round away: no division by a
    // zero noise span, the data untouched.
    short data[50], orig[50];
    for (int i = 0; i < 50; ++i)
        data[i] = orig[i] = short(i * 2 - 50);
    CWaveCreate::BaseNoiseSum(data, 50, 100, 1000.0);
    EXPECT_EQ(std::memcmp(data, orig, sizeof(data)), 0);
}
