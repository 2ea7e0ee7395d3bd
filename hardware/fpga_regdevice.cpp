#include "hardware/fpga_regdevice.h"
#include "platform/platformroot.h"
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

static FpgaRegDevice::Factory g_factory = nullptr;

FpgaRegDevice::~FpgaRegDevice() = default;

unsigned FpgaRegDevice::writeWindowed(unsigned base, unsigned window, unsigned offset, const uint8_t* data, size_t n)
{
    if (window == 0)
        return 0;
    offset %= window;
    while (n > 0) {
        const size_t room = window - offset;
        const size_t k = n < room ? n : room;
        userCmd cmd;
        cmd.unit = FPGA_UNIT_BYTES;
        cmd.AddrUser = const_cast<uint8_t*>(data);
        cmd.Adata = static_cast<uint16_t>(base + offset);
        write(&cmd, int(k));
        data += k;
        n -= k;
        offset = unsigned((offset + k) % window);
    }
    return offset;
}

void FpgaRegDevice::setFactory(Factory factory) { g_factory = factory; }

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

int KernelFpgaRegDevice::write(const userCmd* cmd, int count) { return int(::write(m_fd, cmd, size_t(count))); }

int KernelFpgaRegDevice::read(userCmd* cmd, int count) { return int(::read(m_fd, cmd, size_t(count))); }

int KernelFpgaRegDevice::control(unsigned long request, unsigned long arg) { return ::ioctl(m_fd, request, arg); }
