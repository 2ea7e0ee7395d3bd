#include "tools/ornav-sim/simcommands.h"
#include "simboard/simroot.h"
#include <cstdio>

int simCmdInit(const QString& root, const QStringList&)
{
    QString error;
    if (!SimRoot::create(root, &error)) {
        std::fprintf(stderr, "ornav-sim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("simulated board root ready: %s\n", qPrintable(root));
    return 0;
}
