// The offset DACs. CH1/CH2 share one offset DAC and CH3/CH4 another; each
// DAC has a coarse and a fine output per channel that are summed into the
// channel's output stage. The coarse output moves in 100 mV steps of a
// 0.8999799559029866 mV DAC, the fine output adds the rest in
// 0.10002004409701343 mV steps. The DAC output x (0 .. 4.096 V) maps to the
// level before the output stage as 6 x - 12.288.
#include "hardware/CSetParam.h"
#include <QThread>
#include <cmath>

namespace {
const double kCoarseStep = 0.8999799559029866; // mV
const double kFineStep = 0.10002004409701343;  // mV
const unsigned kDacMax = 4095;

unsigned clampDac(double v)
{
    if (!(v > 0))
        return 0;
    return v >= kDacMax ? kDacMax : unsigned(v);
}
} // namespace

void CSetParam::OffsetDacWords(double x, unsigned* coarse, unsigned* fine)
{
    if (std::isnan(x))
        x = 12.288 / 6.0; // no number: the middle of the range, 0 V out
    if (x < 0)
        x = 0;
    if (x > 4.096)
        x = 4.096;
    const unsigned c = clampDac(std::trunc(std::trunc(x * 10) * 100) / kCoarseStep);
    *coarse = c;
    *fine = clampDac((x - c * kCoarseStep / 1000.0) / kFineStep * 1000.0);
}

void CSetParam::SetOffset(CH_ID ch, unsigned char code, double volts, bool inverted)
{
    if (!IsChannel(ch))
        return;
    const CChCharacter& c = state.pCharacter[ch];
    double v = volts / c.GetLoadGain();
    if (std::isnan(v))
        v = 0; // 0 V into a short circuit, or no number at all
    if (inverted)
        v = -v;
    if (!state.isDcCal)
        v = c.GetDcCalValue(code, v);
    unsigned coarse = 0, fine = 0;
    OffsetDacWords((v / CChCharacter::GetDCGain(code) + 12.288) / 6.0, &coarse, &fine);

    const bool first = (ch == CH1 || ch == CH3);
    SetDACMode((ch == CH1 || ch == CH2) ? 0 : 1);
    SetDACValue(static_cast<unsigned short>(coarse | (first ? 0x8000 : 0)));
    // The coarse output must settle before the fine one is added. When the
    // coarse word is the one the DAC already holds (most applies leave the
    // offset alone) its output does not move, and there is nothing to wait
    // for.
    if (int(coarse) != state.m_OfsCoarse[ch])
        QThread::usleep(500);
    state.m_OfsCoarse[ch] = int(coarse);
    SetDACValue(static_cast<unsigned short>(fine | 0x1000 | (first ? 0xC000 : 0x4000)));
}
