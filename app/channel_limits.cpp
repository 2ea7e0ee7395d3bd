// Limits of a channel: largest frequency and amplitude, the amplitude-limit
// window and its two handlers.
#include "app/channel.h"
#include <QDebug>
#include <algorithm>
#include <cmath>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "param/sys_param.h"

BASE_WAVE Channel::wave() const { return BASE_WAVE(sys_param::ch(ch).BaseWave); }

bool Channel::merges() const { return sys_param::ch(ch).ChMerge != 0; }

bool Channel::partnerMerges() const { return sys_param::ch(CChCharacter::PartnerOf(ch)).ChMerge != 0; }

double Channel::GetMaxFreq() const
{
    const CH_DATA& d = sys_param::ch(ch);
    if (d.WorkMode == WORK_SCAN) {
        if (d.SweepType == ST_LIST)
            return CWaveCreate::GetWaveMem(ch)->listmaxfre;
        return std::max(d.SwpStartFre, d.SwpEndFre);
    }
    if (d.BaseWave == BASE_DC)
        return 0;
    return d.Frequency;
}

bool Channel::GetMinMaxFreqency(double& min, double& max) const
{
    const CH_DATA& d = sys_param::ch(ch);
    bool periodic = false;
    switch (d.BaseWave) {
    case BASE_Sine:
    case BASE_Square:
    case BASE_Ramp:
    case BASE_Pulse:
    case BASE_Harmonic:
    case BASE_Prbs: periodic = true; break;
    case BASE_Arb: periodic = ch == CH3 || ch == CH4 || !d.ArbSample; break;
    default: break;
    }
    const channelModel* f = entry(PARAM_INDEX_FREQ);
    const DataInfo* info = f ? f->descriptor(0) : nullptr;
    if (!periodic || !info) {
        min = max = 0;
        return false;
    }
    min = info->Min;
    max = info->Max;
    return true;
}

double Channel::GetMaxLimitAmpl() const
{
    const CChCharacter& own = CSetParam::state.pCharacter[ch];
    const double g = own.GetLoadGain();
    double m = own.GetMaxAmpAtFreq(GetMaxFreq());
    if (pFriendCh && (merges() || partnerMerges())) {
        const CH_DATA& p = sys_param::ch(pFriendCh->ch);
        // The pair shares one output stage: the smaller maximum rules and
        // the partner's signal takes its share of it.
        m = std::min(m, CSetParam::state.pCharacter[pFriendCh->ch].GetMaxAmpAtFreq(pFriendCh->GetMaxFreq()));
        if (merges()) {
            m -= 2 * std::fabs(p.Offset);
            if (p.BaseWave != BASE_DC)
                m -= p.Vpp;
        } else if (p.BaseWave != BASE_DC) {
            m -= g * 0.002;
        }
    }
    if (sys_param::ch(ch).noiseSumSW)
        m -= g * 0.002;
    return m;
}

bool Channel::CheckLimit(int index, channelModel* high, channelModel* low)
{
    if (!high || !low)
        return false;
    const double t = CSetParam::state.pCharacter[ch].GetLoadGain() * 10;
    const double gap = 0.002;
    const double h0 = high->value();
    const double l0 = low->value();
    double H = std::max(std::min(h0, t), -t + gap);
    double L = std::min(std::max(l0, -t), t - gap);
    // The limit that changed wins; the other keeps 2 mV away from it.
    if (index == PARAM_INDEX_CHAMPLIMITH && L > H - gap)
        L = H - gap;
    if (index == PARAM_INDEX_CHAMPLIMITL && H < L + gap)
        H = L + gap;
    if (std::fabs(H - h0) >= 1e-5) {
        sys_param::SetChAmplLimitH(ch, H);
        high->disUpdate();
    }
    if (std::fabs(L - l0) >= 1e-5) {
        sys_param::SetChAmplLimitL(ch, L);
        low->disUpdate();
    }
    return true;
}

void Channel::limitVChanged()
{
    const channelModel* from = qobject_cast<channelModel*>(sender());
    const int index = from ? from->paramindex : int(PARAM_INDEX_CHAMPLIMITH);
    CheckLimit(index, entry(PARAM_INDEX_CHAMPLIMITH), entry(PARAM_INDEX_CHAMPLIMITL));
    emit limitDisplayChanged(ch);
    if (sys_param::ch(ch).AmpLimit)
        limitChanged();
}

void Channel::limitChanged()
{
    emit limitDisplayChanged(ch);
    refresh(PARAM_INDEX_FREQ);
    refresh(PARAM_INDEX_OFFSET);
    if (wave() != BASE_DC)
        refresh(PARAM_INDEX_AMP);
    AmplFunctionAlimit(sys_param::ch(ch).AmpLimit);
    finish();
}
