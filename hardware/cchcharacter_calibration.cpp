#include "hardware/cchcharacter.h"
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// DC gains outside this window come from a failed measurement.
const double kMinDCGain = 0.6;
const double kMaxDCGain = 1.5;
// Temperature factors outside this window come from a failed measurement.
const double kMinTempFactor = 0.9;
const double kMaxTempFactor = 1.2;
const double kSameFreqRel = 1e-4;  // two calibration points closer than 0.01 % are one
const double kSameTempFreq = 1e-6; // factor files carry the same rounded frequencies
const double kSameAdjAmp = 1e-9;
const double kRefFreq = 1000.0; // every curve is anchored at 1 kHz

inline bool atRefFreq(const ACFrePiont& p) { return std::fabs(p.fre - kRefFreq) <= kRefFreq * kSameFreqRel; }

void sortPoints(std::vector<ACFrePiont>& pts)
{
    std::stable_sort(pts.begin(), pts.end(), [](const ACFrePiont& x, const ACFrePiont& y) { return x.fre < y.fre; });
}
} // namespace

bool CChCharacter::SetDCCalValue(unsigned char code, double a, double b)
{
    AmpSWMap* m = GetATTtoAmpMap(code);
    if (!m)
        return false;
    if (a > kMinDCGain && a < kMaxDCGain && std::isfinite(b)) {
        m->DC_a = a;
        m->DC_b = b;
        return true;
    }
    m->DC_a = 1.0;
    m->DC_b = 0.0;
    return false;
}

void CChCharacter::SetAllDCCalValue(double a, double b)
{
    for (AmpSWMap& m : AmpSWMaps)
        SetDCCalValue(m.ATT, a, b);
}

void CChCharacter::ClearAcCalValue()
{
    for (AmpSWMap& m : AmpSWMaps)
        m.ACFreAmp.clear();
}

ACAmpFre* CChCharacter::GetATTtoAmpForMap(unsigned char code, double V)
{
    AmpSWMap* m = GetATTtoAmpMap(code);
    if (!m)
        return nullptr;
    for (ACAmpFre& c : m->ACFreAmp)
        if (std::fabs(c.AdjAmp - V) <= kSameAdjAmp)
            return &c;
    m->ACFreAmp.push_back(ACAmpFre {V, {}});
    return &m->ACFreAmp.back();
}

double CChCharacter::RoundCalFreq(double f)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3e", f);
    return std::strtod(buf, nullptr);
}

bool CChCharacter::SetAddACCalValue(std::vector<ACFrePiont>* points, double f, double a)
{
    if (!points || !std::isfinite(f) || !std::isfinite(a))
        return false;
    f = RoundCalFreq(f);
    if (!(f > 0.0))
        return false;
    for (ACFrePiont& p : *points) {
        if (std::fabs(p.fre - f) <= f * kSameFreqRel) {
            p.amp = a;
            return true;
        }
    }
    points->push_back(ACFrePiont {f, a, 0.0, 0.0});
    return true;
}

bool CChCharacter::SetAddACTempValue(std::vector<ACFrePiont>* points, double f, double factor, bool high)
{
    if (!points || !std::isfinite(factor))
        return false;
    if (!(f > 0.0)) {
        qWarning("error temp freq:%e", f);
        return false;
    }
    f = RoundCalFreq(f);
    factor = std::min(std::max(factor, kMinTempFactor), kMaxTempFactor);
    for (ACFrePiont& p : *points) {
        if (std::fabs(p.fre - f) <= kSameTempFreq) {
            if (high)
                p.tmpHfactor = factor - 1.0;
            else
                p.tmpLfactor = factor - 1.0;
            return true;
        }
    }
    return false;
}

void CChCharacter::SortACCalValue(unsigned char code)
{
    AmpSWMap* m = GetATTtoAmpMap(code);
    if (!m)
        return;
    std::stable_sort(m->ACFreAmp.begin(), m->ACFreAmp.end(),
                     [](const ACAmpFre& x, const ACAmpFre& y) { return x.AdjAmp < y.AdjAmp; });
    for (ACAmpFre& c : m->ACFreAmp)
        sortPoints(c.Points);
}

// Temperature factors ride on existing points; keeping the points in
// frequency order keeps each factor with its point.
void CChCharacter::SortACHTempValue(unsigned char code)
{
    AmpSWMap* m = GetATTtoAmpMap(code);
    if (!m)
        return;
    for (ACAmpFre& c : m->ACFreAmp)
        sortPoints(c.Points);
}

void CChCharacter::SortACLTempValue(unsigned char code) { SortACHTempValue(code); }

// Curves measured at higher amplitudes often start above 1 kHz. They get the
// range's 1 kHz gain (from the first curve that has it) as their first point
// so that every curve of a range starts from the same reference. A range
// without any 1 kHz curve is left as it is and the next range is processed.
void CChCharacter::Set1KFreqCalValue()
{
    for (AmpSWMap& m : AmpSWMaps) {
        const ACFrePiont* refPoint = nullptr;
        for (const ACAmpFre& c : m.ACFreAmp) {
            if (!c.Points.empty() && atRefFreq(c.Points.front())) {
                refPoint = &c.Points.front();
                break;
            }
        }
        if (!refPoint)
            continue;
        const double refGain = refPoint->amp;
        for (ACAmpFre& c : m.ACFreAmp) {
            if (c.Points.empty())
                continue; // nothing measured: no curve to anchor
            if (std::any_of(c.Points.begin(), c.Points.end(), atRefFreq))
                continue;
            auto at =
                std::find_if(c.Points.begin(), c.Points.end(), [](const ACFrePiont& p) { return p.fre > kRefFreq; });
            c.Points.insert(at, ACFrePiont {kRefFreq, refGain, 0.0, 0.0});
        }
    }
}
