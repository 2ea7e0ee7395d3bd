#pragma once
// The built program started on a simulated board root for the benchmarks
// that measure it from outside, and the VXI-11 link they measure through.
#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdio>
#include "communication/ETHLXI/vxi11_client.h"

// Starts ornav72 (beside the benchmark's folder, or ORNAV_BENCH_PROGRAM) on root, headless, and waits
// until every ready line has been logged; false, with the log on stderr,
// when it did not come up.
inline bool startInstrument(QProcess& proc, const QString& root, const QList<QByteArray>& ready = {"vxi11_init ok!"})
{
    proc.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("ORNAV_ROOT");
    proc.setProcessEnvironment(env);
    // ORNAV_BENCH_PROGRAM names another build of the program (an earlier
    // one, measured by the same benchmark for a before/after comparison).
    const QString program = env.value("ORNAV_BENCH_PROGRAM", QCoreApplication::applicationDirPath() + "/../ornav72");
    proc.start(program, {"--root", root});
    QByteArray out;
    auto up = [&] {
        for (const QByteArray& line : ready)
            if (!out.contains(line))
                return false;
        return true;
    };
    for (int i = 0; i < 300 && !up(); ++i) {
        proc.waitForReadyRead(100);
        out += proc.readAll();
    }
    if (!up())
        std::fprintf(stderr, "instrument did not come up (is rpcbind running?)\n%s", out.constData());
    return up();
}

// A link to the instrument on the loopback over the VXI-11 core channel;
// -1, with a message, when there is none.
inline long openLink(Vxi11Client& vxi)
{
    if (!vxi.open("127.0.0.1", "tcp")) {
        std::fprintf(stderr, "no VXI-11 core channel\n");
        return -1;
    }
    return vxi.createLink("inst0").lid;
}
