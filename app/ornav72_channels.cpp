// The controller's part in the channels: roles of CH3/CH4 as sync output of
// CH1/CH2, and the pair masks it keeps in its coupling lists.
#include "app/ornav72.h"
#include <QDebug>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/uidata.h"
#include "param/sys_param.h"
#include "platform/handoff.h"

void Ornav72::ChannelSyncOut(CH_ID ch)
{
    if (ch != CH1 && ch != CH2)
        return;
    Channel* src = channel[ch];
    Channel* sync = channel[ch + 2];
    if (!src || !sync)
        return;
    if (sync->alterfun == CHANNEL_ALTERFUN_DIGITAL) {
        qWarning("error function ");
        return;
    }
    const bool on = sys_param::ch(ch).SyncOut;
    ChDisableDisUpdate(CH_ID(ch + 2), on ? CHANNEL_ALTERFUN_SYNCOUT : CHANNEL_ALTERFUN_CLOSED,
                       on ? QStringLiteral("CH%1 SYNC OUT").arg(ch + 1) : QString(), false);
    if (on)
        src->SyncFreq(false);
    // A sync output takes channels the digital output would use.
    uidata.publishDigital();
}

void Ornav72::ChDisableDisUpdate(CH_ID ch, int alterfun, QString label, bool exec)
{
    if (ch < CH1 || ch > CH4 || !channel[ch])
        return;
    channel[ch]->alterfun = alterfun;
    const bool disabled = alterfun != CHANNEL_ALTERFUN_CLOSED;
    // The screens show the role: the tab refuses selection, the channel's
    // entries and its pair's coupling are greyed, the label names the role.
    Uidata* ui = &uidata;
    const int n = int(ch);
    const QString shown = disabled ? label : QString();
    // The label's text, built here, is read by the screens after the queue
    // has passed it over.
    handoffSend(shown.constData());
    QMetaObject::invokeMethod(
        ui,
        [ui, n, disabled, shown]() {
            handoffTake(shown.constData());
            ui->setChRole(n, disabled, shown);
        },
        Qt::QueuedConnection);
    chSwDisUpdate(ch, sys_param::GetChOnOff(ch) != 0);
    // Another use of the output bars merging the pair (and frees it again).
    ChDisableMergeDisUpdate(ch, false);
    chMergeDisUpdate(ch);
    chCopyBtnObjectDisUpdate(ch);
    chCopyBtnObjectDisUpdate(CH_ID(int(ch) ^ 1));
    if (exec)
        chParamChanged(ch);
}

void Ornav72::coupleAmplSwitchMask(CH_ID pair, bool masked)
{
    const QList<channelModel*>& l = pair == COUPLE12 ? ch12CoupleParalist : ch34CoupleParalist;
    for (channelModel* m : l)
        if (m->paramindex == PARAM_INDEX_CHCOUPLEAMPLSW)
            m->wmask(masked);
}
