#include "WaveView/prbs.h"

namespace {
struct PrbsPoly {
    int order;
    int terms[4]; // exponents below the leading one, 0-terminated
};

// Primitive polynomials; orders without a primitive trinomial use four terms.
const PrbsPoly kPolys[CPrbs::CODE_ELEMENTS] = {
    {3, {3, 2, 0, 0}},    {5, {5, 3, 0, 0}},    {7, {7, 6, 0, 0}},    {9, {9, 5, 0, 0}},    {11, {11, 9, 0, 0}},
    {13, {13, 4, 3, 1}},  {15, {15, 14, 0, 0}}, {17, {17, 14, 0, 0}}, {21, {21, 19, 0, 0}}, {23, {23, 18, 0, 0}},
    {25, {25, 22, 0, 0}}, {27, {27, 5, 2, 1}},  {29, {29, 27, 0, 0}}, {31, {31, 28, 0, 0}}, {33, {33, 20, 0, 0}},
};

int parity(uint64_t v)
{
    v ^= v >> 32;
    v ^= v >> 16;
    v ^= v >> 8;
    v ^= v >> 4;
    v ^= v >> 2;
    v ^= v >> 1;
    return int(v & 1);
}
} // namespace

int CPrbs::OrderOfCodeElement(int codeElement)
{
    if (codeElement < 0 || codeElement >= CODE_ELEMENTS)
        return -1;
    return kPolys[codeElement].order;
}

uint64_t CPrbs::Taps(int order)
{
    for (const PrbsPoly& p : kPolys) {
        if (p.order != order)
            continue;
        uint64_t taps = 0;
        for (int e : p.terms)
            if (e > 0)
                taps |= uint64_t(1) << (e - 1);
        return taps;
    }
    return 0;
}

CPrbs::CPrbs(int order) : m_order(order), m_taps(Taps(order)), m_mask(0), m_state(0)
{
    if (m_taps == 0) {
        // No such sequence: fall back to PN7 rather than a stuck register.
        m_order = 7;
        m_taps = Taps(7);
    }
    m_mask = (uint64_t(1) << m_order) - 1;
    m_state = m_mask;
}

int CPrbs::Next()
{
    // The register holds the last n bits, newest in bit 0; bit e-1 is the bit
    // from e steps back, so the feedback realises a_t = sum of a_(t-e).
    const int bit = parity(m_state & m_taps);
    m_state = ((m_state << 1) | uint64_t(bit)) & m_mask;
    return bit;
}
