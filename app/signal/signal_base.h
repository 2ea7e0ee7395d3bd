#pragma once
// Base-waveform signals: one class per BASE_WAVE. The channel keeps one
// object of each, in BASE_WAVE order, plus a second square at BASE_Userdef.
#include "app/signal/csignal.h"

// Sine: the reference for the periodic waveforms. Exe programs, in order,
// the work mode (continuous only), the generator, the wave table when it
// changed, the carrier, the start phase and the amplitude path.
class Signal_sine : public Signal {
    Q_OBJECT
public:
    Signal_sine(CH_ID ch, QList<channelModel*>* list, int type = BASE_Sine) : Signal(ch, list, type) {}
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
    // The periodic list with the waveform's own entries after OFFSET/PHASE.
    void buildPeriodicList(int m, std::initializer_list<int> own);
    // Steps of the base programming shared by the waveforms.
    void stepWorkMode() const;   // 1: continuous only
    void stepGenerator() const;  // 2
    void stepUploadBase() const; // 3: Base table when it changed
    void stepCarrier() const;    // 4
    void stepPhase() const;      // 5: Phase1 under BPSK/QPSK, else Phase
    void stepAmplitude() const;  // 6
};

class Signal_Square : public Signal_sine {
    Q_OBJECT
public:
    Signal_Square(CH_ID ch, QList<channelModel*>* list, int type = BASE_Square) : Signal_sine(ch, list, type) {}
    void SignalSelected() override;
    void Exe() override;
    // Edge of the square made by the pulse generator, s.
    static double squareEdge(CH_ID ch) { return (ch == CH1 || ch == CH2) ? 1.4e-9 : 5e-9; }

protected:
    void buildParamList(int m) override;
};

class Signal_Ramp : public Signal_sine {
    Q_OBJECT
public:
    Signal_Ramp(CH_ID ch, QList<channelModel*>* list) : Signal_sine(ch, list, BASE_Ramp) {}
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_Pulse : public Signal_sine {
    Q_OBJECT
public:
    Signal_Pulse(CH_ID ch, QList<channelModel*>* list) : Signal_sine(ch, list, BASE_Pulse) {}
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_Arb : public Signal_sine {
    Q_OBJECT
public:
    Signal_Arb(CH_ID ch, QList<channelModel*>* list) : Signal_sine(ch, list, BASE_Arb) {}
    void SignalSelected() override;
    void Exe() override;
    // Sample-by-sample playback is possible on CH1/CH2 only.
    bool sampleMode() const;

protected:
    void buildParamList(int m) override;
};

class Signal_Harmonic : public Signal_sine {
    Q_OBJECT
public:
    Signal_Harmonic(CH_ID ch, QList<channelModel*>* list);
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_Noise : public Signal_sine {
    Q_OBJECT
public:
    Signal_Noise(CH_ID ch, QList<channelModel*>* list);
    void SignalSelected() override;
    void Exe() override;
    // Amplitude to program for a noise of nominal amplitude amp at bandwidth
    // bw: the generator's level depends on its bandwidth.
    static double NoiseAmpl(double amp, double bw);
    static const int kNoiseRows = 24;
    static const double kNoiseBandwidth[kNoiseRows];
    static const double kNoiseGain[kNoiseRows];

protected:
    void buildParamList(int) override {} // fixed list
};

class Signal_Dc : public Signal_sine {
    Q_OBJECT
public:
    Signal_Dc(CH_ID ch, QList<channelModel*>* list);
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int) override {} // fixed list
};

class Signal_PRBS : public Signal_sine {
    Q_OBJECT
public:
    Signal_PRBS(CH_ID ch, QList<channelModel*>* list) : Signal_sine(ch, list, BASE_Prbs) {}
    void SignalSelected() override;
    void Exe() override;

protected:
    void buildParamList(int m) override;
};
