#pragma once
// Modulation signals, one class per MOD_Type. Each programs the FPGA work
// mode and the modulation registers after the carrier's base signal has
// programmed the carrier; every Exe ends with the sync output released from
// manual control.
#include "app/signal/csignal.h"

// Base waveforms that may carry a mode (bit n = BASE_WAVE n).
enum {
    BASEMASK_PERIODIC = 31, // sine, square, ramp, pulse, arbitrary
    BASEMASK_NO_PULSE = 23, // sine, square, ramp, arbitrary
    BASEMASK_SINE = 1,
    BASEMASK_PULSE = 8,
    BASEMASK_TO_NOISE = 127, // sine through noise
};

class Signal_AM : public Signal_mod {
    Q_OBJECT
public:
    Signal_AM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_BAM : public Signal_mod {
    Q_OBJECT
public:
    Signal_BAM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_QAM : public Signal_mod {
    Q_OBJECT
public:
    Signal_QAM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
};

class Signal_ASK : public Signal_mod {
    Q_OBJECT
public:
    Signal_ASK(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_FM : public Signal_mod {
    Q_OBJECT
public:
    Signal_FM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
    void SignalSelected() override;

protected:
    void buildParamList(int m) override;
};

class Signal_FSK : public Signal_mod {
    Q_OBJECT
public:
    Signal_FSK(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
    void SignalSelected() override;

protected:
    void buildParamList(int m) override;
};

class Signal_FSK3 : public Signal_mod {
    Q_OBJECT
public:
    Signal_FSK3(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
    void SignalSelected() override;
};

class Signal_FSK4 : public Signal_mod {
    Q_OBJECT
public:
    Signal_FSK4(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
    void SignalSelected() override;
};

class Signal_PM : public Signal_mod {
    Q_OBJECT
public:
    Signal_PM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_PSK : public Signal_mod {
    Q_OBJECT
public:
    Signal_PSK(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_BPSK : public Signal_mod {
    Q_OBJECT
public:
    Signal_BPSK(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
};

class Signal_QPSK : public Signal_mod {
    Q_OBJECT
public:
    Signal_QPSK(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
};

class Signal_OSK : public Signal_mod {
    Q_OBJECT
public:
    Signal_OSK(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};

class Signal_PWM : public Signal_mod {
    Q_OBJECT
public:
    Signal_PWM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;
    void SignalSelected() override;

protected:
    void buildParamList(int m) override;
};

class Signal_SUM : public Signal_mod {
    Q_OBJECT
public:
    Signal_SUM(CH_ID ch, QList<channelModel*>* list);
    void Exe() override;

protected:
    void buildParamList(int m) override;
};
