#pragma once
// The one parameter record of the instrument. It is stored verbatim in the
// EEPROM, the preset files and the remote configuration block, so the byte
// layout below is a stored format: little-endian, natural alignment of the
// 32-bit ARM target (doubles on 8-byte boundaries). Every offset is pinned
// by a static_assert; reserved bytes are spelled out so that they are zero.
#include <cstddef>
#include "param/systype.h"

struct CH_DATA {
    u32 WorkMode;               // 0
    u32 ModType;                // 4
    u32 SweepType;              // 8
    u32 BurstType;              // 12
    u32 BaseWave;               // 16
    i32 ModWave;                // 20
    bool ChInversion;           // 24
    bool SyncOut;               // 25
    bool SyncRevers;            // 26
    bool ChCoupleFreqSW;        // 27
    bool ChCoupleAmplSW;        // 28
    bool ChCouplePhaseSW;       // 29
    bool ChCoupleFreqType;      // 30
    bool ChCoupleAmplType;      // 31
    bool ChCouplePhaseType;     // 32
    u8 reserved0[7];            // 33
    double ChCoupleFreqRate;    // 40
    double ChCoupleAmplRate;    // 48
    double ChCouplePhaseRate;   // 56
    double ChCoupleFreqDev;     // 64
    double ChCoupleAmplDev;     // 72
    double ChCouplePhaseDev;    // 80
    u32 Load;                   // 88
    bool AmpLimit;              // 92
    u8 ChMerge;                 // 93
    u8 AmpMode;                 // 94
    u8 AmpUnit;                 // 95
    u8 TimeUnit;                // 96
    u8 reserved1[7];            // 97
    double LimitH;              // 104
    double LimitL;              // 112
    double SampleRate;          // 120
    double Frequency;           // 128
    double Period;              // 136
    double Vpp;                 // 144
    double VDbm;                // 152
    double Vrms;                // 160
    double Offset;              // 168
    double High;                // 176
    double Low;                 // 184
    double Phase;               // 192
    double Symmetry;            // 200
    double Delay;               // 208
    double Rise;                // 216
    double Fall;                // 224
    double Duty;                // 232
    double PulseWidth;          // 240
    u32 SweepStep;              // 248
    u32 BstCycles;              // 252
    u8 CodeElement;             // 256
    u8 SNRUnit;                 // 257
    bool ModSrc;                // 258
    u8 DutyPulseWidthUnit;      // 259
    bool ArbSample;             // 260
    bool ArbFilter;             // 261
    bool noiseSumSW;            // 262
    u8 reserved2[1];            // 263
    double SNRatiodB;           // 264
    double SNRatio;             // 272
    char ModArbFileDir[128];    // 280
    char ArbFileDir[128];       // 408
    char ListFileDir[128];      // 536
    u8 HarmonicType;            // 664
    u8 HarmonicOrder;           // 665
    u8 HarmonicSn;              // 666
    u8 reserved3[1];            // 667
    u32 HarmonicUserType;       // 668
    double HarmonicSnAmp[15];   // 672
    double HarmonicSnPhase[15]; // 792
    double EdgeTime;            // 912
    double SwpStartFre;         // 920
    double SwpEndFre;           // 928
    double SwpTime;             // 936
    i32 TrigerOut;              // 944
    i32 BstGatePolarity;        // 948
    u8 TrigerSource;            // 952
    u8 TrigerSourceOSK;         // 953
    u8 reserved4[6];            // 954
    double TrigerPeriod;        // 960
    double BstStartPhase;       // 968
    double ModFre;              // 976
    double Bitrate;             // 984
    double ModTime;             // 992
    float ModDepthAM;           // 1000
    float ModDepth;             // 1004
    double ModFreDev;           // 1008
    float ModPhaseDev;          // 1016
    u8 reserved5[4];            // 1020 (alignment gap before the next double)
    double ModHopFre;           // 1024
    double ModHopFre2;          // 1032
    double ModHopFre3;          // 1040
    float Phase1;               // 1048
    float Phase2;               // 1052
    float Phase3;               // 1056
    float Phase4;               // 1060
    double ModOscTime;          // 1064
    double ModPWMDuty;          // 1072
    double ModRate;             // 1080
    u8 QAM_Map;                 // 1088
    u8 reserved6[7];            // 1089
    double QAMRate;             // 1096
};

struct HardWareInfo {
    u32 CRC16;                   // 0: CRC-16 of bytes 4..4535, upper half zero
    char product[16];            // 4
    char buildtime[32];          // 20
    u8 reserved0[4];             // 52 (alignment gap before the channel records)
    CH_DATA PDT[4];              // 56
    bool Beep;                   // 4472
    bool ManualTrigType;         // 4473
    bool PhaseSyncType;          // 4474
    u8 ParamRemember;            // 4475
    u8 BackLight;                // 4476
    u8 Screensaver;              // 4477
    u8 Separator;                // 4478
    bool ClockSource;            // 4479
    bool ClockOut;               // 4480
    u8 PicFormat;                // 4481
    u8 CounterTrigSensiti;       // 4482
    bool CounterCoupling;        // 4483
    bool CounterLPF;             // 4484
    bool digitalfromat;          // 4485
    bool digitalAutoSend;        // 4486
    u8 digitalType;              // 4487
    u16 digitalI2CAddr;          // 4488
    u8 digitalUARTDataBits;      // 4490
    u8 digitalUARTStopBits;      // 4491
    u8 digitalUARTParity;        // 4492
    u8 reserved1[3];             // 4493
    float CounterTrigvoltage;    // 4496
    float digitalSPIClk;         // 4500
    float digitalI2CClk;         // 4504
    u8 reserved2[4];             // 4508
    double digitalUARTBaudrate;  // 4512
    double digitalASendInterval; // 4520
    float digitalAmplitude;      // 4528
    u8 reserved3[4];             // 4532
};

#define ORNAV_AT(T, f, off) static_assert(offsetof(T, f) == (off), #T "::" #f " is at " #off)
ORNAV_AT(CH_DATA, WorkMode, 0);
ORNAV_AT(CH_DATA, ModType, 4);
ORNAV_AT(CH_DATA, SweepType, 8);
ORNAV_AT(CH_DATA, BurstType, 12);
ORNAV_AT(CH_DATA, BaseWave, 16);
ORNAV_AT(CH_DATA, ModWave, 20);
ORNAV_AT(CH_DATA, ChInversion, 24);
ORNAV_AT(CH_DATA, SyncOut, 25);
ORNAV_AT(CH_DATA, SyncRevers, 26);
ORNAV_AT(CH_DATA, ChCoupleFreqSW, 27);
ORNAV_AT(CH_DATA, ChCoupleAmplSW, 28);
ORNAV_AT(CH_DATA, ChCouplePhaseSW, 29);
ORNAV_AT(CH_DATA, ChCoupleFreqType, 30);
ORNAV_AT(CH_DATA, ChCoupleAmplType, 31);
ORNAV_AT(CH_DATA, ChCouplePhaseType, 32);
ORNAV_AT(CH_DATA, ChCoupleFreqRate, 40);
ORNAV_AT(CH_DATA, ChCoupleAmplRate, 48);
ORNAV_AT(CH_DATA, ChCouplePhaseRate, 56);
ORNAV_AT(CH_DATA, ChCoupleFreqDev, 64);
ORNAV_AT(CH_DATA, ChCoupleAmplDev, 72);
ORNAV_AT(CH_DATA, ChCouplePhaseDev, 80);
ORNAV_AT(CH_DATA, Load, 88);
ORNAV_AT(CH_DATA, AmpLimit, 92);
ORNAV_AT(CH_DATA, ChMerge, 93);
ORNAV_AT(CH_DATA, AmpMode, 94);
ORNAV_AT(CH_DATA, AmpUnit, 95);
ORNAV_AT(CH_DATA, TimeUnit, 96);
ORNAV_AT(CH_DATA, LimitH, 104);
ORNAV_AT(CH_DATA, LimitL, 112);
ORNAV_AT(CH_DATA, SampleRate, 120);
ORNAV_AT(CH_DATA, Frequency, 128);
ORNAV_AT(CH_DATA, Period, 136);
ORNAV_AT(CH_DATA, Vpp, 144);
ORNAV_AT(CH_DATA, VDbm, 152);
ORNAV_AT(CH_DATA, Vrms, 160);
ORNAV_AT(CH_DATA, Offset, 168);
ORNAV_AT(CH_DATA, High, 176);
ORNAV_AT(CH_DATA, Low, 184);
ORNAV_AT(CH_DATA, Phase, 192);
ORNAV_AT(CH_DATA, Symmetry, 200);
ORNAV_AT(CH_DATA, Delay, 208);
ORNAV_AT(CH_DATA, Rise, 216);
ORNAV_AT(CH_DATA, Fall, 224);
ORNAV_AT(CH_DATA, Duty, 232);
ORNAV_AT(CH_DATA, PulseWidth, 240);
ORNAV_AT(CH_DATA, SweepStep, 248);
ORNAV_AT(CH_DATA, BstCycles, 252);
ORNAV_AT(CH_DATA, CodeElement, 256);
ORNAV_AT(CH_DATA, SNRUnit, 257);
ORNAV_AT(CH_DATA, ModSrc, 258);
ORNAV_AT(CH_DATA, DutyPulseWidthUnit, 259);
ORNAV_AT(CH_DATA, ArbSample, 260);
ORNAV_AT(CH_DATA, ArbFilter, 261);
ORNAV_AT(CH_DATA, noiseSumSW, 262);
ORNAV_AT(CH_DATA, SNRatiodB, 264);
ORNAV_AT(CH_DATA, SNRatio, 272);
ORNAV_AT(CH_DATA, ModArbFileDir, 280);
ORNAV_AT(CH_DATA, ArbFileDir, 408);
ORNAV_AT(CH_DATA, ListFileDir, 536);
ORNAV_AT(CH_DATA, HarmonicType, 664);
ORNAV_AT(CH_DATA, HarmonicOrder, 665);
ORNAV_AT(CH_DATA, HarmonicSn, 666);
ORNAV_AT(CH_DATA, HarmonicUserType, 668);
ORNAV_AT(CH_DATA, HarmonicSnAmp, 672);
ORNAV_AT(CH_DATA, HarmonicSnPhase, 792);
ORNAV_AT(CH_DATA, EdgeTime, 912);
ORNAV_AT(CH_DATA, SwpStartFre, 920);
ORNAV_AT(CH_DATA, SwpEndFre, 928);
ORNAV_AT(CH_DATA, SwpTime, 936);
ORNAV_AT(CH_DATA, TrigerOut, 944);
ORNAV_AT(CH_DATA, BstGatePolarity, 948);
ORNAV_AT(CH_DATA, TrigerSource, 952);
ORNAV_AT(CH_DATA, TrigerSourceOSK, 953);
ORNAV_AT(CH_DATA, TrigerPeriod, 960);
ORNAV_AT(CH_DATA, BstStartPhase, 968);
ORNAV_AT(CH_DATA, ModFre, 976);
ORNAV_AT(CH_DATA, Bitrate, 984);
ORNAV_AT(CH_DATA, ModTime, 992);
ORNAV_AT(CH_DATA, ModDepthAM, 1000);
ORNAV_AT(CH_DATA, ModDepth, 1004);
ORNAV_AT(CH_DATA, ModFreDev, 1008);
ORNAV_AT(CH_DATA, ModPhaseDev, 1016);
ORNAV_AT(CH_DATA, ModHopFre, 1024);
ORNAV_AT(CH_DATA, ModHopFre2, 1032);
ORNAV_AT(CH_DATA, ModHopFre3, 1040);
ORNAV_AT(CH_DATA, Phase1, 1048);
ORNAV_AT(CH_DATA, Phase2, 1052);
ORNAV_AT(CH_DATA, Phase3, 1056);
ORNAV_AT(CH_DATA, Phase4, 1060);
ORNAV_AT(CH_DATA, ModOscTime, 1064);
ORNAV_AT(CH_DATA, ModPWMDuty, 1072);
ORNAV_AT(CH_DATA, ModRate, 1080);
ORNAV_AT(CH_DATA, QAM_Map, 1088);
ORNAV_AT(CH_DATA, QAMRate, 1096);
static_assert(sizeof(CH_DATA) == 1104, "CH_DATA is 1104 bytes");

ORNAV_AT(HardWareInfo, CRC16, 0);
ORNAV_AT(HardWareInfo, product, 4);
ORNAV_AT(HardWareInfo, buildtime, 20);
ORNAV_AT(HardWareInfo, PDT, 56);
ORNAV_AT(HardWareInfo, Beep, 4472);
ORNAV_AT(HardWareInfo, ManualTrigType, 4473);
ORNAV_AT(HardWareInfo, PhaseSyncType, 4474);
ORNAV_AT(HardWareInfo, ParamRemember, 4475);
ORNAV_AT(HardWareInfo, BackLight, 4476);
ORNAV_AT(HardWareInfo, Screensaver, 4477);
ORNAV_AT(HardWareInfo, Separator, 4478);
ORNAV_AT(HardWareInfo, ClockSource, 4479);
ORNAV_AT(HardWareInfo, ClockOut, 4480);
ORNAV_AT(HardWareInfo, PicFormat, 4481);
ORNAV_AT(HardWareInfo, CounterTrigSensiti, 4482);
ORNAV_AT(HardWareInfo, CounterCoupling, 4483);
ORNAV_AT(HardWareInfo, CounterLPF, 4484);
ORNAV_AT(HardWareInfo, digitalfromat, 4485);
ORNAV_AT(HardWareInfo, digitalAutoSend, 4486);
ORNAV_AT(HardWareInfo, digitalType, 4487);
ORNAV_AT(HardWareInfo, digitalI2CAddr, 4488);
ORNAV_AT(HardWareInfo, digitalUARTDataBits, 4490);
ORNAV_AT(HardWareInfo, digitalUARTStopBits, 4491);
ORNAV_AT(HardWareInfo, digitalUARTParity, 4492);
ORNAV_AT(HardWareInfo, CounterTrigvoltage, 4496);
ORNAV_AT(HardWareInfo, digitalSPIClk, 4500);
ORNAV_AT(HardWareInfo, digitalI2CClk, 4504);
ORNAV_AT(HardWareInfo, digitalUARTBaudrate, 4512);
ORNAV_AT(HardWareInfo, digitalASendInterval, 4520);
ORNAV_AT(HardWareInfo, digitalAmplitude, 4528);
static_assert(sizeof(HardWareInfo) == 4536, "HardWareInfo is 4536 bytes");
#undef ORNAV_AT

// The stored record is little-endian; this code writes it with memcpy.
static_assert(sizeof(bool) == 1 && sizeof(float) == 4 && sizeof(double) == 8, "record field widths");
