// Time of the register programming on a simulated board: carrier set,
// amplitude path (same range: offset, flatness, scale; and a range change
// with its relay wait), flatness upload, base-table upload and a deep-memory
// load. Prints the median of the runs in microseconds.
//
//   bench_regs [runs]      (default 101)
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>
#include "hardware/CSetParam.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include "simboard/simboard.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

#include "bench/common/median_timer.h"

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    QTemporaryDir dir;
    if (!dir.isValid() || !SimRoot::create(dir.path())) {
        std::fprintf(stderr, "no simulated board root\n");
        return 1;
    }
    PlatformRoot::setRoot(dir.path());
    SimBoard::install();
    if (!CSetParam::OpenDevice()) {
        std::fprintf(stderr, "no simulated register device\n");
        return 1;
    }
    sys_param::setFactoryValues(sys_param::HWinfo);
    sys_param::SetPhaseSyncType(CH_SYS, 1);
    CSetParam::ForgetWrittenState();

    std::printf("runs: %d (median, us)\n", runs);
    std::printf("carrier set (SetFre, changed value)      %10.1f\n",
                medianMicros(runs, [](int r) { CSetParam::SetFre(CH1, 1000.0 + r); }));

    CSetParam::SetAmpOffset(CH1, 1e3, 1.0, 0.1, false, false, false, 0);
    std::printf("amplitude path, same range, new amp      %10.1f\n", medianMicros(runs, [](int r) {
                    CSetParam::SetAmpOffset(CH1, 1e3, 1.0 + 0.01 * (r % 50 + 1), 0.1, false, false, false, 0);
                }));
    std::printf("amplitude path, unchanged                %10.1f\n",
                medianMicros(runs, [](int) { CSetParam::SetAmpOffset(CH1, 1e3, 1.5, 0.1, false, false, false, 0); }));
    std::printf("amplitude path, range change (5 runs)    %10.1f\n", medianMicros(5, [](int r) {
                    CSetParam::SetAmpOffset(CH1, 1e3, (r & 1) ? 1.0 : 0.2, 0.1, false, false, false, 0);
                }));

    std::vector<unsigned short> flat(4096, 60000);
    std::printf("flatness upload (4096 words)             %10.1f\n",
                medianMicros(runs, [&](int) { CSetParam::SetFineAmpDataReg(CH1, flat.data(), 4096); }));

    std::vector<short> table(8192);
    for (int i = 0; i < 8192; ++i)
        table[size_t(i)] = short(i * 8 - 32767);
    std::printf("base table upload (8192 words)           %10.1f\n",
                medianMicros(runs, [&](int) { CSetParam::SetBaseWaveData(CH2, table.data(), 8192, false); }));

    std::vector<short> deep(1 << 20);
    for (size_t i = 0; i < deep.size(); ++i)
        deep[i] = short(i);
    std::printf("deep memory load (2^20 samples, 5 runs)  %10.1f\n",
                medianMicros(5, [&](int) { CSetParam::SetBaseWaveData(CH1, deep.data(), int(deep.size()), true); }));

    CSetParam::CloseDevice();
    PlatformRoot::setRoot(QString());
    return 0;
}
