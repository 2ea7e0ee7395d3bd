#pragma once
// Sweep and burst signals. Linear and logarithmic sweeps run as frequency
// modulation by a sweep-shaped modulating table; stepped and list sweeps use
// the FPGA's frequency-list mode. All of them, and the N-cycle and infinite
// bursts, share the trigger handling of Signal_mod.
#include "app/signal/csignal.h"

class Signal_LINE : public Signal_mod {
    Q_OBJECT
public:
    Signal_LINE(CH_ID ch, QList<channelModel*>* list, int type = ST_LINE);
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
    // Linear sweeps of a pulse that hardly move run as a plain pulse.
    virtual bool linear() const { return true; }
    // Duty entry back to percent, and the edge entries of a pulse carrier.
    void squareOrPulseCarrierSelected(bool refreshEdges);
};

class Signal_LOG : public Signal_LINE {
    Q_OBJECT
public:
    Signal_LOG(CH_ID ch, QList<channelModel*>* list) : Signal_LINE(ch, list, ST_LOG) {}

protected:
    bool linear() const override { return false; }
};

class Signal_STEP : public Signal_LINE {
    Q_OBJECT
public:
    Signal_STEP(CH_ID ch, QList<channelModel*>* list, int type = ST_STEP) : Signal_LINE(ch, list, type) {}
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
    // The frequency list into the list port (a pulse carrier: its edges).
    void loadList() const;
};

class Signal_LIST : public Signal_STEP {
    Q_OBJECT
public:
    Signal_LIST(CH_ID ch, QList<channelModel*>* list) : Signal_STEP(ch, list, ST_LIST) {}
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_NCYC : public Signal_mod {
    Q_OBJECT
public:
    Signal_NCYC(CH_ID ch, QList<channelModel*>* list);
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_GATE : public Signal_mod {
    Q_OBJECT
public:
    Signal_GATE(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
};

class Signal_INFINITE : public Signal_mod {
    Q_OBJECT
public:
    Signal_INFINITE(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};
