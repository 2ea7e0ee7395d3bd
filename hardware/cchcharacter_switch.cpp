#include "hardware/cchcharacter.h"
#include <QtGlobal>
#include "param/sys_param.h"

namespace {
// Gains of the switchable stages.
const double kAmplifierAC = 6.16;
const double kAmplifierDC = 6.0;
const double kAttenuator10 = 10.0;
const double kAttenuator3 = 3.0;
// Offset path from the offset DAC to the output without the amplifier: 2/11.
const double kOffsetPathGain = 0.18181818181818182;
} // namespace

AmpSWMap* CChCharacter::GetATTtoAmpMap(unsigned char code)
{
    for (AmpSWMap& m : AmpSWMaps)
        if (m.ATT == code)
            return &m;
    return nullptr;
}

const AmpSWMap* CChCharacter::GetATTtoAmpMap(unsigned char code) const
{
    for (const AmpSWMap& m : AmpSWMaps)
        if (m.ATT == code)
            return &m;
    return nullptr;
}

const AmpSWMap* CChCharacter::GetAmpATTMap(int index) const
{
    if (index < 0 || index >= int(AmpSWMaps.size()))
        return nullptr;
    return &AmpSWMaps[index];
}

// Full-scale amplitude of a code's range at the load; a code without a range
// is taken at the largest output.
double CChCharacter::GetMapAmp(unsigned char code) const
{
    const AmpSWMap* m = GetATTtoAmpMap(code);
    return (m ? m->amp : 20.0) * GetLoadGain();
}

// The smallest range that serves amplitude `amp` (Vpp at the load). The
// DC-only range (amp 0) is never the first fit of a positive amplitude
// because the smallest AC range comes before it.
const AmpSWMap* CChCharacter::GetACSWMap(double amp) const
{
    if (AmpSWMaps.empty())
        return nullptr;
    const double g = GetLoadGain();
    if (sys_param::ch(chId).Load == 0 || !(g > 0.0))
        return &AmpSWMaps.back();
    const double a = amp / g;
    for (const AmpSWMap& m : AmpSWMaps)
        if (a <= m.amp)
            return &m;
    return &AmpSWMaps.back();
}

unsigned char CChCharacter::GetACMapSW(double amp) const
{
    const AmpSWMap* m = GetACSWMap(amp);
    return m ? m->ATT : 0;
}

// The first range whose offset reach covers `dc` (offset magnitude at the
// load). The all-attenuator range has a wide offset reach but no usable AC
// path, so only a DC waveform may use it.
const AmpSWMap* CChCharacter::GetDCSWMap(double dc) const
{
    if (AmpSWMaps.empty())
        return nullptr;
    const double g = GetLoadGain();
    if (sys_param::ch(chId).Load == 0 || !(g > 0.0))
        return &AmpSWMaps.back();
    const bool dcWave = sys_param::ch(chId).BaseWave == BASE_DC;
    const double x = dc / g;
    for (const AmpSWMap& m : AmpSWMaps) {
        if (m.ATT == 15 && !dcWave)
            continue;
        if (x <= m.MaxDC)
            return &m;
    }
    return &AmpSWMaps.back();
}

unsigned char CChCharacter::GetDCMapSW(double dc) const
{
    const AmpSWMap* m = GetDCSWMap(dc);
    return m ? m->ATT : 0;
}

double CChCharacter::GetACGain(unsigned char code)
{
    double g = 1.0;
    if (code & ATT_AMPLIFIER)
        g *= kAmplifierAC;
    if (code & ATT_DIV10_A)
        g /= kAttenuator10;
    if (code & ATT_DIV10_B)
        g /= kAttenuator10;
    if (code & ATT_DIV3)
        g /= kAttenuator3;
    return g;
}

// The offset is added after the attenuators, so only the amplifier changes
// its gain.
double CChCharacter::calcDCGain(unsigned char code)
{
    double g = kOffsetPathGain;
    if (code & ATT_AMPLIFIER)
        g *= kAmplifierDC;
    return g;
}

double CChCharacter::GetDCGain(unsigned char code) { return calcDCGain(code); }

double CChCharacter::GetDcCalValue(unsigned char code, double v) const
{
    const AmpSWMap* m = GetATTtoAmpMap(code);
    if (!m) {
        qWarning("[error]f:%s could not find a,b ATT:%d", "GetDcCalValue", int(code));
        return v;
    }
    return m->DC_a * v + 2.0 * m->DC_b;
}
