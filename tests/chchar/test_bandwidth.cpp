#include "tests/chchar/chchar_fixture.h"

namespace {
struct Case {
    CH_ID ch;
    unsigned variant;
    const ref::Bw* bw;
};

void expectBandwidth(const CChCharacter& c, const ref::Bw& bw)
{
    double lo = -1, hi = -1;
    const struct {
        int wave;
        double mhz;
    } waves[] = {
        {BASE_Sine, bw.sine},         {BASE_Square, bw.square}, {BASE_Ramp, bw.ramp}, {BASE_Pulse, bw.pulse},
        {BASE_Harmonic, bw.harmonic}, {BASE_Arb, bw.arb},       {BASE_Prbs, bw.prbs},
    };
    for (const auto& w : waves) {
        ASSERT_TRUE(c.GetBWFreScope(w.wave, lo, hi)) << "wave " << w.wave;
        EXPECT_DOUBLE_EQ(lo, 1e-6) << "wave " << w.wave;
        EXPECT_DOUBLE_EQ(hi, w.mhz * 1e6) << "wave " << w.wave;
    }
    // Noise starts at 1 mHz and reaches the sine bandwidth; DC has no span.
    ASSERT_TRUE(c.GetBWFreScope(BASE_Noise, lo, hi));
    EXPECT_DOUBLE_EQ(lo, 0.001);
    EXPECT_DOUBLE_EQ(hi, bw.sine * 1e6);
    ASSERT_TRUE(c.GetBWFreScope(BASE_DC, lo, hi));
    EXPECT_DOUBLE_EQ(lo, 1e-6);
    EXPECT_DOUBLE_EQ(hi, 1e-6);
}
} // namespace

TEST_F(ChCharTest, BandwidthOfEveryVariantAndChannel)
{
    const Case cases[] = {
        {CH1, 0, &ref::ch12Full},   {CH2, 600, &ref::ch12Full}, {CH1, 400, &ref::ch12_400}, {CH2, 400, &ref::ch12_400},
        {CH1, 200, &ref::ch12_200}, {CH2, 200, &ref::ch12_200}, {CH3, 0, &ref::ch34Full},   {CH4, 1, &ref::ch34Full},
        {CH3, 400, &ref::ch34_400}, {CH4, 400, &ref::ch34_400}, {CH3, 200, &ref::ch34_200}, {CH4, 200, &ref::ch34_200},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "ch " << k.ch << " variant " << k.variant);
        CChCharacter c(k.ch);
        c.InitBandwidth(k.variant);
        expectBandwidth(c, *k.bw);
    }
}

TEST_F(ChCharTest, BandwidthVariantChangesAfterConstructionUserAndUnknownWaves)
{
    // Before the board variant is known the channel reports full bandwidth.
    CChCharacter c(CH3);
    expectBandwidth(c, ref::ch34Full);
    c.InitBandwidth(200);
    expectBandwidth(c, ref::ch34_200);
    c.InitBandwidth(401); // not a reduced variant: full again
    expectBandwidth(c, ref::ch34Full);

    // A user wave has the arbitrary bandwidth; an unknown wave is refused.
    c.InitBandwidth(400);
    double lo = 0, hi = 0;
    EXPECT_TRUE(c.GetBWFreScope(BASE_Userdef, lo, hi));
    EXPECT_DOUBLE_EQ(hi, ref::ch34_400.arb * 1e6);
    lo = hi = 123;
    EXPECT_FALSE(c.GetBWFreScope(BASE_Unknown, lo, hi));
    EXPECT_DOUBLE_EQ(lo, 1e-6);
    EXPECT_DOUBLE_EQ(hi, 1e-6);
    EXPECT_FALSE(c.GetBWFreScope(-1, lo, hi));
}
