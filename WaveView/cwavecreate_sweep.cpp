// Sweep mode: the sweep tables the hardware plays (the modulating table of
// linear and logarithmic sweeps, the frequency list of stepped sweeps) and
// the previews. The window shows one sweep; the composite trace accumulates
// the carrier phase at the instantaneous frequency relative to the lowest.
#include <cmath>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "Method/GlobalMethod.h"
#include "param/sys_param.h"

namespace {
// Smallest frequency used as a reference, so a zero start cannot divide by zero.
constexpr double kMinFreq = 1e-6;

// Carrier phase accumulation: at point i the phase advances by freq[i] / ref
// carrier periods of 460 points, and the trace reads the carrier there.
void drawSwept(CH_ID ch, const double* freq, double ref)
{
    SWaveMem& w = *CWaveCreate::GetWaveMem(ch);
    const int len = CWaveCreate::DispBaseLen(ch);
    const double scale = double(len) / WAVE_DISP_POINTS;
    double phase = 0;
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        phase += freq[i] / ref * scale;
        long long idx = (long long)std::floor(phase) % len;
        w.DispMixer[i] = w.DispBase[idx < 0 ? idx + len : idx];
    }
}

// The stop frequency drawn within 1/40 .. 40 times the start.
double drawnStop(double s, double e) { return CWaveCreate::LimitRang(e, s / 40, s * 40); }

void normalizeTrace(short* trace, const double* v)
{
    double d[WAVE_DISP_POINTS];
    std::memcpy(d, v, sizeof(d));
    GlobalMethod::Normalize(d, WAVE_DISP_POINTS, -100, 100);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        trace[i] = short(std::lround(CWaveCreate::LimitRang(d[i], -100, 100)));
}

void modulatingTableTrace(CH_ID ch)
{
    SWaveMem& w = *CWaveCreate::GetWaveMem(ch);
    CWaveCreate::sample(w.Modulate, WAVE_MOD_POINTS, 0, w.DispMod, WAVE_DISP_POINTS, 0);
    GlobalMethod::NormalizeMultiple<short>(w.DispMod, WAVE_DISP_POINTS, -100, 100, -32767, 32767);
}
} // namespace

void CWaveCreate::CreateSweepWave(CH_ID ch)
{
    CreateBaseWave(ch, false);
    switch (sys_param::ch(ch).SweepType) {
    case ST_LINE: CreateSweepLiner(ch); break;
    case ST_LOG: CreateSweepLog(ch); break;
    case ST_STEP: CreateSweepStep(ch); break;
    case ST_LIST: CreateSweepList(ch); break;
    default: {
        SWaveMem& w = *GetWaveMem(ch);
        std::memcpy(w.DispMixer, w.DispBase, sizeof(w.DispMixer));
        std::memset(w.DispMod, 0, sizeof(w.DispMod));
        break;
    }
    }
}

void CWaveCreate::CreateSweepLiner(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double s = d.SwpStartFre > kMinFreq ? d.SwpStartFre : kMinFreq;
    const double e = d.SwpEndFre;
    const bool rising = d.SwpStartFre < d.SwpEndFre;

    // The frequency follows this ramp; 65534 / 2048 per sample.
    for (int i = 0; i < WAVE_MOD_POINTS; ++i) {
        const int step = int(std::floor(i * 31.9990234375));
        w.Modulate[i] = short(rising ? step - 32767 : 32767 - step);
    }

    double ramp[WAVE_DISP_POINTS];
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        ramp[i] = rising ? -32767 + i * 142.4652099609375 : 32767 - i * 142.4652099609375;
    normalizeTrace(w.DispMod, ramp);

    const double e2 = drawnStop(s, e);
    const double m = s < e2 ? s : e2;
    double freq[WAVE_DISP_POINTS];
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        freq[i] = s + i * (e2 - s) / WAVE_DISP_POINTS;
    drawSwept(ch, freq, m);
}

void CWaveCreate::CreateSweepLog(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double s = d.SwpStartFre > kMinFreq ? d.SwpStartFre : kMinFreq;
    const double e = d.SwpEndFre > kMinFreq ? d.SwpEndFre : kMinFreq;
    const double fmin = s < e ? s : e;
    const double fmax = s < e ? e : s;
    const double lmin = std::log10(fmin);
    const double lmax = std::log10(fmax);
    const bool rising = d.SwpStartFre <= d.SwpEndFre;

    // The modulating table maps a logarithmic frequency ramp linearly onto
    // the FM deviation between the two ends.
    for (int i = 0; i < WAVE_MOD_POINTS; ++i) {
        if (!(fmax > fmin)) {
            w.Modulate[i] = -32767;
            continue;
        }
        const int j = rising ? i : WAVE_MOD_POINTS - 1 - i;
        const double x = lmin + j * (lmax - lmin) / (WAVE_MOD_POINTS - 1);
        const double v = (2 * (std::pow(10.0, x) - fmin) / (fmax - fmin) - 1) * 32767;
        w.Modulate[i] = short(LimitRang(v, -32767, 32767));
    }
    modulatingTableTrace(ch);

    const double e2 = drawnStop(s, e);
    const double m = s < e2 ? s : e2;
    double freq[WAVE_DISP_POINTS];
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        freq[i] = s * std::pow(e2 / s, double(i) / (WAVE_DISP_POINTS - 1));
    drawSwept(ch, freq, m);
}

void CWaveCreate::CreateSweepStep(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const double s = d.SwpStartFre;
    const double e = d.SwpEndFre;
    // At least the two end points, at most a full list.
    int n = int(d.SweepStep);
    if (n > WAVE_MOD_POINTS)
        n = WAVE_MOD_POINTS;
    if (n < 2)
        n = 2;
    for (int k = 0; k < n; ++k)
        w.List[k] = s + k * (e - s) / (n - 1);
    w.ListLen = n;
    w.listmaxfre = s > e ? s : e;

    double level[WAVE_DISP_POINTS];
    double freq[WAVE_DISP_POINTS];
    const double s1 = s > kMinFreq ? s : kMinFreq;
    const double e2 = drawnStop(s1, e);
    const double m = s1 < e2 ? s1 : e2;
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const int k = i * n / WAVE_DISP_POINTS;
        level[i] = w.List[k];
        freq[i] = LimitRang(w.List[k], m, m * 40);
    }
    normalizeTrace(w.DispMod, level);
    drawSwept(ch, freq, m);
}

void CWaveCreate::CreateSweepList(CH_ID ch)
{
    SWaveMem& w = *GetWaveMem(ch);
    const int n = w.ListLen > WAVE_MOD_POINTS ? int(WAVE_MOD_POINTS) : w.ListLen;
    if (n <= 1) {
        // Nothing to sweep through: the carrier alone.
        std::memcpy(w.DispMixer, w.DispBase, sizeof(w.DispMixer));
        std::memset(w.DispMod, 0, sizeof(w.DispMod));
        return;
    }
    const double mn = GlobalMethod::Min(w.List, n);
    const double mx = GlobalMethod::Max(w.List, n);
    for (int i = 0; i < WAVE_MOD_POINTS; ++i) {
        const double f = w.List[i * n / WAVE_MOD_POINTS];
        const double v = mx > mn ? (f - mn) / (mx - mn) * 65534 - 32767 : -32767;
        w.Modulate[i] = short(LimitRang(v, -32767, 32767));
    }
    modulatingTableTrace(ch);

    const double ref = mn > kMinFreq ? mn : kMinFreq;
    double freq[WAVE_DISP_POINTS];
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        freq[i] = LimitRang(w.List[i * n / WAVE_DISP_POINTS], ref, ref * 40);
    drawSwept(ch, freq, ref);
}
