// Set-up of the LED and key expanders (TCA8418) behind the FPGA's two
// expander ports. The expanders sit on a slow serial bus: every word needs
// 10 ms before the next one.
#include "hardware/CSetParam.h"
#include <QThread>

void CSetParam::InitLEDFonfig()
{
    // Registers 0x1D..0x1F: all pins general-purpose; 0x23..0x25: outputs;
    // 0x17..0x19: all high, i.e. every LED off (they are active low).
    static const unsigned short words[9] = {0x1D00, 0x1E00, 0x1F00, 0x23FF, 0x24FF, 0x25FF, 0x17FF, 0x18FF, 0x19FF};
    for (unsigned short w : words) {
        SetFPGA_reg(REG_LED_PORT, w);
        QThread::msleep(10);
    }
}

void CSetParam::InitKEYFonfig()
{
    // Rows 0..7 and columns 0..4 of the key matrix, column 5.. unused, then
    // the configuration register (key events with interrupt).
    static const unsigned short words[4] = {0x1DFF, 0x1E1F, 0x1F00, 0x0111};
    for (unsigned short w : words) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            SetFPGA_reg(REG_KEY_PORT, w);
            QThread::msleep(10);
            SetFPGA_reg(REG_KEY_PORT, static_cast<unsigned short>(w | 0x8000));
            QThread::msleep(10);
            if (GetTCA8418Reg() == (w & 0xFF))
                break;
        }
    }
}
