// Resampling and shaping routines shared by the tables and the preview.
#include <cstdlib>
#include "tests/wavetables/wavefixture.h"

TEST(Sampling, PeaksampleAlternatesMaximumAndMinimumOfTheSkippedSamples)
{
    short src[16] = {0};
    src[2] = 1000;   // inside the span of point 1 (odd: maximum)
    src[6] = -1000;  // inside the span of point 2 (even: minimum)
    src[10] = -500;  // inside the span of point 3 (odd): the maximum hides it
    src[14] = 7;
    short dst[4];
    CWaveCreate::peaksample(src, 16, 0, dst, 4);
    EXPECT_EQ(dst[0], 0);
    EXPECT_EQ(dst[1], 1000);
    EXPECT_EQ(dst[2], -1000);
    EXPECT_EQ(dst[3], 0);
    // The start wraps round the table.
    CWaveCreate::peaksample(src, 16, 14, dst, 4);
    EXPECT_EQ(dst[0], 7);
    EXPECT_EQ(dst[1], 1000);  // span 15, 0, 1, 2
}

TEST(Sampling, SamplePicksEveryNthSampleIntoARotatedTarget)
{
    short src[10];
    for (int i = 0; i < 10; ++i)
        src[i] = short(i * 10);
    short dst[4];
    // 10 -> 4 points: indices floor(j * 10 / 4) = 0, 2, 5, 7.
    CWaveCreate::sample(src, 10, 0, dst, 4, 0);
    EXPECT_EQ(dst[0], 0);
    EXPECT_EQ(dst[1], 20);
    EXPECT_EQ(dst[2], 50);
    EXPECT_EQ(dst[3], 70);
    // 8 -> 4 with start 3 and target start 1: src 3, 5, 7, 1 at dst 1, 2, 3, 0.
    CWaveCreate::sample(src, 8, 3, dst, 4, 1);
    EXPECT_EQ(dst[1], 30);
    EXPECT_EQ(dst[2], 50);
    EXPECT_EQ(dst[3], 70);
    EXPECT_EQ(dst[0], 10);
}

TEST(Sampling, SampleWaveDataWrapsTheOffsetAndIgnoresAnEmptyTarget)
{
    short src[8];
    for (int i = 0; i < 8; ++i)
        src[i] = short(i);
    short dst[4] = {-1, -1, -1, -1};
    CWaveCreate::SampleWaveData(dst, 4, src, 8, 7);
    EXPECT_EQ(dst[0], 7);
    EXPECT_EQ(dst[1], 1);
    EXPECT_EQ(dst[2], 3);
    EXPECT_EQ(dst[3], 5);
    short untouched[1] = {-9};
    CWaveCreate::SampleWaveData(untouched, 0, src, 8, 0);
    EXPECT_EQ(untouched[0], -9);
}

TEST(Sampling, PulseHasItsEdgesWhereTheTimesPutThem)
{
    // 64 points over a period of 1; width 0.375, rise 0.125, fall 0.25:
    // r = 8, a = 64 * 0.3125 = 20, b = 64 * 0.5625 = 36.
    short p[64];
    CWaveCreate::CreatePulse(p, 64, -100, 100, 1.0, 0.375, 0.125, 0.25);
    EXPECT_EQ(p[0], -100);
    EXPECT_EQ(p[4], 0);        // -100 + 200 * 4 / 8
    EXPECT_EQ(p[8], 100);
    EXPECT_EQ(p[19], 100);
    EXPECT_EQ(p[20], 100);     // the falling edge starts at the high level
    EXPECT_EQ(p[28], 0);       // 100 - 200 * 8 / 16
    EXPECT_EQ(p[35], -87);     // 100 - floor(200 * 15 / 16)
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

TEST(Sampling, NoiseSumScalesTheSignalAndAddsSeededNoise)
{
    short data[50];
    for (int i = 0; i < 50; ++i)
        data[i] = short(i * 2 - 50);
    short orig[50];
    std::memcpy(orig, data, sizeof(data));
    // Full scale 100, r = 1: k = floor(100 / 2 / 1.23) = 40.
    CWaveCreate::BaseNoiseSum(data, 50, 100, 1.0);
    std::srand(0);
    for (int i = 0; i < 50; ++i) {
        const int expect = short(std::rand()) % 40 + int(orig[i] * 0.5);
        ASSERT_EQ(data[i], expect) << i;
    }
    // A ratio so large that the noise would round away leaves the data alone.
    std::memcpy(data, orig, sizeof(data));
    CWaveCreate::BaseNoiseSum(data, 50, 100, 1000.0);
    EXPECT_EQ(std::memcmp(data, orig, sizeof(data)), 0);
}
