#pragma once
// The remote-control side of the instrument running inside the test process
// on a simulated board root: message queue, SCPI worker, USBTMC thread on the
// simulated gadget device, the VXI-11 server registered with rpcbind, and the
// network hot-plug thread. Started once per process.
#include <QByteArray>
#include <QString>
#include <vector>

struct DeliveredMessage {
    int mode; // data-transfer mode when the worker took it
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

    // A memory figure of this process (the servers run in it) from
    // /proc/self/status ("VmRSS:", "VmHWM:"), in KiB.
    static long memoryKb(const char* key);
    // How far the resident size is above before (KiB) once it has come back
    // within 8 MiB of it, or after waitMs: freeing a large buffer and ending
    // its connection's thread can take seconds on a loaded machine.
    static long rssAboveOnceFreed(long before, int waitMs = 10000);

    // A TCP connection to port on the loopback interface; -1 when refused.
    static int connectLoopback(int port);

    // The identification the rig's instrument reports.
    static const char* displayName();
    static const char* serial();
    static QByteArray idn();

private:
    RemoteRig();
    QString root_;
    bool vxiUp_ = false;
};
