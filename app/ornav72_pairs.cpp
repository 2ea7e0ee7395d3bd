// The controller's part in the channel pairs: which coupling entries a pair
// shows, when merging is available, the system phase synchronisation that
// phase coupling and merging need, and the stored pair state applied once
// the screens are up.
#include "app/ornav72.h"
#include <QDebug>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "param/sys_param.h"

namespace {

CH_ID partnerOf(CH_ID ch) { return CH_ID(int(ch) ^ 1); }

bool anyMerge()
{
    for (int c = CH1; c <= CH4; ++c)
        if (sys_param::ch(CH_ID(c)).ChMerge != 0)
            return true;
    return false;
}

} // namespace

void Ornav72::chCoupleTypeChanged(CH_ID pair)
{
    if (pair != COUPLE12 && pair != COUPLE34)
        return;
    UpdateCoupleSetList(pair);
    if (pair == COUPLE12)
        uidata.sendch12CoupleSetListChanged();
    else
        uidata.sendch34CoupleSetListChanged();
}

void Ornav72::ChDisableMergeDisUpdate(CH_ID ch, bool disable)
{
    if (ch < CH1 || ch > CH4)
        return;
    const CH_ID p = partnerOf(ch);
    const CH_DATA& a = sys_param::ch(ch);
    const CH_DATA& b = sys_param::ch(p);
    const bool alternate = (channel[ch] && channel[ch]->alterfun != CHANNEL_ALTERFUN_CLOSED) ||
        (channel[p] && channel[p]->alterfun != CHANNEL_ALTERFUN_CLOSED);
    // Merging shares the pair's output stage: no other amplitude function
    // of either channel, and no other use of either output, may be on.
    const bool off = disable || alternate || a.noiseSumSW || b.noiseSumSW || a.AmpLimit || b.AmpLimit ||
        sys_param::GetChCoupleAmplSW(Channel::pairOf(ch)) != 0;
    for (CH_ID c : {ch, p}) {
        channelModel* m = channel[c] ? channel[c]->entry(PARAM_INDEX_CHMERGE) : nullptr;
        if (!m || m->mask == off)
            continue;
        if (off)
            m->SetValue(0, 0);
        m->wmask(off);
        m->disUpdate();
        chMergeDisUpdate(c);
    }
}

void Ornav72::channelFourcePhaseSync(bool on, int tip)
{
    const int i = PARAM_INDEX_SYSPHASESYNC - PARAM_INDEX_SYS_START;
    channelModel* m = i < sysparalist.size() ? sysparalist[i] : nullptr;
    if (!m)
        return;
    if (on) {
        if (!sys_param::HWinfo.PhaseSyncType) {
            m->SetValue(1, 0);
            emit TipsMessage(MESSAGE_TYPE_TIPS, tip, false);
        }
        if (!m->mask) {
            m->wmask(true);
            m->disUpdate();
        }
        return;
    }
    const bool needed =
        sys_param::GetChCouplePhaseSW(COUPLE12) != 0 || sys_param::GetChCouplePhaseSW(COUPLE34) != 0 || anyMerge();
    if (!needed && m->mask) {
        m->wmask(false);
        m->disUpdate();
    }
}

void Ornav72::applyStoredPairState()
{
    ChannelSyncOut(CH1);
    ChannelSyncOut(CH2);
    for (CH_ID first : {CH1, CH3}) {
        Channel* c = channel[first];
        if (!c)
            continue;
        const CH_ID pair = Channel::pairOf(first);
        c->AmplFunctionACouple(sys_param::GetChCoupleAmplSW(pair) != 0);
        // A stored merge keeps its exclusions and its phase synchronisation.
        const CH_DATA& a = sys_param::ch(first);
        const CH_DATA& b = sys_param::ch(partnerOf(first));
        if (a.ChMerge || b.ChMerge) {
            c->AmplFunctionMerge(true);
            c->channelFourcePhaseSync(true, TIPS_MERGE_NEED_PHASESYNC);
        }
        // Set both ways: after a reload the mask of the record before must
        // not survive.
        coupleAmplSwitchMask(pair, a.noiseSumSW || b.noiseSumSW || a.AmpLimit || b.AmpLimit || a.ChMerge || b.ChMerge);
        // The coupling page shows the ratio or the difference entries as stored.
        chCoupleTypeChanged(pair);
    }
    for (int ch = CH1; ch <= CH4; ++ch)
        chCopyBtnObjectDisUpdate(CH_ID(ch));
    for (CH_ID first : {CH1, CH3})
        if (Channel* c = channel[first])
            c->channelFourcePhaseSync(sys_param::GetChCouplePhaseSW(Channel::pairOf(first)) != 0,
                                      TIPS_PHASE_COUPLE_NEED_PHASESYNC);
}
