#include "communication/USBTMC/usbtmc_device.h"
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <poll.h>
#include "communication/remote_stop.h"
#include "platform/platformroot.h"

static const char kDevicePath[] = "/dev/usbtmc0";

UsbtmcDevice::~UsbtmcDevice() = default;

GadgetUsbtmcDevice::~GadgetUsbtmcDevice() { close(); }

void GadgetUsbtmcDevice::waitReady()
{
    // The gadget driver is still being loaded.
    remote_stop_sleep_ms(2000);
}

int GadgetUsbtmcDevice::open()
{
    if (m_fd < 0)
        m_fd = ::open(PlatformRoot::cpath(kDevicePath).constData(), O_RDWR | O_CLOEXEC);
    return m_fd;
}

int GadgetUsbtmcDevice::read(void* buf, int len)
{
    if (m_fd < 0)
        return -1;
    // Waits for the host's next transfer or the end of the program.
    if (remote_stop_poll(m_fd, POLLIN, -1) < 0)
        return -1;
    ssize_t n;
    do {
        n = ::read(m_fd, buf, size_t(len));
    } while (n < 0 && errno == EINTR);
    return int(n);
}

int GadgetUsbtmcDevice::write(const void* buf, int len)
{
    if (m_fd < 0)
        return -1;
    const char* p = static_cast<const char*>(buf);
    int done = 0;
    while (done < len) {
        const ssize_t w = ::write(m_fd, p + done, size_t(len - done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        done += int(w);
    }
    return done;
}

void GadgetUsbtmcDevice::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

static UsbtmcDevice* g_device = nullptr;

static UsbtmcDevice* device()
{
    static GadgetUsbtmcDevice gadget;
    return g_device ? g_device : &gadget;
}

void usbtmc_set_device(UsbtmcDevice* d) { g_device = d; }

void usbtmc_dev_wait_ready() { device()->waitReady(); }

int usbtmc_dev_open() { return device()->open(); }

int usbtmc_dev_read(void* buf, int len) { return device()->read(buf, len); }

int usbtmc_dev_write(const void* buf, int len) { return device()->write(buf, len); }

void usbtmc_dev_close() { device()->close(); }

bool usbtmc_dev_is_open() { return device()->isOpen(); }
