// Carrier, modulation-rate, hop, burst and OSK timing, start phases and the
// small mode codes of a channel.
//
// Every frequency becomes the increment of a phase accumulator clocked at
// FCLK: the carrier and the modulation rate have 64-bit accumulators (one
// turn = 2^63), the hop frequencies and the OSK / burst-delay counters 48-bit
// ones (full scale 2^47 - 1).
#include "hardware/CSetParam.h"
#include "hardware/fpga_scales.h"
#include "param/sys_param.h"
#include <QDebug>
#include <cmath>

using namespace fpga_scale;

void CSetParam::ForgetWrittenState()
{
    for (int ch = 0; ch < 4; ++ch) {
        state.m_Fre[ch] = -1;
        state.m_ATT[ch] = 255;
        state.m_VPP[ch] = -1;
        state.m_OfsCoarse[ch] = -1;
    }
    ForgetLedWords();
}

namespace {
void writeWord(CH_ID ch, unsigned reg, uint64_t word, unsigned bytes)
{
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, reg), static_cast<unsigned long long>(word), bytes);
}
} // namespace

void CSetParam::SetFre(CH_ID ch, double f)
{
    if (!IsChannel(ch) || std::isnan(f))
        return;
    // Rewriting the increment restarts nothing in the FPGA, but the phase
    // reset that follows would: an unchanged frequency is left alone.
    if (f == state.m_Fre[ch])
        return;
    state.m_Fre[ch] = f;
    writeWord(ch, REG_PHASE_INC, ceilWord(inc64(f), 8), 8);
    ResetFPFGA(false);
}

void CSetParam::SetModFre(CH_ID ch, double f)
{
    if (!IsChannel(ch) || std::isnan(f))
        return;
    writeWord(ch, REG_MOD_INC, ceilWord(inc64(f), 8), 8);
    ResetFPFGA(false);
}

void CSetParam::SetBurstPeriod(CH_ID ch, double T)
{
    // A period of 0 would be an infinite rate: the increment saturates.
    SetModFre(ch, 1.0 / T);
}

void CSetParam::SetModHop1Fre(CH_ID ch, double f)
{
    if (IsChannel(ch) && !std::isnan(f))
        writeWord(ch, REG_HOP1_INC, GetFreToStep(f), 6);
}

void CSetParam::SetModHop2Fre(CH_ID ch, double f)
{
    if (IsChannel(ch) && !std::isnan(f))
        writeWord(ch, REG_HOP2_INC, GetFreToStep(f), 6);
}

void CSetParam::SetModHop3Fre(CH_ID ch, double f)
{
    if (IsChannel(ch) && !std::isnan(f))
        writeWord(ch, REG_HOP3_INC, GetFreToStep(f), 6);
}

unsigned long long CSetParam::GetFreToStep(double f) { return ceilWord(inc48(f), 6); }

// The OSK and burst-delay counters advance by two per clock.
void CSetParam::SetOscTime(CH_ID ch, double t)
{
    if (!IsChannel(ch) || std::isnan(t))
        return;
    const uint64_t half = ceilWord((1.0 / t) * W48 / FCLK, 6);
    writeWord(ch, REG_OSK_INC, half > registerMax(6) / 2 ? registerMax(6) : 2 * half, 6);
}

void CSetParam::SetBurstDelay(CH_ID ch, double d)
{
    if (!IsChannel(ch) || std::isnan(d))
        return;
    const uint64_t half = ceilWord(W48 / (d * FCLK), 6);
    writeWord(ch, REG_BURST_DELAY, half > registerMax(6) / 2 ? registerMax(6) : 2 * half, 6);
}

// ---- depths and deviations: one register whose meaning the work mode sets.

void CSetParam::SetModDepth(CH_ID ch, double percent)
{
    if (IsChannel(ch) && !std::isnan(percent))
        writeWord(ch, REG_MOD_DEPTH, toWord(percent * W48 / 100.0, 6), 6);
}

void CSetParam::SetModOffsetFre(CH_ID ch, double dev)
{
    if (IsChannel(ch) && !std::isnan(dev))
        writeWord(ch, REG_MOD_DEPTH, toWord(dev * W48 / FCLK, 6), 6);
}

void CSetParam::SetModOffsetPhase(CH_ID ch, double dev)
{
    if (!IsChannel(ch) || std::isnan(dev))
        return;
    const uint64_t half = ceilWord(dev * W48 / 360.0, 6);
    writeWord(ch, REG_MOD_DEPTH, half > registerMax(6) / 2 ? registerMax(6) : 2 * half, 6);
}

// ---- phases

namespace {
// Brings a phase into 0..360 degrees the way the start-phase register wants
// it: negative phases gain turns until they are not negative, phases above
// a turn lose turns until they are at most 360 (360 itself stays). Far-out
// values are first reduced with fmod so the loops stay short.
double wrapPhase(double p)
{
    if (std::fabs(p) > 36000.0) {
        p = std::fmod(p, 360.0);
        if (p == 0.0)
            return 0.0;
    }
    while (p < 0)
        p += 360.0;
    while (p > 360.0)
        p -= 360.0;
    return p;
}
} // namespace

void CSetParam::SetPhase(CH_ID ch, double phase)
{
    if (!IsChannel(ch) || !std::isfinite(phase))
        return;
    // The ramp generator starts its table a quarter turn later than the
    // sine table; the start phase makes up for it.
    if (sys_param::GetChBaseWave(ch) == BASE_Ramp)
        phase += 90.0;
    phase = wrapPhase(phase);
    writeWord(ch, REG_START_PHASE, toWord(phase * W32 / 360.0, 4), 4);
}

namespace {
void writePskPhase(CH_ID ch, unsigned reg, double phase)
{
    if (!CSetParam::IsChannel(ch) || !std::isfinite(phase))
        return;
    // The PSK phases are 16-bit fractions of a turn; a negative phase is the
    // same point of the turn as phase + 360.
    if (phase < 0 || phase > 360.0)
        phase = wrapPhase(phase);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, reg),
                           static_cast<unsigned short>(toWord(phase * 65535.0 / 360.0, 8) & 0xFFFF));
}
} // namespace

void CSetParam::SetPhase2(CH_ID ch, double phase) { writePskPhase(ch, REG_PHASE2, phase); }
void CSetParam::SetPhase3(CH_ID ch, double phase) { writePskPhase(ch, REG_PHASE3, phase); }
void CSetParam::SetPhase4(CH_ID ch, double phase) { writePskPhase(ch, REG_PHASE4, phase); }

// ---- small codes

void CSetParam::SetBurstCycles(CH_ID ch, unsigned n)
{
    if (IsChannel(ch))
        SetFPGA_reg(ChReg(ch, REG_BURST_CYCLES), static_cast<unsigned short>(n > 0xFFFF ? 0xFFFF : n));
}

void CSetParam::SetBurstMode(CH_ID ch, unsigned char m)
{
    if (IsChannel(ch))
        SetFPGA_reg(ChReg(ch, REG_BURST_MODE), m);
}

void CSetParam::SetQAM_Mode(CH_ID ch, unsigned char m)
{
    if (IsChannel(ch))
        SetFPGA_reg(ChReg(ch, REG_QAM_MODE), m);
}

namespace {
// The length codes skip 8: code n + 1 stands for the lengths from 8 on (the
// top code stays at the top instead of wrapping to 0).
unsigned char lengthCode(unsigned char n) { return static_cast<unsigned char>(n >= 8 && n < 255 ? n + 1 : n); }
} // namespace

void CSetParam::SetPNCodeElement(CH_ID ch, unsigned char n)
{
    if (IsChannel(ch))
        SetFPGA_reg(ChReg(ch, REG_PN_ORDER), lengthCode(n));
}

void CSetParam::SetPRBSCodeElement(CH_ID ch, unsigned char n)
{
    if (IsChannel(ch))
        SetFPGA_reg(ChReg(ch, REG_PRBS_ORDER), lengthCode(n));
}
