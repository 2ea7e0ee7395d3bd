// System settings the controller answers itself: the reference clock, the
// language (takes effect at the next start), the phase mode and the number
// separator.
#include "app/ornav72.h"
#include <QDebug>
#include <QThread>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "hardware/CSetParam.h"
#include "param/sys_param.h"

void Ornav72::connectSettingHandlers()
{
    const struct {
        int index;
        void (Ornav72::*slot)();
    } links[] = {
        {PARAM_INDEX_SYSLANGUAGE, &Ornav72::languageChanged},
        {PARAM_INDEX_SYSSEPARATOR, &Ornav72::disSeparatorChanged},
        {PARAM_INDEX_SYSCLKSOURCE, &Ornav72::sysClkSourceChanged},
        {PARAM_INDEX_SYSCLKOUT, &Ornav72::sysClkOutChanged},
        {PARAM_INDEX_SYSPHASESYNC, &Ornav72::systemParamChanged},
    };
    for (const auto& l : links) {
        const int i = l.index - PARAM_INDEX_SYS_START;
        if (i >= 0 && i < sysparalist.size() && sysparalist[i])
            connect(sysparalist[i], &channelModel::valueChanged, this, l.slot);
    }
}

void Ornav72::sysClkSourceDisUpdate(bool disWindow)
{
    const bool external = sys_param::HWinfo.ClockSource;
    supervision_.setExternalReferenceValid(external);
    SendTipsMessageDis(MESSAGE_TYPE_INFO, STATUSBAR_EXT10, external, "", disWindow);
}

void Ornav72::sysClkSourceChanged()
{
    sysClkSourceDisUpdate(true);
    CSetParam::SetExtCLKIn(sys_param::HWinfo.ClockSource, sys_param::HWinfo.ClockOut);
    // The synthesiser settles on the new reference before the phases restart.
    QThread::msleep(10);
    CSetParam::ResetFPFGA(true);
}

void Ornav72::sysClkOutChanged() { CSetParam::SetExtCLKIn(sys_param::HWinfo.ClockSource, sys_param::HWinfo.ClockOut); }

void Ornav72::languageChanged() { SetInfoWindowState(QStringLiteral("askWindow"), Uidata::ASK_LANGUAGE); }

void Ornav72::systemParamChanged()
{
    // Phase coupling and merged pairs rely on synchronised phases: while
    // one is on, the mode stays synchronising whoever asks to leave it
    // (the screen entry is masked; a remote request is refused here).
    const bool phaseCoupled =
        sys_param::GetChCouplePhaseSW(COUPLE12) != 0 || sys_param::GetChCouplePhaseSW(COUPLE34) != 0;
    bool merged = false;
    for (int c = CH1; c <= CH4; ++c)
        merged = merged || sys_param::ch(CH_ID(c)).ChMerge != 0;
    const int i = PARAM_INDEX_SYSPHASESYNC - PARAM_INDEX_SYS_START;
    if (!sys_param::HWinfo.PhaseSyncType && (phaseCoupled || merged) && i < sysparalist.size() && sysparalist[i]) {
        qWarning("phase synchronisation is needed by %s", phaseCoupled ? "phase coupling" : "a merge");
        Sys_Error(SCPI_ERROR_EXECUTION_ERROR);
        emit TipsMessage(MESSAGE_TYPE_TIPS, phaseCoupled ? TIPS_PHASE_COUPLE_NEED_PHASESYNC : TIPS_MERGE_NEED_PHASESYNC,
                         false);
        sysparalist[i]->SetValue(1, 0);
        return;
    }
    CSetParam::ResetFPFGA(false);
}

void Ornav72::disSeparatorChanged()
{
    auto redisplay = [](const QList<channelModel*>& list) {
        for (channelModel* m : list) {
            const DataInfo* d = m ? m->descriptor(0) : nullptr;
            // Plain numbers only: switches, choices and texts have no separator.
            if (d && int(d->HType) < 4)
                m->disUpdate();
        }
    };
    for (Channel* c : channel)
        if (c)
            redisplay(c->chParaList);
    redisplay(sysparalist);
    redisplay(ch12CoupleParalist);
    redisplay(ch34CoupleParalist);
}
