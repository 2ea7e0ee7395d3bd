// Copying a channel from its partner, reloading a channel or the whole
// record, and the channel status shown on the screens.
#include <QDebug>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "communication/scpi_msg_adpt.h"
#include "hardware/CSetParam.h"
#include "app/signal/csignal.h"
#include "param/sys_param.h"
#include "param/sysparm.h"

namespace {

CH_ID partnerOf(CH_ID ch) { return CH_ID(int(ch) ^ 1); }

CH_ID pairRecord(CH_ID ch) { return (ch == CH1 || ch == CH2) ? COUPLE12 : COUPLE34; }

// A file path field of the record (not necessarily terminated).
template <size_t N>
QString recordPath(const char (&field)[N])
{
    return QString::fromLocal8Bit(field, int(strnlen(field, N)));
}

} // namespace

void Ornav72::channalCopy(CH_ID ch)
{
    if (ch < CH1 || ch > CH4) {
        qWarning("not this channel:%d", int(ch));
        return;
    }
    const CH_ID from = partnerOf(ch);
    const bool on = sys_param::OnOff[ch];
    sys_param::chParamCopy(from, ch);
    CWaveCreate::chcopy(from, ch);
    if (SWaveMem* mem = CWaveCreate::GetWaveMem(ch))
        mem->BaseWaveChanged = true;
    chUpdateArbMem(ch, QString::fromLocal8Bit(sys_param::GetChArbFileDir(from)), true, false, false);
    chUpdateArbMem(ch, QString::fromLocal8Bit(sys_param::GetChModArbFileDir(from)), false, false, false);
    chUpdateListMem(ch, QString::fromLocal8Bit(sys_param::GetChListFileDir(from)), false, false);
    sys_param::OnOff[ch] = on;
    sys_param::SetChOnOff(ch, on);
    channalReload(ch);
}

void Ornav72::channalReload(CH_ID ch)
{
    if (ch < CH1 || ch > CH4 || !channel[ch])
        return;
    Channel* c = channel[ch];
    c->selectFromRecord();
    // The record's derived fields (Vrms, dBm, levels, period, pulse width,
    // both forms of the noise ratio) follow the values just loaded, as when
    // the entries were built at start-up; the factory record leaves them 0.
    for (channelModel* m : c->chParaList) {
        if (m) {
            m->reloadFromRecord();
            m->updateDataInfo();
        }
    }
    // The noise ratio's limits follow the amplitude: with the noise sum on
    // they are recomputed now, otherwise when it is switched on.
    if (sys_param::ch(ch).noiseSumSW)
        if (channelModel* snr = c->entry(PARAM_INDEX_CHNOISERATIO))
            snr->UpdateRange();
    c->qmlparamLoad();
    StatusDisUpdate(ch);
    ChannelSyncOut(ch);
    emit channelParamChanged(int(ch));
}

void Ornav72::applyStoredSettings()
{
    for (int ch = CH1; ch <= CH4; ++ch)
        channalReload(CH_ID(ch));
    // Remote messages held since start-up now meet the stored settings.
    scpi_adpt_release();
}

void Ornav72::systemReload()
{
    for (QList<channelModel*>* list : {&sysparalist, &ch12CoupleParalist, &ch34CoupleParalist})
        for (channelModel* m : *list) {
            if (m) {
                m->reloadFromRecord();
                m->updateDataInfo();
            }
        }
    // The hardware address is read-only.
    if (sysparalist.size() > 17 && sysparalist[17])
        sysparalist[17]->wmask(true);
    // The digital output: its list, the channel roles and page; the output
    // itself is off after a reload.
    digital_.updateDigitalSetlist();
    digital_.updatedigitalChIO();
    digital_.digitalDisUpdate();
    CSetParam::SetDigitalSW(0);
}

void Ornav72::systemAllParamReload(QByteArray data)
{
    // Empty data is a factory reset; otherwise a checked copy replaces the
    // live record, and a refused copy leaves it untouched.
    if (!sysparm)
        return;
    if (data.isEmpty()) {
        sysparm->PreSetHWI();
    } else if (sysparm->LoadSysParamData(reinterpret_cast<const unsigned char*>(data.constData()), data.size())) {
        qInfo("LoadSysParamData ok");
    } else {
        qWarning("LoadSysParamData error");
    }
    sys_param::CounterOnOff = false;
    sys_param::digitalSW = false;
    for (int ch = CH1; ch <= CH4; ++ch) {
        sys_param::OnOff[ch] = false;
        sys_param::SetChOnOff(CH_ID(ch), 0);
        channalReload(CH_ID(ch));
    }
    for (int ch = CH1; ch <= CH4; ++ch) {
        // The wave memories hold what the old record named: load the arb
        // waves and the frequency list the new one names, as at start-up.
        // A record without a list leaves no list behind either.
        const CH_DATA& d = sys_param::ch(CH_ID(ch));
        chUpdateArbMem(ch, recordPath(d.ArbFileDir), true, false, false);
        chUpdateArbMem(ch, recordPath(d.ModArbFileDir), false, false, false);
        if (d.ListFileDir[0] != '\0')
            chUpdateListMem(ch, recordPath(d.ListFileDir), false, false);
        else if (SWaveMem* mem = CWaveCreate::GetWaveMem(CH_ID(ch)))
            mem->ListLen = 0;
    }
    brightnessChanged();
    systemReload();
    counterSwChanged();
    // What the pairs allow (coupling, merge, noise sum, limits, phase
    // synchronisation) is derived from the new record as at start-up, in
    // both directions: masks set for the old record are lifted.
    applyStoredPairState();
}

void Ornav72::powerUpParamChanged()
{
    if (!sysparm)
        return;
    if (int(sys_param::GetParamRemember(CH_SYS)) == 1) {
        std::vector<unsigned char> buf(sizeof(HardWareInfo));
        sysparm->LoadFromAt24(buf.data());
        sysparm->powerUpSet = 1;
    } else {
        sysparm->powerUpSet = 0;
    }
}

void Ornav72::ParamListChanged() { chUpdateParamList(qobject_cast<channelModel*>(sender())); }

void Ornav72::chUpdateParamList(channelModel* model)
{
    if (!model || model->ch < CH1 || model->ch > CH4 || !channel[model->ch])
        return;
    Channel* c = channel[model->ch];
    Signal* s = model->curSignal;
    if (!s || (s != c->currentSignal && s != c->currentBaseSignal))
        return;
    QList<channelModel*>& target = (s == c->currentBaseSignal) ? c->baselist : c->modlist;
    target = s->getParamList(s->type);
    if (c->pcurrentlist == &target)
        uidata.setList(uidata.chInputList[model->ch], Channel::channelModeltoVariant(&target));
    uidata.sendInputListChanged(model->ch);
    emit c->signalUpdated(model->ch);
}

void Ornav72::listfreqChanged(int ch)
{
    if (ch < CH1 || ch > CH4 || !channel[ch])
        return;
    if (channelModel* m = channel[ch]->entry(PARAM_INDEX_MODLISTFILE)) {
        if (m->curSignal) {
            m->curSignal->SignalSelected();
            m->curSignal->drawWave(true);
            m->curSignal->updatePse();
        }
    }
}

// ---- channel status on the screens -----------------------------------------

void Ornav72::StatusDisUpdate(CH_ID ch)
{
    chReverseDisUpdate(ch);
    chSwDisUpdate(ch, sys_param::OnOff[ch]);
    chLoadDisUpdate(ch);
    chLimitDisUpdate(ch);
    chMergeDisUpdate(ch);
}

void Ornav72::chReverseDisUpdate(CH_ID ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    const bool inv = sys_param::ch(ch).ChInversion;
    emit uidata.chInversionChanged(int(ch), inv);
}

void Ornav72::chSwDisUpdate(CH_ID ch, bool on)
{
    if (ch < CH1 || ch > CH4)
        return;
    const bool digital = channel[ch] && channel[ch]->alterfun == CHANNEL_ALTERFUN_DIGITAL;
    emit uidata.chOutputChanged(int(ch), on, on || digital);
}

void Ornav72::chLoadDisUpdate(CH_ID ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    QString text;
    if (sys_param::ch(ch).Load == 1000000) {
        text = QStringLiteral("HighZ");
    } else if (channel[ch] && channel[ch]->entry(PARAM_INDEX_CHLOAD)) {
        channelModel* m = channel[ch]->entry(PARAM_INDEX_CHLOAD);
        m->disUpdate();
        text = m->rlistvalue();
    } else {
        text = QString::number(sys_param::ch(ch).Load) + QStringLiteral(" Ω");
    }
    if (text.size() > 6) {
        const int sp = text.indexOf(' ');
        if (sp >= 0)
            text[sp] = '\n';
    }
    emit uidata.chLoadChanged(int(ch), text);
}

void Ornav72::chLimitDisUpdate(CH_ID ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    // The limits bound the output only while the limit switch is on; off,
    // the box shows none rather than levels the channel does not keep to.
    const CH_DATA& d = sys_param::ch(ch);
    const QVariant hi = d.AmpLimit ? QVariant(d.LimitH) : QVariant(QString());
    const QVariant lo = d.AmpLimit ? QVariant(d.LimitL) : QVariant(QString());
    emit uidata.chLimitsChanged(int(ch), hi, lo);
}

void Ornav72::chMergeDisUpdate(CH_ID ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    const CH_ID first = (ch == CH1 || ch == CH2) ? CH1 : CH3;
    emit uidata.mergeRoutingChanged(int(first) + 1, int(sys_param::ch(first).ChMerge),
                                    int(sys_param::ch(CH_ID(first + 1)).ChMerge));
}

void Ornav72::chCopyBtnObjectDisUpdate(CH_ID ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    const CH_ID pair = pairRecord(ch);
    const bool coupled = sys_param::GetChCoupleFreqSW(pair) != 0 || sys_param::GetChCoupleAmplSW(pair) != 0 ||
        sys_param::GetChCouplePhaseSW(pair) != 0;
    const bool merging = sys_param::ch(ch).ChMerge || sys_param::ch(partnerOf(ch)).ChMerge;
    // Copying takes the partner's settings: not while either of the pair
    // serves another role.
    const bool roles = (channel[ch] && channel[ch]->alterfun != CHANNEL_ALTERFUN_CLOSED) ||
        (channel[partnerOf(ch)] && channel[partnerOf(ch)]->alterfun != CHANNEL_ALTERFUN_CLOSED);
    emit uidata.chCopyAllowedChanged(int(ch), !coupled && !merging && !roles);
}
