#pragma once
// Channel: one output channel. It owns the channel's editing entries and one
// object of every signal class, keeps the current base signal and mode
// signal, reacts to every entry change by re-deriving the limits of the
// entries that depend on it, and asks the controller to apply the channel
// (signalUpdated, queued to the controller's chParamChanged). Applying
// (ChannelExe) programs the FPGA through the current signals.
#include <atomic>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <functional>
#include "param/global.h"

class channelModel;
class Signal;
class PseWave;

class Channel : public QObject {
    Q_OBJECT
public:
    Channel();
    ~Channel() override;

    // ---- fields -------------------------------------------------------------
    CH_ID ch = CH1;
    bool lastOnoff = false;
    int alterfun = CHANNEL_ALTERFUN_CLOSED;
    Channel* pFriendCh = nullptr;
    Channel* pSyncCh = nullptr;
    std::atomic<bool> safeOff {false};
    QList<channelModel*> chParaList;
    QList<channelModel*>* pcurrentlist = nullptr;
    QList<channelModel*> baselist;
    QList<channelModel*> modlist;
    QVariantList qvChSetlist;
    QList<Signal*> baseSignal;
    QList<Signal*> modulateSignal;
    QList<Signal*> sweepSignal;
    QList<Signal*> burstSignal;
    Signal* currentBaseSignal = nullptr;
    Signal* currentSignal = nullptr;
    // The controller's check of the shared trigger/FSK connector: true when
    // another user holds it (names lists them). Unset: no conflict.
    std::function<bool(CH_ID ch, QString& names)> conflictCheck;
    // The coupling entries of this channel's pair, in parameter-index order
    // from PARAM_INDEX_CHCOUPLEFREQSW (handed over by the controller, which
    // owns them). Unset: the pair's settings have no entries.
    const QList<channelModel*>* coupleParaList = nullptr;

    void InitSignal(CH_ID ch);
    void InitBaseSignal();
    void InitModulateSignal();
    void InitSweepSignal();
    void InitBurstSignal();
    void InitChSetList();

    // Selection; each returns the parameter list for the screens (empty for
    // an index outside the list).
    QVariantList switchToBase(int wave, int sub);
    QVariantList switchToMod(int index);
    QVariantList switchToScan(int index);
    QVariantList switchToBurst(int index);
    // Selects the base signal and the mode signal the record names.
    void selectFromRecord();
    // The mode signal of the record's work mode (the base signal in
    // continuous mode).
    Signal* recordModeSignal() const;

    void ChannelExe();

    // ---- limits ---------------------------------------------------------------
    double GetMaxFreq() const;
    bool GetMinMaxFreqency(double& min, double& max) const;
    double GetMaxLimitAmpl() const;
    bool CheckLimit(int index, channelModel* high, channelModel* low);

    // ---- coupling within the pair ----------------------------------------------
    // The partner's value for this (source) channel's value v.
    static double GetCoupleFrequency(CH_ID source, double v);
    static double GetCoupleAmpl(CH_ID source, double v);
    static double GetCouplePhase(CH_ID source, double v);
    static CH_ID pairOf(CH_ID ch) { return (ch == CH1 || ch == CH2) ? COUPLE12 : COUPLE34; }
    void AmplFunctionANoiseSum(bool on);
    void AmplFunctionAlimit(bool on);
    void AmplFunctionMerge(bool on);
    void AmplFunctionACouple(bool on);
    // Brings this channel's entry `own` to the value the partner's entry
    // needs under `rule` (the partner's value is kept unless this channel
    // cannot reach it). Returns whether the partner's value fitted.
    bool paramCouple(channelModel* own, channelModel* partner, std::function<double(CH_ID, double)> rule);
    // Coupling entry PARAM_INDEX_x of this channel's pair (null without it).
    channelModel* coupleEntry(int index) const;

    // ---- screens ------------------------------------------------------------------
    void qmlparamLoad();
    void setpse(PseWave* pse);
    static QVariantList channelModeltoVariant(QList<channelModel*>* list);
    // Entry PARAM_INDEX_x of this channel (null outside the list).
    channelModel* entry(int index) const;

public slots:
    void baseChanged();
    void ModFrequencyChanged();
    void SweepTimeChanged();
    void SweepStepsChanged();
    void SyncFreq(bool apply);
    void SyncFreq();
    void limitVChanged();
    void limitChanged();
    void CopyClicked();
    void SyncOutChanged();
    void SynReverseChanged();
    void LoadChanged();
    void InversionChanged();
    void SweepStartStopFreqChanged();
    void OutPutChanged();
    void FrequencyChanged();
    void ArbSampleChanged();
    void DutyChanged();
    void PhaseChanged();
    void AmplChanged();
    void OffsetlChanged();
    void RiseChanged();
    void FallChanged();
    void NoiseSumSWChanged();
    void BurstNCyncChanged();
    void BurstPeroidChanged();
    void HarmnicOderChanged();
    void TrigOutChanged();
    void TrigInSourceChanged();
    void TrigInSourceOSKChanged();
    void ModSourceChanged();
    void ModAMDevChanged();
    void ModFMDevChanged();
    void MergeSetParaChanged();
    // A coupling setting of the pair changed (the entries of the pair's
    // first channel are connected to these).
    void FreCoupleSetParaChanged();
    void AmpCoupleSetParaChanged();
    void PhaCoupleSetParaChanged();
    // Phase coupling and merge need the system's phase synchronisation.
    void channelFourcePhaseSync(bool on, int tip);

signals:
    // The channel's parameters changed; the controller applies it.
    void signalUpdated(int ch);
    // A notice for the user (MESSAGE_TYPE, index, status, header).
    void sendTipsMessage(int type, int index, bool status, QString header);
    // What the screens and the controller must follow; the controller
    // connects them once, directly, when it makes the channel.
    // The amplitude-coupling switch of a pair is masked or free again.
    void coupleAmplMaskChanged(CH_ID pair, bool masked);
    // Merging is barred (or allowed again) for this channel.
    void mergeMaskChanged(CH_ID ch, bool disabled);
    // Phase coupling or merging changed: the phases must be synchronised
    // (on, with the tip shown when the mode had to be switched) or may be free.
    void phaseSyncNeeded(bool on, int tip);
    // The coupling type of a pair changed: its list of entries changes.
    void coupleTypeChanged(CH_ID pair);
    // Coupling or merging of this channel changed: its copy button follows.
    void copyButtonDisplayChanged(CH_ID ch);
    void mergeDisplayChanged(CH_ID ch);
    void loadDisplayChanged(CH_ID ch);
    void reverseDisplayChanged(CH_ID ch);
    void limitDisplayChanged(CH_ID ch);
    void switchDisplayChanged(CH_ID ch, bool on);
    // The sync output switch changed: CH3/CH4 follow CH1/CH2 or not.
    void syncOutputChanged(CH_ID ch);
    // The trigger source changed: the manual trigger key follows.
    void handTriggerChanged(CH_ID ch);
    // The user asked to copy this channel to its partner.
    void copyRequested(CH_ID ch);

private:
    void connectSlots();
    // Range rule of entry index; true when its value lay inside.
    bool refresh(int index);
    bool refreshOf(Channel* c, int index);
    void refreshPulseHops(u32 modType);
    // Common ending of the slots: the preview, then the apply request.
    void redrawPreview();
    void finish();
    // Rebuilds the shown lists from the current signals and reloads them
    // on the screen.
    void updateScreenList();
    // Pushes a coupled value c into the partner's entry `index`; false when
    // it is outside the partner's range.
    bool coupleToPartner(int index, double c, const char* what);
    // Common part of the three coupling-setting slots; `first` is the
    // quantity's switch index, `valueIndex` the channel entry it couples.
    void coupleSettingChanged(int first, int valueIndex);
    // Writes v into entry m of channel c as an edit would (record, other
    // input forms, precision, change processing).
    static void pushValue(channelModel* m, CH_ID c, double v);
    // The connector check of the controller; names lists the other users.
    bool ioConflict(QString& names) const;
    void refuseForConflict(int index, int tip, const QString& names);
    void setEntryQuiet(int index, double v);
    BASE_WAVE wave() const;
    bool merges() const;
    bool partnerMerges() const;
};
