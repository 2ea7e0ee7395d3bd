// Harmonic, noise, DC and PRBS base waveforms.
#include "app/signal/signal_base.h"
#include <cmath>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "param/sys_param.h"

// ---- harmonic ------------------------------------------------------------------

Signal_Harmonic::Signal_Harmonic(CH_ID c, QList<channelModel*>* list) : Signal_sine(c, list, BASE_Harmonic)
{
    // The amplitude and phase entries address the harmonic that HARMONICSN
    // selects: choosing another number redisplays them.
    channelModel* sn = entry(PARAM_INDEX_HARMONICSN);
    for (int i : {int(PARAM_INDEX_HARMONICSNAMP), int(PARAM_INDEX_HARMONICSNPHASE)})
        if (channelModel* m = entry(i); m && sn)
            connect(sn, &channelModel::listvalueChanged, m, &channelModel::disUpdate, Qt::DirectConnection);
}

void Signal_Harmonic::buildParamList(int)
{
    setFixedList({PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_PHASE, PARAM_INDEX_HARMONICORDER,
                  PARAM_INDEX_HARMONICTYPE});
    if (sys_param::ch(ch).HarmonicType == HARMNIC_TYPE_USER)
        add(PARAM_INDEX_HARMONICUSERTYPE);
    add(PARAM_INDEX_HARMONICSN);
    add(PARAM_INDEX_HARMONICSNAMP);
    add(PARAM_INDEX_HARMONICSNPHASE);
}

void Signal_Harmonic::SignalSelected()
{
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
    reDeriveAmplitude();
    refresh(PARAM_INDEX_HARMONICORDER);
}

void Signal_Harmonic::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    stepWorkMode();
    stepGenerator();
    // The harmonic sum already uses the whole table: no noise is added.
    CSetParam::SetAmpOffset(ch, d.Frequency, d.Vpp, d.Offset, d.ChMerge != 0, d.ChInversion, false, 0);
    CSetParam::SetFre(ch, d.Frequency);
    CSetParam::SetPhase(ch, d.Phase);
    stepUploadBase();
}

// ---- noise ------------------------------------------------------------------------

// Measured output gain of the noise generator against its bandwidth.
const double Signal_Noise::kNoiseBandwidth[kNoiseRows] = {1e5,   1e6,   1e7, 2e7,   3e7,   4e7,   5e7,   6e7,
                                                          7e7,   8e7,   9e7, 1e8,   1.5e8, 2e8,   2.5e8, 3e8,
                                                          3.2e8, 3.5e8, 4e8, 4.5e8, 5e8,   5.5e8, 5.7e8, 6e8};
const double Signal_Noise::kNoiseGain[kNoiseRows] = {
    0.957854406, 0.952380952, 0.968992248, 1.020408163, 1.103752759, 1.204819277, 1.333333333, 1.44092219,
    1.5625,      1.754385965, 1.886792453, 1.818181818, 1.953125,    1.865671642, 1.953125,    1.953125,
    1.930501931, 1.865671642, 1.886792453, 1.824817518, 1.773049645, 1.736111111, 1.683501684, 1.633986928};

double Signal_Noise::NoiseAmpl(double amp, double bw)
{
    int i = 0;
    while (i < kNoiseRows && !(bw <= kNoiseBandwidth[i]))
        ++i;
    // Row i + 1 must exist: above the last row the last two rows are used.
    if (i > kNoiseRows - 2)
        i = kNoiseRows - 2;
    const double t = (kNoiseBandwidth[i] - bw) / (kNoiseBandwidth[i + 1] - kNoiseBandwidth[i]);
    return amp * (kNoiseGain[i + 1] * t + (1 - t) * kNoiseGain[i]);
}

Signal_Noise::Signal_Noise(CH_ID c, QList<channelModel*>* list) : Signal_sine(c, list, BASE_Noise)
{
    // The frequency entry is the noise bandwidth.
    setFixedList({PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET});
}

void Signal_Noise::SignalSelected()
{
    if (sys_param::ch(ch).TimeUnit == 1)
        if (channelModel* f = entry(PARAM_INDEX_FREQ))
            f->unitClicked(0);
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    reDeriveAmplitude();
}

void Signal_Noise::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    stepWorkMode();
    stepGenerator();
    stepUploadBase();
    CSetParam::SetNoiseBW(ch, d.Frequency);
    CSetParam::SetAmpOffset(ch, d.Frequency, NoiseAmpl(d.Vpp, d.Frequency), d.Offset, d.ChMerge != 0, d.ChInversion,
                            false, 0);
}

// ---- DC -------------------------------------------------------------------------------

Signal_Dc::Signal_Dc(CH_ID c, QList<channelModel*>* list) : Signal_sine(c, list, BASE_DC)
{
    setFixedList({PARAM_INDEX_OFFSET});
}

void Signal_Dc::SignalSelected()
{
    const CH_DATA& d = sys_param::ch(ch);
    if (d.AmpMode != 0) {
        // A level alone has no high and low: back to amplitude/offset entry.
        sys_param::SetChAmpMode(ch, 0);
        channelModel* off = entry(PARAM_INDEX_OFFSET);
        channelModel* amp = entry(PARAM_INDEX_AMP);
        if (off) {
            off->selectParam(0);
            off->updateDataInfo();
        }
        if (amp) {
            amp->selectParam(d.AmpUnit);
            amp->updateDataInfo();
        }
    }
    refresh(PARAM_INDEX_OFFSET);
}

void Signal_Dc::Exe()
{
    if (!isContinuousKind(realType))
        return;
    const CH_DATA& d = sys_param::ch(ch);
    CSetParam::SetWorkModeReg(ch, FPGA_WM_BASE);
    CSetParam::SetBaseWaveType(ch);
    CSetParam::SetFre(ch, 0);
    CSetParam::SetAmpOffset(ch, 0, 0, d.Offset, d.ChMerge != 0, d.ChInversion, false, 0);
    CSetParam::SetSyncManual(ch, false);
}

// ---- PRBS --------------------------------------------------------------------------------

void Signal_PRBS::buildParamList(int)
{
    setFixedList({PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_PNCODEELEMENT,
                  PARAM_INDEX_PRBSEDGETIME, PARAM_INDEX_CHNOISESUMSW});
    if (sys_param::ch(ch).noiseSumSW)
        add(PARAM_INDEX_CHNOISERATIO);
}

void Signal_PRBS::SignalSelected()
{
    if (sys_param::ch(ch).TimeUnit == 1)
        if (channelModel* f = entry(PARAM_INDEX_FREQ))
            f->unitClicked(0);
    // The edge-time limit follows the bit rate.
    if (!refresh(PARAM_INDEX_FREQ))
        refresh(PARAM_INDEX_PRBSEDGETIME);
    refresh(PARAM_INDEX_OFFSET);
    if (sys_param::ch(ch).noiseSumSW)
        refresh(PARAM_INDEX_CHNOISERATIO);
    reDeriveAmplitude();
}

void Signal_PRBS::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    stepGenerator();
    stepWorkMode();
    CSetParam::SetPRBSCodeElement(ch, d.CodeElement);
    CSetParam::SetPRBSEdgeTime(ch, d.EdgeTime);
    CSetParam::SetFre(ch, d.Frequency);
    stepAmplitude();
}
