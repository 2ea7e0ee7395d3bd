#include "tools/ornav-sim/simcommands.h"
#include "tools/ornav-arblib/arbwavelib.h"
#include "simboard/simroot.h"
#include <QDir>
#include <cstdio>

int simCmdInit(const QString& root, const QStringList&)
{
    QString error;
    if (!SimRoot::create(root, &error)) {
        std::fprintf(stderr, "ornav-sim: %s\n", qPrintable(error));
        return 1;
    }
    // The built-in wave library the board carries in "/usr/share/ArbWaveLib".
    std::string libError;
    const QString lib = QDir(root).absolutePath() + QStringLiteral("/usr/share/ArbWaveLib");
    if (arbwavelib::writeLibrary(lib.toStdString(), &libError) < 0) {
        std::fprintf(stderr, "ornav-sim: %s\n", libError.c_str());
        return 1;
    }
    std::printf("simulated board root ready: %s\n", qPrintable(root));
    return 0;
}
