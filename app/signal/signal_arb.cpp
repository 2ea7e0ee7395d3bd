// Arbitrary waveform: played from the 8192-point table like a sine, or on
// CH1/CH2 sample by sample from the deep memory at SampleRate.
#include "app/signal/signal_base.h"
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "param/sys_param.h"

namespace {
bool ch12(CH_ID ch) { return ch == CH1 || ch == CH2; }
// Modes that change the carrier's frequency or phase cannot play a wave
// sample by sample (the deep memory has no phase accumulator).
bool restrictsSampling(int m) { return isSweepKind(m) || isFreqClassMod(m) || isPhaseClassMod(m); }
} // namespace

bool Signal_Arb::sampleMode() const { return ch12(ch) && sys_param::ch(ch).ArbSample; }

void Signal_Arb::buildParamList(int m)
{
    const CH_DATA& d = sys_param::ch(ch);
    if ((!ch12(ch) || restrictsSampling(m)) && d.ArbSample) {
        if (channelModel* s = entry(PARAM_INDEX_ARBSAMPLE)) {
            if (s->m_param && s->m_param->SetValue)
                s->m_param->SetValue(ch, 0);
            s->disUpdate();
        } else {
            sys_param::SetChArbSample(ch, 0);
        }
    }
    const bool samplingAllowed = ch12(ch) && !restrictsSampling(m);
    const bool sampling = sampleMode();
    paramlist.clear();
    if (samplingAllowed)
        add(PARAM_INDEX_ARBSAMPLE);
    if (!isSweepKind(m))
        add(sampling ? PARAM_INDEX_SAMPLERATE : PARAM_INDEX_FREQ);
    add(PARAM_INDEX_AMP);
    add(PARAM_INDEX_OFFSET);
    const bool noPhase =
        isSweepKind(m) || isFreqClassMod(m) || (isPhaseClassMod(m) && m != int(MT_PM)) || isBurstKind(m);
    if (!noPhase && !sampling)
        add(PARAM_INDEX_PHASE);
    add(PARAM_INDEX_ARBFILE);
    if (samplingAllowed && sampling)
        add(PARAM_INDEX_ARBFILTER);
    add(PARAM_INDEX_CHNOISESUMSW);
    if (d.noiseSumSW)
        add(PARAM_INDEX_CHNOISERATIO);
}

void Signal_Arb::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
    reDeriveAmplitude();
}

void Signal_Arb::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    stepWorkMode();
    stepPhase();
    stepGenerator();
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (sampleMode()) {
        // The amplitude path is corrected for the wave's repetition rate;
        // the carrier register clocks the deep memory, 8 samples a tick.
        const double f = w->ArbLen > 0 ? d.SampleRate / w->ArbLen : 1000.0;
        CSetParam::SetAmpOffset(ch, f, d.Vpp, d.Offset, d.ChMerge != 0, d.ChInversion, d.noiseSumSW, float(d.SNRatio));
        CSetParam::SetFre(ch, d.SampleRate / 8);
        return;
    }
    stepAmplitude();
    if (w->BaseWaveChanged) {
        w->BaseWaveChanged = false;
        CSetParam::SetBaseWaveData(ch, w->Arb, WAVE_BASE_POINTS, false);
    }
    stepCarrier();
}
