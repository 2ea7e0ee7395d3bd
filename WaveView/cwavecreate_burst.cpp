// Burst mode previews. The carrier is drawn at eight times its preview speed
// so that a burst of several cycles fits the window.
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"

// Carrier at point i, eight preview periods per window.
static short fastCarrier(const SWaveMem& w, int len, int i) { return w.DispBase[(8 * i) % len]; }

void CWaveCreate::CreateBurstWave(CH_ID ch)
{
    CreateBaseWave(ch, false);
    SWaveMem& w = *GetWaveMem(ch);
    NormalizeDisp(w.DispBase, DispBaseLen(ch));
    switch (sys_param::ch(ch).BurstType) {
    case BT_NCYC: CreateBurstNcyc(ch); break;
    case BT_GATE: CreateBurstGate(ch); break;
    case BT_INFINIT: CreateBurstInfinit(ch); break;
    default:
        // No burst kind chosen yet (a factory record holds 0): the base wave
        // alone, not whatever an earlier mode left in the traces.
        std::memcpy(w.DispMixer, w.DispBase, sizeof(w.DispMixer));
        std::memset(w.DispMod, 0, sizeof(w.DispMod));
        break;
    }
}

void CWaveCreate::CreateBurstNcyc(CH_ID ch)
{
    SWaveMem& w = *GetWaveMem(ch);
    const int len = DispBaseLen(ch);
    // Two bursts, each followed by an idle gap.
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        w.DispMixer[i] = ((i >= 115 && i <= 229) || i >= 345) ? 0 : fastCarrier(w, len, i);
    // No modulating trace; keep the stale one of an earlier mode off the screen.
    std::memset(w.DispMod, 0, sizeof(w.DispMod));
}

void CWaveCreate::CreateBurstGate(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    const int len = DispBaseLen(ch);
    const short inside = d.BstGatePolarity != 0 ? 100 : -100;
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const bool open = i >= 115 && i <= 344;
        w.DispMixer[i] = open ? fastCarrier(w, len, i) : 0;
        w.DispMod[i] = open ? inside : short(-inside);
    }
}

void CWaveCreate::CreateBurstInfinit(CH_ID ch)
{
    SWaveMem& w = *GetWaveMem(ch);
    const int len = DispBaseLen(ch);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        w.DispMixer[i] = (i >= 172 && i <= 286) ? 0 : fastCarrier(w, len, i);
    std::memset(w.DispMod, 0, sizeof(w.DispMod));
}
