// The periodic base waveforms: sine, square, ramp and pulse.
#include "app/signal/signal_base.h"
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "param/sys_param.h"

// ---- entry lists -------------------------------------------------------------

void Signal_sine::buildPeriodicList(int m, std::initializer_list<int> own)
{
    const CH_DATA& d = sys_param::ch(ch);
    paramlist.clear();
    // A sweep supplies start and stop frequency instead of the carrier.
    if (!isSweepKind(m))
        add(PARAM_INDEX_FREQ);
    add(PARAM_INDEX_AMP);
    add(PARAM_INDEX_OFFSET);
    // The start phase means nothing while the carrier frequency or phase is
    // keyed, swept or restarted by a burst; PM keeps it.
    const bool noPhase =
        isSweepKind(m) || isFreqClassMod(m) || (isPhaseClassMod(m) && m != int(MT_PM)) || isBurstKind(m);
    if (!noPhase)
        add(PARAM_INDEX_PHASE);
    for (int i : own)
        add(i);
    add(PARAM_INDEX_CHNOISESUMSW);
    if (d.noiseSumSW)
        add(PARAM_INDEX_CHNOISERATIO);
}

void Signal_sine::buildParamList(int m) { buildPeriodicList(m, {}); }
void Signal_Square::buildParamList(int m) { buildPeriodicList(m, {PARAM_INDEX_DUTYPULSE}); }
void Signal_Ramp::buildParamList(int m) { buildPeriodicList(m, {PARAM_INDEX_SYMMETRY}); }
void Signal_Pulse::buildParamList(int m)
{
    buildPeriodicList(m, {PARAM_INDEX_DUTYPULSE, PARAM_INDEX_RISE, PARAM_INDEX_FALL});
}

// ---- selection -----------------------------------------------------------------

void Signal_sine::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
    refresh(PARAM_INDEX_AMP);
    // The range refresh only rewrites the record when the amplitude has to be
    // clamped; Vrms and dBm depend on the crest factor of the wave, so they are
    // derived again for the sine like for every other waveform.
    reDeriveAmplitude();
    refresh(PARAM_INDEX_OFFSET);
}

void Signal_Square::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    refresh(PARAM_INDEX_DUTYPULSE);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
    reDeriveAmplitude();
}

void Signal_Ramp::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
    reDeriveAmplitude();
}

void Signal_Pulse::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    reDeriveAmplitude();
    refresh(PARAM_INDEX_DUTYPULSE);
    refresh(PARAM_INDEX_RISE);
    refresh(PARAM_INDEX_FALL);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
}

// ---- programming steps -------------------------------------------------------------

void Signal_sine::stepWorkMode() const
{
    if (isContinuousKind(realType)) {
        CSetParam::SetWorkModeReg(ch, FPGA_WM_BASE);
        CSetParam::SetSyncManual(ch, false);
    }
}

void Signal_sine::stepGenerator() const { CSetParam::SetBaseWaveType(ch); }

void Signal_sine::stepUploadBase() const
{
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (w->BaseWaveChanged) {
        w->BaseWaveChanged = false;
        CSetParam::SetBaseWaveData(ch, w->Base, WAVE_BASE_POINTS, false);
    }
}

void Signal_sine::stepCarrier() const { CSetParam::SetFre(ch, sys_param::ch(ch).Frequency); }

void Signal_sine::stepPhase() const
{
    const CH_DATA& d = sys_param::ch(ch);
    // Under BPSK/QPSK the carrier's start phase is the first keyed phase.
    const bool keyed = realType == int(MT_BPSK) || realType == int(MT_QPSK);
    CSetParam::SetPhase(ch, keyed ? double(d.Phase1) : d.Phase);
}

void Signal_sine::stepAmplitude() const
{
    const CH_DATA& d = sys_param::ch(ch);
    CSetParam::SetAmpOffset(ch, d.Frequency, d.Vpp, d.Offset, d.ChMerge != 0, d.ChInversion, d.noiseSumSW,
                            float(d.SNRatio));
}

// ---- programming -----------------------------------------------------------------

void Signal_sine::Exe()
{
    stepWorkMode();
    stepGenerator();
    stepUploadBase();
    stepCarrier();
    stepPhase();
    stepAmplitude();
}

void Signal_Square::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    const int m = realType;
    // Where the amplitude is modulated, summed or gated the square comes from
    // the pulse generator with a duty cycle; the square generator proper
    // keeps frequency and phase modulation glitch free.
    const bool viaPulse = isContinuousKind(m) || isAmplClassMod(m) || m == int(MT_SUM) || isBurstKind(m);
    stepWorkMode();
    stepGenerator();
    if (viaPulse)
        CSetParam::SetBaseWaveType(ch, FPGA_BASE_PULSE);
    stepCarrier();
    stepPhase();
    stepAmplitude();
    if (viaPulse)
        CSetParam::SetPulseParam(ch, d.Frequency, d.Duty, squareEdge(ch), squareEdge(ch));
}

void Signal_Ramp::Exe()
{
    stepGenerator();
    stepWorkMode();
    stepCarrier();
    stepPhase();
    CSetParam::SetSymmetry(ch, sys_param::ch(ch).Symmetry);
    stepAmplitude();
}

void Signal_Pulse::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    stepWorkMode();
    stepGenerator();
    stepCarrier();
    stepPhase();
    CSetParam::SetPulseParam(ch, d.Frequency, d.Duty, d.Rise, d.Fall);
    stepAmplitude();
}
