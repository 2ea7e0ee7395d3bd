// Channel construction, signal lists, selection and the screen hooks.
#include "app/channel.h"
#include <QDebug>
#include <QMetaObject>
#include "app/channalmodel.h"
#include "app/ornav72.h"
#include "WaveView/psewave.h"
#include "app/signal/signal_base.h"
#include "app/signal/signal_mod.h"
#include "app/signal/signal_sweep.h"
#include "param/sys_param.h"

Channel::Channel() = default;

Channel::~Channel()
{
    // Signals hold pointers to the entries: they go first.
    qDeleteAll(baseSignal);
    qDeleteAll(modulateSignal);
    qDeleteAll(sweepSignal);
    qDeleteAll(burstSignal);
    qDeleteAll(chParaList);
}

channelModel* Channel::entry(int index) const
{
    return index >= 0 && index < chParaList.size() ? chParaList.at(index) : nullptr;
}

void Channel::InitSignal(CH_ID c)
{
    ch = c;
    channelInputParaInit(ch, chParaList);
    for (channelModel* m : chParaList)
        m->setParent(this);
    // Every output starts switched off.
    if (channelModel* out = entry(PARAM_INDEX_CHSWITCH))
        out->SetValue(0, 0);
    sys_param::SetChOnOff(ch, 0);
    InitBaseSignal();
    InitModulateSignal();
    InitSweepSignal();
    InitBurstSignal();
    InitChSetList();
    connectSlots();
    selectFromRecord();
}

void Channel::InitBaseSignal()
{
    QList<channelModel*>* l = &chParaList;
    baseSignal = {new Signal_sine(ch, l),  new Signal_Square(ch, l),
                  new Signal_Ramp(ch, l),  new Signal_Pulse(ch, l),
                  new Signal_Arb(ch, l),   new Signal_Harmonic(ch, l),
                  new Signal_Noise(ch, l), new Signal_Dc(ch, l),
                  new Signal_PRBS(ch, l),  new Signal_Square(ch, l, BASE_Userdef)};
}

void Channel::InitModulateSignal()
{
    QList<channelModel*>* l = &chParaList;
    modulateSignal = {new Signal_AM(ch, l),  new Signal_BAM(ch, l), new Signal_QAM(ch, l),  new Signal_ASK(ch, l),
                      new Signal_FM(ch, l),  new Signal_FSK(ch, l), new Signal_FSK3(ch, l), new Signal_FSK4(ch, l),
                      new Signal_PM(ch, l),  new Signal_PSK(ch, l), new Signal_BPSK(ch, l), new Signal_QPSK(ch, l),
                      new Signal_OSK(ch, l), new Signal_PWM(ch, l), new Signal_SUM(ch, l)};
}

void Channel::InitSweepSignal()
{
    QList<channelModel*>* l = &chParaList;
    sweepSignal = {new Signal_LINE(ch, l), new Signal_LOG(ch, l), new Signal_STEP(ch, l), new Signal_LIST(ch, l)};
}

void Channel::InitBurstSignal()
{
    QList<channelModel*>* l = &chParaList;
    burstSignal = {new Signal_NCYC(ch, l), new Signal_GATE(ch, l), new Signal_INFINITE(ch, l)};
}

void Channel::InitChSetList()
{
    // The channel's utility page: load, amplitude limits, sync output (only
    // CH1/CH2 have a sync channel), noise sum.
    QList<channelModel*> set;
    for (int i : {int(PARAM_INDEX_CHLOAD), int(PARAM_INDEX_CHAMPLIMIT), int(PARAM_INDEX_CHAMPLIMITH),
                  int(PARAM_INDEX_CHAMPLIMITL)})
        if (channelModel* m = entry(i))
            set.append(m);
    if (ch == CH1 || ch == CH2)
        for (int i : {int(PARAM_INDEX_CHSYNCOUT), int(PARAM_INDEX_CHSYNCREVERSE)})
            if (channelModel* m = entry(i))
                set.append(m);
    for (int i : {int(PARAM_INDEX_CHNOISESUMSW), int(PARAM_INDEX_CHNOISERATIO)})
        if (channelModel* m = entry(i))
            set.append(m);
    qvChSetlist = channelModeltoVariant(&set);
}

void Channel::connectSlots()
{
    const struct {
        int index;
        void (Channel::*slot)();
    } links[] = {
        {PARAM_INDEX_FREQ, &Channel::FrequencyChanged},
        {PARAM_INDEX_SAMPLERATE, &Channel::FrequencyChanged},
        {PARAM_INDEX_DUTYPULSE, &Channel::DutyChanged},
        {PARAM_INDEX_ARBSAMPLE, &Channel::ArbSampleChanged},
        {PARAM_INDEX_MODFREQ, &Channel::ModFrequencyChanged},
        {PARAM_INDEX_MODRATE, &Channel::ModFrequencyChanged},
        {PARAM_INDEX_BITRATE, &Channel::ModFrequencyChanged},
        {PARAM_INDEX_SWEEPTIME, &Channel::SweepTimeChanged},
        {PARAM_INDEX_SWEEPSTEP, &Channel::SweepStepsChanged},
        {PARAM_INDEX_BURSTTRIGPERIOD, &Channel::BurstPeroidChanged},
        {PARAM_INDEX_SWEEPSTARTFREQ, &Channel::SweepStartStopFreqChanged},
        {PARAM_INDEX_SWEEPENDFREQ, &Channel::SweepStartStopFreqChanged},
        {PARAM_INDEX_MODLISTFILE, &Channel::SweepStartStopFreqChanged},
        {PARAM_INDEX_PHASE, &Channel::PhaseChanged},
        {PARAM_INDEX_AMP, &Channel::AmplChanged},
        {PARAM_INDEX_CHNOISESUMSW, &Channel::NoiseSumSWChanged},
        {PARAM_INDEX_OFFSET, &Channel::OffsetlChanged},
        {PARAM_INDEX_CHMERGE, &Channel::MergeSetParaChanged},
        {PARAM_INDEX_CHREVERSE, &Channel::InversionChanged},
        {PARAM_INDEX_CHLOAD, &Channel::LoadChanged},
        {PARAM_INDEX_CHSWITCH, &Channel::OutPutChanged},
        {PARAM_INDEX_RISE, &Channel::RiseChanged},
        {PARAM_INDEX_FALL, &Channel::FallChanged},
        {PARAM_INDEX_CHAMPLIMITH, &Channel::limitVChanged},
        {PARAM_INDEX_CHAMPLIMITL, &Channel::limitVChanged},
        {PARAM_INDEX_CHAMPLIMIT, &Channel::limitChanged},
        {PARAM_INDEX_BURSTNCYNC, &Channel::BurstNCyncChanged},
        {PARAM_INDEX_HARMONICORDER, &Channel::HarmnicOderChanged},
        {PARAM_INDEX_TRIGOUT, &Channel::TrigOutChanged},
        {PARAM_INDEX_TRIGSOURCE, &Channel::TrigInSourceChanged},
        {PARAM_INDEX_TRIGSOURCEOSK, &Channel::TrigInSourceOSKChanged},
        {PARAM_INDEX_MODSOURCE, &Channel::ModSourceChanged},
        {PARAM_INDEX_FMFREQDEV, &Channel::ModFMDevChanged},
        {PARAM_INDEX_MODDEPTHAM, &Channel::ModAMDevChanged},
        {PARAM_INDEX_CHSYNCOUT, &Channel::SyncOutChanged},
        {PARAM_INDEX_CHSYNCREVERSE, &Channel::SynReverseChanged},
    };
    // Direct: the channel and its entries live in the GUI thread (the screens
    // bind to them), but a change the controller makes must be followed up
    // in the controller's thread. Queued into the GUI thread, the slot would
    // run beside the controller's own calls on the same entries and tables
    // (two threads assigning one entry's text freed it twice).
    for (const auto& l : links)
        if (channelModel* m = entry(l.index))
            connect(m, &channelModel::valueChanged, this, l.slot, Qt::DirectConnection);
}

// ---- selection -------------------------------------------------------------------

QVariantList Channel::switchToBase(int wave, int sub)
{
    if (wave < 0 || wave >= baseSignal.size()) {
        qWarning("%s type out of range", "switchToBase");
        return QVariantList();
    }
    sys_param::SetChBaseWave(ch, BASE_WAVE(wave));
    currentBaseSignal = baseSignal.at(wave);
    const u32 mode = sys_param::ch(ch).WorkMode;
    int selector = wave;
    if (mode == WORK_BASE) {
        currentSignal = currentBaseSignal;
    } else {
        // The carrier's list depends on the mode signal it carries.
        const QList<Signal*>* modeList = mode == WORK_MODULATION ? &modulateSignal
            : mode == WORK_SCAN                                  ? &sweepSignal
                                                                 : &burstSignal;
        if (sub >= 0 && sub < modeList->size())
            selector = modeList->at(sub)->type;
        else
            qWarning("%s type out of range", "switchToBase");
    }
    baselist = currentBaseSignal->getParamList(selector);
    pcurrentlist = &baselist;
    return channelModeltoVariant(&baselist);
}

QVariantList Channel::switchToMod(int index)
{
    if (index < 0 || index >= modulateSignal.size()) {
        qWarning("%s type out of range", "switchToMod");
        return QVariantList();
    }
    sys_param::SetChModType(ch, sys_param::modTypeOfIndex(index));
    currentSignal = modulateSignal.at(index);
    modlist = currentSignal->getParamList(currentSignal->type);
    pcurrentlist = &modlist;
    return channelModeltoVariant(&modlist);
}

QVariantList Channel::switchToScan(int index)
{
    if (index < 0 || index >= sweepSignal.size()) {
        qWarning("%s type out of range", "switchToScan");
        return QVariantList();
    }
    sys_param::SetChSweepType(ch, SWEEP_Type(index | WORK_SCAN));
    currentSignal = sweepSignal.at(index);
    modlist = currentSignal->getParamList(currentSignal->type);
    pcurrentlist = &modlist;
    return channelModeltoVariant(&modlist);
}

QVariantList Channel::switchToBurst(int index)
{
    if (index < 0 || index >= burstSignal.size()) {
        qWarning("%s type out of range", "switchToBurst");
        return QVariantList();
    }
    sys_param::SetChBurstType(ch, BURST_Type(index | WORK_BURST));
    currentSignal = burstSignal.at(index);
    modlist = currentSignal->getParamList(currentSignal->type);
    pcurrentlist = &modlist;
    return channelModeltoVariant(&modlist);
}

Signal* Channel::recordModeSignal() const
{
    const CH_DATA& d = sys_param::ch(ch);
    switch (d.WorkMode) {
    case WORK_MODULATION: {
        const int i = int(modIndexOf(d.ModType));
        return i < modulateSignal.size() ? modulateSignal.at(i) : nullptr;
    }
    case WORK_SCAN: {
        const int i = int(d.SweepType & 3);
        return i < sweepSignal.size() ? sweepSignal.at(i) : nullptr;
    }
    case WORK_BURST: {
        // A factory record holds 0 here: that reads as the N-cycle burst.
        const int i = int(d.BurstType & 3);
        return i < burstSignal.size() ? burstSignal.at(i) : nullptr;
    }
    default: return currentBaseSignal;
    }
}

void Channel::selectFromRecord()
{
    const CH_DATA& d = sys_param::ch(ch);
    int wave = int(d.BaseWave);
    if (wave < 0 || wave >= baseSignal.size())
        wave = BASE_Sine;
    Signal* mode = nullptr;
    int sub = 0;
    if (d.WorkMode == WORK_BASE) {
        currentBaseSignal = baseSignal.at(wave);
    } else {
        currentBaseSignal = baseSignal.at(wave);
        mode = recordModeSignal();
        if (!mode) {
            // A mode kind the record cannot name: continuous output.
            sys_param::SetChWorkMode(ch, WORK_BASE);
        } else {
            const QList<Signal*>& l = d.WorkMode == WORK_MODULATION ? modulateSignal
                : d.WorkMode == WORK_SCAN                           ? sweepSignal
                                                                    : burstSignal;
            sub = int(l.indexOf(mode));
        }
    }
    switchToBase(wave, sub);
    if (mode) {
        currentSignal = mode;
        modlist = mode->getParamList(mode->type);
        pcurrentlist = &modlist;
    }
}

// ---- screens --------------------------------------------------------------------------

QVariantList Channel::channelModeltoVariant(QList<channelModel*>* list)
{
    QVariantList out;
    if (!list)
        return out;
    // The screens build their rows from these entries: their shown copies
    // follow the record as it is now.
    for (channelModel* m : *list) {
        if (m)
            m->publishShown();
        out.append(QVariant::fromValue(static_cast<QObject*>(m)));
    }
    return out;
}

void Channel::qmlparamLoad()
{
    // The channel page rebuilds its entry list from Uidata's input list and
    // asks for the channel's mode and wave: from the copies published here.
    if (pOrnav72) {
        pOrnav72->ui().publishChannel(ch);
        emit pOrnav72->ui().chParamLoadRequested(int(ch));
    }
}

void Channel::setpse(PseWave* pse)
{
    for (const QList<Signal*>* l : {&baseSignal, &modulateSignal, &sweepSignal, &burstSignal})
        for (Signal* s : *l)
            s->SetPse(pse);
}

void Channel::updateScreenList()
{
    if (currentBaseSignal) {
        const u32 mode = sys_param::ch(ch).WorkMode;
        const int selector = (mode == WORK_BASE || !currentSignal) ? currentBaseSignal->type : currentSignal->type;
        baselist = currentBaseSignal->getParamList(mode == WORK_BASE ? int(sys_param::ch(ch).BaseWave) : selector);
    }
    if (currentSignal && currentSignal != currentBaseSignal)
        modlist = currentSignal->getParamList(currentSignal->type);
    qmlparamLoad();
}
