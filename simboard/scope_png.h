#pragma once
// A scope screenshot: a 10 x 8 division grid, one to four traces on a shared
// time base, each in its channel's screen colour with its own vertical scale
// and ground marker, the trigger point, and the measurements of each trace.
#include <QImage>
#include <QString>
#include <QVector>
#include "simboard/scope_measure.h"

struct ScopeTrace {
    int ch = 0;        // 0 = CH1 .. 3 = CH4
    QVector<double> v; // samples at i * dt
    ScopeMeasurements m;
    bool outputOn = true;
};

// The colour of a channel on the instrument's screens.
QColor scopeChannelColor(int ch);
// The first trace is the trigger source.
QImage scopeImage(const QVector<ScopeTrace>& traces, double dt, const QString& title);
