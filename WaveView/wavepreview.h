#pragma once
// Helpers shared by the modulation, sweep and burst previews. The carrier
// preview DispBase holds one carrier period over `len` points; the composite
// traces read it at a phase counted in carrier cycles.
#include <cmath>
#include "WaveView/CWaveGreate.h"

namespace wavepreview {

// Carrier preview at a phase in cycles (any real value).
inline short carrierAt(const SWaveMem& w, int len, double cycles)
{
    if (len <= 0 || !std::isfinite(cycles))
        return 0;
    const double f = cycles - std::floor(cycles);
    int idx = int(f * len);
    if (idx >= len)
        idx = len - 1;
    if (idx < 0)
        idx = 0;
    return w.DispBase[idx];
}

// A trace value rounded and bounded to the preview scale.
inline short dispValue(double v) { return short(std::lround(CWaveCreate::LimitRang(v, -100.0, 100.0))); }

// Carrier cycles per modulating period, bounded so the picture stays legible.
inline double cycleRatio(double carrier, double modulating, double lo, double hi)
{
    if (!(modulating > 0))
        return hi;
    return CWaveCreate::LimitRang(carrier / modulating, lo, hi);
}

} // namespace wavepreview

// Internal to the generator: the channel's modulating table (internal source:
// its modulating wave; external: a sine) and its 460-point picture.
void buildModulatingTable(CH_ID ch);
void modulatingTableToDisp(CH_ID ch);
// Rate of the internal modulating wave: the noise source runs at its own
// fixed rate, every other wave at ModFre.
double modulatingRate(CH_ID ch);
