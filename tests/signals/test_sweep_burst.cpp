// Sweeps and bursts on the simulated FPGA: the FM-based and list-based
// sweeps, the pulse special case, the trigger handling and the three bursts.
#include "tests/signals/signal_fixture.h"
#include "app/signal/signal_sweep.h"

class SweepBurst : public SignalTest {
protected:
    void SetUp() override
    {
        SignalTest::SetUp();
        for (CH_ID c : {CH1, CH2, CH3, CH4}) {
            rec(c).SwpStartFre = 1000;
            rec(c).SwpEndFre = 5000;
            rec(c).SwpTime = 0.25;
            rec(c).TrigerSource = TRIGSOURCE_INNER;
            rec(c).TrigerOut = 0;
            rec(c).Rise = rec(c).Fall = 1e-8;
            for (int i = 0; i < WAVE_MOD_POINTS; ++i)
                mem(c).Modulate[i] = short(i * 16 - 16384);
            mem(c).List[0] = 1000;
            mem(c).List[1] = 3000;
            mem(c).List[2] = 7000;
            mem(c).ListLen = 3;
        }
    }
    void apply(CH_ID c, int wave, Signal* m, u32 mode)
    {
        rec(c).BaseWave = u32(wave);
        rec(c).WorkMode = mode;
        Signal* b = base(c, wave);
        b->getParamList(m->type);
        m->getParamList(m->type);
        fpga().clearWrites();
        b->Exe();
        m->Exe();
    }
    static uint64_t listWord(double f) { return uint64_t(f * ref::W36 / ref::FCLK) & ((1ull << 36) - 1); }
};

TEST_F(SweepBurst, LinearSweepRunsAsFrequencyModulationAroundTheCentre)
{
    apply(CH1, BASE_Sine, sweep(CH1, 0), WORK_SCAN);
    EXPECT_EQ(chWrites(CH1, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_FM});
    EXPECT_EQ(chWrites(CH1, REG_MOD_WAVE), QList<uint64_t> {0});
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(3000));
    EXPECT_EQ(chValue(CH1, REG_MOD_INC, 8), ref::inc64(1 / 0.25));
    EXPECT_EQ(chValue(CH1, REG_MOD_DEPTH, 6), uint64_t(2000 * ref::W48 / ref::FCLK));
    EXPECT_EQ(chWrites(CH1, REG_TRIG_SOURCE), QList<uint64_t> {0});
    const QVector<quint64> table = stream("table:1:mod");
    ASSERT_EQ(table.size(), WAVE_MOD_POINTS);
    for (int i = 0; i < WAVE_MOD_POINTS; i += 511)
        EXPECT_EQ(table[i], quint64(quint16(mem(CH1).Modulate[i])));
    // Internal trigger: the sync output stays automatic.
    EXPECT_EQ(fpga().writes().last().address, REG_SYNC_MANUAL);
    EXPECT_EQ(value(REG_SYNC_MANUAL, 1), 0u);
}

TEST_F(SweepBurst, ManualTriggerWithSyncOutputHandsTheSyncToTheTrigger)
{
    rec(CH1).TrigerSource = TRIGSOURCE_HANDL;
    rec(CH1).SyncOut = true;
    rec(CH1).TrigerOut = 2; // falling edge out
    sys_param::OnOff[CH1] = true;
    apply(CH1, BASE_Sine, sweep(CH1, 1), WORK_SCAN);
    EXPECT_EQ(chWrites(CH1, REG_TRIG_SOURCE), QList<uint64_t> {TRIGSOURCE_HANDL});
    EXPECT_EQ(chWrites(CH1, REG_TRIG_OUT), QList<uint64_t> {1});
    EXPECT_EQ(value(REG_SYNC_MANUAL, 1), 0x01u);

    rec(CH1).TrigerOut = 1; // rising edge out
    apply(CH1, BASE_Sine, sweep(CH1, 1), WORK_SCAN);
    EXPECT_EQ(chWrites(CH1, REG_TRIG_OUT), QList<uint64_t> {0});

    // External trigger: no trigger output is programmed.
    rec(CH1).TrigerSource = TRIGSOURCE_EXTDOWN;
    apply(CH1, BASE_Sine, sweep(CH1, 0), WORK_SCAN);
    EXPECT_EQ(chWrites(CH1, REG_TRIG_SOURCE), QList<uint64_t> {TRIGSOURCE_EXTDOWN});
    EXPECT_TRUE(chWrites(CH1, REG_TRIG_OUT).isEmpty());
}

TEST_F(SweepBurst, LinearPulseSweepWithCoincidingEndsRunsAsAPlainPulse)
{
    rec(CH2).SwpEndFre = 1000;
    rec(CH2).SwpStartFre = 1000.0005;
    apply(CH2, BASE_Pulse, sweep(CH2, 0), WORK_SCAN);
    EXPECT_EQ(chWrites(CH2, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_BASE});
    EXPECT_EQ(chValue(CH2, REG_PHASE_INC, 8), ref::inc64((1000.0005 + 1000) / 2));
    EXPECT_TRUE(chWrites(CH2, REG_MOD_INC).isEmpty());
    EXPECT_TRUE(chWrites(CH2, REG_SWEEP_LOAD).isEmpty());
    EXPECT_TRUE(writesAt(REG_SYNC_MANUAL).isEmpty()) << "the plain pulse skips the sync step";

    // The logarithmic sweep has no such shortcut.
    apply(CH2, BASE_Pulse, sweep(CH2, 1), WORK_SCAN);
    EXPECT_EQ(chWrites(CH2, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_FM});
    EXPECT_EQ(chWrites(CH2, REG_SWEEP_LOAD), (QList<uint64_t> {1, 0}));
}

TEST_F(SweepBurst, PulseSweepLoadsEdgeStepsInsteadOfTheModulatingTable)
{
    apply(CH1, BASE_Pulse, sweep(CH1, 0), WORK_SCAN);
    EXPECT_EQ(chWrites(CH1, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_FM});
    EXPECT_EQ(chWrites(CH1, REG_SWEEP_LOAD), (QList<uint64_t> {1, 0}));
    EXPECT_EQ(chWrites(CH1, REG_SWEEP_STEP_INC).size(), 2048);
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_MOD), 0);
}

TEST_F(SweepBurst, SteppedAndListSweepsFillTheListInTheirOwnOrder)
{
    apply(CH3, BASE_Sine, sweep(CH3, 2), WORK_SCAN); // stepped
    EXPECT_EQ(chWrites(CH3, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_LIST});
    EXPECT_EQ(chValue(CH3, REG_MOD_INC, 8), ref::inc64(1 / 0.25));
    EXPECT_EQ(stream("list:3"), (QVector<quint64> {listWord(1000), listWord(3000), listWord(7000)}));
    EXPECT_LT(firstWrite(reg(CH3, REG_WORK_MODE)), firstWrite(REG_LIST_LOAD));

    apply(CH3, BASE_Sine, sweep(CH3, 3), WORK_SCAN); // list
    EXPECT_EQ(chWrites(CH3, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_LIST});
    EXPECT_GT(firstWrite(reg(CH3, REG_WORK_MODE)), lastWrite(REG_LIST_LOAD));
    EXPECT_GT(firstWrite(reg(CH3, REG_MOD_INC)), lastWrite(REG_LIST_LOAD));

    // A pulse carrier steps through edge tables instead.
    apply(CH3, BASE_Pulse, sweep(CH3, 3), WORK_SCAN);
    EXPECT_TRUE(writesAt(REG_LIST_LOAD).isEmpty());
    EXPECT_EQ(chWrites(CH3, REG_SWEEP_STEP_INC),
              (QList<uint64_t> {ref::inc48(1000), ref::inc48(3000), ref::inc48(7000)}));
}

TEST_F(SweepBurst, NCycleBurstProgramsCountPhaseAndPeriod)
{
    rec(CH1).BstCycles = 70000; // only 16 bits reach the register
    rec(CH1).BstStartPhase = 90;
    rec(CH1).TrigerPeriod = 0.002;
    rec(CH1).Frequency = 1e4;
    apply(CH1, BASE_Sine, burst(CH1, 0), WORK_BURST);
    EXPECT_EQ(chWrites(CH1, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_NCYNC});
    EXPECT_EQ(chWrites(CH1, REG_BURST_MODE), QList<uint64_t> {BURST_FPGA_N_Cycles});
    EXPECT_EQ(chValue(CH1, REG_BURST_CYCLES, 2), uint64_t(70000 & 0xFFFF));
    // The burst's start phase overrides the carrier's.
    EXPECT_EQ(chWrites(CH1, REG_START_PHASE), (QList<uint64_t> {ref::phaseWord(0), ref::phaseWord(90)}));
    EXPECT_EQ(chValue(CH1, REG_MOD_INC, 8), ref::inc64(1 / 0.002));
    EXPECT_EQ(chWrites(CH1, REG_TRIG_SOURCE), QList<uint64_t> {0});
    EXPECT_EQ(fpga().writes().last().address, REG_SYNC_MANUAL);
}

TEST_F(SweepBurst, GatedBurstListensToTheConnectorWithItsPolarity)
{
    sys_param::OnOff[CH2] = true;
    rec(CH2).BstGatePolarity = 1;
    rec(CH2).BstStartPhase = 180;
    apply(CH2, BASE_Square, burst(CH2, 1), WORK_BURST);
    EXPECT_EQ(chWrites(CH2, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_GATE});
    EXPECT_EQ(chWrites(CH2, REG_TRIG_SOURCE), QList<uint64_t> {1});
    EXPECT_EQ(chWrites(CH2, REG_BURST_MODE), QList<uint64_t> {BURST_FPAG_GATE_P});
    EXPECT_EQ(chWrites(CH2, REG_START_PHASE), (QList<uint64_t> {ref::phaseWord(0), ref::phaseWord(180)}));
    EXPECT_EQ(fpga().writes().last().address, REG_TRIG_IO);
    EXPECT_EQ(value(REG_TRIG_IO, 1), 0x02u);
    rec(CH2).BstGatePolarity = 0;
    apply(CH2, BASE_Square, burst(CH2, 1), WORK_BURST);
    EXPECT_EQ(chWrites(CH2, REG_BURST_MODE), QList<uint64_t> {BURST_FPAG_GATE_N});
}

TEST_F(SweepBurst, InfiniteBurstRunsContinuouslyAfterItsTrigger)
{
    rec(CH4).TrigerSource = TRIGSOURCE_EXTUP;
    rec(CH4).BstCycles = 12;
    apply(CH4, BASE_Ramp, burst(CH4, 2), WORK_BURST);
    EXPECT_EQ(chWrites(CH4, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_CONTINUE});
    EXPECT_EQ(chWrites(CH4, REG_BURST_MODE), QList<uint64_t> {BURST_FPGA_INIFITE});
    EXPECT_EQ(chValue(CH4, REG_BURST_CYCLES, 2), 12u);
    EXPECT_EQ(chWrites(CH4, REG_TRIG_SOURCE), QList<uint64_t> {TRIGSOURCE_EXTUP});
    EXPECT_TRUE(chWrites(CH4, REG_MOD_INC).isEmpty());
}
