// Routing of status messages and of parameter changes.
#include "app/ornav72.h"
#include "hardware/CSetParam.h"
#include "app/channel.h"
#include "param/sys_param.h"
#include <QDebug>
#include <QTimer>
#include <QVariant>

void Ornav72::SendTipsMessageDis(int type, int index, bool status, QString header, bool disWindow)
{
    if (type != MESSAGE_TYPE_INFO && type != MESSAGE_TYPE_TIPS && type != MESSAGE_TYPE_ERROR)
        qFatal("error type %s %d", Q_FUNC_INFO, __LINE__);

    int number = -1;
    if (type == MESSAGE_TYPE_TIPS || type == MESSAGE_TYPE_ERROR) {
        warnBeep(0);
        number = index;
    } else {
        switch (index) {
        case STATUSBAR_USBDISK: number = 0; break;
        case STATUSBAR_USBHOST: number = 2; break;
        case STATUSBAR_NETWORK: number = 4; break;
        case STATUSBAR_LOCKER: number = 6; break;
        case STATUSBAR_EXT10: number = 8; break;
        case STATUSBAR_EXT10FALSE: number = 9; break;
        default: break;
        }
        // The status bar shows or hides the icon (the network's is its "off"
        // cross, shown while the link is down).
        if (number >= 0)
            emit uidata.statusIconChanged(index, index == STATUSBAR_NETWORK ? !status : status);
        // No message when the external reference comes back.
        if (index == STATUSBAR_EXT10FALSE && !status)
            return;
    }
    if (number < 0)
        return;
    if (status)
        number += 1;
    if (disWindow)
        emit uidata.messageTipsRequested(type, number, header, 2000);
}

void Ornav72::stepLeds()
{
    if (ledStepArmed)
        return; // the armed step sends the newest words
    const int dueMs = CSetParam::StepChLedData(currentCh);
    if (dueMs < 0)
        return;
    ledStepArmed = true;
    QTimer::singleShot(dueMs, Qt::PreciseTimer, this, [this] {
        ledStepArmed = false;
        stepLeds();
    });
}

void Ornav72::chParamChanged(int ch)
{
    if (ch >= CH1 && ch <= CH4) {
        Channel* c = channel[ch];
        if (!c)
            return;
        c->ChannelExe();
        // A channel that merges this one adds its signal: it follows.
        if (c->pFriendCh && sys_param::ch(c->pFriendCh->ch).ChMerge != 0)
            c->pFriendCh->ChannelExe();
        stepLeds();
        return;
    }
    if (ch == CH_SYS)
        return;
    if (ch == CH_COUNTER) {
        counter_.Exe();
        return;
    }
    if (ch == CH_DIGITAL) {
        digital_.digitalExe();
        return;
    }
    qWarning("***************   err ch:%d", ch);
}
