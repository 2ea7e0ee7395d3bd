#include "hardware/fpga_cfgdevice.h"
#include "platform/platformroot.h"
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

static FpgaCfgDevice::Factory g_factory = nullptr;

FpgaCfgDevice::~FpgaCfgDevice() = default;

void FpgaCfgDevice::setFactory(Factory factory) { g_factory = factory; }

FpgaCfgDevice* FpgaCfgDevice::open(const char* boardPath)
{
    const QByteArray path = PlatformRoot::cpath(boardPath);
    const int fd = ::open(path.constData(), O_RDWR);
    if (fd < 0)
        return nullptr;
    if (g_factory)
        return g_factory(fd);
    return new KernelFpgaCfgDevice(fd);
}

KernelFpgaCfgDevice::~KernelFpgaCfgDevice()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int KernelFpgaCfgDevice::control(unsigned long request, unsigned long arg) { return ::ioctl(m_fd, request, arg); }

int KernelFpgaCfgDevice::write(const void* data, unsigned n) { return int(::write(m_fd, data, n)); }
