// The configuration port of the simulated FPGA: it takes a bitstream the way
// "/dev/fpga_cfg" does (prepare, erase with a busy phase, data, finish).
#include "simboard/simfpga.h"
#include "hardware/fpga_cfgdevice.h"

namespace {
// Largest bitstream the configuration flash takes.
const int kFlashBytes = 64 << 20;
} // namespace

int SimFpga::cfgControl(unsigned long request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    switch (request) {
    case FPGA_CFG_INIT: return 0;
    case FPGA_CFG_ONLINE: return m_configured ? 1 : 0;
    case FPGA_CFG_PREPARE:
        // The FPGA drops its configuration while it is reprogrammed.
        m_cfgPrepared = true;
        m_configured = false;
        m_cfgIncoming.clear();
        return 0;
    case FPGA_CFG_ERASE:
        if (!m_cfgPrepared)
            return -1;
        m_eraseLeft = m_erasePolls;
        return 0;
    case FPGA_CFG_ERASE_BUSY:
        if (m_eraseLeft > 0) {
            --m_eraseLeft;
            return 1;
        }
        return 0;
    case FPGA_CFG_FINISH:
        if (!m_cfgPrepared)
            return -1;
        m_cfgPrepared = false;
        m_bitstream = m_cfgIncoming;
        m_cfgIncoming.clear();
        m_configured = !m_bitstream.isEmpty();
        return 0;
    default: return -1;
    }
}

int SimFpga::cfgWrite(const void* data, unsigned n)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_cfgPrepared || m_eraseLeft > 0 || data == nullptr)
        return -1;
    if (n > unsigned(kFlashBytes - m_cfgIncoming.size()))
        return -1;
    m_cfgIncoming.append(static_cast<const char*>(data), int(n));
    return int(n);
}

QByteArray SimFpga::bitstream() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bitstream;
}

bool SimFpga::configured() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_configured;
}

void SimFpga::setConfigured(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_configured = on;
}

void SimFpga::setErasePolls(int polls)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_erasePolls = polls < 0 ? 0 : polls;
}
