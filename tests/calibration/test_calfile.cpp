// Parsing of calibration texts into the channel characteristics.
#include <QStringList>
#include "tests/calibration/cal_fixture.h"

namespace {

void parse(const QString& text) { CCalFile::analysisCalFlie(text, CSetParam::state.pCharacter); }

} // namespace

TEST_F(CalTest, DcGainOutsideTheWindowLeavesTheRangeUncorrected)
{
    chr(0).SetDCCalValue(8, 1.1, 0.1);
    parse("[T:DC]\r\n[CH:0]\r\n[ATT:08][A:1.700000][B:0.010000]\r\n"
          "[ATT:09][A:1.010000][B:0.020000]\r\n[CH:END]\r\n[T:END]\r\n");
    EXPECT_EQ(range(0, 8)->DC_a, 1.0);
    EXPECT_EQ(range(0, 8)->DC_b, 0.0);
    EXPECT_EQ(range(0, 9)->DC_a, 1.01);
    EXPECT_EQ(range(0, 9)->DC_b, 0.02);
    // The other channels did not take the block.
    EXPECT_EQ(range(1, 9)->DC_a, 1.0);
}

TEST_F(CalTest, PointsWithinAHundredthOfAPercentAreOnePoint)
{
    // A step back onto a point, and (range 8) a step up of exactly 0.01 %
    // (frequencies are kept to four digits): the ascending points of a file
    // take a shorter path that must merge alike.
    parse("[T:AC]\r\n[CH:2]\r\n[ATT:01]\r\n[V:5.000000]\r\n"
          "[1.000e+03:1.000000]\r\n[1.0001e+06:0.950000]\r\n[1.0000e+06:0.960000]\r\n"
          "[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:1.000000]\r\n[9.999e+03:0.950000]\r\n[1.000e+04:0.940000]\r\n"
          "[CH:END]\r\n[T:END]\r\n");
    for (int code : {1, 8}) {
        const AmpSWMap* m = range(2, code);
        ASSERT_EQ(m->ACFreAmp.size(), 1u) << code;
        const std::vector<ACFrePiont>& p = m->ACFreAmp[0].Points;
        ASSERT_EQ(p.size(), 2u) << code;
        EXPECT_EQ(p[1].amp, code == 1 ? 0.96 : 0.94) << code;
    }
    EXPECT_EQ(range(2, 1)->ACFreAmp[0].Points[1].fre, 1e6);
}

TEST_F(CalTest, BlocksComeInAnyOrderAndRangesMayBeNamedWithR)
{
    parse("[SN:ABC]\r\n"
          "[T:AC]\r\n[CH:3]\r\n[R:00]\r\n[V:2.000000]\r\n[1.000e+07:0.900000]\r\n[1.000e+03:0.990000]\r\n"
          "[CH:END]\r\n[T:END]\r\n\r\n"
          "[T:DC]\r\n[CH:1]\r\n[R:04][A:0.990000][B:-0.001000]\r\n[CH:END]\r\n[T:END]\r\n");
    const AmpSWMap* m = range(3, 0);
    ASSERT_EQ(m->ACFreAmp.size(), 1u);
    ASSERT_EQ(m->ACFreAmp[0].Points.size(), 2u);
    // Sorted by frequency at the end of the section.
    EXPECT_EQ(m->ACFreAmp[0].Points[0].fre, 1000.0);
    EXPECT_EQ(m->ACFreAmp[0].Points[1].amp, 0.9);
    EXPECT_EQ(range(1, 4)->DC_a, 0.99);
    EXPECT_EQ(range(1, 4)->DC_b, -0.001);
}

TEST_F(CalTest, ChannelAboveThreeEndsItsBlockOnly)
{
    LogCapture log;
    parse("[T:DC]\r\n[CH:0]\r\n[ATT:09][A:1.100000][B:0.000000]\r\n[CH:END]\r\n"
          "[CH:4]\r\n[ATT:09][A:1.200000][B:0.000000]\r\n[CH:END]\r\n"
          "[CH:1]\r\n[ATT:09][A:1.300000][B:0.000000]\r\n[CH:END]\r\n[T:END]\r\n"
          "[T:DC]\r\n[CH:2]\r\n[ATT:09][A:1.400000][B:0.000000]\r\n[CH:END]\r\n[T:END]\r\n");
    EXPECT_TRUE(log.contains("ch out of range"));
    EXPECT_EQ(range(0, 9)->DC_a, 1.1);
    // The rest of the block with CH:4 is passed over ...
    EXPECT_EQ(range(1, 9)->DC_a, 1.0);
    EXPECT_EQ(range(3, 9)->DC_a, 1.0);
    // ... the next block is read.
    EXPECT_EQ(range(2, 9)->DC_a, 1.4);
}

TEST_F(CalTest, MalformedFieldsAreSkipped)
{
    parse("[T:DC]\r\n[CH:0]\r\n"
          "[ATT:09][A:abc][B:0.5]\r\n"      // gain unreadable: no change
          "[ATT:300][A:1.1][B:0.1]\r\n"     // code out of range
          "[ATT:03][A:1.1][B:0.1]\r\n"      // code without a range
          "[ATT:01][A:1.050000][B:nan]\r\n" // offset not a number
          "[ATT:00][A:1.020000][B:0.003000]\r\n"
          "[CH:x]\r\n[ATT:08][A:1.1][B:0.1]\r\n" // no channel: ignored
          "[CH:END]\r\n[T:END]\r\n"
          "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:inf]\r\n[1.000e+03:0.5]\r\n"
          "[V:0.100000]\r\n[abc:0.5]\r\n[-1:0.5]\r\n[1.000e+03:0.998]\r\n[2e6]\r\n"
          "[1.000e+07:0.99[1.000e+06:0.995000]\r\n[CH:END]\r\n[T:END]\r\n");
    EXPECT_EQ(range(0, 9)->DC_a, 1.0);
    EXPECT_EQ(range(0, 1)->DC_a, 1.0);
    EXPECT_EQ(range(0, 0)->DC_a, 1.02);
    EXPECT_EQ(range(0, 0)->DC_b, 0.003);
    EXPECT_EQ(range(0, 8)->DC_a, 1.0);
    const AmpSWMap* m = range(0, 8);
    ASSERT_EQ(m->ACFreAmp.size(), 1u); // no curve at an unreadable amplitude
    EXPECT_EQ(m->ACFreAmp[0].AdjAmp, 0.1);
    ASSERT_EQ(m->ACFreAmp[0].Points.size(), 2u);
    EXPECT_EQ(m->ACFreAmp[0].Points[0].fre, 1000.0);
    EXPECT_EQ(m->ACFreAmp[0].Points[1].fre, 1e6); // the broken field did not swallow it
}

TEST_F(CalTest, EmptyBlockTypeEndsTheText)
{
    LogCapture log;
    parse("[T:DC]\r\n[CH:0]\r\n[ATT:09][A:1.1][B:0]\r\n[CH:END]\r\n[T:END]\r\n[T:]\r\n"
          "[T:DC]\r\n[CH:1]\r\n[ATT:09][A:1.1][B:0]\r\n[CH:END]\r\n[T:END]\r\n");
    EXPECT_TRUE(log.contains("Rang is empty"));
    EXPECT_EQ(range(0, 9)->DC_a, 1.1);
    EXPECT_EQ(range(1, 9)->DC_a, 1.0);
}

TEST_F(CalTest, CurvesOfEveryRangeAreAnchoredAtOneKilohertz)
{
    // Range 8 of CH1 has a 1 kHz curve; its 0.3 V curve starts at 100 kHz.
    // Range 1 comes after ranges without any curve in table order and is
    // still anchored.
    parse("[T:AC]\r\n[CH:0]\r\n"
          "[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.998000]\r\n[1.000e+07:0.990000]\r\n"
          "[ATT:08]\r\n[V:0.300000]\r\n[1.000e+05:0.997000]\r\n"
          "[ATT:01]\r\n[V:5.000000]\r\n[1.000e+03:1.010000]\r\n"
          "[ATT:01]\r\n[V:10.000000]\r\n[1.000e+06:1.000000]\r\n"
          "[CH:END]\r\n[T:END]\r\n");
    const AmpSWMap* m8 = range(0, 8);
    ASSERT_EQ(m8->ACFreAmp[1].Points.size(), 2u);
    EXPECT_EQ(m8->ACFreAmp[1].Points[0].fre, 1000.0);
    EXPECT_EQ(m8->ACFreAmp[1].Points[0].amp, 0.998);
    const AmpSWMap* m1 = range(0, 1);
    ASSERT_EQ(m1->ACFreAmp[1].Points.size(), 2u);
    EXPECT_EQ(m1->ACFreAmp[1].Points[0].amp, 1.01);
}

TEST_F(CalTest, ThousandsOfPointsStayBoundedAndOrdered)
{
    QString text = "[T:AC]\r\n[CH:1]\r\n[ATT:09]\r\n[V:5.000000]\r\n";
    const int n = CCalFile::kMaxCurvePoints + 1500;
    for (int k = n; k >= 1; --k)
        text += QString::asprintf("[%.3e:%f]\r\n", 1000.0 * k, 1.0 - k * 1e-6);
    text += "[CH:END]\r\n[T:END]\r\n";
    LogCapture log;
    parse(text);
    const std::vector<ACFrePiont>& p = range(1, 9)->ACFreAmp.at(0).Points;
    // The first kMaxCurvePoints points were taken (from the top down), plus
    // nothing: 1 kHz is not among them, so no anchor either.
    ASSERT_EQ(p.size(), size_t(CCalFile::kMaxCurvePoints));
    EXPECT_TRUE(log.contains("points in one curve"));
    for (size_t k = 1; k < p.size(); ++k)
        ASSERT_LT(p[k - 1].fre, p[k].fre);
    EXPECT_EQ(p.back().fre, 1000.0 * n);
}

TEST_F(CalTest, ACurveWithoutPointsStillTakesItsPlaceByAmplitude)
{
    parse("[T:AC]\r\n[CH:1]\r\n[ATT:08]\r\n[V:0.500000]\r\n[1.000e+03:0.990000]\r\n"
          "[ATT:08]\r\n[V:0.100000]\r\n[CH:END]\r\n[T:END]\r\n");
    const AmpSWMap* m = range(1, 8);
    ASSERT_EQ(m->ACFreAmp.size(), 2u);
    EXPECT_EQ(m->ACFreAmp[0].AdjAmp, 0.1);
    EXPECT_EQ(m->ACFreAmp[1].AdjAmp, 0.5);
}
