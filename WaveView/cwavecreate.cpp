// Tables of the four channels, the shared sine table and the small helpers.
#include "WaveView/CWaveGreate.h"
#include "WaveView/previewlock.h"
#include <cmath>
#include <cstring>
#include "Method/GlobalMethod.h"
#include "param/sys_param.h"

SWaveMem CWaveCreate::wavemem[CH_Total];
short CWaveCreate::sintable[WAVE_BASE_POINTS];
int CWaveCreate::sintable32[WAVE_BASE_POINTS];
u32 CWaveCreate::bwavev[CH_Total] = {BASE_Unknown, BASE_Unknown, BASE_Unknown, BASE_Unknown};
char CWaveCreate::m_arb[CH_Total][128];

static inline int chIndex(CH_ID ch) { return (ch >= CH1 && ch <= CH4) ? int(ch) : 0; }

void CWaveCreate::Init()
{
    for (int i = 0; i < WAVE_BASE_POINTS; ++i) {
        const int v = int(32767.0 * std::sin(2.0 * M_PI * i / WAVE_BASE_POINTS));
        sintable[i] = short(v);
        sintable32[i] = v;
    }
}

SWaveMem* CWaveCreate::GetWaveMem(CH_ID ch) { return &wavemem[chIndex(ch)]; }

void CWaveCreate::chcopy(CH_ID from, CH_ID to)
{
    const int f = chIndex(from);
    const int t = chIndex(to);
    if (f == t)
        return;
    {
        // The traces go with the tables; the screens may be painting them.
        std::lock_guard<std::mutex> lock(previewLock());
        std::memcpy(&wavemem[t], &wavemem[f], sizeof(SWaveMem));
    }
    // The copied Base no longer matches what the target's memo says was drawn
    // there: make the next draw of the target rebuild its table.
    bwavev[t] = BASE_Unknown;
    m_arb[t][0] = '\0';
}

void CWaveCreate::ForgetDrawn()
{
    for (int c = 0; c < CH_Total; ++c) {
        bwavev[c] = BASE_Unknown;
        m_arb[c][0] = '\0';
    }
}

double CWaveCreate::GetBaseFre(CH_ID ch) { return sys_param::ch(ch).Frequency; }

double CWaveCreate::GetBasePeriod(CH_ID ch)
{
    // Frequency always holds Hz, whichever unit the entry shows; the period
    // is its reciprocal in both cases.
    const double f = sys_param::ch(ch).Frequency;
    return f > 0 ? 1.0 / f : 0.0;
}

double CWaveCreate::GetModFre(CH_ID ch) { return sys_param::ch(ch).ModFre; }

double CWaveCreate::LimitRang(double value, double low, double high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    if (std::isnan(value))
        return low;
    return value;
}

int CWaveCreate::DispBaseLen(CH_ID ch)
{
    return sys_param::ch(ch).BaseWave == BASE_Harmonic ? int(WAVE_DISP_HARMONIC) : int(WAVE_DISP_POINTS);
}

void CWaveCreate::NormalizeDisp(short* data, int n)
{
    if (data == nullptr || n <= 0 || n > WAVE_DISP_POINTS)
        return;
    double d[WAVE_DISP_POINTS];
    for (int i = 0; i < n; ++i)
        d[i] = data[i];
    GlobalMethod::Normalize(d, n, -100.0, 100.0);
    for (int i = 0; i < n; ++i)
        data[i] = short(std::lround(LimitRang(d[i], -100.0, 100.0)));
}
