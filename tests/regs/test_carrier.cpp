// Carrier, modulation, hop, burst and OSK timing; depths and deviations;
// start and PSK phases; the small mode codes.
#include "tests/regs/regs_fixture.h"
#include <limits>

TEST_F(RegsTest, UnchangedCarrierWritesNothingAChangedOnePulsesTheReset)
{
    sys_param::SetPhaseSyncType(CH_SYS, 1);
    CSetParam::SetFre(CH1, 1000);
    EXPECT_EQ(writesAt(reg(CH1, REG_PHASE_INC)).size(), 1);
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0}));

    fpga().clearWrites();
    CSetParam::SetFre(CH1, 1000);
    EXPECT_TRUE(fpga().writes().isEmpty());

    // The cache is per channel.
    CSetParam::SetFre(CH2, 1000);
    EXPECT_EQ(writesAt(reg(CH2, REG_PHASE_INC)).size(), 1);

    fpga().clearWrites();
    CSetParam::SetFre(CH1, 2000);
    EXPECT_EQ(writesAt(reg(CH1, REG_PHASE_INC)), (QList<uint64_t> {ref::inc64(2000)}));
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0}));

    // Without phase synchronisation the reset stays quiet.
    sys_param::SetPhaseSyncType(CH_SYS, 0);
    fpga().clearWrites();
    CSetParam::SetFre(CH1, 3000);
    EXPECT_EQ(writesAt(reg(CH1, REG_PHASE_INC)).size(), 1);
    EXPECT_TRUE(writesAt(REG_SYNC_RESET).isEmpty());

    // Forgetting the written state makes the same frequency write again.
    CSetParam::ForgetWrittenState();
    fpga().clearWrites();
    CSetParam::SetFre(CH1, 3000);
    EXPECT_EQ(writesAt(reg(CH1, REG_PHASE_INC)).size(), 1);
}

TEST_F(RegsTest, CarrierRefusesNonsenseWithoutWrapping)
{
    CSetParam::SetFre(CH1, 1000);
    fpga().clearWrites();
    CSetParam::SetFre(CH1, std::numeric_limits<double>::quiet_NaN());
    CSetParam::SetFre(CH_SYS, 5000); // no register block
    CSetParam::SetFre(CH_ID(-1), 5000);
    EXPECT_TRUE(fpga().writes().isEmpty());
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(1000));
    // A negative frequency is no frequency: increment 0. One beyond the
    // accumulator saturates instead of wrapping to a low frequency.
    CSetParam::SetFre(CH1, -5);
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), 0u);
    CSetParam::SetFre(CH1, 1e9);
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ~uint64_t(0));
    // The top of each pair's range still fits; 1 MHz is the published word.
    CSetParam::SetFre(CH1, 600e6);
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(600e6));
    CSetParam::SetFre(CH2, 1e6);
    EXPECT_EQ(chValue(CH2, REG_PHASE_INC, 8), 29514790517935284ull);
    // Nothing spills into the register after the eight bytes.
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC + 8, 2), 0u);
}

TEST_F(RegsTest, ModulationRateIsNotCachedAndHopsAreSixBytes)
{
    sys_param::SetPhaseSyncType(CH_SYS, 1);
    CSetParam::SetModFre(CH2, 10e3);
    EXPECT_EQ(chValue(CH2, REG_MOD_INC, 8), ref::inc64(10e3));
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0}));
    // The modulation rate is not cached: the same value writes again.
    fpga().clearWrites();
    CSetParam::SetModFre(CH2, 10e3);
    EXPECT_EQ(writesAt(reg(CH2, REG_MOD_INC)).size(), 1);

    // Hop words are six bytes: the byte after HOP1 is its neighbour's.
    CSetParam::SetModHop1Fre(CH1, 600e6);
    EXPECT_EQ(chValue(CH1, REG_HOP1_INC, 6), ref::inc48(600e6));
    EXPECT_EQ(chValue(CH1, REG_HOP1_INC + 6, 1), 0u);
}

// The OSK time, depth and phase deviation words of ordinary values: the
// modulation signals' tests (tests/signals).
TEST_F(RegsTest, OskTimeBurstDelayDepthAndDeviations)
{
    const double d = 2e-6;
    CSetParam::SetBurstDelay(CH1, d);
    EXPECT_EQ(chValue(CH1, REG_BURST_DELAY, 6), 2 * uint64_t(std::ceil(ref::W48 / (d * ref::FCLK))));
    // A whole turn of deviation still fits the doubled word.
    CSetParam::SetModOffsetPhase(CH4, 360);
    EXPECT_EQ(chValue(CH4, REG_MOD_DEPTH, 6), 2 * uint64_t(std::ceil(360 * ref::W48 / 360)));

    // A zero time is an infinite rate: the 48-bit word saturates.
    CSetParam::SetOscTime(CH2, 0);
    EXPECT_EQ(chValue(CH2, REG_OSK_INC, 6), 0xFFFFFFFFFFFFull);
    CSetParam::SetBurstDelay(CH2, 0);
    EXPECT_EQ(chValue(CH2, REG_BURST_DELAY, 6), 0xFFFFFFFFFFFFull);
    // A negative depth is no depth.
    CSetParam::SetModDepth(CH2, -10);
    EXPECT_EQ(chValue(CH2, REG_MOD_DEPTH, 6), 0u);
}

TEST_F(RegsTest, StartPhaseWrapsIntoATurnAndRampsStartAQuarterLater)
{
    auto word = [](double p) { return uint64_t(p * ref::W32 / 360); };
    rec(CH1).BaseWave = BASE_Sine;
    rec(CH3).BaseWave = BASE_Ramp;
    // Ramps (CH3) start 90 degrees later: 300 -> 390 -> 30, -90 -> exactly 0.
    const struct {
        CH_ID ch;
        double set, word;
    } rows[] = {{CH1, 45, 45},  {CH1, -30, 330}, {CH1, 360, 360}, {CH1, 0, 0},
                {CH1, -720, 0}, {CH3, 30, 120},  {CH3, 300, 30},  {CH3, -90, 0}};
    for (const auto& r : rows) {
        CSetParam::SetPhase(r.ch, r.set);
        EXPECT_EQ(chValue(r.ch, REG_START_PHASE, 4), word(r.word)) << r.ch << " " << r.set;
    }
    CSetParam::SetPhase(CH1, 1e12); // far out: still inside one turn
    EXPECT_LE(chValue(CH1, REG_START_PHASE, 4), uint64_t(ref::W32));
}

TEST_F(RegsTest, NegativePskPhaseIsTheSamePointOfTheTurn)
{
    CSetParam::SetPhase2(CH2, -90);
    EXPECT_EQ(chValue(CH2, REG_PHASE2, 2), uint64_t(270 * 65535 / 360) & 0xFFFF);
}

TEST_F(RegsTest, SmallCodesSkipEightAndBurstCyclesSaturate)
{
    const int pn[][2] = {{3, 3}, {7, 7}, {8, 9}, {10, 11}};
    for (const auto& p : pn) {
        CSetParam::SetPNCodeElement(CH1, static_cast<unsigned char>(p[0]));
        EXPECT_EQ(chValue(CH1, REG_PN_ORDER, 1), uint64_t(p[1]));
        CSetParam::SetPRBSCodeElement(CH4, static_cast<unsigned char>(p[0]));
        EXPECT_EQ(chValue(CH4, REG_PRBS_ORDER, 1), uint64_t(p[1]));
    }
    CSetParam::SetBurstCycles(CH2, 1000);
    EXPECT_EQ(chValue(CH2, REG_BURST_CYCLES, 2), 1000u);
    CSetParam::SetBurstCycles(CH2, 70000);
    EXPECT_EQ(chValue(CH2, REG_BURST_CYCLES, 2), 65535u);
}
