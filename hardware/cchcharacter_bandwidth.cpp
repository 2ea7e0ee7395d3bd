#include "hardware/cchcharacter.h"

namespace {
// Per waveform, MHz: sine, square, pulse, ramp, harmonic, arb, PRBS.
struct BandwidthRow {
    double sine, square, pulse, ramp, harmonic, arb, prbs;
};
const BandwidthRow kFastFull = {600, 200, 200, 30, 300, 100, 120};
const BandwidthRow kFast400 = {400, 160, 160, 20, 200, 80, 80};
const BandwidthRow kFast200 = {200, 120, 120, 20, 100, 60, 80};
const BandwidthRow kSlowFull = {200, 60, 60, 10, 100, 60, 60};
const BandwidthRow kSlow400 = {160, 50, 50, 8, 80, 50, 40};
const BandwidthRow kSlow200 = {120, 40, 40, 3, 60, 40, 20};

const double kMinFreq = 1e-6; // lowest carrier of every periodic waveform
const double kNoiseMinFreq = 0.001;
} // namespace

void CChCharacter::InitBandwidth(unsigned variant)
{
    const bool fast = (chId == CH1 || chId == CH2);
    const BandwidthRow* r;
    if (variant == 200)
        r = fast ? &kFast200 : &kSlow200;
    else if (variant == 400)
        r = fast ? &kFast400 : &kSlow400;
    else
        r = fast ? &kFastFull : &kSlowFull;
    Bandwidth.freqSine = r->sine * 1e6;
    Bandwidth.freqSquare = r->square * 1e6;
    Bandwidth.freqPulse = r->pulse * 1e6;
    Bandwidth.freqRamp = r->ramp * 1e6;
    Bandwidth.freqHarmonic = r->harmonic * 1e6;
    Bandwidth.freqArb = r->arb * 1e6;
    Bandwidth.freqPseudo = r->prbs * 1e6;
}

bool CChCharacter::GetBWFreScope(int wave, double& min, double& max) const
{
    min = kMinFreq;
    switch (wave) {
    case BASE_Sine: max = Bandwidth.freqSine; return true;
    case BASE_Square: max = Bandwidth.freqSquare; return true;
    case BASE_Ramp: max = Bandwidth.freqRamp; return true;
    case BASE_Pulse: max = Bandwidth.freqPulse; return true;
    case BASE_Arb:
    case BASE_Userdef: // a user-drawn wave plays like an arbitrary wave
        max = Bandwidth.freqArb;
        return true;
    case BASE_Harmonic: max = Bandwidth.freqHarmonic; return true;
    case BASE_Prbs: max = Bandwidth.freqPseudo; return true;
    case BASE_Noise:
        min = kNoiseMinFreq;
        max = Bandwidth.freqSine;
        return true;
    case BASE_DC: max = kMinFreq; return true;
    default: max = kMinFreq; return false;
    }
}
