// Within a channel pair: coupled frequency, amplitude and phase, the merge
// and noise-sum exclusions, and the frequency of the sync output that CH3/CH4
// can carry for CH1/CH2.
#include "app/channel.h"
#include <QDebug>
#include <cmath>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "param/sys_param.h"

namespace {

bool evenSource(CH_ID source) { return source == CH1 || source == CH3; }

// One rule for the three quantities: the partner of an even channel (CH1,
// CH3) follows by v * rate or v + dev, the partner of an odd one by the
// inverse. A setting that is no usable number (a ratio of 0 or below, a
// non-finite value, as a damaged record could hold) gives NaN: no partner
// value, so nothing is coupled.
double coupled(CH_ID source, double v, bool dev, double rate, double off)
{
    if (!std::isfinite(v))
        return NAN;
    if (dev) {
        if (!std::isfinite(off))
            return NAN;
        return evenSource(source) ? v + off : v - off;
    }
    if (!std::isfinite(rate) || !(rate > 0))
        return NAN;
    return evenSource(source) ? v * rate : v / rate;
}

// The entry whose coupling paramCouple is settling: the propagation of
// that same entry inside the channels' own slots stands aside meanwhile.
int settlingIndex = -1;

struct Settling {
    int saved;
    explicit Settling(int index) : saved(settlingIndex) { settlingIndex = index; }
    ~Settling() { settlingIndex = saved; }
};

} // namespace

double Channel::GetCoupleFrequency(CH_ID source, double v)
{
    const CH_ID pair = pairOf(source);
    const double x = coupled(source, v, sys_param::GetChCoupleFreqType(pair) != 0, sys_param::GetChCoupleFreqRate(pair),
                             sys_param::GetChCoupleFreqDev(pair));
    // Frequencies are kept to 1 uHz.
    return std::floor((x + 1e-7) * 1e6) / 1e6;
}

double Channel::GetCoupleAmpl(CH_ID source, double v)
{
    const CH_ID pair = pairOf(source);
    return coupled(source, v, sys_param::GetChCoupleAmplType(pair) != 0, sys_param::GetChCoupleAmplRate(pair),
                   sys_param::GetChCoupleAmplDev(pair));
}

double Channel::GetCouplePhase(CH_ID source, double v)
{
    const CH_ID pair = pairOf(source);
    return coupled(source, v, sys_param::GetChCouplePhaseType(pair) != 0, sys_param::GetChCouplePhaseRate(pair),
                   sys_param::GetChCouplePhaseDev(pair));
}

void Channel::pushValue(channelModel* m, CH_ID c, double v)
{
    const DataInfo* d = m ? m->descriptor(0) : nullptr;
    if (!d || !d->SetValue)
        return;
    d->SetValue(c, v);
    m->mulitInputTypeSync(0);
    m->m_selectIndex = channelModel::GetMaxBit(v);
    m->valueChangedProcess();
}

bool Channel::paramCouple(channelModel* own, channelModel* partner, std::function<double(CH_ID, double)> rule)
{
    if (!own || !partner || !pFriendCh || !rule)
        return false;
    const DataInfo* od = own->descriptor(0);
    const DataInfo* pd = partner->descriptor(0);
    if (!od || !pd || !od->GetValue || !pd->GetValue)
        return false;
    const CH_ID p = pFriendCh->ch;
    const double pv = pd->GetValue(p);
    // The value this channel needs for the partner's present value.
    double t = rule(p, pv);
    double np = pv;
    bool fits = std::isfinite(t);
    if (fits && (t > od->Max + 1e-13 || t < od->Min - 1e-13)) {
        // Out of this channel's reach: take its limit and move the partner
        // as far as its own range allows.
        t = t > od->Max ? od->Max : od->Min;
        np = rule(ch, t);
        if (!std::isfinite(np)) {
            np = pv;
            fits = false;
        } else if (np > pd->Max + 1e-13 || np < pd->Min - 1e-13) {
            np = np > pd->Max ? pd->Max : pd->Min;
            fits = false;
        }
    }
    {
        Settling guard(own->paramindex);
        if (std::isfinite(t)) {
            if (np != pv)
                pushValue(partner, p, np);
            if (std::fabs(t - od->GetValue(ch)) > 1e-13)
                pushValue(own, ch, t);
        }
    }
    if (!fits) {
        emit sendTipsMessage(MESSAGE_TYPE_ERROR, ERROR_COUPLE, false, QString());
        qDebug("couple error!!! couple set:%e ", t);
    }
    partner->m_couplestate = fits;
    own->m_couplestate = fits;
    partner->disUpdate();
    own->disUpdate();
    return fits;
}

bool Channel::coupleToPartner(int index, double c, const char* what)
{
    channelModel* own = entry(index);
    channelModel* p = pFriendCh ? pFriendCh->entry(index) : nullptr;
    if (!own || !p || index == settlingIndex)
        return false;
    const DataInfo* pd = p->descriptor(0);
    if (!pd)
        return false;
    const bool fits = std::isfinite(c) && c <= pd->Max + 1e-13 && c >= pd->Min - 1e-13;
    p->m_couplestate = fits;
    if (!fits) {
        emit sendTipsMessage(MESSAGE_TYPE_ERROR, ERROR_COUPLE, false, QString());
        qDebug("couple error!!! couple %s:%e ", what, c);
    } else if (pd->GetValue && std::fabs(c - pd->GetValue(pFriendCh->ch)) > 1e-13) {
        pushValue(p, pFriendCh->ch, c);
    }
    p->disUpdate();
    own->m_couplestate = p->m_couplestate.load();
    own->disUpdate();
    return fits;
}

// ---- exclusions ------------------------------------------------------------------

void Channel::AmplFunctionMerge(bool on)
{
    const bool m = on || partnerMerges();
    for (Channel* c : {this, pFriendCh}) {
        if (!c)
            continue;
        for (int i : {int(PARAM_INDEX_CHAMPLIMIT), int(PARAM_INDEX_CHNOISESUMSW)})
            if (channelModel* e = c->entry(i))
                e->wmask(m);
    }
    emit coupleAmplMaskChanged(pairOf(ch), m);
}

void Channel::AmplFunctionACouple(bool on)
{
    for (Channel* c : {this, pFriendCh}) {
        if (!c)
            continue;
        for (int i : {int(PARAM_INDEX_CHAMPLIMIT), int(PARAM_INDEX_CHNOISESUMSW)})
            if (channelModel* e = c->entry(i))
                e->wmask(on);
    }
    emit mergeMaskChanged(ch, on);
}

void Channel::AmplFunctionANoiseSum(bool on)
{
    emit mergeMaskChanged(ch, on);
    const CH_ID p = CChCharacter::PartnerOf(ch);
    const bool m = on || sys_param::ch(ch).AmpLimit || sys_param::ch(p).AmpLimit;
    emit coupleAmplMaskChanged(pairOf(ch), m);
}

void Channel::AmplFunctionAlimit(bool on)
{
    emit mergeMaskChanged(ch, on);
    const CH_ID p = CChCharacter::PartnerOf(ch);
    const bool m = on || sys_param::ch(ch).noiseSumSW || sys_param::ch(p).noiseSumSW;
    emit coupleAmplMaskChanged(pairOf(ch), m);
}

void Channel::MergeSetParaChanged()
{
    if (pFriendCh) {
        CH_DATA& own = sys_param::ch(ch);
        const CH_DATA& p = sys_param::ch(pFriendCh->ch);
        if (merges() && own.Load != p.Load) {
            // A merged pair shares one load: the smaller value takes the larger.
            if (own.Load < p.Load) {
                if (channelModel* l = entry(PARAM_INDEX_CHLOAD))
                    l->SetValue(double(p.Load), 0);
            } else if (channelModel* l = pFriendCh->entry(PARAM_INDEX_CHLOAD)) {
                l->SetValue(double(own.Load), 0);
            }
            emit sendTipsMessage(MESSAGE_TYPE_TIPS, TIPS_MERGE_MUST_EQUAL_LOAD, false, QString());
        }
    }
    AmplFunctionMerge(merges());
    channelFourcePhaseSync(merges(), TIPS_MERGE_NEED_PHASESYNC);
    refresh(PARAM_INDEX_AMP);
    refresh(PARAM_INDEX_OFFSET);
    refreshOf(pFriendCh, PARAM_INDEX_AMP);
    refreshOf(pFriendCh, PARAM_INDEX_OFFSET);
    emit mergeDisplayChanged(ch);
    emit copyButtonDisplayChanged(ch);
    if (pFriendCh)
        emit copyButtonDisplayChanged(pFriendCh->ch);
    finish();
}

// ---- sync output --------------------------------------------------------------------

void Channel::SyncFreq() { SyncFreq(true); }

void Channel::SyncFreq(bool apply)
{
    if ((ch != CH1 && ch != CH2) || !pSyncCh)
        return;
    const CH_DATA& d = sys_param::ch(ch);
    if (!d.SyncOut)
        return;
    double f = d.Frequency;
    switch (d.BaseWave) {
    case BASE_Arb:
        if (d.ArbSample) {
            const int n = CWaveCreate::GetWaveMem(ch)->ArbLen;
            // One sync pulse per pass of the wave; no wave, no sync.
            f = n > 0 ? d.SampleRate / n : -1;
        }
        break;
    case BASE_Noise:
    case BASE_DC:
    case BASE_Prbs: f = -1; break;
    default: break;
    }
    if (d.WorkMode == WORK_SCAN) {
        if (d.TrigerSource == TRIGSOURCE_INNER)
            f = d.SwpTime > 0 ? 1 / d.SwpTime : -1;
    } else if (d.WorkMode == WORK_BURST) {
        const u32 kind = d.BurstType & 3;
        if ((kind == (BT_NCYC & 3) || kind == (BT_INFINIT & 3)) && d.TrigerSource == TRIGSOURCE_INNER)
            f = d.TrigerPeriod > 0 ? 1 / d.TrigerPeriod : -1;
    } else if (d.WorkMode == WORK_MODULATION) {
        switch (d.ModType) {
        case MT_AM:
        case MT_BAM:
        case MT_ASK:
        case MT_FM:
        case MT_FSK:
        case MT_3FSK:
        case MT_4FSK:
        case MT_PM:
        case MT_PSK:
        case MT_PWM:
        case MT_SUM:
            if (!d.ModSrc)
                f = d.ModFre;
            break;
        case MT_QAM:
        case MT_BPSK:
        case MT_QPSK: f = d.Bitrate; break;
        case MT_OSK:
            if (d.TrigerSourceOSK == 0)
                f = d.ModRate;
            break;
        default: f = -1; break;
        }
    }
    if (!std::isfinite(f))
        f = -1;
    // The sync channel's square generator sets the ceiling.
    const double top = CSetParam::state.pCharacter[pSyncCh->ch].Bandwidth.freqSquare;
    if (top > 0)
        while (f > top)
            f /= 2;
    sys_param::SyncFrequency[pSyncCh->ch] = f;
    if (apply)
        emit pSyncCh->signalUpdated(pSyncCh->ch);
}
