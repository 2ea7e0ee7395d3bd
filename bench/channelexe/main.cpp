// Time of one channel apply (ChannelExe) on a simulated board, per base
// waveform, with the output on: the steady re-apply of unchanged settings
// and the apply after a frequency change. The first apply of each waveform
// (range switch, 50 ms settling) is not counted. Prints medians in
// microseconds.
//
//   bench_channelexe [runs]      (default 101)
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "app/channel.h"
#include "app/signal/csignal.h"
#include "platform/platformroot.h"
#include "simboard/simboard.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

#include "bench/common/median_timer.h"

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    QTemporaryDir dir;
    if (!dir.isValid() || !SimRoot::create(dir.path()))
        return 1;
    PlatformRoot::setRoot(dir.path());
    SimBoard::install();
    if (!CSetParam::OpenDevice())
        return 1;
    sys_param::setFactoryValues(sys_param::HWinfo);
    CWaveCreate::Init();
    Channel c;
    c.InitSignal(CH1);
    sys_param::OnOff[CH1] = true;
    const struct {
        const char* name;
        BASE_WAVE wave;
    } waves[] = {{"sine", BASE_Sine},   {"square", BASE_Square}, {"ramp", BASE_Ramp},
                 {"pulse", BASE_Pulse}, {"arb", BASE_Arb},       {"harmonic", BASE_Harmonic},
                 {"noise", BASE_Noise}, {"dc", BASE_DC},         {"prbs", BASE_Prbs}};
    std::printf("%-10s %12s %12s\n", "wave", "steady us", "new freq us");
    for (const auto& w : waves) {
        c.switchToBase(w.wave, 0);
        c.currentSignal->drawWave(true);
        c.ChannelExe();
        const double steady = medianMicros(runs, [&](int) { c.ChannelExe(); });
        const double fresh = medianMicros(runs, [&](int r) {
            sys_param::SetChFrequency(CH1, 1000.0 + r);
            c.ChannelExe();
        });
        std::printf("%-10s %12.1f %12.1f\n", w.name, steady, fresh);
    }
    CSetParam::CloseDevice();
    PlatformRoot::setRoot(QString());
    return 0;
}
