#pragma once
// The USBTMC endpoint of a simulated board: the board path "/dev/usbtmc0" is
// a listening sequenced-packet socket. A host (ornav-sim usbtmc, the tests)
// connecting to it plugs the cable in, each packet is one bulk transfer
// packet, and closing the connection unplugs it.
#include "communication/USBTMC/usbtmc_device.h"

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
    int m_fd = -1;
    int m_listen = -1;
};
