// The remote screen rows of the running program on a simulated board over
// VXI-11 (loopback, through rpcbind), including the transfer: the median
// time of "DISPlay:DATA?" (PNG when the picture format can be set remotely,
// else the factory BMP) and of "DISPlay:ZBMP?", beside a plain VXI-11 read of
// a ready reply of
// 3 MiB (the rest of a BMP reply once its first byte is there), scaled to 4 MiB.
//   bench_capture [RUNS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>
#include "bench/common/bench_instrument.h"
#include "communication/ETHLXI/vxi11_client.h"
#include "simboard/simroot.h"

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Reads a whole reply; its size, 0 on failure.
qint64 readReply(Vxi11Client& c, long lid)
{
    qint64 n = 0;
    for (;;) {
        const Vxi11Client::Result r = c.read(lid, 1 << 20, 20000);
        if (!r.rpcOk || r.error != 0)
            return 0;
        n += r.data.size();
        if (r.reason & 4)  // END
            return n;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

    QTemporaryDir dir;
    if (!SimRoot::create(dir.path()))
        return 1;
    QProcess proc;
    if (!startInstrument(proc, dir.path()))
        return 1;
    Vxi11Client vxi;
    const long lid = openLink(vxi);
    if (lid < 0)
        return 1;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 2000)
        vxi.query(lid, "*IDN?\n");

    vxi.write(lid, "SYSTem:PICTure:FORMat PNG\n");
    const bool png = vxi.query(lid, "SYSTem:ERRor?\n").startsWith("0,");
    std::vector<double> data, zbmp, plain;
    qint64 dataBytes = 0, zbmpBytes = 0, plainBytes = 0;
    for (int r = 0; r < runs; ++r) {
        t.start();
        vxi.write(lid, "DISPlay:DATA?\n", true, 20000);
        dataBytes = readReply(vxi, lid);
        data.push_back(double(t.nsecsElapsed()) / 1e6);
        t.start();
        vxi.write(lid, "DISPlay:ZBMP?\n", true, 20000);
        zbmpBytes = readReply(vxi, lid);
        zbmp.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!dataBytes || !zbmpBytes) {
            std::fprintf(stderr, "screen query failed\n");
            return 1;
        }
    }
    if (png)
        vxi.write(lid, "SYSTem:PICTure:FORMat BMP\n");
    for (int r = 0; r < runs; ++r) {
        vxi.write(lid, "DISPlay:DATA?\n", true, 20000);
        const Vxi11Client::Result first = vxi.read(lid, 1, 20000);
        t.start();
        plainBytes = first.data.size() + readReply(vxi, lid);
        plain.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("%-40s median %8.2f ms  (%lld bytes)\n", png ? "DISPlay:DATA? (PNG)" : "DISPlay:DATA? (BMP, factory format)",
                median(data), static_cast<long long>(dataBytes));
    std::printf("%-40s median %8.2f ms  (%lld bytes)\n", "DISPlay:ZBMP?", median(zbmp),
                static_cast<long long>(zbmpBytes));
    const double mibPerS = plainBytes / 1048576.0 / (median(plain) / 1000.0);
    std::printf("%-40s median %8.2f ms  (%lld bytes, %.0f MiB/s: 4 MiB in %.2f ms)\n",
                "plain VXI-11 read of a ready reply", median(plain), static_cast<long long>(plainBytes), mibPerS,
                4000.0 / mibPerS);
    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    return 0;
}
