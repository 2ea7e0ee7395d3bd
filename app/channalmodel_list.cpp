// The entries of one channel, indices 0 .. PARAM_INDEX_CHMERGE, with their
// descriptors and initial limits. Entries whose limits follow other
// parameters start from these limits; their range rules override
// channelModel::UpdateRange.
#include <cstring>
#include "channalmodel.h"
#include "sys_param.h"

namespace {

typedef double (*Getter)(CH_ID);
typedef void (*Setter)(CH_ID, double);

DataInfo D(ParamType h, UintType u, const char* pad, Getter g, Setter s, double mn, double mx, int len,
           int minBit, int minStep)
{
    DataInfo d;
    std::memset(&d, 0, sizeof d);
    d.HType = h;
    d.UType = u;
    std::strncpy(d.keyboardtype, pad, sizeof d.keyboardtype - 1);
    d.GetValue = g;
    d.SetValue = s;
    d.Min = mn;
    d.Max = mx;
    d.Length = u8(len);
    d.MinBit = minBit;
    d.MinStep = minStep;
    return d;
}

// Entries left without a numeric accessor (the file entries).
double noValue(CH_ID) { return 0; }

// Largest sample rate of sample-by-sample playback: the DAC clock.
const double kMaxSampleRate = 1.25e9;

} // namespace

#define SP(name) &sys_param::Get##name, &sys_param::Set##name

void channelInputParaInit(CH_ID ch, QList<channelModel*>& list)
{
    qDeleteAll(list);
    list.clear();
    const bool ch12 = (ch == CH1 || ch == CH2);
    const double fmax = ch12 ? 6e8 : 2e8;
    const double pmin = ch12 ? 1.0 / 6e8 : 5e-9;

    auto plain = [&](int index, DataInfo d, EParamType t = EPT_Undefine, bool multi = false) {
        list.append(new channelModel(ch, d, index, t, multi));
    };
    auto noExe = [&](int index, DataInfo d, EParamType t = EPT_Undefine) {
        list.append(new channelNoExeModel(ch, d, index, t, false));
    };
    auto multi = [&](int index, std::initializer_list<DataInfo> ds, EParamType t) {
        list.append(new channelNoExeModel(ch, ds.begin(), int(ds.size()), index, t));
    };
    auto sw = [&](int index, Getter g, Setter s) {
        plain(index, D(IsSwitch, UintUndefined, "", g, s, 0, 1, 0, 0, 0), EPT_Undefine, true);
    };
    auto choice = [&](int index, const char* pad, Getter g, Setter s, double mx) {
        plain(index, D(IsMutSelect, UintUndefined, pad, g, s, 0, mx, 20, 0, 0), EPT_Undefine, true);
    };

    // Selectors kept in range, as the multi-form entries expect.
    if (sys_param::GetChAmpUnit(ch) > 2)
        sys_param::SetChAmpUnit(ch, 0);
    if (sys_param::GetChAmpMode(ch) > 1)
        sys_param::SetChAmpMode(ch, 0);
    if (sys_param::GetChTimeUnit(ch) > 1)
        sys_param::SetChTimeUnit(ch, 0);
    if (sys_param::GetChDutyUnit(ch) > 1)
        sys_param::SetChDutyUnit(ch, 1);

    multi(PARAM_INDEX_AMP,
          {D(IsDouble, UintAmpVpp, "AmplVoltage", SP(ChVpp), 0.002, 20, 20, -4, -4),
           D(IsDouble, UintAmpVrms, "AmplVoltage", SP(ChVrms), 0.002, 20, 20, -4, -4),
           D(IsDouble, UintAmpVDbm, "AmplVoltage", SP(ChVDbm), 0.002, 20, 20, -3, -3),
           D(IsDouble, UintVoltage, "DCVoltage", SP(ChHigh), -10, 10, 20, -4, -4)},
          EPT_Ampl);
    list.last()->selectParam(sys_param::GetChAmpMode(ch) == 1 ? 3 : sys_param::GetChAmpUnit(ch));
    multi(PARAM_INDEX_FREQ,
          {D(IsPlus, UintFre, "Hz", SP(ChFrequency), 1e-6, fmax, 20, -6, -6),
           D(IsPlus, UintPeriod, "Time", SP(ChPeriod), pmin, 1e6, 20, -10, -10)},
          EPT_Freq);
    list.last()->selectParam(sys_param::GetChTimeUnit(ch));
    noExe(PARAM_INDEX_SAMPLERATE, D(IsPlus, UintSampleRate, "sapslist", SP(ChSampleRate), 1e-6, kMaxSampleRate, 20, -6, -6));
    plain(PARAM_INDEX_PHASE, D(IsDouble, UintAngle, "Degree", SP(ChPhase), -360, 360, 20, -3, -3), EPT_Phase);
    multi(PARAM_INDEX_OFFSET,
          {D(IsDouble, UintVoltage, "DCVoltage", SP(ChOffset), -10, 10, 20, -4, -4),
           D(IsDouble, UintVoltage, "DCVoltage", SP(ChLow), -10, 10, 20, -4, -4)},
          EPT_Offset);
    list.last()->selectParam(sys_param::GetChAmpMode(ch));
    multi(PARAM_INDEX_DUTYPULSE,
          {D(IsPlus, UintRatio, "Percent", SP(ChDuty), 1e-6, 99.999999, 20, -6, -6),
           D(IsPlus, UintPeriod, "Time", SP(ChPulseWidth), 0, 1e6, 20, -10, -10)},
          EPT_Duty);
    list.last()->selectParam(sys_param::GetChDutyUnit(ch));
    plain(PARAM_INDEX_SYMMETRY, D(IsPlus, UintRatio, "Percent", SP(ChSymmetry), 0, 100, 20, -2, -2), EPT_SYMMETRY);
    noExe(PARAM_INDEX_RISE, D(IsPlus, UintPeriod, "Time", SP(ChRise), 0, 1, 20, -10, -10), EPT_RiseEdge);
    noExe(PARAM_INDEX_FALL, D(IsPlus, UintPeriod, "Time", SP(ChFall), 0, 1, 20, -10, -10), EPT_FallEdge);
    sw(PARAM_INDEX_MODSOURCE, SP(ChModSource));
    choice(PARAM_INDEX_MODWAVE, "Modwave", SP(ChModWave), 5);
    noExe(PARAM_INDEX_MODFREQ, D(IsPlus, UintFre, "Hz", SP(ChModFre), 1e-6, 2e6, 20, -6, -6));
    noExe(PARAM_INDEX_BITRATE, D(IsPlus, UintBitRate, "bitrate", SP(ChBitrate), 1e-6, 2e6, 20, -6, -6));
    noExe(PARAM_INDEX_MODDEPTHAM, D(IsPlus, UintRatio, "Percent", SP(ChModDepthAM), 0, 120, 20, -2, -2));
    plain(PARAM_INDEX_MODDEPTH, D(IsPlus, UintRatio, "Percent", SP(ChModDepth), 0, 100, 20, -2, -2));
    plain(PARAM_INDEX_FMFREQDEV, D(IsPlus, UintFre, "Hz", SP(ChModFreDev), 0, fmax, 20, -6, -6));
    plain(PARAM_INDEX_MODPHASEDEVPM, D(IsPlus, UintAngle, "Degree", SP(ChModPhaseDev), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODHOPFREFSK, D(IsPlus, UintFre, "Hz", SP(ChModHopFre), 1e-6, fmax, 20, -6, -6));
    plain(PARAM_INDEX_MODHOPFREFSK2, D(IsPlus, UintFre, "Hz", SP(ChModHopFre2), 1e-6, fmax, 20, -6, -6));
    plain(PARAM_INDEX_MODHOPFREFSK3, D(IsPlus, UintFre, "Hz", SP(ChModHopFre3), 1e-6, fmax, 20, -6, -6));
    noExe(PARAM_INDEX_MODRATE, D(IsPlus, UintFre, "Hz", SP(ChModRate), 1e-6, 2e6, 20, -6, -6));
    plain(PARAM_INDEX_MODPHASE1, D(IsPlus, UintAngle, "Degree", SP(ChModPhase1), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPHASE2, D(IsPlus, UintAngle, "Degree", SP(ChModPhase2), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPHASE3, D(IsPlus, UintAngle, "Degree", SP(ChModPhase3), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPHASE4, D(IsPlus, UintAngle, "Degree", SP(ChModPhase4), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPWMDUTYDEV, D(IsPlus, UintRatio, "Percent", SP(ChModPWMDutyDev), 1, 99, 20, -6, -6));
    plain(PARAM_INDEX_OSKOSCTIME, D(IsPlus, UintPeriod, "Time", SP(ChOskOscTime), 1e-9, 1, 20, -9, -9));
    choice(PARAM_INDEX_QAMIQMAP, "QAMStarMap", SP(ChQAMIOMap), 6);
    noExe(PARAM_INDEX_SWEEPSTARTFREQ, D(IsPlus, UintFre, "Hz", SP(ChSwpStartFre), 1e-6, fmax, 20, -6, -6));
    noExe(PARAM_INDEX_SWEEPENDFREQ, D(IsPlus, UintFre, "Hz", SP(ChSwpEndFre), 1e-6, fmax, 20, -6, -6));
    noExe(PARAM_INDEX_SWEEPTIME, D(IsPlus, UintPeriod, "Time", SP(ChSwpTime), 0.001, 500, 20, -9, -9));
    noExe(PARAM_INDEX_SWEEPSTEP, D(IsPlus, UintNum, "noSubBoard", SP(ChSweepStep), 2, 2048, 20, 0, 0));
    plain(PARAM_INDEX_MODLISTFILE, D(IsString, UintUndefined, "fileBrowse", noValue, nullptr, 0, 0, 0, 0, 0));
    noExe(PARAM_INDEX_HARMONICORDER, D(IsPlusInt, UintNum, "noSubBoard", SP(ChHarmonicOrder), 2, 16, 20, 0, 0));
    choice(PARAM_INDEX_HARMONICTYPE, "harmonictype", SP(ChHarmonicType), 3);
    plain(PARAM_INDEX_HARMONICUSERTYPE, D(IsBit, UintUndefined, "noSubBoard", SP(ChHarmonicUserType), 0, 65535, 20, 0, 0));
    plain(PARAM_INDEX_HARMONICSN, D(IsPlusInt, UintNum, "noSubBoard", SP(ChHarmonicSn), 2, 16, 20, 0, 0));
    plain(PARAM_INDEX_HARMONICSNAMP, D(IsPlus, UintAmpVpp, "VppVoltage", SP(ChHarmonicAmp), 0.002, 20, 20, -3, -3));
    plain(PARAM_INDEX_HARMONICSNPHASE, D(IsInt, UintAngle, "Degree", SP(ChHarmonicPhase), -360, 360, 20, -3, -3));
    choice(PARAM_INDEX_PNCODEELEMENT, "CodeElement", SP(ChPNCodeElement), 15);
    plain(PARAM_INDEX_PRBSEDGETIME, D(IsPlus, UintPeriod, "Time", SP(ChPRBSEdgeTime), 0, 1000, 20, -10, -10));
    choice(PARAM_INDEX_TRIGOUT, "TrigerEdge", SP(ChBurstTrigerOutType), 3);
    noExe(PARAM_INDEX_BURSTTRIGPERIOD, D(IsPlus, UintPeriod, "Time", SP(ChBurstTrigPeriod), 0.001001, 500, 20, -7, -7));
    noExe(PARAM_INDEX_BURSTNCYNC, D(IsPlusInt, UintNum, "noSubBoard", SP(ChBurstCync), 1, 50000, 20, 0, 0));
    sw(PARAM_INDEX_BURSTGATEPOLARITY, SP(ChBurstGatePolarity));
    plain(PARAM_INDEX_BURSSTARTPHASE, D(IsDouble, UintAngle, "Degree", SP(ChBurstStartPhase), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_ARBFILE, D(IsString, UintUndefined, "fileBrowse", noValue, nullptr, 0, 0, 0, 0, 0));
    plain(PARAM_INDEX_MODARBFILE, D(IsString, UintUndefined, "fileBrowse", noValue, nullptr, 0, 0, 0, 0, 0));
    choice(PARAM_INDEX_TRIGSOURCE, "TrigerType", SP(ChTrigSource), 3);
    sw(PARAM_INDEX_TRIGSOURCEOSK, SP(ChTrigSourceOSK));
    sw(PARAM_INDEX_ARBSAMPLE, SP(ChArbSample));
    sw(PARAM_INDEX_ARBFILTER, SP(ChArbFilter));
    sw(PARAM_INDEX_CHSWITCH, SP(ChOnOff));
    sw(PARAM_INDEX_CHREVERSE, SP(ChInversion));
    noExe(PARAM_INDEX_CHLOAD, D(IsPlus, UintOhm, "LoadOhz", SP(ChLoad), 1, 1000000, 10, 0, 0));
    sw(PARAM_INDEX_CHAMPLIMIT, SP(ChAmplLimit));
    noExe(PARAM_INDEX_CHAMPLIMITH, D(IsDouble, UintVoltage, "DCVoltage", SP(ChAmplLimitH), -10, 10, 10, -3, -3));
    noExe(PARAM_INDEX_CHAMPLIMITL, D(IsDouble, UintVoltage, "DCVoltage", SP(ChAmplLimitL), -10, 10, 10, -3, -3));
    sw(PARAM_INDEX_CHSYNCOUT, SP(ChSyncOut));
    sw(PARAM_INDEX_CHSYNCREVERSE, SP(ChSyncRevers));
    sw(PARAM_INDEX_CHNOISESUMSW, SP(ChNoiseSumSW));
    multi(PARAM_INDEX_CHNOISERATIO,
          {D(IsDouble, UintSNR, "SNR", SP(ChSNRatiodB), -100, 100, 8, -3, -3),
           D(IsPlus, UintNum, "noSubBoard", SP(ChSNRatio), 0, 2, 8, -3, -3)},
          EPT_SNR);
    if (sys_param::GetChSNRUint(ch) > 1)
        sys_param::SetChSNRUint(ch, 0);
    list.last()->selectParam(int(sys_param::GetChSNRUint(ch)));
    choice(PARAM_INDEX_CHMERGE, "", SP(ChMerge), 4);
}

#undef SP
