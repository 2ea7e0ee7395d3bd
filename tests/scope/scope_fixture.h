#pragma once
// The controller on a simulated board with a scope on its outputs: settings go
// in through the controller as a remote client's would, the scope model reads
// only what the simulated FPGA received.
#include <QVector>
#include <algorithm>
#include <cmath>
#include "simboard/scope_measure.h"
#include "simboard/scope_model.h"
#include "tests/selection/selection_fixture.h"

class Scope : public Selection {
protected:
    void SetUp() override
    {
        // A fresh process: the program's memo of what the wave memory holds
        // must not survive into the next test's freshly powered FPGA.
        TestRig::resetProcessState();
        Selection::SetUp();
    }
    void set(int ch, int index, double value)
    {
        emit ctrl->setValueCmd(ch, index, value);
        settle();
    }
    // mode: 0 continuous, 1 modulation, 2 sweep, 3 burst; kind: the index in
    // that mode's list.
    void select(int ch, int wave, int mode = 0, int kind = 0)
    {
        ctrl->chSignalSelected(ch, 0, wave, true, wave);
        settle();
        if (mode != 0) {
            ctrl->chSignalSelected(ch, mode, kind, false, wave);
            settle();
        }
        ctrl->ChannelOnOff(CH_ID(ch), true);
        settle();
    }
    static ScopeModel probe(int ch, double loadOhms = 1e6)
    {
        return ScopeModel(ScopeChannelState::capture(fpga(), ch), loadOhms);
    }
    struct Trace {
        QVector<double> v;
        double dt = 0;
        ScopeMeasurements m;
    };
    static Trace capture(const ScopeModel& s, double span, int points)
    {
        Trace t;
        t.v = s.sample(span, points);
        t.dt = span / points;
        t.m = scopeMeasure(t.v, t.dt);
        return t;
    }
};
