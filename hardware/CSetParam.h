#pragma once
// CSetParam: the application's access to the FPGA register space and the
// start-up programming of the chips behind it. A class of static members over
// one process-wide register device: every transfer holds FPGA_RW_mutex for the
// one device call (the key thread, the worker thread and the remote threads
// share the device); while the device is closed every write is dropped and
// every read leaves its buffer as it was, so readers start from 0.
//
// What it remembers between calls (written-register caches, LED words,
// calibration state, channel characteristics, counter results) is one
// `State`, so that a fresh start is one assignment (ResetState).
#include <QMutex>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <chrono>
#include <functional>
#include "hardware/cchcharacter.h"
#include "hardware/shared_value.h"
#include "hardware/fpga_regs.h"
#include "hardware/fpga_usercmd.h"
#include "param/systype.h"

class FpgaRegDevice;

class CSetParam {
public:
    CSetParam();
    ~CSetParam();

    // ---- register access ----------------------------------------------------
    static userCmd& MakeCMD(userCmd& cmd, unsigned short address, void* data, int unit);
    static void WRITE(userCmd* cmd, int count);
    static void READ(userCmd* cmd, int count);

    // Byte transfers to/from consecutive registers; the address is taken
    // modulo 2^16.
    static void FpgaWrite(unsigned address, const void* data, int bytes);
    static void FpgaRead(unsigned address, void* data, int bytes);
    static void FpgaReadDouble(unsigned address, void* data, int bytes);
    static void GetFPGA_Reg(unsigned address, void* data, int bytes);
    // A stream of 16-bit words into the one port at address.
    static void FpgaWriteWords(unsigned address, const unsigned short* words, int count);
    // A byte stream through a data window (see FpgaRegDevice::writeWindowed)
    // under one hold of the device lock; the window offset after the data.
    static unsigned FpgaWriteWindowed(unsigned base, unsigned window, unsigned offset, const void* data, size_t bytes);

    // Value writes, least significant byte at the base address.
    static void SetFPGA_reg(unsigned address, bool value);
    static void SetFPGA_reg(unsigned address, unsigned char value);
    static void SetFPGA_reg(unsigned address, unsigned short value);
    static void SetFPGA_reg(unsigned address, unsigned int value, unsigned int n);       // low n <= 4 bytes
    static void SetFPGA_reg(unsigned address, unsigned long long value, unsigned int n); // low n <= 8 bytes
    static void SetFPGA_reg(unsigned address, const void* data, unsigned int n);
    // Raw write of at most 6 bytes; returns 1.
    static int SetFPGADirect(unsigned address, const void* data, unsigned int n);

    // CH1..CH4: only these have a register block of their own.
    static bool IsChannel(CH_ID ch) { return ch >= CH1 && ch <= CH4; }
    // Address of a per-channel register.
    static unsigned short ChReg(CH_ID ch, unsigned offset) { return (unsigned(ch) * REG_CH_BLOCK) | offset; }
    // Address of a raw (channel, address) access: below 0x400 the address is
    // placed in the channel's block, above it is used as it is.
    static unsigned short RawAddress(int ch, unsigned address);

    // True while a key-expander interrupt is pending.
    static bool HAS_KEY_FLAG();
    static unsigned char GetKey();
    static unsigned char GetTCA8418Reg();
    // Start-up of the two expanders by the key reader: the LED expander's
    // pins become outputs, all high (LEDs off); the key expander's matrix and
    // interrupt set-up, each word verified by reading it back.
    static void InitLEDFonfig();
    static void InitKEYFonfig();

    // ---- bring-up -----------------------------------------------------------
    static void Init(unsigned variant);
    // Opens "/dev/fpga" (step one of Init); false with the device missing.
    static bool OpenDevice();
    static void CloseDevice();
    static bool DeviceOpen() { return fd >= 0; }

    static QString ReadLogicVer();
    static QString ReadHardwareVer();
    static QString ReadSoftDate();
    static QString GetSoftDate();
    static const char* SoftAndLogicDate(const char* s);

    // ---- chips --------------------------------------------------------------
    static void SetAD9122Reg(unsigned short word);
    static void SetChDAC();
    static void SetLMK04906(unsigned word);
    static void SetPLL();
    static void SetLTC2000Reg(CH_ID ch, unsigned char value);
    // The main-DAC start-up words in the order they are sent.
    static const unsigned short kDacInitWords[24];

    // Flatness tables (table port kind 2): CChCharacter::FlatnessWords(ch)
    // words, 4096 on CH1/CH2, 1536 on CH3/CH4.
    static void SetFineAmpDataReg(CH_ID ch, const unsigned short* table, int n);
    static void SetFineAmpData(CH_ID ch, unsigned short v);
    static void SetFineAmpDataToDefault(CH_ID ch);

    // ---- board operations -----------------------------------------------------
    static void ResetFPFGA(bool force);
    static void SetExtCLKIn(bool in, bool out);
    static bool GetInputClkValid();
    static void SetDigtalModTrigInOutReg(CH_ID ch, bool enable, bool isOut);
    static void SetManualTrig(CH_ID ch);
    // Channels whose two overload bits are both set in a REG_SAFE_STATUS
    // value, bit n for channel n.
    static unsigned char OverloadChannels(unsigned char status);
    // Reads REG_SAFE_STATUS, clears the latch of every overloaded channel and
    // returns their mask (bit n for channel n).
    static unsigned char PollOverload();

    // ---- carrier, modulation and burst timing ------------------------------------
    // Each writes the register named in its comment; channels outside
    // CH1..CH4 and inputs that are not numbers are ignored.
    static void SetFre(CH_ID ch, double f);                    // REG_PHASE_INC, only when f changed
    static void SetModFre(CH_ID ch, double f);                 // REG_MOD_INC
    static void SetBurstPeriod(CH_ID ch, double T);            // REG_MOD_INC at 1 / T
    static void SetModHop1Fre(CH_ID ch, double f);             // REG_HOP1_INC
    static void SetModHop2Fre(CH_ID ch, double f);             // REG_HOP2_INC
    static void SetModHop3Fre(CH_ID ch, double f);             // REG_HOP3_INC
    static unsigned long long GetFreToStep(double f);          // 48-bit increment of f
    static void SetOscTime(CH_ID ch, double t);                // REG_OSK_INC
    static void SetBurstDelay(CH_ID ch, double d);             // REG_BURST_DELAY
    static void SetModDepth(CH_ID ch, double percent);         // REG_MOD_DEPTH
    static void SetModOffsetFre(CH_ID ch, double dev);         // REG_MOD_DEPTH, Hz
    static void SetModOffsetPhase(CH_ID ch, double dev);       // REG_MOD_DEPTH, degrees
    static void SetPhase(CH_ID ch, double phase);              // REG_START_PHASE
    static void SetPhase2(CH_ID ch, double phase);             // REG_PHASE2
    static void SetPhase3(CH_ID ch, double phase);             // REG_PHASE3
    static void SetPhase4(CH_ID ch, double phase);             // REG_PHASE4
    static void SetBurstCycles(CH_ID ch, unsigned n);          // REG_BURST_CYCLES
    static void SetBurstMode(CH_ID ch, unsigned char m);       // REG_BURST_MODE (BURST_FPGA_Type)
    static void SetQAM_Mode(CH_ID ch, unsigned char m);        // REG_QAM_MODE
    static void SetPNCodeElement(CH_ID ch, unsigned char n);   // REG_PN_ORDER
    static void SetPRBSCodeElement(CH_ID ch, unsigned char n); // REG_PRBS_ORDER
    // Forgets every cached register value (carrier frequency, switch code,
    // flatness amplitude, coarse offset), so that the next setting writes
    // in full and waits every pause.
    static void ForgetWrittenState();

    // ---- switches and routing -----------------------------------------------------
    static void SetWorkModeReg(CH_ID ch, FPGA_WORK_MODE m);
    static void SetBaseWaveType(CH_ID ch, FPGA_BASE_WAVE_TYPE t);
    static void SetBaseWaveType(CH_ID ch);
    static unsigned char BaseWaveGenerator(CH_ID ch, BASE_WAVE w);
    static unsigned char getFpgaFilterSwitch(CH_ID ch, BASE_WAVE w);
    static void SetModWaveType(CH_ID ch);
    static void SetTrigSource(CH_ID ch, unsigned char s);
    static void SetTrigAndEdge(CH_ID ch, int source, bool edge);
    static void SetEXT_TrigOutType(CH_ID ch, unsigned char t);
    static void SetChOutput(CH_ID ch, bool on);
    static void SetFPGAChInversion(CH_ID ch, bool inv);
    static void SetSyncManual(CH_ID ch, bool on);
    static void SetATT(CH_ID ch, unsigned char code);
    static void SetVolAdjFine(CH_ID ch, long long v); // clamped to 1..65535
    static void SetNoiseSum(CH_ID ch, bool on, unsigned short gain);
    static void SetDACMode(unsigned char m);
    static void SetDACValue(unsigned short w);
    static void SetBuzzerValue(unsigned char v);
    static void SetBeep(unsigned char v);

    // ---- LEDs -----------------------------------------------------------------------
    // Writes the LED words; words the expander already shows are not sent
    // again (each word after the first costs a 10 ms bus gap).
    static void SetChLedData(CH_ID ch);
    // The same refresh one word at a time, without waiting: sends the word
    // whose turn has come (if the bus gap since the last word has passed)
    // and returns the milliseconds until the next call is due, or -1 when
    // the expander shows the channel's words. A change meanwhile restarts
    // with the newest words.
    static int StepChLedData(CH_ID ch);
    // The expander's outputs are unknown again (reset, fresh device).
    static void ForgetLedWords();
    static void SetAllLedOff(CH_ID ch);
    // The three LED expander words of a channel's LED state, in sending order.
    static void LedWords(CH_ID ch, unsigned short out[3]);

    // ---- edges, pulses and ramps ------------------------------------------------------
    // A slope word: 24-bit mantissa and the doubling count n.
    struct SlopeWord {
        uint32_t mantissa;
        unsigned shifts;
    };
    static SlopeWord SplitSlope(double k, double edge);
    // Edge time the FPGA must be told to produce edge e on this channel's
    // output stage (the measured edge tables), seconds.
    static double PulseEdgeCorrection(CH_ID ch, double e);
    static double PrbsEdgeCorrection(CH_ID ch, double t);
    static double SquareEdge(double f);
    static void SetPulseParam(CH_ID ch, double f, double duty, double rise, double fall);
    static void SetSquarePulseParam(CH_ID ch, double f, double duty);
    static void SetSymmetry(CH_ID ch, double sym);
    static void SetPRBSEdgeTime(CH_ID ch, double t);
    static void SetPulseSweepData(CH_ID ch, const short* profile, double f0, double f1);
    static void SetPulseListSweepData(CH_ID ch, const double* freqs, int n);

    // ---- noise ------------------------------------------------------------------------
    // Taps of the noise-shaping filter: 96 on CH1/CH2, 24 on CH3/CH4.
    static int NoiseTaps(CH_ID ch);
    // Low-pass coefficients at bandwidth bw into coef[NoiseTaps(ch)]; false
    // (coefficients untouched) when bw gives no filter.
    static bool GetNoiseRatio(CH_ID ch, double bw, short* coef);
    static void SetNoiseBW(CH_ID ch, double bw);

    // ---- amplitude and offset -----------------------------------------------------------
    static void SetAmpOffset(CH_ID ch, double freq, double vpp, double offset, bool merge, bool inversion,
                             bool noiseSum, float snr);
    static void SetOffset(CH_ID ch, unsigned char code, double volts, bool inverted);
    // The coarse and fine offset-DAC words of an output voltage at the DAC.
    static void OffsetDacWords(double x, unsigned* coarse, unsigned* fine);
    static void SetAmp(CH_ID ch, unsigned char code, double ampFlat, double vpp, double noiseRef, bool noiseOn);
    static void SetAmpBigDC(CH_ID ch, double vpp, double mapAmp, double noiseRef, bool noiseOn);
    static void SetMerge(CH_ID ch, unsigned char code, double mergeAmp, bool on);
    static void SetFineAmpCal(CH_ID ch, unsigned char code, double vpp);

    // ---- tables -------------------------------------------------------------------------
    static void SetBaseWaveData(CH_ID ch, const short* data, int len, bool deep);
    static void SetModWaveData(CH_ID ch, const short* data, int len);
    static void SetListData(CH_ID ch, const double* freqs, int n);
    // Deep waveform memory of CH1/CH2 (sample-by-sample playback).
    static const int kDeepResampleLen = 8388608; // 2^23
    static const int kDeepMaxSamples = 67108864; // 2^26
    // progress (when given) hears the per cent of the words written.
    static bool SetDeepWaveData(CH_ID ch, const short* data, int len,
                                const std::function<void(int)>& progress = std::function<void(int)>());
    // Whole passes of a wave of len samples the deep memory takes so that
    // the total is a multiple of 8 samples (one 16-byte window).
    static int DeepPasses(long long len);

    // ---- counter ------------------------------------------------------------------------
    static void SetCnt(bool on);
    static void SetCntLPF(unsigned char v);
    static void SetCntCoupling(unsigned char v);
    static void SetCntTrigVoltage(double v);
    static void SetCntTrigSensiti(double percent);
    static unsigned GetCnterHLevel();
    static unsigned GetCnterLLevel();
    static unsigned GetCnterRefH();
    static unsigned GetCnterRefL();
    static unsigned GetCnterCycleH();
    static unsigned GetCnterCycleL();
    // One measurement; 1 with a signal, 0 without.
    static int readCounterPara();
    // Enters one set of results into the statistics.
    static void refresh(double fre, double duty, double period, double pwidth, double nwidth);
    // Mean, minimum, maximum and standard deviation of the most recent
    // `count` values of a ring of 256 written up to (excluding) `next`.
    static void StatisticalOne(const double* ring, int count, int next, double* mean, double* min, double* max,
                               double* sdev);
    static void offCounter();
    static int CounterSamples();
    enum CounterValue { VALUE = 0, MEAN, MIN, MAX, SDEV, FD, COUNTER_VALUES };
    static const int kCounterRing = 256;

    // ---- digital protocol output ------------------------------------------------------------
    static void SetDigitalSW(unsigned char v);
    static void SetDigitalTrigType(bool b);
    static void SetDigitalMannulTrig();
    static void SetDigitalAutoInterval(double rate);
    static void SetDigitalClk(double f);
    static void SetDigitalUartDataBits(unsigned char v);
    static void SetDigitalUartParityType(unsigned char v);
    static void SetDigitalUartStopBits(unsigned char v);
    static void SetDigitalData(const char* bytes, unsigned n);
    static const unsigned kDigitalMaxBytes = 2048;

    // ---- calibration ----------------------------------------------------------
    // Steps of the calibration station ("SYNC#:CMD#").
    enum ReadyCode {
        SYNC_Cal_DC = 0,
        SYNC_Cal_AC = 1,
        SYNC_Cal_WriteFile = 2,
        SYNC_Cal_save = 3,
        SYNC_Verify_DC = 4,
        SYNC_Verify_AC = 5,
        SYNC_Cal_ClearAll = 6,
    };
    static const char* kCalFile;    // "/home/root/Local.cal"
    static const char* kCalOldFile; // "/home/root/LocalOld.cal"
    static const char* kHTempFile;  // "/home/root/Htemp.fac"
    static const char* kLTempFile;  // "/home/root/Ltemp.fac"
    // With an empty text: the calibration file (or its older copy) replaces
    // the tables, defaults when there is none. Otherwise the text (received
    // from the calibration station) is parsed into the tables as they are.
    // True when calibration data was parsed.
    static bool LoadCalData(QString text);
    static void LoadTempCalData();
    // Writes the calibration file from the four characteristics; the old
    // file stays in place until the new one is complete.
    static bool SaveCalData();
    static void SetSatuseCalDc(CH_ID ch);
    static void SetSatuseCalAc(CH_ID ch);
    static void SetSatuseVerifyDc(CH_ID ch);
    static void SetSatuseVerifyAc(CH_ID ch);
    static void CalClearAll();
    // Where SaveCalData takes the serial number from (the controller's);
    // without one the serial line is empty.
    static void SetSerialNumberSource(const char* (*source)());

    // ---- the register device ------------------------------------------------------
    // fd and device change only under FPGA_RW_mutex (OpenDevice, CloseDevice);
    // every transfer holds it for the one device call.
    static int fd;
    static QMutex FPGA_RW_mutex;
    static FpgaRegDevice* device;
    static const char* kDevicePath;

    // ---- state ----------------------------------------------------------------
    // Owner: the controller's worker thread, which applies every channel
    // setting and so every register programming below. Other threads:
    // - the calibration station's steps ("SYNC#:CMD#", calibration data) run
    //   in the SCPI worker thread and write isDcCal/isAcCal, the register
    //   caches and pCharacter's calibration tables; the station drives the
    //   instrument alone, nothing else applies settings meanwhile. isDcCal and
    //   isAcCal are shared values (atomic) because SetAmp/SetOffset read them
    //   on the worker thread.
    // - boardtemp is written by the 500 ms system tick (timer thread) and read
    //   wherever flatness is computed: a shared value.
    // - the counter results are written by the counter refresh in the GUI
    //   thread; the SCPI worker reads the numbers through CounterResult,
    //   which takes counterLock, as do the writers. The texts are the GUI
    //   thread's alone.
    struct LedShadow {
        // What the LED expander's three ports show, as last written; valid
        // is false until a full write after start or after an expander reset.
        unsigned short shown[3] = {0, 0, 0};
        bool shownValid = false;
        // A stepped refresh under way: the words it sends and the next one's
        // index (-1: none under way).
        unsigned short target[3] = {0, 0, 0};
        int next = -1;
        std::chrono::steady_clock::time_point lastWrite {};
        bool everWritten = false;
    };
    struct State {
        // What the registers were last written with, per channel, so that an
        // unchanged setting is not written (or waited for) again.
        double m_Fre[4] = {-1, -1, -1, -1};             // SetFre's carrier (-1: none)
        unsigned char m_ATT[4] = {255, 255, 255, 255};  // attenuator code (255: none)
        double m_VPP[4] = {-1, -1, -1, -1};             // flatness amplitude (-1: none)
        int m_OfsCoarse[4] = {-1, -1, -1, -1};          // coarse offset-DAC word (-1: none)
        unsigned short m_NoiseSumCal[4] = {0, 0, 0, 0}; // noise-sum gain of the flatness table
        // Output-on LEDs of all four channels (CChCharacter::OutputLed bits).
        uint32_t chAllLed = 0;
        LedShadow led;

        // Calibration in progress: the amplitude and offset paths bypass
        // their corrections.
        SharedValue<bool> isDcCal {false};
        SharedValue<bool> isAcCal {false};
        // The latest board temperature, degC; the flatness tables are
        // corrected with it. The reference temperature until the first reading.
        SharedValue<float> boardtemp {float(CChCharacter::ReferenceTemperature)};
        // The output-path characteristics of each channel; Init hands them
        // the board's bandwidth variant, calibration fills their tables.
        CChCharacter pCharacter[4] = {CChCharacter(CH1), CChCharacter(CH2), CChCharacter(CH3), CChCharacter(CH4)};
        const char* (*serialSource)() = nullptr;
        // System information line kept by SoftAndLogicDate.
        char softAndLogicDate[128] = {};

        // Counter: the texts the screens show, the numbers behind them
        // (indexed by CounterValue), the range of the last reading and the
        // rings of the most recent readings (count held, next slot).
        QStringList strFre, strDuty, strPeriod, strPWidth, strNWidth;
        double cntFre[COUNTER_VALUES] = {}, cntDuty[COUNTER_VALUES] = {}, cntPeriod[COUNTER_VALUES] = {},
               cntPWidth[COUNTER_VALUES] = {}, cntNWidth[COUNTER_VALUES] = {};
        bool cntSlowRange = false;
        double ring[5][kCounterRing] = {};
        int ringCount = 0;
        int ringNext = 0;
    };
    static State state;
    // Guards the counter numbers (cnt*) between the refresh and the queries.
    static QMutex counterLock;
    // A counter number under counterLock.
    enum CounterQuantity { CNT_FRE = 0, CNT_DUTY, CNT_PERIOD, CNT_PWIDTH, CNT_NWIDTH };
    static double CounterResult(CounterQuantity quantity, CounterValue which);
    // Everything remembered back to a fresh process (the device stays as it is).
    static void ResetState();
};
