#pragma once
// Pseudo-random binary sequences PN3 .. PN33 of the PRBS waveform and of the
// keyed modulations. Each order n runs a linear feedback shift register on a
// primitive polynomial of degree n, so the sequence repeats after exactly
// 2^n - 1 bits. The register starts with all ones.
#include <cstdint>

class CPrbs {
public:
    enum { CODE_ELEMENTS = 15 };

    // Register length of a code element 0..14 (PN3, PN5, .. PN33); -1 outside.
    static int OrderOfCodeElement(int codeElement);
    // Feedback polynomial of an order without its constant term: bit e-1 set
    // for every term x^e. 0 for an order that has no sequence here.
    static uint64_t Taps(int order);

    explicit CPrbs(int order);
    int Order() const { return m_order; }
    uint64_t State() const { return m_state; }
    // Next bit of the sequence, 0 or 1.
    int Next();

private:
    int m_order;
    uint64_t m_taps;
    uint64_t m_mask;
    uint64_t m_state;
};
