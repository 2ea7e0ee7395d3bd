// Measurements on a sampled trace.
#include "simboard/scope_measure.h"
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {
QVector<double> crossings(const QVector<double>& v, double dt, double level, double hyst, bool rising)
{
    QVector<double> out;
    const double arm = rising ? level - hyst : level + hyst;
    bool armed = false;
    for (int i = 1; i < v.size(); ++i) {
        if (rising ? v[i - 1] <= arm : v[i - 1] >= arm)
            armed = true;
        const bool crossed = rising ? (v[i - 1] < level && v[i] >= level) : (v[i - 1] > level && v[i] <= level);
        if (armed && crossed) {
            const double f = (level - v[i - 1]) / (v[i] - v[i - 1]);
            out << (i - 1 + f) * dt;
            armed = false;
        }
    }
    return out;
}

// 10 %..90 % time of the first edge whose both levels are crossed within
// one monotonic run; false when none is resolved.
bool edgeTime(const QVector<double>& v, double dt, double lo, double hi, bool rising, double* out)
{
    const QVector<double> a = crossings(v, dt, rising ? lo : hi, 0, rising);
    for (double ta : a) {
        const int i0 = int(ta / dt);
        for (int i = i0 + 1; i < v.size(); ++i) {
            const bool back = rising ? v[i] < v[i - 1] - 1e-12 : v[i] > v[i - 1] + 1e-12;
            if (back)
                break;
            if (rising ? v[i] >= hi : v[i] <= lo) {
                const double target = rising ? hi : lo;
                const double f = (target - v[i - 1]) / (v[i] - v[i - 1]);
                const double tb = (i - 1 + f) * dt;
                // At least two samples inside the edge, or it is not resolved.
                if (tb - ta < 2 * dt)
                    break;
                *out = tb - ta;
                return true;
            }
        }
    }
    return false;
}
} // namespace

QVector<double> scopeRisingCrossings(const QVector<double>& v, double dt, double level, double hysteresis)
{
    return crossings(v, dt, level, hysteresis, true);
}

QVector<double> scopeFallingCrossings(const QVector<double>& v, double dt, double level, double hysteresis)
{
    return crossings(v, dt, level, hysteresis, false);
}

namespace {
// Rising crossings of a series x sampled at times t (not evenly spaced).
QVector<double> seriesRising(const QVector<double>& t, const QVector<double>& x, double level, double hyst)
{
    QVector<double> out;
    bool armed = false;
    for (int i = 1; i < x.size(); ++i) {
        if (x[i - 1] <= level - hyst)
            armed = true;
        if (armed && x[i - 1] < level && x[i] >= level) {
            out << t[i - 1] + (level - x[i - 1]) / (x[i] - x[i - 1]) * (t[i] - t[i - 1]);
            armed = false;
        }
    }
    return out;
}

// The rising crossings of a slowly varying series' mid level: their mean
// spacing is its period.
QVector<double> seriesCrossings(const QVector<double>& t, const QVector<double>& x)
{
    if (x.size() < 3)
        return {};
    const auto mm = std::minmax_element(x.begin(), x.end());
    const double mid = (*mm.first + *mm.second) / 2, hyst = (*mm.second - *mm.first) * 0.2;
    return seriesRising(t, x, mid, hyst);
}
} // namespace

ScopeMeasurements scopeMeasure(const QVector<double>& v, double dt)
{
    ScopeMeasurements m;
    if (v.isEmpty())
        return m;
    const auto mm = std::minmax_element(v.begin(), v.end());
    m.vmin = *mm.first;
    m.vmax = *mm.second;
    m.vpp = m.vmax - m.vmin;
    int from = 0, to = v.size();
    if (m.vpp > 1e-9) {
        const double mid = (m.vmax + m.vmin) / 2;
        // A small trigger hysteresis: a deep AM envelope still crosses it.
        const double hyst = m.vpp * 0.02;
        const QVector<double> up = crossings(v, dt, mid, hyst, true);
        const QVector<double> down = crossings(v, dt, mid, hyst, false);
        if (!up.isEmpty())
            m.trigger = up.first();
        const int n = up.size() - 1; // intervals between rising crossings
        QVector<double> d(std::max(0, n));
        for (int i = 0; i < n; ++i)
            d[i] = up[i + 1] - up[i];
        // A gap is much longer than its neighbours and unlike either of them
        // (a sweep's return keeps the length of the cycles that follow).
        auto like = [](double a, double b) { return std::fabs(a - b) <= 0.25 * b; };
        QVector<bool> gap(std::max(0, n), false);
        for (int i = 0; i < n; ++i) {
            const double prev = i > 0 ? d[i - 1] : -1, next = i + 1 < n ? d[i + 1] : -1;
            if (prev < 0 && next < 0)
                break;
            const double nearest = prev < 0 ? next : next < 0 ? prev : std::min(prev, next);
            gap[i] = d[i] > 1.5 * nearest && !(prev > 0 && like(d[i], prev)) && !(next > 0 && like(d[i], next));
        }
        // The carrier's cycles.
        QVector<double> ct, cf, cd; // per cycle: middle time, frequency, duty
        double sum = 0, dmin = 1e300, dmax = 0, high = 0, highOver = 0;
        for (int i = 0; i < n; ++i) {
            if (gap[i])
                continue;
            sum += d[i];
            dmin = std::min(dmin, d[i]);
            dmax = std::max(dmax, d[i]);
            ct << up[i] + d[i] / 2;
            cf << 1 / d[i];
            const auto fall = std::upper_bound(down.begin(), down.end(), up[i]);
            if (fall != down.end() && *fall < up[i + 1]) {
                high += *fall - up[i];
                highOver += d[i];
                cd << (*fall - up[i]) / d[i];
            }
        }
        if (!cf.isEmpty()) {
            m.periodic = true;
            m.period = sum / cf.size();
            m.frequency = 1 / m.period;
            m.duty = highOver > 0 ? high / highOver * 100 : 0;
            m.fmin = 1 / dmax;
            m.fmax = 1 / dmin;
            // Sampling moves a crossing by up to a sample, which shows as
            // jitter between neighbouring cycles; a frequency change is a
            // spread well beyond that jitter.
            QVector<double> jitter;
            for (int i = 1; i < n; ++i)
                if (!gap[i] && !gap[i - 1])
                    jitter << std::fabs(d[i] - d[i - 1]);
            double typical = 0;
            if (!jitter.isEmpty()) {
                std::nth_element(jitter.begin(), jitter.begin() + jitter.size() / 2, jitter.end());
                typical = jitter[jitter.size() / 2];
            }
            m.swept = dmax - dmin > std::max(4 * typical, 1e-4 * m.period);
            from = int(std::ceil(up.first() / dt));
            to = int(std::ceil(up.last() / dt));
        }
        // Bursts: gaps in which the output holds one level.
        QVector<int> starts; // crossings that begin a burst after an idle gap
        for (int i = 0; i < n; ++i) {
            if (!gap[i])
                continue;
            // The carrier may run on for up to a cycle after the gap's first
            // crossing and start up to a cycle before its last.
            const double cycle = m.periodic ? 1.05 * m.period : d[i] / 4;
            const int a = int(std::ceil((up[i] + cycle) / dt)), b = int((up[i + 1] - cycle) / dt);
            if (b <= a)
                continue;
            const auto lh = std::minmax_element(v.begin() + a, v.begin() + b + 1);
            if (*lh.second - *lh.first <= 1e-3 * m.vpp)
                starts << i + 1;
        }
        if (!starts.isEmpty()) {
            m.burst = true;
            if (starts.size() >= 2)
                m.burstPeriod = (up[starts.last()] - up[starts.first()]) / (starts.size() - 1);
            // Cycles of the first whole burst: idle before and after it.
            if (starts.size() >= 2)
                m.burstCycles = starts[1] - starts[0];
        }
        // Envelope: the swing in windows of the longest cycle.
        QVector<double> at, aa;
        if (m.periodic) {
            const int w = int(std::ceil(dmax * 1.01 / dt));
            for (int a = 0; a + w <= v.size(); a += w) {
                const auto lh = std::minmax_element(v.begin() + a, v.begin() + a + w);
                at << (a + w / 2.0) * dt;
                aa << (*lh.second - *lh.first) / 2;
            }
        }
        double spreadA = 0, spreadF = 0, spreadD = 0;
        if (aa.size() >= 2) {
            const auto am = std::minmax_element(aa.begin(), aa.end());
            spreadA = (*am.second - *am.first) / (*am.second + *am.first);
            if (spreadA > 0.01 && !m.burst) {
                m.hasDepth = true;
                m.depth = spreadA * 100;
            }
            if (spreadA <= 0.01)
                spreadA = 0;
        }
        if (m.swept)
            spreadF = (m.fmax - m.fmin) / (m.fmax + m.fmin);
        if (cd.size() >= 2) {
            const auto dm = std::minmax_element(cd.begin(), cd.end());
            spreadD = *dm.second - *dm.first;
            if (spreadD <= 0.01 + 4 * dt / std::max(dmin, dt))
                spreadD = 0;
        }
        // The slowest variation: whichever of envelope, frequency and duty
        // varies most.
        QVector<double> mod;
        if (spreadA > 0 && spreadA >= spreadF && spreadA >= spreadD)
            mod = seriesCrossings(at, aa);
        else if (spreadF > 0 && spreadF >= spreadD)
            mod = seriesCrossings(ct, cf);
        else if (spreadD > 0)
            mod = seriesCrossings(ct, cd);
        if (mod.size() >= 2) {
            m.modulated = true;
            m.modFrequency = (mod.size() - 1) / (mod.last() - mod.first());
            // Without gaps the carrier is the cycles counted over whole
            // modulation periods (fractions of a cycle interpolated), so an
            // FM or PM carrier reads its centre whatever the span.
            if (std::find(gap.begin(), gap.end(), true) == gap.end() && mod.first() >= up.first() &&
                mod.last() <= up.last()) {
                auto cycles = [&](double t) {
                    const int i = std::max(0, int(std::upper_bound(up.begin(), up.end(), t) - up.begin()) - 1);
                    return i + (i < n ? (t - up[i]) / d[i] : 0);
                };
                m.frequency = (cycles(mod.last()) - cycles(mod.first())) / (mod.last() - mod.first());
                m.period = 1 / m.frequency;
            }
            // Likewise the duty of a PWM: over whole modulation periods.
            double h = 0, over = 0;
            for (int i = 0; i < n; ++i) {
                const double c = up[i] + d[i] / 2;
                const auto fall = std::upper_bound(down.begin(), down.end(), up[i]);
                if (!gap[i] && c >= mod.first() && c < mod.last() && fall != down.end() && *fall < up[i + 1]) {
                    h += *fall - up[i];
                    over += d[i];
                }
            }
            if (over > 0)
                m.duty = h / over * 100;
        }
        // Bursts: their spacing is the modulation period, measured on the
        // carrier's crossings rather than on the envelope's windows.
        if (m.burstPeriod > 0) {
            m.modulated = true;
            m.modFrequency = 1 / m.burstPeriod;
        }
        const double lo = m.vmin + 0.1 * m.vpp, hi = m.vmin + 0.9 * m.vpp;
        m.hasRise = edgeTime(v, dt, lo, hi, true, &m.rise);
        m.hasFall = edgeTime(v, dt, lo, hi, false, &m.fall);
    }
    double sum = 0, sq = 0;
    for (int i = from; i < to; ++i) {
        sum += v[i];
        sq += v[i] * v[i];
    }
    const int n = std::max(1, to - from);
    m.mean = sum / n;
    m.rms = std::sqrt(sq / n);
    return m;
}

QString scopeEng(double v, const QString& unit, int digits)
{
    static const char* prefix[] = {"p", "n", "u", "m", "", "k", "M", "G"};
    int e = 4;
    double a = std::fabs(v);
    if (a > 0) {
        while (a >= 1000 && e < 7) {
            a /= 1000;
            ++e;
        }
        while (a < 1 && e > 0) {
            a *= 1000;
            --e;
        }
    }
    int intDigits = a >= 100 ? 3 : a >= 10 ? 2 : 1;
    // 999.9999 us prints as 1.00000 ms, not 1000.000 us.
    if (std::round(a * std::pow(10.0, digits - intDigits)) >= 1000 * std::pow(10.0, digits - intDigits) && e < 7) {
        a /= 1000;
        ++e;
        intDigits = 1;
    }
    return QStringLiteral("%1%2 %3%4")
        .arg(v < 0 ? "-" : "")
        .arg(a, 0, 'f', std::max(0, digits - intDigits))
        .arg(prefix[e])
        .arg(unit);
}

QStringList ScopeMeasurements::lines() const
{
    QStringList l;
    if (periodic) {
        l << "Freq   " + scopeEng(frequency, "Hz");
        l << "Period " + scopeEng(period, "s");
    }
    if (swept) {
        l << "Fmin   " + scopeEng(fmin, "Hz");
        l << "Fmax   " + scopeEng(fmax, "Hz");
    }
    if (modulated)
        l << "ModF   " + scopeEng(modFrequency, "Hz");
    if (hasDepth)
        l << QStringLiteral("Depth  %1 %").arg(depth, 0, 'f', 3);
    if (burst && burstPeriod > 0)
        l << "BurstT " + scopeEng(burstPeriod, "s");
    if (burst && burstCycles > 0)
        l << QStringLiteral("Cycles %1").arg(burstCycles);
    l << "Vpp    " + scopeEng(vpp, "V");
    l << "Vmax   " + scopeEng(vmax, "V");
    l << "Vmin   " + scopeEng(vmin, "V");
    l << "Mean   " + scopeEng(mean, "V");
    l << "RMS    " + scopeEng(rms, "V");
    if (periodic)
        l << QStringLiteral("Duty   %1 %").arg(duty, 0, 'f', 3);
    if (hasRise)
        l << "Rise   " + scopeEng(rise, "s");
    if (hasFall)
        l << "Fall   " + scopeEng(fall, "s");
    return l;
}
