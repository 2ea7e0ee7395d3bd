// Work mode, generator and filter codes, modulating source, triggers,
// output relay, sync flags, amplitude scale limits and the LED expander.
#include "tests/regs/regs_fixture.h"
#include "WaveView/CWaveGreate.h"

TEST_F(RegsTest, GeneratorAndFilterFollowTheBaseWave)
{
    const struct {
        CH_ID ch;
        BASE_WAVE w;
        bool arbSample, arbFilter;
        int gen, filter;
        uint32_t led;
    } cases[] = {
        {CH1, BASE_Sine, false, false, 0, 1, 0x2000},   {CH1, BASE_Harmonic, false, false, 0, 1, 0x4},
        {CH2, BASE_Square, false, false, 7, 0, 0x1000}, {CH3, BASE_Ramp, false, false, 6, 0, 0x800},
        {CH4, BASE_Pulse, false, false, 1, 0, 0x400},   {CH1, BASE_Arb, false, false, 0, 0, 0x2},
        {CH1, BASE_Arb, true, false, 3, 1, 0x2}, // sample by sample, filter on
        {CH2, BASE_Arb, true, true, 3, 0, 0x2},  // sample by sample, filter off
        {CH3, BASE_Arb, true, false, 0, 1, 0x2}, // no deep memory: table playback
        {CH1, BASE_Noise, false, false, 2, 1, 0x1},     {CH2, BASE_DC, false, false, 5, 1, 0x8},
        {CH4, BASE_Prbs, false, false, 4, 0, 0x200},
    };
    for (const auto& c : cases) {
        rec(c.ch).BaseWave = c.w;
        rec(c.ch).ArbSample = c.arbSample;
        rec(c.ch).ArbFilter = c.arbFilter;
        CSetParam::state.pCharacter[c.ch].LED = 0xFFFFFFFFu;
        CSetParam::SetBaseWaveType(c.ch);
        EXPECT_EQ(chValue(c.ch, REG_BASE_WAVE, 1), uint64_t(c.gen)) << c.ch << " wave " << c.w;
        EXPECT_EQ(chValue(c.ch, REG_FILTER, 1), uint64_t(c.filter)) << c.ch << " wave " << c.w;
        EXPECT_EQ(CSetParam::state.pCharacter[c.ch].LED, (0xFFFFFFFFu & ~0x3E1Fu) | c.led);
    }
    CSetParam::SetBaseWaveType(CH2, FPGA_BASE_TRI);
    EXPECT_EQ(chValue(CH2, REG_BASE_WAVE, 1), 6u);
}

TEST_F(RegsTest, WorkModeRegisterAndModeLed)
{
    const uint32_t modes[][2] = {{WORK_BASE, 0x8000}, {MT_FM, 0x10000}, {ST_LOG, 0x4000}, {BT_GATE, 0x20000}};
    for (const auto& m : modes) {
        rec(CH2).WorkMode = m[0] & 0x3000;
        CSetParam::state.pCharacter[CH2].LED = 0x3E1Fu | 0x3C000u;
        CSetParam::SetWorkModeReg(CH2, FPGA_WM_LOG);
        EXPECT_EQ(chValue(CH2, REG_WORK_MODE, 1), uint64_t(FPGA_WM_LOG));
        EXPECT_EQ(CSetParam::state.pCharacter[CH2].LED, 0x3E1Fu | m[1]);
    }
}

TEST_F(RegsTest, ModulatingSourceLoadsTheRightTable)
{
    SWaveMem* mem = CWaveCreate::GetWaveMem(CH2);
    for (int i = 0; i < WAVE_MOD_POINTS; ++i) {
        mem->Modulate[i] = short(i - 1000);
        mem->MArb[i] = short(3 * i - 5000);
    }
    rec(CH2).ModSrc = false;

    rec(CH2).ModWave = Mod_Sine;
    CSetParam::SetModWaveType(CH2);
    EXPECT_EQ(chValue(CH2, REG_MOD_WAVE, 1), 0u);
    QVector<quint64> t = stream("table:2:mod");
    ASSERT_EQ(t.size(), WAVE_MOD_POINTS);
    EXPECT_EQ(t.first(), quint64(uint16_t(-1000)));
    EXPECT_EQ(t.last(), quint64(uint16_t(2047 - 1000)));

    rec(CH2).ModWave = Mod_Arb;
    CSetParam::SetModWaveType(CH2);
    EXPECT_EQ(chValue(CH2, REG_MOD_WAVE, 1), 0u);
    t = stream("table:2:mod");
    ASSERT_EQ(t.size(), WAVE_MOD_POINTS);
    EXPECT_EQ(t.first(), quint64(uint16_t(-5000)));
    EXPECT_EQ(t.last(), quint64(uint16_t(3 * 2047 - 5000)));

    // Noise: the table goes first, then the generator switches to it.
    fpga().clearWrites();
    rec(CH2).ModWave = Mod_Noise;
    CSetParam::SetModWaveType(CH2);
    EXPECT_EQ(chValue(CH2, REG_MOD_WAVE, 1), 4u);
    const QList<unsigned> a = addresses();
    ASSERT_FALSE(a.isEmpty());
    EXPECT_EQ(a.last(), reg(CH2, REG_MOD_WAVE));
    EXPECT_TRUE(a.contains(REG_TABLE_DATA));

    const int plain[][2] = {{Mod_Square, 1}, {Mod_UpRamp, 2}, {Mod_DnRamp, 3}};
    for (const auto& p : plain) {
        fpga().clearWrites();
        rec(CH2).ModWave = p[0];
        CSetParam::SetModWaveType(CH2);
        EXPECT_EQ(addresses(), (QList<unsigned> {reg(CH2, REG_MOD_WAVE)}));
        EXPECT_EQ(chValue(CH2, REG_MOD_WAVE, 1), uint64_t(p[1]));
    }
    rec(CH2).ModSrc = true;
    CSetParam::SetModWaveType(CH2);
    EXPECT_EQ(chValue(CH2, REG_MOD_WAVE, 1), 5u);
}

// The trigger source words are checked per mode in tests/signals.
TEST_F(RegsTest, OutputRelayLedsAndSyncFlags)
{
    CSetParam::SetChOutput(CH1, true);
    CSetParam::SetChOutput(CH4, true);
    EXPECT_EQ(chValue(CH1, REG_OUTPUT, 1), 1u);
    EXPECT_EQ(CSetParam::state.chAllLed, 0x100u | 0x80u);
    CSetParam::SetChOutput(CH1, false);
    EXPECT_EQ(chValue(CH1, REG_OUTPUT, 1), 0u);
    EXPECT_EQ(CSetParam::state.chAllLed, 0x80u);

    CSetParam::SetSyncManual(CH2, true);
    CSetParam::SetSyncManual(CH4, true);
    EXPECT_EQ(value(REG_SYNC_MANUAL, 1), 0x0Au);
    CSetParam::SetSyncManual(CH2, false);
    EXPECT_EQ(value(REG_SYNC_MANUAL, 1), 0x08u);
    EXPECT_FALSE(sys_param::syncManual[CH2]);
    EXPECT_TRUE(sys_param::syncManual[CH4]);
}

TEST_F(RegsTest, AmplitudeScaleWordIsHeldInsideSixteenBitsAndAboveZero)
{
    const long long in[][2] = {{0, 1}, {-5, 1}, {1, 1}, {32768, 32768}, {65535, 65535}, {70000, 65535}};
    for (const auto& v : in) {
        CSetParam::SetVolAdjFine(CH2, v[0]);
        EXPECT_EQ(chValue(CH2, REG_VOL_ADJ, 2), uint64_t(v[1])) << v[0];
    }
}

TEST_F(RegsTest, LedWordsAreActiveLowAndCarryEveryOutputLed)
{
    CSetParam::state.pCharacter[CH3].LED = 0x2000 | 0x10000 | 0x100; // sine, modulation, a stale output bit
    CSetParam::state.chAllLed = 0x20 | 0x40;                         // CH2 and CH3 outputs on
    CSetParam::SetAllLedOff(CH3);
    const uint32_t v = ~uint32_t(0x2000 | 0x10000 | 0x20 | 0x40);
    EXPECT_EQ(writesAt(REG_LED_INIT), (QList<uint64_t> {1}));
    EXPECT_EQ(writesAt(REG_LED_PORT),
              (QList<uint64_t> {0x1700 | (v & 0xFF), 0x1800 | ((v >> 8) & 0xFF), 0x1900 | ((v >> 16) & 0xFF)}));
    // The LED expander's three output ports now hold those bytes.
    EXPECT_EQ(fpga().ledChipReg(0x17), v & 0xFF);
    EXPECT_EQ(fpga().ledChipReg(0x18), (v >> 8) & 0xFF);
    EXPECT_EQ(fpga().ledChipReg(0x19), (v >> 16) & 0xFF);
    // REG_LED_INIT comes before the first LED word.
    EXPECT_EQ(addresses().first(), unsigned(REG_LED_INIT));
}
