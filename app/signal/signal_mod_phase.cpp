// Phase-class modulations: PM, PSK, BPSK, QPSK. Under BPSK and QPSK the
// first keyed phase is the carrier's start phase, programmed by the base
// signal.
#include "app/signal/signal_mod.h"
#include "hardware/CSetParam.h"
#include "param/sys_param.h"

using P = CSetParam;

Signal_PM::Signal_PM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_PM, BASEMASK_PERIODIC) {}

void Signal_PM::buildParamList(int)
{
    paramlist.clear();
    addModSourceList();
    add(PARAM_INDEX_MODPHASEDEVPM);
}

void Signal_PM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_PM);
    P::SetModWaveType(ch);
    P::SetModFre(ch, modulatingRate());
    P::SetModOffsetPhase(ch, d.ModPhaseDev);
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_PSK::Signal_PSK(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_PSK, BASEMASK_NO_PULSE) {}

void Signal_PSK::buildParamList(int)
{
    paramlist.clear();
    add(PARAM_INDEX_MODSOURCE);
    if (!sys_param::ch(ch).ModSrc)
        add(PARAM_INDEX_MODFREQ);
    add(PARAM_INDEX_MODPHASE1);
}

void Signal_PSK::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    TrigIO(d.ModSrc, true);
    P::SetWorkModeReg(ch, FPGA_WM_PSK);
    P::SetModFre(ch, d.ModFre);
    P::SetPhase(ch, d.Phase1);
    P::SetSyncManual(ch, false);
}

Signal_BPSK::Signal_BPSK(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_BPSK, BASEMASK_NO_PULSE)
{
    setFixedList({PARAM_INDEX_BITRATE, PARAM_INDEX_PNCODEELEMENT, PARAM_INDEX_MODPHASE1, PARAM_INDEX_MODPHASE2});
}

void Signal_BPSK::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetPhase2(ch, d.Phase2);
    P::SetPNCodeElement(ch, d.CodeElement);
    P::SetWorkModeReg(ch, FPGA_WM_BPSK);
    P::SetModFre(ch, d.Bitrate);
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_QPSK::Signal_QPSK(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_QPSK, BASEMASK_NO_PULSE)
{
    setFixedList({PARAM_INDEX_BITRATE, PARAM_INDEX_PNCODEELEMENT, PARAM_INDEX_MODPHASE1, PARAM_INDEX_MODPHASE2,
                  PARAM_INDEX_MODPHASE3, PARAM_INDEX_MODPHASE4});
}

void Signal_QPSK::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetPhase2(ch, d.Phase2);
    P::SetPhase3(ch, d.Phase3);
    P::SetPhase4(ch, d.Phase4);
    P::SetPNCodeElement(ch, d.CodeElement);
    P::SetWorkModeReg(ch, FPGA_WM_QPSK);
    P::SetModFre(ch, d.Bitrate);
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}
