// Front-panel LEDs. They hang on the LED expander (TCA8418) as three 8-bit
// output ports, active low: a lit LED is a 0 bit. The word shown is the
// selected channel's waveform and mode keys plus the output-on LEDs of all
// four channels.
//
// The expander's serial bus needs 10 ms between two words. SetChLedData
// waits out those gaps itself; StepChLedData sends one word at a time and
// says when the next one is due, so that the caller (the controller) can
// refresh the LEDs after a change without holding its thread for the gaps.
#include "hardware/CSetParam.h"
#include <QThread>
#include <chrono>

void CSetParam::LedWords(CH_ID ch, unsigned short out[3])
{
    const u32 led = IsChannel(ch) ? state.pCharacter[ch].LED : 0;
    const u32 mask = CChCharacter::LED_OUTPUT_MASK;
    const u32 v = ~((led & ~mask) | (state.chAllLed & mask));
    out[0] = static_cast<unsigned short>(0x1700 | (v & 0xFF));
    out[1] = static_cast<unsigned short>(0x1800 | ((v >> 8) & 0xFF));
    out[2] = static_cast<unsigned short>(0x1900 | ((v >> 16) & 0xFF));
}

namespace {
using Clock = std::chrono::steady_clock;
const int kGapMs = 10; // the expander's serial bus needs the gap

// The shadow of the expander's words (CSetParam::State::led).
CSetParam::LedShadow& shadow() { return CSetParam::state.led; }

int msSinceLastWrite()
{
    if (!shadow().everWritten)
        return kGapMs;
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shadow().lastWrite).count());
}

void writeLedWord(int i, unsigned short w)
{
    CSetParam::SetFPGA_reg(REG_LED_PORT, w);
    shadow().shown[i] = w;
    shadow().lastWrite = Clock::now();
    shadow().everWritten = true;
}

bool sameWords(const unsigned short a[3], const unsigned short b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
} // namespace

void CSetParam::ForgetLedWords() { shadow().shownValid = false; }

void CSetParam::SetChLedData(CH_ID ch)
{
    if (!IsChannel(ch))
        return;
    unsigned short w[3];
    LedWords(ch, w);
    // Every channel apply ends here; most change no LED, and rewriting the
    // same words would only hold the caller for the bus gaps.
    if (shadow().next < 0 && shadow().shownValid && sameWords(w, shadow().shown))
        return;
    shadow().next = -1; // this full write supersedes a stepped one
    const int since = msSinceLastWrite();
    if (since < kGapMs)
        QThread::msleep(unsigned(kGapMs - since));
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            QThread::msleep(kGapMs);
        writeLedWord(i, w[i]);
    }
    shadow().shownValid = true;
}

int CSetParam::StepChLedData(CH_ID ch)
{
    if (!IsChannel(ch))
        return -1;
    unsigned short w[3];
    LedWords(ch, w);
    bool fresh = false;
    if (shadow().next < 0) {
        if (shadow().shownValid && sameWords(w, shadow().shown))
            return -1;
        shadow().next = 0;
        fresh = true;
    } else if (!sameWords(w, shadow().target)) {
        shadow().next = 0; // changed again meanwhile: the newest words, whole
    }
    for (int i = 0; i < 3; ++i)
        shadow().target[i] = w[i];
    const int since = msSinceLastWrite();
    if (since < kGapMs) {
        // A new refresh starts at once, a word of the LED state asked for
        // now; only a full write just before it (a channel key) makes it
        // wait out the rest of that gap.
        if (!fresh)
            return kGapMs - since;
        QThread::msleep(unsigned(kGapMs - since));
    }
    if (shadow().next == 0)
        shadow().shownValid = false;
    writeLedWord(shadow().next, shadow().target[shadow().next]);
    if (++shadow().next < 3)
        return kGapMs;
    shadow().next = -1;
    shadow().shownValid = true;
    return -1;
}

void CSetParam::SetAllLedOff(CH_ID ch)
{
    SetFPGA_reg(REG_LED_INIT, static_cast<unsigned char>(1));
    ForgetLedWords();
    SetChLedData(ch);
}
