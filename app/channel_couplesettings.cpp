// The pair's coupling settings (switch, type, ratio, deviation of frequency,
// amplitude and phase). Their entries live with the controller and are
// connected to the pair's first channel (CH1 or CH3), which settles the
// coupling at once when a setting changes.
#include "app/channel.h"
#include <QDebug>
#include "app/channalmodel.h"
#include "param/sys_param.h"

namespace {

// Offsets of a quantity's entries from its switch index.
enum { SWITCH = 0, TYPE = 1, DEV = 2, RATE = 3 };

bool arbBySample(CH_ID c)
{
    const CH_DATA& d = sys_param::ch(c);
    return d.BaseWave == BASE_Arb && d.ArbSample && (c == CH1 || c == CH2);
}

} // namespace

channelModel* Channel::coupleEntry(int index) const
{
    if (!coupleParaList)
        return nullptr;
    for (channelModel* m : *coupleParaList)
        if (m && m->paramindex == index)
            return m;
    return nullptr;
}

void Channel::FreCoupleSetParaChanged() { coupleSettingChanged(PARAM_INDEX_CHCOUPLEFREQSW, PARAM_INDEX_FREQ); }

void Channel::AmpCoupleSetParaChanged() { coupleSettingChanged(PARAM_INDEX_CHCOUPLEAMPLSW, PARAM_INDEX_AMP); }

void Channel::PhaCoupleSetParaChanged() { coupleSettingChanged(PARAM_INDEX_CHCOUPLEPHASESW, PARAM_INDEX_PHASE); }

void Channel::channelFourcePhaseSync(bool on, int tip) { emit phaseSyncNeeded(on, tip); }

void Channel::coupleSettingChanged(int first, int valueIndex)
{
    const CH_ID pair = pairOf(ch);
    const CH_DATA& rec = sys_param::coupleRecord(pair);
    bool sw = false, dev = false;
    std::function<double(CH_ID, double)> rule;
    switch (first) {
    case PARAM_INDEX_CHCOUPLEFREQSW:
        sw = rec.ChCoupleFreqSW;
        dev = rec.ChCoupleFreqType;
        rule = &Channel::GetCoupleFrequency;
        break;
    case PARAM_INDEX_CHCOUPLEAMPLSW:
        sw = rec.ChCoupleAmplSW;
        dev = rec.ChCoupleAmplType;
        rule = &Channel::GetCoupleAmpl;
        break;
    default:
        sw = rec.ChCouplePhaseSW;
        dev = rec.ChCouplePhaseType;
        rule = &Channel::GetCouplePhase;
        break;
    }
    const channelModel* from = qobject_cast<const channelModel*>(sender());
    const int changed = from ? from->paramindex : -1;
    if (changed == first + TYPE) {
        emit coupleTypeChanged(pair);
    } else if (changed == first + SWITCH) {
        emit copyButtonDisplayChanged(ch);
        if (pFriendCh)
            emit copyButtonDisplayChanged(pFriendCh->ch);
        if (first == PARAM_INDEX_CHCOUPLEAMPLSW)
            AmplFunctionACouple(sw);
        if (first == PARAM_INDEX_CHCOUPLEPHASESW)
            channelFourcePhaseSync(sw, TIPS_PHASE_COUPLE_NEED_PHASESYNC);
    }

    channelModel* own = entry(valueIndex);
    channelModel* partner = pFriendCh ? pFriendCh->entry(valueIndex) : nullptr;
    if (!sw) {
        // No coupling, no failed coupling to show.
        for (channelModel* m : {own, partner})
            if (m && !m->m_couplestate) {
                m->m_couplestate = true;
                m->disUpdate();
            }
        return;
    }
    if (channelModel* r = coupleEntry(first + (dev ? DEV : RATE)))
        r->UpdateRange();
    if (!own || !partner)
        return;

    const CH_ID p = pFriendCh->ch;
    const BASE_WAVE w = wave();
    const BASE_WAVE pw = pFriendCh->wave();
    bool applies = true;
    switch (first) {
    case PARAM_INDEX_CHCOUPLEFREQSW: applies = !arbBySample(ch) && w != BASE_DC && w != BASE_Noise; break;
    case PARAM_INDEX_CHCOUPLEAMPLSW: applies = w != BASE_DC; break;
    default:
        applies = !arbBySample(ch) && !arbBySample(p);
        for (BASE_WAVE x : {w, pw})
            if (x == BASE_DC || x == BASE_Prbs || x == BASE_Noise)
                applies = false;
        break;
    }
    if (applies) {
        paramCouple(own, partner, rule);
        return;
    }
    partner->m_couplestate = false;
    own->m_couplestate = false;
    partner->disUpdate();
    own->disUpdate();
}
