#pragma once
// The automatic measurements of a bench oscilloscope, taken on a sampled
// trace: levels always; frequency, period and duty when at least two rising
// crossings of the mid level are seen; rise and fall time (10 % to 90 % of
// the swing) when an edge is resolved by the samples.
#include <QString>
#include <QVector>

struct ScopeMeasurements {
    double vmax = 0, vmin = 0, vpp = 0;
    double mean = 0, rms = 0;           // over whole periods when periodic
    bool periodic = false;
    double frequency = 0, period = 0;   // from the first to the last rising crossing
    double duty = 0;                    // percent of the period above the mid level
    bool hasRise = false, hasFall = false;
    double rise = 0, fall = 0;          // seconds, first resolved edge of each kind

    // The lines the scope prints ("Freq 1.00000 kHz", ...).
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
