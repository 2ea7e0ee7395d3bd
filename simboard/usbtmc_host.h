#pragma once
// The USB host side of the simulated USBTMC gadget: connects to the
// simulated "/dev/usbtmc0" of a board root and exchanges bulk packets with
// the running instrument, 512 bytes per bulk-out packet as on a high-speed
// bulk endpoint.
#include <QByteArray>
#include <QString>
#include <cstdint>

class UsbtmcHost {
public:
    ~UsbtmcHost();
    // Connects to the instrument below root; waits up to timeoutMs for it.
    // False at once when the instrument is serving another host (busy()).
    bool connectTo(const QString& root, int timeoutMs = 10000);
    // Whether the last connectTo was refused because another host is
    // connected.
    bool busy() const { return busy_; }
    void disconnect();
    bool connected() const { return fd_ >= 0; }

    // A DEV_DEP_MSG_OUT bulk header.
    static QByteArray msgOutHeader(uint8_t tag, uint32_t transferSize, bool eom);
    // A REQUEST_DEV_DEP_MSG_IN bulk header.
    static QByteArray requestHeader(uint8_t tag, uint32_t transferSize, bool termChar = false, uint8_t term = '\n');
    // One whole bulk-out transfer: header, payload and alignment to four,
    // split into packets of at most packetSize bytes.
    bool sendMessage(const QByteArray& payload, bool eom = true, int packetSize = 512);
    // Sends bytes as they are, in packets of at most packetSize bytes.
    bool sendRaw(const QByteArray& bytes, int packetSize = 512);

    struct Reply {
        bool ok = false; // a DEV_DEP_MSG_IN arrived
        bool eom = false;
        uint8_t tag = 0;
        uint8_t tagInverse = 0;
        uint32_t transferSize = 0;
        int frameSize = 0; // bytes of the whole bulk-in transfer
        QByteArray data;
    };
    // Requests up to size bytes and reads the bulk-in transfer.
    Reply request(uint32_t size, int timeoutMs = 5000);
    // Requests until a transfer with EOM; the whole reply.
    QByteArray query(const QByteArray& message, uint32_t chunk = 1024 * 1024, bool* ok = nullptr);
    // Whether the instrument closed the connection (it reopens its device
    // after a fault); waits up to timeoutMs.
    bool closedByDevice(int timeoutMs = 3000);

    uint8_t nextTag();

private:
    int fd_ = -1;
    uint8_t tag_ = 0;
    bool busy_ = false;
};
