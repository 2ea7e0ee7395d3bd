// Pulse, square and ramp edges, symmetry, PRBS edge and pulse sweeps.
#include "tests/regs/regs_fixture.h"

namespace {
struct EdgeRegs {
    uint32_t riseMant, fallMant;
    unsigned riseShift, fallShift;
    uint64_t duty;
};
} // namespace

class EdgeTest : public RegsTest {
protected:
    static EdgeRegs edges(CH_ID ch)
    {
        return EdgeRegs {uint32_t(chValue(ch, REG_RISE_SLOPE, 3)), uint32_t(chValue(ch, REG_FALL_SLOPE, 3)),
                         unsigned(chValue(ch, REG_RISE_SHIFT, 1)), unsigned(chValue(ch, REG_FALL_SHIFT, 1)),
                         chValue(ch, REG_PULSE_DUTY, 6)};
    }
    // What a pulse with programmed edges r and f (seconds, before the 1.25
    // factor) must leave in the registers.
    static void expectPulse(CH_ID ch, double f, double duty, double r, double fl)
    {
        const double K = double(ref::inc64(f));
        r *= 1.25;
        fl *= 1.25;
        const ref::Slope sr = ref::slope(K, r), sf = ref::slope(K, fl);
        const double d = duty - (fl - r) * 100 * f / 2;
        const EdgeRegs e = edges(ch);
        EXPECT_EQ(e.riseMant, sr.mantissa);
        EXPECT_EQ(e.fallMant, sf.mantissa);
        EXPECT_EQ(e.riseShift, unsigned((sr.n - 16) & 0xFF));
        EXPECT_EQ(e.fallShift, unsigned((sf.n - 16) & 0xFF));
        EXPECT_EQ(e.duty, d > 0 ? uint64_t(d * ref::W48 / 100) : 0u);
    }
};

TEST_F(EdgeTest, PulseWithEdgesTheStageReproduces)
{
    // Edges above the tables are used as they are.
    CSetParam::SetPulseParam(CH1, 1e6, 30, 10e-9, 20e-9);
    expectPulse(CH1, 1e6, 30, 10e-9, 20e-9);
    CSetParam::SetPulseParam(CH4, 1e3, 50, 1e-6, 1e-6);
    expectPulse(CH4, 1e3, 50, 1e-6, 1e-6);
    // The mantissas are normalised: at least 2^23, below 2^24.
    const EdgeRegs e = edges(CH1);
    EXPECT_GE(e.riseMant, 0x800000u);
    EXPECT_LE(e.riseMant, 0xFFFFFFu);
}

TEST_F(EdgeTest, ShortEdgesGoThroughTheMeasuredEdgeTables)
{
    // 2.25 ns on CH1: halfway between the 2.0 and 2.5 ns points.
    CSetParam::SetPulseParam(CH1, 1e6, 50, 2.25e-9, 2.25e-9);
    expectPulse(CH1, 1e6, 50, 2.075e-9, 2.075e-9);
    // On a point: 1.5 ns -> 1.23 ns, 3.0 ns is above the table.
    CSetParam::SetPulseParam(CH2, 1e6, 50, 1.5e-9, 3e-9);
    expectPulse(CH2, 1e6, 50, 1.23e-9, 3e-9);
    // Negative and zero edges count as 0: the 1.0 ns point.
    CSetParam::SetPulseParam(CH2, 1e6, 50, -1e-9, 0);
    expectPulse(CH2, 1e6, 50, 0.4e-9, 0.4e-9);
    // CH3: 7 ns -> 6.1 ns; 12.5 ns -> halfway between 12 and 13 ns points.
    CSetParam::SetPulseParam(CH3, 1e6, 40, 7e-9, 12.5e-9);
    expectPulse(CH3, 1e6, 40, 6.1e-9, (11.7 + (12.8 - 11.7) * 0.5) * 1e-9);
    // Below the CH3/CH4 table the first point holds; 19.5 ns interpolates
    // towards the last point, 20 ns is above the table.
    CSetParam::SetPulseParam(CH4, 1e6, 40, 2e-9, 19.5e-9);
    expectPulse(CH4, 1e6, 40, 3.7e-9, (19.0 + (20.0 - 19.0) * 0.5) * 1e-9);
    CSetParam::SetPulseParam(CH4, 1e6, 40, 20e-9, 19.0e-9);
    expectPulse(CH4, 1e6, 40, 20e-9, 19.0e-9);
}

TEST_F(EdgeTest, DutyIsCorrectedForUnequalEdgesAndKeptInRange)
{
    CSetParam::SetPulseParam(CH1, 10e6, 50, 5e-9, 25e-9);
    expectPulse(CH1, 10e6, 50, 5e-9, 25e-9);
    // 100 % duty with equal edges: the whole 48-bit fraction.
    CSetParam::SetPulseParam(CH1, 1e3, 100, 10e-9, 10e-9);
    EXPECT_EQ(edges(CH1).duty, uint64_t(100 * ref::W48 / 100));
    // A correction below 0 % writes 0, not a wrapped word.
    CSetParam::SetPulseParam(CH1, 10e6, 0, 5e-9, 100e-9);
    EXPECT_EQ(edges(CH1).duty, 0u);
}

TEST_F(EdgeTest, SquareEdgesByFrequency)
{
    const struct {
        double f, edge;
    } cases[] = {{1e3, 1.4e-9},   {119e6, 1.4e-9}, {120e6, 1.3e-9}, {135e6, 1.2e-9},
                 {145e6, 1.1e-9}, {150e6, 0.9e-9}, {160e6, 0.3e-9}, {200e6, 0.3e-9}};
    for (const auto& c : cases) {
        CSetParam::SetSquarePulseParam(CH1, c.f, 50);
        const ref::Slope s = ref::slope(double(ref::inc64(c.f)), c.edge * 1.25);
        const EdgeRegs e = edges(CH1);
        EXPECT_EQ(e.riseMant, s.mantissa) << c.f;
        EXPECT_EQ(e.fallMant, s.mantissa) << c.f;
        EXPECT_EQ(e.riseShift, unsigned((s.n - 16) & 0xFF)) << c.f;
        EXPECT_EQ(e.fallShift, unsigned((s.n - 16) & 0xFF)) << c.f;
        EXPECT_EQ(e.duty, uint64_t(50 * ref::W48 / 100));
    }
    CSetParam::SetSquarePulseParam(CH2, 1e3, 100);
    EXPECT_EQ(edges(CH2).duty, uint64_t(100 * ref::W48 / 100));
    // CH3/CH4: a pulse with 5 ns edges, i.e. the 3.7 ns table point.
    CSetParam::SetSquarePulseParam(CH3, 1e6, 25);
    expectPulse(CH3, 1e6, 25, 3.7e-9, 3.7e-9);
}

TEST_F(EdgeTest, RampSymmetrySlopesAndShifts)
{
    auto check = [](CH_ID ch, double sym) {
        uint64_t up = uint64_t(1.6777215e9 / sym / 1.002), down = uint64_t(1.6777215e9 / (100 - sym) / 1.002);
        unsigned nu = 0, nd = 0;
        for (; up > 0xFFFFFF; up >>= 1)
            ++nu;
        for (; down > 0xFFFFFF; down >>= 1)
            ++nd;
        EXPECT_EQ(chValue(ch, REG_RAMP_UP_SLOPE, 3), up) << sym;
        EXPECT_EQ(chValue(ch, REG_RAMP_DOWN_SLOPE, 3), down) << sym;
        EXPECT_EQ(chValue(ch, REG_RAMP_UP_SHIFT, 1), nu) << sym;
        EXPECT_EQ(chValue(ch, REG_RAMP_DOWN_SHIFT, 1), nd) << sym;
        EXPECT_EQ(chValue(ch, REG_SYMMETRY, 6), uint64_t(sym * 140737488355328.0 / 100)) << sym;
    };
    rec(CH1).Frequency = 1e3;
    CSetParam::SetSymmetry(CH1, 50);
    check(CH1, 50);
    CSetParam::SetSymmetry(CH1, 12.5);
    check(CH1, 12.5);
    // 0 % and 100 % are held 1.5e-7 of the frequency inside.
    rec(CH2).Frequency = 1e6;
    CSetParam::SetSymmetry(CH2, 0);
    check(CH2, 1e6 * 1.5e-7);
    CSetParam::SetSymmetry(CH2, 100);
    check(CH2, 100 - 1e6 * 1.5e-7);
}

TEST_F(EdgeTest, PrbsEdgeThroughTheCh34Table)
{
    auto word = [](double t) { return uint64_t(std::ceil((1 / (t * 1.25)) * ref::W48F / ref::FCLK)); };
    CSetParam::SetPRBSEdgeTime(CH1, 3e-9); // CH1/CH2: as it is
    EXPECT_EQ(chValue(CH1, REG_PRBS_EDGE, 6), word(3e-9));
    CSetParam::SetPRBSEdgeTime(CH3, 6e-9); // a table point
    EXPECT_EQ(chValue(CH3, REG_PRBS_EDGE, 6), word(4.8e-9));
    CSetParam::SetPRBSEdgeTime(CH4, 4.5e-9); // between 4 and 5 ns
    EXPECT_EQ(chValue(CH4, REG_PRBS_EDGE, 6), word((2.6 + (3.6 - 2.6) * 0.5) * 1e-9));
    CSetParam::SetPRBSEdgeTime(CH4, 20e-9); // above the table
    EXPECT_EQ(chValue(CH4, REG_PRBS_EDGE, 6), word(20e-9));
}

TEST_F(EdgeTest, PulseSweepStreamsOneSlopeEntryPerStep)
{
    rec(CH1).Rise = 10e-9;
    rec(CH1).Fall = 0; // held at 0.1 ns
    std::vector<short> profile(2048);
    for (int i = 0; i < 2048; ++i)
        profile[size_t(i)] = short(-32767 + (65534 * i) / 2047);
    const double f0 = 1e3, f1 = 1e6;
    CSetParam::SetPulseSweepData(CH1, profile.data(), f0, f1);

    const QList<uint64_t> load = writesAt(reg(CH1, REG_SWEEP_LOAD));
    EXPECT_EQ(load, (QList<uint64_t> {1, 0}));
    const QList<uint64_t> inc = writesAt(reg(CH1, REG_SWEEP_STEP_INC));
    const QList<uint64_t> rs = writesAt(reg(CH1, REG_SWEEP_RISE_SLOPE));
    const QList<uint64_t> fsh = writesAt(reg(CH1, REG_SWEEP_FALL_SHIFT));
    ASSERT_EQ(inc.size(), 2048);
    ASSERT_EQ(rs.size(), 2048);
    ASSERT_EQ(fsh.size(), 2048);
    for (int s : {0, 1000, 2047}) {
        const int j = ((profile[size_t(s)] + 32767) * 2048) / 65535;
        const double fi = f0 + j * ((f1 - f0) / 2048);
        const uint64_t k = ref::inc48(fi);
        EXPECT_EQ(inc[s], k) << s;
        EXPECT_EQ(rs[s], ref::slope(double(k), 10e-9).mantissa) << s;
        EXPECT_EQ(fsh[s], uint64_t(ref::slope(double(k), 1e-10).n)) << s; // raw count
    }
    // Every step writes its five registers, fall shift first.
    const QList<unsigned> a = addresses();
    EXPECT_EQ(a.mid(1, 5),
              (QList<unsigned> {reg(CH1, REG_SWEEP_FALL_SHIFT), reg(CH1, REG_SWEEP_RISE_SHIFT),
                                reg(CH1, REG_SWEEP_FALL_SLOPE), reg(CH1, REG_SWEEP_RISE_SLOPE),
                                reg(CH1, REG_SWEEP_STEP_INC)}));
}

// The steps of a list are checked on a list sweep in tests/signals; here the cap.
TEST_F(EdgeTest, PulseListSweepIsCappedAtTheListSize)
{
    std::vector<double> many(3000, 1e3);
    CSetParam::SetPulseListSweepData(CH2, many.data(), int(many.size()));
    EXPECT_EQ(writesAt(reg(CH2, REG_SWEEP_STEP_INC)).size(), 2048);
}
