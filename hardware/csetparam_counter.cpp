// The frequency counter. The FPGA counts, over one gate, the input cycles,
// the reference-clock ticks and the ticks the input spends high, in two
// ranges: a fast range that counts at 8 x FCLK resolution for inputs above
// a threshold, and a slow range counted at FCLK. One reading gives the
// frequency, the duty cycle and from them the period and the two pulse
// widths; the last 256 readings give the statistics.
#include "hardware/CSetParam.h"
#include "hardware/fpga_scales.h"
#include <QMutexLocker>
#include <QString>
#include <cmath>

using namespace fpga_scale;

namespace {
const char* kNoValue = "------";

unsigned readCount(unsigned address)
{
    unsigned char b[4] = {0, 0, 0, 0};
    CSetParam::FpgaRead(address, b, 4);
    return unsigned(b[0]) | (unsigned(b[1]) << 8) | (unsigned(b[2]) << 16) | (unsigned(b[3]) << 24);
}

// A value with an SI prefix chosen so that 1 <= |mantissa| < 1000, six
// decimals, then the unit.
QString withPrefix(double v, const char* unit)
{
    static const struct {
        double scale;
        const char* prefix;
    } prefixes[] = {{1e9, "G"}, {1e6, "M"}, {1e3, "k"}, {1, ""}, {1e-3, "m"}, {1e-6, "u"}, {1e-9, "n"}, {1e-12, "p"}};
    const double a = std::fabs(v);
    for (const auto& p : prefixes)
        if (a >= p.scale || p.scale == 1e-12)
            return QString::asprintf("%.6f %s%s", v / p.scale, p.prefix, unit);
    return QString();
}

void fillTexts(QStringList& list, const double* values, const char* unit, bool prefixed)
{
    list.clear();
    for (int i = 0; i < CSetParam::COUNTER_VALUES; ++i) {
        if (i == CSetParam::FD)
            list << kNoValue;
        else
            list << (prefixed ? withPrefix(values[i], unit) : QString::asprintf("%.3f %s", values[i], unit));
    }
}

void noValues()
{
    QStringList* lists[] = {&CSetParam::state.strFre, &CSetParam::state.strDuty, &CSetParam::state.strPeriod,
                            &CSetParam::state.strPWidth, &CSetParam::state.strNWidth};
    for (QStringList* l : lists) {
        l->clear();
        for (int i = 0; i < CSetParam::COUNTER_VALUES; ++i)
            *l << kNoValue;
    }
}
} // namespace

void CSetParam::SetCnt(bool on) { SetFPGA_reg(REG_CNT_ON, static_cast<unsigned char>(on ? 1 : 0)); }

void CSetParam::SetCntLPF(unsigned char v) { SetFPGA_reg(REG_CNT_LPF, v); }

void CSetParam::SetCntCoupling(unsigned char v) { SetFPGA_reg(REG_CNT_COUPLING, v); }

// The trigger level comes from the third offset-DAC channel: 12 bits over
// -2.5 .. +2.5 V, command nibble 0x1. Levels outside the span are held at
// its ends rather than wrapped.
void CSetParam::SetCntTrigVoltage(double v)
{
    if (std::isnan(v))
        return;
    double code = std::trunc(v / 2.5 * 2047 + 2047);
    if (code < 0)
        code = 0;
    if (code > 4095)
        code = 4095;
    SetDACMode(2);
    SetDACValue(static_cast<unsigned short>((unsigned(code) & 0xFFF) + 0x1000));
}

void CSetParam::SetCntTrigSensiti(double percent)
{
    if (std::isnan(percent))
        return;
    double s = std::trunc(percent / 100 * 4095);
    if (s < 0)
        s = 0;
    if (s > 4095)
        s = 4095;
    SetDACMode(2);
    SetDACValue(static_cast<unsigned short>(unsigned(s) | 0x5000));
}

unsigned CSetParam::GetCnterHLevel() { return readCount(REG_CNT_HLEVEL_H); }
unsigned CSetParam::GetCnterLLevel() { return readCount(REG_CNT_HLEVEL_L); }
unsigned CSetParam::GetCnterRefH() { return readCount(REG_CNT_REF_H); }
unsigned CSetParam::GetCnterRefL() { return readCount(REG_CNT_REF_L); }
unsigned CSetParam::GetCnterCycleH() { return readCount(REG_CNT_CYCLE_H); }
unsigned CSetParam::GetCnterCycleL() { return readCount(REG_CNT_CYCLE_L); }

int CSetParam::readCounterPara()
{
    // Hysteresis between the ranges: leave the slow range only well above
    // the point where the fast one is entered.
    const double threshold = state.cntSlowRange ? 10000.0 : 1000.0;
    // The counters read one less than they counted.
    double H = double(GetCnterHLevel()) + 1, R = double(GetCnterRefH()) + 1, C = double(GetCnterCycleH()) + 1;
    const double fast = R > 1 ? C * 8 * FCLK / R : 0;
    double fre = 0, duty = 0;
    if (fast > threshold) {
        fre = fast;
        duty = H * 100 / (R * 8);
        state.cntSlowRange = false;
    } else {
        H = double(GetCnterLLevel()) + 1;
        R = double(GetCnterRefL()) + 1;
        C = double(GetCnterCycleL()) + 1;
        if (R > 1) {
            fre = C * FCLK / R;
            duty = H * 100 / R;
        }
        state.cntSlowRange = true;
    }
    if (!(fre >= 0.1)) {
        // No signal: the display shows dashes and the remote queries read 0,
        // not the last reading of an input that has gone.
        QMutexLocker lock(&counterLock);
        noValues();
        double* out[5] = {state.cntFre, state.cntDuty, state.cntPeriod, state.cntPWidth, state.cntNWidth};
        for (double* q : out)
            q[VALUE] = 0;
        return 0;
    }
    duty = std::fmin(std::fmax(duty, 0.0), 100.0);
    const double period = 1.0 / fre;
    const double pw = period * duty / 100;
    refresh(fre, duty, period, pw, period - pw);

    QMutexLocker lock(&counterLock);
    double* out[5] = {state.cntFre, state.cntDuty, state.cntPeriod, state.cntPWidth, state.cntNWidth};
    const double now[5] = {fre, duty, period, pw, period - pw};
    for (int q = 0; q < 5; ++q) {
        out[q][VALUE] = now[q];
        StatisticalOne(state.ring[q], state.ringCount, state.ringNext, &out[q][MEAN], &out[q][MIN], &out[q][MAX],
                       &out[q][SDEV]);
        out[q][FD] = 0;
    }
    fillTexts(state.strFre, state.cntFre, "Hz", true);
    fillTexts(state.strDuty, state.cntDuty, "%", false);
    fillTexts(state.strPeriod, state.cntPeriod, "s", true);
    fillTexts(state.strPWidth, state.cntPWidth, "s", true);
    fillTexts(state.strNWidth, state.cntNWidth, "s", true);
    return 1;
}

void CSetParam::refresh(double fre, double duty, double period, double pwidth, double nwidth)
{
    const double v[5] = {fre, duty, period, pwidth, nwidth};
    for (int q = 0; q < 5; ++q)
        state.ring[q][state.ringNext] = v[q];
    state.ringNext = (state.ringNext + 1) % kCounterRing;
    if (state.ringCount < kCounterRing)
        ++state.ringCount;
}

void CSetParam::StatisticalOne(const double* ring, int count, int next, double* mean, double* min, double* max,
                               double* sdev)
{
    if (count > kCounterRing)
        count = kCounterRing;
    if (ring == nullptr || count <= 0) {
        *mean = *min = *max = *sdev = 0;
        return;
    }
    double sum = 0, lo = 0, hi = 0;
    for (int k = 0; k < count; ++k) {
        const double v = ring[((next - 1 - k) % kCounterRing + kCounterRing) % kCounterRing];
        sum += v;
        lo = (k == 0 || v < lo) ? v : lo;
        hi = (k == 0 || v > hi) ? v : hi;
    }
    const double m = sum / count;
    double sq = 0;
    for (int k = 0; k < count; ++k) {
        const double d = ring[((next - 1 - k) % kCounterRing + kCounterRing) % kCounterRing] - m;
        sq += d * d;
    }
    *mean = m;
    *min = lo;
    *max = hi;
    *sdev = std::sqrt(sq / count);
}

void CSetParam::offCounter()
{
    QMutexLocker lock(&counterLock);
    noValues();
    state.ringCount = 0;
    state.ringNext = 0;
    for (int i = 0; i < COUNTER_VALUES; ++i)
        state.cntFre[i] = state.cntDuty[i] = state.cntPeriod[i] = state.cntPWidth[i] = state.cntNWidth[i] = 0;
}

int CSetParam::CounterSamples() { return state.ringCount; }

double CSetParam::CounterResult(CounterQuantity quantity, CounterValue which)
{
    const double* values[5] = {state.cntFre, state.cntDuty, state.cntPeriod, state.cntPWidth, state.cntNWidth};
    if (unsigned(quantity) >= 5 || unsigned(which) >= unsigned(COUNTER_VALUES))
        return 0;
    QMutexLocker lock(&counterLock);
    return values[quantity][which];
}
