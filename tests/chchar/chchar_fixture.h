#pragma once
#include "tests/common/fpga_probe.h"
// Reference tables of the output paths, entered independently of the code
// under test, and a fixture that starts each case from the factory record.
#include <gtest/gtest.h>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <limits>
#include "hardware/cchcharacter.h"
#include "param/sys_param.h"

namespace ref {

struct Row {
    double fre, amp, offset, maxLevel;
};
const double TOP = std::numeric_limits<double>::max();

// Amplitude-versus-frequency rows.
const Row ch12Rows[8] = {
    {40e6, 20, 10, 10},    {120e6, 10, 5, 5},    {160e6, 5, 5, 5},   {300e6, 4, 2, 4},
    {400e6, 2.5, 2, 3.25}, {500e6, 1.5, 2, 2.8}, {600e6, 1, 2, 2.5}, {TOP, 1, 2, 2.5},
};
const Row ch34Rows[8] = {
    {20e6, 20, 10, 10}, {80e6, 10, 5, 5}, {120e6, 5, 5, 5}, {200e6, 3, 2, 3.5},
    {TOP, 1, 2, 2.5},   {0, 0, 0, 0},     {0, 0, 0, 0},     {0, 0, 0, 0},
};
inline const Row* rowsOf(CH_ID ch) { return (ch == CH1 || ch == CH2) ? ch12Rows : ch34Rows; }

// Bandwidths, MHz: sine, square, pulse, ramp, harmonic, arb, PRBS.
struct Bw {
    double sine, square, pulse, ramp, harmonic, arb, prbs;
};
const Bw ch12Full = {600, 200, 200, 30, 300, 100, 120};
const Bw ch12_400 = {400, 160, 160, 20, 200, 80, 80};
const Bw ch12_200 = {200, 120, 120, 20, 100, 60, 80};
const Bw ch34Full = {200, 60, 60, 10, 100, 60, 60};
const Bw ch34_400 = {160, 50, 50, 8, 80, 50, 40};
const Bw ch34_200 = {120, 40, 40, 3, 60, 40, 20};

const double STEP = 152587.890625; // FCLK / 2048

} // namespace ref

class ChCharTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sys_param::setFactoryValues(sys_param::HWinfo);
        CChCharacter::SetBoardTemperatureSource(nullptr);
    }
    void TearDown() override { CChCharacter::SetBoardTemperatureSource(nullptr); }
    static CH_DATA& rec(CH_ID ch) { return sys_param::HWinfo.PDT[ch]; }
    static void setLoad(CH_ID ch, unsigned load) { rec(ch).Load = load; }
};

namespace ref {
// Gain word of a flatness curve at frequency x for board temperature T:
// below the first point its gain, above the last point the last gain,
// between two points the straight line, each times the temperature factor
// of the lower point (the upper one at or beyond it). Points ascending.
inline unsigned short curveWord(const std::vector<ACFrePiont>& p, double x, double T)
{
    auto clip = [](double v) -> unsigned short {
        if (v <= 0)
            return 0;
        if (v >= 65535)
            return 65535;
        return static_cast<unsigned short>(v);
    };
    if (p.empty())
        return 65535;
    if (p.size() == 1)
        return clip(p[0].amp * 65535);
    double d = T - 43.0;
    d = d < -11 ? -11 : (d > 12 ? 12 : d);
    const bool hot = d > 0;
    const double u = hot ? d / 12.0 : -d / 11.0;
    auto f = [&](const ACFrePiont& q) { return 1 + u * (hot ? q.tmpHfactor : q.tmpLfactor); };
    double v;
    if (x <= p.front().fre) {
        v = p.front().amp * 65535 * f(p.front());
    } else if (x >= p.back().fre) {
        v = p.back().amp * 65535 * f(p.back());
    } else {
        size_t j = 0;
        while (!(x <= p[j + 1].fre))
            ++j;
        const ACFrePiont &a = p[j], &b = p[j + 1];
        if (x == b.fre)
            v = b.amp * 65535 * f(b);
        else
            v = (a.amp * (b.fre - x) + b.amp * (x - a.fre)) * 65535 / (b.fre - a.fre) * f(a);
    }
    return clip(v + 0.5);
}

inline std::vector<unsigned short> curveTable(const std::vector<ACFrePiont>& p, unsigned n, double T = 43.0)
{
    std::vector<unsigned short> t(n);
    for (unsigned k = 0; k < n; ++k)
        t[k] = curveWord(p, k * STEP, T);
    return t;
}
} // namespace ref
