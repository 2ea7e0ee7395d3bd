// The output each setting produces, measured by the scope model from the
// simulated FPGA's registers and tables. Tolerances come from the word sizes:
// the carrier increment resolves 312.5 MHz / 2^63 (far below anything
// measured here), the scale word 1/65535 of the range's full scale (61 uV
// on the 4 V range), the fine offset DAC 0.1 mV before its x6 amplifier and
// the 2/11 DC gain (0.11 mV), the wave memory 1/32767 of full scale.
#include "tests/scope/scope_fixture.h"
#include <cstring>
#include <numeric>
#include "WaveView/CWaveGreate.h"

TEST_F(Scope, InversionMirrorsTheWaveAndKeepsTheOffset)
{
    select(0, BASE_Ramp);
    set(0, PARAM_INDEX_FREQ, 1000);
    set(0, PARAM_INDEX_AMP, 2.0);
    set(0, PARAM_INDEX_OFFSET, 0.5);
    set(0, PARAM_INDEX_SYMMETRY, 25);
    const Trace plain = capture(probe(0), 5e-3, 50000);
    set(0, PARAM_INDEX_CHREVERSE, 1);
    const Trace inv = capture(probe(0), 5e-3, 50000);
    EXPECT_NEAR(inv.m.mean, 0.5, 1e-3);
    EXPECT_NEAR(inv.m.vpp, 2.0, 2e-3);
    // The 25 % rising part becomes the falling part.
    EXPECT_NEAR(plain.m.rise, 0.8 * 0.25e-3, 1e-6);
    EXPECT_NEAR(inv.m.fall, 0.8 * 0.25e-3, 1e-6);
}

// Every output range, and offsets that take the large-offset path: the
// amplitude and the offset at the connector are what was set. The scale word
// resolves 1/65535 of the range (plus the 16-bit wave memory), the offset
// DAC 0.11 mV (0.65 mV behind the x6 amplifier of the high-voltage codes).
TEST_F(Scope, AmplitudeAndOffsetAcrossTheOutputRanges)
{
    select(0, BASE_Sine);
    set(0, PARAM_INDEX_FREQ, 1000);
    struct Case {
        double vpp, offset;
    };
    const Case cases[] = {{0.004, 0}, {0.01, 0}, {0.03, 0.2}, {0.1, -0.5},  {0.3, 1.0},  {1.0, 0},   {4.0, 0.5},
                          {6.0, 1.0}, {10.0, 0}, {20.0, 0},   {0.05, -4.0}, {0.02, 2.5}, {0.15, 3.0}};
    for (const Case& c : cases) {
        set(0, PARAM_INDEX_OFFSET, 0);
        set(0, PARAM_INDEX_AMP, c.vpp);
        set(0, PARAM_INDEX_OFFSET, c.offset);
        const ScopeModel s = probe(0);
        const Trace t = capture(s, 2e-3, 20000);
        const double code = double(ScopeChannelState::capture(fpga(), 0).reg(REG_ATT, 1));
        EXPECT_NEAR(t.m.vpp, c.vpp, c.vpp * 1e-3 + 1e-4) << c.vpp << " Vpp, offset " << c.offset << ", code " << code;
        EXPECT_NEAR(t.m.mean, c.offset, 1.5e-3) << c.vpp << " Vpp, offset " << c.offset << ", code " << code;
    }
}

// An offset beyond the 2 V of the low-voltage ranges with a small amplitude
// takes the large-offset path: the output amplifier for the offset and a
// different attenuator for the wave. From the 4 V range it lands on code 9,
// whose own range declares 8 V full scale while the gains the path divides by
// (x6.16 / 3) make 8.21 V of the 4 V range: the wave comes out 2.6 % small on
// an uncalibrated board. The offset stays exact.
TEST_F(Scope, LargeOffsetPathFromTheFourVoltRange)
{
    select(0, BASE_Sine);
    set(0, PARAM_INDEX_FREQ, 1000);
    set(0, PARAM_INDEX_AMP, 2.0);
    set(0, PARAM_INDEX_OFFSET, 6.0);
    EXPECT_EQ(ScopeChannelState::capture(fpga(), 0).reg(REG_ATT, 1), 9u);
    const Trace t = capture(probe(0), 2e-3, 20000);
    EXPECT_NEAR(t.m.mean, 6.0, 1.5e-3);
    EXPECT_NEAR(t.m.vpp / 2.0, 8.0 / (4.0 * 6.16 / 3), 1e-3);
}

namespace {
// Amplitude (peak) of the component at frequency f, over whole periods.
double component(const QVector<double>& v, double dt, double f)
{
    double c = 0, s = 0;
    for (int i = 0; i < v.size(); ++i) {
        c += v[i] * std::cos(2 * M_PI * f * i * dt);
        s += v[i] * std::sin(2 * M_PI * f * i * dt);
    }
    return 2 * std::hypot(c, s) / v.size();
}
} // namespace

// Merging CH2 into CH1: CH1's connector carries both waves, each at its own
// amplitude, and the two offsets added.
TEST_F(Scope, MergeAddsThePartnersWave)
{
    select(1, BASE_Sine);
    set(1, PARAM_INDEX_FREQ, 10000);
    set(1, PARAM_INDEX_AMP, 0.5);
    set(1, PARAM_INDEX_OFFSET, 0.2);
    select(0, BASE_Sine);
    set(0, PARAM_INDEX_FREQ, 1000);
    set(0, PARAM_INDEX_AMP, 1.0);
    set(0, PARAM_INDEX_OFFSET, 0.1);
    const Trace alone = capture(probe(0), 10e-3, 100000);
    EXPECT_NEAR(component(alone.v, alone.dt, 10000), 0, 1e-3);
    set(0, PARAM_INDEX_CHMERGE, 1);
    ASSERT_TRUE(ScopeChannelState::capture(fpga(), 0).mergeOn()) << "merge was refused";
    const ScopeModel s = probe(0);
    EXPECT_TRUE(s.limits().isEmpty()) << s.limits().join("; ").toStdString();
    const Trace t = capture(s, 10e-3, 100000);
    EXPECT_NEAR(component(t.v, t.dt, 1000), 0.5, 2e-3);
    EXPECT_NEAR(component(t.v, t.dt, 10000), 0.25, 2e-3);
    // Mean over the whole 10 ms: whole periods of both waves.
    EXPECT_NEAR(std::accumulate(t.v.begin(), t.v.end(), 0.0) / t.v.size(), 0.3, 1.5e-3);
}

// PWM of a pulse: the duty swings by the duty deviation.
TEST_F(Scope, PwmSwingsTheDuty)
{
    select(0, BASE_Pulse, 1, int(MT_PWM & 0xF));
    set(0, PARAM_INDEX_FREQ, 10000);
    set(0, PARAM_INDEX_AMP, 2.0);
    set(0, PARAM_INDEX_DUTYPULSE, 50);
    set(0, PARAM_INDEX_MODFREQ, 100);
    set(0, PARAM_INDEX_MODPWMDUTYDEV, 20);
    const Trace t = capture(probe(0), 10e-3, 400000);
    const QVector<double> up = scopeRisingCrossings(t.v, t.dt, 0, 0.2);
    const QVector<double> down = scopeFallingCrossings(t.v, t.dt, 0, 0.2);
    double lo = 100, hi = 0;
    for (double tu : up) {
        const auto d = std::upper_bound(down.begin(), down.end(), tu);
        if (d == down.end())
            break;
        const double duty = (*d - tu) / 1e-4 * 100;
        lo = std::min(lo, duty);
        hi = std::max(hi, duty);
    }
    EXPECT_NEAR(lo, 30, 0.5);
    EXPECT_NEAR(hi, 70, 0.5);
}
