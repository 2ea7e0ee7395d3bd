#include "Method/GlobalMethod.h"
#include <cstring>

void GlobalMethod::Normalize(double* data, int n, double newMin, double newMax)
{
    if (n <= 0)
        return;
    const double lo = Min(data, n);
    const double hi = Max(data, n);
    if (hi == lo) {
        for (int i = 0; i < n; ++i)
            data[i] = (newMin + newMax) / 2.0;
        return;
    }
    const double scale = (newMax - newMin) / (hi - lo);
    for (int i = 0; i < n; ++i)
        data[i] = (data[i] - lo) * scale + newMin;
}

void GlobalMethod::SampleLine(short* dst, int dstLen, const short* src, int srcLen)
{
    if (dstLen <= 0 || srcLen <= 0)
        return;
    if (dstLen == 1) {
        dst[0] = src[0];
        return;
    }
    const double step = double(srcLen - 1) / double(dstLen - 1);
    for (int i = 0; i < dstLen; ++i) {
        const double x = i * step;
        int lo = int(std::floor(x));
        int hi = int(std::ceil(x));
        if (hi > srcLen - 1)
            hi = srcLen - 1;
        if (lo > srcLen - 1)
            lo = srcLen - 1;
        dst[i] = short(src[lo] + (src[hi] - src[lo]) * (x - lo));
    }
}

long long GlobalMethod::gcd(long long a, long long b)
{
    if (a < 1 || b < 1)
        return 1;
    while (b != 0) {
        const long long t = a % b;
        a = b;
        b = t;
    }
    return a;
}

void GlobalMethod::QstrCpyToStr(char* dst, const QString& s)
{
    int i = 0;
    for (; i < s.size(); ++i)
        dst[i] = char(s.at(i).unicode() & 0xFF);
    dst[i] = '\0';
}

int GlobalMethod::QstrCpyToStr(char* dst, int max, const QString& s)
{
    const QByteArray u = s.toUtf8();
    const int n = u.size() < max ? u.size() : (max < 0 ? 0 : max);
    std::memcpy(dst, u.constData(), size_t(n));
    if (n < max)
        dst[n] = '\0';
    return n;
}
