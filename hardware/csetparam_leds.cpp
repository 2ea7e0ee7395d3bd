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
    const u32 led = IsChannel(ch) ? pCharacter[ch].LED : 0;
    const u32 mask = CChCharacter::LED_OUTPUT_MASK;
    const u32 v = ~((led & ~mask) | (chAllLed & mask));
    out[0] = static_cast<unsigned short>(0x1700 | (v & 0xFF));
    out[1] = static_cast<unsigned short>(0x1800 | ((v >> 8) & 0xFF));
    out[2] = static_cast<unsigned short>(0x1900 | ((v >> 16) & 0xFF));
}

namespace {
using Clock = std::chrono::steady_clock;
const int kGapMs = 10;  // the expander's serial bus needs the gap

// All of this belongs to the thread that applies channels (the
// controller's worker thread).
// What the expander's three ports show, as last written; valid is false
// until a full write after start or after an expander reset.
unsigned short g_ledShown[3] = {0, 0, 0};
bool g_ledShownValid = false;
// A stepped refresh under way: the words it sends and the next one's index.
unsigned short g_ledTarget[3] = {0, 0, 0};
int g_ledNext = -1;  // -1: none under way
Clock::time_point g_ledLastWrite;
bool g_ledEverWritten = false;

int msSinceLastWrite()
{
    if (!g_ledEverWritten)
        return kGapMs;
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - g_ledLastWrite).count());
}

void writeLedWord(int i, unsigned short w)
{
    CSetParam::SetFPGA_reg(REG_LED_PORT, w);
    g_ledShown[i] = w;
    g_ledLastWrite = Clock::now();
    g_ledEverWritten = true;
}

bool sameWords(const unsigned short a[3], const unsigned short b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
} // namespace

void CSetParam::ForgetLedWords()
{
    g_ledShownValid = false;
}

void CSetParam::SetChLedData(CH_ID ch)
{
    if (!IsChannel(ch))
        return;
    unsigned short w[3];
    LedWords(ch, w);
    // Every channel apply ends here; most change no LED, and rewriting the
    // same words would only hold the caller for the bus gaps.
    if (g_ledNext < 0 && g_ledShownValid && sameWords(w, g_ledShown))
        return;
    g_ledNext = -1;  // this full write supersedes a stepped one
    const int since = msSinceLastWrite();
    if (since < kGapMs)
        QThread::msleep(unsigned(kGapMs - since));
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            QThread::msleep(kGapMs);
        writeLedWord(i, w[i]);
    }
    g_ledShownValid = true;
}

int CSetParam::StepChLedData(CH_ID ch)
{
    if (!IsChannel(ch))
        return -1;
    unsigned short w[3];
    LedWords(ch, w);
    bool fresh = false;
    if (g_ledNext < 0) {
        if (g_ledShownValid && sameWords(w, g_ledShown))
            return -1;
        g_ledNext = 0;
        fresh = true;
    } else if (!sameWords(w, g_ledTarget)) {
        g_ledNext = 0;  // changed again meanwhile: the newest words, whole
    }
    for (int i = 0; i < 3; ++i)
        g_ledTarget[i] = w[i];
    const int since = msSinceLastWrite();
    if (since < kGapMs) {
        // A new refresh starts at once, a word of the LED state asked for
        // now; only a full write just before it (a channel key) makes it
        // wait out the rest of that gap.
        if (!fresh)
            return kGapMs - since;
        QThread::msleep(unsigned(kGapMs - since));
    }
    if (g_ledNext == 0)
        g_ledShownValid = false;
    writeLedWord(g_ledNext, g_ledTarget[g_ledNext]);
    if (++g_ledNext < 3)
        return kGapMs;
    g_ledNext = -1;
    g_ledShownValid = true;
    return -1;
}

void CSetParam::SetAllLedOff(CH_ID ch)
{
    SetFPGA_reg(REG_LED_INIT, static_cast<unsigned char>(1));
    ForgetLedWords();
    SetChLedData(ch);
}
