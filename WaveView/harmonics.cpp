// Harmonic waveform: a fundamental plus up to 15 harmonics (2nd .. 16th),
// each with its own amplitude and phase, played from the wave memory.
#include <cmath>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"

// Highest harmonic that the record can describe.
static int harmonicOrder(const CH_DATA& d) { return d.HarmonicOrder > 16 ? 16 : int(d.HarmonicOrder); }

static int phasePoints(double deg)
{
    double p = std::floor(deg * WAVE_BASE_POINTS / 360.0);
    if (!std::isfinite(p))
        return 0;
    p = std::fmod(p, double(WAVE_BASE_POINTS));
    return int(p < 0 ? p + WAVE_BASE_POINTS : p);
}

u16 CWaveCreate::GetHarmonicOnOffMask(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    // Harmonic k = i + 2 owns bit 0x4000 >> i.
    u16 mask = 0;
    for (int i = 0; i <= harmonicOrder(d) - 2; ++i) {
        const u16 bit = u16(0x4000 >> i);
        switch (d.HarmonicType) {
        case HARMNIC_TYPE_ODD:
            if (i & 1)
                mask |= bit;
            break;
        case HARMNIC_TYPE_EVEN:
            if (!(i & 1))
                mask |= bit;
            break;
        case HARMNIC_TYPE_ALL: mask |= bit; break;
        default: mask |= u16(d.HarmonicUserType & bit); break;
        }
    }
    return mask;
}

double CWaveCreate::GetHarmonicMaxVpp(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    const u16 mask = GetHarmonicOnOffMask(ch);
    double m = d.Vpp;
    for (int i = 0; i < 15; ++i)
        if ((mask & (0x4000 >> i)) && d.HarmonicSnAmp[i] > m)
            m = d.HarmonicSnAmp[i];
    return m;
}

void CWaveCreate::CreateBaseHarmonic(CH_ID ch, int phaseOffset)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const u16 mask = GetHarmonicOnOffMask(ch);
    double mx = GetHarmonicMaxVpp(ch);
    if (!(mx > 0))
        mx = 1;
    const int p = ((phaseOffset % WAVE_BASE_POINTS) + WAVE_BASE_POINTS) % WAVE_BASE_POINTS;

    float sum[WAVE_BASE_POINTS];
    const float fund = float(d.Vpp) / float(mx);
    for (int i = 0; i < WAVE_BASE_POINTS; ++i)
        sum[i] = float(sintable[(i + p) % WAVE_BASE_POINTS]) * fund;
    for (int k = 2; k <= 16; ++k) {
        if (!(mask & (0x4000 >> (k - 2))))
            continue;
        const float amp = float(d.HarmonicSnAmp[k - 2]) / float(mx);
        const int ph = phasePoints(d.HarmonicSnPhase[k - 2]);
        for (int i = 0; i < WAVE_BASE_POINTS; ++i)
            sum[i] += float(sintable[(i * k + ph) % WAVE_BASE_POINTS]) * amp;
    }

    float lo = sum[0], hi = sum[0];
    for (float v : sum) {
        if (v < lo)
            lo = v;
        if (v > hi)
            hi = v;
    }
    const double span = double(hi) - double(lo);
    w.HarZoomRate = span / 65534.0;

    short table[WAVE_BASE_POINTS];
    if (span > 0) {
        const double mid = (double(hi) + double(lo)) / 2.0;
        for (int i = 0; i < WAVE_BASE_POINTS; ++i)
            table[i] = short(LimitRang((double(sum[i]) - mid) * 65534.0 / span, -32767, 32767));
    } else {
        std::memset(table, 0, sizeof(table));
    }
    if (std::memcmp(table, w.Base, sizeof(table)) != 0) {
        std::memcpy(w.Base, table, sizeof(table));
        w.BaseWaveChanged = true;
    }
}
