// The waveform preview's painting: which traces, constellations and
// dimension arrows land where on a 500 x 300 picture.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include "WaveView/CWaveGreate.h"
#include "WaveView/psewave.h"
#include "param/sys_param.h"
#include "tests/common/test_rig.h"

namespace {
class Preview : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Texts need the font database of a GUI application.
        static int argc = 1;
        static char arg0[] = "test_screens";
        static char* argv[] = {arg0, nullptr};
        if (!QGuiApplication::instance())
            new QGuiApplication(argc, argv);
    }
    void SetUp() override
    {
        TestRig::resetProcessState();
        CWaveCreate::Init();
        CH_DATA& r = sys_param::ch(CH1);
        r.WorkMode = WORK_BASE;
        r.BaseWave = BASE_Sine;
        r.ChMerge = 0;
        r.AmpMode = 0;
        pse.ch = CH1;
        pse.setPenColor(Qt::red);
        pse.setPenWidth(1);
        pse.setwindWidth(500);
        SWaveMem* m = CWaveCreate::GetWaveMem(CH1);
        for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
            m->DispBase[i] = 80;  // y 70
            m->DispMixer[i] = 40; // y 110
            m->DispMod[i] = -80;  // y 230
        }
        m->ArbLen = 0;
    }
    QImage blank() const
    {
        QImage img(500, 300, QImage::Format_RGB32);
        img.fill(Qt::black);
        return img;
    }
    // The controller announces each change of the record (setCurSignal);
    // the preview paints what it was shown then.
    QImage painted()
    {
        pse.setCurSignal(nullptr);
        QImage img = blank();
        QPainter p(&img);
        pse.paint(&p);
        return img;
    }
    QImage indicator(EParamType type)
    {
        pse.setCurSignal(nullptr);
        QImage img = blank();
        QPainter p(&img);
        pse.DrawIndicator(&p, type);
        return img;
    }
    static int count(const QImage& img, QRgb colour, int y0 = 0, int y1 = 299)
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == colour;
        return n;
    }
    // First and last column with a lit pixel in rows y0..y1.
    static std::pair<int, int> span(const QImage& img, int y0, int y1)
    {
        int lo = -1, hi = -1;
        for (int x = 0; x < img.width(); ++x)
            for (int y = y0; y <= y1; ++y)
                if (img.pixel(x, y) != qRgb(0, 0, 0)) {
                    if (lo < 0)
                        lo = x;
                    hi = x;
                }
        return {lo, hi};
    }
    PseWave pse;
};
} // namespace

TEST_F(Preview, TheMainTraceIsTheCarrierInContinuousModeAndTheOutputOtherwise)
{
    QImage img = painted();
    EXPECT_GT(count(img, qRgb(255, 0, 0), 70, 70), 400); // carrier at 150 - 80
    EXPECT_EQ(count(img, qRgb(255, 255, 0)), 0);         // no second trace
    sys_param::ch(CH1).WorkMode = WORK_SCAN;
    img = painted();
    EXPECT_EQ(count(img, qRgb(255, 0, 0), 70, 70), 0);
    EXPECT_GT(count(img, qRgb(255, 0, 0), 110, 110), 400);   // swept output
    EXPECT_GT(count(img, qRgb(255, 255, 0), 230, 230), 400); // sweep wave in yellow
}

TEST_F(Preview, QamReplacesTheMainTraceWithTheConstellation)
{
    CH_DATA& r = sys_param::ch(CH1);
    r.WorkMode = WORK_MODULATION;
    r.ModType = MT_QAM;
    r.QAM_Map = 2; // 16 points, margin 300 / 8
    QImage img = painted();
    EXPECT_EQ(count(img, qRgb(255, 0, 0)), 0);             // no trace
    EXPECT_EQ(count(img, qRgb(255, 255, 0), 230, 230), 0); // nor the modulating wave
    // Dots of the 4 x 4 grid: inner square 100 + 37 .. 100 + 263, pitch 75.
    EXPECT_EQ(img.pixel(137, 37), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(137 + 75, 37 + 75), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(137 + 225, 37 + 225), qRgb(255, 255, 255));
    EXPECT_NE(img.pixel(137 + 37, 37), qRgb(255, 255, 255)); // between two dots
    // 32-QAM: a 6 x 6 grid without its corners, pitch (226 - 1) / 5 = 45.
    r.QAM_Map = 3;
    img = painted();
    EXPECT_NE(img.pixel(137, 37), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(137 + 45, 37), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(137, 37 + 45), qRgb(255, 255, 255));
}

TEST_F(Preview, NoIndicatorBelowTheFullWidthOrOutsideContinuousMode)
{
    EXPECT_GT(count(indicator(EPT_Freq), qRgb(255, 255, 255)), 400);
    pse.setwindWidth(459);
    EXPECT_EQ(count(indicator(EPT_Freq), qRgb(255, 255, 255)), 0);
    EXPECT_EQ(count(indicator(EPT_Ampl), qRgb(255, 255, 255)), 0);
    pse.setwindWidth(500);
    sys_param::ch(CH1).WorkMode = WORK_BURST;
    EXPECT_EQ(count(indicator(EPT_Freq), qRgb(255, 255, 255)), 0);
}

TEST_F(Preview, FrequencyArrowsSpanOnePeriodAtTheTop)
{
    const QImage img = indicator(EPT_Freq);
    EXPECT_EQ(span(img, 15, 35), std::make_pair(20, 480));
    EXPECT_EQ(count(img, qRgb(255, 255, 255), 40, 299), 0);
    sys_param::ch(CH1).BaseWave = BASE_Noise;
    EXPECT_EQ(count(indicator(EPT_Freq), qRgb(255, 255, 255)), 0);
}

TEST_F(Preview, PhaseArrowsOfMinusNinetyDegreesRunFromTwentyTo135)
{
    sys_param::ch(CH1).Phase = -90;
    EXPECT_EQ(span(indicator(EPT_Phase), 15, 35), std::make_pair(20, 135));
    sys_param::ch(CH1).Phase = 90; // from the right end back a quarter
    EXPECT_EQ(span(indicator(EPT_Phase), 15, 35), std::make_pair(365, 480));
}

TEST_F(Preview, AVeryShortEdgeStillGetsAnIndicator)
{
    CH_DATA& r = sys_param::ch(CH1);
    r.BaseWave = BASE_Pulse;
    r.Period = 1e-3;
    r.Rise = 1e-12;
    const QImage img = indicator(EPT_RiseEdge);
    EXPECT_GT(count(img, qRgb(255, 255, 255), 15, 35), 10);
    // The two heads stand outside the 2-point edge, pointing inwards.
    const auto s = span(img, 15, 35);
    EXPECT_LE(s.first, 20 - ARROW_WIDTH_DEF + 2);
    EXPECT_GE(s.second, 21 + ARROW_WIDTH_DEF - 2);
}

TEST_F(Preview, AmplitudeArrowsRunTheTraceHeightAndOffsetArrowsStandOnGround)
{
    const QImage ampl = indicator(EPT_Ampl);
    EXPECT_EQ(ampl.pixel(10, 50), qRgb(255, 255, 255));
    EXPECT_EQ(ampl.pixel(10, 250), qRgb(255, 255, 255));
    EXPECT_EQ(ampl.pixel(10, 150), qRgb(255, 255, 255));
    // A negative offset of a quarter of Vpp: the ground stands above the
    // zero line, arrows from 120 down to 150 with the dashed ground at 120.
    CH_DATA& r = sys_param::ch(CH1);
    r.Vpp = 2;
    r.Offset = -0.5;
    QImage off = indicator(EPT_Offset);
    EXPECT_EQ(off.pixel(10, 135), qRgb(255, 255, 255));
    EXPECT_NE(off.pixel(10, 180), qRgb(255, 255, 255));
    EXPECT_GT(count(off, qRgb(255, 255, 255), 120, 120), 100);
    // A positive one: from the zero line down to 180, ground at 180.
    r.Offset = 0.5;
    off = indicator(EPT_Offset);
    EXPECT_EQ(off.pixel(10, 165), qRgb(255, 255, 255));
    EXPECT_NE(off.pixel(10, 120), qRgb(255, 255, 255));
    EXPECT_GT(count(off, qRgb(255, 255, 255), 180, 180), 100);
}

TEST_F(Preview, PointCountsOfArbitraryFilesUseTheKAndMForms)
{
    EXPECT_EQ(PseWave::pointsText(1500), QStringLiteral("points:1.500 K"));
    EXPECT_EQ(PseWave::pointsText(2000000), QStringLiteral("points:2.000000 M"));
    EXPECT_EQ(PseWave::pointsText(1000), QStringLiteral("points:1000"));
    EXPECT_EQ(PseWave::pointsText(1000001), QStringLiteral("points:1.000001 M"));
    // Drawn in yellow under the trace for an arbitrary wave only.
    CWaveCreate::GetWaveMem(CH1)->ArbLen = 1500;
    EXPECT_EQ(count(painted(), qRgb(255, 255, 0), 262, 282), 0);
    sys_param::ch(CH1).BaseWave = BASE_Arb;
    EXPECT_GT(count(painted(), qRgb(255, 255, 0), 262, 282), 20);
}

TEST_F(Preview, HarmonicBarsFollowTheHarmonicType)
{
    CH_DATA& r = sys_param::ch(CH1);
    r.BaseWave = BASE_Harmonic;
    r.Vpp = 1;
    r.HarmonicOrder = 4;
    r.HarmonicType = HARMNIC_TYPE_ODD;
    for (double& a : r.HarmonicSnAmp)
        a = 0.5;
    // Bars in the pen colour right of x0 = 460 / 2 + 22, pitch (440 / 2) / 16.
    const int x0 = 252, pitch = 13;
    auto bar = [&](const QImage& img, int n) {
        return img.pixel(x0 + 2 + (n - 1) * pitch + 3, 240) == qRgb(255, 0, 0);
    };
    QImage img = painted();
    EXPECT_TRUE(bar(img, 1));
    EXPECT_FALSE(bar(img, 2));
    EXPECT_TRUE(bar(img, 3));
    EXPECT_FALSE(bar(img, 4));
    r.HarmonicType = HARMNIC_TYPE_EVEN;
    img = painted();
    EXPECT_TRUE(bar(img, 1)); // the fundamental always
    EXPECT_TRUE(bar(img, 2));
    EXPECT_FALSE(bar(img, 3));
    // The carrier only takes the left half.
    EXPECT_EQ(count(img.copy(0, 0, x0, 300), qRgb(255, 0, 0), 70, 70), 460 / 2 - 10);
}
