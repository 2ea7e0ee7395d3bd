#pragma once
// The remote-control side of the instrument running inside the test process
// on a simulated board root: message queue, SCPI worker, USBTMC thread on the
// simulated gadget device, the VXI-11 server registered with rpcbind, and the
// network hot-plug thread. Started once per process.
#include <QByteArray>
#include <QString>
#include <vector>

struct DeliveredMessage {
    int mode;  // data-transfer mode when the worker took it
    QByteArray text;
};

class RemoteRig {
public:
    static RemoteRig& get();
    QString root() const { return root_; }
    bool vxiUp() const { return vxiUp_; }

    // Messages the worker has taken since the last clear.
    std::vector<DeliveredMessage> delivered();
    void clearDelivered();
    // The next message the worker takes gets these bytes in front of its own
    // output, as if a handler had written them.
    void injectReply(const QByteArray& bytes);
    // Waits until at least n messages were delivered (up to timeoutMs).
    bool waitDelivered(size_t n, int timeoutMs = 5000);

    // The identification the rig's instrument reports.
    static const char* displayName();
    static const char* serial();
    static QByteArray idn();

private:
    RemoteRig();
    QString root_;
    bool vxiUp_ = false;
};
