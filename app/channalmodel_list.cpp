// The entry lists: the entries of one channel (indices 0 .. PARAM_INDEX_CHMERGE),
// of a channel pair's coupling and of the system pages, each with its
// descriptor, initial limits, lengths and digits. Entries whose limits
// follow other parameters start from these limits; their range rules
// (UpdateRange) replace them.
#include <QFile>
#include <cstring>
#include "app/channalmodel.h"
#include "app/channalmodel_ampl.h"
#include "app/channalmodel_file.h"
#include "app/channalmodel_freq.h"
#include "app/channalmodel_select.h"
#include "app/channalmodel_sys.h"
#include "app/channalmodel_time.h"
#include "platform/platformroot.h"
#include "param/sys_param.h"

namespace {

typedef double (*Getter)(CH_ID);
typedef void (*Setter)(CH_ID, double);

DataInfo D(ParamType h, UintType u, const char* pad, Getter g, Setter s, double mn, double mx, int len, int minBit,
           int minStep)
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

// Entries without a numeric accessor (files, addresses).
double noValue(CH_ID) { return 0; }

// Largest sample rate of sample-by-sample playback: the DAC clock.
const double kMaxSampleRate = 1.25e9;

// The wave every channel falls back to when its file has gone.
const char kDefaultArbFile[] = "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv";

bool boardFileExists(const char* p)
{
    const QString path = QString::fromLocal8Bit(p, int(strnlen(p, 128)));
    return !path.isEmpty() && QFile::exists(PlatformRoot::path(path));
}

// Files named by the record that no longer exist (a USB disk taken away, a
// deleted file) are replaced before the entries are built on them.
QStringList g_missingFiles; // controller's thread, like the record

void noteMissing(const char* p)
{
    const QString path = QString::fromLocal8Bit(p, int(strnlen(p, 128)));
    if (!path.isEmpty())
        g_missingFiles << path;
}

void checkFilePaths(CH_ID ch)
{
    CH_DATA& d = sys_param::ch(ch);
    if (!boardFileExists(d.ArbFileDir)) {
        noteMissing(d.ArbFileDir);
        sys_param::SetChArbFileDir(ch, kDefaultArbFile, int(sizeof kDefaultArbFile - 1));
        sys_param::SetChStoragePlace(ch, STORAGE_LOCAL);
    }
    if (!boardFileExists(d.ModArbFileDir)) {
        noteMissing(d.ModArbFileDir);
        sys_param::SetChModArbFileDir(ch, kDefaultArbFile, int(sizeof kDefaultArbFile - 1));
        sys_param::SetChStoragePlace(ch, STORAGE_LOCAL);
    }
    if (!boardFileExists(d.ListFileDir)) {
        noteMissing(d.ListFileDir);
        sys_param::SetChListFileDir(ch, "", 0);
        sys_param::SetChStoragePlace(ch, STORAGE_LOCAL);
    }
}

template <class M>
M* single(QList<channelModel*>& list, CH_ID ch, int index, DataInfo d, EParamType t = EPT_Undefine, bool multi = false)
{
    M* m = new M(ch, d, index, t, multi);
    list.append(m);
    return m;
}

} // namespace

QStringList takeMissingRecordFiles()
{
    QStringList l;
    l.swap(g_missingFiles);
    return l;
}

#define SP(name) &sys_param::Get##name, &sys_param::Set##name

void channelInputParaInit(CH_ID ch, QList<channelModel*>& list)
{
    qDeleteAll(list);
    list.clear();
    checkFilePaths(ch);
    const bool ch12 = (ch == CH1 || ch == CH2);
    const double fmax = ch12 ? 6e8 : 2e8;
    const double pmin = ch12 ? 1.0 / 6e8 : 5e-9;

    auto plain = [&](int index, DataInfo d, EParamType t = EPT_Undefine) {
        single<channelModel>(list, ch, index, d, t);
    };
    auto noExe = [&](int index, DataInfo d, EParamType t = EPT_Undefine) {
        single<channelNoExeModel>(list, ch, index, d, t);
    };
    auto sw = [&](int index, Getter g, Setter s, int len = 0, int minBit = 0) {
        single<switchModel>(list, ch, index, D(IsSwitch, UintUndefined, "", g, s, 0, 1, len, minBit, minBit),
                            EPT_Undefine, true);
    };
    auto choice = [&](int index, const char* pad, Getter g, Setter s, double mx, int len) {
        single<MutSelectModel>(list, ch, index, D(IsMutSelect, UintUndefined, pad, g, s, 0, mx, len, 0, 0),
                               EPT_Undefine, true);
    };
    auto file = [&](channelModel* m) {
        list.append(m);
        m->disUpdate();
    };
    const DataInfo fileInfo = D(IsString, UintUndefined, "fileBrowse", noValue, nullptr, 0, 0, 0, 0, 0);

    {
        const DataInfo amp[] = {D(IsDouble, UintAmpVpp, "AmplVoltage", SP(ChVpp), 0.002, 20, 20, -4, -4),
                                D(IsDouble, UintAmpVrms, "AmplVoltage", SP(ChVrms), 0.002, 20, 20, -4, -4),
                                D(IsDouble, UintAmpVDbm, "AmplVoltage", SP(ChVDbm), 0.002, 20, 20, -3, -3),
                                D(IsDouble, UintVoltage, "DCVoltage", SP(ChHigh), -10, 10, 20, -4, -4)};
        list.append(new AmplModel(ch, amp, 4));
    }
    {
        const DataInfo f[] = {D(IsPlus, UintFre, "Hz", SP(ChFrequency), 1e-6, fmax, 20, -6, -6),
                              D(IsPlus, UintPeriod, "Time", SP(ChPeriod), pmin, 1e6, 20, -10, -10)};
        list.append(new periodFreqModel(ch, f, 2));
    }
    noExe(PARAM_INDEX_SAMPLERATE,
          D(IsPlus, UintSampleRate, "sapslist", SP(ChSampleRate), 1e-6, kMaxSampleRate, 20, -6, -6));
    plain(PARAM_INDEX_PHASE, D(IsDouble, UintAngle, "Degree", SP(ChPhase), -360, 360, 20, -3, -3), EPT_Phase);
    {
        const DataInfo o[] = {D(IsDouble, UintVoltage, "DCVoltage", SP(ChOffset), -10, 10, 20, -4, -4),
                              D(IsDouble, UintVoltage, "DCVoltage", SP(ChLow), -10, 10, 20, -4, -4)};
        list.append(new offsetModel(ch, o, 2));
    }
    {
        const DataInfo dp[] = {D(IsPlus, UintRatio, "Percent", SP(ChDuty), 1e-6, 99.999999, 20, -6, -6),
                               D(IsPlus, UintPeriod, "Time", SP(ChPulseWidth), 0, 1e6, 20, -10, -10)};
        list.append(new DutyPulseWidthModel(ch, dp, 2));
    }
    plain(PARAM_INDEX_SYMMETRY, D(IsPlus, UintRatio, "Percent", SP(ChSymmetry), 0, 100, 20, -2, -2), EPT_SYMMETRY);
    single<RiseFallEdgeModel>(list, ch, PARAM_INDEX_RISE, D(IsPlus, UintPeriod, "Time", SP(ChRise), 0, 0, 20, -10, -10),
                              EPT_RiseEdge);
    single<RiseFallEdgeModel>(list, ch, PARAM_INDEX_FALL, D(IsPlus, UintPeriod, "Time", SP(ChFall), 0, 0, 20, -10, -10),
                              EPT_FallEdge);
    sw(PARAM_INDEX_MODSOURCE, SP(ChModSource), 20);
    choice(PARAM_INDEX_MODWAVE, "Modwave", SP(ChModWave), 5, 20);
    single<modFreqModel>(list, ch, PARAM_INDEX_MODFREQ, D(IsPlus, UintFre, "Hz", SP(ChModFre), 1e-6, 2e6, 20, -6, -6));
    single<BitrateModel>(list, ch, PARAM_INDEX_BITRATE,
                         D(IsPlus, UintBitRate, "bitrate", SP(ChBitrate), 1e-6, 2e6, 20, -6, -6));
    noExe(PARAM_INDEX_MODDEPTHAM, D(IsPlus, UintRatio, "Percent", SP(ChModDepthAM), 0, 120, 20, -2, -2));
    plain(PARAM_INDEX_MODDEPTH, D(IsPlus, UintRatio, "Percent", SP(ChModDepth), 0, 100, 20, -2, -2));
    single<modDepthFMModel>(list, ch, PARAM_INDEX_FMFREQDEV,
                            D(IsPlus, UintFre, "Hz", SP(ChModFreDev), 0, 1, 20, -6, -6));
    plain(PARAM_INDEX_MODPHASEDEVPM, D(IsPlus, UintAngle, "Degree", SP(ChModPhaseDev), 0, 360, 20, -2, -2));
    single<HopFreqchannelModel>(list, ch, PARAM_INDEX_MODHOPFREFSK,
                                D(IsPlus, UintFre, "Hz", SP(ChModHopFre), 1e-6, fmax, 20, -6, -6));
    single<HopFreqchannelModel>(list, ch, PARAM_INDEX_MODHOPFREFSK2,
                                D(IsPlus, UintFre, "Hz", SP(ChModHopFre2), 1e-6, fmax, 20, -6, -6));
    single<HopFreqchannelModel>(list, ch, PARAM_INDEX_MODHOPFREFSK3,
                                D(IsPlus, UintFre, "Hz", SP(ChModHopFre3), 1e-6, fmax, 20, -6, -6));
    noExe(PARAM_INDEX_MODRATE, D(IsPlus, UintFre, "Hz", SP(ChModRate), 1e-6, 2e6, 20, -6, -6));
    plain(PARAM_INDEX_MODPHASE1, D(IsPlus, UintAngle, "Degree", SP(ChModPhase1), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPHASE2, D(IsPlus, UintAngle, "Degree", SP(ChModPhase2), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPHASE3, D(IsPlus, UintAngle, "Degree", SP(ChModPhase3), 0, 360, 20, -2, -2));
    plain(PARAM_INDEX_MODPHASE4, D(IsPlus, UintAngle, "Degree", SP(ChModPhase4), 0, 360, 20, -2, -2));
    single<PWMDutyDevModel>(list, ch, PARAM_INDEX_MODPWMDUTYDEV,
                            D(IsPlus, UintRatio, "Percent", SP(ChModPWMDutyDev), 1, 99, 20, -6, -6));
    single<OskOscTimesModel>(list, ch, PARAM_INDEX_OSKOSCTIME,
                             D(IsPlus, UintPeriod, "Time", SP(ChOskOscTime), 1e-9, 1, 20, -9, -9));
    choice(PARAM_INDEX_QAMIQMAP, "QAMStarMap", SP(ChQAMIOMap), 6, 0);
    single<baseWaveFreqModel>(list, ch, PARAM_INDEX_SWEEPSTARTFREQ,
                              D(IsPlus, UintFre, "Hz", SP(ChSwpStartFre), 1e-6, fmax, 20, -6, -6));
    single<baseWaveFreqModel>(list, ch, PARAM_INDEX_SWEEPENDFREQ,
                              D(IsPlus, UintFre, "Hz", SP(ChSwpEndFre), 1e-6, fmax, 20, -6, -6));
    single<sweepTimeModel>(list, ch, PARAM_INDEX_SWEEPTIME,
                           D(IsPlus, UintPeriod, "Time", SP(ChSwpTime), 0.001, 500, 20, -9, -9));
    noExe(PARAM_INDEX_SWEEPSTEP, D(IsPlus, UintNum, "noSubBoard", SP(ChSweepStep), 2, 2048, 20, 0, 0));
    file(new listfileModel(ch, fileInfo, PARAM_INDEX_MODLISTFILE, EPT_Undefine, false));
    single<orderHarmonicTypeModel>(list, ch, PARAM_INDEX_HARMONICORDER,
                                   D(IsPlusInt, UintNum, "noSubBoard", SP(ChHarmonicOrder), 2, 16, 20, 0, 0));
    choice(PARAM_INDEX_HARMONICTYPE, "harmonictype", SP(ChHarmonicType), 3, 0);
    single<userHarmonicTypeModel>(list, ch, PARAM_INDEX_HARMONICUSERTYPE,
                                  D(IsBit, UintUndefined, "noSubBoard", SP(ChHarmonicUserType), 0, 65535, 20, 0, 0))
        ->disUpdate();
    plain(PARAM_INDEX_HARMONICSN, D(IsPlusInt, UintNum, "noSubBoard", SP(ChHarmonicSn), 2, 16, 20, 0, 0));
    single<harmonicSnAmModel>(list, ch, PARAM_INDEX_HARMONICSNAMP,
                              D(IsPlus, UintAmpVpp, "VppVoltage", SP(ChHarmonicAmp), 0.002, 20, 20, -3, -3));
    plain(PARAM_INDEX_HARMONICSNPHASE, D(IsInt, UintAngle, "Degree", SP(ChHarmonicPhase), -360, 360, 20, -3, -3));
    choice(PARAM_INDEX_PNCODEELEMENT, "CodeElement", SP(ChPNCodeElement), 15, 20);
    single<PrbsEdgeTimeModel>(list, ch, PARAM_INDEX_PRBSEDGETIME,
                              D(IsPlus, UintPeriod, "Time", SP(ChPRBSEdgeTime), 0, 0, 20, -10, -10));
    choice(PARAM_INDEX_TRIGOUT, "TrigerEdge", SP(ChBurstTrigerOutType), 3, 20);
    single<BurstPeroidModel>(list, ch, PARAM_INDEX_BURSTTRIGPERIOD,
                             D(IsPlus, UintPeriod, "Time", SP(ChBurstTrigPeriod), 0.001001, 500, 20, -7, -7));
    single<BurstNcyncModel>(list, ch, PARAM_INDEX_BURSTNCYNC,
                            D(IsPlusInt, UintNum, "noSubBoard", SP(ChBurstCync), 1, 50000, 20, 0, 0));
    sw(PARAM_INDEX_BURSTGATEPOLARITY, SP(ChBurstGatePolarity), 20);
    plain(PARAM_INDEX_BURSSTARTPHASE, D(IsDouble, UintAngle, "Degree", SP(ChBurstStartPhase), 0, 360, 20, -2, -2));
    file(new arbfileModel(ch, fileInfo, PARAM_INDEX_ARBFILE, EPT_Undefine, false));
    file(new modarbfileModel(ch, fileInfo, PARAM_INDEX_MODARBFILE, EPT_Undefine, false));
    choice(PARAM_INDEX_TRIGSOURCE, "TrigerType", SP(ChTrigSource), 3, 0);
    sw(PARAM_INDEX_TRIGSOURCEOSK, SP(ChTrigSourceOSK));
    sw(PARAM_INDEX_ARBSAMPLE, SP(ChArbSample));
    sw(PARAM_INDEX_ARBFILTER, SP(ChArbFilter));
    sw(PARAM_INDEX_CHSWITCH, SP(ChOnOff));
    sw(PARAM_INDEX_CHREVERSE, SP(ChInversion));
    single<loadModel>(list, ch, PARAM_INDEX_CHLOAD, D(IsPlus, UintOhm, "LoadOhz", SP(ChLoad), 1, 1000000, 10, 0, 0))
        ->disUpdate();
    sw(PARAM_INDEX_CHAMPLIMIT, SP(ChAmplLimit), 10, -2);
    noExe(PARAM_INDEX_CHAMPLIMITH, D(IsDouble, UintVoltage, "DCVoltage", SP(ChAmplLimitH), -10, 10, 10, -3, -3));
    noExe(PARAM_INDEX_CHAMPLIMITL, D(IsDouble, UintVoltage, "DCVoltage", SP(ChAmplLimitL), -10, 10, 10, -3, -3));
    sw(PARAM_INDEX_CHSYNCOUT, SP(ChSyncOut));
    sw(PARAM_INDEX_CHSYNCREVERSE, SP(ChSyncRevers));
    sw(PARAM_INDEX_CHNOISESUMSW, SP(ChNoiseSumSW));
    {
        const DataInfo n[] = {D(IsDouble, UintSNR, "SNR", SP(ChSNRatiodB), -100, 100, 8, -3, -3),
                              D(IsPlus, UintNum, "noSubBoard", SP(ChSNRatio), 0, 2, 8, -3, -3)};
        list.append(new NoiselSumModel(ch, n, 2));
    }
    choice(PARAM_INDEX_CHMERGE, "", SP(ChMerge), 4, 0);
}

void chCoupleInputParaInit(CH_ID pair, QList<channelModel*>& list)
{
    qDeleteAll(list);
    list.clear();
    const CH_ID ch = pair == COUPLE12 ? COUPLE12 : COUPLE34;
    auto sw = [&](int index, Getter g, Setter s, int minBit) {
        single<switchModel>(list, ch, index, D(IsSwitch, UintUndefined, "", g, s, 0, 1, 16, minBit, minBit),
                            EPT_Undefine, true);
    };
    auto couple = [&](int index, DataInfo d) { single<coupleParamModel>(list, ch, index, d)->UpdateRange(); };

    sw(PARAM_INDEX_CHCOUPLEFREQSW, SP(ChCoupleFreqSW), 0);
    sw(PARAM_INDEX_CHCOUPLEFREQTYPE, SP(ChCoupleFreqType), 0);
    couple(PARAM_INDEX_CHCOUPLEFREQDEV, D(IsDouble, UintFre, "Hz", SP(ChCoupleFreqDev), -6e8, 6e8, 16, -6, -6));
    couple(PARAM_INDEX_CHCOUPLEFREQRATE,
           D(IsPlus, UintNum, "noSubBoard", SP(ChCoupleFreqRate), 0.0001, 10000, 16, -4, -4));
    sw(PARAM_INDEX_CHCOUPLEAMPLSW, SP(ChCoupleAmplSW), -2);
    sw(PARAM_INDEX_CHCOUPLEAMPLTYPE, SP(ChCoupleAmplType), -2);
    couple(PARAM_INDEX_CHCOUPLEAMPLDEV,
           D(IsDouble, UintAmpVpp, "AmplVoltage", SP(ChCoupleAmplDev), -19.998, 19.998, 16, -3, -3));
    couple(PARAM_INDEX_CHCOUPLEAMPLRATE,
           D(IsPlus, UintNum, "noSubBoard", SP(ChCoupleAmplRate), 0.0001, 10000, 16, -4, -4));
    sw(PARAM_INDEX_CHCOUPLEPHASESW, SP(ChCouplePhaseSW), -2);
    sw(PARAM_INDEX_CHCOUPLEPHASETYPE, SP(ChCouplePhaseType), -2);
    couple(PARAM_INDEX_CHCOUPLEPHASEDEV, D(IsDouble, UintAngle, "Degree", SP(ChCouplePhaseDev), -720, 720, 16, -2, -2));
    couple(PARAM_INDEX_CHCOUPLEPHASERATE,
           D(IsPlus, UintNum, "noSubBoard", SP(ChCouplePhaseRate), 0.0001, 10000, 16, -4, -4));
}

void sysInputParaInit(QList<channelModel*>& list, QList<QVariant>& syslist, QList<QVariant>& lanlist)
{
    qDeleteAll(list);
    list.clear();
    syslist.clear();
    lanlist.clear();
    auto sw = [&](CH_ID ch, int index, Getter g, Setter s, int len = 0) {
        single<switchModel>(list, ch, index, D(IsSwitch, UintUndefined, "", g, s, 0, 1, len, 0, 0), EPT_Undefine, true);
    };
    auto choice = [&](int index, ParamType h, UintType u, const char* pad, Getter g, Setter s, double mx) {
        single<MutSelectModel>(list, CH_SYS, index, D(h, u, pad, g, s, 0, mx, 0, 0, 0), EPT_Undefine, true);
    };
    auto address = [&](int index) {
        single<ipModel>(list, CH_SYS, index, D(IsIP, UintUndefined, "noSubBoard", noValue, nullptr, 0, 0, 0, 0, 0))
            ->disUpdate();
    };

    choice(PARAM_INDEX_SYSLANGUAGE, IsSwitch, UintUndefined, "Language", SP(Language), 1);
    choice(PARAM_INDEX_SYSSEPARATOR, IsMutSelect, UintUndefined, "Separator", SP(Separator), 3);
    sw(CH_SYS, PARAM_INDEX_SYSBEEP, SP(Beep));
    choice(PARAM_INDEX_SYSBACKLIGHT, IsPlusInt, UintRatio, "BackLight", SP(BackLight), 7);
    choice(PARAM_INDEX_SYSSCREENSAVE, IsMutSelect, UintUndefined, "ScreenSave", SP(ScreenSave), 4);
    sw(CH_SYS, PARAM_INDEX_SYSCLKSOURCE, SP(ClkSource));
    choice(PARAM_INDEX_SYSPICFROMAT, IsMutSelect, UintUndefined, "Picformat", SP(PicFormat), 3);
    sw(CH_SYS, PARAM_INDEX_SYSCLKOUT, SP(ClkOut));
    sw(CH_SYS, PARAM_INDEX_SYSPHASESYNC, SP(PhaseSyncType));
    sw(CH_SYS, PARAM_INDEX_SYSMANUALTRIG, SP(ManualTrigType));
    choice(PARAM_INDEX_SYSPOWERUPPARAM, IsMutSelect, UintUndefined, "powerUpParam", SP(ParamRemember), 6);
    choice(PARAM_INDEX_SYSPRESETFILE, IsMutSelect, UintUndefined, "saveParam", SP(SaveRemember), 5);
    sw(CH_SYS, PARAM_INDEX_SYSFACTORYRESET, SP(FactoryReset));
    sw(CH_SYS, PARAM_INDEX_SYSIPSETTYPE, SP(IPSetType));
    address(PARAM_INDEX_SYSIPSET);
    address(PARAM_INDEX_SYSIPMASK);
    address(PARAM_INDEX_SYSIPGATEWAY);
    single<macModel>(list, CH_SYS, PARAM_INDEX_SYSMACADDR,
                     D(IsString, UintUndefined, "noSubBoard", noValue, nullptr, 0, 0, 0, 0, 0))
        ->disUpdate();
    sw(CH_COUNTER, PARAM_INDEX_COUNTERONOFF, SP(CounterOnOff));
    sw(CH_COUNTER, PARAM_INDEX_COUNTERCOUPLING, SP(CounterCoupling));
    single<channelModel>(list, CH_COUNTER, PARAM_INDEX_COUNTERTRIGVOLTAGE,
                         D(IsDouble, UintVoltage, "DCVoltage", SP(CounterTrigVoltage), -2.5, 2.5, 10, -3, -3));
    single<channelModel>(list, CH_COUNTER, PARAM_INDEX_COUNTERTRIGSENSITI,
                         D(IsPlusInt, UintRatio, "Percent", SP(CounterTrigSensiti), 0, 100, 10, 0, 0));
    sw(CH_COUNTER, PARAM_INDEX_COUNTERLPF, SP(CounterLPF));
    sw(CH_DIGITAL, PARAM_IDNEX_DIGITALSW, SP(DigitalSW), 16);
    sw(CH_DIGITAL, PARAM_IDNEX_DIGITAL_FORMAT, SP(Digitalfromat));
    single<channelNoExeModel>(list, CH_DIGITAL, PARAM_INDEX_DIGITAL_VALTAGE,
                              D(IsPlus, UintVoltage, "DCVoltage", SP(DigitalAmplitude), 0.001, 10, 15, -3, -3));
    sw(CH_DIGITAL, PARAM_IDNEX_DIGITALAUTOSEND, SP(DigitalAutoSend));
    single<channelNoExeModel>(list, CH_DIGITAL, PARAM_IDNEX_SPICLK,
                              D(IsPlus, UintFre, "Hz", SP(DigitalSPIClk), 1, 5e7, 15, 0, 0));
    single<channelNoExeModel>(list, CH_DIGITAL, PARAM_IDNEX_I2CCLK,
                              D(IsPlus, UintFre, "Hz", SP(DigitalI2CClk), 1, 5e7, 15, 0, 0));
    single<channelModel>(list, CH_DIGITAL, PARAM_IDNEX_I2CADDR,
                         D(IsPlusInt, UintNum, "noSubBoard", SP(DigitalI2CAddr), 0, 1023, 15, 0, 0));
    single<channelModel>(list, CH_DIGITAL, PARAM_IDNEX_DIGITALSENDINTERVAL,
                         D(IsPlus, UintPeriod, "Time", SP(DigitalASendInterval), 2e-8, 1000, 15, -9, -9));
    single<channelNoExeModel>(list, CH_DIGITAL, PARAM_INDEX_UARTBAUDRATE,
                              D(IsPlusInt, UintNum, "noSubBoard", SP(DigitalUARTBaudrate), 1, 1000000, 15, 0, 0));
    single<MutSelectModel>(list, CH_DIGITAL, PARAM_INDEX_UARTDATABITS,
                           D(IsMutSelect, UintUndefined, "uartstartbits", SP(DigitalUARTDataBits), 0, 4, 0, 0, 0),
                           EPT_Undefine, true);
    single<MutSelectModel>(list, CH_DIGITAL, PARAM_INDEX_UARTSTOPBITS,
                           D(IsMutSelect, UintUndefined, "uartstopbits", SP(DigitalUARTStopBits), 0, 2, 0, 0, 0),
                           EPT_Undefine, true);
    single<MutSelectModel>(list, CH_DIGITAL, PARAM_INDEX_UARTVERIFY,
                           D(IsMutSelect, UintUndefined, "uartverify", SP(digitalUARTParity), 0, 2, 0, 0, 0),
                           EPT_Undefine, true);

    // System page order: language, separator, beep, backlight, screen
    // saver, clock source, clock output, picture format, phase sync,
    // power-up parameters, manual trigger, preset file, factory reset.
    for (int pos : {0, 1, 2, 3, 4, 5, 7, 6, 8, 10, 9, 11, 12})
        syslist.append(QVariant::fromValue(static_cast<QObject*>(list.at(pos))));
    for (int pos = 13; pos <= 17; ++pos)
        lanlist.append(QVariant::fromValue(static_cast<QObject*>(list.at(pos))));
}

#undef SP
