#include <cmath>
#include <vector>
#include "tests/chchar/chchar_fixture.h"

namespace {
using Points = std::vector<ACFrePiont>;

ACFrePiont pt(double f, double a, double h = 0, double l = 0) { return ACFrePiont {f, a, h, l}; }

std::vector<unsigned short> interpolate(const Points& p, unsigned n)
{
    std::vector<unsigned short> t(n, 0x1234);
    CChCharacter::LinearInterpolation(p, t.data(), n, ref::STEP);
    return t;
}

std::vector<unsigned short> flatTable(const CChCharacter& c, unsigned char code, double vpp, unsigned n,
                                      bool* measured = nullptr)
{
    std::vector<unsigned short> t(n, 0x1234);
    const bool m = c.GetAcFineforATT(code, vpp, t.data(), n, ref::STEP);
    if (measured)
        *measured = m;
    return t;
}

void addCurve(CChCharacter& c, unsigned char code, double adjAmp, const Points& p)
{
    ACAmpFre* curve = c.GetATTtoAmpForMap(code, adjAmp);
    ASSERT_NE(curve, nullptr);
    curve->Points = p;
}

const Points kLowCurve = {pt(1000, 1.0), pt(50e6, 0.9)};  // measured at 0.1 Vpp
const Points kHighCurve = {pt(1000, 1.0), pt(20e6, 0.8)}; // measured at 0.3 Vpp
} // namespace

TEST_F(ChCharTest, CurveWithoutOrWithOnePointIsFlat)
{
    for (unsigned short v : interpolate({}, 64))
        ASSERT_EQ(v, 65535);
    SharedValue<float> hot {60.0f};
    CChCharacter::SetBoardTemperatureSource(&hot);
    // 0.98 * 65535 = 64224.3, whatever the temperature.
    for (unsigned short v : interpolate({pt(1e6, 0.98, 0.1, -0.1)}, 64))
        ASSERT_EQ(v, 64224);
    // A gain above nominal is clipped, not wrapped.
    for (unsigned short v : interpolate({pt(1e6, 1.02)}, 64))
        ASSERT_EQ(v, 65535);
}

TEST_F(ChCharTest, TwoPointCurveRunsFromFirstToLastGain)
{
    const Points p = {pt(1000, 0.998), pt(10e6, 0.990)};
    const std::vector<unsigned short> t = interpolate(p, 4096);
    EXPECT_EQ(t[0], 65404);  // 0.998 * 65535 rounded
    EXPECT_EQ(t[66], 64880); // 66 * step is past 10 MHz: 0.990 * 65535 rounded
    EXPECT_EQ(t[4095], 64880);
    EXPECT_GT(t[65], 64880); // 65 * step = 9.918 MHz, still on the slope
    EXPECT_LT(t[1], 65404);
    const std::vector<unsigned short> want = ref::curveTable(p, 4096);
    for (unsigned k = 0; k < 4096; ++k)
        ASSERT_EQ(t[k], want[k]) << "k " << k;
}

TEST_F(ChCharTest, TemperatureFactorsScaleWithTheBoardTemperature)
{
    const Points p = {pt(1000, 0.9, 0.05, -0.04), pt(1e6, 0.95, 0.02, -0.01), pt(2e6, 0.8, 0.1, -0.1)};
    SharedValue<float> temp {0};
    CChCharacter::SetBoardTemperatureSource(&temp);
    const struct {
        float t;
        unsigned short first, last; // words at k = 0 and beyond the last point
    } cases[] = {
        {55.0f, 61931, 57671}, // +12 degC: the full hot factor
        {70.0f, 61931, 57671}, // beyond the span: held at the end
        {49.0f, 0, 55049},     // half way to the hot end
        {43.0f, 0, 52428},     // reference: as measured
        {37.5f, 57802, 49807}, // half way to the cold end
        {20.0f, 0, 47185},     // beyond the cold end: held
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "T " << c.t);
        temp = c.t;
        const std::vector<unsigned short> t = interpolate(p, 20);
        if (c.first) {
            EXPECT_EQ(t[0], c.first);
        }
        EXPECT_EQ(t[14], c.last);
        const std::vector<unsigned short> want = ref::curveTable(p, 20, c.t);
        for (unsigned k = 0; k < 20; ++k)
            EXPECT_EQ(t[k], want[k]) << "k " << k;
    }
    // Between the second and third points the second point's factor applies.
    temp = 55.0f;
    EXPECT_EQ(interpolate(p, 20)[7], 62820);
    temp = 37.5f;
    EXPECT_EQ(interpolate(p, 20)[3], 59270);
    // Without a sensor the board counts as at the reference temperature.
    CChCharacter::SetBoardTemperatureSource(nullptr);
    EXPECT_DOUBLE_EQ(CChCharacter::BoardTemperature(), 43.0);
    EXPECT_EQ(interpolate(p, 20)[14], 52428);
}

TEST_F(ChCharTest, FlatTableWithoutRangeOrCurves)
{
    CChCharacter c(CH1);
    bool measured = true;
    for (unsigned short v : flatTable(c, 3, 1.0, 4096, &measured))
        ASSERT_EQ(v, 65535);
    EXPECT_FALSE(measured);
    for (unsigned short v : flatTable(c, 8, 0.2, 4096, &measured))
        ASSERT_EQ(v, 65535);
    EXPECT_FALSE(measured);
}

TEST_F(ChCharTest, AmplitudeBetweenTwoCurvesBlendsThem)
{
    CChCharacter c(CH2);
    addCurve(c, 8, 0.1, kLowCurve);
    addCurve(c, 8, 0.3, kHighCurve);
    const unsigned n = 4096;
    const std::vector<unsigned short> lo = ref::curveTable(kLowCurve, n);
    const std::vector<unsigned short> hi = ref::curveTable(kHighCurve, n);

    const double w = (0.2 - 0.1) / (0.3 - 0.1);
    const unsigned K = unsigned(20e6 / ref::STEP); // 131: last point of the upper curve
    ASSERT_EQ(K, 131u);
    const std::vector<unsigned short> t = flatTable(c, 8, 0.2, n);
    for (unsigned k = 0; k < n; ++k) {
        const unsigned short want = k < K ? static_cast<unsigned short>(lo[k] + (double(hi[k]) - lo[k]) * w) : lo[k];
        ASSERT_EQ(t[k], want) << "k " << k;
    }
    // Near 20 MHz the blend lies half way between the curves.
    EXPECT_GT(t[130], hi[130]);
    EXPECT_LT(t[130], lo[130]);

    // At or above the top curve's amplitude the top curve alone; at or below
    // the first curve's amplitude the first curve alone.
    EXPECT_EQ(flatTable(c, 8, 0.3, n), hi);
    EXPECT_EQ(flatTable(c, 8, 0.5, n), hi);
    EXPECT_EQ(flatTable(c, 8, 0.1, n), lo);
    EXPECT_EQ(flatTable(c, 8, 0.05, n), lo);

    // An upper curve without points is not blended.
    CChCharacter e(CH1);
    addCurve(e, 8, 0.1, kLowCurve);
    ASSERT_NE(e.GetATTtoAmpForMap(8, 0.3), nullptr); // created empty
    EXPECT_EQ(flatTable(e, 8, 0.2, n), lo);
}

TEST_F(ChCharTest, CurvesAreChosenByAmplitudeNotByInsertionOrder)
{
    CChCharacter c(CH1);
    addCurve(c, 1, 8.0, {pt(1000, 1.0), pt(100e6, 0.5)});
    addCurve(c, 1, 2.0, {pt(1000, 1.0), pt(100e6, 0.9)});
    c.SortACCalValue(1);
    const std::vector<unsigned short> lo = ref::curveTable({pt(1000, 1.0), pt(100e6, 0.9)}, 4096);
    EXPECT_EQ(flatTable(c, 1, 1.0, 4096), lo);
}

TEST_F(ChCharTest, OnePointLowerCurveTakesTheUpperShapeAtItsGain)
{
    CChCharacter c(CH1);
    addCurve(c, 8, 0.1, {pt(1000, 0.98)});
    addCurve(c, 8, 0.3, kHighCurve);
    const std::vector<unsigned short> hi = ref::curveTable(kHighCurve, 4096);
    const std::vector<unsigned short> t = flatTable(c, 8, 0.2, 4096);
    for (unsigned k = 0; k < 4096; ++k)
        ASSERT_EQ(t[k], static_cast<unsigned short>(hi[k] * (0.98 / 1.0))) << "k " << k;
    // Exactly at the first curve's amplitude the first curve is used as it is.
    for (unsigned short v : flatTable(c, 8, 0.1, 64))
        ASSERT_EQ(v, 64224);
}

TEST_F(ChCharTest, SmallRangeBorrowsTheShapeAndScalesByItsOwnGain)
{
    CChCharacter c(CH1);
    addCurve(c, 8, 0.1, kLowCurve);
    addCurve(c, 8, 0.3, kHighCurve);
    // Without curves of its own the small range stays flat.
    for (unsigned short v : flatTable(c, 14, 0.002, 4096))
        ASSERT_EQ(v, 65535);

    // Its own 1 kHz gain is 0.97 of the reference range's.
    addCurve(c, 14, 0.002, {pt(1000, 0.97)});
    // 2 mVpp in the 4 mVpp range corresponds to 0.15 Vpp in the 0.3 Vpp range.
    const double a = 0.002 * 0.3 / 0.004;
    const double w = (a - 0.1) / (0.3 - 0.1);
    const std::vector<unsigned short> lo = ref::curveTable(kLowCurve, 4096);
    const std::vector<unsigned short> hi = ref::curveTable(kHighCurve, 4096);
    const std::vector<unsigned short> t = flatTable(c, 14, 0.002, 4096);
    for (unsigned k = 0; k < 4096; ++k) {
        const unsigned short blend = k < 131 ? static_cast<unsigned short>(lo[k] + (double(hi[k]) - lo[k]) * w) : lo[k];
        ASSERT_EQ(t[k], static_cast<unsigned short>(blend * (0.97 / 1.0))) << "k " << k;
    }
}

TEST_F(ChCharTest, BlendReachesTheEndOfTheShorterCh34Table)
{
    // The upper curve goes to 300 MHz, beyond the 1536 words (234 MHz) of
    // CH3/CH4: the blend still covers the whole table.
    CChCharacter c(CH3);
    const Points low = {pt(1000, 1.0), pt(300e6, 0.7)};
    const Points high = {pt(1000, 1.0), pt(300e6, 0.5)};
    addCurve(c, 1, 4.0, low);
    addCurve(c, 1, 12.0, high);
    const unsigned n = CChCharacter::FlatnessWords(CH3);
    ASSERT_EQ(n, 1536u);
    const std::vector<unsigned short> lo = ref::curveTable(low, n);
    const std::vector<unsigned short> hi = ref::curveTable(high, n);
    const double w = (8.0 - 4.0) / (12.0 - 4.0);
    const std::vector<unsigned short> t = flatTable(c, 1, 8.0, n);
    for (unsigned k = 0; k < n; ++k)
        ASSERT_EQ(t[k], static_cast<unsigned short>(lo[k] + (double(hi[k]) - lo[k]) * w)) << k;
    EXPECT_LT(t[n - 1], lo[n - 1]);
    EXPECT_EQ(CChCharacter::FlatnessWords(CH1), 4096);
    EXPECT_EQ(CChCharacter::FlatnessWords(CH4), 1536);
}

TEST_F(ChCharTest, DcOnlyRangeCurveNeedsNoAmplitudeScaling)
{
    CChCharacter c(CH1);
    addCurve(c, 15, 0.0, {pt(1000, 0.9)});
    // 0.9 * 65535 = 58981.5 -> 58981; no division by the range's zero amplitude.
    for (unsigned short v : flatTable(c, 15, 1.0, 64))
        ASSERT_EQ(v, 58981);
}
