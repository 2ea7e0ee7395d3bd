// The controller's system and coupling models and the lists their pages show.
#include "app/channalmodel.h"
#include "app/channalmodel_sys.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "param/sys_param.h"

void Ornav72::InitSysSetlist()
{
    QList<QVariant> sys, lan;
    sysInputParaInit(sysparalist, sys, lan);
    uidata.setList(uidata.syssetlist, sys);
    uidata.setList(uidata.syslanlist, lan);
    // The counter page shows the counter models (positions 18 .. 22).
    uidata.counterSetlist.clear();
    for (int i = PARAM_INDEX_COUNTER_START - PARAM_INDEX_SYS_START;
         i <= PARAM_INDEX_COUNTERLPF - PARAM_INDEX_SYS_START && i < sysparalist.size(); ++i)
        uidata.counterSetlist.append(QVariant::fromValue(static_cast<QObject*>(sysparalist[i])));
    connectSupervisionModels();
    // Counter and digital-output entries and the digital page's list.
    connectCounterDigitalModels();
    digital_.updateDigitalSetlist();
    // Language, separator, reference clock and phase mode.
    connectSettingHandlers();
}

void Ornav72::InitCoupleSetlist()
{
    chCoupleInputParaInit(COUPLE12, ch12CoupleParalist);
    chCoupleInputParaInit(COUPLE34, ch34CoupleParalist);
    UpdateCoupleSetList(COUPLE12);
    UpdateCoupleSetList(COUPLE34);
    // The utility tab's channel pages: each channel's settings list, and
    // the merge setting of every channel.
    uidata.chMergeSetList.clear();
    for (int ch = CH1; ch <= CH4; ++ch) {
        if (!channel[ch])
            continue;
        uidata.setList(uidata.chSetList[ch], channel[ch]->qvChSetlist);
        if (channelModel* m = channel[ch]->entry(PARAM_INDEX_CHMERGE))
            uidata.chMergeSetList.append(QVariant::fromValue(static_cast<QObject*>(m)));
    }
    // The pair's first channel settles the coupling when a setting changes.
    const struct {
        QList<channelModel*>* list;
        CH_ID first;
    } pairs[] = {{&ch12CoupleParalist, CH1}, {&ch34CoupleParalist, CH3}};
    for (const auto& p : pairs) {
        Channel* first = channel[p.first];
        for (int k = 0; k < p.list->size(); ++k) {
            channelModel* m = p.list->at(k);
            if (!m)
                continue;
            m->channel = nullptr;
            if (!first)
                continue;
            void (Channel::*slot)() = k < 4 ? &Channel::FreCoupleSetParaChanged
                : k < 8                     ? &Channel::AmpCoupleSetParaChanged
                                            : &Channel::PhaCoupleSetParaChanged;
            // Direct, in the thread of the change (see Channel::InitSignal).
            connect(m, &channelModel::valueChanged, first, slot, Qt::DirectConnection);
        }
        for (int c : {int(p.first), int(p.first) + 1})
            if (channel[c])
                channel[c]->coupleParaList = p.list;
    }
    // Phase coupling forces the phases; the system phase mode is then fixed.
    if (sys_param::GetChCouplePhaseSW(COUPLE12) != 0 || sys_param::GetChCouplePhaseSW(COUPLE34) != 0) {
        const int i = PARAM_INDEX_SYSPHASESYNC - PARAM_INDEX_SYS_START;
        if (i < sysparalist.size() && sysparalist[i] && !sysparalist[i]->mask) {
            sysparalist[i]->wmask(true);
            sysparalist[i]->disUpdate();
        }
    }
}

void Ornav72::UpdateCoupleSetList(CH_ID pair)
{
    const QList<channelModel*>& models = pair == COUPLE12 ? ch12CoupleParalist : ch34CoupleParalist;
    QVariantList& shown = pair == COUPLE12 ? uidata.ch12CoupleSetList : uidata.ch34CoupleSetList;
    // Each quantity shows its switch, its type, and its ratio or deviation.
    const bool freqDev = sys_param::GetChCoupleFreqType(pair) != 0;
    const bool amplDev = sys_param::GetChCoupleAmplType(pair) != 0;
    const bool phaseDev = sys_param::GetChCouplePhaseType(pair) != 0;
    shown.clear();
    for (int i = 0; i < models.size(); ++i) {
        if ((i == 2 && !freqDev) || (i == 3 && freqDev) || (i == 6 && !amplDev) || (i == 7 && amplDev) ||
            (i == 10 && !phaseDev) || (i == 11 && phaseDev))
            continue;
        shown.append(QVariant::fromValue(static_cast<QObject*>(models[i])));
    }
}
