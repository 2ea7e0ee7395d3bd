#pragma once
// Scales of the FPGA's numeric registers and the conversions every register
// word goes through.
//
// The signal logic runs from one 312.5 MHz synthesis clock. Phase
// accumulators are 64 bits wide for the carrier and the modulation rate
// (one full turn = 2^63 in the register's scale), 48 bits for the hop
// frequencies, depths, edges and fractions (full scale 2^47 - 1), and the
// PRBS edge and the digital send interval use the whole 48 bits (2^48 - 1).
// Frequency-list entries are 36 bits with one turn = 2^35.
#include <cmath>
#include <cstdint>

namespace fpga_scale {

const double FCLK = 312.5e6;              // synthesis clock, Hz
const double W64 = 9223372036854775808.0; // 2^63
const double W48 = 140737488355327.0;     // 2^47 - 1
const double W48F = 281474976710655.0;    // 2^48 - 1
const double W32 = 4294967295.0;          // 2^32 - 1
const double W36 = 34359738368.0;         // 2^35
const double W47 = 140737488355328.0;     // 2^47 (ramp symmetry)
const double SLOPE_K = 0.000209712;       // numerator of every edge-slope word
const double SLOPE_MIN = 8388608.0;       // 2^23, normalised mantissa threshold

// One word of the flatness table per FCLK / 2048 Hz.
const double FLATNESS_STEP = 152587.890625;

// Largest value of a register `bytes` wide (1..8).
inline uint64_t registerMax(unsigned bytes) { return bytes >= 8 ? ~uint64_t(0) : ((uint64_t(1) << (8 * bytes)) - 1); }

// Non-negative double to a register word, toward zero. A register cannot
// hold what is not a number, a negative value or one beyond its width: NaN
// and negatives give 0, values too large for `bytes` give the largest word.
inline uint64_t toWord(double x, unsigned bytes)
{
    if (!(x > 0.0))
        return 0; // NaN, zero, negative
    const uint64_t top = registerMax(bytes);
    // For 8 bytes double(top) rounds up to 2^64; every double below it
    // converts exactly.
    if (x >= double(top))
        return top; // also +inf
    return uint64_t(x);
}

// ceil(x) as a register word, with toWord's saturation.
inline uint64_t ceilWord(double x, unsigned bytes) { return toWord(std::ceil(x), bytes); }

// Increment of a 64-bit accumulator (carrier, modulation rate).
inline double inc64(double f) { return f * W64 / FCLK; }
// Increment of a 48-bit accumulator (hops, per-step sweep increments).
inline double inc48(double f) { return f * W48 / FCLK; }

// x + 0.5 for positive x, x - 0.5 otherwise; the caller takes the integer part.
inline double MyRound(double x) { return x > 0 ? x + 0.5 : x - 0.5; }

} // namespace fpga_scale
