#pragma once
// Small numeric helpers used by the waveform tables and the arbitrary waves.
#include <QString>
#include <cmath>
#include <cstdint>
#include <type_traits>

class GlobalMethod {
public:
    template <typename T>
    static T Max(const T* data, int n)
    {
        T m = n > 0 ? data[0] : T(0);
        for (int i = 1; i < n; ++i)
            if (data[i] > m)
                m = data[i];
        return m;
    }
    template <typename T>
    static T Min(const T* data, int n)
    {
        T m = n > 0 ? data[0] : T(0);
        for (int i = 1; i < n; ++i)
            if (data[i] < m)
                m = data[i];
        return m;
    }

    // Maps src linearly from [srcMin, srcMax] to [newMin, newMax] into dst.
    // Ranges symmetric about zero (both midpoints within [-1, 1]) scale by
    // newMax / srcMax only, in integer arithmetic for short samples.
    template <typename T>
    static void SNormalize(T* dst, const T* src, int n, T newMin, T newMax, T srcMin, T srcMax)
    {
        static_assert(std::is_same<T, short>::value || std::is_same<T, float>::value, "short or float samples");
        const double newMid = (double(newMin) + double(newMax)) / 2.0;
        const double srcMid = (double(srcMin) + double(srcMax)) / 2.0;
        if (srcMax == srcMin) {
            for (int i = 0; i < n; ++i)
                dst[i] = T(newMid);
            return;
        }
        if (newMid >= -1 && newMid <= 1 && srcMid >= -1 && srcMid <= 1) {
            for (int i = 0; i < n; ++i) {
                if (std::is_same<T, short>::value)
                    dst[i] = T(int(src[i]) * int(newMax) / int(srcMax));
                else
                    dst[i] = T(src[i] * newMax / srcMax);
            }
            return;
        }
        const float fSrcMid = float(srcMid);
        const float fNewMid = float(newMid);
        const float scale = (float(newMax) - float(newMin)) / (float(srcMax) - float(srcMin));
        for (int i = 0; i < n; ++i)
            dst[i] = T((float(src[i]) - fSrcMid) * scale + fNewMid);
    }

    template <typename T>
    static void NormalizeMultiple(T* data, int n, T newMin, T newMax, T srcMin, T srcMax)
    {
        SNormalize(data, data, n, newMin, newMax, srcMin, srcMax);
    }

    // Maps the array's own minimum and maximum to [newMin, newMax] in place.
    static void Normalize(double* data, int n, double newMin, double newMax);

    // Nearest-sample resampling of src (a ring of `mask` samples, a power of
    // two) into dst[from..to); stops once the source index reaches a + b.
    template <typename T>
    static void SampleMultiple(T* dst, int from, int to, const T* src, int a, int b, int srcLen, int mask)
    {
        if (to <= 1)
            return;
        for (int i = from; i < to; ++i) {
            const int64_t j = int64_t(i) * (srcLen - 1) / (to - 1);
            if (j >= int64_t(a) + b)
                break;
            dst[i] = src[j & (mask - 1)];
        }
    }

    // Linear-interpolation resampling, truncated to short.
    static void SampleLine(short* dst, int dstLen, const short* src, int srcLen);

    // Greatest common divisor; 1 when either argument is below 1.
    static long long gcd(long long a, long long b);

    // Copies the low byte of every character and appends a NUL.
    static void QstrCpyToStr(char* dst, const QString& s);
    // Copies at most max UTF-8 bytes; NUL-terminates only when fewer than max
    // were copied. Returns the number of bytes copied.
    static int QstrCpyToStr(char* dst, int max, const QString& s);
};
