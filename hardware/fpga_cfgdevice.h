#pragma once
// The FPGA configuration device "/dev/fpga_cfg": it takes a bitstream and
// programs the FPGA's configuration flash. A simulated board installs its
// FPGA's configuration port in its place (setFactory).

// Control requests of the configuration device.
const unsigned long FPGA_CFG_INIT = 0x16D;    // issued once at start-up
const unsigned long FPGA_CFG_ONLINE = 0x1000; // non-zero when the FPGA is configured
const unsigned long FPGA_CFG_PREPARE = 0x1800;
const unsigned long FPGA_CFG_ERASE = 0x1880;      // start the flash erase
const unsigned long FPGA_CFG_ERASE_BUSY = 0x1881; // non-zero while the erase runs
const unsigned long FPGA_CFG_FINISH = 0x1802;

class FpgaCfgDevice {
public:
    virtual ~FpgaCfgDevice();
    virtual int control(unsigned long request, unsigned long arg = 0) = 0;
    // Writes n bytes of bitstream; returns the number taken or -1.
    virtual int write(const void* data, unsigned n) = 0;

    // Opens the configuration device at a board path (read-write); null when
    // it cannot be opened. The device closes with the object.
    static FpgaCfgDevice* open(const char* boardPath);

    // Makes the device that answers an opened descriptor; null restores the
    // kernel driver.
    typedef FpgaCfgDevice* (*Factory)(int fd);
    static void setFactory(Factory factory);
};

class KernelFpgaCfgDevice : public FpgaCfgDevice {
public:
    explicit KernelFpgaCfgDevice(int fd) : m_fd(fd) {}
    ~KernelFpgaCfgDevice() override;
    int control(unsigned long request, unsigned long arg = 0) override;
    int write(const void* data, unsigned n) override;

private:
    int m_fd;
};
