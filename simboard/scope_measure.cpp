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
        const double hyst = m.vpp * 0.1;
        const QVector<double> up = crossings(v, dt, mid, hyst, true);
        if (up.size() >= 2) {
            m.periodic = true;
            m.period = (up.last() - up.first()) / (up.size() - 1);
            m.frequency = 1 / m.period;
            from = int(std::ceil(up.first() / dt));
            to = int(std::ceil(up.last() / dt));
            const QVector<double> down = crossings(v, dt, mid, hyst, false);
            double high = 0;
            for (double td : down)
                if (td > up.first() && td < up.last()) {
                    const auto next = std::upper_bound(up.begin(), up.end(), td);
                    high += td - *(next - 1);
                }
            m.duty = high / (up.last() - up.first()) * 100;
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
