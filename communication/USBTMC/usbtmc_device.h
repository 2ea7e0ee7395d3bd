#pragma once
#include <atomic>
// The gadget's character device "/dev/usbtmc0": the USB gadget driver's node
// on the board. A simulated board installs its own endpoint device in its
// place (usbtmc_set_device), the way the FPGA register device is chosen.

// One USBTMC device endpoint pair: bulk-out reads, bulk-in writes.
class UsbtmcDevice {
public:
    virtual ~UsbtmcDevice();
    // Waits until the device can be opened at all (the gadget driver is still
    // loading when the transport thread starts).
    virtual void waitReady() {}
    // Opens the device (or waits for a host); the descriptor or -1.
    virtual int open() = 0;
    // One read from the bulk-out endpoint, at most len bytes.
    virtual int read(void* buf, int len) = 0;
    // One bulk-in transfer; returns the bytes written or -1.
    virtual int write(const void* buf, int len) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// The kernel gadget driver's node.
class GadgetUsbtmcDevice : public UsbtmcDevice {
public:
    ~GadgetUsbtmcDevice() override;
    void waitReady() override;
    int open() override;
    int read(void* buf, int len) override;
    int write(const void* buf, int len) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }

private:
    // The connection: opened and closed by the USBTMC thread, polled by the
    // controller's tick (host attached or not).
    std::atomic<int> m_fd {-1};
};

// Installs the device the transport uses (owned by the caller, alive until
// the process ends); null restores the gadget device. Before start-up only.
void usbtmc_set_device(UsbtmcDevice* device);

// The installed device's operations, used by the transport thread.
void usbtmc_dev_wait_ready();
int usbtmc_dev_open();
int usbtmc_dev_read(void* buf, int len);
int usbtmc_dev_write(const void* buf, int len);
void usbtmc_dev_close();
bool usbtmc_dev_is_open();
