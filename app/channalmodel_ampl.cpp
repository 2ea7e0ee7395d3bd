#include "app/channalmodel_ampl.h"
#include <QDebug>
#include "param/CUnit.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel_rules.h"
#include "app/ornav72.h"
#include "param/paramvalue.h"
#include "app/signal/csignal.h"
#include "param/uinttable.h"

using namespace entryrules;

namespace {
enum { U_VPP = 0, U_VRMS = 1, U_DBM = 2, U_HIGH = 3 };
const double kNoiseRms = 0.2365919697485758; // rms / nominal Vpp of the Gaussian noise

double trunc3(double x) { return std::floor(x * 1000.0) / 1000.0; }
} // namespace

// ---- AmplModel --------------------------------------------------------------------

AmplModel::AmplModel(CH_ID c, const DataInfo* infos, int n, QObject* parent)
    : channelModel(c, infos, n, PARAM_INDEX_AMP, EPT_Ampl, false, parent)
{
    AmplModel::reloadFromRecord();
}

void AmplModel::reloadFromRecord()
{
    if (sys_param::GetChAmpUnit(ch) > 2)
        sys_param::SetChAmpUnit(ch, 0);
    const int u = runit();
    selectParam(u);
    mulitInputTypeSync(u);
    m_selectIndex = GetMaxBit(value());
    disUpdate();
}

int AmplModel::runits()
{
    if (rec(ch).AmpMode == 1)
        return 0;
    // dBm needs a defined load: not offered at high impedance.
    return highZ(ch) ? 2 : 3;
}

int AmplModel::runit() { return rec(ch).AmpMode == 1 ? int(U_HIGH) : int(rec(ch).AmpUnit); }

bool AmplModel::coupledLive() { return sys_param::GetChCoupleAmplSW(pairOf(ch)) != 0; }

void AmplModel::limitsFor(int unit, double lo, double hi, double mid, double& min, double& max) const
{
    const CH_DATA& d = rec(ch);
    const BASE_WAVE w = BASE_WAVE(d.BaseWave);
    switch (unit) {
    case U_VRMS:
        min = CUnit::VppToVrms(ch, w, lo, d.Frequency);
        max = CUnit::VppToVrms(ch, w, hi, d.Frequency);
        break;
    case U_DBM:
        min = CUnit::VppToDbm(ch, w, lo, double(d.Load), d.Frequency);
        max = CUnit::VppToDbm(ch, w, hi, double(d.Load), d.Frequency);
        break;
    case U_HIGH:
        min = mid - hi / 2 + lo;
        max = mid + hi / 2;
        break;
    default:
        min = lo;
        max = hi;
        break;
    }
}

bool AmplModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    const double mn = minAmp(ch);
    double hi = maxAmp(this);
    double lo = mn;
    if (hi < lo)
        hi = lo;
    if (lo < 0.001)
        lo = 0.001;
    const double mid = d.AmpLimit ? (d.LimitH + d.LimitL) / 2 : 0.0;
    // Over-modulation beyond 100 % needs headroom above the carrier.
    if (d.ModType == MT_AM && d.ModDepthAM > 100)
        hi = hi / (double(d.ModDepthAM) / 100.0);
    if (hi < lo)
        hi = lo;

    const int u = runit();
    for (int i = 0; i < int(m_param_size); ++i) {
        double a = 0, b = 0;
        limitsFor(i, lo, hi, mid, a, b);
        if (i == u) {
            setLimits(m_MutiParam[i], a, b);
        } else {
            m_MutiParam[i].Min = a;
            m_MutiParam[i].Max = b;
        }
    }
    const DataInfo& cur = m_MutiParam[u];
    return SetValueWitheCheck(cur.GetValue(ch), cur.Min, cur.Max, u);
}

bool AmplModel::SetRange(double min, double max, int unit)
{
    bool changed = false;
    if (unit == U_VPP) {
        const int u = runit();
        for (int i = 0; i < int(m_param_size); ++i) {
            double a = 0, b = 0;
            if (i == U_HIGH) {
                a = -max / 2 + min;
                b = max / 2;
            } else {
                limitsFor(i, min, max, 0, a, b);
            }
            if (i == u) {
                changed = setLimits(m_MutiParam[i], a, b) || changed;
            } else {
                changed = changed || m_MutiParam[i].Min != a || m_MutiParam[i].Max != b;
                m_MutiParam[i].Min = a;
                m_MutiParam[i].Max = b;
            }
        }
    } else if (m_param_size > U_HIGH) {
        changed = setLimits(m_MutiParam[U_HIGH], min, max);
    }
    if (!changed)
        return false;
    const DataInfo& vpp = m_MutiParam[U_VPP];
    return SetValueWitheCheck(vpp.GetValue(ch), vpp.Min, vpp.Max, U_VPP);
}

void AmplModel::mulitInputTypeSync(int u)
{
    double v = 0;
    if (!checkedFormValue(u, v))
        return;

    const CH_DATA& d = rec(ch);
    const BASE_WAVE w = BASE_WAVE(d.BaseWave);
    double vpp = v;
    switch (u) {
    case U_VRMS: vpp = CUnit::VrmsToVpp(ch, w, v, d.Frequency); break;
    case U_DBM: vpp = CUnit::DbmToVpp(ch, w, v, double(d.Load), d.Frequency); break;
    case U_HIGH: vpp = v - d.Low; break;
    default: break;
    }
    sys_param::SetChVpp(ch, vpp);
    sys_param::SetChVDbm(ch, CUnit::VppToDbm(ch, w, vpp, double(d.Load), d.Frequency));
    sys_param::SetChVrms(ch, CUnit::VppToVrms(ch, w, vpp, d.Frequency));
    if (u != U_HIGH) {
        sys_param::SetChHigh(ch, d.Offset + vpp / 2);
        sys_param::SetChLow(ch, d.Offset - vpp / 2);
    } else {
        // The output is programmed from amplitude and offset: a new high
        // level moves the centre of the swing as well.
        sys_param::SetChOffset(ch, (v + d.Low) / 2);
    }
}

void AmplModel::unitClicked(int unit)
{
    if (m_paramfocus)
        wparamfocus(false);
    CH_DATA& d = rec(ch);
    if (d.AmpMode != 0)
        return;
    int next = d.AmpUnit;
    if (unit < 0)
        next = (d.AmpUnit + 1) % 3;
    else if (unit <= 2)
        next = unit;
    if (highZ(ch) && next == U_DBM)
        next = U_VPP;
    sys_param::SetChAmpUnit(ch, u8(next));
    selectParam(next);
    if (next != U_VPP) {
        const DataInfo& vpp = m_MutiParam[U_VPP];
        SetRange(vpp.Min, vpp.Max, U_VPP);
    }
    m_selectIndex = GetMaxBit(value());
    announceUnit();
    disUpdate();
}

QString AmplModel::InputUnit(int key)
{
    const UintType ut = m_param->UType;
    const UnitStruct* table = GetUintStruct(ut);
    const int n = GetUintSize(ut);
    if (!table || n <= 0)
        return QStringLiteral("error");
    int row = -1;
    if (key == Key_Ok)
        row = GetUint(std::fabs(value()), table, ut);
    else if (key >= 0 && key < n)
        row = key;
    if (row < 0 || row >= n)
        return QStringLiteral("error");
    const UnitStruct& r = table[row];
    CH_DATA& d = rec(ch);
    if (r.Type != ut) {
        if (r.Type == UintAmpVDbm && highZ(ch)) {
            wparamfocus(false);
            inputting = false;
            Sys_Error(SCPI_ERROR_NODB_AT_HIGHZ);
            tips(TIPS_NODBM_AT_HIGHZ);
            return QStringLiteral("quit");
        }
        const int u = r.Type == UintAmpVDbm ? U_DBM : r.Type == UintAmpVrms ? U_VRMS : U_VPP;
        sys_param::SetChAmpUnit(ch, u8(u));
        selectParam(u);
        m_selectIndex = GetMaxBit(value());
        announceUnit();
    }
    bool ok = true;
    if (inputting) {
        const double v = text().toDouble() * r.scale;
        inputting = false;
        ok = SetValue(v, d.AmpMode == 1 ? int(U_HIGH) : int(d.AmpUnit));
    }
    wparamfocus(false);
    if (curSignal)
        curSignal->updatePse();
    return ok ? QStringLiteral("quit") : QStringLiteral("error");
}

// ---- offsetModel ------------------------------------------------------------------

offsetModel::offsetModel(CH_ID c, const DataInfo* infos, int n, QObject* parent)
    : channelModel(c, infos, n, PARAM_INDEX_OFFSET, EPT_Offset, false, parent)
{
    offsetModel::reloadFromRecord();
}

void offsetModel::reloadFromRecord()
{
    if (sys_param::GetChAmpMode(ch) > 1)
        sys_param::SetChAmpMode(ch, 0);
    const int u = sys_param::GetChAmpMode(ch);
    selectParam(u);
    mulitInputTypeSync(u);
    m_selectIndex = GetMaxBit(value());
    disUpdate();
}

int offsetModel::runits() { return wave(ch) == BASE_DC ? 0 : 2; }
int offsetModel::runit() { return rec(ch).AmpMode; }

bool offsetModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    const CH_ID p = partner(ch);
    const CH_DATA& pd = rec(p);
    const double g = loadGain(ch);
    const double mn = minAmp(ch);
    const AmpFreTable& t = character(ch).GetAmpFreqTableAtFreq(maxFreq(this));

    double maxOff = t.offset * g;
    if (d.ChMerge != 0 || pd.ChMerge != 0) {
        const Channel* pc = channel ? channel->pFriendCh : nullptr;
        const double pf = pc ? pc->GetMaxFreq() : (pd.BaseWave == BASE_DC ? 0 : pd.Frequency);
        const AmpFreTable& t2 = character(p).GetAmpFreqTableAtFreq(pf);
        maxOff = std::min(t.offset, t2.offset) * g;
        if (d.ChMerge == 0) {
            maxOff -= mn / 2;
        } else {
            maxOff -= pd.Offset;
            if (pd.BaseWave != BASE_DC)
                maxOff -= pd.Vpp / 2;
        }
    }
    double hiLevel = t.maxLevel * g;
    double loLevel = -hiLevel;
    if (d.AmpLimit) {
        hiLevel = std::min(hiLevel, d.LimitH);
        loLevel = std::max(loLevel, d.LimitL);
    }
    double offLo, offHi, lowLo, lowHi;
    if (d.BaseWave == BASE_DC || hiLevel - (mn / 2 + maxOff) >= 1e-13) {
        offLo = lowLo = loLevel;
        offHi = lowHi = hiLevel;
    } else {
        offLo = loLevel + mn / 2;
        offHi = hiLevel - mn / 2;
        lowLo = loLevel;
        lowHi = hiLevel - mn;
    }
    if (hiLevel - loLevel < 0.001)
        offLo = offHi = 0;
    if (offHi < offLo)
        std::swap(offLo, offHi);
    if (lowHi < lowLo)
        std::swap(lowLo, lowHi);
    m_MutiParam[0].Min = offLo;
    m_MutiParam[0].Max = offHi;
    if (m_param_size > 1) {
        m_MutiParam[1].Min = lowLo;
        m_MutiParam[1].Max = lowHi;
    }
    if (d.AmpMode == 0)
        SetRange(lowLo, lowHi, 1);
    else
        SetRange(offLo, offHi, 0);
    const int u = paramIndexInUse();
    const DataInfo& cur = m_MutiParam[u];
    const bool inside = SetValueWitheCheck(cur.GetValue(ch), cur.Min, cur.Max, u);
    if (d.AmpMode == 1)
        mulitInputTypeSync(d.AmpMode);
    return inside;
}

void offsetModel::mulitInputTypeSync(int u)
{
    double v = 0;
    if (!checkedFormValue(u, v))
        return;
    const CH_DATA& d = rec(ch);
    if (u == 0) {
        sys_param::SetChOffset(ch, v);
        sys_param::SetChLow(ch, v - d.Vpp / 2);
        sys_param::SetChHigh(ch, v + d.Vpp / 2);
        return;
    }
    // Low level typed: the high level stays unless the swing would shrink
    // below the smallest amplitude, in which case it follows the low level.
    const double mn = minAmp(ch);
    double off;
    if (v <= d.High - mn)
        off = (d.High + v) / 2;
    else
        off = v + mn / 2;
    sys_param::SetChOffset(ch, off);
    const double vpp = 2 * (off - v);
    sys_param::SetChHigh(ch, v + vpp);
    const BASE_WAVE w = BASE_WAVE(d.BaseWave);
    sys_param::SetChVpp(ch, vpp);
    sys_param::SetChVrms(ch, CUnit::VppToVrms(ch, w, vpp, d.Frequency));
    sys_param::SetChVDbm(ch, CUnit::VppToDbm(ch, w, vpp, double(d.Load), d.Frequency));
}

void offsetModel::unitClicked(int unit)
{
    if (m_paramfocus)
        wparamfocus(false);
    if (wave(ch) == BASE_DC || !curSignal)
        return;
    channelModel* amp = curSignal->GetAmplOrHigh();
    if (!amp)
        return;
    CH_DATA& d = rec(ch);
    const int mode = unit < 0 ? (d.AmpMode ? 0 : 1) : (unit != 0 ? 1 : 0);
    sys_param::SetChAmpMode(ch, mode);
    selectParam(mode);
    amp->selectParam(mode == 1 ? 3 : int(d.AmpUnit));
    amp->m_selectIndex = GetMaxBit(amp->value());
    amp->updateDataInfo();
    m_selectIndex = GetMaxBit(value());
    announceUnit();
    disUpdate();
    curSignal->updatePse();
}

// ---- NoiselSumModel ---------------------------------------------------------------

NoiselSumModel::NoiselSumModel(CH_ID c, const DataInfo* infos, int n, QObject* parent)
    : channelModel(c, infos, n, PARAM_INDEX_CHNOISERATIO, EPT_SNR, false, parent)
{
    NoiselSumModel::reloadFromRecord();
}

void NoiselSumModel::reloadFromRecord()
{
    if (rec(ch).SNRUnit > 1)
        rec(ch).SNRUnit = 0;
    const int u = runit();
    selectParam(u);
    mulitInputTypeSync(u);
    m_selectIndex = GetMaxBit(value());
    disUpdate();
}

int NoiselSumModel::runit() { return rec(ch).SNRUnit > 1 ? 0 : int(rec(ch).SNRUnit); }

bool NoiselSumModel::UpdateRange()
{
    const CH_DATA& d = rec(ch);
    const double mn = minAmp(ch);
    const double avail = maxAmp(this) - d.Vpp - 2 * std::fabs(d.Offset);
    const double nMax = std::max(avail, mn);
    double a = mn > 0 ? trunc3(d.Vrms / (nMax * kNoiseRms)) : 1;
    double b = mn > 0 ? trunc3(d.Vrms / (mn * kNoiseRms)) : 1;
    if (b < a)
        std::swap(a, b);
    a = std::max(a, 1.0);
    b = std::max(b, 1.0);
    if (m_param_size > 1) {
        m_MutiParam[1].Min = a;
        m_MutiParam[1].Max = b;
    }
    m_MutiParam[0].Min = 10 * std::log10(a);
    m_MutiParam[0].Max = 10 * std::log10(b);
    const int u = runit();
    const DataInfo& cur = m_MutiParam[u];
    const bool inside = SetValueWitheCheck(cur.GetValue(ch), cur.Min, cur.Max, u);
    if (!inside)
        mulitInputTypeSync(u);
    return inside;
}

void NoiselSumModel::mulitInputTypeSync(int u)
{
    double v = 0;
    if (!checkedFormValue(u, v))
        return;
    if (u == 0)
        sys_param::SetChSNRatio(ch, CUnit::dBToPowerRatio(v));
    else
        sys_param::SetChSNRatiodB(ch, CUnit::powerRatioTodB(v));
}

void NoiselSumModel::unitClicked(int unit)
{
    if (m_paramfocus)
        wparamfocus(false);
    const int u = unit < 0 ? (runit() ? 0 : 1) : (unit != 0 ? 1 : 0);
    rec(ch).SNRUnit = u8(u);
    selectParam(u);
    m_selectIndex = GetMaxBit(value());
    announceUnit();
    disUpdate();
}

// ---- harmonicSnAmModel, loadModel ------------------------------------------------

bool harmonicSnAmModel::UpdateRange()
{
    const double lo = minAmp(ch);
    const double hi = std::max(maxAmp(this), lo);
    if (m_param->Min == lo && m_param->Max == hi)
        return true;
    m_param->Min = lo;
    m_param->Max = hi;
    return SetValueWitheCheck(value(), lo, hi, 0);
}

void loadModel::disUpdate()
{
    double v = 0;
    if (GetValue(v) && std::fabs(v - double(CChCharacter::HighR)) < 1e-12) {
        m_sIndex = 0;
        m_sLenth = 0;
        wlistvalue(QStringLiteral("HighZ"));
        return;
    }
    channelModel::disUpdate();
}

// ---- shared ------------------------------------------------------------------------

namespace entryrules {

void tips(int index)
{
    if (pOrnav72)
        emit pOrnav72->TipsMessage(MESSAGE_TYPE_TIPS, index, false, QString(), true);
}

void outOfRange(const char* where)
{
    Sys_Error(SCPI_ERROR_OUT_OF_RANGE);
    tips(TIPS_OUT_OF_RANGE);
    qWarning("[wainning] %s out of range,set value modfied ", where);
}

} // namespace entryrules
