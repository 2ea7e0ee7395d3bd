// Modulation signals on the simulated FPGA: the mode registers each one
// writes after the carrier's base signal, for every class of modulation.
#include "tests/signals/signal_fixture.h"
#include "app/signal/signal_mod.h"

class Modulation : public SignalTest {
protected:
    void SetUp() override
    {
        SignalTest::SetUp();
        for (CH_ID c : {CH1, CH2, CH3, CH4}) {
            rec(c).WorkMode = WORK_MODULATION;
            rec(c).Frequency = 1e6;
            rec(c).ModFre = 1000;
            rec(c).ModSrc = false;
            rec(c).ModWave = Mod_Sine;
            mem(c).List[0] = 1e6;
            mem(c).List[1] = 1.2e6;
            mem(c).ListLen = 2;
        }
    }
    // Applies carrier `wave` with modulation `index` the way the channel
    // does: the base signal first, then the mode signal.
    void apply(CH_ID c, int wave, int index)
    {
        rec(c).BaseWave = u32(wave);
        rec(c).ModType = sys_param::modTypeOfIndex(index);
        Signal* b = base(c, wave);
        Signal* m = mod(c, index);
        b->getParamList(m->type);
        m->getParamList(m->type);
        fpga().clearWrites();
        b->Exe();
        m->Exe();
    }
    uint64_t modInc(CH_ID c) { return chValue(c, REG_MOD_INC, 8); }
    uint64_t depth(CH_ID c) { return chValue(c, REG_MOD_DEPTH, 6); }
    QList<uint64_t> workModes(CH_ID c) { return chWrites(c, REG_WORK_MODE); }
};

TEST_F(Modulation, EveryClassEndsWithTheSyncOutputReleasedAndDeclaresItsCarriers)
{
    const int masks[15] = {31, 31, 1, 31, 31, 31, 31, 31, 31, 23, 23, 23, 1, 8, 127};
    sys_param::syncManual[CH2] = true;
    for (int i = 0; i < 15; ++i) {
        auto* m = static_cast<Signal_mod*>(mod(CH1, i));
        EXPECT_EQ(m->type, int(sys_param::modTypeOfIndex(i)));
        EXPECT_EQ(m->basemask, masks[i]) << i;
        sys_param::syncManual[CH1] = true;
        m->getParamList(m->type);
        fpga().clearWrites();
        m->Exe();
        const auto w = fpga().writes();
        ASSERT_FALSE(w.isEmpty());
        EXPECT_EQ(w.last().address, REG_SYNC_MANUAL) << i;
        EXPECT_EQ(value(REG_SYNC_MANUAL, 1), 0x02u) << "only CH1's flag cleared, " << i;
        EXPECT_FALSE(sys_param::syncManual[CH1]);
    }
}

TEST_F(Modulation, AmplitudeClassModesProgramModeRateAndDepth)
{
    rec(CH1).ModDepthAM = 80;
    apply(CH1, BASE_Sine, 0); // AM
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_AM}) << "the carrier leaves the work mode to the mode";
    EXPECT_EQ(modInc(CH1), ref::inc64(1000));
    EXPECT_EQ(depth(CH1), ref::depthWord(80));
    EXPECT_EQ(chWrites(CH1, REG_MOD_WAVE), QList<uint64_t> {FPGA_MOD_Sine});
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_MOD), 1);
    EXPECT_GT(firstWrite(reg(CH1, REG_WORK_MODE)), firstWrite(reg(CH1, REG_ATT))) << "mode after carrier";

    // Internal noise runs at the table clock's own rate.
    rec(CH1).ModWave = Mod_Noise;
    apply(CH1, BASE_Sine, 0);
    EXPECT_EQ(modInc(CH1), ref::inc64(1.25e9 / 8192));

    rec(CH2).ModDepth = 35;
    rec(CH2).ModWave = Mod_Square;
    apply(CH2, BASE_Ramp, 1); // double-sideband AM
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_DSBAM});
    EXPECT_EQ(depth(CH2), ref::depthWord(35));
    EXPECT_LT(lastWrite(reg(CH2, REG_MOD_DEPTH)), firstWrite(reg(CH2, REG_MOD_INC)));
    EXPECT_EQ(chWrites(CH2, REG_MOD_WAVE), QList<uint64_t> {FPGA_MOD_Square});

    rec(CH3).QAM_Map = 4;
    rec(CH3).CodeElement = 9;
    rec(CH3).Bitrate = 2500;
    apply(CH3, BASE_Sine, 2); // QAM
    EXPECT_EQ(chWrites(CH3, REG_QAM_MODE), QList<uint64_t> {4});
    EXPECT_EQ(chWrites(CH3, REG_PN_ORDER), QList<uint64_t> {10});
    EXPECT_EQ(workModes(CH3), QList<uint64_t> {FPGA_WM_QAM});
    EXPECT_EQ(modInc(CH3), ref::inc64(2500));
}

TEST_F(Modulation, AskKeyedFromTheConnectorClaimsItAsAnInput)
{
    sys_param::OnOff[CH1] = true;
    rec(CH1).ModFre = 300;
    apply(CH1, BASE_Sine, 3); // ASK, internal key
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_ASK});
    EXPECT_EQ(modInc(CH1), ref::inc64(300));
    EXPECT_EQ(value(REG_TRIG_IO, 1), 0u);
    rec(CH1).ModSrc = true;
    apply(CH1, BASE_Sine, 3);
    EXPECT_EQ(value(REG_TRIG_IO, 1), 0x01u);
    EXPECT_EQ(chWrites(CH1, REG_MOD_WAVE), QList<uint64_t> {FPGA_MOD_EXT});
}

TEST_F(Modulation, FrequencyModulationOfASineSetsTheDeviationAndOfAPulseLoadsTheStepTable)
{
    rec(CH1).ModFreDev = 2e4;
    apply(CH1, BASE_Sine, 4); // FM
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_FM});
    EXPECT_EQ(chWrites(CH1, REG_TRIG_SOURCE), QList<uint64_t> {0});
    EXPECT_EQ(depth(CH1), uint64_t(2e4 * ref::W48 / ref::FCLK));
    EXPECT_EQ(modInc(CH1), ref::inc64(1000));
    EXPECT_TRUE(chWrites(CH1, REG_SWEEP_LOAD).isEmpty());

    rec(CH1).Rise = rec(CH1).Fall = 1e-8;
    apply(CH1, BASE_Pulse, 4);
    EXPECT_EQ(chWrites(CH1, REG_SWEEP_LOAD), (QList<uint64_t> {1, 0}));
    EXPECT_TRUE(chWrites(CH1, REG_MOD_DEPTH).isEmpty());
    EXPECT_EQ(chWrites(CH1, REG_SWEEP_STEP_INC), (QList<uint64_t> {ref::inc48(1e6), ref::inc48(1.2e6)}));
}

TEST_F(Modulation, FskFamilyRatesHopsAndPulseCarrierLists)
{
    rec(CH2).ModFre = 700;
    rec(CH2).ModHopFre = 2e6;
    rec(CH2).ModHopFre2 = 3e6;
    rec(CH2).ModHopFre3 = 4e6;
    rec(CH2).CodeElement = 3;

    apply(CH2, BASE_Sine, 5); // FSK
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_FSK});
    EXPECT_EQ(chValue(CH2, REG_HOP1_INC, 6), ref::inc48(2e6));
    EXPECT_EQ(modInc(CH2), ref::inc64(700));
    apply(CH2, BASE_Pulse, 5);
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_LIST});
    EXPECT_EQ(modInc(CH2), ref::inc64(2 * 700.0));
    EXPECT_EQ(chWrites(CH2, REG_SWEEP_LOAD), (QList<uint64_t> {1, 0}));

    // 3FSK: three symbols per keying period with either carrier.
    apply(CH2, BASE_Sine, 6);
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_3FSK});
    EXPECT_EQ(modInc(CH2), ref::inc64(3 * 700.0));
    EXPECT_EQ(chValue(CH2, REG_HOP2_INC, 6), ref::inc48(3e6));
    EXPECT_EQ(chWrites(CH2, REG_PN_ORDER), QList<uint64_t> {3});
    apply(CH2, BASE_Pulse, 6);
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_LIST});
    EXPECT_EQ(modInc(CH2), ref::inc64(3 * 700.0));

    // 4FSK: the rate is multiplied only for the pulse carrier's list.
    apply(CH2, BASE_Sine, 7);
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_4FSK});
    EXPECT_EQ(modInc(CH2), ref::inc64(700));
    EXPECT_EQ(chValue(CH2, REG_HOP3_INC, 6), ref::inc48(4e6));
    apply(CH2, BASE_Pulse, 7);
    EXPECT_EQ(workModes(CH2), QList<uint64_t> {FPGA_WM_LIST});
    EXPECT_EQ(modInc(CH2), ref::inc64(4 * 700.0));
    EXPECT_EQ(chWrites(CH2, REG_PN_ORDER), QList<uint64_t> {3});
}

TEST_F(Modulation, PhaseClassModesOverrideOrKeepTheCarrierPhase)
{
    rec(CH1).Phase = 20;
    rec(CH1).Phase1 = 100;
    rec(CH1).Phase2 = 200;
    rec(CH1).Phase3 = 250;
    rec(CH1).Phase4 = 300;
    rec(CH1).ModPhaseDev = 45;
    rec(CH1).Bitrate = 5000;

    apply(CH1, BASE_Sine, 8); // PM keeps the carrier phase
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_PM});
    EXPECT_EQ(chWrites(CH1, REG_START_PHASE), QList<uint64_t> {ref::phaseWord(20)});
    EXPECT_EQ(depth(CH1), 2 * uint64_t(std::ceil(45 * ref::W48 / 360)));

    apply(CH1, BASE_Sine, 9); // PSK: the mode's phase replaces the carrier's
    EXPECT_EQ(chWrites(CH1, REG_START_PHASE), (QList<uint64_t> {ref::phaseWord(20), ref::phaseWord(100)}));
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_PSK});

    apply(CH1, BASE_Sine, 10); // BPSK: the first phase comes with the carrier
    EXPECT_EQ(chWrites(CH1, REG_START_PHASE), QList<uint64_t> {ref::phaseWord(100)});
    EXPECT_EQ(chValue(CH1, REG_PHASE2, 2), uint64_t(200 * 65535.0 / 360) & 0xFFFF);
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_BPSK});
    EXPECT_EQ(modInc(CH1), ref::inc64(5000));

    apply(CH1, BASE_Sine, 11); // QPSK
    EXPECT_EQ(chWrites(CH1, REG_START_PHASE), QList<uint64_t> {ref::phaseWord(100)});
    EXPECT_EQ(chValue(CH1, REG_PHASE3, 2), uint64_t(250 * 65535.0 / 360) & 0xFFFF);
    EXPECT_EQ(chValue(CH1, REG_PHASE4, 2), uint64_t(300 * 65535.0 / 360) & 0xFFFF);
    EXPECT_EQ(workModes(CH1), QList<uint64_t> {FPGA_WM_QPSK});
}

TEST_F(Modulation, OskPwmAndSum)
{
    rec(CH3).ModOscTime = 0.004;
    rec(CH3).ModRate = 50;
    apply(CH3, BASE_Sine, 12); // OSK
    EXPECT_EQ(chValue(CH3, REG_OSK_INC, 6), 2 * uint64_t(std::ceil((1 / 0.004) * ref::W48 / ref::FCLK)));
    EXPECT_EQ(workModes(CH3), QList<uint64_t> {FPGA_WM_OSK});
    EXPECT_EQ(modInc(CH3), ref::inc64(50));

    rec(CH3).ModPWMDuty = 12.5;
    rec(CH3).Rise = rec(CH3).Fall = 1e-8;
    apply(CH3, BASE_Pulse, 13); // PWM
    EXPECT_EQ(workModes(CH3), QList<uint64_t> {FPGA_WM_PWM});
    EXPECT_EQ(depth(CH3), ref::depthWord(12.5));
    EXPECT_EQ(modInc(CH3), ref::inc64(1000));

    rec(CH3).ModDepth = 60;
    apply(CH3, BASE_Noise, 14); // SUM
    EXPECT_EQ(workModes(CH3), QList<uint64_t> {FPGA_WM_SUM});
    EXPECT_EQ(depth(CH3), ref::depthWord(60));
}
