// Range rules of the channel entries at their boundaries, per channel pair:
// frequency and period, amplitude at high impedance and at 50 ohm, AM
// over-modulation headroom, offset and low level under the amplitude limit,
// duty cycle and pulse width, edges. Golden values are written out from the
// formulas of the output stage (50 ohm source, bandwidth per DAC pair).
#include <QSignalSpy>
#include "tests/signals/signal_fixture.h"
#include "param/CUnit.h"

namespace {
const double kSqrt2 = 1.4142135623730951;
double gain(double load) { return load >= 1e6 ? 1.0 : load / (load + 50.0); }
double dbm(double vrms, double load) { return 10 * std::log10(vrms * vrms / load / 0.001); }
} // namespace

class RangeRules : public SignalTest {
protected:
    channelModel* E(CH_ID c, int index) { return C(c).entry(index); }
    const DataInfo& Dsc(CH_ID c, int index, int u) { return *E(c, index)->descriptor(u); }
    // The open-circuit row of the amplitude table that serves frequency f.
    static const AmpFreTable& row(CH_ID c, double f) { return CSetParam::state.pCharacter[c].GetAmpFreqTableAtFreq(f); }
};

TEST_F(RangeRules, SineFrequencyAndPeriodFollowTheBandwidthOfEachPair)
{
    const struct {
        CH_ID c;
        double hi;
    } cases[] = {{CH1, 600e6}, {CH2, 600e6}, {CH3, 200e6}, {CH4, 200e6}};
    for (const auto& k : cases) {
        rec(k.c).BaseWave = BASE_Sine;
        rec(k.c).Frequency = 1000;
        E(k.c, PARAM_INDEX_FREQ)->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(k.c, PARAM_INDEX_FREQ, 0).Max, k.hi) << "CH" << k.c + 1;
        EXPECT_DOUBLE_EQ(Dsc(k.c, PARAM_INDEX_FREQ, 0).Min, 1e-6);
        EXPECT_DOUBLE_EQ(Dsc(k.c, PARAM_INDEX_FREQ, 1).Min, 1 / k.hi);
        EXPECT_DOUBLE_EQ(Dsc(k.c, PARAM_INDEX_FREQ, 1).Max, 1e6);

        // Above the bandwidth: stored as the limit, period follows.
        EXPECT_FALSE(E(k.c, PARAM_INDEX_FREQ)->SetValue(k.hi * 1.5, 0));
        EXPECT_DOUBLE_EQ(rec(k.c).Frequency, k.hi);
        EXPECT_NEAR(rec(k.c).Period, 1 / k.hi, 1e-20);
    }
    // A ramp on CH3 stops at 10 MHz.
    rec(CH3).BaseWave = BASE_Ramp;
    EXPECT_FALSE(E(CH3, PARAM_INDEX_FREQ)->UpdateRange()) << "200 MHz is outside the ramp's range";
    EXPECT_DOUBLE_EQ(rec(CH3).Frequency, 10e6);
    EXPECT_DOUBLE_EQ(rec(CH3).Period, 1e-7);
}

TEST_F(RangeRules, PeriodTypedSetsTheFrequencyAndZeroLeavesTheOtherField)
{
    channelModel* f = E(CH2, PARAM_INDEX_FREQ);
    EXPECT_TRUE(f->SetValue(2.5e-3, 1));
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, 400);
    EXPECT_TRUE(f->SetValue(8000, 0));
    EXPECT_DOUBLE_EQ(rec(CH2).Period, 1.25e-4);

    // A vanishing frequency (or period) has no reciprocal.
    rec(CH2).Frequency = 0;
    f->mulitInputTypeSync(0);
    EXPECT_DOUBLE_EQ(rec(CH2).Period, 1.25e-4);
    rec(CH2).Frequency = 8000;
    rec(CH2).Period = 0;
    f->mulitInputTypeSync(1);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, 8000);
}

TEST_F(RangeRules, FrequencyUnderTheAmplitudeLimitStopsWhereTheOffsetStageStillReachesTheWindow)
{
    rec(CH1).BaseWave = BASE_Sine;
    rec(CH1).Load = 1000000;
    rec(CH1).AmpLimit = true;
    rec(CH1).LimitH = 4.0;
    rec(CH1).LimitL = -3.0;
    E(CH1, PARAM_INDEX_FREQ)->UpdateRange();
    const double top = Dsc(CH1, PARAM_INDEX_FREQ, 0).Max;
    EXPECT_LT(top, 600e6) << "3 V of offset is not available up to 600 MHz";
    EXPECT_GE(row(CH1, top).offset, 3.0 + 0.001) << "at the limit the offset stage reaches min(|H|, |L|) + 1 mV";
    rec(CH1).AmpLimit = false;
    E(CH1, PARAM_INDEX_FREQ)->UpdateRange();
    EXPECT_DOUBLE_EQ(Dsc(CH1, PARAM_INDEX_FREQ, 0).Max, 600e6);
}

TEST_F(RangeRules, AmplitudeLimitsAtHighImpedanceAndAt50Ohm)
{
    for (CH_ID c : {CH1, CH3}) {
        for (double load : {1e6, 50.0}) {
            rec(c).BaseWave = BASE_Sine;
            rec(c).Frequency = 1000;
            rec(c).Load = u32(load);
            rec(c).AmpMode = 0;
            rec(c).AmpUnit = 0;
            rec(c).ModType = MT_AM;
            rec(c).ModDepthAM = 100;
            E(c, PARAM_INDEX_AMP)->selectParam(0);
            E(c, PARAM_INDEX_AMP)->UpdateRange();
            const double g = gain(load);
            const double hi = row(c, 1000).amp * g;
            const double lo = std::max(0.002 * g, 0.001);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_AMP, 0).Max, hi) << "CH" << c + 1 << " load " << load;
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_AMP, 0).Min, lo);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_AMP, 1).Max, hi / (2 * kSqrt2));
            EXPECT_NEAR(Dsc(c, PARAM_INDEX_AMP, 2).Max, dbm(hi / (2 * kSqrt2), load), 1e-9);
            EXPECT_NEAR(Dsc(c, PARAM_INDEX_AMP, 2).Min, dbm(lo / (2 * kSqrt2), load), 1e-9);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_AMP, 3).Max, hi / 2);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_AMP, 3).Min, -hi / 2 + lo);

            // Typed above the limit: the limit is stored.
            EXPECT_FALSE(E(c, PARAM_INDEX_AMP)->SetValue(hi + 1, 0));
            EXPECT_DOUBLE_EQ(rec(c).Vpp, hi);

            // Over-modulation at 120 % leaves room for the peaks.
            rec(c).ModDepthAM = 120;
            EXPECT_FALSE(E(c, PARAM_INDEX_AMP)->UpdateRange());
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_AMP, 0).Max, hi / 1.2);
            EXPECT_DOUBLE_EQ(rec(c).Vpp, hi / 1.2);
            EXPECT_NEAR(rec(c).Vrms, hi / 1.2 / (2 * kSqrt2), 1e-12);
        }
    }
}

TEST_F(RangeRules, OffsetAndLowLevelStayInsideTheAmplitudeLimitWindow)
{
    for (CH_ID c : {CH1, CH3}) {
        for (double load : {1e6, 50.0}) {
            CH_DATA& d = rec(c);
            d.BaseWave = BASE_Sine;
            d.Frequency = 1000;
            d.Load = u32(load);
            d.AmpLimit = true;
            d.LimitH = 1.5;
            d.LimitL = -0.5;
            d.AmpMode = 0;
            d.Vpp = 0.2;
            d.Offset = 3.0;
            E(c, PARAM_INDEX_OFFSET)->selectParam(0);
            EXPECT_FALSE(E(c, PARAM_INDEX_OFFSET)->UpdateRange()) << "3 V lies outside the window";

            const double g = gain(load);
            const double minAmp = 0.002 * g;
            const AmpFreTable& t = row(c, 1000);
            const double maxOff = t.offset * g;
            const double hiLevel = std::min(t.maxLevel * g, 1.5);
            const double loLevel = std::max(-t.maxLevel * g, -0.5);
            const bool full = hiLevel - (minAmp / 2 + maxOff) >= 1e-13;
            const double offLo = full ? loLevel : loLevel + minAmp / 2;
            const double offHi = full ? hiLevel : hiLevel - minAmp / 2;
            const double lowHi = full ? hiLevel : hiLevel - minAmp;
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_OFFSET, 0).Min, offLo);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_OFFSET, 0).Max, offHi);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_OFFSET, 1).Min, loLevel);
            EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_OFFSET, 1).Max, lowHi);
            EXPECT_GE(Dsc(c, PARAM_INDEX_OFFSET, 0).Min, -0.5);
            EXPECT_LE(Dsc(c, PARAM_INDEX_OFFSET, 0).Max, 1.5);
            // Pulled inside the offset range; the channel then shrinks the
            // amplitude so that both levels stay in the window.
            EXPECT_LE(d.Offset, offHi + 1e-12);
            EXPECT_GE(d.Offset, offLo - 1e-12);
            EXPECT_LE(d.Offset + d.Vpp / 2, 1.5 + 1e-12);
            EXPECT_GE(d.Offset - d.Vpp / 2, -0.5 - 1e-12);
        }
    }
}

TEST_F(RangeRules, LowLevelTypedMovesTheOffsetAndKeepsTheHighLevel)
{
    CH_DATA& d = rec(CH2);
    d.Load = 1000000;
    d.BaseWave = BASE_Sine;
    d.Vpp = 2;
    d.Offset = 0;
    d.High = 1;
    d.Low = -1;
    channelModel* off = E(CH2, PARAM_INDEX_OFFSET);
    EXPECT_TRUE(off->SetValue(-0.5, 1));
    EXPECT_DOUBLE_EQ(d.Low, -0.5);
    EXPECT_DOUBLE_EQ(d.Offset, 0.25);
    EXPECT_DOUBLE_EQ(d.High, 1.0);
    EXPECT_DOUBLE_EQ(d.Vpp, 1.5);
    // A low level at the high level keeps the smallest swing: 2 mV.
    EXPECT_TRUE(off->SetValue(1.0, 1));
    EXPECT_DOUBLE_EQ(d.Offset, 1.001);
    EXPECT_NEAR(d.Vpp, 0.002, 1e-12);
}

TEST_F(RangeRules, DutyAtItsEndsLeavesTheShortestHighAndLowTimeOfEachPair)
{
    const struct {
        CH_ID c;
        double e;
    } cases[] = {{CH1, 1e-9}, {CH2, 1e-9}, {CH3, 5e-9}, {CH4, 5e-9}};
    for (const auto& k : cases) {
        CH_DATA& d = rec(k.c);
        d.Period = 1e-6;
        d.Frequency = 1e6;
        channelModel* duty = E(k.c, PARAM_INDEX_DUTYPULSE);
        d.Duty = 100;
        duty->mulitInputTypeSync(0);
        EXPECT_NEAR(d.PulseWidth, 1e-6 - k.e, 1e-18) << "CH" << k.c + 1;
        d.Duty = 0;
        duty->mulitInputTypeSync(0);
        EXPECT_NEAR(d.PulseWidth, k.e, 1e-18);
        d.Duty = 25;
        duty->mulitInputTypeSync(0);
        EXPECT_NEAR(d.PulseWidth, 0.25e-6, 1e-18);
    }
}

TEST_F(RangeRules, PulseWidthBelowTheShortestPulseIsRaisedAndTheDutyFollows)
{
    const struct {
        CH_ID c;
        double w;
    } cases[] = {{CH1, 2.4e-9}, {CH3, 8e-9}};
    for (const auto& k : cases) {
        CH_DATA& d = rec(k.c);
        d.BaseWave = BASE_Pulse;
        d.Frequency = 1e6;
        d.Period = 1e-6;
        channelModel* duty = E(k.c, PARAM_INDEX_DUTYPULSE);
        d.PulseWidth = 1e-9;
        duty->mulitInputTypeSync(1);
        EXPECT_DOUBLE_EQ(d.PulseWidth, k.w);
        EXPECT_NEAR(d.Duty, k.w * 100 / 1e-6, 1e-9);

        duty->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(k.c, PARAM_INDEX_DUTYPULSE, 1).Min, k.w);
        EXPECT_DOUBLE_EQ(Dsc(k.c, PARAM_INDEX_DUTYPULSE, 1).Max, 1e-6 - k.w);
        EXPECT_NEAR(Dsc(k.c, PARAM_INDEX_DUTYPULSE, 0).Min, 100 * k.w / 1e-6, 1e-9);
        EXPECT_NEAR(Dsc(k.c, PARAM_INDEX_DUTYPULSE, 0).Max, 100 - 100 * k.w / 1e-6, 1e-9);
        EXPECT_FALSE(duty->SetValue(0.5e-9, 1));
        EXPECT_DOUBLE_EQ(d.PulseWidth, k.w);
    }
}

TEST_F(RangeRules, EdgesShareTheShorterHalfOfThePulse)
{
    CH_DATA& d = rec(CH1);
    d.BaseWave = BASE_Pulse;
    d.WorkMode = WORK_BASE;
    d.Frequency = 1e6;
    d.Duty = 30;
    d.Fall = 50e-9;
    d.Rise = 500e-9;
    EXPECT_FALSE(E(CH1, PARAM_INDEX_RISE)->UpdateRange());
    const double e = (2 * 30 / 1e6 / 100 - 2.4e-9) * 0.8;
    EXPECT_DOUBLE_EQ(Dsc(CH1, PARAM_INDEX_RISE, 0).Min, 1e-9);
    EXPECT_DOUBLE_EQ(Dsc(CH1, PARAM_INDEX_RISE, 0).Max, e);
    EXPECT_NEAR(d.Rise, e + 1e-9 - 50e-9, 1e-18);
}

TEST_F(RangeRules, ModulationSweepAndHarmonicLimitsPerPair)
{
    for (CH_ID c : {CH1, CH3}) {
        const bool fast = c == CH1;
        const double sineHi = fast ? 600e6 : 200e6;
        CH_DATA& d = rec(c);
        d.BaseWave = BASE_Sine;
        d.Frequency = 50e6;

        // PRBS edges: at most 80 % of a bit less the shortest edge.
        d.EdgeTime = 1;
        E(c, PARAM_INDEX_PRBSEDGETIME)->UpdateRange();
        const double m = fast ? 2.6e-9 : 4.2e-9;
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_PRBSEDGETIME, 0).Min, m);
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_PRBSEDGETIME, 0).Max, std::max((1 / 50e6) / 1.25 - m, m));
        EXPECT_DOUBLE_EQ(d.EdgeTime, Dsc(c, PARAM_INDEX_PRBSEDGETIME, 0).Max);

        // OSK: half a period of the keying rate.
        d.ModRate = 1000;
        E(c, PARAM_INDEX_OSKOSCTIME)->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_OSKOSCTIME, 0).Min, fast ? 5e-9 : 6e-9);
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_OSKOSCTIME, 0).Max, 0.5e-3);

        // Harmonic order: every harmonic inside the sine bandwidth.
        d.HarmonicOrder = 16;
        E(c, PARAM_INDEX_HARMONICORDER)->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_HARMONICORDER, 0).Max, std::min(16.0, std::floor(sineHi / 50e6)));
        EXPECT_EQ(d.HarmonicOrder, u8(std::min(16.0, std::floor(sineHi / 50e6))));

        // FM deviation: the swing stays above zero and below the bandwidth.
        d.Frequency = sineHi * 0.75;
        E(c, PARAM_INDEX_FMFREQDEV)->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_FMFREQDEV, 0).Max, sineHi - sineHi * 0.75);

        // Burst period: N cycles plus 100 ns.
        d.BstCycles = 10;
        d.Period = 1e-3;
        E(c, PARAM_INDEX_BURSTTRIGPERIOD)->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_BURSTTRIGPERIOD, 0).Min, 10 * 1e-3 + 1e-7);

        // Linear sweep of a pulse: at least one period of the lowest frequency.
        d.BaseWave = BASE_Pulse;
        d.SweepType = ST_LINE;
        d.SwpStartFre = 10.001;
        d.SwpEndFre = 1000;
        E(c, PARAM_INDEX_SWEEPTIME)->UpdateRange();
        EXPECT_NEAR(Dsc(c, PARAM_INDEX_SWEEPTIME, 0).Min, 0.1, 1e-12);
        d.SweepType = ST_STEP;
        E(c, PARAM_INDEX_SWEEPTIME)->UpdateRange();
        EXPECT_DOUBLE_EQ(Dsc(c, PARAM_INDEX_SWEEPTIME, 0).Min, 0.001);
        EXPECT_EQ(E(c, PARAM_INDEX_SWEEPTIME)->rnameindex(), 1);
    }
}
