#pragma once
// Small helpers shared by the range rules of the editing entries: the
// channel pair a channel belongs to, the load divider, the channel's
// bandwidth per waveform and the limits the owning Channel derives.
#include <algorithm>
#include <cmath>
#include <QString>
#include "hardware/CSetParam.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "param/sys_param.h"

namespace entryrules {

// CH1/CH2 sit on the fast DAC pair, CH3/CH4 on the slower one.
inline bool fastPair(CH_ID ch) { return ch == CH1 || ch == CH2; }
inline bool isChannel(CH_ID ch) { return ch >= CH1 && ch <= CH4; }
inline CH_DATA& rec(CH_ID ch) { return sys_param::ch(ch); }
inline CH_ID partner(CH_ID ch) { return CChCharacter::PartnerOf(ch); }
inline CH_ID pairOf(CH_ID ch) { return fastPair(ch) ? COUPLE12 : COUPLE34; }
inline BASE_WAVE wave(CH_ID ch) { return BASE_WAVE(rec(ch).BaseWave); }
inline bool highZ(CH_ID ch) { return rec(ch).Load >= u32(CChCharacter::HighR); }

// Output divider of the 50 ohm source into the channel's load.
inline double loadGain(CH_ID ch) { return CChCharacter::GetLoadGain(double(rec(ch).Load)); }
// The smallest amplitude: 2 mVpp at the reference load, seen at the load.
inline double minAmp(CH_ID ch) { return loadGain(ch) * 0.002; }

inline const CChCharacter& character(CH_ID ch) { return CSetParam::state.pCharacter[isChannel(ch) ? int(ch) : 0]; }

// Frequency range of a waveform on this channel.
inline void bandwidth(CH_ID ch, int w, double& lo, double& hi)
{
    if (!character(ch).GetBWFreScope(w, lo, hi)) {
        lo = 1e-6;
        hi = 1e-6;
    }
}

// Highest frequency the channel currently plays (sweep end, list maximum,
// carrier), from the owning channel when there is one.
inline double maxFreq(const channelModel* m)
{
    if (m->channel)
        return m->channel->GetMaxFreq();
    const CH_DATA& d = rec(m->ch);
    return d.BaseWave == BASE_DC ? 0 : d.Frequency;
}

// Largest amplitude the output stage delivers now (merge and noise sum
// taken into account by the channel).
inline double maxAmp(const channelModel* m)
{
    if (m->channel)
        return m->channel->GetMaxLimitAmpl();
    return character(m->ch).GetMaxAmpAtFreq(maxFreq(m));
}

inline double bounded(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }

// Replaces a limit only when it moved by more than 1e-9 (the displayed
// limits stay stable against rounding noise); true when one changed.
inline bool setLimits(DataInfo& d, double lo, double hi)
{
    bool changed = false;
    if (std::fabs(d.Min - lo) > 1e-9) {
        d.Min = lo;
        changed = true;
    }
    if (std::fabs(d.Max - hi) > 1e-9) {
        d.Max = hi;
        changed = true;
    }
    return changed;
}

// New limits for the descriptor in use of a one-form entry, then the
// stored value is brought inside them; false when it had to move.
inline bool limitAndCheck(channelModel* m, double lo, double hi)
{
    if (hi < lo)
        std::swap(lo, hi);
    m->m_param->Min = lo;
    m->m_param->Max = hi;
    return m->SetValueWitheCheck(m->value(), lo, hi, m->paramIndexInUse());
}

// A notice for the user through the controller (nothing without one).
void tips(int index);
// Error on the instrument error list, notice and log line of a refused
// choice.
void outOfRange(const char* where);

} // namespace entryrules
