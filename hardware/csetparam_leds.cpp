// Front-panel LEDs. They hang on the LED expander (TCA8418) as three 8-bit
// output ports, active low: a lit LED is a 0 bit. The word shown is the
// selected channel's waveform and mode keys plus the output-on LEDs of all
// four channels.
#include "hardware/CSetParam.h"
#include <QThread>

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
// What the expander's three ports show, as last written; valid is false
// until a full write after start or after an expander reset.
unsigned short g_ledShown[3] = {0, 0, 0};
bool g_ledShownValid = false;
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
    if (g_ledShownValid && w[0] == g_ledShown[0] && w[1] == g_ledShown[1] && w[2] == g_ledShown[2])
        return;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            QThread::msleep(10);  // the expander's serial bus needs the gap
        SetFPGA_reg(REG_LED_PORT, w[i]);
        g_ledShown[i] = w[i];
    }
    g_ledShownValid = true;
}

void CSetParam::SetAllLedOff(CH_ID ch)
{
    SetFPGA_reg(REG_LED_INIT, static_cast<unsigned char>(1));
    ForgetLedWords();
    SetChLedData(ch);
}
