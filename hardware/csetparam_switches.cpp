// Per-channel switches and routing: work mode, generator, output filter,
// modulating source, triggers, output relay, inversion, output-path switch
// code, amplitude scale, noise summing; and the board's offset-DAC port and
// buzzer.
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"

namespace {
void writeByte(CH_ID ch, unsigned reg, unsigned v)
{
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, reg), static_cast<unsigned char>(v));
}
} // namespace

void CSetParam::SetWorkModeReg(CH_ID ch, FPGA_WORK_MODE m)
{
    if (!IsChannel(ch))
        return;
    writeByte(ch, REG_WORK_MODE, unsigned(m));
    state.pCharacter[ch].SetModeLed(sys_param::ch(ch).WorkMode);
}

void CSetParam::SetBaseWaveType(CH_ID ch, FPGA_BASE_WAVE_TYPE t)
{
    if (IsChannel(ch))
        writeByte(ch, REG_BASE_WAVE, unsigned(t));
}

// Generator of each base waveform. An arbitrary wave is played from the
// deep memory sample by sample only on CH1/CH2 with sample mode on; every
// other table wave goes through the 8192-word table.
unsigned char CSetParam::BaseWaveGenerator(CH_ID ch, BASE_WAVE w)
{
    switch (w) {
    case BASE_Sine:
    case BASE_Harmonic: return FPGA_BASE_SINE;
    case BASE_Square: return FPGA_BASE_SQUARE;
    case BASE_Ramp: return FPGA_BASE_TRI;
    case BASE_Pulse: return FPGA_BASE_PULSE;
    case BASE_Arb: return ((ch == CH1 || ch == CH2) && sys_param::ch(ch).ArbSample) ? FPGA_BASE_ARB : FPGA_BASE_SINE;
    case BASE_Noise: return FPGA_BASE_NOISE;
    case BASE_DC: return FPGA_BASE_DC;
    case BASE_Prbs: return FPGA_BASE_PRBS;
    default: return static_cast<unsigned char>(w);
    }
}

// The reconstruction filter suits band-limited waves; edge waveforms are
// sent around it so their edges stay sharp. A sample-played arbitrary wave
// has its own switch (ArbFilter on = filter off).
unsigned char CSetParam::getFpgaFilterSwitch(CH_ID ch, BASE_WAVE w)
{
    if (w == BASE_Arb && IsChannel(ch) && sys_param::ch(ch).ArbSample)
        return sys_param::ch(ch).ArbFilter ? 0 : 1;
    switch (w) {
    case BASE_Square:
    case BASE_Ramp:
    case BASE_Pulse:
    case BASE_Arb:
    case BASE_Prbs: return 0;
    default: return 1;
    }
}

void CSetParam::SetBaseWaveType(CH_ID ch)
{
    if (!IsChannel(ch))
        return;
    const BASE_WAVE w = sys_param::GetChBaseWave(ch);
    state.pCharacter[ch].SetWaveLed(w);
    writeByte(ch, REG_FILTER, getFpgaFilterSwitch(ch, w));
    writeByte(ch, REG_BASE_WAVE, BaseWaveGenerator(ch, w));
}

void CSetParam::SetModWaveType(CH_ID ch)
{
    if (!IsChannel(ch))
        return;
    const CH_DATA& d = sys_param::ch(ch);
    if (d.ModSrc) {
        writeByte(ch, REG_MOD_WAVE, FPGA_MOD_EXT);
        return;
    }
    SWaveMem* mem = CWaveCreate::GetWaveMem(ch);
    switch (d.ModWave) {
    case Mod_Sine:
        writeByte(ch, REG_MOD_WAVE, FPGA_MOD_Sine);
        SetModWaveData(ch, mem->Modulate, WAVE_MOD_POINTS);
        break;
    case Mod_Square: writeByte(ch, REG_MOD_WAVE, FPGA_MOD_Square); break;
    case Mod_UpRamp: writeByte(ch, REG_MOD_WAVE, FPGA_MOD_UpRamp); break;
    case Mod_DnRamp: writeByte(ch, REG_MOD_WAVE, FPGA_MOD_DnRamp); break;
    case Mod_Noise:
        // The noise modulation plays the noise table: load it before the
        // generator switches to it.
        SetModWaveData(ch, mem->Modulate, WAVE_MOD_POINTS);
        writeByte(ch, REG_MOD_WAVE, FPGA_MOD_Noise);
        break;
    case Mod_Arb:
        writeByte(ch, REG_MOD_WAVE, FPGA_MOD_Sine);
        SetModWaveData(ch, mem->MArb, WAVE_MOD_POINTS);
        break;
    default: break;
    }
}

void CSetParam::SetTrigSource(CH_ID ch, unsigned char s)
{
    if (IsChannel(ch))
        writeByte(ch, REG_TRIG_SOURCE, s);
}

void CSetParam::SetTrigAndEdge(CH_ID ch, int source, bool edge)
{
    unsigned char s = MTT_Manual;
    if (source == 0)
        s = MTT_IN;
    else if (source == 1)
        s = edge ? MTT_Fall : MTT_Rise;
    SetTrigSource(ch, s);
}

void CSetParam::SetEXT_TrigOutType(CH_ID ch, unsigned char t)
{
    if (IsChannel(ch))
        writeByte(ch, REG_TRIG_OUT, t);
}

void CSetParam::SetChOutput(CH_ID ch, bool on)
{
    if (!IsChannel(ch))
        return;
    writeByte(ch, REG_OUTPUT, on ? 1 : 0);
    if (on)
        state.chAllLed |= CChCharacter::OutputLed(ch);
    else
        state.chAllLed &= ~CChCharacter::OutputLed(ch);
}

void CSetParam::SetFPGAChInversion(CH_ID ch, bool inv)
{
    if (IsChannel(ch))
        writeByte(ch, REG_INVERT, inv ? 1 : 0);
}

void CSetParam::SetSyncManual(CH_ID ch, bool on)
{
    if (!IsChannel(ch))
        return;
    sys_param::syncManual[ch] = on;
    unsigned mask = 0;
    for (int n = CH1; n <= CH4; ++n)
        if (sys_param::syncManual[n])
            mask |= 1u << n;
    SetFPGA_reg(REG_SYNC_MANUAL, static_cast<unsigned char>(mask));
}

void CSetParam::SetATT(CH_ID ch, unsigned char code)
{
    if (!IsChannel(ch))
        return;
    state.m_ATT[ch] = code;
    writeByte(ch, REG_ATT, code);
}

// The amplitude scale multiplies the DAC data; 0 would silence the channel
// in a way the output stage does not expect, so the smallest word is 1.
void CSetParam::SetVolAdjFine(CH_ID ch, long long v)
{
    if (!IsChannel(ch))
        return;
    if (v < 1)
        v = 1;
    if (v > 65535)
        v = 65535;
    SetFPGA_reg(ChReg(ch, REG_VOL_ADJ), static_cast<unsigned short>(v));
}

void CSetParam::SetNoiseSum(CH_ID ch, bool on, unsigned short gain)
{
    if (!IsChannel(ch))
        return;
    writeByte(ch, REG_NOISE_SUM_EN, on ? 1 : 0);
    SetFPGA_reg(ChReg(ch, REG_NOISE_SUM_GAIN), gain);
}

void CSetParam::SetDACMode(unsigned char m) { SetFPGA_reg(REG_OFS_DAC_SEL, m); }

void CSetParam::SetDACValue(unsigned short w) { SetFPGA_reg(REG_OFS_DAC, w); }

void CSetParam::SetBuzzerValue(unsigned char v) { SetFPGA_reg(REG_BUZZER, v); }

void CSetParam::SetBeep(unsigned char v)
{
    SetFPGA_reg(REG_BUZZER, v);
    SetFPGA_reg(REG_BEEP, static_cast<unsigned char>(1));
}
