#pragma once
// Sample tables of the four channels.
//
// Per channel the generator keeps one period of the base wave for the FPGA
// wave memory (8192 samples), one period of the internal modulating wave
// (2048 samples), the arbitrary tables loaded from files, the frequency list
// and the three 460-point traces the waveform preview paints. Samples are
// 16-bit signed with full scale -32767 .. +32767 (-32768 is never produced);
// preview traces use -100 .. +100.
//
// Everything is static: the tables are fixed-size arrays that live for the
// whole process, built and read on the controller's thread only. Init() must
// run once before any table is built.
#include "param/systype.h"

enum {
    WAVE_BASE_POINTS = 8192,  // base and arbitrary tables, one period
    WAVE_MOD_POINTS = 2048,   // modulating tables and the frequency list
    WAVE_DISP_POINTS = 460,   // preview traces
    WAVE_DISP_HARMONIC = 220, // preview points of a harmonic carrier (the bar chart takes the rest)
};

struct SWaveMem {
    short Arb[WAVE_BASE_POINTS];       // loaded arbitrary wave resampled to 8192 points
    short Base[WAVE_BASE_POINTS];      // one period of the base wave, for the FPGA wave memory
    short Pulse[WAVE_BASE_POINTS];     // pulse table (not written by the generator)
    short MArb[WAVE_MOD_POINTS];       // loaded modulating arbitrary wave, 2048 points
    short Modulate[WAVE_MOD_POINTS];   // one period of the internal modulating wave
    short DispBase[WAVE_DISP_POINTS];  // preview of the carrier
    short DispMod[WAVE_DISP_POINTS];   // preview of the modulating wave
    short DispMixer[WAVE_DISP_POINTS]; // preview of the modulated, swept or burst output
    double List[WAVE_MOD_POINTS];      // frequency list, Hz
    int ListLen;                       // points in List
    double listmaxfre;                 // largest list frequency
    double HarZoomRate;                // span of the raw harmonic sum / 65534
    int ArbLen;                        // points of the loaded arbitrary file
    int MArbLen;                       // points of the loaded modulating arbitrary file
    bool BaseWaveChanged;              // Base differs from what the wave memory holds
};

class CWaveCreate {
public:
    static SWaveMem wavemem[CH_Total];
    static short sintable[WAVE_BASE_POINTS]; // trunc(32767 sin(2 pi i / 8192))
    static int sintable32[WAVE_BASE_POINTS]; // the same values as 32-bit integers
    static u32 bwavev[CH_Total];             // last base wave drawn per channel
    static char m_arb[CH_Total][128];        // arbitrary path last copied into Base

    static void Init();
    // The channel's tables; ids outside CH1..CH4 give CH1's, like sys_param::ch.
    static SWaveMem* GetWaveMem(CH_ID ch);
    static void chcopy(CH_ID from, CH_ID to);
    // Forgets what was drawn into every channel's wave memory (a fresh
    // FPGA's memory is empty): the next draw of each channel rebuilds it.
    static void ForgetDrawn();

    static double GetBaseFre(CH_ID ch);
    static double GetBasePeriod(CH_ID ch);
    static double GetModFre(CH_ID ch);

    // Entry points, chosen by the channel's work mode when its signal redraws.
    static void CreateBaseWave(CH_ID ch, bool force);
    static void CreateModWave(CH_ID ch);
    static void CreateSweepWave(CH_ID ch);
    static void CreateBurstWave(CH_ID ch);

    // Base tables.
    static void CreateBaseRamp(CH_ID ch);
    static void CreateBaseNoise(CH_ID ch);
    static void CreateBasePrbs(CH_ID ch);
    static void CreateBaseHarmonic(CH_ID ch, int phaseOffset);
    static u16 GetHarmonicOnOffMask(CH_ID ch);
    static double GetHarmonicMaxVpp(CH_ID ch);

    // Modulating table and the modulation previews.
    static void CreateModSrc(CH_ID ch, MOD_WAVE wave);
    static void CreateModXAM(CH_ID ch);
    static void CreateModQAM(CH_ID ch);
    static void CreateModASK(CH_ID ch);
    static void CreateModFM(CH_ID ch);
    static void CreateModFSK(CH_ID ch);
    static void CreateMod3FSK(CH_ID ch);
    static void CreateMod4FSK(CH_ID ch);
    static void CreateModPM(CH_ID ch);
    static void CreateModPSK(CH_ID ch);
    static void CreateModBPSK(CH_ID ch);
    static void CreateModQPSK(CH_ID ch);
    static void CreateModOSK(CH_ID ch);
    static void CreateModPWM(CH_ID ch);
    static void CreateModSUM(CH_ID ch);

    // Sweep tables and previews.
    static void CreateSweepLiner(CH_ID ch);
    static void CreateSweepLog(CH_ID ch);
    static void CreateSweepStep(CH_ID ch);
    static void CreateSweepList(CH_ID ch);

    // Burst previews.
    static void CreateBurstNcyc(CH_ID ch);
    static void CreateBurstGate(CH_ID ch);
    static void CreateBurstInfinit(CH_ID ch);

    // Sampling and shaping routines, shared with the preview.
    static void peaksample(const short* src, int n, int start, short* dst, int m);
    static void sample(const short* src, int n, int start, short* dst, int m, int dststart);
    static void SampleWaveData(short* dst, int m, const short* src, int n, int offset);
    static void CreatePulse(short* dst, int n, short low, short high, double period, double width, double rise,
                            double fall);
    static void BaseNoiseSum(short* data, int n, int fullscale, double r);
    static double LimitRang(double value, double low, double high);

    // Points of DispBase that hold one carrier period (220 for a harmonic
    // carrier, else 460).
    static int DispBaseLen(CH_ID ch);
    // Maps a trace onto -100 .. +100 by its own extremes (rounded).
    static void NormalizeDisp(short* data, int n);
};
