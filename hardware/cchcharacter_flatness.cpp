#include "hardware/cchcharacter.h"
#include <cmath>
#include <vector>

namespace {
const double kFullScale = 65535.0;
const unsigned short kFlat = 65535;

// Set at start-up (and by tests) before any flatness correction runs.
const SharedValue<float>* g_boardTemp = nullptr;

// A gain word from a computed value: clipped to the 16-bit range (a gain
// above nominal or a curve extrapolated below zero must not wrap).
inline unsigned short toWord(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= kFullScale)
        return kFlat;
    return static_cast<unsigned short>(v);
}

inline void fillFlat(unsigned short* out, unsigned n)
{
    for (unsigned k = 0; k < n; ++k)
        out[k] = kFlat;
}

inline bool hasPoints(const AmpSWMap& m) { return !m.ACFreAmp.empty() && !m.ACFreAmp.back().Points.empty(); }
} // namespace

void CChCharacter::SetBoardTemperatureSource(const SharedValue<float>* t) { g_boardTemp = t; }

double CChCharacter::BoardTemperature() { return g_boardTemp ? double(float(*g_boardTemp)) : ReferenceTemperature; }

// Gain words along one flatness curve, corrected for the board temperature.
// The curve points are ascending in frequency; below the first point the
// first gain holds, above the last point the last gain holds.
void CChCharacter::LinearInterpolation(const std::vector<ACFrePiont>& points, unsigned short* out, unsigned n,
                                       double step)
{
    if (!out)
        return;
    if (points.empty()) {
        fillFlat(out, n);
        return;
    }
    if (points.size() == 1) {
        const unsigned short w = toWord(points[0].amp * kFullScale);
        for (unsigned k = 0; k < n; ++k)
            out[k] = w;
        return;
    }

    // The temperature factors give the relative gain change at the ends of
    // the specified span; between the reference and an end it scales
    // linearly, beyond the ends it holds.
    double d = BoardTemperature() - ReferenceTemperature;
    if (d < -ColdSpan)
        d = -ColdSpan;
    if (d > HotSpan)
        d = HotSpan;
    const bool hot = d > 0.0;
    const double u = hot ? d / HotSpan : d / -ColdSpan;
    auto factor = [hot, u](const ACFrePiont& p) { return 1.0 + u * (hot ? p.tmpHfactor : p.tmpLfactor); };

    const size_t last = points.size() - 1;
    size_t i0 = 0, i1 = 0;
    for (unsigned k = 0; k < n; ++k) {
        const double x = double(k) * step;
        while (x > points[i1].fre && i1 < last) {
            i0 = i1;
            ++i1;
        }
        const ACFrePiont& p0 = points[i0];
        const ACFrePiont& p1 = points[i1];
        double v;
        if (x >= p1.fre && p1.fre != p0.fre) {
            v = p1.amp * kFullScale * factor(p1);
        } else if (x > p0.fre && x < p1.fre) {
            v = ((p0.amp * (p1.fre - x) + p1.amp * (x - p0.fre)) * kFullScale / (p1.fre - p0.fre)) * factor(p0);
        } else {
            v = p0.amp * kFullScale * factor(p0);
        }
        out[k] = toWord(v + 0.5);
    }
}

// Flatness table of a range at amplitude vpp: the curves measured nearest
// below and above the amplitude are interpolated along frequency and then
// blended by where the amplitude lies between them. A range that borrows
// another range's curves uses that shape at the equivalent amplitude and
// scales it by the ratio of the two ranges' own low-frequency gains.
bool CChCharacter::GetAcFineforATT(unsigned char code, double vpp, unsigned short* out, unsigned n, double step) const
{
    if (!out || n == 0)
        return false;
    const AmpSWMap* m = GetATTtoAmpMap(code);
    if (!m || m->ACFreAmp.empty()) {
        fillFlat(out, n);
        return false;
    }
    const AmpSWMap* ref = m;
    if (m->ATTRef < ATT_NONE_REF) {
        const AmpSWMap* r = GetATTtoAmpMap(m->ATTRef);
        if (r)
            ref = r;
    }

    // The amplitude as it appears in the reference range (the DC-only range
    // has no amplitude of its own to scale by).
    double a = vpp;
    if (ref != m && m->amp > 0.0)
        a = vpp * ref->amp / m->amp;

    const std::vector<ACAmpFre>& curves = ref->ACFreAmp;
    if (curves.empty()) {
        fillFlat(out, n);
        return false;
    }

    size_t c0 = 0, c1 = 0;
    if (curves.size() > 1 && a > curves[0].AdjAmp) {
        for (size_t i = 0; i < curves.size(); ++i) {
            const ACAmpFre& c = curves[i];
            if (!(a >= c.AdjAmp) || c.Points.empty() || c.Points.back().fre == 0.0)
                continue;
            c0 = i;
            const bool next = i + 1 < curves.size();
            if (c.Points.size() == 1)
                c1 = next ? i + 1 : i;
            else
                c1 = (next && a > c.AdjAmp) ? i + 1 : i;
        }
    }
    const ACAmpFre& lo = curves[c0];
    const ACAmpFre& hi = curves[c1];

    LinearInterpolation(lo.Points, out, n, step);

    // An upper curve without points carries no information to blend in.
    if (c1 != c0 && !hi.Points.empty()) {
        std::vector<unsigned short> t(n);
        LinearInterpolation(hi.Points, t.data(), n, step);
        if (lo.Points.empty()) {
            for (unsigned k = 0; k < n; ++k)
                out[k] = t[k];
        } else if (lo.Points.size() == 1) {
            // A one-point lower curve only fixes the level: take the upper
            // curve's shape at the lower curve's gain.
            const double den = hi.Points.front().amp;
            if (den > 0.0) {
                const double r = lo.Points.front().amp / den;
                for (unsigned k = 0; k < n; ++k)
                    out[k] = toWord(std::trunc(double(t[k]) * r));
            }
        } else if (hi.AdjAmp > lo.AdjAmp) {
            const double w = (a - lo.AdjAmp) / (hi.AdjAmp - lo.AdjAmp);
            // Blend up to the last measured frequency of the upper curve,
            // and never past the end of the table.
            const double kLast = std::trunc(hi.Points.back().fre / step);
            const unsigned K = kLast < double(n) ? unsigned(kLast > 0.0 ? kLast : 0.0) : n;
            for (unsigned k = 0; k < K; ++k)
                out[k] = toWord(std::trunc(double(out[k]) + (double(t[k]) - double(out[k])) * w));
        }
    }

    if (ref != m && hasPoints(*m) && hasPoints(*ref)) {
        const double den = ref->ACFreAmp.back().Points.front().amp;
        if (den > 0.0) {
            const double r = m->ACFreAmp.back().Points.front().amp / den;
            for (unsigned k = 0; k < n; ++k)
                out[k] = toWord(std::trunc(double(out[k]) * r));
        }
    }
    return true;
}
