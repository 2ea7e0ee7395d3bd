// Arbitrary-wave files on a simulated board: the time to load a 1 Mi-point
// bsv and csv file into CH1 (file to wave memory: header, samples, the
// 8192-point table and the deep memory), beside the plain time to read the
// file; then the end-to-end time of "WARB1:CARRier" plus a 1 Mi-point bsv
// over VXI-11 until the wave memory holds it (the upload's next query is
// answered only once the wave is loaded), beside the loopback write
// throughput of plain 1 MiB messages.
//
//   bench_files [runs]      (default 7)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "bench/common/bench_instrument.h"
#include "communication/ETHLXI/vxi11_client.h"
#include "WaveView/arbwavedata.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

namespace {

const int kPoints = 1 << 20;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F>
double medianMs(int runs, F step)
{
    std::vector<double> t;
    QElapsedTimer e;
    for (int r = 0; r < runs; ++r) {
        SimFpga::instance().clearWrites();
        e.start();
        if (!step())
            return -1;
        t.push_back(double(e.nsecsElapsed()) / 1e6);
    }
    return median(t);
}

QByteArray bsvFile()
{
    QByteArray b = "[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:" + QByteArray::number(kPoints) + "\r\n";
    const int head = b.size();
    b.resize(head + 2 * kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const int16_t s = int16_t(std::lround(30000 * std::sin(2 * M_PI * 7 * i / kPoints)));
        b[head + 2 * i] = char(uint16_t(s) & 0xFF);
        b[head + 2 * i + 1] = char(uint16_t(s) >> 8);
    }
    return b;
}

QByteArray csvFile()
{
    QByteArray b = "[HEAD]:0\nFREQUENCY:1000\n[DATA]:" + QByteArray::number(kPoints) + "\n";
    b.reserve(b.size() + kPoints * 9);
    char line[32];
    for (int i = 0; i < kPoints; ++i) {
        const int n = std::snprintf(line, sizeof line, "%.5f\n", std::sin(2 * M_PI * 7 * i / kPoints));
        b.append(line, n);
    }
    return b;
}

// What the controller's loader does with a carrier file on CH1.
bool loadIntoCh1(const QString& board)
{
    QFile f(PlatformRoot::path(board));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    ArbParam p;
    if (!ArbWaveData::LoadArbHead(f, p))
        return false;
    SWaveMem* w = CWaveCreate::GetWaveMem(CH1);
    short* full = nullptr;
    if (ArbWaveData::LoadArbData(f, QFileInfo(board).suffix(), &full, w->Arb, nullptr, p) != 0)
        return false;
    w->ArbLen = p.TotalPointNum;
    CSetParam::SetBaseWaveData(CH1, full, w->ArbLen, true);
    std::free(full);
    return w->ArbLen == kPoints;
}

bool writeFile(const QString& path, const QByteArray& b)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(b) == b.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    if (!dir.isValid() || !SimRoot::create(dir.path()))
        return 1;
    const QByteArray bsv = bsvFile();
    const QByteArray csv = csvFile();
    const QString user = dir.path() + "/run/media/mmcblk0p1/";
    if (!writeFile(user + "wave.bsv", bsv) || !writeFile(user + "wave.csv", csv))
        return 1;

    // ---- in process: file to wave memory --------------------------------------
    PlatformRoot::setRoot(dir.path());
    if (!CSetParam::OpenDevice())
        return 1;
    sys_param::setFactoryValues(sys_param::HWinfo);
    CWaveCreate::Init();
    const auto readAll = [](const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) && f.readAll().size() > 0;
    };
    const double readBsv = medianMs(runs, [&] { return readAll(user + "wave.bsv"); });
    const double readCsv = medianMs(runs, [&] { return readAll(user + "wave.csv"); });
    const double loadBsv = medianMs(runs, [&] { return loadIntoCh1("/run/media/mmcblk0p1/wave.bsv"); });
    const double loadCsv = medianMs(runs, [&] { return loadIntoCh1("/run/media/mmcblk0p1/wave.csv"); });
    std::vector<short> samples(size_t(kPoints), 1000);
    const double deepFull = medianMs(runs, [&] { return CSetParam::SetDeepWaveData(CH1, samples.data(), kPoints); });
    CSetParam::CloseDevice();
    PlatformRoot::setRoot(QString());

    std::printf("1 Mi points (%d), median of %d runs\n", kPoints, runs);
    std::printf("%-44s %9.1f ms  (%.1f MiB)\n", "read the bsv file", readBsv, bsv.size() / 1048576.0);
    std::printf("%-44s %9.1f ms  (%.1f MiB)\n", "read the csv file", readCsv, csv.size() / 1048576.0);
    std::printf("%-44s %9.1f ms  %5.1f x reading it\n", "load bsv into CH1 (file to wave memory)", loadBsv,
                loadBsv / readBsv);
    std::printf("%-44s %9.1f ms  %5.1f x reading it\n", "load csv into CH1 (file to wave memory)", loadCsv,
                loadCsv / readCsv);
    std::printf("%-44s %9.1f ms\n", "  of which deep-memory write of 1 Mi samples", deepFull);

    // ---- the running program: upload over VXI-11 ------------------------------
    QProcess proc;
    if (!startInstrument(proc, dir.path()))
        return 1;
    Vxi11Client vxi;
    if (!vxi.open("127.0.0.1", "tcp"))
        return 1;
    const Vxi11Client::Link link = vxi.createLink("inst0");
    const long lid = link.lid;
    // The instrument announces 1 KiB for the sake of stock clients but takes
    // chunks of up to 1 MiB, as a client that sets END itself may send.
    const int chunk = 1 << 20;
    bool failed = false;
    const double upload = medianMs(runs, [&] {
        if (vxi.write(lid, "WARB1:CARRier \"up.bsv\"\n", true, 10000).error != 0)
            return false;
        for (int off = 0; off < bsv.size(); off += chunk) {
            const bool last = off + chunk >= bsv.size();
            if (vxi.write(lid, bsv.mid(off, chunk), last, 10000).error != 0)
                return false;
        }
        bool ok = false;
        const QByteArray reply = vxi.query(lid, "SYSTem:ERRor?\n", &ok, 30000);
        failed = failed || !ok || !reply.startsWith("0,");
        return ok;
    });
    const QByteArray mib(1 << 20, 'x');
    QElapsedTimer t;
    const int writes = 20;
    t.start();
    for (int i = 0; i < writes; ++i)
        vxi.write(lid, mib, true, 5000);
    const double mibPerS = writes / (double(t.nsecsElapsed()) / 1e9);
    const double plainMs = bsv.size() / 1048576.0 / mibPerS * 1000;
    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    if (failed || upload < 0) {
        std::fprintf(stderr, "upload failed\n");
        return 1;
    }
    std::printf("%-44s %9.1f ms\n", "WARB1:CARRier + 1 Mi-point bsv over VXI-11", upload);
    std::printf("%-44s %9.1f MiB/s (%.1f ms for the same bytes)\n", "VXI-11 write throughput, 1 MiB messages",
                mibPerS, plainMs);
    std::printf("%-44s %9.1f x\n", "upload / plain transfer", upload / plainMs);
    std::printf("%-44s %9.1f x\n", "upload / load from the file", upload / loadBsv);
    return 0;
}
