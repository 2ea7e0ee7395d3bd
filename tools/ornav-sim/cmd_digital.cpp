// ornav-sim commands for the digital protocol output and the counter input
// of a running ornav72: the output lines as a VCD trace, and an input signal
// for the frequency counter.
#include "tools/ornav-sim/simcommands.h"
#include <QFile>
#include <cmath>
#include <cstdio>

int simCmdDigitalTrace(const QString& root, const QStringList& args)
{
    if (args.size() != 1 || args[0].isEmpty()) {
        std::fprintf(stderr, "ornav-sim: usage: digital-trace OUT.vcd\n");
        return 2;
    }
    QByteArray vcd;
    const int rc = simRequest(root, QStringLiteral("digital-trace"), &vcd);
    if (rc != 0)
        return rc;
    QFile out(args[0]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(vcd) != vcd.size()) {
        std::fprintf(stderr, "ornav-sim: can't write %s\n", qPrintable(args[0]));
        return 1;
    }
    return 0;
}

int simCmdCounter(const QString& root, const QStringList& args)
{
    bool okF = false, okD = true;
    const double f = args.isEmpty() ? 0 : args[0].toDouble(&okF);
    const double d = args.size() == 2 ? args[1].toDouble(&okD) : 50;
    if (args.isEmpty() || args.size() > 2 || !okF || !okD || !(f >= 0) || std::isinf(f) || !(d >= 0 && d <= 100)) {
        std::fprintf(stderr, "ornav-sim: usage: counter FREQ [DUTY] (FREQ in Hz, 0 for no input; DUTY 0..100 %%)\n");
        return 2;
    }
    return simRequest(root, QStringLiteral("counter %1 %2").arg(f, 0, 'g', 17).arg(d, 0, 'g', 17));
}
