// OSK, PWM and the sum modulation.
#include "app/signal/signal_mod.h"
#include "hardware/CSetParam.h"
#include "param/sys_param.h"

using P = CSetParam;

Signal_OSK::Signal_OSK(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_OSK, BASEMASK_SINE) {}

void Signal_OSK::buildParamList(int)
{
    paramlist.clear();
    add(PARAM_INDEX_TRIGSOURCEOSK);
    if (sys_param::ch(ch).TrigerSourceOSK == 0)
        add(PARAM_INDEX_MODRATE);
    add(PARAM_INDEX_OSKOSCTIME);
}

void Signal_OSK::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    TrigIO(d.TrigerSourceOSK != 0, true);
    P::SetOscTime(ch, d.ModOscTime);
    P::SetWorkModeReg(ch, FPGA_WM_OSK);
    P::SetModFre(ch, d.ModRate);
    P::SetSyncManual(ch, false);
}

Signal_PWM::Signal_PWM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_PWM, BASEMASK_PULSE) {}

void Signal_PWM::buildParamList(int)
{
    paramlist.clear();
    addModSourceList();
    add(PARAM_INDEX_MODPWMDUTYDEV);
}

void Signal_PWM::SignalSelected() { refresh(PARAM_INDEX_MODPWMDUTYDEV); }

void Signal_PWM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_PWM);
    P::SetModWaveType(ch);
    P::SetModDepth(ch, d.ModPWMDuty);
    P::SetModFre(ch, modulatingRate());
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_SUM::Signal_SUM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_SUM, BASEMASK_TO_NOISE) {}

void Signal_SUM::buildParamList(int)
{
    paramlist.clear();
    addModSourceList();
    add(PARAM_INDEX_MODDEPTH);
}

void Signal_SUM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_SUM);
    P::SetModWaveType(ch);
    P::SetModDepth(ch, d.ModDepth);
    P::SetModFre(ch, modulatingRate());
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}
