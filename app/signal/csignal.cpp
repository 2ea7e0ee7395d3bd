#include "app/signal/csignal.h"
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "WaveView/previewlock.h"
#include "app/channalmodel.h"
#include "WaveView/psewave.h"
#include "param/sys_param.h"

Signal::Signal(CH_ID c, QList<channelModel*>* list, int t) : ch(c), type(t), realType(t), psysparalist(list) {}

channelModel* Signal::entry(int index) const
{
    if (!psysparalist || index < 0 || index >= psysparalist->size())
        return nullptr;
    return psysparalist->at(index);
}

void Signal::add(int index)
{
    if (channelModel* m = entry(index))
        paramlist.append(m);
}

void Signal::setFixedList(std::initializer_list<int> indices)
{
    paramlist.clear();
    for (int i : indices)
        add(i);
}

void Signal::buildParamList(int) {}

QList<channelModel*> Signal::getParamList(int m)
{
    realType = m;
    buildParamList(m);
    for (channelModel* e : paramlist)
        e->curSignal = this;
    return paramlist;
}

void Signal::SignalSelected() {}

bool Signal::refresh(int index)
{
    channelModel* m = entry(index);
    return m ? m->UpdateRange() : true;
}

void Signal::reDeriveAmplitude()
{
    channelModel* amp = entry(PARAM_INDEX_AMP);
    if (!amp)
        return;
    const CH_DATA& d = sys_param::ch(ch);
    amp->mulitInputTypeSync(d.AmpMode != 0 ? 0 : d.AmpUnit);
}

void Signal::drawWave(bool force)
{
    std::lock_guard<std::mutex> lock(previewLock());
    switch (sys_param::ch(ch).WorkMode) {
    case WORK_MODULATION: CWaveCreate::CreateModWave(ch); break;
    case WORK_SCAN: CWaveCreate::CreateSweepWave(ch); break;
    case WORK_BURST: CWaveCreate::CreateBurstWave(ch); break;
    default: CWaveCreate::CreateBaseWave(ch, force); break;
    }
}

void Signal::Exe() {}

void Signal::updatePse()
{
    if (psewave)
        psewave->setCurSignal(this);
}

void Signal::paramSelected(channelModel* e)
{
    if (e == focuseParam)
        return;
    focuseParam = e;
    updatePse();
}

int Signal::indicatorType() const
{
    // Base waves only: a mode's preview has no dimension arrows.
    if (type >= int(BASE_Sine) && type <= int(BASE_Userdef) && focuseParam)
        return int(focuseParam->type);
    return -1;
}

channelModel* Signal::GetAmplOrHigh()
{
    for (channelModel* m : paramlist)
        if (m->type == EPT_Ampl)
            return m;
    return nullptr;
}

int listLength(const SWaveMem& w)
{
    if (w.ListLen < 0)
        return 0;
    return w.ListLen > WAVE_MOD_POINTS ? int(WAVE_MOD_POINTS) : w.ListLen;
}

// ---- mode signals ------------------------------------------------------------

bool Signal_mod::pulseCarrier() const { return sys_param::ch(ch).BaseWave == BASE_Pulse; }

void Signal_mod::TrigIO(bool uses, bool asInput) const { CSetParam::SetDigtalModTrigInOutReg(ch, uses, asInput); }

void Signal_mod::addModSourceList()
{
    const CH_DATA& d = sys_param::ch(ch);
    add(PARAM_INDEX_MODSOURCE);
    if (!d.ModSrc) {
        add(PARAM_INDEX_MODWAVE);
        if (d.ModWave == Mod_Arb)
            add(PARAM_INDEX_MODARBFILE);
        if (d.ModWave != Mod_Noise)
            add(PARAM_INDEX_MODFREQ);
    }
}

double Signal_mod::modulatingRate() const
{
    const CH_DATA& d = sys_param::ch(ch);
    // The noise source runs through the 8192-point table at the full
    // 1.25 GHz table clock.
    if (!d.ModSrc && d.ModWave == Mod_Noise)
        return 1.25e9 / 8192;
    return d.ModFre;
}

void Signal_mod::addTriggerList()
{
    const CH_DATA& d = sys_param::ch(ch);
    add(PARAM_INDEX_TRIGSOURCE);
    if (d.TrigerSource == TRIGSOURCE_INNER || d.TrigerSource == TRIGSOURCE_HANDL)
        add(PARAM_INDEX_TRIGOUT);
}

void Signal_mod::trigSetup() const
{
    const CH_DATA& d = sys_param::ch(ch);
    CSetParam::SetTrigSource(ch, d.TrigerSource);
    if (d.TrigerSource == TRIGSOURCE_EXTUP || d.TrigerSource == TRIGSOURCE_EXTDOWN) {
        // The trigger connector is an input.
        TrigIO(true, true);
    } else {
        TrigIO(d.TrigerOut != 0, false);
        if (d.TrigerOut != 0)
            CSetParam::SetEXT_TrigOutType(ch, d.TrigerOut > 1); // falling edge
    }
}

void Signal_mod::trigSyncStep() const
{
    const CH_DATA& d = sys_param::ch(ch);
    CSetParam::SetSyncManual(ch, d.SyncOut && d.TrigerSource != TRIGSOURCE_INNER);
}

void Signal_mod::loadPulseList() const
{
    const SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    CSetParam::SetPulseListSweepData(ch, w->List, listLength(*w));
}
