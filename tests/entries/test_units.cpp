// Unit switching of the amplitude entry (Vpp, Vrms, dBm; dBm refused at high
// impedance) and the round trip of a value through the three forms.
#include "tests/signals/signal_fixture.h"
#include "communication/SCPI/sys_error.h"
#include "param/uinttable.h"

namespace {
double ratioOf(BASE_WAVE w)
{
    switch (w) {
    case BASE_Sine: return 1 / (2 * std::sqrt(2.0));
    case BASE_Square:
    case BASE_Pulse: return 0.5;
    case BASE_Ramp: return 1 / (2 * std::sqrt(3.0));
    default: return 1.0;
    }
}
} // namespace

class Units : public SignalTest {
protected:
    channelModel* amp(CH_ID c) { return C(c).entry(PARAM_INDEX_AMP); }
};

TEST_F(Units, UnitCycleSkipsDbmAtHighImpedance)
{
    CH_DATA& d = rec(CH1);
    d.AmpMode = 0;
    d.AmpUnit = 0;
    d.Load = 1000000;
    EXPECT_EQ(amp(CH1)->runits(), 2);
    amp(CH1)->unitClicked(-1);
    EXPECT_EQ(d.AmpUnit, 1);
    EXPECT_EQ(amp(CH1)->paramIndexInUse(), 1);
    amp(CH1)->unitClicked(-1);
    EXPECT_EQ(d.AmpUnit, 0) << "Vrms -> Vpp, no dBm without a load";
    amp(CH1)->unitClicked(2);
    EXPECT_EQ(d.AmpUnit, 0);

    d.Load = 50;
    EXPECT_EQ(amp(CH1)->runits(), 3);
    amp(CH1)->unitClicked(-1);
    amp(CH1)->unitClicked(-1);
    EXPECT_EQ(d.AmpUnit, 2);
    EXPECT_EQ(amp(CH1)->paramIndexInUse(), 2);
    amp(CH1)->unitClicked(-1);
    EXPECT_EQ(d.AmpUnit, 0);

    // In high/low mode the unit buttons do nothing.
    d.AmpMode = 1;
    EXPECT_EQ(amp(CH1)->runits(), 0);
    EXPECT_EQ(amp(CH1)->runit(), 3);
    amp(CH1)->unitClicked(-1);
    EXPECT_EQ(d.AmpUnit, 0);
}

TEST_F(Units, DbmChosenOnThePadAtHighImpedanceIsRefusedWithItsError)
{
    CH_DATA& d = rec(CH3);
    d.AmpMode = 0;
    d.AmpUnit = 0;
    d.Load = 1000000;
    d.Vpp = 1.0;
    amp(CH3)->selectParam(0);
    const int dbmRow = 4;
    ASSERT_EQ(VoltageAmpUint[dbmRow].Type, UintAmpVDbm);
    Sys_ErrorClear();
    amp(CH3)->wparamfocus(true);
    amp(CH3)->inputting = true;
    amp(CH3)->wlistvalue(QStringLiteral("3"));
    EXPECT_EQ(amp(CH3)->InputUnit(dbmRow), QStringLiteral("quit"));
    EXPECT_EQ(Sys_ErrorPop(), -809);
    EXPECT_EQ(d.AmpUnit, 0);
    EXPECT_DOUBLE_EQ(d.Vpp, 1.0) << "the typed value is dropped";
    EXPECT_FALSE(amp(CH3)->inputting);
    EXPECT_FALSE(amp(CH3)->rparamfocus());
    // The Vpp and Vrms rows: Screens.EveryUnitButtonStoresTheUnitItShows.
    EXPECT_EQ(amp(CH3)->InputUnit(5), QStringLiteral("error")) << "past the table's end";
}

// Vrms and dBm read back, and Vrms typed, per waveform: CommandSet (tests/clients,
// the amplitude rows). Here dBm typed, and the levels.
TEST_F(Units, AmplitudeRoundTripsThroughDbmPerWaveform)
{
    const double load = 50;
    for (BASE_WAVE w : {BASE_Sine, BASE_Square, BASE_Ramp, BASE_Pulse}) {
        CH_DATA& d = rec(CH2);
        d.BaseWave = w;
        d.Frequency = 1000;
        d.Load = u32(load);
        d.AmpMode = 0;
        d.Offset = 0.1;
        d.Vpp = 0; // so that 1.2 is a change for every waveform
        const double r = ratioOf(w);
        ASSERT_TRUE(amp(CH2)->SetValue(1.2, 0));
        const double dbm = 10 * std::log10(1.2 * r * 1.2 * r / load / 0.001);
        EXPECT_NEAR(d.High, 0.1 + 0.6, 1e-12) << w;
        EXPECT_NEAR(d.Low, 0.1 - 0.6, 1e-12) << w;
        const double dbm3 = dbm - 3;
        ASSERT_TRUE(amp(CH2)->SetValue(dbm3, 2));
        const double vrms = std::sqrt(std::pow(10.0, dbm3 / 10) * load * 0.001);
        EXPECT_NEAR(d.Vpp, vrms / r, 1e-12);
        EXPECT_NEAR(d.Vrms, vrms, 1e-12);
        ASSERT_TRUE(amp(CH2)->SetValue(dbm, 2));
        EXPECT_NEAR(d.Vpp, 1.2, 1e-9) << "back where it started";
    }
}

TEST_F(Units, HighLevelTypedInHighLowModeMovesAmplitudeAndCentre)
{
    CH_DATA& d = rec(CH1);
    d.Load = 1000000;
    d.AmpMode = 1;
    d.Vpp = 2;
    d.Offset = 0;
    d.High = 1;
    d.Low = -1;
    amp(CH1)->selectParam(3);
    ASSERT_TRUE(amp(CH1)->SetValue(2.0, 3));
    EXPECT_DOUBLE_EQ(d.Vpp, 3.0);
    EXPECT_DOUBLE_EQ(d.Offset, 0.5);
    EXPECT_DOUBLE_EQ(d.Low, -1.0);
}

TEST_F(Units, NoiseRatioInDbAndAsPlainRatio)
{
    CH_DATA& d = rec(CH4);
    channelModel* n = C(CH4).entry(PARAM_INDEX_CHNOISERATIO);
    d.SNRUnit = 0;
    n->selectParam(0);
    n->SetRange(-100, 100, 0);
    ASSERT_TRUE(n->SetValue(10, 0));
    EXPECT_NEAR(d.SNRatio, 10.0, 1e-12);
    n->unitClicked(-1);
    EXPECT_EQ(d.SNRUnit, 1);
    EXPECT_EQ(n->runit(), 1);
    EXPECT_EQ(n->rlistgroup(), QStringLiteral("noise"));
}
