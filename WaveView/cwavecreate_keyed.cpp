// Previews of the keyed modulations (ASK, FSK, 3FSK, 4FSK, PSK, BPSK, QPSK,
// QAM, OSK) and the hop lists of a pulse carrier. The window shows a few
// symbols; DispMod draws the symbol levels, DispMixer the keyed carrier.
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "WaveView/prbs.h"
#include "param/sys_param.h"
#include "WaveView/wavepreview.h"

using wavepreview::carrierAt;
using wavepreview::dispValue;

namespace {
struct Keying {
    int count = 0;  // symbols across the window
    int levels = 2; // distinct symbol values
    int sym[16] = {};
    int at(int i) const { return sym[i * count / WAVE_DISP_POINTS]; }
};

// Two symbols, low then high: keying by a square wave.
Keying alternate()
{
    Keying k;
    k.count = 2;
    k.sym[0] = 0;
    k.sym[1] = 1;
    return k;
}

// Symbols taken from the channel's PN code, `bits` bits each.
Keying fromCode(CH_ID ch, int count, int bits, int levels)
{
    Keying k;
    k.count = count;
    k.levels = levels;
    CPrbs prbs(CPrbs::OrderOfCodeElement(sys_param::ch(ch).CodeElement));
    for (int s = 0; s < count; ++s) {
        int v = 0;
        for (int b = 0; b < bits; ++b)
            v = (v << 1) | prbs.Next();
        k.sym[s] = v % levels;
    }
    return k;
}

void drawSymbols(SWaveMem& w, const Keying& k)
{
    for (int i = 0; i < WAVE_DISP_POINTS; ++i)
        w.DispMod[i] = short(-100 + 200 * k.at(i) / (k.levels - 1));
}

// Carrier cycles per symbol, bounded so that the window holds 1 .. 40 cycles.
double cyclesPerSymbol(double carrier, double symbolRate, int count)
{
    const double hi = 40.0 / count;
    if (!(symbolRate > 0))
        return hi;
    return CWaveCreate::LimitRang(carrier / symbolRate, 1, hi);
}

// Frequency keying: symbol s runs at freqs[s]; phase-continuous.
void drawFrequencyKeying(CH_ID ch, const Keying& k, const double* freqs, double symbolRate)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *CWaveCreate::GetWaveMem(ch);
    drawSymbols(w, k);
    const double fc = d.Frequency > 0 ? d.Frequency : 1.0;
    const double perSymbol = cyclesPerSymbol(fc, symbolRate, k.count);
    const int len = CWaveCreate::DispBaseLen(ch);
    double phase = 0;
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        w.DispMixer[i] = carrierAt(w, len, phase);
        const double h = CWaveCreate::LimitRang(freqs[k.at(i)] / fc, 0.25, 4);
        phase += perSymbol * k.count / WAVE_DISP_POINTS * h;
    }
}

// Phase keying: symbol s shifts the carrier by phases[s] degrees.
void drawPhaseKeying(CH_ID ch, const Keying& k, const double* phases, double symbolRate)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *CWaveCreate::GetWaveMem(ch);
    drawSymbols(w, k);
    const double perSymbol = cyclesPerSymbol(d.Frequency, symbolRate, k.count);
    const int len = CWaveCreate::DispBaseLen(ch);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const double x = perSymbol * k.count * i / WAVE_DISP_POINTS + phases[k.at(i)] / 360.0;
        w.DispMixer[i] = carrierAt(w, len, x);
    }
}

// A pulse carrier hops by loading its frequencies as a list.
void setHopList(CH_ID ch, const double* freqs, int n)
{
    SWaveMem& w = *CWaveCreate::GetWaveMem(ch);
    double mx = freqs[0];
    for (int i = 0; i < n; ++i) {
        w.List[i] = freqs[i];
        if (freqs[i] > mx)
            mx = freqs[i];
    }
    w.ListLen = n;
    w.listmaxfre = mx;
}

void frequencyKeyed(CH_ID ch, const Keying& k, int hops)
{
    const CH_DATA& d = sys_param::ch(ch);
    buildModulatingTable(ch);
    const double freqs[4] = {d.Frequency, d.ModHopFre, d.ModHopFre2, d.ModHopFre3};
    if (d.BaseWave == BASE_Pulse)
        setHopList(ch, freqs, hops);
    drawFrequencyKeying(ch, k, freqs, d.ModFre * 2);
}
} // namespace

void CWaveCreate::CreateModASK(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    buildModulatingTable(ch);
    const Keying k = alternate();
    drawSymbols(w, k);
    // On-off keying: the carrier is silent for the low symbol.
    const double perSymbol = cyclesPerSymbol(d.Frequency, d.ModFre * 2, k.count);
    const int len = DispBaseLen(ch);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const double x = perSymbol * k.count * i / WAVE_DISP_POINTS;
        w.DispMixer[i] = k.at(i) ? carrierAt(w, len, x) : 0;
    }
}

void CWaveCreate::CreateModFSK(CH_ID ch) { frequencyKeyed(ch, alternate(), 2); }

void CWaveCreate::CreateMod3FSK(CH_ID ch) { frequencyKeyed(ch, fromCode(ch, 6, 2, 3), 3); }

void CWaveCreate::CreateMod4FSK(CH_ID ch) { frequencyKeyed(ch, fromCode(ch, 6, 2, 4), 4); }

void CWaveCreate::CreateModPSK(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    const double phases[2] = {0.0, double(d.Phase1)};
    drawPhaseKeying(ch, alternate(), phases, d.ModFre * 2);
}

void CWaveCreate::CreateModBPSK(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    const double phases[2] = {double(d.Phase1), double(d.Phase2)};
    drawPhaseKeying(ch, fromCode(ch, 8, 1, 2), phases, d.Bitrate);
}

void CWaveCreate::CreateModQPSK(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    const double phases[4] = {double(d.Phase1), double(d.Phase2), double(d.Phase3), double(d.Phase4)};
    drawPhaseKeying(ch, fromCode(ch, 6, 2, 4), phases, d.Bitrate / 2);
}

void CWaveCreate::CreateModQAM(CH_ID ch)
{
    // The screen draws the constellation instead; the traces show the four
    // quadrant phases of the symbols for completeness.
    const CH_DATA& d = sys_param::ch(ch);
    const double phases[4] = {45.0, 135.0, 225.0, 315.0};
    drawPhaseKeying(ch, fromCode(ch, 6, 2, 4), phases, d.Bitrate / 2);
}

void CWaveCreate::CreateModOSK(CH_ID ch)
{
    const CH_DATA& d = sys_param::ch(ch);
    SWaveMem& w = *GetWaveMem(ch);
    // One keying period: the carrier swells in over the oscillation time,
    // holds for the first half and dies away in the second.
    const double rate = d.ModRate > 0 ? d.ModRate : 1.0;
    const double cycles = wavepreview::cycleRatio(d.Frequency, rate, 4, 40);
    const double tau = LimitRang(d.ModOscTime * rate, 0.02, 0.25);
    const int len = DispBaseLen(ch);
    for (int i = 0; i < WAVE_DISP_POINTS; ++i) {
        const double t = double(i) / WAVE_DISP_POINTS;
        const bool on = t < 0.5;
        const double env = on ? LimitRang(t / tau, 0, 1) : LimitRang(1 - (t - 0.5) / tau, 0, 1);
        w.DispMod[i] = on ? 100 : -100;
        w.DispMixer[i] = dispValue(carrierAt(w, len, cycles * t) * env);
    }
}
