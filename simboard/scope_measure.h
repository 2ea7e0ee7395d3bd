#pragma once
// The automatic measurements of a bench oscilloscope, taken on a sampled
// trace the way its edge trigger sees it: rising crossings of the mid level
// (with a small hysteresis) mark the carrier's cycles. Measurements:
// - levels always;
// - carrier frequency, period and duty from consecutive cycles only: an
//   interval much longer than both of its neighbours is a gap (between
//   bursts, or where a deep AM envelope hides a few cycles), not a period;
// - bursts: gaps in which the output holds one level; the burst period is the
//   spacing of the bursts' first crossings and the cycles are counted per
//   burst;
// - modulation: the cycle-by-cycle frequency (lowest and highest: the
//   frequencies an FSK keys or a sweep covers), amplitude (AM depth) and
//   duty; the period of whichever varies most is the modulation period;
// - rise and fall time (10 % to 90 % of the swing) when an edge is resolved.
#include <QString>
#include <QVector>

struct ScopeMeasurements {
    double vmax = 0, vmin = 0, vpp = 0;
    double mean = 0, rms = 0; // over whole periods when periodic
    bool periodic = false;
    double frequency = 0, period = 0; // of the carrier: mean of its consecutive cycles
    double duty = 0;                  // percent of the carrier cycles above the mid level
    bool swept = false;               // the cycle frequency varies beyond the resolution
    double fmin = 0, fmax = 0;        // lowest and highest cycle frequency
    bool modulated = false;
    double modFrequency = 0; // of the slowest variation (envelope, frequency, duty)
    bool hasDepth = false;
    double depth = 0; // percent: (Amax - Amin) / (Amax + Amin) of the envelope
    bool burst = false;
    double burstPeriod = 0; // seconds between the starts of whole bursts
    int burstCycles = 0;    // rising crossings in one whole burst
    bool hasRise = false, hasFall = false;
    double rise = 0, fall = 0; // seconds, first resolved edge of each kind
    double trigger = -1;       // time of the first trigger (rising mid crossing); -1: none

    // The lines the scope prints ("Freq   1.00000 kHz", ...).
    QStringList lines() const;
};

// Samples v[i] taken at i * dt.
ScopeMeasurements scopeMeasure(const QVector<double>& v, double dt);

// Times of the rising crossings of `level` (linear interpolation), with a
// hysteresis of `hysteresis` volts below the level to re-arm.
QVector<double> scopeRisingCrossings(const QVector<double>& v, double dt, double level, double hysteresis);
QVector<double> scopeFallingCrossings(const QVector<double>& v, double dt, double level, double hysteresis);

// A value with an engineering prefix: "1.00000 kHz", "-500.000 mV".
QString scopeEng(double v, const QString& unit, int digits = 6);
