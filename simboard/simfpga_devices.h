#pragma once
// The simulated FPGA behind the register device and the configuration device
// of a simulated board. The descriptor is that of the stand-in file in the
// board root ("/dev/fpga", "/dev/fpga_cfg"), which marks the device present.
#include "hardware/fpga_regdevice.h"
#include "hardware/fpga_cfgdevice.h"

class SimFpgaRegDevice : public FpgaRegDevice {
public:
    // Powers the simulated FPGA on with the board root's values and serves it
    // to ornav-sim while the device is open.
    explicit SimFpgaRegDevice(int fd);
    ~SimFpgaRegDevice() override;
    int write(const userCmd* cmd, int count) override;
    int read(userCmd* cmd, int count) override;
    int control(unsigned long request, unsigned long arg) override;
    unsigned writeWindowed(unsigned base, unsigned window, unsigned offset, const uint8_t* data, size_t n) override;
    const std::atomic<bool>* keyFlagWord() const override;

private:
    int m_fd;
};

class SimFpgaCfgDevice : public FpgaCfgDevice {
public:
    explicit SimFpgaCfgDevice(int fd) : m_fd(fd) {}
    ~SimFpgaCfgDevice() override;
    int control(unsigned long request, unsigned long arg = 0) override;
    int write(const void* data, unsigned n) override;

private:
    int m_fd;
};
