// Base-wave table of a channel and the carrier preview drawn from it.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include "param/CUnit.h"
#include "WaveView/CWaveGreate.h"
#include "WaveView/prbs.h"
#include "param/sys_param.h"

// Start of the preview within the table: the channel's phase in table points.
static int previewPhaseOffset(double phaseDeg)
{
    double p = std::floor(phaseDeg * WAVE_BASE_POINTS / 360.0);
    if (!std::isfinite(p))
        return 0;
    p = std::fmod(p, double(WAVE_BASE_POINTS));
    if (p < 0)
        p += WAVE_BASE_POINTS;
    return int(p);
}

void CWaveCreate::CreateBaseWave(CH_ID ch, bool force)
{
    const int c = (ch >= CH1 && ch <= CH4) ? int(ch) : 0;
    CH_DATA& d = sys_param::ch(CH_ID(c));
    SWaveMem& w = wavemem[c];
    const u32 wave = d.BaseWave;
    int p = previewPhaseOffset(d.Phase);
    bool fromBase = true;
    int points = WAVE_DISP_POINTS;

    switch (wave) {
    case BASE_Sine:
        if (force || bwavev[c] != BASE_Sine) {
            std::memcpy(w.Base, sintable, sizeof(w.Base));
            w.BaseWaveChanged = true;
        }
        break;
    case BASE_Square: {
        // The square's edges are the output stage's own: 1 ns on the fast
        // channels, 5 ns on CH3/CH4.
        const double e = c < CH3 ? 1e-9 : 5e-9;
        CreatePulse(w.DispBase, WAVE_DISP_POINTS, -100, 100, GetBasePeriod(CH_ID(c)), d.PulseWidth, e, e);
        fromBase = false;
        break;
    }
    case BASE_Ramp: CreateBaseRamp(CH_ID(c)); break;
    case BASE_Pulse:
        // Rise and Fall are 10 %..90 % times; the drawn edge is the full one.
        CreatePulse(w.DispBase, WAVE_DISP_POINTS, -100, 100, GetBasePeriod(CH_ID(c)), d.PulseWidth, d.Rise / 0.8,
                    d.Fall / 0.8);
        fromBase = false;
        break;
    case BASE_Arb:
        // A file reloaded under the same name changes Arb but not the path:
        // compare the samples too before keeping the old table.
        if (force || bwavev[c] != BASE_Arb || std::strncmp(m_arb[c], d.ArbFileDir, 128) != 0 ||
            std::memcmp(w.Base, w.Arb, sizeof(w.Base)) != 0) {
            std::memcpy(w.Base, w.Arb, sizeof(w.Base));
            std::memcpy(m_arb[c], d.ArbFileDir, sizeof(m_arb[c]));
            m_arb[c][127] = '\0';
            w.BaseWaveChanged = true;
        }
        if (d.ArbSample)
            p = 0;
        break;
    case BASE_Harmonic:
        CreateBaseHarmonic(CH_ID(c), p);
        points = WAVE_DISP_HARMONIC;
        break;
    case BASE_Noise: CreateBaseNoise(CH_ID(c)); break;
    case BASE_DC:
        for (short& s : w.Base)
            s = 32767;
        break;
    case BASE_Prbs: CreateBasePrbs(CH_ID(c)); break;
    default: break;
    }

    if (wave == BASE_Ramp || wave == BASE_Arb || wave == BASE_Harmonic || wave == BASE_Noise)
        CUnit::CalcVrmsRatioShort(CH_ID(c), w.Base, WAVE_BASE_POINTS, 32767);
    else if (wave == BASE_Square || wave == BASE_Pulse)
        CUnit::CalcVrmsRatioShort(CH_ID(c), w.DispBase, WAVE_DISP_POINTS, 100);
    bwavev[c] = wave;

    if (fromBase)
        peaksample(w.Base, WAVE_BASE_POINTS, p, w.DispBase, points);
    if (d.noiseSumSW && wave != BASE_DC && wave != BASE_Noise && wave != BASE_Harmonic) {
        const double vr = CUnit::VppToVrmsRatio(CH_ID(c), BASE_WAVE(wave), d.Frequency);
        if (vr > 0) {
            const double r = d.SNRatio / vr * CUnit::GaussianNoiseRatioRatio();
            BaseNoiseSum(w.DispBase, points, fromBase ? 32767 : 100, r);
        }
    }
    if (fromBase)
        NormalizeDisp(w.DispBase, points);
    for (int i = points; i < WAVE_DISP_POINTS; ++i)
        w.DispBase[i] = 0;
}

void CWaveCreate::CreateBaseRamp(CH_ID ch)
{
    SWaveMem& w = *GetWaveMem(ch);
    // Number of rising samples, computed in single precision like the
    // symmetry register; at least two rising and two falling samples.
    const float kf = std::floor(float(sys_param::ch(ch).Symmetry) * 8192.0f / 100.0f);
    const int k = int(LimitRang(kf, 2, 8190));
    const int fallLen = (WAVE_BASE_POINTS - k) > 2 ? WAVE_BASE_POINTS - k : 2;
    // The lowest bit marks the rising part: set while rising, clear while falling.
    for (int i = 0; i < k; ++i)
        w.Base[i] = short(((i * 65534) / k - 32767) | 1);
    for (int i = k; i < WAVE_BASE_POINTS; ++i)
        w.Base[i] = short((32767 - ((i - k) * 65534) / fallLen) & ~1);
}

void CWaveCreate::CreateBaseNoise(CH_ID ch)
{
    SWaveMem& w = *GetWaveMem(ch);
    // A fixed seed: the picture of the noise is the same every time and on
    // every channel.
    std::srand(0);
    for (int i = 0; i < WAVE_BASE_POINTS; ++i)
        w.Base[i] = short(short(std::rand()) % 26639);
}

void CWaveCreate::CreateBasePrbs(CH_ID ch)
{
    SWaveMem& w = *GetWaveMem(ch);
    // One bit of the channel's code per run of 100 samples, from index 1 on;
    // index 0 continues the last run so the period closes without a glitch.
    CPrbs prbs(CPrbs::OrderOfCodeElement(sys_param::ch(ch).CodeElement));
    short level = 0;
    for (int i = 1; i < WAVE_BASE_POINTS; ++i) {
        if ((i - 1) % 100 == 0)
            level = prbs.Next() ? 32767 : -32767;
        w.Base[i] = level;
    }
    w.Base[0] = w.Base[WAVE_BASE_POINTS - 1];
}
