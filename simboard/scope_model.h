#pragma once
// The oscilloscope of the simulated board: the voltage a channel's output
// connector carries, computed only from what the simulated FPGA received (the
// channel's register block, the tables streamed through the table port, the
// frequency list, the deep memory and the offset-DAC words), never from the
// program's own parameter record. It is the last link of the chain
// command -> channel -> register words -> output, so a wrong word shows up
// as a wrong voltage.
//
// The signal path, as the board builds it:
//   phase accumulator (REG_PHASE_INC, 2^63 per turn at 312.5 MHz)
//     -> generator (REG_BASE_WAVE: wave-memory table, pulse/square with duty
//        and edge slopes, ramp with symmetry, noise, PRBS, DC, deep memory)
//     -> mode (REG_WORK_MODE: AM/DSB-AM/SUM depth, FM/PM deviation, FSK hops,
//        ASK/PSK keying, frequency list, N-cycle / infinite bursts)
//     -> DAC scaled by REG_VOL_ADJ and the flatness word at the carrier
//     -> output amplifier and attenuators (REG_ATT switch code)
//     -> + offset DAC (coarse and fine words)
//     -> inversion (REG_INVERT), output relay (REG_OUTPUT)
//     -> 50 ohm source into the load.
#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <memory>

class SimFpga;
class CChCharacter;

// Everything the output path of one channel holds.
struct ScopeChannelState {
    int ch = 0;                 // 0 = CH1 .. 3 = CH4
    QByteArray regs;            // the channel's register block (256 bytes)
    QVector<quint64> baseTable; // wave memory (16-bit words)
    QVector<quint64> modTable;  // modulation table
    QVector<quint64> flatTable; // amplitude-flatness words
    QVector<quint64> list;      // frequency-list entries (36 bits)
    QVector<quint64> deep;      // deep memory (16-bit words, CH1/CH2)
    QVector<quint64> offsetDac; // coarse and fine offset-DAC codes; empty: none latched
    // The partner channel (CH1<->CH2, CH3<->CH4), captured when this
    // channel's merge adder is on: its wave is added at REG_MERGE_GAIN.
    QVector<ScopeChannelState> partner;

    // The state held now by the simulated FPGA of this process.
    static ScopeChannelState capture(const SimFpga& fpga, int ch, bool withPartner = true);
    static int partnerOf(int ch) { return ch ^ 1; }
    bool mergeOn() const { return reg(0x4A, 1) != 0; }
    // Register value of `bytes` bytes at a channel offset, least significant first.
    uint64_t reg(unsigned offset, unsigned bytes) const;
};

class ScopeModel {
public:
    // loadOhms: the load at the connector (1e6 and above: high impedance).
    explicit ScopeModel(const ScopeChannelState& state, double loadOhms = 1e6);

    // Volts at the load, t seconds after the phase-synchronising reset.
    double at(double t) const;
    // `points` samples spread evenly over [0, span).
    QVector<double> sample(double span, int points) const;

    // Decoded quantities (what the words mean), for reports and checks.
    double carrierHz() const { return m_f0; }
    double modulationHz() const { return m_fmod; }
    int workMode() const { return m_mode; }
    // How often the mode's pattern repeats: the modulating, sweep, burst or
    // keying period (a frequency list's whole list, 3FSK's three symbols).
    double repeatHz() const;
    double fullScaleVpp() const { return m_fullScale; } // open circuit, scale word 65535
    double acVpp() const { return m_acVpp; }            // open circuit, this scale word
    double dcVolts() const { return m_dc; }             // open circuit, before inversion
    double loadGain() const { return m_loadGain; }
    bool outputOn() const { return m_outputOn; }
    // What of this state the model renders only approximately or not at all.
    QStringList limits() const { return m_limits; }

    // Open-circuit Vpp of a switch code at scale word 65535.
    static double fullScaleOf(const CChCharacter& c, unsigned char code);

private:
    double generator(double phase, double dutyShift = 0) const; // one turn -> -1..+1
    double modulating(double phase) const;                      // one turn -> -1..+1
    double carrierPhase(double t) const;                        // turns, wrapped
    double integratedTurns(double t, const double* freq, int n, double stepTime) const;
    double prbsBit(uint64_t index) const;
    double noiseAt(double t) const;
    double wave(double t) const;

    ScopeChannelState m_s;
    int m_mode = 0;
    int m_gen = 0;
    int m_modWave = 0;
    uint64_t m_inc = 0;
    double m_f0 = 0;
    double m_phase0 = 0;
    double m_fmod = 0;
    double m_depthWord = 0; // REG_MOD_DEPTH / (2^47 - 1)
    double m_hop[3] = {0, 0, 0};
    double m_duty = 0.5;           // fraction of a turn where the falling edge starts
    double m_rise = 0, m_fall = 0; // edge durations as fractions of a turn
    double m_sym = 0.5;
    int m_burstCycles = 0;
    int m_burstMode = 0;
    int m_trigSource = 0;
    double m_burstDelay = 0;
    int m_prbsDegree = 7;
    QVector<double> m_listHz;
    QVector<double> m_fmFreq;            // FM: instantaneous frequency per modulating step
    QByteArray m_prbs;                   // PRBS bits
    QByteArray m_pn;                     // PN code of BPSK, QPSK and QAM
    double m_keyPhase[4] = {0, 0, 0, 0}; // BPSK/QPSK phases, turns
    double m_oskTime = 0;                // OSK swell and decay time, s
    QVector<double> m_fmTurns;           // FM: turns accumulated before each modulating step

    double m_fullScale = 0;
    double m_acVpp = 0;
    double m_dc = 0;
    bool m_invert = false;
    bool m_outputOn = false;
    double m_loadGain = 1;
    double m_noiseGain = 0;
    QStringList m_limits;
    // Merge: the partner's generator and mode, added at this amplitude (Vpp).
    std::shared_ptr<ScopeModel> m_partner;
    double m_mergeVpp = 0;
};
