#pragma once
// Signal objects: what a channel outputs is described by a base signal (one
// class per base waveform) and, outside continuous mode, a mode signal (one
// class per modulation, sweep and burst kind). Each object knows which
// entries the screen shows for it, which entries must re-check their limits
// when it becomes current, which register operations program the FPGA for it
// and how its preview is drawn. Signals keep no waveform state of their own:
// every value is read from the parameter record at the moment of the call.
#include <initializer_list>
#include <QList>
#include <QObject>
#include <QString>
#include "param/global.h"
#include "WaveView/psewave.h"

class channelModel;
class PseWave;
class QPainter;

class Signal : public QObject, public PseIndicator {
    Q_OBJECT
public:
    Signal(CH_ID ch, QList<channelModel*>* list, int type);

    CH_ID ch;
    channelModel* focuseParam = nullptr;
    Signal* baseSignal = nullptr;
    PseWave* psewave = nullptr;
    int type;
    int realType;
    QList<channelModel*>* psysparalist;
    QList<channelModel*> paramlist;

public slots:
    // Records the selector, rebuilds the shown entries from the record,
    // binds them to this signal and returns a copy.
    virtual QList<channelModel*> getParamList(int realType);
    virtual void SignalSelected();
    virtual void drawWave(bool force);
    virtual void Exe();

public:
    void SetPse(PseWave* p) { psewave = p; }
    void updatePse();
    void paramSelected(channelModel* entry);
    int indicatorType() const override;
    channelModel* GetAmplOrHigh();

    // Entry PARAM_INDEX_x of the channel (null when the list lacks it).
    channelModel* entry(int index) const;

signals:
    void sendTipsMessage(int type, int index, bool status);
    void sendTipsMessage(int type, int index, bool status, QString header);

protected:
    // Rebuilds paramlist for selector m; classes with a fixed list keep the
    // one their constructor filled.
    virtual void buildParamList(int m);
    // Fills paramlist once with the given entries (fixed lists).
    void setFixedList(std::initializer_list<int> indices);
    void add(int index);
    // The entry's range rule; true when the value lay inside.
    bool refresh(int index);
    // Keeps the amplitude as entered and recomputes its other forms for the
    // waveform now current.
    void reDeriveAmplitude();
};

// Base of every modulation, sweep and burst class.
class Signal_mod : public Signal {
    Q_OBJECT
public:
    Signal_mod(CH_ID ch, QList<channelModel*>* list, int type, int basemask)
        : Signal(ch, list, type)
        , basemask(basemask)
    {
    }
    // Bit n set: base waveform n may carry this mode.
    int basemask;
    bool allowsBase(int wave) const { return wave >= 0 && wave < 31 && (basemask >> wave) & 1; }

protected:
    // The record's carrier is a pulse (its frequency changes go through the
    // FPGA's per-step edge tables).
    bool pulseCarrier() const;
    // SetDigtalModTrigInOutReg(ch, uses, asInput).
    void TrigIO(bool uses, bool asInput) const;
    // Modulating-source entries: MODSOURCE; internal: MODWAVE, MODARBFILE
    // for an arbitrary modulating wave, MODFREQ unless noise.
    void addModSourceList();
    // Rate of the modulating wave: the noise source's own rate when
    // internal noise, else ModFre.
    double modulatingRate() const;
    // Trigger entries of sweeps and bursts: TRIGSOURCE, then TRIGOUT for an
    // internal or manual trigger.
    void addTriggerList();
    // Trigger steps 1..3 of sweeps and bursts, and the closing sync step.
    void trigSetup() const;
    void trigSyncStep() const;
    // SetPulseListSweepData from the wave memory's frequency list.
    void loadPulseList() const;
};

struct SWaveMem;
// Points of the wave memory's frequency list that exist (ListLen bounded to
// the list's 2048 entries).
int listLength(const SWaveMem& w);

// Selector tests (m: a base-wave index in continuous mode, else the active
// MOD_Type / SWEEP_Type / BURST_Type).
inline bool isContinuousKind(int m) { return (m & 0xF000) == 0; }
inline bool isModulationKind(int m) { return (m & 0xF000) == 0x1000; }
inline bool isSweepKind(int m) { return (m & 0xF000) == 0x2000; }
inline bool isBurstKind(int m) { return (m & 0xF000) == 0x3000; }
inline bool isAmplClassMod(int m) { return (m & 0xF0) == 0x40; }
inline bool isPhaseClassMod(int m) { return (m & 0xF0) == 0x80; }
inline bool isFreqClassMod(int m) { return (m & 0xF0) == 0xC0; }
