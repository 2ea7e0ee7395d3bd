// Arbitrary-wave files on a simulated board: the time to load a 1 Mi-point
// bsv and csv file into CH1 (file to wave memory: header, samples, the
// 8192-point table and the deep memory), beside the plain time to read the
// file; then the end-to-end time of "WARB1:CARRier" plus a 1 Mi-point bsv
// over VXI-11 until the wave memory holds it (the upload's next query is
// answered only once the wave is loaded), beside the loopback write
// throughput of plain 1 MiB messages. Last, a 4 Mi-point bsv upload over the
// raw socket until "*OPC?" answers (the wave stored, loaded and in the wave
// memory), as a ratio to the floor measured in the same run: a plain
// loopback TCP transfer of the same bytes plus the longer of the program's
// own load of the same file from its internal storage (read, parse, stream
// to the wave memory) and a plain write + fsync of the same bytes (the
// program stores the file while it loads the wave, and answers once both
// are done).
//
//   bench_files [runs]      (default 7)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "bench/common/bench_instrument.h"
#include "bench/common/raw_client.h"
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

QByteArray bsvFile(int points = kPoints)
{
    QByteArray b = "[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:" + QByteArray::number(points) + "\r\n";
    const int head = b.size();
    b.resize(head + 2 * points);
    for (int i = 0; i < points; ++i) {
        const int16_t s = int16_t(std::lround(30000 * std::sin(2 * M_PI * 7 * i / points)));
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

// Reads up to and with the next LF.
QByteArray readLine(int fd)
{
    QByteArray line;
    char c;
    while (::recv(fd, &c, 1, 0) == 1) {
        line += c;
        if (c == '\n')
            break;
    }
    return line;
}

// The floor: the same bytes through a loopback TCP connection to a reader
// that takes them all and answers one byte.
double loopbackMs(const QByteArray& bytes)
{
    const int srv = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (srv < 0 || ::bind(srv, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(srv, 1) != 0 ||
        ::getsockname(srv, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return -1;
    std::thread reader([srv, n = size_t(bytes.size())] {
        const int c = ::accept(srv, nullptr, nullptr);
        std::vector<char> buf(1 << 16);
        size_t got = 0;
        while (got < n) {
            const ssize_t r = ::recv(c, buf.data(), buf.size(), 0);
            if (r <= 0)
                break;
            got += size_t(r);
        }
        ::send(c, "1", 1, MSG_NOSIGNAL);
        ::close(c);
    });
    QElapsedTimer t;
    t.start();
    const int fd = rawConnect(ntohs(a.sin_port));
    char c = 0;
    const bool ok = fd >= 0 && rawSendAll(fd, bytes.constData(), size_t(bytes.size())) && ::recv(fd, &c, 1, 0) == 1;
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (fd >= 0)
        ::close(fd);
    reader.join();
    ::close(srv);
    return ok ? ms : -1;
}

bool writeFile(const QString& path, const QByteArray& b)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(b) == b.size();
}

// Milliseconds to write the bytes to a new file in the folder and have them
// on the medium (fsync), as a durable save of an upload must.
double durableWriteMs(const QString& path, const QByteArray& b)
{
    QElapsedTimer t;
    t.start();
    QFile f(path);
    const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(b) == b.size() && f.flush() &&
        ::fsync(f.handle()) == 0;
    f.close();
    QFile::remove(path);
    return ok ? double(t.nsecsElapsed()) / 1e6 : 0.0;
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
    const int bigPoints = 4 * kPoints;
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
    // CH1 plays its arbitrary wave, so every upload below goes all the way
    // into the wave memory, as the floor does (a channel playing another
    // wave only stores the file and fills its tables).
    {
        bool ok = false;
        if (vxi.query(lid, "CHANnel1:BASe:WAVe ARB;*OPC?\n", &ok, 30000).trimmed() != "1" || !ok)
            return 1;
    }
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
        if (!ok || !reply.startsWith("0,"))
            std::fprintf(stderr, "upload over VXI-11: %s\n", reply.constData());
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
    // ---- 4 Mi points over the raw socket, against its floor --------------------
    const QByteArray big = bsvFile(bigPoints);
    QByteArray upload4;
    upload4 += "WARB1:CARRier \"big.bsv\"\n";
    upload4 += "#8" + QByteArray::number(big.size()).rightJustified(8, '0') + big + "\n*OPC?\n";
    int raw = -1;
    for (int i = 0; i < 50 && raw < 0; ++i) {
        raw = rawConnect(5025);
        if (raw < 0)
            QThread::msleep(100);
    }
    std::vector<double> upRaw, floorRaw, loadRaw, syncRaw;
    // The plain 1 MiB messages above were no commands: their errors go.
    if (raw >= 0 && (!rawSendAll(raw, "*CLS\n*OPC?\n", 11) || readLine(raw) != "1\n")) {
        ::close(raw);
        raw = -1;
    }
    // The program's own load of the same file from the internal storage:
    // read, parse and stream to the wave memory, nothing received.
    const QByteArray loadFloor = "CHANnel1:BASe:ARB USER,\"floor.bsv\"\n*OPC?\n";
    if (!writeFile(user + "floor.bsv", big))
        return 1;
    for (int r = 0; raw >= 0 && r < std::min(runs, 5); ++r) {
        const double lo = loopbackMs(upload4);
        QElapsedTimer l;
        l.start();
        if (!rawSendAll(raw, loadFloor.constData(), size_t(loadFloor.size())) || readLine(raw) != "1\n")
            break;
        const double load = double(l.nsecsElapsed()) / 1e6;
        QElapsedTimer e;
        e.start();
        if (!rawSendAll(raw, upload4.constData(), size_t(upload4.size())) || readLine(raw) != "1\n")
            break;
        upRaw.push_back(double(e.nsecsElapsed()) / 1e6);
        // The save overlaps the load: the floor is the transfer and the
        // longer of the two.
        const double sync = durableWriteMs(user + "floor-sync.bin", big);
        floorRaw.push_back(lo + std::max(load, sync));
        loadRaw.push_back(load);
        syncRaw.push_back(sync);
        proc.readAll();
    }
    if (raw >= 0) {
        ::send(raw, "SYSTem:ERRor?\n", 14, MSG_NOSIGNAL);
        const QByteArray e = readLine(raw);
        if (!e.startsWith("0,"))
            std::fprintf(stderr, "upload over the raw socket: %s", e.constData());
        failed = failed || !e.startsWith("0,");
        ::close(raw);
    }
    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    if (failed || upload < 0) {
        std::fprintf(stderr, "upload failed\n");
        return 1;
    }
    std::printf("%-44s %9.1f ms\n", "WARB1:CARRier + 1 Mi-point bsv over VXI-11", upload);
    std::printf("%-44s %9.1f MiB/s (%.1f ms for the same bytes)\n", "VXI-11 write throughput, 1 MiB messages", mibPerS,
                plainMs);
    std::printf("%-44s %9.1f x\n", "upload / plain transfer", upload / plainMs);
    std::printf("%-44s %9.1f x\n", "upload / load from the file", upload / loadBsv);
    if (upRaw.empty()) {
        std::fprintf(stderr, "raw-socket upload failed\n");
        return 1;
    }
    const double up4 = median(upRaw), floor4 = median(floorRaw);
    std::printf("%-44s %9.1f ms  (%.1f MiB)\n", "4 Mi-point bsv over the raw socket, to *OPC?", up4,
                big.size() / 1048576.0);
    std::printf("%-44s %9.1f ms  (medians: load from storage %.1f, write + fsync %.1f)\n",
                "  floor: loopback + the longer of the two", floor4, median(loadRaw), median(syncRaw));
    std::printf("%-44s %s ms\n", "  uploads",
                [&] {
                    std::string all;
                    for (size_t i = 0; i < upRaw.size(); ++i)
                        all += (i ? ", " : "") + std::to_string(int(upRaw[i] + 0.5)) + " (floor " +
                            std::to_string(int(floorRaw[i] + 0.5)) + ")";
                    return all;
                }()
                    .c_str());
    std::printf("%-44s %9.2f x  (target at most 2)\n", "4 Mi-point upload / floor", up4 / floor4);
    return 0;
}
