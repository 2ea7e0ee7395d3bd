#pragma once
// A small VXI-11 client over the generated RPC stubs, for the tools, the
// tests and the benchmarks.
#include <QByteArray>
#include <QString>

struct __rpc_client; // CLIENT of the RPC library

class Vxi11Client {
public:
    ~Vxi11Client();
    // Finds the core channel through the port mapper of host; "tcp" or "udp".
    bool open(const QString& host, const char* proto = "tcp");
    // Connects to the core channel at port of host over TCP from the local
    // address from (a second client host on one machine: 127.0.0.2).
    bool openFrom(const QString& host, unsigned port, const QString& from);
    void close();

    struct Link {
        bool rpcOk = false;
        long error = -1;
        long lid = 0;
        unsigned abortPort = 0;
        unsigned long maxRecvSize = 0;
    };
    Link createLink(const char* device);

    struct Result {
        bool rpcOk = false;
        long error = -1;
        long reason = 0;
        unsigned long size = 0;
        unsigned stb = 0;
        QByteArray data;
    };
    Result write(long lid, const QByteArray& data, bool end = true, unsigned long ioTimeoutMs = 2000);
    Result read(long lid, unsigned long requestSize = 1 << 20, unsigned long ioTimeoutMs = 2000);
    Result clear(long lid);
    Result destroyLink(long lid);
    // device_readstb: the status byte in stb.
    Result readStb(long lid);
    // One of the procedures that take only a link (trigger 14, remote 16,
    // local 17, lock 18, unlock 19, enable_srq 20, docmd 22): its error
    // code, or -1 when the call failed.
    long linkCall(int proc, long lid);
    // create_intr_chan to the interrupt server at hostAddr:port (host
    // order, "tcp" or "udp"), destroy_intr_chan, device_enable_srq with its
    // handle: the error code, or -1 when the call failed.
    long createIntrChan(unsigned long hostAddr, unsigned port, const char* proto);
    long destroyIntrChan();
    long enableSrq(long lid, bool on, const QByteArray& handle);
    // device_lock with the waitlock flag and a lock timeout.
    long lock(long lid, bool wait, unsigned long lockTimeoutMs);
    // device_abort on the abort channel at port of host (TCP).
    static long abort(const QString& host, unsigned port, long lid);

    // Write with END, then read until END.
    QByteArray query(long lid, const QByteArray& message, bool* ok = nullptr, unsigned long ioTimeoutMs = 2000);

private:
    struct __rpc_client* clnt_ = nullptr;
};
