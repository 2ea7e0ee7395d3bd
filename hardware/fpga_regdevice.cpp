#include "hardware/fpga_regdevice.h"
#include "platform/platformroot.h"
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

static FpgaRegDevice::Factory g_factory = nullptr;

FpgaRegDevice::~FpgaRegDevice() = default;

void FpgaRegDevice::setFactory(Factory factory)
{
    g_factory = factory;
}

FpgaRegDevice* FpgaRegDevice::open(const char* boardPath, int* fd)
{
    const QByteArray path = PlatformRoot::cpath(boardPath);
    const int d = ::open(path.constData(), O_RDWR);
    if (fd)
        *fd = d;
    if (d < 0)
        return nullptr;
    // A simulated board's file only marks that the board has an FPGA; the
    // device installed for that board answers the transfers.
    if (g_factory)
        return g_factory(d);
    return new KernelFpgaRegDevice(d);
}

KernelFpgaRegDevice::~KernelFpgaRegDevice()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int KernelFpgaRegDevice::write(const userCmd* cmd, int count)
{
    return int(::write(m_fd, cmd, size_t(count)));
}

int KernelFpgaRegDevice::read(userCmd* cmd, int count)
{
    return int(::read(m_fd, cmd, size_t(count)));
}

int KernelFpgaRegDevice::control(unsigned long request, unsigned long arg)
{
    return ::ioctl(m_fd, request, arg);
}
