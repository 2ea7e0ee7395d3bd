// Programming of the base waveforms, observed in the simulated FPGA: which
// registers each Exe writes, with which words, in which order.
#include "tests/signals/signal_fixture.h"
#include "app/signal/signal_base.h"

class BaseWaves : public SignalTest {
protected:
    // Runs a base signal's Exe for selector m on a clean write record.
    void exe(CH_ID c, int wave, int m)
    {
        Signal* s = base(c, wave);
        s->getParamList(m);
        fpga().clearWrites();
        s->Exe();
    }
    void fillBase(CH_ID c, short seed)
    {
        for (int i = 0; i < WAVE_BASE_POINTS; ++i) {
            mem(c).Base[i] = short((i * 7 + seed) % 20000 - 10000);
            mem(c).Arb[i] = short((i * 13 + seed) % 30000 - 15000);
        }
        mem(c).BaseWaveChanged = true;
    }
    static bool sameTable(const QVector<quint64>& got, const short* want)
    {
        if (got.size() != WAVE_BASE_POINTS)
            return false;
        for (int i = 0; i < WAVE_BASE_POINTS; ++i)
            if (got[i] != quint64(quint16(want[i])))
                return false;
        return true;
    }
};

TEST_F(BaseWaves, SineInContinuousModeProgramsEveryStepInOrderAndUploadsTheTableOnce)
{
    rec(CH1).BaseWave = BASE_Sine;
    rec(CH1).Frequency = 1000;
    rec(CH1).Phase = 30;
    rec(CH1).Vpp = 2;
    fillBase(CH1, 3);
    exe(CH1, BASE_Sine, BASE_Sine);

    EXPECT_EQ(chWrites(CH1, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_BASE});
    EXPECT_EQ(chWrites(CH1, REG_BASE_WAVE), QList<uint64_t> {0});
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(1000));
    EXPECT_EQ(chValue(CH1, REG_START_PHASE, 4), ref::phaseWord(30));
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_BASE), 1);
    EXPECT_TRUE(sameTable(stream("table:1:base"), mem(CH1).Base));
    EXPECT_FALSE(mem(CH1).BaseWaveChanged);
    EXPECT_EQ(writesAt(REG_SYNC_MANUAL), QList<uint64_t> {0});

    const int mode = firstWrite(reg(CH1, REG_WORK_MODE));
    const int gen = firstWrite(reg(CH1, REG_BASE_WAVE));
    const int table = baseTableLoad(CH1);
    const int inc = firstWrite(reg(CH1, REG_PHASE_INC));
    const int phase = firstWrite(reg(CH1, REG_START_PHASE));
    const int att = firstWrite(reg(CH1, REG_ATT));
    EXPECT_LT(mode, gen);
    EXPECT_LT(gen, table);
    EXPECT_LT(table, inc);
    EXPECT_LT(inc, phase);
    EXPECT_LT(phase, att);

    // The table is in the FPGA now: a second apply leaves it alone.
    fpga().clearWrites();
    base(CH1, BASE_Sine)->Exe();
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_BASE), 0);
}

TEST_F(BaseWaves, CarrierPhaseIsTheFirstKeyedPhaseOnlyUnderBpskAndQpsk)
{
    rec(CH2).Phase = 10;
    rec(CH2).Phase1 = 45;
    exe(CH2, BASE_Sine, MT_QPSK);
    EXPECT_EQ(chValue(CH2, REG_START_PHASE, 4), ref::phaseWord(45));
    EXPECT_TRUE(chWrites(CH2, REG_WORK_MODE).isEmpty()) << "outside continuous mode the mode signal sets it";
    exe(CH2, BASE_Sine, MT_BPSK);
    EXPECT_EQ(chValue(CH2, REG_START_PHASE, 4), ref::phaseWord(45));
    exe(CH2, BASE_Sine, MT_PM);
    EXPECT_EQ(chValue(CH2, REG_START_PHASE, 4), ref::phaseWord(10));
}

TEST_F(BaseWaves, SquareUsesThePulseGeneratorWhereTheAmplitudeIsShapedAndTheSquareGeneratorOtherwise)
{
    rec(CH1).BaseWave = BASE_Square;
    rec(CH1).Frequency = 1e6;
    rec(CH1).Duty = 30;
    for (int m : {int(BASE_Square), int(MT_AM), int(MT_SUM), int(BT_NCYC)}) {
        exe(CH1, BASE_Square, m);
        EXPECT_EQ(chWrites(CH1, REG_BASE_WAVE), (QList<uint64_t> {FPGA_BASE_SQUARE, FPGA_BASE_PULSE})) << m;
        // Equal edges leave the duty uncorrected.
        EXPECT_EQ(chValue(CH1, REG_PULSE_DUTY, 6), ref::depthWord(30)) << m;
        EXPECT_GT(lastWrite(reg(CH1, REG_PULSE_DUTY)), firstWrite(reg(CH1, REG_ATT))) << m;
    }
    for (int m : {int(MT_FM), int(MT_FSK), int(MT_PM), int(ST_LINE)}) {
        exe(CH1, BASE_Square, m);
        EXPECT_EQ(chWrites(CH1, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_SQUARE}) << m;
        EXPECT_TRUE(chWrites(CH1, REG_PULSE_DUTY).isEmpty()) << m;
    }
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_BASE), 0);
}

TEST_F(BaseWaves, RampChoosesItsGeneratorFirstAndProgramsTheSymmetryBeforeTheAmplitude)
{
    rec(CH3).BaseWave = BASE_Ramp;
    rec(CH3).Frequency = 1000;
    rec(CH3).Symmetry = 30;
    mem(CH3).BaseWaveChanged = true;
    exe(CH3, BASE_Ramp, BASE_Ramp);
    EXPECT_EQ(chWrites(CH3, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_TRI});
    EXPECT_LT(firstWrite(reg(CH3, REG_BASE_WAVE)), firstWrite(reg(CH3, REG_WORK_MODE)));
    EXPECT_EQ(chValue(CH3, REG_SYMMETRY, 6), uint64_t(30 * 140737488355328.0 / 100));
    EXPECT_GT(firstWrite(reg(CH3, REG_SYMMETRY)), firstWrite(reg(CH3, REG_START_PHASE)));
    EXPECT_LT(firstWrite(reg(CH3, REG_SYMMETRY)), firstWrite(reg(CH3, REG_ATT)));
    EXPECT_EQ(tableLoads(CH3 * 4 + TABLE_KIND_BASE), 0);
}

TEST_F(BaseWaves, PulseProgramsItsEdgesBetweenPhaseAndAmplitude)
{
    rec(CH1).BaseWave = BASE_Pulse;
    rec(CH1).Frequency = 1e5;
    rec(CH1).Duty = 40;
    rec(CH1).Rise = 1e-8;
    rec(CH1).Fall = 1e-8;
    exe(CH1, BASE_Pulse, BASE_Pulse);
    EXPECT_EQ(chWrites(CH1, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_PULSE});
    const int rise = firstWrite(reg(CH1, REG_RISE_SLOPE));
    EXPECT_GT(rise, firstWrite(reg(CH1, REG_START_PHASE)));
    EXPECT_LT(rise, firstWrite(reg(CH1, REG_ATT)));
    // Equal edges: the duty word is the plain duty.
    EXPECT_EQ(chValue(CH1, REG_PULSE_DUTY, 6), ref::depthWord(40));
}

TEST_F(BaseWaves, HarmonicSetsTheAmplitudeFirstUploadsLastAndNeverSumsNoise)
{
    rec(CH2).BaseWave = BASE_Harmonic;
    rec(CH2).Frequency = 2000;
    rec(CH2).Phase = 90;
    rec(CH2).noiseSumSW = true;
    rec(CH2).SNRatio = 1;
    fillBase(CH2, 11);
    exe(CH2, BASE_Harmonic, BASE_Harmonic);
    const int att = firstWrite(reg(CH2, REG_ATT));
    const int inc = firstWrite(reg(CH2, REG_PHASE_INC));
    const int phase = firstWrite(reg(CH2, REG_START_PHASE));
    const int table = baseTableLoad(CH2);
    EXPECT_LT(att, inc);
    EXPECT_LT(inc, phase);
    EXPECT_LT(phase, table);
    EXPECT_EQ(chValue(CH2, REG_PHASE_INC, 8), ref::inc64(2000));
    EXPECT_EQ(chValue(CH2, REG_START_PHASE, 4), ref::phaseWord(90));
    EXPECT_EQ(chWrites(CH2, REG_NOISE_SUM_EN), QList<uint64_t> {0});
    EXPECT_TRUE(sameTable(stream("table:2:base"), mem(CH2).Base));

    // The sine with the same record adds the noise.
    exe(CH2, BASE_Sine, BASE_Sine);
    EXPECT_EQ(chWrites(CH2, REG_NOISE_SUM_EN), QList<uint64_t> {1});
}

TEST_F(BaseWaves, NoiseProgramsItsBandwidthFilterAndNoCarrier)
{
    rec(CH1).BaseWave = BASE_Noise;
    rec(CH1).Frequency = 1e8;
    exe(CH1, BASE_Noise, BASE_Noise);
    EXPECT_EQ(chWrites(CH1, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_NOISE});
    EXPECT_EQ(tableLoads(TABLE_SELECT_NOISE_FILTER + CH1), 1);
    EXPECT_TRUE(chWrites(CH1, REG_PHASE_INC).isEmpty());
    EXPECT_TRUE(chWrites(CH1, REG_START_PHASE).isEmpty());
    EXPECT_LT(writeOf(REG_TABLE_SELECT, TABLE_SELECT_NOISE_FILTER + CH1), firstWrite(reg(CH1, REG_ATT)));
}

TEST_F(BaseWaves, DcIsProgrammedOnlyInContinuousMode)
{
    rec(CH4).BaseWave = BASE_DC;
    rec(CH4).Offset = 1.5;
    exe(CH4, BASE_DC, BASE_DC);
    EXPECT_EQ(chWrites(CH4, REG_WORK_MODE), QList<uint64_t> {FPGA_WM_BASE});
    EXPECT_EQ(chWrites(CH4, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_DC});
    EXPECT_EQ(chWrites(CH4, REG_PHASE_INC), QList<uint64_t> {0});
    EXPECT_FALSE(chWrites(CH4, REG_ATT).isEmpty());
    EXPECT_GT(lastWrite(REG_SYNC_MANUAL), firstWrite(reg(CH4, REG_ATT)));

    exe(CH4, BASE_DC, BT_NCYC);
    EXPECT_TRUE(fpga().writes().isEmpty());
}

TEST_F(BaseWaves, DcSelectionLeavesTheHighLowEntry)
{
    rec(CH1).AmpMode = 1;
    rec(CH1).AmpUnit = 1;
    channelModel* off = C(CH1).entry(PARAM_INDEX_OFFSET);
    channelModel* amp = C(CH1).entry(PARAM_INDEX_AMP);
    off->selectParam(1);
    amp->selectParam(3);
    base(CH1, BASE_DC)->SignalSelected();
    EXPECT_EQ(rec(CH1).AmpMode, 0);
    EXPECT_EQ(off->paramIndexInUse(), 0);
    EXPECT_EQ(amp->paramIndexInUse(), 1);
}

TEST_F(BaseWaves, PrbsProgramsCodeAndEdgeButNoPhase)
{
    rec(CH2).BaseWave = BASE_Prbs;
    rec(CH2).Frequency = 1e7;
    rec(CH2).EdgeTime = 5e-9;
    rec(CH2).CodeElement = 10;
    exe(CH2, BASE_Prbs, BASE_Prbs);
    EXPECT_EQ(chWrites(CH2, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_PRBS});
    EXPECT_LT(firstWrite(reg(CH2, REG_BASE_WAVE)), firstWrite(reg(CH2, REG_WORK_MODE)));
    EXPECT_EQ(chWrites(CH2, REG_PRBS_ORDER), QList<uint64_t> {11}); // lengths from 8 up skip a code
    EXPECT_FALSE(chWrites(CH2, REG_PRBS_EDGE).isEmpty());
    EXPECT_EQ(chValue(CH2, REG_PHASE_INC, 8), ref::inc64(1e7));
    EXPECT_TRUE(chWrites(CH2, REG_START_PHASE).isEmpty());
    EXPECT_LT(firstWrite(reg(CH2, REG_PHASE_INC)), firstWrite(reg(CH2, REG_ATT)));

    rec(CH2).CodeElement = 5;
    exe(CH2, BASE_Prbs, BASE_Prbs);
    EXPECT_EQ(chWrites(CH2, REG_PRBS_ORDER), QList<uint64_t> {5});
}

TEST_F(BaseWaves, ArbitraryFromTheTableUploadsTheArbTableBeforeTheCarrier)
{
    rec(CH3).BaseWave = BASE_Arb;
    rec(CH3).Frequency = 5000;
    fillBase(CH3, 5);
    exe(CH3, BASE_Arb, BASE_Arb);
    EXPECT_EQ(chWrites(CH3, REG_BASE_WAVE), QList<uint64_t> {0});
    EXPECT_TRUE(sameTable(stream("table:3:base"), mem(CH3).Arb));
    EXPECT_LT(firstWrite(reg(CH3, REG_START_PHASE)), firstWrite(reg(CH3, REG_BASE_WAVE)));
    EXPECT_LT(firstWrite(reg(CH3, REG_ATT)), baseTableLoad(CH3));
    EXPECT_LT(baseTableLoad(CH3), firstWrite(reg(CH3, REG_PHASE_INC)));
    EXPECT_EQ(chValue(CH3, REG_PHASE_INC, 8), ref::inc64(5000));
}

TEST_F(BaseWaves, ArbitrarySampleBySampleClocksTheDeepMemory)
{
    rec(CH1).BaseWave = BASE_Arb;
    rec(CH1).ArbSample = true;
    rec(CH1).SampleRate = 1e8;
    mem(CH1).ArbLen = 0;
    fillBase(CH1, 1);
    exe(CH1, BASE_Arb, BASE_Arb);
    EXPECT_TRUE(rec(CH1).ArbSample);
    EXPECT_EQ(chWrites(CH1, REG_BASE_WAVE), QList<uint64_t> {FPGA_BASE_ARB});
    EXPECT_EQ(chWrites(CH1, REG_PHASE_INC), QList<uint64_t> {ref::inc64(1e8 / 8)});
    EXPECT_EQ(tableLoads(CH1 * 4 + TABLE_KIND_BASE), 0);
    EXPECT_LT(firstWrite(reg(CH1, REG_ATT)), firstWrite(reg(CH1, REG_PHASE_INC)));
}
