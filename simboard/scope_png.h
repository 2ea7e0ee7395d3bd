#pragma once
// A scope screenshot of a sampled trace: a 10 x 8 division grid, the trace,
// the scales and the measurements.
#include <QImage>
#include <QString>
#include <QVector>
#include "simboard/scope_measure.h"

QImage scopeImage(const QVector<double>& v, double dt, const ScopeMeasurements& m, const QString& title);
