#pragma once
// Analogue output path of one channel: what the channel can produce at each
// frequency and load, how its output ranges are switched, and the correction
// data (DC gain/offset per range, amplitude-flatness curves) that calibration
// fills in and the register layer turns into offset-DAC words and the 16-bit
// flatness table of the FPGA.
//
// The output stage behind each DAC is: output amplifier (x6.16, switch bit
// 0x1), two 20 dB attenuators (bits 0x2 and 0x4) and a 9.5 dB attenuator
// (bit 0x8). The code written to REG_ATT is the OR of those bits; each
// output range below is one such code.
//
// Every limit is an open-circuit value in the tables; the value at the load
// is that times GetLoadGain() (50 ohm source into the load).
#include "hardware/shared_value.h"
#include <vector>
#include "param/systype.h"

struct HardwareBandwidth {
    double freqSine;
    double freqSquare;
    double freqPulse;
    double freqRamp;
    double freqHarmonic;
    double freqArb;
    double freqPseudo;
};

// One row of the amplitude-versus-frequency table: valid up to `fre`.
struct AmpFreTable {
    double fre;      // upper frequency of the row, Hz
    double amp;      // largest amplitude, Vpp open circuit
    double offset;   // largest offset magnitude, V open circuit
    double maxLevel; // largest instantaneous level, V open circuit
};

// One point of a flatness curve.
struct ACFrePiont {
    double fre;        // Hz
    double amp;        // relative gain, 1.0 = nominal
    double tmpHfactor; // relative gain change at the hot end (+12 degC)
    double tmpLfactor; // relative gain change at the cold end (-11 degC)
};

// One flatness curve, measured at the amplitude AdjAmp.
struct ACAmpFre {
    double AdjAmp;
    std::vector<ACFrePiont> Points;
};

// One output range.
struct AmpSWMap {
    double amp;           // largest open-circuit amplitude the range serves
    unsigned char ATT;    // switch code written to REG_ATT
    unsigned char ATTRef; // code whose flatness curves the range borrows, 255 none
    double MaxAmp;
    double MaxDC;                   // largest open-circuit offset magnitude the range serves
    double DC_a;                    // DC calibration gain
    double DC_b;                    // DC calibration offset term (applied twice)
    std::vector<ACAmpFre> ACFreAmp; // flatness curves, ascending AdjAmp
};

class CChCharacter {
public:
    // Output resistance and the load treated as high impedance, ohm.
    static const int OutputR = 50;
    static const int HighR = 1000000;

    // Switch code bits (REG_ATT).
    enum : unsigned char {
        ATT_AMPLIFIER = 0x1, // output amplifier, AC x6.16, DC x6
        ATT_DIV10_A = 0x2,   // attenuator /10
        ATT_DIV10_B = 0x4,   // attenuator /10
        ATT_DIV3 = 0x8,      // attenuator /3
        ATT_NONE_REF = 255,  // ATTRef: the range has its own curves
    };

    // Flatness table geometry: one word per FCLK / 2048 Hz; the FPGA of
    // CH1/CH2 covers 4096 words (625 MHz), that of CH3/CH4 1536 words.
    static constexpr double FlatnessStep = 152587.890625;
    static constexpr int FlatnessWordsCh12 = 4096;
    static constexpr int FlatnessWordsCh34 = 1536;
    static int FlatnessWords(CH_ID ch);

    // Board temperature at which the flatness curves were measured, degC,
    // and the span the temperature factors describe on each side of it.
    static constexpr double ReferenceTemperature = 43.0;
    static constexpr double HotSpan = 12.0;
    static constexpr double ColdSpan = 11.0;

    // LED word bits shown while a channel is selected.
    enum : u32 {
        LED_WAVE_MASK = 0x3E1F,  // waveform keys
        LED_OUTPUT_MASK = 0x1E0, // output-on LEDs, owned by the all-channel word
        LED_MODE_KEEP = 0x3FFF,  // everything below the mode keys
    };

    explicit CChCharacter(CH_ID id);

    CH_ID chId;
    u32 LED;
    HardwareBandwidth Bandwidth;
    std::vector<AmpFreTable> AmpFreTables;
    std::vector<AmpSWMap> AmpSWMaps;

    // ---- tables
    // variant 200 or 400 for the reduced models, anything else full bandwidth.
    void InitBandwidth(unsigned variant);
    void InitAmpFreTab();
    void InitAmpSWMap(double maxVpp);

    // ---- bandwidth
    // Frequency range of a BASE_WAVE on this channel. False (and 1e-6..1e-6)
    // for a value that is no waveform.
    bool GetBWFreScope(int wave, double& min, double& max) const;

    // ---- load
    static double GetLoadGain(double load);
    double GetLoadGain() const;
    static double GetLoadRate(CH_ID ch);

    // ---- amplitude and level limits
    const AmpFreTable& GetAmpFreqTableAtFreq(double f) const;
    double GetMaxAmpAtFreq(double f, double load) const;
    double GetMaxAmpAtFreq(double f) const;
    bool AmpLimit() const;
    double GetLimitAmp() const;
    double GetLimitOffset() const;
    double GetLimitHigh() const;
    double GetLimitLow() const;
    void GetMaxHighLow(double f, double& high, double& low, double& offsetMax) const;
    double GetMaxFreqAtMinOffset(double offset) const;

    // ---- output ranges and switch codes
    AmpSWMap* GetATTtoAmpMap(unsigned char code);
    const AmpSWMap* GetATTtoAmpMap(unsigned char code) const;
    const AmpSWMap* GetAmpATTMap(int index) const;
    double GetMapAmp(unsigned char code) const;
    const AmpSWMap* GetACSWMap(double amp) const;
    unsigned char GetACMapSW(double amp) const;
    const AmpSWMap* GetDCSWMap(double dc) const;
    unsigned char GetDCMapSW(double dc) const;
    static double GetACGain(unsigned char code);
    static double GetDCGain(unsigned char code);
    static double calcDCGain(unsigned char code);
    double GetDcCalValue(unsigned char code, double v) const;

    // ---- flatness
    // Fills out[0..n) with the gain words at k * step for amplitude vpp in
    // the range of `code`. True when measured curves were used, false when
    // the table is flat (65535).
    bool GetAcFineforATT(unsigned char code, double vpp, unsigned short* out, unsigned n, double step) const;
    static void LinearInterpolation(const std::vector<ACFrePiont>& points, unsigned short* out, unsigned n,
                                    double step);
    // Where the flatness interpolation reads the board temperature (the
    // register layer points it at its latest reading). Without a source the
    // curves are used as measured, at the reference temperature.
    static void SetBoardTemperatureSource(const SharedValue<float>* t);
    static double BoardTemperature();

    // ---- calibration data
    bool SetDCCalValue(unsigned char code, double a, double b);
    void SetAllDCCalValue(double a, double b);
    void ClearAcCalValue();
    // The curve of range `code` measured at V (created empty when absent);
    // null when the code has no range. The pointer is valid until the next
    // curve is added to that range.
    ACAmpFre* GetATTtoAmpForMap(unsigned char code, double V);
    static bool SetAddACCalValue(std::vector<ACFrePiont>* points, double f, double a);
    static bool SetAddACTempValue(std::vector<ACFrePiont>* points, double f, double factor, bool high);
    void SortACCalValue(unsigned char code);
    void SortACHTempValue(unsigned char code);
    void SortACLTempValue(unsigned char code);
    void Set1KFreqCalValue();
    // Calibration frequencies are kept to four significant digits.
    static double RoundCalFreq(double f);

    // ---- LED word
    static u32 ModeLed(u32 workMode);
    static u32 WaveLed(u32 baseWave);
    static u32 OutputLed(CH_ID ch);
    void SetModeLed(u32 workMode);
    void SetWaveLed(u32 baseWave);

    // The channel paired with this one for merging and coupling.
    static CH_ID PartnerOf(CH_ID ch);

private:
    // Rows that describe the channel; the zero rows that pad the CH3/CH4
    // table to eight rows are not among them.
    int realRowCount() const;
};
