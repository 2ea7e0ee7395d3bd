// Remote requests applied on the controller's thread: values and units go
// through the editing models exactly as a front-panel entry would.
#include <QDebug>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"

channelModel* Ornav72::GetChModelFormIndex(CH_ID list, int paramindex)
{
    const QList<channelModel*>* models = nullptr;
    if (list >= CH1 && list <= CH4)
        models = channel[list] ? &channel[list]->chParaList : nullptr;
    else if (list == COUPLE12)
        models = &ch12CoupleParalist;
    else if (list == COUPLE34)
        models = &ch34CoupleParalist;
    else if (list == CH_SYS || list == CH_DIGITAL || list == CH_COUNTER)
        models = &sysparalist;
    else
        qWarning("error[ch:%d]", int(list));
    if (!models)
        return nullptr;
    channelModel* found = nullptr;
    for (channelModel* m : *models)
        if (m && m->paramindex == paramindex)
            found = m;
    return found;
}

void Ornav72::ChannelOnOff(CH_ID ch, bool on)
{
    if (channelModel* m = GetChModelFormIndex(ch, PARAM_INDEX_CHSWITCH))
        m->SetValue(on ? 1 : 0, 0);
}

void Ornav72::setValueCmdProcess(int ch, int paramindex, double value)
{
    if (ch >= CH1 && ch <= CH4) {
        if (channelModel* m = GetChModelFormIndex(CH_ID(ch), paramindex))
            m->SetValue(value, m->runit());
        return;
    }
    if (ch == COUPLE12 || ch == COUPLE34) {
        if (paramindex < PARAM_INDEX_CHCOUPLEFREQSW || paramindex > PARAM_INDEX_CHCOUPLEPHASERATE) {
            qWarning("paramindex out of couple param range");
            return;
        }
        QList<channelModel*>& list = ch == COUPLE12 ? ch12CoupleParalist : ch34CoupleParalist;
        const int i = paramindex - PARAM_INDEX_CHCOUPLEFREQSW;
        if (i < list.size() && list[i])
            list[i]->SetValue(value, 0);
        return;
    }
    if (ch < CH_SYS || ch > CH_COUNTER)
        return;
    const bool digital = paramindex >= PARAM_IDNEX_DIGITALSW && paramindex <= PARAM_INDEX_UARTVERIFY;
    // A digital-output setting from remote brings up the digital page
    // (when a channel tab is shown: the screen knows which).
    if (digital)
        emit uidata.digitalPageRequested();
    if (paramindex >= PARAM_INDEX_SYS_START && paramindex <= PARAM_INDEX_UARTVERIFY) {
        const int i = paramindex - PARAM_INDEX_SYS_START;
        if (i < sysparalist.size() && sysparalist[i])
            sysparalist[i]->SetValue(value, 0);
    }
    if (digital)
        digital_.digitalDisUpdate();
}

void Ornav72::setUnitsCmdProcess(int ch, int paramindex, int unit)
{
    if (ch < CH1 || ch > CH4)
        return;
    if (channelModel* m = GetChModelFormIndex(CH_ID(ch), paramindex))
        m->unitClicked(unit);
}
