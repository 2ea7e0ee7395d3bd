// Pulse, square and ramp edges, ramp symmetry and the PRBS edge.
//
// The edge generator ramps the output by a slope per clock that depends on
// the carrier increment K and the edge time e: s = SLOPE_K / (K * e). The
// FPGA takes s as a 24-bit mantissa normalised to at least 2^23 and the
// number of doublings that normalisation took.
//
// The output stages do not reproduce very short edges one to one: the
// measured edge of CH1/CH2 below 3 ns and of CH3/CH4 below 20 ns follows the
// tables below, so the wanted edge is first mapped to the edge the FPGA must
// be asked for.
#include "hardware/CSetParam.h"
#include "hardware/fpga_scales.h"
#include "param/sys_param.h"
#include <cmath>

using namespace fpga_scale;

namespace {
// Programmed edge (ns) that gives the nominal edges 1.0, 1.5 .. 3.0 ns on CH1/CH2.
const double kEdgeCh12[] = {0.4, 1.23, 1.78, 2.37, 2.9};
// ... and 5, 6 .. 20 ns on CH3/CH4.
const double kEdgeCh34[] = {3.7, 4.8, 6.1, 7.3, 8.3, 9.5, 10.7, 11.7, 12.8, 13.9, 14.9, 15.9, 16.9, 18.0, 19.0, 20.0};
// PRBS edge (ns) that gives 4, 5 .. 10 ns on CH3/CH4.
const double kPrbsEdgeCh34[] = {2.6, 3.6, 4.8, 5.9, 7.1, 8.3, 9.4};

// Table lookup with linear interpolation between nominal points `step`
// apart, all in ns. i is the point at or below the edge; an index outside the
// table is held at its ends. Edges within 0.1 ns above a point take the
// point itself.
double tableEdge(const double* T, int size, long i, double e, double eShifted, double step)
{
    if (i < 0)
        return T[0] * 1e-9;
    if (i > size - 1)
        i = size - 1;
    if (std::fmod(eShifted, step) >= 0.1 && i < size - 1)
        return (T[i] + (T[i + 1] - T[i]) * std::fmod(e, step) / step) * 1e-9;
    return T[i] * 1e-9;
}

void writeSlope(CH_ID ch, unsigned mantReg, unsigned shiftReg, const CSetParam::SlopeWord& s, int shiftBias)
{
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, mantReg), static_cast<unsigned int>(s.mantissa), 3u);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, shiftReg),
                           static_cast<unsigned char>((int(s.shifts) + shiftBias) & 0xFF));
}
} // namespace

CSetParam::SlopeWord CSetParam::SplitSlope(double k, double edge)
{
    double s = SLOPE_K / (k * edge);
    if (std::isnan(s) || std::fabs(s) < 1e-16)
        s = SLOPE_MIN;
    unsigned n = 0;
    // s is positive here unless k or edge were negative; those, like an
    // infinite slope, end at the mantissa's limits.
    while (s < SLOPE_MIN && s > 0) {
        s *= 2;
        ++n;
    }
    return SlopeWord {static_cast<uint32_t>(toWord(s, 3)), n};
}

double CSetParam::PulseEdgeCorrection(CH_ID ch, double e)
{
    if (std::isnan(e))
        e = 0;
    if (ch == CH1 || ch == CH2) {
        if (e < 3e-9) {
            if (e < 0)
                e = 0;
            double i = std::trunc(2.0 * ((e + 1e-11) * 1e9 - 1.0));
            if (i < 0)
                i = 0;
            return tableEdge(kEdgeCh12, 5, long(i), e * 1e9, (e + 1e-11) * 1e9, 0.5);
        }
    } else if (e < 20e-9) {
        // Below 5 ns the table has no point; the parameter ranges keep the
        // edges of these channels at 5 ns or more.
        const long i = long(std::trunc((e + 1e-11) * 1e9)) - 5;
        return tableEdge(kEdgeCh34, 16, i, e * 1e9, (e + 1e-11) * 1e9, 1.0);
    }
    return e;
}

double CSetParam::PrbsEdgeCorrection(CH_ID ch, double t)
{
    if ((ch == CH3 || ch == CH4) && t < 10e-9) {
        const double x = t - 4e-9 + 1e-11;
        double i = std::trunc(x * 1e9);
        if (!(i > 0))
            i = 0;
        if (x < 0)
            return kPrbsEdgeCh34[0] * 1e-9;
        return tableEdge(kPrbsEdgeCh34, 7, long(i), t * 1e9, x * 1e9, 1.0);
    }
    return t;
}

void CSetParam::SetPulseParam(CH_ID ch, double f, double duty, double rise, double fall)
{
    if (!IsChannel(ch) || std::isnan(f) || std::isnan(duty))
        return;
    const double K = double(ceilWord(inc64(f), 8));
    rise = PulseEdgeCorrection(ch, rise);
    fall = PulseEdgeCorrection(ch, fall);
    if (!(rise >= 1e-10))
        rise = 1e-10;
    if (!(fall >= 1e-10))
        fall = 1e-10;
    rise *= 1.25;
    fall *= 1.25;
    // The duty is measured at half height: unequal edges move the half-height
    // points, the duty word makes up for it.
    const double d = duty - (fall - rise) * 100.0 * f / 2.0;
    writeSlope(ch, REG_RISE_SLOPE, REG_RISE_SHIFT, SplitSlope(K, rise), -16);
    writeSlope(ch, REG_FALL_SLOPE, REG_FALL_SHIFT, SplitSlope(K, fall), -16);
    SetFPGA_reg(ChReg(ch, REG_PULSE_DUTY), static_cast<unsigned long long>(toWord(d * W48 / 100.0, 6)), 6u);
}

// The square's edges: as fast as the output stage allows, a little slower at
// lower frequencies where the overshoot of the fastest edge would show.
double CSetParam::SquareEdge(double f)
{
    if (f >= 160e6)
        return 0.3e-9;
    if (f >= 150e6)
        return 0.9e-9;
    if (f >= 140e6)
        return 1.1e-9;
    if (f >= 130e6)
        return 1.2e-9;
    if (f >= 120e6)
        return 1.3e-9;
    return 1.4e-9;
}

void CSetParam::SetSquarePulseParam(CH_ID ch, double f, double duty)
{
    if (!IsChannel(ch) || std::isnan(f) || std::isnan(duty))
        return;
    if (ch == CH3 || ch == CH4) {
        SetPulseParam(ch, f, duty, 5e-9, 5e-9);
        return;
    }
    const double e = SquareEdge(f) * 1.25;
    const double K = double(ceilWord(inc64(f), 8));
    const SlopeWord s = SplitSlope(K, e);
    writeSlope(ch, REG_RISE_SLOPE, REG_RISE_SHIFT, s, -16);
    writeSlope(ch, REG_FALL_SLOPE, REG_FALL_SHIFT, s, -16);
    SetFPGA_reg(ChReg(ch, REG_PULSE_DUTY), static_cast<unsigned long long>(toWord(duty * W48 / 100.0, 6)), 6u);
}

void CSetParam::SetSymmetry(CH_ID ch, double sym)
{
    if (!IsChannel(ch) || std::isnan(sym))
        return;
    // Each ramp half lasts at least 1.5e-7 of a period (about one clock at
    // the top ramp frequency); with no frequency known, keep the halves
    // non-empty anyway so the slopes stay finite.
    double lim = sys_param::GetChFrequency(ch) * 1.5e-7;
    if (!(lim > 1e-9))
        lim = 1e-9;
    if (sym <= lim)
        sym = lim;
    if (sym >= 100.0 - lim)
        sym = 100.0 - lim;
    uint64_t up = toWord(1.6777215e9 / sym / 1.002, 8);
    uint64_t down = toWord(1.6777215e9 / (100.0 - sym) / 1.002, 8);
    unsigned nu = 0, nd = 0;
    while (up > 0xFFFFFF) {
        up >>= 1;
        ++nu;
    }
    while (down > 0xFFFFFF) {
        down >>= 1;
        ++nd;
    }
    SetFPGA_reg(ChReg(ch, REG_RAMP_UP_SLOPE), static_cast<unsigned int>(up), 3u);
    SetFPGA_reg(ChReg(ch, REG_RAMP_DOWN_SLOPE), static_cast<unsigned int>(down), 3u);
    SetFPGA_reg(ChReg(ch, REG_SYMMETRY), static_cast<unsigned long long>(toWord(sym * W47 / 100.0, 6)), 6u);
    SetFPGA_reg(ChReg(ch, REG_RAMP_UP_SHIFT), static_cast<unsigned char>(nu));
    SetFPGA_reg(ChReg(ch, REG_RAMP_DOWN_SHIFT), static_cast<unsigned char>(nd));
}

void CSetParam::SetPRBSEdgeTime(CH_ID ch, double t)
{
    if (!IsChannel(ch) || std::isnan(t))
        return;
    t = PrbsEdgeCorrection(ch, t) * 1.25;
    SetFPGA_reg(ChReg(ch, REG_PRBS_EDGE), static_cast<unsigned long long>(ceilWord((1.0 / t) * W48F / FCLK, 6)), 6u);
}
