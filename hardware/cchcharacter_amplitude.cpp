#include "hardware/cchcharacter.h"
#include <cmath>
#include "param/sys_param.h"

namespace {
// The smallest amplitude the output can be set to, Vpp into the reference
// load; a merged partner always contributes at least this much.
const double kMinAmp = 0.002;
} // namespace

double CChCharacter::GetLoadGain(double load)
{
    if (load >= double(HighR))
        return 1.0;
    if (!(load > 0.0))
        return 0.0; // no load (or nonsense): nothing reaches the output
    return load / (load + double(OutputR));
}

double CChCharacter::GetLoadGain() const { return GetLoadGain(double(sys_param::ch(chId).Load)); }

double CChCharacter::GetLoadRate(CH_ID ch) { return GetLoadGain(double(sys_param::ch(ch).Load)); }

const AmpFreTable& CChCharacter::GetAmpFreqTableAtFreq(double f) const
{
    const int n = realRowCount();
    for (int i = 0; i < n; ++i)
        if (f <= AmpFreTables[i].fre)
            return AmpFreTables[i];
    return AmpFreTables[n - 1];
}

double CChCharacter::GetMaxAmpAtFreq(double f, double load) const
{
    return GetAmpFreqTableAtFreq(f).amp * GetLoadGain(load);
}

double CChCharacter::GetMaxAmpAtFreq(double f) const
{
    double m = GetMaxAmpAtFreq(f, double(sys_param::ch(chId).Load));
    if (AmpLimit()) {
        const double lim = GetLimitAmp();
        if (lim < m)
            m = lim;
    }
    return m;
}

bool CChCharacter::AmpLimit() const { return sys_param::ch(chId).AmpLimit; }
double CChCharacter::GetLimitAmp() const
{
    const CH_DATA& d = sys_param::ch(chId);
    return d.LimitH - d.LimitL;
}
double CChCharacter::GetLimitOffset() const
{
    const CH_DATA& d = sys_param::ch(chId);
    return d.LimitH + d.LimitL;
}
double CChCharacter::GetLimitHigh() const { return sys_param::ch(chId).LimitH; }
double CChCharacter::GetLimitLow() const { return sys_param::ch(chId).LimitL; }

// Largest high and low level at frequency f, at the load. A merged channel
// carries its partner's signal on top of its own, so the partner's swing and
// offset come off this channel's window; a channel whose partner merges it
// keeps room for the smallest amplitude the partner adds.
void CChCharacter::GetMaxHighLow(double f, double& high, double& low, double& offsetMax) const
{
    const AmpFreTable& row = GetAmpFreqTableAtFreq(f);
    const double g = GetLoadGain();
    const CH_DATA& self = sys_param::ch(chId);
    const CH_DATA& partner = sys_param::ch(PartnerOf(chId));

    high = row.maxLevel * g;
    offsetMax = row.offset * g;
    if (self.ChMerge == 0 && partner.ChMerge != 0)
        high -= g * kMinAmp / 2.0;
    if (self.ChMerge != 0) {
        if (partner.BaseWave != BASE_DC)
            high -= partner.Vpp / 2.0;
        // The window stays symmetric, so the partner's offset narrows it on
        // both sides whatever its sign; a negative offset must not widen the
        // high side beyond what the output stage can swing.
        high -= std::fabs(partner.Offset);
    }
    low = -high;
    if (self.AmpLimit) {
        if (high > self.LimitH)
            high = self.LimitH;
        if (low < self.LimitL)
            low = self.LimitL;
    }
}

// Highest frequency at which the channel still reaches an offset magnitude
// of `offset`: the top of the highest row whose offset reach is enough.
double CChCharacter::GetMaxFreqAtMinOffset(double offset) const
{
    const int n = realRowCount();
    for (int i = n - 1; i >= 0; --i)
        if (offset <= AmpFreTables[i].offset)
            return AmpFreTables[i].fre;
    return AmpFreTables[n - 1].fre;
}
