// What a user of the running program on a simulated board feels, each
// figure beside the same client's figure against the floor server of this
// run (bench/common/floor_server.h), so that the ratio is what counts:
//  - set-then-query on the raw SCPI socket with a client that leaves Nagle's
//    algorithm on (as pyvisa-py and most VISA libraries do), and the same
//    over VXI-11;
//  - the reply to a waveform change and to output on/off (set, then query);
//  - a loop of frequency setters (commands per second);
//  - "DISPlay:DATA?" as PNG;
//  - wake-ups and CPU time of the idle program.
//   bench_latency [ITERATIONS] [IDLE_SECONDS]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <atomic>
#include <ctime>
#include <thread>
#include <algorithm>
#include <map>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>
#include "bench/common/bench_instrument.h"
#include "bench/common/floor_server.h"
#include "bench/common/raw_client.h"
#include "communication/ETHLXI/vxi11_client.h"
#include "simboard/simroot.h"

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Median milliseconds of a setter followed by a query, alternating values.
double setThenQuery(int fd, const char* setA, const char* setB, const char* query, int n)
{
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < n; ++i) {
        t.start();
        if (!rawSendLine(fd, i % 2 ? setB : setA) || !rawSendLine(fd, query) || !rawReadReply(fd))
            return -1;
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

double setterRate(int fd, int n)
{
    QElapsedTimer t;
    t.start();
    std::string all;
    for (int i = 0; i < n; ++i)
        all += "CHANnel1:BASe:FREQuency " + std::to_string(1000 + i % 100) + "\n";
    all += "*OPC?\n";
    if (!rawSendAll(fd, all.data(), all.size()) || !rawReadReply(fd))
        return -1;
    return n / (double(t.nsecsElapsed()) / 1e9);
}

// Per thread: voluntary and forced context switches, and CPU time in
// nanoseconds as the scheduler counts it (schedstat: exact, where the clock
// ticks of /proc/PID/stat are 10 ms apart, a tenth of a 10 s window's
// budget).
struct ThreadCounters {
    QString name;
    long long switches = 0;
    long long cpuNs = 0;
};

std::map<QString, ThreadCounters> processCounters(qint64 pid)
{
    std::map<QString, ThreadCounters> out;
    const QString base = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ThreadCounters& c = out[task];
        QFile comm(base + "/" + task + "/comm");
        if (comm.open(QIODevice::ReadOnly))
            c.name = QString::fromLatin1(comm.readAll().trimmed());
        QFile f(base + "/" + task + "/status");
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& line : f.readAll().split('\n'))
                if (line.contains("ctxt_switches:"))
                    c.switches += line.split(':').last().trimmed().toLongLong();
        QFile st(base + "/" + task + "/schedstat");
        if (st.open(QIODevice::ReadOnly))
            c.cpuNs = st.readAll().split(' ').value(0).toLongLong();
    }
    return out;
}

// The threads that ran between two samples, most CPU first: context switches
// and CPU time per unit (a setter, a second), CPU scaled from nanoseconds by
// scale. Returns the sums over all threads.
ThreadCounters printThreads(const std::map<QString, ThreadCounters>& before,
                            const std::map<QString, ThreadCounters>& after, int units, const char* per, double scale,
                            const char* unit)
{
    ThreadCounters sum;
    std::vector<std::pair<long long, std::string>> threads;
    char line[160];
    for (const auto& t1 : after) {
        const auto t0 = before.find(t1.first);
        const long long s = t1.second.switches - (t0 == before.end() ? 0 : t0->second.switches);
        const long long c = t1.second.cpuNs - (t0 == before.end() ? 0 : t0->second.cpuNs);
        sum.switches += s;
        sum.cpuNs += c;
        if (s <= 0 && c <= 0)
            continue;
        std::snprintf(line, sizeof line, "  %-16s %-7s %8.2f switches %s %10.4f %s",
                      t1.second.name.toLatin1().constData(), t1.first.toLatin1().constData(), double(s) / units, per,
                      double(c) * scale / units, unit);
        threads.push_back({c, line});
    }
    std::sort(threads.rbegin(), threads.rend());
    for (const auto& t1 : threads)
        std::printf("%s\n", t1.second.c_str());
    return sum;
}

void row(const char* what, double value, double floor, const char* unit)
{
    std::printf("%-44s %10.3f %-4s floor %10.3f  ratio %8.1f\n", what, value, unit, floor,
                floor > 0 ? value / floor : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(5, atoi(argv[1])) : 50;
    const int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    QTemporaryDir dir;
    if (!SimRoot::create(dir.path()))
        return 1;
    QProcess proc;
    if (!startInstrument(proc, dir.path(), {"vxi11_init ok!", "scpi raw socket on port"}))
        return 1;
    FloorServer floorServer;
    Vxi11Client vxi;
    const long lid = openLink(vxi);
    if (lid < 0 || floorServer.port() < 0)
        return 1;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 2000)
        vxi.query(lid, "*IDN?\n");

    const int inst = rawConnect(5025, true), flo = rawConnect(floorServer.port(), true);
    if (inst < 0 || flo < 0) {
        std::fprintf(stderr, "no raw socket\n");
        return 1;
    }
    const char* fa = "CHANnel1:BASe:FREQuency 1000";
    const char* fb = "CHANnel1:BASe:FREQuency 2000";
    const char* fq = "CHANnel1:BASe:FREQuency?";
    const double floorSq = setThenQuery(flo, fa, fb, fq, n);
    const double rawSq = setThenQuery(inst, fa, fb, fq, n);
    std::vector<double> v;
    for (int i = 0; i < n; ++i) {
        t.start();
        vxi.write(lid, QByteArray(i % 2 ? fb : fa) + "\n");
        vxi.query(lid, QByteArray(fq) + "\n");
        v.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double vxiSq = median(v);
    row("set-then-query, raw socket, Nagle on", rawSq, floorSq, "ms");
    row("set-then-query, VXI-11", vxiSq, floorSq, "ms");
    std::printf("%-44s %10.2f (goal <= 2)\n", "  raw socket / VXI-11", vxiSq > 0 ? rawSq / vxiSq : 0.0);

    const double wave =
        setThenQuery(inst, "CHANnel1:BASe:WAVe SQUare", "CHANnel1:BASe:WAVe SINe", "CHANnel1:BASe:WAVe?", n);
    row("waveform change, reply (set + query)", wave, floorSq, "ms");
    const double out = setThenQuery(inst, "CHANnel2:OUTPut ON", "CHANnel2:OUTPut OFF", "CHANnel2:OUTPut?", n);
    row("output on/off, reply (set + query)", out, floorSq, "ms");

    const int loop = 20 * n;
    const auto loopBefore = processCounters(proc.processId());
    const double rate = setterRate(inst, loop);
    const auto loopAfter = processCounters(proc.processId());
    const double floorRate = setterRate(flo, loop);
    std::printf("%-44s %10.0f /s   floor %10.0f /s  ratio %8.1f (floor / program)\n", "frequency setter loop", rate,
                floorRate, rate > 0 ? floorRate / rate : 0.0);
    printThreads(loopBefore, loopAfter, loop, "per setter", 1e-3, "us CPU");

    rawSendLine(inst, "SYSTem:PICTure:FORMat PNG");
    std::string png;
    v.clear();
    for (int i = 0; i < std::max(5, n / 5); ++i) {
        t.start();
        if (!rawSendLine(inst, "DISPlay:DATA?") || !rawReadReply(inst, &png))
            return 1;
        v.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double pngMs = median(v);
    v.clear();
    for (int i = 0; i < std::max(5, n / 5); ++i) {
        t.start();
        if (!rawSendLine(flo, "BLOCK? " + std::to_string(png.size())) || !rawReadReply(flo))
            return 1;
        v.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    row("DISPlay:DATA? PNG", pngMs, median(v), "ms");
    std::printf("%-44s %10zu bytes\n", "  PNG reply", png.size());
    close(inst);
    close(flo);
    vxi.destroyLink(lid);
    vxi.close();

    // Idle: nobody talks to the program. Its floor, in the same window: a
    // thread of this benchmark that does nothing but wake every 10 ms (the
    // key flag poll the program must keep), to an absolute point with 1 ms
    // of timer slack, as the program's poll does.
    QThread::sleep(1);
    std::atomic<bool> idleOver {false};
    long long floorCpuNs = 0, floorWakes = 0;
    std::thread floorPoll([&] {
        prctl(PR_SET_TIMERSLACK, 1000000UL, 0UL, 0UL, 0UL);
        const auto cpuNs = [] {
            QFile st(QStringLiteral("/proc/self/task/%1/schedstat").arg(long(syscall(SYS_gettid))));
            return st.open(QIODevice::ReadOnly) ? st.readAll().split(' ').value(0).toLongLong() : 0LL;
        };
        const long long c0 = cpuNs();
        timespec next;
        clock_gettime(CLOCK_MONOTONIC, &next);
        while (!idleOver) {
            next.tv_nsec += 10000000L;
            if (next.tv_nsec >= 1000000000L) {
                next.tv_nsec -= 1000000000L;
                next.tv_sec++;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
            ++floorWakes;
        }
        floorCpuNs = cpuNs() - c0;
    });
    const auto before = processCounters(proc.processId());
    QThread::sleep(unsigned(idleSeconds));
    const auto after = processCounters(proc.processId());
    idleOver = true;
    floorPoll.join();
    const ThreadCounters idle = printThreads(before, after, idleSeconds, "per second", 1e-9 * 60, "CPU-s/min");
    const double floorCpu = double(floorCpuNs) / 1e9 * 60.0 / idleSeconds;
    const double idleCpu = double(idle.cpuNs) / 1e9 * 60.0 / idleSeconds;
    std::printf("%-44s %10.0f /s   floor %8.0f /s (a bare 10 ms poll)\n", "idle wake-ups (context switches)",
                double(idle.switches) / idleSeconds, double(floorWakes) / idleSeconds);
    std::printf("%-44s %10.3f CPU-s per minute   floor %.3f (a bare 10 ms poll)  ratio %.2f\n", "idle CPU", idleCpu,
                floorCpu, floorCpu > 0 ? idleCpu / floorCpu : 0.0);

    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    return 0;
}
