// Reactions of a channel to its entries: each re-derives the limits of the
// entries that depend on the changed value, redraws the preview and asks for
// the channel to be applied.
#include "app/channel.h"
#include <QDebug>
#include <algorithm>
#include <cmath>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel.h"
#include "app/signal/csignal.h"
#include "param/sys_param.h"

// ---- helpers ---------------------------------------------------------------------

bool Channel::refresh(int index) { return refreshOf(this, index); }

bool Channel::refreshOf(Channel* c, int index)
{
    channelModel* m = c ? c->entry(index) : nullptr;
    return m ? m->UpdateRange() : true;
}

void Channel::redrawPreview()
{
    if (currentSignal) {
        currentSignal->drawWave(false);
        currentSignal->updatePse();
    }
}

void Channel::finish()
{
    redrawPreview();
    emit signalUpdated(ch);
}

bool Channel::ioConflict(QString& names) const { return conflictCheck && conflictCheck(ch, names); }

void Channel::setEntryQuiet(int index, double v)
{
    channelModel* m = entry(index);
    if (!m)
        return;
    if (const DataInfo* d = m->descriptor(0); d && d->SetValue)
        d->SetValue(ch, v);
    m->disUpdate();
}

void Channel::refuseForConflict(int index, int tip, const QString& names)
{
    setEntryQuiet(index, 0);
    Sys_Error(SCPI_ERROR_IO_CONFILICT);
    emit sendTipsMessage(MESSAGE_TYPE_TIPS, tip, false, names);
}

// ---- selection --------------------------------------------------------------------

void Channel::baseChanged()
{
    if (currentBaseSignal)
        currentBaseSignal->SignalSelected();
    if (sys_param::ch(ch).WorkMode != WORK_BASE && currentSignal && currentSignal != currentBaseSignal)
        currentSignal->SignalSelected();
    finish();
}

// ---- carrier --------------------------------------------------------------------------

void Channel::FrequencyChanged()
{
    const CH_DATA& d = sys_param::ch(ch);
    const BASE_WAVE w = wave();
    if (sys_param::GetChCoupleFreqSW(pairOf(ch)) != 0 && !(w == BASE_Arb && d.ArbSample))
        coupleToPartner(PARAM_INDEX_FREQ, GetCoupleFrequency(ch, d.Frequency), "freq");

    if (!refresh(PARAM_INDEX_AMP) && d.noiseSumSW && w != BASE_Noise)
        refresh(PARAM_INDEX_CHNOISERATIO);
    refresh(PARAM_INDEX_OFFSET);
    if (w == BASE_Square || w == BASE_Pulse)
        refresh(PARAM_INDEX_DUTYPULSE);
    if (w == BASE_Pulse) {
        refresh(PARAM_INDEX_RISE);
        refresh(PARAM_INDEX_FALL);
    }
    if (w == BASE_Prbs)
        refresh(PARAM_INDEX_PRBSEDGETIME);
    if (w == BASE_Harmonic) {
        refresh(PARAM_INDEX_HARMONICORDER);
        refresh(PARAM_INDEX_HARMONICUSERTYPE);
    }
    if (d.WorkMode == WORK_MODULATION) {
        const bool pulse = w == BASE_Pulse;
        switch (d.ModType) {
        case MT_FM:
            refresh(PARAM_INDEX_FMFREQDEV);
            if (pulse)
                refresh(PARAM_INDEX_MODFREQ);
            break;
        default:
            if (pulse)
                refreshPulseHops(d.ModType);
            break;
        }
    }
    if (d.WorkMode == WORK_BURST && (d.BurstType & 3) == (BT_NCYC & 3)) {
        refresh(PARAM_INDEX_BURSTTRIGPERIOD);
        refresh(PARAM_INDEX_BURSTNCYNC);
    }
    if (merges()) {
        refreshOf(pFriendCh, PARAM_INDEX_AMP);
        refreshOf(pFriendCh, PARAM_INDEX_OFFSET);
    }
    redrawPreview();
    SyncFreq(true);
    emit signalUpdated(ch);
}

void Channel::ArbSampleChanged()
{
    updateScreenList();
    FrequencyChanged();
}

void Channel::DutyChanged()
{
    if (wave() == BASE_Pulse) {
        refresh(PARAM_INDEX_RISE);
        refresh(PARAM_INDEX_FALL);
    }
    const CH_DATA& d = sys_param::ch(ch);
    if (d.WorkMode == WORK_MODULATION && d.ModType == MT_PWM)
        refresh(PARAM_INDEX_MODPWMDUTYDEV);
    finish();
}

void Channel::RiseChanged()
{
    if (wave() == BASE_Pulse)
        refresh(PARAM_INDEX_FALL);
    const CH_DATA& d = sys_param::ch(ch);
    if (d.WorkMode == WORK_MODULATION && d.ModType == MT_PWM)
        refresh(PARAM_INDEX_MODPWMDUTYDEV);
    finish();
}

void Channel::FallChanged()
{
    if (wave() == BASE_Pulse)
        refresh(PARAM_INDEX_RISE);
    const CH_DATA& d = sys_param::ch(ch);
    if (d.WorkMode == WORK_MODULATION && d.ModType == MT_PWM)
        refresh(PARAM_INDEX_MODPWMDUTYDEV);
    finish();
}

void Channel::PhaseChanged()
{
    if (sys_param::GetChCouplePhaseSW(pairOf(ch)) != 0)
        coupleToPartner(PARAM_INDEX_PHASE, GetCouplePhase(ch, sys_param::ch(ch).Phase), "phase");
    finish();
}

// ---- amplitude and offset ---------------------------------------------------------------

void Channel::AmplChanged()
{
    const CH_DATA& d = sys_param::ch(ch);
    if (sys_param::GetChCoupleAmplSW(pairOf(ch)) != 0)
        coupleToPartner(PARAM_INDEX_AMP, GetCoupleAmpl(ch, d.Vpp), "amp");
    if (partnerMerges() && pFriendCh) {
        if (pFriendCh->wave() != BASE_DC)
            refreshOf(pFriendCh, PARAM_INDEX_AMP);
        refreshOf(pFriendCh, PARAM_INDEX_OFFSET);
    }
    if (wave() != BASE_DC) {
        double high = 0, low = 0, offMax = 0;
        CSetParam::state.pCharacter[ch].GetMaxHighLow(GetMaxFreq(), high, low, offMax);
        if (d.AmpMode == 0) {
            if (high < d.Vpp / 2 + d.Offset || d.Offset - d.Vpp / 2 < low) {
                qWarning("offset out range change it!");
                double m = (high - low - std::fabs(d.Vpp)) / 2;
                if (m < 0.001)
                    m = 0;
                m = std::min(m, offMax);
                const double mid = (high + low) / 2;
                if (channelModel* off = entry(PARAM_INDEX_OFFSET))
                    off->SetValueWitheCheck(d.Offset, mid - m, mid + m, 0);
            }
        } else {
            channelModel* lowEntry = entry(PARAM_INDEX_OFFSET);
            const DataInfo* li = lowEntry ? lowEntry->descriptor(1) : nullptr;
            if (li) {
                const double top = d.High - CChCharacter::GetLoadRate(ch) * 0.002;
                if (lowEntry->SetValueWitheCheck(d.Low, li->Min, top, 1))
                    if (channelModel* amp = entry(PARAM_INDEX_AMP))
                        amp->mulitInputTypeSync(1);
            }
        }
    }
    refresh(PARAM_INDEX_CHNOISERATIO);
    finish();
}

void Channel::OffsetlChanged()
{
    const CH_DATA& d = sys_param::ch(ch);
    const double g = CSetParam::state.pCharacter[ch].GetLoadGain();
    const double minAmp = g * 0.002;
    if (partnerMerges()) {
        refreshOf(pFriendCh, PARAM_INDEX_AMP);
        refreshOf(pFriendCh, PARAM_INDEX_OFFSET);
    }
    channelModel* amp = entry(PARAM_INDEX_AMP);
    if (wave() == BASE_DC) {
        double max = CSetParam::state.pCharacter[ch].GetMaxAmpAtFreq(0) / 2;
        const CH_DATA& p = sys_param::ch(CChCharacter::PartnerOf(ch));
        if (merges()) {
            if (p.BaseWave != BASE_DC)
                max -= p.Vpp / 2;
            max -= p.Offset;
        } else if (partnerMerges()) {
            max -= minAmp;
        }
        if (channelModel* off = entry(PARAM_INDEX_OFFSET))
            off->SetRange(-max, max, 0);
    } else if (amp) {
        double high = 0, low = 0, offMax = 0;
        CSetParam::state.pCharacter[ch].GetMaxHighLow(GetMaxFreq(), high, low, offMax);
        bool changed = false;
        if (d.AmpMode != 0) {
            const DataInfo* hi = amp->descriptor(3);
            if (hi)
                changed = !amp->SetValueWitheCheck(d.High, d.Low + minAmp, hi->Max, 3);
        } else {
            double a = GetMaxLimitAmpl();
            if (high < d.Vpp / 2 + d.Offset || d.Offset - d.Vpp / 2 < low) {
                qWarning("amp out range change it!");
                a = std::max(minAmp, std::min(high - low - 2 * std::fabs(d.Offset), a));
            }
            changed = !amp->SetValueWitheCheck(d.Vpp, minAmp, a, 0);
        }
        if (changed)
            amp->mulitInputTypeSync(d.AmpMode != 0 ? 3 : d.AmpUnit);
    }
    finish();
}

void Channel::LoadChanged()
{
    CH_DATA& d = sys_param::ch(ch);
    const double gNew = CChCharacter::GetLoadGain(double(d.Load));
    const double gOld = CChCharacter::GetLoadGain(double(sys_param::bkLoad));
    // Levels are kept as seen at the load: they scale with the divider.
    const double r = gOld > 0 ? gNew / gOld : 1.0;
    CH_DATA& pairRec = sys_param::coupleRecord(pairOf(ch));
    const bool coupled = pairRec.ChCoupleAmplSW;
    pairRec.ChCoupleAmplSW = false;
    if (std::fabs(r - 1) > 1e-12) {
        sys_param::SetChAmplLimitH(ch, d.LimitH * r);
        sys_param::SetChAmplLimitL(ch, d.LimitL * r);
        sys_param::SetChVpp(ch, d.Vpp * r);
        sys_param::SetChOffset(ch, d.Offset * r);
        for (double& h : d.HarmonicSnAmp)
            h *= r;
        if (channelModel* amp = entry(PARAM_INDEX_AMP))
            amp->mulitInputTypeSync(0);
    }
    pairRec.ChCoupleAmplSW = coupled;
    // dBm means nothing without a defined load.
    if (d.Load >= u32(CChCharacter::HighR) && d.AmpUnit == 2)
        if (channelModel* amp = entry(PARAM_INDEX_AMP))
            amp->unitClicked(-1);
    refresh(PARAM_INDEX_AMP);
    refresh(PARAM_INDEX_OFFSET);
    for (int i : {int(PARAM_INDEX_AMP), int(PARAM_INDEX_OFFSET), int(PARAM_INDEX_CHAMPLIMITH),
                  int(PARAM_INDEX_CHAMPLIMITL), int(PARAM_INDEX_HARMONICSNAMP)})
        if (channelModel* m = entry(i))
            m->disUpdate();
    if (pFriendCh && (merges() || partnerMerges())) {
        const CH_ID p = pFriendCh->ch;
        if (sys_param::ch(p).Load != d.Load) {
            // A merged pair shares one load.
            if (channelModel* pl = pFriendCh->entry(PARAM_INDEX_CHLOAD)) {
                pl->SetValue(double(d.Load), 0);
            } else {
                sys_param::SetChLoad(p, double(d.Load));
            }
            emit sendTipsMessage(MESSAGE_TYPE_TIPS, TIPS_MERGE_MUST_EQUAL_LOAD, false, QString());
        }
    }
    emit signalUpdated(ch);
    emit loadDisplayChanged(ch);
    if (coupled && pFriendCh)
        if (channelModel* po = pFriendCh->entry(PARAM_INDEX_OFFSET))
            po->announceValue();
}

void Channel::InversionChanged() { emit reverseDisplayChanged(ch); }

// ---- output, sync, trigger --------------------------------------------------------------

void Channel::OutPutChanged()
{
    const bool on = sys_param::GetChOnOff(ch) != 0;
    QString names;
    if (on && alterfun == CHANNEL_ALTERFUN_CLOSED && ioConflict(names)) {
        refuseForConflict(PARAM_INDEX_CHSWITCH, TIPS_IOCONFILICT_RETRY, names);
        return;
    }
    emit switchDisplayChanged(ch, on);
    if (pSyncCh && sys_param::ch(ch).SyncOut) {
        sys_param::SetChOnOff(pSyncCh->ch, on ? 1 : 0);
        emit switchDisplayChanged(pSyncCh->ch, on);
        emit pSyncCh->signalUpdated(pSyncCh->ch);
    }
    if (on && pFriendCh && sys_param::GetChOnOff(pFriendCh->ch) != 0 && pFriendCh->merges())
        emit pFriendCh->signalUpdated(pFriendCh->ch);
    emit signalUpdated(ch);
}

void Channel::TrigOutChanged()
{
    QString names;
    if (sys_param::GetChOnOff(ch) != 0 && ioConflict(names)) {
        refuseForConflict(PARAM_INDEX_TRIGOUT, TIPS_IOCONFILICT_BEMODFY, names);
        return;
    }
    finish();
}

void Channel::SyncOutChanged()
{
    emit syncOutputChanged(ch);
    if (!pSyncCh)
        return;
    const bool on = sys_param::GetChOnOff(ch) != 0 && sys_param::ch(ch).SyncOut;
    if (channelModel* out = pSyncCh->entry(PARAM_INDEX_CHSWITCH)) {
        if (const DataInfo* di = out->descriptor(0); di && di->SetValue)
            di->SetValue(pSyncCh->ch, on ? 1 : 0);
        out->disUpdate();
    } else {
        sys_param::SetChOnOff(pSyncCh->ch, on ? 1 : 0);
    }
    emit pSyncCh->signalUpdated(pSyncCh->ch);
}

void Channel::SynReverseChanged()
{
    if (pSyncCh && sys_param::GetChOnOff(ch) != 0 && sys_param::ch(ch).SyncOut)
        emit pSyncCh->signalUpdated(pSyncCh->ch);
}

void Channel::TrigInSourceChanged()
{
    QString names;
    if (sys_param::GetChOnOff(ch) != 0 && ioConflict(names)) {
        refuseForConflict(PARAM_INDEX_TRIGSOURCE, TIPS_IOCONFILICT_BEMODFY, names);
        return;
    }
    updateScreenList();
    redrawPreview();
    SyncFreq(true);
    emit signalUpdated(ch);
    emit handTriggerChanged(ch);
}

void Channel::TrigInSourceOSKChanged()
{
    QString names;
    if (sys_param::GetChOnOff(ch) != 0 && ioConflict(names)) {
        refuseForConflict(PARAM_INDEX_TRIGSOURCEOSK, TIPS_IOCONFILICT_BEMODFY, names);
        return;
    }
    updateScreenList();
    redrawPreview();
    SyncFreq(true);
    emit signalUpdated(ch);
}

void Channel::ModSourceChanged()
{
    const CH_DATA& d = sys_param::ch(ch);
    const bool keyedByConnector = d.WorkMode == WORK_MODULATION &&
        (d.ModType == MT_ASK || d.ModType == MT_PSK || d.ModType == MT_FSK || d.ModType == MT_3FSK ||
         d.ModType == MT_4FSK);
    QString names;
    if (sys_param::GetChOnOff(ch) != 0 && d.ModSrc && keyedByConnector && ioConflict(names))
        refuseForConflict(PARAM_INDEX_MODSOURCE, TIPS_IOCONFILICT_BEMODFY, names);
    SyncFreq(true);
    updateScreenList();
}

// ---- modulation, sweep, burst -----------------------------------------------------------------

void Channel::ModFrequencyChanged()
{
    const CH_DATA& d = sys_param::ch(ch);
    const bool pulse = wave() == BASE_Pulse;
    switch (d.ModType) {
    case MT_OSK: refresh(PARAM_INDEX_OSKOSCTIME); break;
    case MT_FM:
        if (pulse)
            refresh(PARAM_INDEX_FMFREQDEV);
        break;
    default:
        if (pulse)
            refreshPulseHops(d.ModType);
        break;
    }
    SyncFreq(true);
    finish();
}

void Channel::ModAMDevChanged()
{
    // Over-modulation beyond 100 % needs amplitude headroom.
    refresh(PARAM_INDEX_AMP);
    redrawPreview();
    // The depth lives in REG_MOD_DEPTH: a new depth is applied even when the
    // amplitude range stays the same, or the output keeps the old depth.
    emit signalUpdated(ch);
}

void Channel::ModFMDevChanged()
{
    if (wave() == BASE_Pulse)
        refresh(PARAM_INDEX_MODFREQ);
    finish();
}

void Channel::HarmnicOderChanged() { finish(); }

void Channel::SweepTimeChanged()
{
    SyncFreq(true);
    finish();
}

void Channel::SweepStepsChanged()
{
    SyncFreq(true);
    finish();
}

void Channel::SweepStartStopFreqChanged()
{
    const BASE_WAVE w = wave();
    refresh(PARAM_INDEX_AMP);
    if (w == BASE_Square || w == BASE_Pulse)
        refresh(PARAM_INDEX_DUTYPULSE);
    if (w == BASE_Pulse) {
        refresh(PARAM_INDEX_RISE);
        refresh(PARAM_INDEX_FALL);
        refresh(PARAM_INDEX_SWEEPTIME);
    }
    finish();
}

void Channel::BurstPeroidChanged()
{
    refresh(PARAM_INDEX_BURSTNCYNC);
    SyncFreq(true);
    finish();
}

void Channel::BurstNCyncChanged()
{
    refresh(PARAM_INDEX_BURSTTRIGPERIOD);
    finish();
}

void Channel::NoiseSumSWChanged()
{
    refresh(PARAM_INDEX_AMP);
    refresh(PARAM_INDEX_CHNOISERATIO);
    updateScreenList();
    AmplFunctionANoiseSum(sys_param::ch(ch).noiseSumSW);
    finish();
}

void Channel::CopyClicked() { emit copyRequested(ch); }

// On a pulse carrier the hop frequencies of FSK, 3FSK and 4FSK are bounded
// by the modulating rate; their ranges follow it.
void Channel::refreshPulseHops(u32 modType)
{
    const int hops = modType == MT_FSK ? 1 : modType == MT_3FSK ? 2 : modType == MT_4FSK ? 3 : 0;
    const int index[3] = {PARAM_INDEX_MODHOPFREFSK, PARAM_INDEX_MODHOPFREFSK2, PARAM_INDEX_MODHOPFREFSK3};
    for (int i = 0; i < hops; ++i)
        refresh(index[i]);
}
