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
#include <unistd.h>
#include <algorithm>
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

// Voluntary and forced context switches of all threads, and CPU ticks.
void processCounters(qint64 pid, long long* switches, long long* ticks)
{
    *switches = 0;
    const QString base = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(base + "/" + task + "/status");
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                *switches += line.split(':').last().trimmed().toLongLong();
    }
    QFile s(QStringLiteral("/proc/%1/stat").arg(pid));
    *ticks = 0;
    if (s.open(QIODevice::ReadOnly)) {
        const QByteArray st = s.readAll();
        const QList<QByteArray> f = st.mid(st.lastIndexOf(')') + 2).split(' ');
        if (f.size() > 13)
            *ticks = f[11].toLongLong() + f[12].toLongLong();
    }
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
    const double rate = setterRate(inst, loop), floorRate = setterRate(flo, loop);
    std::printf("%-44s %10.0f /s   floor %10.0f /s  ratio %8.1f (floor / program)\n", "frequency setter loop", rate,
                floorRate, rate > 0 ? floorRate / rate : 0.0);

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

    // Idle: nobody talks to the program.
    QThread::sleep(1);
    long long s0, c0, s1, c1;
    processCounters(proc.processId(), &s0, &c0);
    QThread::sleep(unsigned(idleSeconds));
    processCounters(proc.processId(), &s1, &c1);
    const double hz = double(sysconf(_SC_CLK_TCK));
    std::printf("%-44s %10.0f /s   floor          0\n", "idle wake-ups (context switches)",
                double(s1 - s0) / idleSeconds);
    std::printf("%-44s %10.3f CPU-s per minute   floor 0\n", "idle CPU", double(c1 - c0) / hz * 60.0 / idleSeconds);

    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    return 0;
}
