#include "simboard/simfpga_devices.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include <unistd.h>

SimFpgaRegDevice::SimFpgaRegDevice(int fd) : m_fd(fd)
{
    SimFpga& f = SimFpga::instance();
    f.powerOn(PlatformRoot::path(SimFpga::kPowerOnPath));
    f.startServer(PlatformRoot::path(SimFpga::kSocketPath));
}

SimFpgaRegDevice::~SimFpgaRegDevice()
{
    SimFpga::instance().stopServer();
    if (m_fd >= 0)
        ::close(m_fd);
}

int SimFpgaRegDevice::write(const userCmd* cmd, int count) { return cmd ? SimFpga::instance().write(*cmd, count) : -1; }

int SimFpgaRegDevice::read(userCmd* cmd, int count) { return cmd ? SimFpga::instance().read(*cmd, count) : -1; }

unsigned SimFpgaRegDevice::writeWindowed(unsigned base, unsigned window, unsigned offset, const uint8_t* data, size_t n)
{
    return SimFpga::instance().writeWindowed(base, window, offset, data, n);
}

const std::atomic<bool>* SimFpgaRegDevice::keyFlagWord() const { return SimFpga::instance().keyFlagWord(); }

int SimFpgaRegDevice::control(unsigned long request, unsigned long arg)
{
    return SimFpga::instance().control(request, arg);
}

SimFpgaCfgDevice::~SimFpgaCfgDevice()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int SimFpgaCfgDevice::control(unsigned long request, unsigned long) { return SimFpga::instance().cfgControl(request); }

int SimFpgaCfgDevice::write(const void* data, unsigned n) { return SimFpga::instance().cfgWrite(data, n); }
