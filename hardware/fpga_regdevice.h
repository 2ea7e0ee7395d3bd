#pragma once
// The FPGA register device behind CSetParam. On the board it is the kernel
// device "/dev/fpga"; a simulated board installs its own device (setFactory)
// before the controller starts.
// Counts are bytes for unit 0 and 16-bit words for unit 2.
#include "hardware/fpga_usercmd.h"
#include <atomic>
#include <cstddef>
#include <cstdint>

class FpgaRegDevice {
public:
    virtual ~FpgaRegDevice();
    virtual int write(const userCmd* cmd, int count) = 0;
    virtual int read(userCmd* cmd, int count) = 0;
    virtual int control(unsigned long request, unsigned long arg) = 0;
    // Writes n bytes in order through a data window of `window` bytes at
    // base (a port whose address advances with each byte and wraps): each
    // transfer runs from the current window address (base + offset) to the
    // window's end, fewer at the end of the data, and the address then
    // wraps to base. Returns the window offset after the data. This one
    // sends transfer by transfer; a device that can take the whole stream
    // in one call overrides it.
    virtual unsigned writeWindowed(unsigned base, unsigned window, unsigned offset, const uint8_t* data, size_t n);
    // A word that holds the key flag and that lives as long as the process,
    // for a device that can offer one: the key poll then reads it without a
    // call or a lock. Null: the flag is asked for by control request.
    virtual const std::atomic<bool>* keyFlagWord() const { return nullptr; }

    // Opens the register device at a board path: the installed device, or
    // the kernel device when none is installed. Returns null when the
    // device is absent; *fd receives the descriptor (-1 on failure).
    static FpgaRegDevice* open(const char* boardPath, int* fd);

    // Makes the device that answers an opened descriptor; null restores the
    // kernel driver. Set once by the program's entry (or a test rig).
    typedef FpgaRegDevice* (*Factory)(int fd);
    static void setFactory(Factory factory);
};

// The kernel driver: the record goes to write()/read() with the count as the
// length, control requests through ioctl().
class KernelFpgaRegDevice : public FpgaRegDevice {
public:
    explicit KernelFpgaRegDevice(int fd) : m_fd(fd) {}
    ~KernelFpgaRegDevice() override;
    int write(const userCmd* cmd, int count) override;
    int read(userCmd* cmd, int count) override;
    int control(unsigned long request, unsigned long arg) override;

private:
    int m_fd;
};
