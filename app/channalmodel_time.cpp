#include "app/channalmodel_time.h"
#include "app/channalmodel_rules.h"

using namespace entryrules;

namespace {
// Shortest pulse the pulse generator of each DAC pair produces, and the
// smallest high or low time a duty cycle may leave.
double minPulse(CH_ID ch) { return fastPair(ch) ? 2.4e-9 : 8e-9; }
double minDutyTime(CH_ID ch) { return fastPair(ch) ? 1e-9 : 5e-9; }

// The stored value of descriptor u passed through the limits of u (written
// back when it had to move).
} // namespace

// ---- periodFreqModel -----------------------------------------------------------------

periodFreqModel::periodFreqModel(CH_ID c, const DataInfo* infos, int n, QObject* parent)
    : channelModel(c, infos, n, PARAM_INDEX_FREQ, EPT_Freq, false, parent)
{
    periodFreqModel::reloadFromRecord();
}

void periodFreqModel::reloadFromRecord()
{
    if (sys_param::GetChTimeUnit(ch) > 1)
        sys_param::SetChTimeUnit(ch, 0);
    const int u = sys_param::GetChTimeUnit(ch);
    selectParam(u);
    mulitInputTypeSync(u);
    UpdateRange();
    m_selectIndex = GetMaxBit(value());
    disUpdate();
}

bool periodFreqModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    double lo = 1e-6, hi = 1e-6;
    bandwidth(ch, int(d.BaseWave), lo, hi);
    if (d.AmpLimit) {
        // With a limited window the offset stage must still reach its
        // centre: only the rows of the table that offer that offset count.
        const double off =
            std::min(std::fabs(d.LimitH), std::fabs(d.LimitL)) + CChCharacter::GetLoadRate(ch) * 0.002 / 2;
        hi = std::min(hi, character(ch).GetMaxFreqAtMinOffset(off));
    }
    if (hi < lo)
        hi = lo;
    m_MutiParam[0].Min = lo;
    m_MutiParam[0].Max = hi;
    if (m_param_size > 1) {
        m_MutiParam[1].Min = 1.0 / hi;
        m_MutiParam[1].Max = 1.0 / lo;
    }
    return SetValueWitheCheck(m_MutiParam[0].GetValue(ch), lo, hi, 0);
}

void periodFreqModel::mulitInputTypeSync(int u)
{
    if (u < 0 || u >= int(m_param_size))
        return;
    const DataInfo& di = m_MutiParam[u];
    // A zero (or vanishing) value has no reciprocal: the other field stays.
    if (!di.GetValue || std::fabs(di.GetValue(ch)) <= 1e-12)
        return;
    double v = 0;
    checkedFormValue(u, v);
    if (u == 0)
        sys_param::SetChPeriod(ch, 1.0 / v);
    else
        sys_param::SetChFrequency(ch, 1.0 / v);
}

void periodFreqModel::unitClicked(int unit)
{
    if (m_paramfocus)
        wparamfocus(false);
    const BASE_WAVE w = wave(ch);
    if ((w == BASE_Noise || w == BASE_Prbs) && unit < 0)
        return;
    const int cur = sys_param::GetChTimeUnit(ch);
    const int u = unit < 0 ? (cur ? 0 : 1) : (unit != 0 ? 1 : 0);
    sys_param::SetChTimeUnit(ch, u8(u));
    selectParam(u);
    m_selectIndex = GetMaxBit(value());
    announceUnit();
    publishShown();
    emit keyboardtypeChanged(rkeyboardtype());
    disUpdate();
}

int periodFreqModel::runits()
{
    const BASE_WAVE w = wave(ch);
    return (w == BASE_Noise || w == BASE_Prbs) ? 0 : 2;
}

int periodFreqModel::runit() { return sys_param::GetChTimeUnit(ch); }

int periodFreqModel::rnameindex()
{
    const BASE_WAVE w = wave(ch);
    if (w == BASE_Noise)
        return 3;
    if (w == BASE_Prbs)
        return 2;
    return runit();
}

QString periodFreqModel::rkeyboardtype()
{
    if (wave(ch) == BASE_Prbs)
        return QStringLiteral("bitrate");
    return channelModel::rkeyboardtype();
}

bool periodFreqModel::coupledLive() { return sys_param::GetChCoupleFreqSW(pairOf(ch)) != 0; }

// ---- DutyPulseWidthModel --------------------------------------------------------------

DutyPulseWidthModel::DutyPulseWidthModel(CH_ID c, const DataInfo* infos, int n, QObject* parent)
    : channelModel(c, infos, n, PARAM_INDEX_DUTYPULSE, EPT_Duty, false, parent)
{
    DutyPulseWidthModel::reloadFromRecord();
}

void DutyPulseWidthModel::reloadFromRecord()
{
    if (sys_param::GetChDutyUnit(ch) > 1)
        sys_param::SetChDutyUnit(ch, 1);
    const int u = sys_param::GetChDutyUnit(ch);
    selectParam(u);
    mulitInputTypeSync(u);
    m_selectIndex = GetMaxBit(value());
    disUpdate();
}

bool DutyPulseWidthModel::UpdateRange()
{
    if (!channel)
        return true;
    const double f = std::max(maxFreq(this), 1e-6);
    const double T = 1.0 / f;
    const double e = minPulse(ch);
    double pwLo = e, pwHi = T - e;
    if (pwHi < pwLo)
        std::swap(pwLo, pwHi);
    double dLo = 100 * e / T, dHi = 100 - 100 * e / T;
    if (dHi < dLo)
        std::swap(dLo, dHi);
    dLo = std::max(dLo, 1e-6);
    dHi = std::min(dHi, 99.999999);
    if (dHi < dLo)
        dHi = dLo;
    m_MutiParam[0].Min = dLo;
    m_MutiParam[0].Max = dHi;
    if (m_param_size > 1) {
        m_MutiParam[1].Min = pwLo;
        m_MutiParam[1].Max = pwHi;
    }
    const int u = runit();
    const DataInfo& cur = m_MutiParam[u];
    const bool inside = SetValueWitheCheck(cur.GetValue(ch), cur.Min, cur.Max, u);
    mulitInputTypeSync(sys_param::GetChDutyUnit(ch));
    return inside;
}

void DutyPulseWidthModel::mulitInputTypeSync(int u)
{
    if (u < 0 || u >= int(m_param_size))
        return;
    const CH_DATA& d = rec(ch);
    if (u == 0) {
        double v = 0;
        checkedFormValue(0, v);
        const double e = minDutyTime(ch);
        // Neither the high nor the low time may be shorter than the
        // shortest time the pulse generator holds a level.
        double r = v / 100;
        if (d.Period > 2 * e)
            r = bounded(r, e / d.Period, 1 - e / d.Period);
        sys_param::SetChPulseWidth(ch, d.Period * r);
        return;
    }
    double w = 0;
    checkedFormValue(1, w);
    if (w < minPulse(ch)) {
        w = minPulse(ch);
        sys_param::SetChPulseWidth(ch, w);
    }
    if (d.Period > 0)
        sys_param::SetChDuty(ch, std::max(w * 100 / d.Period, 1e-6));
}

void DutyPulseWidthModel::unitClicked(int unit)
{
    if (m_paramfocus)
        wparamfocus(false);
    const int cur = sys_param::GetChDutyUnit(ch);
    int u = unit < 0 ? (cur ? 0 : 1) : (unit != 0 ? 1 : 0);
    if (rec(ch).WorkMode == WORK_SCAN)
        u = 0;
    sys_param::SetChDutyUnit(ch, u8(u));
    selectParam(u);
    m_selectIndex = GetMaxBit(value());
    announceUnit();
    disUpdate();
}

int DutyPulseWidthModel::runits() { return rec(ch).WorkMode == WORK_SCAN ? 0 : 2; }

int DutyPulseWidthModel::runit() { return rec(ch).WorkMode == WORK_SCAN ? 0 : int(sys_param::GetChDutyUnit(ch)); }

// ---- edges -------------------------------------------------------------------------------

bool RiseFallEdgeModel::UpdateRange()
{
    if (!channel)
        return true;
    const CH_DATA& d = rec(ch);
    const bool fast = fastPair(ch);
    const double emin = fast ? 1e-9 : 5e-9;
    const double cap = fast ? 10000 : 2000;
    const double k = minPulse(ch);
    const double f = std::max(maxFreq(this), 1e-6);
    const double duty = d.Duty < 50 ? d.Duty : 100 - d.Duty;
    const double e = (2 * duty / f / 100 - k) * 0.8;
    m_param->Min = emin;
    m_param->Max = bounded(e, emin, cap);
    const double other = paramindex == PARAM_INDEX_RISE ? d.Fall : d.Rise;
    const double top = bounded(e + emin - other, emin, cap);
    return SetValueWitheCheck(value(), emin, top, 0);
}

bool PrbsEdgeTimeModel::UpdateRange()
{
    const double m = fastPair(ch) ? 2.6e-9 : 4.2e-9;
    const double f = rec(ch).Frequency;
    double mx = f > 0 ? (1.0 / f) / 1.25 - m : 1000;
    mx = bounded(mx, m, 1000);
    return limitAndCheck(this, m, mx);
}

bool PWMDutyDevModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    const double edges = (d.Rise + d.Fall) / 0.8;
    double a = d.PulseWidth - edges / 2;
    double b = (d.Period - edges) - a;
    a = std::max(a, 0.0);
    b = std::max(b, 0.0);
    double p = d.Period > 0 ? std::min(a, b) / d.Period * 100 : 0;
    p = std::min(p, d.Duty);
    p = std::min(p, 49.999999);
    p = std::max(p, 0.0);
    return limitAndCheck(this, 0, p);
}

bool OskOscTimesModel::UpdateRange()
{
    const double lo = fastPair(ch) ? 5e-9 : 6e-9;
    const double rate = rec(ch).ModRate;
    double hi = rate > 0 ? (1.0 / rate) / 2 : m_param->Max;
    if (hi < lo)
        hi = lo;
    return limitAndCheck(this, lo, hi);
}

bool BurstPeroidModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    const double m = bounded(double(d.BstCycles) * d.Period + 1e-7, 1e-6, 500);
    return limitAndCheck(this, m, 500);
}

bool sweepTimeModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    double lo = 0.001;
    if (d.SweepType < u32(ST_STEP) && d.BaseWave == BASE_Pulse) {
        // A pulse carrier changes its edge tables once per period of the
        // lowest frequency: the sweep must last at least that long.
        const double fmin = std::min(d.SwpStartFre, d.SwpEndFre) - 0.001;
        lo = bounded(1.0 / std::max(fmin, 1e-6), 0.001, 500);
    }
    return limitAndCheck(this, lo, 500);
}

int sweepTimeModel::rnameindex() { return rec(ch).SweepType > u32(ST_LOG) ? 1 : 0; }
