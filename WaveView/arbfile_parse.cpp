#include "WaveView/arbfile_parse.h"
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace arbparse {
namespace {

// One line of at most `maxLen` characters starting at buf[pos]; the line
// feed that ends it is consumed but not part of it. Returns false at the end.
bool nextLine(const char* buf, size_t len, size_t& pos, size_t maxLen, const char** line, size_t* lineLen)
{
    if (pos >= len)
        return false;
    const size_t start = pos;
    size_t n = 0;
    while (start + n < len && n < maxLen && buf[start + n] != '\n')
        ++n;
    pos = start + n;
    if (pos < len && buf[pos] == '\n')
        ++pos;
    *line = buf + start;
    *lineLen = n;
    return true;
}

// Position of key in line[0..n), or -1.
long find(const char* line, size_t n, const char* key)
{
    const size_t k = std::strlen(key);
    if (k > n)
        return -1;
    for (size_t i = 0; i + k <= n; ++i)
        if (std::memcmp(line + i, key, k) == 0)
            return long(i);
    return -1;
}

// The number the line holds once the key is taken out; 0 for no number.
double valueWithout(const char* line, size_t n, long at, size_t keyLen)
{
    char text[kHeadLineMax + 2];
    size_t m = 0;
    for (size_t i = 0; i < n && m < sizeof text - 1; ++i) {
        if (long(i) >= at && i < size_t(at) + keyLen)
            continue;
        // An embedded NUL would end the text early; treat it as a blank.
        text[m++] = line[i] == '\0' ? ' ' : line[i];
    }
    text[m] = '\0';
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || !std::isfinite(v))
        return 0;
    return v;
}

// A line copied into a NUL-terminated buffer (at most kDataLineMax characters).
void terminated(const char* line, size_t n, char* out)
{
    if (n > kDataLineMax)
        n = kDataLineMax;
    for (size_t i = 0; i < n; ++i)
        out[i] = line[i] == '\0' ? ' ' : line[i];
    out[n] = '\0';
}

// The number at the start of a line (white space first is allowed, a line
// break is not). False when there is none or it is not finite.
bool leadingNumber(const char* line, size_t n, double* v)
{
    char text[kDataLineMax + 1];
    terminated(line, n, text);
    const char* s = text;
    while (*s == ' ' || *s == '\t')
        ++s;
    char* end = nullptr;
    const double x = std::strtod(s, &end);
    if (end == s || !std::isfinite(x))
        return false;
    *v = x;
    return true;
}

} // namespace

HeadResult parseArbHead(const char* buf, size_t len, ArbParam& p, size_t* dataOffset, long long* count)
{
    size_t pos = 0;
    const char* line = nullptr;
    size_t n = 0;
    if (!nextLine(buf, len, pos, kHeadLineMax, &line, &n) || find(line, n, "[HEAD]:") < 0)
        return HeadNoHeadLine;
    std::memset(&p, 0, sizeof p);
    p.Max = 524288;
    p.Min = 524288;
    // Keys in the order they are tried; "MVPP:" before "VPP:" so that a
    // MVPP line counts as that only.
    enum Key { K_DATA, K_MVPP, K_VPP, K_OFFSET, K_HIGH, K_LOW, K_FREQ, K_PERIOD, K_RATE, K_MAX, K_MIN, K_ZIP, K_N };
    static const char* const keys[K_N] = {
        "[DATA]:",    "MVPP:",   "VPP:",         "OFFSET:", "HIGH LEVEL:", "LOW LEVEL:",
        "FREQUENCY:", "PERIOD:", "SAMPLE RATE:", "MAX:",    "MIN:",        "ZIP:"};
    for (int l = 0; l < kHeadKeyLines; ++l) {
        if (!nextLine(buf, len, pos, kHeadLineMax, &line, &n))
            break;
        for (int k = 0; k < K_N; ++k) {
            const long at = find(line, n, keys[k]);
            if (at < 0)
                continue;
            const double v = valueWithout(line, n, at, std::strlen(keys[k]));
            switch (k) {
            case K_DATA: {
                // A count that is no whole number in range is refused below.
                const long long c = (v >= 0 && v <= double(kMaxPoints) + 1) ? (long long)v : -1;
                if (count)
                    *count = c;
                if (c < kMinPoints || c > kMaxPoints)
                    return HeadBadCount;
                if (p.SampleRate > 0)
                    p.Fre = p.SampleRate / double(c);
                p.TotalPointNum = int(c);
                p.AvalidLimit = c > kScanLimitPoints;
                *dataOffset = pos;
                return HeadOk;
            }
            case K_MVPP: p.Vpp = v / 100; break;
            case K_VPP: p.Vpp = v; break;
            case K_HIGH: p.High = v; break;
            case K_FREQ: p.Fre = v; break;
            // A period of zero (or less) says nothing about the frequency.
            case K_PERIOD:
                if (v > 0)
                    p.Fre = 1 / v;
                break;
            case K_RATE: p.SampleRate = v; break;
            case K_MAX: p.Max = v; break;
            case K_MIN: p.Min = v; break;
            case K_ZIP: p.ZIP = v != 0; break;
            default: break; // OFFSET and LOW LEVEL: recognised, not used
            }
            break;
        }
    }
    return HeadNoDataLine;
}

ListHeadResult parseListHead(const char* buf, size_t len, FreqListParam& p, size_t* dataOffset, long long* count)
{
    size_t pos = 0;
    const char* line = nullptr;
    size_t n = 0;
    if (!nextLine(buf, len, pos, kDataLineMax, &line, &n) || find(line, n, "[HEAD]:") < 0)
        return ListHeadNoHeadLine;
    if (!nextLine(buf, len, pos, kDataLineMax, &line, &n))
        return ListHeadBadCount;
    const long at = find(line, n, "[FREQ-POINTS]:");
    if (at < 0)
        return ListHeadBadCount;
    const double v = valueWithout(line, n, at, std::strlen("[FREQ-POINTS]:"));
    const long long c = (v >= 0 && v <= double(kMaxListPoints) + 1) ? (long long)v : -1;
    if (count)
        *count = c;
    if (c < 1 || c > kMaxListPoints)
        return ListHeadBadCount;
    p.TotalPointNum = int(c);
    *dataOffset = pos;
    return ListHeadOk;
}

size_t parseCsvValues(const char* buf, size_t len, double* out, size_t max)
{
    size_t pos = 0, got = 0;
    const char* line = nullptr;
    size_t n = 0;
    while (got < max && pos < len) {
        // Whole lines: only the start of a long line is looked at.
        const size_t start = pos;
        const char* nl = static_cast<const char*>(std::memchr(buf + start, '\n', len - start));
        pos = nl ? size_t(nl - buf) + 1 : len;
        line = buf + start;
        n = (nl ? size_t(nl - buf) : len) - start;
        double v = 0;
        if (nl) {
            // A line feed ends the line and no number reads past it, so the
            // number is converted in place (no copy). All white space before
            // the number is skipped here, not by strtod: strtod would skip the
            // line feed too and run on through the following lines, and past
            // the end of a buffer that holds only white space after this line.
            const char* s = line;
            while (s < nl && std::isspace(static_cast<unsigned char>(*s)))
                ++s;
            if (s == nl)
                continue;
            char* end = nullptr;
            const double x = std::strtod(s, &end);
            if (end != s && end <= nl && std::isfinite(x))
                out[got++] = x;
        } else if (leadingNumber(line, n, &v)) {
            out[got++] = v;
        }
    }
    return got;
}

size_t parseListValues(const char* buf, size_t len, double* out, size_t max, size_t* badLine)
{
    size_t pos = 0, got = 0;
    if (badLine)
        *badLine = len;
    while (got < max && pos < len) {
        const size_t start = pos;
        const char* nl = static_cast<const char*>(std::memchr(buf + start, '\n', len - start));
        pos = nl ? size_t(nl - buf) + 1 : len;
        const size_t n = (nl ? size_t(nl - buf) : len) - start;
        char text[kDataLineMax + 1];
        terminated(buf + start, n, text);
        double v = 0;
        if (std::sscanf(text, "%lf", &v) != 1 || !std::isfinite(v)) {
            if (badLine)
                *badLine = start;
            break;
        }
        out[got++] = v;
    }
    return got;
}

} // namespace arbparse
