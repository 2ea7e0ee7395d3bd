// PN sequences: every code element repeats after exactly 2^n - 1 bits.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "WaveView/prbs.h"

TEST(Prbs, CodeElementsNameTheRegisterLengths)
{
    const int orders[15] = {3, 5, 7, 9, 11, 13, 15, 17, 21, 23, 25, 27, 29, 31, 33};
    for (int e = 0; e < 15; ++e)
        EXPECT_EQ(CPrbs::OrderOfCodeElement(e), orders[e]);
    EXPECT_EQ(CPrbs::OrderOfCodeElement(15), -1);
    EXPECT_EQ(CPrbs::OrderOfCodeElement(-1), -1);
    EXPECT_EQ(CPrbs::Taps(4), 0u);
}

TEST(Prbs, ShortSequencesRepeatAfterExactlyTwoToTheNMinusOneBits)
{
    for (int e = 0; e < 10; ++e) { // PN3 .. PN23
        const int n = CPrbs::OrderOfCodeElement(e);
        CPrbs p(n);
        const uint64_t start = p.State();
        const uint64_t full = (uint64_t(1) << n) - 1;
        uint64_t steps = 0, ones = 0;
        do {
            ones += uint64_t(p.Next());
            ++steps;
        } while (p.State() != start && steps <= full);
        EXPECT_EQ(steps, full) << "PN" << n;
        // A maximal sequence holds one more one than zeros.
        EXPECT_EQ(ones, uint64_t(1) << (n - 1)) << "PN" << n;
    }
}

// GF(2) polynomial arithmetic, independent of the register: the polynomial is
// primitive when x has multiplicative order exactly 2^n - 1 modulo it.
namespace {
uint64_t mulmod(uint64_t a, uint64_t b, uint64_t poly, int n)
{
    uint64_t r = 0;
    while (b) {
        if (b & 1)
            r ^= a;
        b >>= 1;
        a <<= 1;
        if (a >> n & 1)
            a ^= poly;
    }
    return r;
}
uint64_t xpow(uint64_t e, uint64_t poly, int n)
{
    uint64_t r = 1, b = 2;
    while (e) {
        if (e & 1)
            r = mulmod(r, b, poly, n);
        b = mulmod(b, b, poly, n);
        e >>= 1;
    }
    return r;
}
std::vector<uint64_t> primeFactors(uint64_t m)
{
    std::vector<uint64_t> f;
    for (uint64_t d = 2; d * d <= m; ++d) {
        if (m % d == 0) {
            f.push_back(d);
            while (m % d == 0)
                m /= d;
        }
    }
    if (m > 1)
        f.push_back(m);
    return f;
}
} // namespace

TEST(Prbs, LongSequencesUsePrimitivePolynomials)
{
    for (int e = 0; e < 15; ++e) {
        const int n = CPrbs::OrderOfCodeElement(e);
        // taps bit e-1 <-> term x^e; add the constant term.
        const uint64_t poly = (CPrbs::Taps(n) << 1) | 1;
        ASSERT_TRUE(poly >> n & 1) << "PN" << n << " has degree n";
        const uint64_t period = (uint64_t(1) << n) - 1;
        EXPECT_EQ(xpow(period, poly, n), 1u) << "PN" << n;
        for (uint64_t q : primeFactors(period))
            EXPECT_NE(xpow(period / q, poly, n), 1u) << "PN" << n << " factor " << q;
    }
}
