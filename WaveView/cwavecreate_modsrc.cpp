// The 2048-point internal modulating wave of a channel.
#include <cstdlib>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "Method/GlobalMethod.h"
#include "param/sys_param.h"
#include "WaveView/wavepreview.h"

void CWaveCreate::CreateModSrc(CH_ID ch, MOD_WAVE wave)
{
    SWaveMem& w = *GetWaveMem(ch);
    short* m = w.Modulate;
    switch (wave) {
    case Mod_Sine: {
        sample(sintable, WAVE_BASE_POINTS, 0, m, WAVE_MOD_POINTS, 0);
        const short lo = GlobalMethod::Min(m, int(WAVE_MOD_POINTS));
        const short hi = GlobalMethod::Max(m, int(WAVE_MOD_POINTS));
        GlobalMethod::NormalizeMultiple<short>(m, WAVE_MOD_POINTS, -32767, 32767, lo, hi);
        break;
    }
    case Mod_Square:
        for (int i = 0; i < WAVE_MOD_POINTS; ++i)
            m[i] = i < WAVE_MOD_POINTS / 2 ? 32767 : -32767;
        break;
    case Mod_UpRamp:
        for (int i = 0; i < WAVE_MOD_POINTS; ++i)
            m[i] = short(i * 65534 / WAVE_MOD_POINTS - 32767);
        break;
    case Mod_DnRamp:
        for (int i = 0; i < WAVE_MOD_POINTS; ++i)
            m[i] = short(32767 - i * 65534 / WAVE_MOD_POINTS);
        break;
    case Mod_Noise:
        std::srand(0);
        for (int i = 0; i < WAVE_MOD_POINTS; ++i)
            m[i] = short((std::rand() & 0xFFFF) % 65534 - 32767);
        break;
    case Mod_Arb: std::memcpy(m, w.MArb, sizeof(w.Modulate)); break;
    default:
        // No table of its own (an external source): a flat, recognisable fill.
        for (int i = 0; i < WAVE_MOD_POINTS; ++i)
            m[i] = i < WAVE_DISP_POINTS ? 0 : short(0xFFFF);
        break;
    }
}

void buildModulatingTable(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    CWaveCreate::CreateModSrc(ch, d.ModSrc ? Mod_Sine : MOD_WAVE(d.ModWave));
}

void modulatingTableToDisp(CH_ID ch)
{
    SWaveMem& w = *CWaveCreate::GetWaveMem(ch);
    CWaveCreate::sample(w.Modulate, WAVE_MOD_POINTS, 0, w.DispMod, WAVE_DISP_POINTS, 0);
    GlobalMethod::NormalizeMultiple<short>(w.DispMod, WAVE_DISP_POINTS, -100, 100, -32767, 32767);
}

double modulatingRate(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    if (!d.ModSrc && d.ModWave == Mod_Noise)
        return 152587.890625; // 1.25 GHz / 8192
    return d.ModFre;
}
