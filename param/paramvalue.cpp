#include "param/paramvalue.h"
#include <cmath>
#include <cstdio>
#include "param/sys_param.h"
#include "param/uinttable.h"

double pow10i(int n)
{
    static const double kPos[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10,
                                  1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21};
    static const double kNeg[] = {1e0,   1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,  1e-9,  1e-10,
                                  1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21};
    if (n >= 0)
        return n <= 21 ? kPos[n] : std::pow(10.0, n);
    return -n <= 21 ? kNeg[-n] : std::pow(10.0, n);
}

int GetMaxBit(double x)
{
    if (!(std::fabs(x) >= 1e-20) || x > 1e20)
        return 0;
    double a = std::fabs(x);
    int bit = 0;
    // Compare against powers of ten rather than dividing, so that values
    // such as 1000 are not misjudged by a rounding of the quotient.
    while (bit < 40 && a >= pow10i(bit + 1) * (1 - 1e-12))
        ++bit;
    while (bit > -40 && a < pow10i(bit) * (1 - 1e-12))
        --bit;
    return bit;
}

double roundingBit(double x, int n)
{
    if (n > 18)
        n = 18;
    if (n < -18)
        n = -18;
    const double p = pow10i(n);
    const double q = std::round(x / p);
    return n < 0 ? q / pow10i(-n) : q * p;
}

static QString groupDigits(const QString& digits, int separator)
{
    if (separator != 0 && separator != 1)
        return digits;
    const QChar sep = separator == 0 ? QChar(',') : QChar(' ');
    const int point = digits.indexOf('.');
    const QString ip = point < 0 ? digits : digits.left(point);
    const QString fp = point < 0 ? QString() : digits.mid(point + 1);
    QString out;
    for (int i = 0; i < ip.size(); ++i) {
        if (i > 0 && (ip.size() - i) % 3 == 0)
            out += sep;
        out += ip[i];
    }
    if (point >= 0) {
        out += '.';
        for (int i = 0; i < fp.size(); ++i) {
            if (i > 0 && i % 3 == 0)
                out += sep;
            out += fp[i];
        }
    }
    return out;
}

int paramValueToString(double v, UintType unitType, int minBit, QString& text, bool focus, int sel, int& sPos,
                       int& sLen, int separator)
{
    text.clear();
    if (!std::isfinite(v))
        v = 0; // a value that is no number shows as zero, never as "nan"
    if (v > 1e20)
        v = 1e20;
    if (v < -1e20)
        v = -1e20;
    const double rounded = roundingBit(v, minBit);
    int top = std::fabs(rounded) < 1e-9 ? minBit : GetMaxBit(rounded);
    if (!focus)
        sel = top;
    const int low = sel > minBit ? sel : minBit;
    if (top < low)
        top = low;

    const UnitStruct* table = GetUintStruct(unitType);
    if (!table)
        return -1;
    const int unit = GetUint(pow10i(top), table, unitType);
    if (unit < 0)
        return -1;
    const double scale = table[unit].scale;
    const double scaled = rounded / scale;
    const int ub = GetMaxBit(scale);
    if (top < ub)
        top = ub;

    int decimals = ub - minBit;
    if (decimals < 0)
        decimals = 0;
    const int width = (top - minBit) + 1 + (decimals > 0 ? 1 : 0);
    char fmt[32];
    std::snprintf(fmt, sizeof fmt, "%%0%d.%df", width, decimals);
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, std::fabs(scaled));
    QString digits = QString::fromLatin1(buf);
    const int point = digits.indexOf('.');

    // Marker for the selected digit, so that its place survives windowing
    // and grouping.
    const QChar marker(0x2022);
    QChar marked;
    int markAt = -1;
    if (focus && sel >= minBit) {
        markAt = top - low;
        if (point >= 0 && markAt >= point)
            ++markAt;
        if (markAt >= 0 && markAt < digits.size()) {
            marked = digits[markAt];
            digits[markAt] = marker;
        } else {
            markAt = -1;
        }
    }

    // At most ten digits; leading ones go first so the selected digit stays.
    const int count = top - minBit + 1;
    if (!(sel < minBit || count <= 10)) {
        int start = (top - low + 1 > 10) ? (top - low) - 10 + 1 : 0;
        int len = 10;
        if (point >= 0 && start >= point)
            ++start;
        if (point >= 0 && start <= point && start + len > point)
            ++len;
        digits = digits.mid(start, len);
    }

    const QString grouped = groupDigits(digits, separator);
    const QString number = (scaled < 0 ? QStringLiteral("-") : QString()) + grouped;
    const QString unitText = QString::fromUtf8(table[unit].uint);
    text = number + ' ' + unitText;
    if (focus) {
        if (sel < minBit) {
            sPos = number.size() + 1;
            sLen = unitText.size();
        } else {
            const int at = text.indexOf(marker);
            if (at >= 0) {
                text[at] = marked;
                sPos = grouped.startsWith('.') ? at - 1 : at;
                sLen = 1;
            }
        }
    }
    return unit;
}

int paramValueToString(double v, UintType unitType, int minBit, QString& text, bool focus, int sel, int& sPos,
                       int& sLen)
{
    return paramValueToString(v, unitType, minBit, text, focus, sel, sPos, sLen, int(sys_param::GetSeparator(CH_SYS)));
}

bool AddSelectBit(const DataInfo& info, int& sel, bool toRight)
{
    if (!toRight) {
        if (sel < info.MinBit) {
            sel = info.MinBit;
            return true;
        }
        const double span = std::fmax(std::fabs(info.Max), std::fabs(info.Min));
        if (pow10i(sel + 1) <= span) {
            ++sel;
            return true;
        }
        return false;
    }
    if (sel > info.MinBit) {
        --sel;
        return true;
    }
    if (info.UType != UintNum && info.UType != UintUndefined && info.UType != UintDefault)
        sel = info.MinBit - 1;
    return false;
}

// Digit of |value| at exponent n.
static int digitAt(double value, int n)
{
    const double q = std::floor(std::fabs(value) / pow10i(n) + 1e-9);
    return int(std::fmod(q, 10.0));
}

bool AddF64Data(double& value, double Max, double Min, int step, int& sel, int MinBit)
{
    if (!std::isfinite(value) || step == 0)
        return false;
    if (sel < MinBit) {
        const double nv = step > 0 ? value * 10 : value * 0.1;
        if (nv > Max || nv < Min || nv == value)
            return false;
        value = nv;
        return true;
    }
    const double unit = pow10i(sel);
    double nv;
    const bool leadingOneDown = step < 0 && value > 0 && value < pow10i(sel + 1) && digitAt(value, sel) == 1;
    const bool leadingOneUp = step > 0 && value < 0 && value > -pow10i(sel + 1) && digitAt(value, sel) == 1;
    if ((leadingOneDown || leadingOneUp) && sel > MinBit) {
        --sel;
        const double sign = leadingOneDown ? -1 : 1;
        nv = digitAt(value, sel) == 0 ? value + sign * pow10i(sel) : value + sign * pow10i(sel + 1);
    } else {
        nv = value + double(step) * unit;
    }
    nv = roundingBit(nv, MinBit);
    if (nv > Max)
        nv = Max;
    if (nv < Min)
        nv = Min;
    if (nv == value)
        return false;
    value = nv;
    return true;
}

bool paramValueAdd(const DataInfo& info, CH_ID ch, int step, int& sel)
{
    if (!info.GetValue || !info.SetValue)
        return false;
    double v = info.GetValue(ch);
    if (!AddF64Data(v, info.Max, info.Min, step, sel, info.MinBit))
        return false;
    info.SetValue(ch, v);
    return true;
}
