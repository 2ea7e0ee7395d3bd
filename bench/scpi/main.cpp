// Set-then-query round trips of representative command rows over VXI-11 on
// loopback, against the running program on a fresh simulated board. Each
// iteration sends a setter (alternating between two values so that every
// one changes something) and then its query, and checks the reply; then the
// same setters each followed by "*OPC?" (answered once the setting is
// applied), as a ratio to the floor server of this run taking the same
// pair of lines on the loopback.
//   bench_scpi [ITERATIONS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <utility>
#include <vector>
#include "bench/common/bench_instrument.h"
#include "bench/common/floor_server.h"
#include "bench/common/raw_client.h"
#include "communication/ETHLXI/vxi11_client.h"
#include "simboard/simroot.h"

namespace {

struct Row {
    const char* name;
    const char* setA;
    const char* setB;
    const char* query;
    int formerPauseMs; // the fixed pause the setter used to take
};

const Row kRows[] = {
    {"frequency", "CHANnel1:BASe:FREQuency 1000", "CHANnel1:BASe:FREQuency 2000", "CHANnel1:BASe:FREQuency?", 0},
    {"period", "CHANnel1:BASe:PERiod 1ms", "CHANnel1:BASe:PERiod 2ms", "CHANnel1:BASe:PERiod?", 0},
    {"amplitude", "CHANnel1:BASe:AMPLitude 1", "CHANnel1:BASe:AMPLitude 2", "CHANnel1:BASe:AMPLitude?", 0},
    {"offset", "CHANnel1:BASe:OFFSet 0.1", "CHANnel1:BASe:OFFSet 0.2", "CHANnel1:BASe:OFFSet?", 0},
    {"phase", "CHANnel1:BASe:PHASe 10", "CHANnel1:BASe:PHASe 20", "CHANnel1:BASe:PHASe?", 0},
    {"output", "CHANnel2:OUTPut ON", "CHANnel2:OUTPut OFF", "CHANnel2:OUTPut?", 150},
    {"inversion", "CHANnel1:INVersion ON", "CHANnel1:INVersion OFF", "CHANnel1:INVersion?", 0},
    {"load", "CHANnel1:LOAD 50", "CHANnel1:LOAD 1000000", "CHANnel1:LOAD?", 0},
    {"limit upper", "CHANnel1:LIMit:UPPer 3", "CHANnel1:LIMit:UPPer 4", "CHANnel1:LIMit:UPPer?", 0},
    {"waveform", "CHANnel1:BASe:WAVe SQUare", "CHANnel1:BASe:WAVe SINe", "CHANnel1:BASe:WAVe?", 150},
    {"duty (square)", "CHANnel3:BASe:DUTY 30", "CHANnel3:BASe:DUTY 40", "CHANnel3:BASe:DUTY?", 0},
    {"work mode", "CHANnel4:MODE MODulation", "CHANnel4:MODE CONTinue", "CHANnel4:MODE?", 150},
    {"modulation type", "CHANnel2:MODulate:TYPe AM", "CHANnel2:MODulate:TYPe FM", "CHANnel2:MODulate:TYPe?", 500},
    {"modulating freq", "CHANnel2:MODulate:FREQuency 100", "CHANnel2:MODulate:FREQuency 200",
     "CHANnel2:MODulate:FREQuency?", 0},
    {"sweep time", "CHANnel3:SWEep:TIMe 0.1", "CHANnel3:SWEep:TIMe 0.2", "CHANnel3:SWEep:TIMe?", 0},
    {"burst cycles", "CHANnel4:BURSt:CYCLes 2", "CHANnel4:BURSt:CYCLes 3", "CHANnel4:BURSt:CYCLes?", 0},
    {"burst period", "CHANnel4:BURSt:PERiod 10ms", "CHANnel4:BURSt:PERiod 20ms", "CHANnel4:BURSt:PERiod?", 0},
    {"coupling", "CHANnel:COUPle1:FREQuency ON", "CHANnel:COUPle1:FREQuency OFF", "CHANnel:COUPle1:FREQuency?", 0},
    {"beep", "SYSTem:BEEP OFF", "SYSTem:BEEP ON", "SYSTem:BEEP?", 0},
    {"digital clock", "DIGital:SPI:CLOCk 1000000", "DIGital:SPI:CLOCk 2000000", "DIGital:SPI:CLOCk?", 0},
};

// Median and p99 of the samples, in milliseconds.
std::pair<double, double> spread(std::vector<double> us)
{
    if (us.empty())
        return {0, 0};
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2] / 1000, us[std::min(us.size() - 1, size_t(double(us.size()) * 0.99))] / 1000};
}

void report(const char* what, const std::vector<double>& query, const std::vector<double>& opc, double floorMs,
            int pause, const char* note)
{
    const auto q = spread(query), o = spread(opc);
    std::printf("| %-16s | %5zu | %9.3f | %9.3f | %9.3f | %9.3f | %7.0f | %6d | %s\n", what, query.size(), q.first,
                q.second, o.first, o.second, floorMs > 0 ? o.first / floorMs : 0.0, pause, note);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const int iterations = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    QTemporaryDir dir;
    if (!SimRoot::create(dir.path()))
        return 1;
    QProcess proc;
    if (!startInstrument(proc, dir.path(), {"vxi11_init ok!", "ornav72 running"}))
        return 1;
    Vxi11Client vxi;
    const long lid = openLink(vxi);
    if (lid < 0)
        return 1;
    auto send = [&](const char* m) { vxi.write(lid, QByteArray(m) + "\n", true, 10000); };
    auto ask = [&](const char* m, bool* ok) { return vxi.query(lid, QByteArray(m) + "\n", ok, 3000); };

    // Outputs on, so that every setting goes all the way to the registers;
    // the channels in the modes their rows need.
    for (const char* m : {"CHANnel1:OUTPut ON", "CHANnel3:OUTPut ON", "CHANnel4:OUTPut ON", "CHANnel3:BASe:WAVe SQUare",
                          "CHANnel2:MODE MODulation", "CHANnel3:MODE SWEep", "CHANnel4:MODE BURSt",
                          "CHANnel4:MODE MODulation", "CHANnel4:MODE BURSt"})
        send(m);

    // The floor: a setter line and "*OPC?" to the floor server, same pair
    // of lines, reply awaited the same way.
    FloorServer floorServer;
    const int flo = rawConnect(floorServer.port());
    std::vector<double> floorUs;
    QElapsedTimer t;
    for (int i = 0; flo >= 0 && i < iterations; ++i) {
        t.start();
        if (!rawSendLine(flo, kRows[0].setA) || !rawSendLine(flo, "*OPC?") || !rawReadReply(flo))
            break;
        floorUs.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    if (flo >= 0)
        close(flo);
    const auto floorMs = spread(floorUs);
    std::printf("floor (setter + *OPC? on the loopback line server): median %.3f ms, p99 %.3f ms\n\n", floorMs.first,
                floorMs.second);

    std::printf("| row              |     n | set+query |           | set+*OPC? |           | *OPC?   | former |\n");
    std::printf(
        "|                  |       | median ms |    p99 ms | median ms |    p99 ms | / floor | pause  | notes\n");
    std::printf(
        "|------------------|-------|-----------|-----------|-----------|-----------|---------|--------|------\n");
    for (const Row& r : kRows) {
        if (std::string(r.name) == "work mode")
            send("CHANnel4:MODE CONTinue");
        std::vector<double> us;
        bool allOk = true;
        QByteArray first;
        for (int i = 0; i < iterations; ++i) {
            t.start();
            send(i % 2 ? r.setB : r.setA);
            bool ok = false;
            const QByteArray reply = ask(r.query, &ok);
            us.push_back(double(t.nsecsElapsed()) / 1000.0);
            allOk = allOk && ok && !reply.isEmpty();
            if (i == 0)
                first = reply.trimmed();
            if (!allOk)
                break; // a row this build does not have: no reply to wait for
        }
        std::vector<double> opc;
        for (int i = 0; allOk && i < iterations; ++i) {
            t.start();
            send(i % 2 ? r.setB : r.setA);
            bool ok = false;
            const QByteArray reply = ask("*OPC?", &ok);
            opc.push_back(double(t.nsecsElapsed()) / 1000.0);
            if (!ok || reply.trimmed() != "1")
                break;
        }
        bool ok = false;
        const QByteArray err = ask("SYSTem:ERRor?", &ok).trimmed();
        const QByteArray note = (allOk ? QByteArray() : QByteArray("not in this build (no reply); ")) +
            (err.startsWith("0,") ? QByteArray() : "error list: " + err);
        report(r.name, us, opc, floorMs.first, r.formerPauseMs, note.constData());
        ask("SYSTem:ERRor", &ok);
        send("SYSTem:ERRor");
    }
    std::vector<double> us, opc;
    for (int i = 0; i < std::max(10, iterations / 10); ++i) {
        bool ok = false;
        t.start();
        send("*RST");
        ask("CHANnel1:BASe:FREQuency?", &ok);
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        t.start();
        send("*RST");
        ask("*OPC?", &ok);
        opc.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    report("*RST", us, opc, floorMs.first, 500, "");

    ::kill(pid_t(proc.processId()), SIGTERM);
    proc.waitForFinished(10000);
    return 0;
}
