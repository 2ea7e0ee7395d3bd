// Resampling and shaping routines used by the table builders and the preview.
#include <cmath>
#include <cstdlib>
#include "WaveView/CWaveGreate.h"

static inline int wrap(long long i, int n)
{
    long long r = i % n;
    return int(r < 0 ? r + n : r);
}

void CWaveCreate::peaksample(const short* src, int n, int start, short* dst, int m)
{
    if (src == nullptr || dst == nullptr || n <= 0 || m <= 0)
        return;
    // Alternating maximum and minimum of the samples skipped between two
    // points keeps the envelope of waves much faster than the trace visible.
    // Every edit of a value redraws the preview: the skipped samples are
    // walked with an index that wraps by a compare, not by a division per
    // sample (the divisions were half the controller's time per setter).
    long long prev = start;
    int at = wrap(prev, n); // src index of sample prev
    dst[0] = src[at];
    for (int j = 1; j < m; ++j) {
        const long long t = start + (long long)j * n / m;
        const int to = wrap(t, n);
        short v = src[to];
        int k = at;
        if (j & 1) {
            for (long long c = prev + 1; c < t; ++c) {
                if (++k == n)
                    k = 0;
                if (src[k] > v)
                    v = src[k];
            }
        } else {
            for (long long c = prev + 1; c < t; ++c) {
                if (++k == n)
                    k = 0;
                if (src[k] < v)
                    v = src[k];
            }
        }
        dst[j] = v;
        prev = t;
        at = to;
    }
}

void CWaveCreate::sample(const short* src, int n, int start, short* dst, int m, int dststart)
{
    if (src == nullptr || dst == nullptr || n <= 0 || m <= 0)
        return;
    if (n % m == 0) {
        const int step = n / m;
        long long k = start;
        for (int j = 0; j < m; ++j, k += step)
            dst[wrap((long long)dststart + j, m)] = src[wrap(k, n)];
        return;
    }
    for (int j = 0; j < m; ++j)
        dst[wrap((long long)dststart + j, m)] = src[wrap((long long)j * n / m + start, n)];
}

void CWaveCreate::SampleWaveData(short* dst, int m, const short* src, int n, int offset)
{
    if (src == nullptr || dst == nullptr || n <= 0 || m <= 0)
        return;
    for (int i = 0; i < m; ++i)
        dst[i] = src[wrap((long long)n * i / m + offset, n)];
}

// floor(v) as an index bounded to lo .. hi; NaN and infinities give a bound.
static int boundedIndex(double v, int lo, int hi)
{
    if (!(v >= lo))
        return lo;
    if (v >= hi)
        return hi;
    return int(std::floor(v));
}

void CWaveCreate::CreatePulse(short* dst, int n, short low, short high, double period, double width, double rise,
                              double fall)
{
    if (dst == nullptr || n < 8)
        return;
    const double scale = period > 0 ? n / period : 0.0;
    const int r = boundedIndex(scale * rise, 2, n - 3);
    int a = boundedIndex(scale * (width - fall / 2 + rise / 2), 2, n - 3);
    int b = boundedIndex(scale * (width + fall / 2 + rise / 2), 2, n - 3);
    // Keep at least one sample at the high level even when the pulse is
    // narrower than its edges, and a falling edge of at least one sample.
    if (a <= r)
        a = r + 1;
    if (b <= a)
        b = a + 1;
    for (int i = 0; i < n; ++i) {
        int v;
        if (i < r)
            v = low + 2 * high * i / r;
        else if (i < a)
            v = high;
        else if (i >= b)
            v = low;
        else
            v = high - 2 * high * (i - a) / (b - a);
        dst[i] = short(v);
    }
}

void CWaveCreate::BaseNoiseSum(short* data, int n, int fullscale, double r)
{
    if (data == nullptr || n <= 0 || !(r >= 0))
        return;
    const double kd = LimitRang(std::floor(fullscale / (r + 1) / 1.23), 0, 32767);
    const short k = short(kd);
    if (k <= 1)
        return;
    // Seeded so that the same settings always show the same noisy trace.
    std::srand(0);
    const double keep = r / (r + 1);
    for (int i = 0; i < n; ++i)
        data[i] = short(short(std::rand()) % k + int(data[i] * keep));
}
