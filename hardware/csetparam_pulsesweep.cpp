// Frequency sweeps of a pulse. The edge slope depends on the carrier
// increment, so a swept pulse needs a slope per sweep step: the FPGA takes a
// table of (shifts, mantissas, step increment) entries, one per step,
// through the streamed sweep registers while REG_SWEEP_LOAD is 1.
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "hardware/fpga_scales.h"
#include "param/sys_param.h"
#include <cmath>

namespace {
const int kSweepSteps = 2048;

struct SweepEdges {
    double rise, fall;
};

SweepEdges channelEdges(CH_ID ch)
{
    SweepEdges e {sys_param::GetChRise(ch), sys_param::GetChFall(ch)};
    if (!(e.rise >= 1e-10))
        e.rise = 1e-10;
    if (!(e.fall >= 1e-10))
        e.fall = 1e-10;
    return e;
}

void writeStep(CH_ID ch, double f, const SweepEdges& e)
{
    const unsigned long long k = CSetParam::GetFreToStep(f);
    const CSetParam::SlopeWord r = CSetParam::SplitSlope(double(k), e.rise);
    const CSetParam::SlopeWord fl = CSetParam::SplitSlope(double(k), e.fall);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_SWEEP_FALL_SHIFT), static_cast<unsigned char>(fl.shifts));
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_SWEEP_RISE_SHIFT), static_cast<unsigned char>(r.shifts));
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_SWEEP_FALL_SLOPE), static_cast<unsigned int>(fl.mantissa), 3u);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_SWEEP_RISE_SLOPE), static_cast<unsigned int>(r.mantissa), 3u);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_SWEEP_STEP_INC), k, 6u);
}
} // namespace

void CSetParam::SetPulseSweepData(CH_ID ch, const short* profile, double f0, double f1)
{
    if (!IsChannel(ch) || profile == nullptr || std::isnan(f0) || std::isnan(f1))
        return;
    const SweepEdges e = channelEdges(ch);
    const double df = (f1 - f0) / kSweepSteps;
    SetFPGA_reg(ChReg(ch, REG_SWEEP_LOAD), static_cast<unsigned char>(1));
    for (int s = 0; s < kSweepSteps; ++s) {
        // The profile runs from -32767 (start) to +32767 (end) over 2048 steps.
        const int j = ((int(profile[s]) + 32767) * kSweepSteps) / 65535;
        writeStep(ch, f0 + j * df, e);
    }
    SetFPGA_reg(ChReg(ch, REG_SWEEP_LOAD), static_cast<unsigned char>(0));
}

void CSetParam::SetPulseListSweepData(CH_ID ch, const double* freqs, int n)
{
    if (!IsChannel(ch) || freqs == nullptr || n <= 0)
        return;
    // The step table holds as many entries as a frequency list.
    if (n > WAVE_MOD_POINTS)
        n = WAVE_MOD_POINTS;
    const SweepEdges e = channelEdges(ch);
    SetFPGA_reg(ChReg(ch, REG_SWEEP_LOAD), static_cast<unsigned char>(1));
    for (int i = 0; i < n; ++i)
        writeStep(ch, freqs[i], e);
    SetFPGA_reg(ChReg(ch, REG_SWEEP_LOAD), static_cast<unsigned char>(0));
}
