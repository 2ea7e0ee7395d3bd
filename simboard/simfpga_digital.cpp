// What the simulated FPGA's digital output and counter front end show to the
// outside: the protocol lines drawn from the digital registers and data
// port, and counter result registers set as a real input would set them.
#include "simboard/simfpga.h"
#include "simboard/digital_lines.h"
#include "hardware/fpga_regs.h"
#include "hardware/fpga_scales.h"
#include <algorithm>
#include <cmath>

namespace {
// Most transmissions drawn for repeated manual sends.
const int kMaxTransmissions = 8;

unsigned le32(const uint8_t* p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24;
}

void put32(uint8_t* p, double count)
{
    // The counters hold one less than they counted and saturate.
    double v = std::floor(count + 0.5) - 1;
    v = std::min(std::max(v, 0.0), 4294967295.0);
    const unsigned u = unsigned(v);
    for (int k = 0; k < 4; ++k)
        p[k] = uint8_t(u >> (8 * k));
}
} // namespace

bool SimFpga::digitalTrace(QByteArray* vcd, QString* error) const
{
    DigitalLines::Setup s;
    QByteArray data, flags;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        s.kind = m_space[REG_DIG_SW];
        s.bitClock = DigitalLines::bitClockOf(le32(m_space + REG_DIG_CLK));
        s.uartDataBits = m_space[REG_DIG_UART_BITS] + 4;
        s.uartParity = m_space[REG_DIG_UART_PARITY] != 0;
        s.uartStopBits = m_space[REG_DIG_UART_STOP] + 1;
        // Trigger type 1: one transmission per manual send; 0: automatic,
        // repeated at the interval, of which the trace shows one.
        s.transmissions = m_space[REG_DIG_TRIG_TYPE] ? std::min(m_digTriggers, kMaxTransmissions) : 1;
        data = m_digData;
        flags = m_digFlag;
    }
    return DigitalLines::trace(s, data, flags, vcd, error);
}

int SimFpga::digitalTriggers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_digTriggers;
}

bool SimFpga::setCounterInput(double freq, double duty)
{
    if (!(freq >= 0) || !(duty >= 0 && duty <= 100) || std::isinf(freq))
        return false;
    using fpga_scale::FCLK;
    double fastCycles = 0, fastRef = 0, fastHigh = 0, slowCycles = 0, slowRef = 0, slowHigh = 0;
    if (freq > 0) {
        // Fast range: the reference counts at 8 x FCLK; the gate closes on
        // the input cycle that brings it near 2^28 ticks. The high-level
        // count is scaled by another 8 against it.
        fastCycles = std::max(1.0, std::floor(freq * 268435456.0 / (8 * FCLK)));
        fastRef = fastCycles * 8 * FCLK / freq;
        fastHigh = duty / 100 * fastRef * 8;
        // Slow range: the reference counts at FCLK, the gate is near 2^31
        // ticks but never shorter than one input cycle.
        slowCycles = std::max(1.0, std::floor(freq * 2147483648.0 / FCLK));
        slowRef = slowCycles * FCLK / freq;
        slowHigh = duty / 100 * slowRef;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    put32(m_space + REG_CNT_HLEVEL_H, fastHigh);
    put32(m_space + REG_CNT_REF_H, fastRef);
    put32(m_space + REG_CNT_CYCLE_H, fastCycles);
    put32(m_space + REG_CNT_HLEVEL_L, slowHigh);
    put32(m_space + REG_CNT_REF_L, slowRef);
    put32(m_space + REG_CNT_CYCLE_L, slowCycles);
    return true;
}
