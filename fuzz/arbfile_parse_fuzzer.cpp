// Fuzz target: arbitrary bytes as an arbitrary-wave file and as a
// frequency-list file, through the same parsers the file loaders use.
//
// Each input is parsed from a heap copy of exactly its size (AddressSanitizer
// catches any read past the file), and the results must keep their promises:
// a header is accepted only with a point count in range and a data offset
// inside the file; a list header only with 1..2048 points; value parsers
// never return more values than asked for, and never a value that is not finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "WaveView/arbfile_parse.h"

static void check(bool ok)
{
    if (!ok)
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> copy(data, data + size);
    const char* buf = copy.empty() ? nullptr : copy.data();
    static const char empty = 0;
    if (!buf)
        buf = &empty;

    ArbParam p;
    size_t offset = 0;
    long long count = 0;
    if (arbparse::parseArbHead(buf, size, p, &offset, &count) == arbparse::HeadOk) {
        check(p.TotalPointNum >= arbparse::kMinPoints && p.TotalPointNum <= arbparse::kMaxPoints);
        check(offset <= size);
        check(p.AvalidLimit == (p.TotalPointNum > arbparse::kScanLimitPoints));
        // The data after the header, as csv.
        const size_t max = 4096;
        std::vector<double> v(max);
        const size_t n = arbparse::parseCsvValues(buf + offset, size - offset, v.data(), max);
        check(n <= max);
        for (size_t i = 0; i < n; ++i)
            check(std::isfinite(v[i]));
    }

    FreqListParam l;
    if (arbparse::parseListHead(buf, size, l, &offset, &count) == arbparse::ListHeadOk) {
        check(l.TotalPointNum >= 1 && l.TotalPointNum <= arbparse::kMaxListPoints);
        check(offset <= size);
        std::vector<double> v(arbparse::kMaxListPoints);
        size_t bad = 0;
        const size_t n = arbparse::parseListValues(buf + offset, size - offset, v.data(), v.size(), &bad);
        check(n <= v.size());
        check(bad <= size - offset);
        for (size_t i = 0; i < n; ++i)
            check(std::isfinite(v[i]));
    }

    // The whole input as data lines too, with a small limit.
    double few[3];
    check(arbparse::parseCsvValues(buf, size, few, 3) <= 3);
    size_t bad = 0;
    check(arbparse::parseListValues(buf, size, few, 3, &bad) <= 3);
    return 0;
}
