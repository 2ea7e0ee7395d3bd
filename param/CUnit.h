#pragma once
// Amplitude unit conversions: Vpp, Vrms and dBm of each waveform, and the
// per-channel rms ratio of the wave currently in the wave memory. Loads are
// in ohms, 1000000 standing for high impedance.
#include "param/systype.h"

class CUnit {
public:
    // Vrms / Vpp of a waveform on a channel at a frequency.
    static double VppToVrmsRatio(CH_ID ch, BASE_WAVE wave, double freq);
    static double VppToVrms(CH_ID ch, BASE_WAVE wave, double vpp, double freq);
    static double VrmsToVpp(CH_ID ch, BASE_WAVE wave, double vrms, double freq);
    static double VppToDbm(CH_ID ch, BASE_WAVE wave, double vpp, double load, double freq);
    static double DbmToVpp(CH_ID ch, BASE_WAVE wave, double dbm, double load, double freq);
    static double VrmsToDbm(BASE_WAVE wave, double vrms, double load);
    static double DbmToVrms(BASE_WAVE wave, double dbm, double load);

    static double AmpDcOffsetToHigh(double amp, double offset) { return offset + amp / 2; }
    static double AmpDcOffsetToLow(double amp, double offset) { return offset - amp / 2; }
    static double HighLowToAmp(double high, double low) { return high - low; }
    static double HighLowToOffset(double high, double low) { return (high + low) / 2; }

    static double powerRatioTodB(double x);
    static double dBToPowerRatio(double x);
    static double VrmsRatioTodB(double x);

    // Crest factor (peak-to-peak / rms) of the band-limited noise generator.
    static double NoiseRatio(double bandwidth);
    // Rms of the Gaussian noise relative to its nominal peak-to-peak.
    static double GaussianNoiseRatioRatio() { return 0.2365919697485758; }

    // Rms ratio of the channel's wave table (1.0 until one was measured).
    static double GetArbVrms(CH_ID ch);
    static void SetArbVrms(CH_ID ch, double ratio);
    // Measures sqrt(sum(data^2) / fullScale^2 / n) into the channel's ratio.
    static void CalcVrmsRatioShort(CH_ID ch, const short* data, int n, double fullScale);

private:
    static double m_arbVrms[CH_Total];
};
