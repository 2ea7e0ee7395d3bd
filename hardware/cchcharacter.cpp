#include "hardware/cchcharacter.h"
#include <limits>

CChCharacter::CChCharacter(CH_ID id) : chId(id), LED(0), Bandwidth {}
{
    // Full-bandwidth figures until the board variant is known; start-up
    // replaces them with those of the fitted variant.
    InitBandwidth(0);
    InitAmpFreTab();
    InitAmpSWMap(20.0);
    SetAllDCCalValue(1.0, 0.0);
}

int CChCharacter::FlatnessWords(CH_ID ch) { return (ch == CH1 || ch == CH2) ? FlatnessWordsCh12 : FlatnessWordsCh34; }

CH_ID CChCharacter::PartnerOf(CH_ID ch)
{
    switch (ch) {
    case CH1: return CH2;
    case CH2: return CH1;
    case CH3: return CH4;
    case CH4: return CH3;
    default: return CH2;
    }
}

// Amplitude, offset and level the output amplifier can deliver, open
// circuit, falling with frequency. The fast channels (CH1/CH2) keep full
// swing to 40 MHz, the slower pair to 20 MHz; the last real row of each
// table catches every higher frequency.
void CChCharacter::InitAmpFreTab()
{
    const double top = std::numeric_limits<double>::max();
    if (chId == CH1 || chId == CH2) {
        AmpFreTables = {
            {40e6, 20.0, 10.0, 10.0}, {120e6, 10.0, 5.0, 5.0}, {160e6, 5.0, 5.0, 5.0}, {300e6, 4.0, 2.0, 4.0},
            {400e6, 2.5, 2.0, 3.25},  {500e6, 1.5, 2.0, 2.8},  {600e6, 1.0, 2.0, 2.5}, {top, 1.0, 2.0, 2.5},
        };
    } else {
        AmpFreTables = {
            {20e6, 20.0, 10.0, 10.0}, {80e6, 10.0, 5.0, 5.0}, {120e6, 5.0, 5.0, 5.0}, {200e6, 3.0, 2.0, 3.5},
            {top, 1.0, 2.0, 2.5},     {0.0, 0.0, 0.0, 0.0},   {0.0, 0.0, 0.0, 0.0},   {0.0, 0.0, 0.0, 0.0},
        };
    }
}

int CChCharacter::realRowCount() const
{
    int n = int(AmpFreTables.size());
    while (n > 1 && AmpFreTables[n - 1].fre <= 0.0)
        --n;
    return n;
}

// Output ranges in the order they are searched: the attenuated ranges from
// the smallest up, the DC-only range (all attenuators, code 15), the direct
// DAC output, and the two amplified ranges. Ranges 0..3 are too small to be
// measured well across frequency; they use the flatness shape of the /3
// range (code 8) scaled by their own gain.
void CChCharacter::InitAmpSWMap(double maxVpp)
{
    struct Row {
        double amp;
        unsigned char att, ref;
        double maxAmp, maxDC;
    };
    static const Row rows[] = {
        {0.004, 14, 8, 0.004, 2.0},          {0.011, 6, 8, 0.011, 2.0},
        {0.033, 12, 8, 0.036, 2.0},          {0.1, 4, 8, 0.1, 2.0},
        {0.3, 8, ATT_NONE_REF, 0.3, 2.0},    {0.0, 15, ATT_NONE_REF, 0.0, 10.0},
        {4.0, 0, ATT_NONE_REF, 4.0, 2.0},    {8.0, 9, ATT_NONE_REF, 7.0, 10.0},
        {20.0, 1, ATT_NONE_REF, 20.0, 10.0},
    };
    AmpSWMaps.clear();
    AmpSWMaps.reserve(sizeof(rows) / sizeof(rows[0]));
    for (const Row& r : rows) {
        AmpSWMap m;
        m.amp = r.amp;
        m.ATT = r.att;
        m.ATTRef = r.ref;
        m.MaxAmp = r.maxAmp;
        // The offset reach of a range never exceeds the output swing.
        m.MaxDC = r.maxDC > 10.0 ? maxVpp / 2.0 : r.maxDC;
        m.DC_a = 1.0;
        m.DC_b = 0.0;
        AmpSWMaps.push_back(m);
    }
}

// ---- LED word

u32 CChCharacter::ModeLed(u32 workMode)
{
    switch (workModeOf(workMode)) {
    case 0: return 0x8000;   // continuous
    case 1: return 0x10000;  // modulation
    case 2: return 0x4000;   // sweep
    default: return 0x20000; // burst
    }
}

u32 CChCharacter::WaveLed(u32 baseWave)
{
    switch (baseWave) {
    case BASE_Sine: return 0x2000;
    case BASE_Square: return 0x1000;
    case BASE_Ramp: return 0x800;
    case BASE_Pulse: return 0x400;
    case BASE_Arb: return 0x2;
    case BASE_Harmonic: return 0x4;
    case BASE_Noise: return 0x1;
    case BASE_DC: return 0x8;
    case BASE_Prbs: return 0x200;
    case BASE_Userdef: return 0x10;
    default: return 0;
    }
}

u32 CChCharacter::OutputLed(CH_ID ch)
{
    switch (ch) {
    case CH1: return 0x100;
    case CH2: return 0x20;
    case CH3: return 0x40;
    case CH4: return 0x80;
    default: return 0;
    }
}

void CChCharacter::SetModeLed(u32 workMode) { LED = (LED & LED_MODE_KEEP) | ModeLed(workMode); }

void CChCharacter::SetWaveLed(u32 baseWave) { LED = (LED & ~u32(LED_WAVE_MASK)) | WaveLed(baseWave); }
