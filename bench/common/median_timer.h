#pragma once
// Median time of one step, in microseconds, over a number of runs. The
// simulator's write record is emptied before each run (outside the timing)
// so that it does not grow through the benchmark.
#include <algorithm>
#include <chrono>
#include <vector>
#include "simboard/simfpga.h"

template <class F>
double medianMicros(int runs, F step)
{
    std::vector<double> t(static_cast<size_t>(runs));
    for (int r = 0; r < runs; ++r) {
        SimFpga::instance().clearWrites();
        const auto a = std::chrono::steady_clock::now();
        step(r);
        const auto b = std::chrono::steady_clock::now();
        t[size_t(r)] = std::chrono::duration<double, std::micro>(b - a).count();
    }
    std::nth_element(t.begin(), t.begin() + runs / 2, t.end());
    return t[size_t(runs / 2)];
}
