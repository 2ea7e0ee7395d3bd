// The output path of one channel, rebuilt from the register words the FPGA
// received. Every constant here is a property of the board: the synthesis
// clock and accumulator widths, the offset DACs' step sizes and their
// amplifier, the switch codes' ranges. The words are decoded the way the
// FPGA and the analogue stages use them, independently of how the program
// computed them.
#include "simboard/scope_model.h"
#include "simboard/simfpga.h"
#include "hardware/cchcharacter.h"
#include "hardware/fpga_regs.h"
#include "hardware/fpga_scales.h"
#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace {
using namespace fpga_scale;

const double kTurn63 = 9223372036854775808.0; // 2^63: one turn of the 64-bit accumulators
const double kTurn35 = 34359738368.0;         // 2^35: one turn of a frequency-list entry
const double kTurn32 = 4294967296.0;          // 2^32: one turn of the start phase
// Offset DACs: 12-bit coarse and fine outputs, summed and amplified by 6
// around -12.288 V, then through the DC gain of the switch code.
const double kCoarseStep = 0.8999799559029866e-3;
const double kFineStep = 0.10002004409701343e-3;
const double kOfsGain = 6.0;
const double kOfsZero = 12.288;
const double kSourceOhms = 50.0;

// Work modes and generators (REG_WORK_MODE, REG_BASE_WAVE).
enum {
    WM_BASE = 0,
    WM_AM = 1,
    WM_FM = 2,
    WM_PM = 3,
    WM_DSBAM = 4,
    WM_ASK = 5,
    WM_FSK = 6,
    WM_3FSK = 7,
    WM_4FSK = 8,
    WM_PSK = 9,
    WM_BPSK = 10,
    WM_QPSK = 11,
    WM_OSK = 12,
    WM_QAM = 13,
    WM_PWM = 14,
    WM_SUM = 15,
    WM_LIST = 20,
    WM_NCYC = 21,
    WM_GATE = 22,
    WM_CONTINUE = 23
};
enum {
    GEN_TABLE = 0,
    GEN_PULSE = 1,
    GEN_NOISE = 2,
    GEN_DEEP = 3,
    GEN_PRBS = 4,
    GEN_DC = 5,
    GEN_RAMP = 6,
    GEN_SQUARE = 7
};
enum { MOD_TABLE = 0, MOD_SQUARE = 1, MOD_UPRAMP = 2, MOD_DNRAMP = 3, MOD_NOISE = 4, MOD_EXT = 5 };

double sample16(quint64 w) { return double(int16_t(uint16_t(w))) / 32767.0; }
double frac(double x) { return x - std::floor(x); }

// A reproducible uniform number in (0, 1) for an integer, for the noise
// generators (the board's LFSR noise is white; its exact sequence is not
// something the program controls).
double uniform(uint64_t n)
{
    uint64_t z = n + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return (double(z >> 11) + 0.5) / 9007199254740992.0;
}
double gaussian(uint64_t n)
{
    return std::sqrt(-2.0 * std::log(uniform(2 * n))) * std::cos(2 * M_PI * uniform(2 * n + 1));
}

// Slope words: mantissa / 2^n per clock; the edge lasts SLOPE_K * FCLK /
// (slope * 2^63) of a turn whatever the carrier increment.
double edgeTurns(uint64_t mantissa, unsigned shift)
{
    if (mantissa == 0)
        return 0;
    const double slope = double(mantissa) / std::ldexp(1.0, int(shift));
    return SLOPE_K * FCLK / (slope * kTurn63);
}
} // namespace

// A range's full scale is its nominal amplitude; the three smallest ranges
// run their DAC at 3.1 and the next two at 3.4 times it. Codes that serve no
// amplitude of their own (code 15, the DC range, and the codes only the
// large-offset path uses: the output amplifier added to a range and one
// attenuator swapped) take the full scale of the range they are derived from
// times the gain the derivation adds, as the amplitude programming assumes.
double ScopeModel::fullScaleOf(const CChCharacter& c, unsigned char code)
{
    auto ranged = [&](unsigned char k) -> double {
        const AmpSWMap* m = c.GetATTtoAmpMap(k);
        if (!m || m->amp <= 0)
            return -1;
        return m->amp * (m->amp > 0.33 ? 1.0 : m->amp <= 0.036 ? 3.1 : 3.4);
    };
    const double own = ranged(code);
    if (own > 0)
        return own;
    for (int i = 0; const AmpSWMap* m = c.GetAmpATTMap(i); ++i) {
        const unsigned char a = m->ATT;
        if ((a & 1) || ranged(a) <= 0)
            continue;
        unsigned char d = uchar(a | 1);
        double g = CChCharacter::GetACGain(1);
        if (!(a & 8)) {
            d |= 8;
            g *= CChCharacter::GetACGain(8);
        } else if (!(a & 4)) {
            d = uchar((d & ~8) | 4);
            g = g / CChCharacter::GetACGain(8) * CChCharacter::GetACGain(4);
        } else if (!(a & 2)) {
            d = uchar((d & ~8) | 2);
            g = g / CChCharacter::GetACGain(8) * CChCharacter::GetACGain(2);
        }
        if (d == code)
            return ranged(a) * g;
    }
    return 4.0 * CChCharacter::GetACGain(code);
}

ScopeChannelState ScopeChannelState::capture(const SimFpga& fpga, int ch, bool withPartner)
{
    ScopeChannelState s;
    s.ch = qBound(0, ch, 3);
    s.regs = fpga.peek(unsigned(s.ch) * REG_CH_BLOCK, int(REG_CH_BLOCK));
    const QString c = QString::number(s.ch + 1);
    fpga.stream("table:" + c + ":base", &s.baseTable);
    fpga.stream("table:" + c + ":mod", &s.modTable);
    fpga.stream("table:" + c + ":flat", &s.flatTable);
    fpga.stream("list:" + c, &s.list);
    fpga.stream("offset:" + c, &s.offsetDac);
    if (s.ch < 2 && s.reg(REG_BASE_WAVE, 1) == GEN_DEEP)
        fpga.stream("deep:" + c, &s.deep);
    if (withPartner && s.mergeOn())
        s.partner << capture(fpga, partnerOf(s.ch), false);
    return s;
}

uint64_t ScopeChannelState::reg(unsigned offset, unsigned bytes) const
{
    uint64_t v = 0;
    for (int k = int(bytes) - 1; k >= 0; --k) {
        const int a = int(offset) + k;
        v = (v << 8) | (a < regs.size() ? uint8_t(regs.at(a)) : 0);
    }
    return v;
}

ScopeModel::ScopeModel(const ScopeChannelState& state, double loadOhms) : m_s(state)
{
    const ScopeChannelState& s = m_s;
    m_mode = int(s.reg(REG_WORK_MODE, 1));
    m_gen = int(s.reg(REG_BASE_WAVE, 1));
    m_modWave = int(s.reg(REG_MOD_WAVE, 1));
    m_inc = s.reg(REG_PHASE_INC, 8);
    m_f0 = double(m_inc) * FCLK / kTurn63;
    m_phase0 = double(s.reg(REG_START_PHASE, 4)) / kTurn32;
    m_fmod = double(s.reg(REG_MOD_INC, 8)) * FCLK / kTurn63;
    m_depthWord = double(s.reg(REG_MOD_DEPTH, 6)) / W48;
    m_hop[0] = double(s.reg(REG_HOP1_INC, 6)) * FCLK / W48;
    m_hop[1] = double(s.reg(REG_HOP2_INC, 6)) * FCLK / W48;
    m_hop[2] = double(s.reg(REG_HOP3_INC, 6)) * FCLK / W48;

    // Pulse and square: the rising edge starts the turn, the falling edge
    // starts at the duty word.
    m_rise = edgeTurns(s.reg(REG_RISE_SLOPE, 3), unsigned((s.reg(REG_RISE_SHIFT, 1) + 16) & 0xFF));
    m_fall = edgeTurns(s.reg(REG_FALL_SLOPE, 3), unsigned((s.reg(REG_FALL_SHIFT, 1) + 16) & 0xFF));
    m_duty = double(s.reg(REG_PULSE_DUTY, 6)) / W48;
    m_sym = double(s.reg(REG_SYMMETRY, 6)) / W47;

    m_burstCycles = int(s.reg(REG_BURST_CYCLES, 2));
    m_burstMode = int(s.reg(REG_BURST_MODE, 1));
    m_trigSource = int(s.reg(REG_TRIG_SOURCE, 1));
    const uint64_t delay = s.reg(REG_BURST_DELAY, 6);
    m_burstDelay = delay ? 2.0 * W48 / (double(delay) * FCLK) : 0;
    // PRBS length code k: a register of 2k + 3 stages (PN3, PN5 ... PN33;
    // code 8 is not used, PN21 is code 9).
    const int order = int(s.reg(REG_PRBS_ORDER, 1));
    m_prbsDegree = order <= 15 ? 2 * order + 3 : 7;
    // Frequency modulation steps through the modulating wave.
    if (m_mode == WM_FM) {
        const int n = m_modWave == MOD_TABLE || m_modWave == MOD_NOISE ? std::max(1, s.modTable.size()) : 2048;
        const double dev = m_depthWord * FCLK;
        m_fmFreq.resize(n);
        m_fmTurns.resize(n + 1);
        m_fmTurns[0] = 0;
        const double step = m_fmod > 0 ? 1.0 / (m_fmod * n) : 0;
        for (int i = 0; i < n; ++i) {
            m_fmFreq[i] = m_f0 + dev * modulating((i + 0.5) / n);
            m_fmTurns[i + 1] = m_fmTurns[i] + m_fmFreq[i] * step;
        }
    }
    // PRBS: a shift register of the selected length with feedback from its
    // last two stages (a maximal-length code for PN3, PN5, PN7 and PN15; a
    // pseudo-random run structure for the others), kept to its first 2^20 bits.
    if (m_gen == GEN_PRBS) {
        const int deg = m_prbsDegree;
        const uint64_t period = (uint64_t(1) << deg) - 1;
        const int len = int(std::min<uint64_t>(period, 1u << 20));
        uint64_t shift = period;
        m_prbs.resize(len);
        for (int i = 0; i < len; ++i) {
            m_prbs[i] = char(shift & 1);
            const uint64_t bit = ((shift >> (deg - 1)) ^ (shift >> (deg - 2))) & 1;
            shift = ((shift << 1) | bit) & period;
        }
    }
    // PN code of the digital modulations: the same shift register, of the
    // length REG_PN_ORDER selects.
    if (m_mode == WM_BPSK || m_mode == WM_QPSK || m_mode == WM_QAM) {
        const int pnOrder = int(s.reg(REG_PN_ORDER, 1));
        const int deg = pnOrder <= 15 ? 2 * pnOrder + 3 : 7;
        const uint64_t period = (uint64_t(1) << deg) - 1;
        const int len = int(std::min<uint64_t>(period, 1u << 16));
        uint64_t shift = period;
        m_pn.resize(len);
        for (int i = 0; i < len; ++i) {
            m_pn[i] = char(shift & 1);
            const uint64_t bit = ((shift >> (deg - 1)) ^ (shift >> (deg - 2))) & 1;
            shift = ((shift << 1) | bit) & period;
        }
        m_keyPhase[0] = 0; // the first phase is the carrier's start phase
        m_keyPhase[1] = double(s.reg(REG_PHASE2, 2)) / 65535.0 - m_phase0;
        m_keyPhase[2] = double(s.reg(REG_PHASE3, 2)) / 65535.0 - m_phase0;
        m_keyPhase[3] = double(s.reg(REG_PHASE4, 2)) / 65535.0 - m_phase0;
        if (m_mode == WM_QAM)
            for (int k = 0; k < 4; ++k)
                m_keyPhase[k] = 0.125 + 0.25 * k - m_phase0;
    }
    if (m_mode == WM_OSK) {
        const uint64_t w = s.reg(REG_OSK_INC, 6);
        m_oskTime = w ? 2.0 * W48 / (double(w) * FCLK) : 0;
    }
    for (quint64 e : s.list)
        m_listHz << double(e & 0xFFFFFFFFFull) * FCLK / kTurn35;

    // Amplitude: the full scale of the switch code at open circuit (scale
    // word 65535).
    const unsigned code = unsigned(s.reg(REG_ATT, 1));
    CChCharacter character(CH_ID(s.ch));
    m_fullScale = fullScaleOf(character, uchar(code));
    const double volAdj = double(s.reg(REG_VOL_ADJ, 2));
    double flat = 1.0;
    if (!s.flatTable.isEmpty()) {
        const int i = qBound(0, int(m_f0 / FLATNESS_STEP), s.flatTable.size() - 1);
        flat = double(s.flatTable[i]) / 65535.0;
    }
    m_acVpp = m_fullScale * volAdj / 65535.0 * flat;

    if (s.offsetDac.size() == 2) {
        const double x = double(s.offsetDac[0]) * kCoarseStep + double(s.offsetDac[1]) * kFineStep;
        m_dc = (x * kOfsGain - kOfsZero) * CChCharacter::GetDCGain(uchar(code));
    } else {
        m_dc = -kOfsZero * CChCharacter::GetDCGain(uchar(code));
        m_limits << QStringLiteral("the offset DACs were never written for this channel (taken as code 0)");
    }
    m_invert = s.reg(REG_INVERT, 1) != 0;
    m_outputOn = s.reg(REG_OUTPUT, 1) != 0;
    m_loadGain = loadOhms > 0 ? loadOhms / (loadOhms + kSourceOhms) : 0;
    if (s.reg(REG_NOISE_SUM_EN, 1))
        m_noiseGain = double(s.reg(REG_NOISE_SUM_GAIN, 2)) / 65535.0;

    // Merge adder: the partner's signal, scaled by the merge gain word on
    // this channel's range (the partner's offset is in this channel's
    // offset DAC already).
    if (s.reg(REG_MERGE_EN, 1)) {
        if (!s.partner.isEmpty()) {
            m_partner = std::make_shared<ScopeModel>(s.partner.first(), 1e6);
            m_mergeVpp = double(s.reg(REG_MERGE_GAIN, 2)) / 65535.0 * m_fullScale;
        } else {
            m_limits << QStringLiteral("merge is on but the partner channel's state is missing");
        }
    }
    if (m_noiseGain > 0)
        m_limits << QStringLiteral("added noise is white Gaussian; its filter is not modelled");
    if (m_gen == GEN_NOISE)
        m_limits << QStringLiteral(
            "noise is white Gaussian (sigma = full scale / 6.6); the noise filter is not modelled");
    if (m_gen == GEN_TABLE && s.baseTable.isEmpty())
        m_limits << QStringLiteral("the wave memory is empty");
    if (m_modWave == MOD_EXT && m_mode != WM_BASE)
        m_limits << QStringLiteral("external modulating input: no signal applied");
    if (m_mode >= WM_3FSK && m_mode <= WM_4FSK)
        m_limits << QStringLiteral("keying runs through the symbols in order; the PN code is not modelled");
    if (m_mode == WM_QAM)
        m_limits << QStringLiteral(
            "QAM is shown as four phases keyed by the PN code; the I/Q map's levels are not modelled");
    if (m_mode == 16 || m_mode == 17 || m_mode == 18 || m_mode > WM_CONTINUE)
        m_limits << QStringLiteral("work mode %1 is shown as the bare carrier").arg(m_mode);
    if (m_mode == WM_GATE || ((m_mode == WM_NCYC || m_mode == WM_CONTINUE) && m_trigSource != 0))
        m_limits << QStringLiteral("no trigger or gate signal arrives: the burst stays idle");
}

double ScopeModel::repeatHz() const
{
    if (m_mode == WM_BASE || m_fmod <= 0)
        return 0;
    if (m_mode == WM_LIST && !m_listHz.isEmpty())
        return m_fmod / m_listHz.size();
    if (m_mode == WM_3FSK)
        return m_fmod / 3;
    return m_fmod;
}

// One turn of the generator -> -1 .. +1.
double ScopeModel::generator(double p, double dutyShift) const
{
    switch (m_gen) {
    case GEN_TABLE: {
        const int n = m_s.baseTable.size();
        if (n == 0)
            return 0;
        return sample16(m_s.baseTable[qBound(0, int(p * n), n - 1)]);
    }
    case GEN_PULSE:
    case GEN_SQUARE: {
        const double r = std::min(m_rise, 0.5);
        const double f = std::min(m_fall, 0.5);
        const double d = qBound(r, m_duty + dutyShift, std::max(r, 1.0 - f));
        if (p < r)
            return -1 + 2 * p / r;
        if (p < d)
            return 1;
        if (p < d + f)
            return 1 - 2 * (p - d) / f;
        return -1;
    }
    case GEN_RAMP: {
        const double s = qBound(1e-9, m_sym, 1 - 1e-9);
        return p < s ? -1 + 2 * p / s : 1 - 2 * (p - s) / (1 - s);
    }
    case GEN_DC: return 1;
    default: return 0;
    }
}

double ScopeModel::modulating(double p) const
{
    switch (m_modWave) {
    case MOD_TABLE:
    case MOD_NOISE: {
        const int n = m_s.modTable.size();
        return n ? sample16(m_s.modTable[qBound(0, int(p * n), n - 1)]) : 0;
    }
    case MOD_SQUARE: return p < 0.5 ? 1 : -1;
    case MOD_UPRAMP: return -1 + 2 * p;
    case MOD_DNRAMP: return 1 - 2 * p;
    default: return 0;
    }
}

// The 64-bit accumulator at time t, exactly: whole clocks n advance it by
// n * increment modulo 2^63; the fraction of a clock is interpolated so
// edges are not quantised to the 3.2 ns clock.
double ScopeModel::carrierPhase(double t) const
{
    if (t < 0)
        t = 0;
    const double x = t * FCLK;
    const uint64_t n = uint64_t(x);
    // Unsigned 64-bit products wrap modulo 2^64, which 2^63 divides.
    const uint64_t wrapped = (n * m_inc) & ((uint64_t(1) << 63) - 1);
    const double inTurn = double(wrapped) / kTurn63 + (x - double(n)) * double(m_inc) / kTurn63;
    return frac(inTurn + m_phase0);
}

// Turns accumulated by a frequency that steps periodically through freq[0..n)
// holding each value for stepTime.
double ScopeModel::integratedTurns(double t, const double* freq, int n, double stepTime) const
{
    if (n <= 0 || stepTime <= 0)
        return m_f0 * t;
    double perCycle = 0;
    for (int i = 0; i < n; ++i)
        perCycle += freq[i] * stepTime;
    const double cycleTime = stepTime * n;
    const double cycles = std::floor(t / cycleTime);
    double rest = t - cycles * cycleTime;
    double turns = cycles * perCycle;
    for (int i = 0; i < n && rest > 0; ++i) {
        const double dt = std::min(rest, stepTime);
        turns += freq[i] * dt;
        rest -= dt;
    }
    return turns;
}

double ScopeModel::prbsBit(uint64_t index) const
{
    if (m_prbs.isEmpty())
        return -1;
    return m_prbs[int(index % uint64_t(m_prbs.size()))] ? 1 : -1;
}

double ScopeModel::noiseAt(double t) const
{
    return qBound(-1.0, gaussian(uint64_t(std::max(0.0, t) * FCLK)) / 3.3, 1.0);
}

// The generator output through the work mode, -1 .. +1 (AM may briefly
// exceed this only at depths above 100 %).
double ScopeModel::wave(double t) const
{
    const double pm = m_fmod > 0 ? frac(m_fmod * t) : 0;
    auto at = [&](double phase) {
        if (m_gen == GEN_NOISE)
            return noiseAt(t);
        return generator(phase);
    };
    switch (m_mode) {
    case WM_AM: {
        const double d = m_depthWord;
        return at(carrierPhase(t)) * (1 + d * modulating(pm)) / (1 + d);
    }
    case WM_DSBAM: return at(carrierPhase(t)) * modulating(pm) * std::min(1.0, m_depthWord);
    case WM_SUM: {
        const double d = m_depthWord;
        return (at(carrierPhase(t)) + d * modulating(pm)) / (1 + d);
    }
    case WM_FM: {
        // Frequency = carrier + deviation x modulating table: the table's
        // steps integrated exactly over time.
        if (m_fmod <= 0 || m_fmFreq.isEmpty())
            return at(carrierPhase(t));
        // The turns of whole modulating periods and steps come from the
        // table summed once; only the running step is integrated here.
        const int n = m_fmFreq.size();
        const double period = 1.0 / m_fmod, step = period / n;
        const double cycles = std::floor(t / period);
        const double rest = t - cycles * period;
        const int i = std::min(n - 1, int(rest / step));
        const double turns = frac(cycles * m_fmTurns[n]) + m_fmTurns[i] + m_fmFreq[i] * (rest - i * step);
        return at(frac(turns));
    }
    case WM_PM: {
        const double dev = double(m_s.reg(REG_MOD_DEPTH, 6)) / (2 * W48);
        return at(frac(carrierPhase(t) + dev * modulating(pm)));
    }
    case WM_ASK: return pm < 0.5 ? at(carrierPhase(t)) : 0;
    case WM_PSK: {
        const double p = carrierPhase(t) - m_phase0;
        return at(frac(pm < 0.5 ? p : p + m_phase0));
    }
    case WM_FSK:
    case WM_3FSK:
    case WM_4FSK: {
        // The keying pattern repeats once per modulating period: FSK keys
        // each half turn of the rate accumulator, 3FSK (rate x 3) one symbol
        // per turn, 4FSK four symbols per turn.
        const int n = m_mode - WM_FSK + 2;
        const double f[4] = {m_f0, m_hop[0], m_hop[1], m_hop[2]};
        if (m_fmod <= 0)
            return at(carrierPhase(t));
        const double symbol = m_mode == WM_FSK ? 0.5 / m_fmod : m_mode == WM_3FSK ? 1 / m_fmod : 0.25 / m_fmod;
        return at(frac(integratedTurns(t, f, n, symbol)));
    }
    case WM_BPSK:
    case WM_QPSK:
    case WM_QAM: {
        // One symbol per bit (BPSK) or per two bits (QPSK, QAM) of the PN
        // code at the bit rate; each symbol shifts the carrier's phase.
        if (m_fmod <= 0 || m_pn.isEmpty())
            return at(carrierPhase(t));
        const int bits = m_mode == WM_BPSK ? 1 : 2;
        const uint64_t sym = uint64_t(t * m_fmod / bits);
        int k = 0;
        for (int b = 0; b < bits; ++b)
            k = (k << 1) | m_pn[int((sym * bits + uint64_t(b)) % uint64_t(m_pn.size()))];
        return at(frac(carrierPhase(t) + m_keyPhase[k]));
    }
    case WM_OSK: {
        // Each period of the OSK rate: on for the first half, swelling in
        // over the oscillation time; off for the second, dying away over it.
        if (m_fmod <= 0)
            return at(carrierPhase(t));
        const double T = 1.0 / m_fmod, tin = std::fmod(t, T);
        const double tau = std::max(m_oskTime, 1e-12);
        const double env = tin < T / 2 ? std::min(1.0, tin / tau) : std::max(0.0, 1 - (tin - T / 2) / tau);
        return at(carrierPhase(t)) * env;
    }
    case WM_PWM:
        return m_gen == GEN_PULSE || m_gen == GEN_SQUARE ? generator(carrierPhase(t), m_depthWord * modulating(pm))
                                                         : at(carrierPhase(t));
    case WM_LIST: {
        if (m_listHz.isEmpty() || m_fmod <= 0)
            return at(carrierPhase(t));
        // One list entry per turn of the rate accumulator.
        const int n = m_listHz.size();
        return at(frac(integratedTurns(t, m_listHz.constData(), n, 1.0 / m_fmod)));
    }
    case WM_NCYC: {
        const double idle = at(m_phase0);
        if (m_trigSource != 0 || m_fmod <= 0)
            return idle;
        const double tin = std::fmod(t, 1.0 / m_fmod) - m_burstDelay;
        if (tin < 0 || tin * m_f0 >= m_burstCycles)
            return idle;
        return at(frac(m_f0 * tin + m_phase0));
    }
    case WM_CONTINUE: return m_trigSource != 0 ? at(m_phase0) : at(carrierPhase(t));
    case WM_GATE: return at(m_phase0);
    default: break;
    }
    if (m_gen == GEN_DEEP) {
        // Deep memory plays eight samples per turn of the accumulator.
        const int n = m_s.deep.size();
        if (n == 0)
            return 0;
        const double turns = t * m_f0 * 8;
        return sample16(m_s.deep[int(std::fmod(std::floor(turns), double(n)))]);
    }
    if (m_gen == GEN_PRBS) {
        const double bits = t * m_f0;
        return prbsBit(uint64_t(bits));
    }
    return at(carrierPhase(t));
}

double ScopeModel::at(double t) const
{
    if (!m_outputOn)
        return 0; // the output relay is open
    double ac = wave(t) * m_acVpp / 2;
    if (m_partner)
        ac += m_partner->wave(t) * m_mergeVpp / 2;
    if (m_noiseGain > 0)
        ac += gaussian(uint64_t(std::max(0.0, t) * FCLK) + 0x5EED) / 6.6 * m_noiseGain * m_fullScale / 2;
    // The offset DAC was programmed with the offset negated when the output
    // is inverted; the inverting stage follows the adder.
    const double oc = m_invert ? -(ac + m_dc) : ac + m_dc;
    return oc * m_loadGain;
}

QVector<double> ScopeModel::sample(double span, int points) const
{
    QVector<double> v;
    if (points <= 0 || !(span > 0))
        return v;
    v.resize(points);
    const double dt = span / points;
    for (int i = 0; i < points; ++i)
        v[i] = at(i * dt);
    return v;
}
