// Linear, logarithmic, stepped and list sweeps.
#include "app/signal/signal_sweep.h"
#include <cmath>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "app/signal/signal_mod.h"
#include "param/sys_param.h"

using P = CSetParam;

Signal_LINE::Signal_LINE(CH_ID c, QList<channelModel*>* l, int t) : Signal_mod(c, l, t, BASEMASK_PERIODIC) {}

void Signal_LINE::buildParamList(int)
{
    paramlist.clear();
    addTriggerList();
    add(PARAM_INDEX_SWEEPSTARTFREQ);
    add(PARAM_INDEX_SWEEPENDFREQ);
    add(PARAM_INDEX_SWEEPTIME);
}

void Signal_LINE::squareOrPulseCarrierSelected(bool refreshEdges)
{
    const CH_DATA& d = sys_param::ch(ch);
    // A swept square or pulse keeps its duty cycle, not its pulse width.
    if (d.DutyPulseWidthUnit == 1)
        if (channelModel* duty = entry(PARAM_INDEX_DUTYPULSE))
            duty->unitClicked(-1);
    if (refreshEdges && d.BaseWave == BASE_Pulse) {
        refresh(PARAM_INDEX_RISE);
        refresh(PARAM_INDEX_FALL);
    }
}

void Signal_LINE::SignalSelected()
{
    const u32 wave = sys_param::ch(ch).BaseWave;
    refresh(PARAM_INDEX_SWEEPSTARTFREQ);
    refresh(PARAM_INDEX_SWEEPENDFREQ);
    if (wave != BASE_Square && wave != BASE_Pulse) {
        refresh(PARAM_INDEX_SWEEPTIME);
        return;
    }
    squareOrPulseCarrierSelected(true);
    refresh(PARAM_INDEX_SWEEPTIME);
}

void Signal_LINE::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    const double centre = (d.SwpStartFre + d.SwpEndFre) / 2;
    const double dev = std::fabs(d.SwpEndFre - d.SwpStartFre) / 2;
    const double rate = d.SwpTime == 0 ? 1.0 : 1.0 / d.SwpTime;
    trigSetup();
    if (linear() && pulseCarrier() && dev < 0.001) {
        // Start and stop coincide: a plain pulse at the centre frequency.
        P::SetWorkModeReg(ch, FPGA_WM_BASE);
        P::SetFre(ch, centre);
        return;
    }
    P::SetWorkModeReg(ch, FPGA_WM_FM);
    // The modulating wave selector must read table playback (0).
    P::SetFPGA_reg(P::ChReg(ch, REG_MOD_WAVE), static_cast<unsigned char>(0));
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (!pulseCarrier())
        P::SetModWaveData(ch, w->Modulate, WAVE_MOD_POINTS);
    else
        P::SetPulseSweepData(ch, w->Modulate, d.SwpStartFre, d.SwpEndFre);
    P::SetFre(ch, centre);
    P::SetModFre(ch, rate);
    P::SetModOffsetFre(ch, dev);
    trigSyncStep();
}

// ---- stepped and list sweeps ------------------------------------------------------

void Signal_STEP::buildParamList(int)
{
    paramlist.clear();
    addTriggerList();
    add(PARAM_INDEX_SWEEPSTARTFREQ);
    add(PARAM_INDEX_SWEEPENDFREQ);
    add(PARAM_INDEX_SWEEPSTEP);
    add(PARAM_INDEX_SWEEPTIME);
}

void Signal_STEP::SignalSelected()
{
    refresh(PARAM_INDEX_SWEEPSTARTFREQ);
    refresh(PARAM_INDEX_SWEEPENDFREQ);
    const u32 wave = sys_param::ch(ch).BaseWave;
    if (wave == BASE_Square || wave == BASE_Pulse)
        squareOrPulseCarrierSelected(false);
}

void Signal_STEP::loadList() const
{
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (pulseCarrier())
        P::SetPulseListSweepData(ch, w->List, listLength(*w));
    else
        P::SetListData(ch, w->List, listLength(*w));
}

void Signal_STEP::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_LIST);
    P::SetModFre(ch, 1.0 / d.SwpTime);
    trigSetup();
    loadList();
    trigSyncStep();
}

void Signal_LIST::buildParamList(int)
{
    paramlist.clear();
    addTriggerList();
    add(PARAM_INDEX_SWEEPTIME);
    add(PARAM_INDEX_MODLISTFILE);
}

void Signal_LIST::SignalSelected()
{
    const u32 wave = sys_param::ch(ch).BaseWave;
    if (wave == BASE_Square || wave == BASE_Pulse)
        squareOrPulseCarrierSelected(false);
}

void Signal_LIST::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    trigSetup();
    loadList();
    P::SetModFre(ch, 1.0 / d.SwpTime);
    P::SetWorkModeReg(ch, FPGA_WM_LIST);
    trigSyncStep();
}
