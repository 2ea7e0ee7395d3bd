// N-cycle, gated and infinite bursts.
#include "app/signal/signal_sweep.h"
#include "hardware/CSetParam.h"
#include "app/signal/signal_mod.h"
#include "param/sys_param.h"

using P = CSetParam;

Signal_NCYC::Signal_NCYC(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, BT_NCYC, BASEMASK_PERIODIC) {}

void Signal_NCYC::buildParamList(int)
{
    paramlist.clear();
    addTriggerList();
    add(PARAM_INDEX_BURSTNCYNC);
    if (sys_param::ch(ch).TrigerSource == TRIGSOURCE_INNER)
        add(PARAM_INDEX_BURSTTRIGPERIOD);
    add(PARAM_INDEX_BURSSTARTPHASE);
}

void Signal_NCYC::SignalSelected()
{
    refresh(PARAM_INDEX_BURSTTRIGPERIOD);
    refresh(PARAM_INDEX_BURSTNCYNC);
}

void Signal_NCYC::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_NCYNC);
    P::SetBurstMode(ch, BURST_FPGA_N_Cycles);
    P::SetBurstCycles(ch, d.BstCycles & 0xFFFF);
    P::SetPhase(ch, d.BstStartPhase);
    P::SetBurstPeriod(ch, d.TrigerPeriod);
    trigSetup();
    trigSyncStep();
}

Signal_GATE::Signal_GATE(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, BT_GATE, BASEMASK_PERIODIC)
{
    setFixedList({PARAM_INDEX_BURSSTARTPHASE, PARAM_INDEX_BURSTGATEPOLARITY});
}

void Signal_GATE::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_GATE);
    // The gate comes in on the trigger connector.
    P::SetTrigSource(ch, 1);
    P::SetBurstMode(ch, d.BstGatePolarity != 0 ? BURST_FPAG_GATE_P : BURST_FPAG_GATE_N);
    P::SetPhase(ch, d.BstStartPhase);
    P::SetSyncManual(ch, false);
    TrigIO(true, true);
}

Signal_INFINITE::Signal_INFINITE(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, BT_INFINIT, BASEMASK_PERIODIC) {}

void Signal_INFINITE::buildParamList(int)
{
    paramlist.clear();
    addTriggerList();
    add(PARAM_INDEX_BURSSTARTPHASE);
}

void Signal_INFINITE::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_CONTINUE);
    P::SetBurstMode(ch, BURST_FPGA_INIFITE);
    P::SetBurstCycles(ch, d.BstCycles & 0xFFFF);
    P::SetPhase(ch, d.BstStartPhase);
    trigSetup();
    trigSyncStep();
}
