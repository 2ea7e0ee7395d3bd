// Round trips and throughput of the remote transports of the running
// program on a simulated board: VXI-11 over loopback (through rpcbind) and
// USBTMC over the simulated gadget, and the raw SCPI socket (port 5025)
// beside VXI-11.
// Besides the one-client round trips (median and p99), CLIENTS VXI-11
// clients (8 unless given) issue "*IDN?" concurrently for SECONDS (10 unless
// given): total queries per second and each client's median and p99.
//   bench_remote [QUERIES] [SECONDS] [CLIENTS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>
#include <vector>
#include "bench/common/bench_instrument.h"
#include "bench/common/raw_client.h"
#include "communication/ETHLXI/vxi11_client.h"
#include "simboard/simroot.h"
#include "simboard/usbtmc_host.h"

static void report(const char* what, std::vector<double>& us)
{
    if (us.empty()) {
        std::printf("%-34s no queries\n", what);
        return;
    }
    std::sort(us.begin(), us.end());
    const double median = us[us.size() / 2];
    const double p99 = us[std::min(us.size() - 1, size_t(double(us.size()) * 0.99))];
    std::printf("%-34s n=%zu  median %8.1f us  p99 %8.1f us\n", what, us.size(), median, p99);
}

// Clients querying "*IDN?" at the same time, each on a connection and link
// of its own, for the given time.
static bool concurrentClients(int clients, int seconds)
{
    std::vector<std::vector<double>> us(static_cast<size_t>(clients));
    std::atomic<int> failures {0};
    std::vector<std::thread> threads;
    QElapsedTimer wall;
    wall.start();
    for (int k = 0; k < clients; ++k) {
        threads.emplace_back([k, seconds, &us, &failures] {
            Vxi11Client c;
            if (!c.open("127.0.0.1", "tcp")) {
                failures++;
                return;
            }
            const long lid = c.createLink("inst0").lid;
            QElapsedTimer run, t;
            run.start();
            while (run.elapsed() < qint64(seconds) * 1000) {
                t.start();
                bool ok = false;
                c.query(lid, "*IDN?\n", &ok, 5000);
                if (!ok) {
                    failures++;
                    break;
                }
                us[size_t(k)].push_back(double(t.nsecsElapsed()) / 1000.0);
            }
            c.destroyLink(lid);
        });
    }
    for (auto& t : threads)
        t.join();
    const double s = double(wall.nsecsElapsed()) / 1e9;
    size_t total = 0;
    for (const auto& v : us)
        total += v.size();
    std::printf("%d VXI-11 clients for %d s: %zu queries, %.0f queries/s in total\n", clients, seconds, total,
                double(total) / s);
    for (int k = 0; k < clients; ++k) {
        char name[64];
        std::snprintf(name, sizeof name, "  client %d *IDN? round trip", k + 1);
        report(name, us[size_t(k)]);
    }
    if (failures) {
        std::fprintf(stderr, "%d concurrent queries failed\n", failures.load());
        return false;
    }
    return true;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int queries = argc > 1 ? std::max(10, atoi(argv[1])) : 1000;
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    const int clients = argc > 3 ? std::max(1, atoi(argv[3])) : 8;
    QTemporaryDir dir;
    if (!SimRoot::create(dir.path()))
        return 1;
    QProcess proc;
    if (!startInstrument(proc, dir.path(), {"vxi11_init ok!", "scpi raw socket on port"}))
        return 1;

    Vxi11Client vxi;
    const long lid = openLink(vxi);
    if (lid < 0)
        return 1;
    // The program is still starting up (screens, timers): let it settle
    // before measuring.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 2000)
        vxi.query(lid, "*IDN?\n");
    std::vector<double> us;
    for (int i = 0; i < queries; ++i) {
        t.start();
        bool ok = false;
        vxi.query(lid, "*IDN?\n", &ok);
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        if (!ok) {
            std::fprintf(stderr, "VXI-11 query failed\n");
            return 1;
        }
    }
    report("VXI-11 *IDN? round trip", us);

    // The raw socket, measured right after VXI-11 under the same load.
    const int raw = rawConnect(5025);
    if (raw < 0) {
        std::fprintf(stderr, "no raw SCPI socket on port 5025\n");
        return 1;
    }
    us.clear();
    for (int i = 0; i < queries; ++i) {
        t.start();
        const bool ok = rawSendLine(raw, "*IDN?") && rawReadReply(raw);
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        if (!ok) {
            std::fprintf(stderr, "raw socket query failed\n");
            return 1;
        }
    }
    close(raw);
    report("raw socket *IDN? round trip", us);
    if (!concurrentClients(clients, seconds))
        return 1;

    // Throughput of 1 MiB messages (the link's maximum receive size), each
    // one write with END.
    const QByteArray mib(1 << 20, 'x');
    const int writes = 20;
    t.start();
    for (int i = 0; i < writes; ++i)
        vxi.write(lid, mib, true, 5000);
    const double s = double(t.nsecsElapsed()) / 1e9;
    std::printf("%-34s %d x 1 MiB  %.1f MiB/s\n", "VXI-11 write throughput", writes, writes / s);

    UsbtmcHost usb;
    if (!usb.connectTo(dir.path())) {
        std::fprintf(stderr, "no USBTMC gadget\n");
        return 1;
    }
    us.clear();
    for (int i = 0; i < queries; ++i) {
        t.start();
        bool ok = false;
        usb.query("*IDN?\n", 1 << 20, &ok);
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        if (!ok) {
            std::fprintf(stderr, "USBTMC query failed\n");
            return 1;
        }
    }
    report("USBTMC *IDN? round trip", us);

    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    return 0;
}
