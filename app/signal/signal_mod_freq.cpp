// Frequency-class modulations: FM, FSK, 3FSK, 4FSK. A pulse carrier cannot
// change frequency through the phase increment alone (its edge slopes depend
// on the frequency): it steps through the frequency list prepared in the
// wave memory, with one set of edge slopes per step.
#include "app/signal/signal_mod.h"
#include "hardware/CSetParam.h"
#include "param/sys_param.h"

using P = CSetParam;

Signal_FM::Signal_FM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_FM, BASEMASK_PERIODIC) {}

void Signal_FM::buildParamList(int)
{
    paramlist.clear();
    addModSourceList();
    add(PARAM_INDEX_FMFREQDEV);
}

void Signal_FM::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_MODFREQ);
    refresh(PARAM_INDEX_FMFREQDEV);
}

void Signal_FM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_FM);
    P::SetTrigSource(ch, 0);
    if (!pulseCarrier()) {
        P::SetModWaveType(ch);
        P::SetModOffsetFre(ch, d.ModFreDev);
    } else {
        loadPulseList();
    }
    P::SetModFre(ch, modulatingRate());
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_FSK::Signal_FSK(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_FSK, BASEMASK_PERIODIC) {}

void Signal_FSK::buildParamList(int)
{
    paramlist.clear();
    add(PARAM_INDEX_MODSOURCE);
    if (!sys_param::ch(ch).ModSrc)
        add(PARAM_INDEX_MODFREQ);
    add(PARAM_INDEX_MODHOPFREFSK);
}

void Signal_FSK::SignalSelected()
{
    refresh(PARAM_INDEX_MODHOPFREFSK);
    refresh(PARAM_INDEX_MODHOPFREFSK2);
    refresh(PARAM_INDEX_MODHOPFREFSK3);
}

void Signal_FSK::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    TrigIO(d.ModSrc, true);
    if (!pulseCarrier()) {
        P::SetWorkModeReg(ch, FPGA_WM_FSK);
        P::SetModWaveType(ch);
        P::SetModHop1Fre(ch, d.ModHopFre);
        P::SetModFre(ch, d.ModFre);
    } else {
        // Two list entries (carrier, hop) per keying period.
        P::SetWorkModeReg(ch, FPGA_WM_LIST);
        P::SetModFre(ch, 2 * d.ModFre);
        loadPulseList();
    }
    P::SetSyncManual(ch, false);
}

Signal_FSK3::Signal_FSK3(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_3FSK, BASEMASK_PERIODIC)
{
    setFixedList({PARAM_INDEX_MODFREQ, PARAM_INDEX_MODHOPFREFSK, PARAM_INDEX_MODHOPFREFSK2});
}

void Signal_FSK3::SignalSelected()
{
    refresh(PARAM_INDEX_MODHOPFREFSK);
    refresh(PARAM_INDEX_MODHOPFREFSK2);
}

void Signal_FSK3::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    TrigIO(true, true);
    // Three symbols per period of the keying rate, for either carrier.
    P::SetModFre(ch, 3 * d.ModFre);
    if (!pulseCarrier()) {
        P::SetWorkModeReg(ch, FPGA_WM_3FSK);
        P::SetModWaveType(ch);
        P::SetModHop1Fre(ch, d.ModHopFre);
        P::SetModHop2Fre(ch, d.ModHopFre2);
    } else {
        P::SetWorkModeReg(ch, FPGA_WM_LIST);
        loadPulseList();
    }
    P::SetPNCodeElement(ch, d.CodeElement);
    P::SetSyncManual(ch, false);
}

Signal_FSK4::Signal_FSK4(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_4FSK, BASEMASK_PERIODIC)
{
    setFixedList({PARAM_INDEX_MODFREQ, PARAM_INDEX_MODHOPFREFSK, PARAM_INDEX_MODHOPFREFSK2, PARAM_INDEX_MODHOPFREFSK3});
}

void Signal_FSK4::SignalSelected()
{
    refresh(PARAM_INDEX_MODHOPFREFSK);
    refresh(PARAM_INDEX_MODHOPFREFSK2);
    refresh(PARAM_INDEX_MODHOPFREFSK3);
}

void Signal_FSK4::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    TrigIO(true, true);
    if (!pulseCarrier()) {
        P::SetWorkModeReg(ch, FPGA_WM_4FSK);
        P::SetModWaveType(ch);
        P::SetModHop1Fre(ch, d.ModHopFre);
        P::SetModHop2Fre(ch, d.ModHopFre2);
        P::SetModHop3Fre(ch, d.ModHopFre3);
        P::SetModFre(ch, d.ModFre);
    } else {
        P::SetWorkModeReg(ch, FPGA_WM_LIST);
        P::SetModFre(ch, 4 * d.ModFre);
        loadPulseList();
    }
    P::SetPNCodeElement(ch, d.CodeElement);
    P::SetSyncManual(ch, false);
}
