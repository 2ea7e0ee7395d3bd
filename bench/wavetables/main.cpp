// Time to rebuild one channel's tables, per base waveform and per work mode.
// Every run starts from a channel whose memo is cleared, so the sine and
// arbitrary tables are really rebuilt (the worst case of a redraw). Prints
// the median of the runs in microseconds.
//
//   bench_wavetables [runs]      (default 201)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "WaveView/CWaveGreate.h"
#include "param/sys_param.h"

namespace {
const CH_ID kCh = CH1;

double medianMicros(int runs, void (*draw)())
{
    std::vector<double> t(static_cast<size_t>(runs));
    for (int r = 0; r < runs; ++r) {
        CWaveCreate::bwavev[kCh] = BASE_Unknown;
        const auto a = std::chrono::steady_clock::now();
        draw();
        const auto b = std::chrono::steady_clock::now();
        t[size_t(r)] = std::chrono::duration<double, std::micro>(b - a).count();
    }
    std::nth_element(t.begin(), t.begin() + runs / 2, t.end());
    return t[size_t(runs / 2)];
}

void drawBase() { CWaveCreate::CreateBaseWave(kCh, false); }
void drawMod() { CWaveCreate::CreateModWave(kCh); }
void drawSweep() { CWaveCreate::CreateSweepWave(kCh); }
void drawBurst() { CWaveCreate::CreateBurstWave(kCh); }

struct Mode {
    const char* name;
    WORK_MODE mode;
    u32 kind;
    void (*draw)();
};

double timeMode(int runs, const Mode& m)
{
    CH_DATA& d = sys_param::ch(kCh);
    d.WorkMode = m.mode;
    if (m.mode == WORK_MODULATION)
        d.ModType = m.kind;
    else if (m.mode == WORK_SCAN)
        d.SweepType = m.kind;
    else if (m.mode == WORK_BURST)
        d.BurstType = m.kind;
    return medianMicros(runs, m.draw);
}
} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
    sys_param::setFactoryValues(sys_param::HWinfo);
    CWaveCreate::Init();
    SWaveMem& w = *CWaveCreate::GetWaveMem(kCh);
    for (int i = 0; i < WAVE_BASE_POINTS; ++i)
        w.Arb[i] = CWaveCreate::sintable[(i * 3) % WAVE_BASE_POINTS];
    for (int i = 0; i < 100; ++i)
        w.List[i] = 1000.0 + 100.0 * i;
    w.ListLen = 100;
    sys_param::ch(kCh).HarmonicType = HARMNIC_TYPE_ALL;

    static const char* const waves[9] = {"sine", "square", "ramp", "pulse", "arb", "harmonic", "noise", "dc", "prbs"};
    const Mode columns[4] = {
        {"continuous", WORK_BASE, 0, drawBase},
        {"AM", WORK_MODULATION, MT_AM, drawMod},
        {"linear sweep", WORK_SCAN, ST_LINE, drawSweep},
        {"N-cycle burst", WORK_BURST, BT_NCYC, drawBurst},
    };

    std::printf("Rebuild of one channel's tables, median of %d runs, microseconds\n\n", runs);
    std::printf("%-10s", "wave");
    for (const Mode& m : columns)
        std::printf(" %14s", m.name);
    std::printf("\n");
    for (int wv = 0; wv < 9; ++wv) {
        sys_param::ch(kCh).BaseWave = u32(wv);
        std::printf("%-10s", waves[wv]);
        for (const Mode& m : columns)
            std::printf(" %14.1f", timeMode(runs, m));
        std::printf("\n");
    }

    static const char* const modNames[15] = {"AM", "BAM", "QAM",  "ASK",  "FM",  "FSK", "3FSK", "4FSK",
                                             "PM", "PSK", "BPSK", "QPSK", "OSK", "PWM", "SUM"};
    std::printf("\nEvery mode kind on a sine carrier, microseconds\n\n");
    sys_param::ch(kCh).BaseWave = BASE_Sine;
    for (int i = 0; i < 15; ++i) {
        const Mode m = {modNames[i], WORK_MODULATION, sys_param::modTypeOfIndex(i), drawMod};
        std::printf("%-18s %10.1f\n", m.name, timeMode(runs, m));
    }
    static const char* const sweepNames[4] = {"sweep linear", "sweep log", "sweep step", "sweep list"};
    for (int i = 0; i < 4; ++i) {
        const Mode m = {sweepNames[i], WORK_SCAN, u32(ST_LINE + i), drawSweep};
        std::printf("%-18s %10.1f\n", m.name, timeMode(runs, m));
    }
    static const char* const burstNames[4] = {"burst N cycles", "burst gated", "burst infinite", "burst unset (0)"};
    const u32 burstKinds[4] = {BT_NCYC, BT_GATE, BT_INFINIT, 0};
    for (int i = 0; i < 4; ++i) {
        const Mode m = {burstNames[i], WORK_BURST, burstKinds[i], drawBurst};
        std::printf("%-18s %10.1f\n", m.name, timeMode(runs, m));
    }
    return 0;
}
