#include "fpga_regdevice.h"
#include "platformroot.h"
#include "simfpga_devices.h"
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

FpgaRegDevice::~FpgaRegDevice() = default;

FpgaRegDevice* FpgaRegDevice::open(const char* boardPath, int* fd)
{
    const QByteArray path = PlatformRoot::cpath(boardPath);
    const int d = ::open(path.constData(), O_RDWR);
    if (fd)
        *fd = d;
    if (d < 0)
        return nullptr;
    // On a simulated board the file only marks that the board has an FPGA;
    // the simulated FPGA answers the transfers.
    if (PlatformRoot::simulated())
        return new SimFpgaRegDevice(d);
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
