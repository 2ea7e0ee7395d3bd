#include "param/sys_param.h"
#include "param/settingsfile.h"
#include <cmath>
#include <cstring>
#include <type_traits>

HardWareInfo sys_param::HWinfo;
sys_param::Transient sys_param::transient;
bool (&sys_param::OnOff)[4] = sys_param::transient.OnOff;
bool (&sys_param::syncManual)[4] = sys_param::transient.syncManual;
bool& sys_param::CounterOnOff = sys_param::transient.CounterOnOff;
bool& sys_param::digitalSW = sys_param::transient.digitalSW;
u8& sys_param::TrgInOut = sys_param::transient.TrgInOut;
u32& sys_param::bkLoad = sys_param::transient.bkLoad;
bool& sys_param::IPSetType = sys_param::transient.IPSetType;
char (&sys_param::IP)[16] = sys_param::transient.IP;
char (&sys_param::Mask)[16] = sys_param::transient.Mask;
char (&sys_param::Gateway)[16] = sys_param::transient.Gateway;
char (&sys_param::MAC)[18] = sys_param::transient.MAC;
u8 (&sys_param::storagePlace)[4] = sys_param::transient.storagePlace;
double (&sys_param::SyncFrequency)[4] = sys_param::transient.SyncFrequency;
QString& sys_param::SysInfo = sys_param::transient.SysInfo;
QString& sys_param::DisplayName = sys_param::transient.DisplayName;
QString& sys_param::HardWareVersion = sys_param::transient.HardWareVersion;
QString& sys_param::LogicVersion = sys_param::transient.LogicVersion;
const QString sys_param::SoftWareVersion = QStringLiteral("1.09.0018");

void sys_param::resetTransient() { transient = Transient {}; }

namespace {

inline int chIndex(CH_ID id)
{
    // Out-of-range ids would index past the four channel records.
    return (id >= CH1 && id <= CH4) ? int(id) : 0;
}

inline void storeD(double& field, double v)
{
    if (std::fabs(field - v) > 1e-12)
        field = v;
}

inline void storeF(float& field, double v)
{
    if (std::fabs(double(field) - v) > 1e-12)
        field = float(v);
}

// Truncation towards zero into the field's type. A value that is not a finite
// number changes nothing (it would be undefined to convert).
template <typename T>
inline void storeI(T& field, double v)
{
    if (!std::isfinite(v))
        return;
    T n;
    if (std::is_signed<T>::value)
        n = T(static_cast<long long>(v));
    else
        n = T(static_cast<unsigned long long>(static_cast<long long>(v)));
    if (n != field)
        field = n;
}

inline void storeB0(bool& field, double v) { field = (v != 0); }
inline void storeB4(bool& field, double v) { field = std::fabs(v) > 0.0001; }
inline void storeB4u8(u8& field, double v) { field = std::fabs(v) > 0.0001 ? 1 : 0; }

inline unsigned toUnsigned(double v)
{
    if (!std::isfinite(v))
        return 0;
    return unsigned(static_cast<long long>(v));
}

void copyPath(char* dst, const char* src, int len)
{
    int n = len < 0 ? 0 : (len > 127 ? 127 : len);
    if (src == nullptr)
        n = 0;
    // Stop at the source's own terminator, never read past it.
    int i = 0;
    for (; i < n && src[i] != '\0'; ++i)
        dst[i] = src[i];
    // Clear the rest of the field so no tail of a longer earlier path stays
    // in the stored record.
    for (; i < 128; ++i)
        dst[i] = '\0';
}

} // namespace

CH_DATA& sys_param::ch(CH_ID id) { return HWinfo.PDT[chIndex(id)]; }

CH_DATA& sys_param::coupleRecord(CH_ID id) { return id == COUPLE12 ? HWinfo.PDT[CH1] : HWinfo.PDT[CH3]; }

// ---- typed mode setters ----------------------------------------------------
void sys_param::SetChWorkMode(CH_ID c, WORK_MODE v) { ch(c).WorkMode = v; }
void sys_param::SetChModType(CH_ID c, MOD_Type v) { ch(c).ModType = v; }
void sys_param::SetChSweepType(CH_ID c, SWEEP_Type v) { ch(c).SweepType = v; }
void sys_param::SetChBurstType(CH_ID c, BURST_Type v) { ch(c).BurstType = v; }
void sys_param::SetChBaseWave(CH_ID c, BASE_WAVE v) { ch(c).BaseWave = v; }
WORK_MODE sys_param::GetChWorkMode(CH_ID c) { return WORK_MODE(ch(c).WorkMode); }
MOD_Type sys_param::GetChModType(CH_ID c) { return MOD_Type(ch(c).ModType); }
SWEEP_Type sys_param::GetChSweepType(CH_ID c) { return SWEEP_Type(ch(c).SweepType); }
BURST_Type sys_param::GetChBurstType(CH_ID c) { return BURST_Type(ch(c).BurstType); }
BASE_WAVE sys_param::GetChBaseWave(CH_ID c) { return BASE_WAVE(ch(c).BaseWave); }

void sys_param::SetChTimeUnit(CH_ID c, u8 v) { ch(c).TimeUnit = v; }
void sys_param::SetChDutyUnit(CH_ID c, u8 v) { ch(c).DutyPulseWidthUnit = v; }
void sys_param::SetChAmpUnit(CH_ID c, u8 v) { ch(c).AmpUnit = v; }
void sys_param::SetChAmpMode(CH_ID c, int v) { ch(c).AmpMode = u8(v); }
u8 sys_param::GetChTimeUnit(CH_ID c) { return ch(c).TimeUnit; }
u8 sys_param::GetChDutyUnit(CH_ID c) { return ch(c).DutyPulseWidthUnit; }
u8 sys_param::GetChAmpUnit(CH_ID c) { return ch(c).AmpUnit; }
int sys_param::GetChAmpMode(CH_ID c) { return ch(c).AmpMode; }

// ---- generic accessors -----------------------------------------------------
#define CH_RULE(name, field, rule)                                                                                     \
    double sys_param::Get##name(CH_ID c) { return double(ch(c).field); }                                               \
    void sys_param::Set##name(CH_ID c, double v) { rule(ch(c).field, v); }

#define CH_D(name, field) CH_RULE(name, field, storeD)
#define CH_F(name, field) CH_RULE(name, field, storeF)
#define CH_I(name, field) CH_RULE(name, field, storeI)
#define CH_B0(name, field) CH_RULE(name, field, storeB0)
#define CH_B4(name, field) CH_RULE(name, field, storeB4)

CH_D(ChSampleRate, SampleRate)
CH_D(ChFrequency, Frequency)
CH_D(ChPeriod, Period)
CH_D(ChVpp, Vpp)
CH_D(ChVDbm, VDbm)
CH_D(ChVrms, Vrms)
CH_D(ChOffset, Offset)
CH_D(ChHigh, High)
CH_D(ChLow, Low)
CH_D(ChPhase, Phase)
CH_D(ChSymmetry, Symmetry)
CH_D(ChRise, Rise)
CH_D(ChFall, Fall)
CH_D(ChDuty, Duty)
CH_D(ChPulseWidth, PulseWidth)
CH_D(ChSwpStartFre, SwpStartFre)
CH_D(ChSwpEndFre, SwpEndFre)
CH_D(ChSwpTime, SwpTime)
CH_D(ChPRBSEdgeTime, EdgeTime)
CH_D(ChModRate, ModRate)
CH_D(ChModFre, ModFre)
CH_D(ChBitrate, Bitrate)
CH_D(ChModFreDev, ModFreDev)
CH_D(ChModHopFre, ModHopFre)
CH_D(ChModHopFre2, ModHopFre2)
CH_D(ChModHopFre3, ModHopFre3)
CH_D(ChOskOscTime, ModOscTime)
CH_D(ChModPWMDutyDev, ModPWMDuty)
CH_D(ChBurstTrigPeriod, TrigerPeriod)
CH_D(ChBurstStartPhase, BstStartPhase)
CH_D(ChAmplLimitH, LimitH)
CH_D(ChAmplLimitL, LimitL)
CH_D(ChSNRatiodB, SNRatiodB)
CH_D(ChSNRatio, SNRatio)

CH_F(ChModDepthAM, ModDepthAM)
CH_F(ChModDepth, ModDepth)
CH_F(ChModPhaseDev, ModPhaseDev)
CH_F(ChModPhase1, Phase1)
CH_F(ChModPhase2, Phase2)
CH_F(ChModPhase3, Phase3)
CH_F(ChModPhase4, Phase4)

CH_I(ChModWave, ModWave)
CH_I(ChHarmonicOrder, HarmonicOrder)
CH_I(ChHarmonicType, HarmonicType)
CH_I(ChHarmonicUserType, HarmonicUserType)
CH_I(ChHarmonicSn, HarmonicSn)
CH_I(ChPNCodeElement, CodeElement)
CH_I(ChQAMIOMap, QAM_Map)
CH_I(ChTrigSource, TrigerSource)
CH_I(ChTrigSourceOSK, TrigerSourceOSK)
CH_I(ChBurstTrigerOutType, TrigerOut)
CH_I(ChBurstCync, BstCycles)
CH_I(ChBurstGatePolarity, BstGatePolarity)
CH_I(ChSweepStep, SweepStep)
CH_I(ChMerge, ChMerge)

double sys_param::GetChLoad(CH_ID c) { return double(ch(c).Load); }
void sys_param::SetChLoad(CH_ID c, double v)
{
    bkLoad = ch(c).Load;
    storeI(ch(c).Load, v);
}

CH_B0(ChInversion, ChInversion)
CH_B0(ChSyncOut, SyncOut)
CH_B0(ChModSource, ModSrc)
CH_B0(ChAmplLimit, AmpLimit)
CH_B4(ChSyncRevers, SyncRevers)
CH_B4(ChNoiseSumSW, noiseSumSW)
CH_B4(ChArbSample, ArbSample)
CH_B4(ChArbFilter, ArbFilter)
double sys_param::GetChSNRUint(CH_ID c) { return double(ch(c).SNRUnit); }
void sys_param::SetChSNRUint(CH_ID c, double v) { storeB4u8(ch(c).SNRUnit, v); }

// The component being edited is element HarmonicSn - 2 (harmonics 2..16).
// A record loaded from elsewhere may hold any HarmonicSn; keep the index
// inside the 15 elements.
static int harmonicIndex(const CH_DATA& d)
{
    int i = int(d.HarmonicSn) - 2;
    return i < 0 ? 0 : (i > 14 ? 14 : i);
}
double sys_param::GetChHarmonicAmp(CH_ID c) { return ch(c).HarmonicSnAmp[harmonicIndex(ch(c))]; }
void sys_param::SetChHarmonicAmp(CH_ID c, double v) { storeD(ch(c).HarmonicSnAmp[harmonicIndex(ch(c))], v); }
double sys_param::GetChHarmonicPhase(CH_ID c) { return ch(c).HarmonicSnPhase[harmonicIndex(ch(c))]; }
void sys_param::SetChHarmonicPhase(CH_ID c, double v) { storeD(ch(c).HarmonicSnPhase[harmonicIndex(ch(c))], v); }

#define CP_RULE(name, field, rule)                                                                                     \
    double sys_param::Get##name(CH_ID c) { return double(coupleRecord(c).field); }                                     \
    void sys_param::Set##name(CH_ID c, double v) { rule(coupleRecord(c).field, v); }
CP_RULE(ChCoupleFreqSW, ChCoupleFreqSW, storeB4)
CP_RULE(ChCoupleAmplSW, ChCoupleAmplSW, storeB4)
CP_RULE(ChCouplePhaseSW, ChCouplePhaseSW, storeB4)
CP_RULE(ChCoupleFreqType, ChCoupleFreqType, storeB4)
CP_RULE(ChCoupleAmplType, ChCoupleAmplType, storeB4)
CP_RULE(ChCouplePhaseType, ChCouplePhaseType, storeB4)
CP_RULE(ChCoupleFreqRate, ChCoupleFreqRate, storeD)
CP_RULE(ChCoupleAmplRate, ChCoupleAmplRate, storeD)
CP_RULE(ChCouplePhaseRate, ChCouplePhaseRate, storeD)
CP_RULE(ChCoupleFreqDev, ChCoupleFreqDev, storeD)
CP_RULE(ChCoupleAmplDev, ChCoupleAmplDev, storeD)
CP_RULE(ChCouplePhaseDev, ChCouplePhaseDev, storeD)

// ---- file paths -------------------------------------------------------------
void sys_param::SetChArbFileDir(CH_ID c, const char* p, int len) { copyPath(ch(c).ArbFileDir, p, len); }
void sys_param::SetChModArbFileDir(CH_ID c, const char* p, int len) { copyPath(ch(c).ModArbFileDir, p, len); }
void sys_param::SetChListFileDir(CH_ID c, const char* p, int len) { copyPath(ch(c).ListFileDir, p, len); }
const char* sys_param::GetChArbFileDir(CH_ID c) { return ch(c).ArbFileDir; }
const char* sys_param::GetChModArbFileDir(CH_ID c) { return ch(c).ModArbFileDir; }
const char* sys_param::GetChListFileDir(CH_ID c) { return ch(c).ListFileDir; }

// ---- non-persistent state ---------------------------------------------------
double sys_param::GetChOnOff(CH_ID c) { return OnOff[chIndex(c)] ? 1.0 : 0.0; }
void sys_param::SetChOnOff(CH_ID c, double v) { OnOff[chIndex(c)] = (toUnsigned(v) & 0xFF) != 0; }
double sys_param::GetCounterOnOff(CH_ID) { return CounterOnOff ? 1.0 : 0.0; }
void sys_param::SetCounterOnOff(CH_ID, double v) { CounterOnOff = (toUnsigned(v) & 0xFF) != 0; }
double sys_param::GetDigitalSW(CH_ID) { return digitalSW ? 1.0 : 0.0; }
void sys_param::SetDigitalSW(CH_ID, double v) { storeB0(digitalSW, v); }
double sys_param::GetChStoragePlace(CH_ID c) { return storagePlace[chIndex(c)]; }
void sys_param::SetChStoragePlace(CH_ID c, double v) { storeI(storagePlace[chIndex(c)], v); }

// ---- system settings --------------------------------------------------------
#define SYS_RULE(name, field, rule)                                                                                    \
    double sys_param::Get##name(CH_ID) { return double(HWinfo.field); }                                                \
    void sys_param::Set##name(CH_ID, double v) { rule(HWinfo.field, v); }

SYS_RULE(PhaseSyncType, PhaseSyncType, storeB4)
SYS_RULE(ManualTrigType, ManualTrigType, storeB4)
SYS_RULE(Beep, Beep, storeB4)
SYS_RULE(CounterCoupling, CounterCoupling, storeB4)
SYS_RULE(CounterLPF, CounterLPF, storeB4)
SYS_RULE(DigitalAutoSend, digitalAutoSend, storeB4)
SYS_RULE(Digitalfromat, digitalfromat, storeB0)
double sys_param::GetClkSource(CH_ID) { return HWinfo.ClockSource ? 1.0 : 0.0; }
void sys_param::SetClkSource(CH_ID, double v) { HWinfo.ClockSource = toUnsigned(v) != 0; }
double sys_param::GetClkOut(CH_ID) { return HWinfo.ClockOut ? 1.0 : 0.0; }
void sys_param::SetClkOut(CH_ID, double v) { HWinfo.ClockOut = toUnsigned(v) != 0; }

SYS_RULE(Separator, Separator, storeI)
SYS_RULE(BackLight, BackLight, storeI)
SYS_RULE(ScreenSave, Screensaver, storeI)
SYS_RULE(PicFormat, PicFormat, storeI)
SYS_RULE(CounterTrigSensiti, CounterTrigSensiti, storeI)
SYS_RULE(DigitalType, digitalType, storeI)
SYS_RULE(DigitalI2CAddr, digitalI2CAddr, storeI)
SYS_RULE(DigitalUARTDataBits, digitalUARTDataBits, storeI)
SYS_RULE(DigitalUARTStopBits, digitalUARTStopBits, storeI)
SYS_RULE(digitalUARTParity, digitalUARTParity, storeI)

SYS_RULE(CounterTrigVoltage, CounterTrigvoltage, storeF)
SYS_RULE(DigitalSPIClk, digitalSPIClk, storeF)
SYS_RULE(DigitalI2CClk, digitalI2CClk, storeF)
SYS_RULE(DigitalAmplitude, digitalAmplitude, storeF)
SYS_RULE(DigitalASendInterval, digitalASendInterval, storeD)
SYS_RULE(DigitalUARTBaudrate, digitalUARTBaudrate, storeD)

// ---- settings-file backed ---------------------------------------------------
double sys_param::GetLanguage(CH_ID) { return SettingsFile::value("language", 0).toInt(); }
void sys_param::SetLanguage(CH_ID, double v) { SettingsFile::setValue("language", int(std::isfinite(v) ? v : 0)); }
double sys_param::GetParamRemember(CH_ID) { return SettingsFile::value("powerUpValue", 0).toInt(); }
void sys_param::SetParamRemember(CH_ID, double v)
{
    SettingsFile::setValue("powerUpValue", int(std::isfinite(v) ? v : 0));
}
double sys_param::GetIPSetType(CH_ID)
{
    IPSetType = SettingsFile::value("IPSetType", 0).toInt() != 0;
    return IPSetType ? 1.0 : 0.0;
}
void sys_param::SetIPSetType(CH_ID, double v)
{
    IPSetType = std::isfinite(v) && int(v) != 0;
    SettingsFile::setValue("IPSetType", IPSetType ? 1 : 0);
}

static void readAddress(char* dst, const char* key, const char* def)
{
    // At most 16 characters; a 16-character address fills the field with no
    // terminator, which every reader of these fields allows for.
    const QByteArray text = SettingsFile::value(key, def).toString().toLatin1();
    std::memset(dst, 0, 16);
    std::memcpy(dst, text.constData(), size_t(qMin(text.size(), 16)));
}

void sys_param::IPSetInit(CH_ID)
{
    IPSetType = SettingsFile::value("IPSetType", 0).toInt() != 0;
    if (IPSetType) {
        readAddress(IP, "IP", "192.168.1.10");
        readAddress(Mask, "Mask", "255.255.255.0");
        readAddress(Gateway, "Gateway", "192.168.1.1");
    }
}

void sys_param::IPSaveNetwork()
{
    SettingsFile::setValue("IP", QString::fromLatin1(IP, int(strnlen(IP, 16))));
    SettingsFile::setValue("Mask", QString::fromLatin1(Mask, int(strnlen(Mask, 16))));
    SettingsFile::setValue("Gateway", QString::fromLatin1(Gateway, int(strnlen(Gateway, 16))));
}

double sys_param::GetSaveRemember(CH_ID) { return 0; }
void sys_param::SetSaveRemember(CH_ID, double) {}
double sys_param::GetFactoryReset(CH_ID) { return 0; }
void sys_param::SetFactoryReset(CH_ID, double) {}

// ---- whole-record helpers ---------------------------------------------------
void sys_param::chParamCopy(CH_ID from, CH_ID to)
{
    if (chIndex(from) == chIndex(to))
        return;
    std::memcpy(&ch(to), &ch(from), sizeof(CH_DATA));
}

MOD_Type sys_param::modTypeOfIndex(int index)
{
    static const MOD_Type table[15] = {
        MT_AM, MT_BAM, MT_QAM,  MT_ASK,  MT_FM,  MT_FSK, MT_3FSK, MT_4FSK,
        MT_PM, MT_PSK, MT_BPSK, MT_QPSK, MT_OSK, MT_PWM, MT_SUM,
    };
    int i = index & 63;
    // Only 0..14 are kinds; anything beyond would read past the table.
    return i < 15 ? table[i] : MT_AM;
}
