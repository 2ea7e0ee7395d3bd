#pragma once
// The USBTMC endpoint of a simulated board: the board path "/dev/usbtmc0" is
// a listening sequenced-packet socket. A host (ornav-sim usbtmc, the tests)
// connecting to it plugs the cable in, each packet is one bulk transfer
// packet, and closing the connection unplugs it. The device greets the host
// it takes with USBTMC_SIM_ATTACHED; while it serves one host, any other gets
// USBTMC_SIM_BUSY and is disconnected at once, like a real USB device port.
#include "communication/USBTMC/usbtmc_device.h"

#define USBTMC_SIM_ATTACHED "USBTMC-ATTACHED"
#define USBTMC_SIM_BUSY "USBTMC-BUSY"

class SocketUsbtmcDevice : public UsbtmcDevice {
public:
    ~SocketUsbtmcDevice() override;
    // Listens, then waits for a host; the connection or -1.
    int open() override;
    int read(void* buf, int len) override;
    int write(const void* buf, int len) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }

private:
    int listenSocket();
    void refuseWaitingHost();
    // The connection: opened and closed by the USBTMC thread, polled by the
    // controller's tick (host attached or not).
    std::atomic<int> m_fd {-1};
    int m_listen = -1;
};
