#pragma once
// Static accessors of the one parameter record. Every getter has the form
// double GetX(CH_ID) and every generic setter void SetX(CH_ID, double), so
// that their addresses fit the editing descriptors (DataInfo); system-wide
// accessors take and ignore the channel. Setters follow one store rule each:
//   D  doubles: store when |stored - new| > 1e-12
//   F  floats:  the same test against the widened stored value, stored narrowed
//   I  integers/enumerations: stored truncated towards zero when different
//   B0 booleans: value != 0          B4 booleans: |value| > 0.0001
#include <QString>
#include "param/hardwareinfo.h"
#include "param/global.h"

#define SP_ACCESS(name)                                                                                                \
    static double Get##name(CH_ID ch);                                                                                 \
    static void Set##name(CH_ID ch, double value);

class sys_param {
public:
    static HardWareInfo HWinfo;

    // State that belongs to the running instrument and is never saved with
    // the record (the record's bytes stay as they are): outputs, sync and
    // trigger users, the counter and digital switches, the network addresses
    // in use, where the files come from, and the board's identity read at
    // start-up. Empty/zero at start; resetTransient() returns to that.
    // Owner: the controller's worker thread writes it (the identity strings
    // once, during start-up, before the remote threads start); the LAN
    // services read it without a lock; the SCPI worker reads the switches
    // from the copy the controller publishes with the record.
    struct Transient {
        bool OnOff[4] = {};
        bool syncManual[4] = {};
        bool CounterOnOff = false;
        bool digitalSW = false;
        u8 TrgInOut = 0;        // bits 0..3 channels using the trigger line, bit 4 line driven as output
        u32 bkLoad = 0;         // the load value the last SetChLoad replaced
        bool IPSetType = false; // false automatic address, true static address
        char IP[16] = {};
        char Mask[16] = {};
        char Gateway[16] = {};
        char MAC[18] = {};
        u8 storagePlace[4] = {};
        double SyncFrequency[4] = {};
        QString SysInfo;
        QString DisplayName;
        QString HardWareVersion;
        QString LogicVersion;
    };
    static Transient transient;
    static void resetTransient();
    // The fields under their long-standing names (views of `transient`).
    static bool (&OnOff)[4];
    static bool (&syncManual)[4];
    static bool& CounterOnOff;
    static bool& digitalSW;
    static u8& TrgInOut;
    static u32& bkLoad;
    static bool& IPSetType;
    static char (&IP)[16];
    static char (&Mask)[16];
    static char (&Gateway)[16];
    static char (&MAC)[18];
    static u8 (&storagePlace)[4];
    static double (&SyncFrequency)[4];
    static QString& SysInfo;
    static QString& DisplayName;
    static QString& HardWareVersion;
    static QString& LogicVersion;
    static const QString SoftWareVersion;

    // The channel record of a channel (CH1..CH4; other ids map to CH1).
    static CH_DATA& ch(CH_ID id);

    // Typed mode setters and getters.
    static void SetChWorkMode(CH_ID ch, WORK_MODE v);
    static void SetChModType(CH_ID ch, MOD_Type v);
    static void SetChSweepType(CH_ID ch, SWEEP_Type v);
    static void SetChBurstType(CH_ID ch, BURST_Type v);
    static void SetChBaseWave(CH_ID ch, BASE_WAVE v);
    static WORK_MODE GetChWorkMode(CH_ID ch);
    static MOD_Type GetChModType(CH_ID ch);
    static SWEEP_Type GetChSweepType(CH_ID ch);
    static BURST_Type GetChBurstType(CH_ID ch);
    static BASE_WAVE GetChBaseWave(CH_ID ch);

    // Entry units.
    static void SetChTimeUnit(CH_ID ch, u8 v);
    static void SetChDutyUnit(CH_ID ch, u8 v);
    static void SetChAmpUnit(CH_ID ch, u8 v);
    static void SetChAmpMode(CH_ID ch, int v);
    static u8 GetChTimeUnit(CH_ID ch);
    static u8 GetChDutyUnit(CH_ID ch);
    static u8 GetChAmpUnit(CH_ID ch);
    static int GetChAmpMode(CH_ID ch);

    // Channel doubles (rule D).
    SP_ACCESS(ChSampleRate)
    SP_ACCESS(ChFrequency) SP_ACCESS(ChPeriod) SP_ACCESS(ChVpp) SP_ACCESS(ChVDbm) SP_ACCESS(ChVrms) SP_ACCESS(ChOffset)
        SP_ACCESS(ChHigh) SP_ACCESS(ChLow) SP_ACCESS(ChPhase) SP_ACCESS(ChSymmetry) SP_ACCESS(ChRise) SP_ACCESS(ChFall)
            SP_ACCESS(ChDuty) SP_ACCESS(ChPulseWidth) SP_ACCESS(ChSwpStartFre) SP_ACCESS(ChSwpEndFre)
                SP_ACCESS(ChSwpTime) SP_ACCESS(ChPRBSEdgeTime) SP_ACCESS(ChModRate) SP_ACCESS(ChModFre)
                    SP_ACCESS(ChBitrate) SP_ACCESS(ChModFreDev) SP_ACCESS(ChModHopFre) SP_ACCESS(ChModHopFre2)
                        SP_ACCESS(ChModHopFre3) SP_ACCESS(ChOskOscTime) SP_ACCESS(ChModPWMDutyDev)
                            SP_ACCESS(ChBurstTrigPeriod) SP_ACCESS(ChBurstStartPhase) SP_ACCESS(ChAmplLimitH)
                                SP_ACCESS(ChAmplLimitL) SP_ACCESS(ChSNRatiodB) SP_ACCESS(ChSNRatio)

        // Channel floats (rule F).
        SP_ACCESS(ChModDepthAM) SP_ACCESS(ChModDepth) SP_ACCESS(ChModPhaseDev) SP_ACCESS(ChModPhase1)
            SP_ACCESS(ChModPhase2) SP_ACCESS(ChModPhase3) SP_ACCESS(ChModPhase4)

        // Channel integers (rule I).
        SP_ACCESS(ChModWave) SP_ACCESS(ChHarmonicOrder) SP_ACCESS(ChHarmonicType) SP_ACCESS(ChHarmonicUserType)
            SP_ACCESS(ChHarmonicSn) SP_ACCESS(ChPNCodeElement) SP_ACCESS(ChQAMIOMap) SP_ACCESS(ChTrigSource)
                SP_ACCESS(ChTrigSourceOSK) SP_ACCESS(ChBurstTrigerOutType) SP_ACCESS(ChBurstCync)
                    SP_ACCESS(ChBurstGatePolarity) SP_ACCESS(ChSweepStep) SP_ACCESS(ChMerge)

        // Load (rule I; bkLoad receives the replaced value).
        SP_ACCESS(ChLoad)

        // Channel switches (B0).
        SP_ACCESS(ChInversion) SP_ACCESS(ChSyncOut) SP_ACCESS(ChModSource) SP_ACCESS(ChAmplLimit)
        // Channel switches (B4).
        SP_ACCESS(ChSyncRevers) SP_ACCESS(ChNoiseSumSW) SP_ACCESS(ChSNRUint) SP_ACCESS(ChArbSample)
            SP_ACCESS(ChArbFilter)

        // The harmonic component selected by HarmonicSn (rule D).
        SP_ACCESS(ChHarmonicAmp) SP_ACCESS(ChHarmonicPhase)

        // Coupling: the CH1 record for COUPLE12, the CH3 record for any other id.
        SP_ACCESS(ChCoupleFreqSW) SP_ACCESS(ChCoupleAmplSW) SP_ACCESS(ChCouplePhaseSW) SP_ACCESS(ChCoupleFreqType)
            SP_ACCESS(ChCoupleAmplType) SP_ACCESS(ChCouplePhaseType) SP_ACCESS(ChCoupleFreqRate)
                SP_ACCESS(ChCoupleAmplRate) SP_ACCESS(ChCouplePhaseRate) SP_ACCESS(ChCoupleFreqDev)
                    SP_ACCESS(ChCoupleAmplDev) SP_ACCESS(ChCouplePhaseDev) static CH_DATA& coupleRecord(CH_ID id);

    // File paths: at most 127 bytes and a terminating NUL.
    static void SetChArbFileDir(CH_ID ch, const char* path, int len);
    static void SetChModArbFileDir(CH_ID ch, const char* path, int len);
    static void SetChListFileDir(CH_ID ch, const char* path, int len);
    static const char* GetChArbFileDir(CH_ID ch);
    static const char* GetChModArbFileDir(CH_ID ch);
    static const char* GetChListFileDir(CH_ID ch);

    // Non-persistent state.
    SP_ACCESS(ChOnOff)
    SP_ACCESS(CounterOnOff) SP_ACCESS(DigitalSW) SP_ACCESS(ChStoragePlace)

        // System switches.
        SP_ACCESS(PhaseSyncType) SP_ACCESS(ManualTrigType) SP_ACCESS(Beep) SP_ACCESS(CounterCoupling)
            SP_ACCESS(CounterLPF) SP_ACCESS(DigitalAutoSend) SP_ACCESS(Digitalfromat) SP_ACCESS(ClkSource)
                SP_ACCESS(ClkOut)

        // System integers.
        SP_ACCESS(Separator) SP_ACCESS(BackLight) SP_ACCESS(ScreenSave) SP_ACCESS(PicFormat)
            SP_ACCESS(CounterTrigSensiti) SP_ACCESS(DigitalType) SP_ACCESS(DigitalI2CAddr)
                SP_ACCESS(DigitalUARTDataBits) SP_ACCESS(DigitalUARTStopBits) SP_ACCESS(digitalUARTParity)

        // System reals.
        SP_ACCESS(CounterTrigVoltage) SP_ACCESS(DigitalSPIClk) SP_ACCESS(DigitalI2CClk) SP_ACCESS(DigitalAmplitude)
            SP_ACCESS(DigitalASendInterval) SP_ACCESS(DigitalUARTBaudrate)

        // Backed by the settings file.
        SP_ACCESS(Language) SP_ACCESS(ParamRemember) SP_ACCESS(IPSetType) static void IPSetInit(CH_ID ch);
    static void IPSaveNetwork();

    // Inert entries: the actions behind them belong to their editing entries.
    SP_ACCESS(SaveRemember)
    SP_ACCESS(FactoryReset)

        // Copies the whole channel record of `from` over that of `to`.
        static void chParamCopy(CH_ID from, CH_ID to);
    // The MOD_Type whose dense index is index & 63.
    static MOD_Type modTypeOfIndex(int index);

    // Clears the record and writes every factory value.
    static void setFactoryValues(HardWareInfo& hw);
};

#undef SP_ACCESS
