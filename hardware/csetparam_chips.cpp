// The serial ports of the chips behind the FPGA: the main DACs (AD9122), the
// clock synthesiser (LMK04906) and the LTC2000.
#include "hardware/CSetParam.h"
#include <QDebug>
#include <QThread>

// AD9122 start-up: reset, interface and clock set-up, then three passes of
// the FIFO/sync sequence (0x1803, 0x1800) that the data path needs to lock.
const unsigned short CSetParam::kDacInitWords[24] = {
    0x0020, 0x0000, 0x1048, 0x1601, 0x1704, 0x0B00, 0x0A00, 0x0C01, 0x0D01, 0x0E01, 0x1BE0, 0x1C01,
    0x1D00, 0x1E01, 0x44FF, 0x4503, 0x40FF, 0x4103, 0x1803, 0x1800, 0x1803, 0x1800, 0x1803, 0x1800,
};

void CSetParam::SetAD9122Reg(unsigned short word) { SetFPGA_reg(REG_DAC_SPI, word); }

void CSetParam::SetChDAC()
{
    for (unsigned short w : kDacInitWords) {
        SetAD9122Reg(w);
        QThread::msleep(10);
        // The DAC needs longer after the FIFO reset and the clock-mode word.
        if (w == 0x1800 || w == 0x0A00)
            QThread::msleep(100);
    }
}

void CSetParam::SetLMK04906(unsigned word)
{
    qDebug("%x ", word);
    SetFPGA_reg(REG_CLK_SPI, word, 3);
    QThread::msleep(1);
}

void CSetParam::SetPLL()
{
    qDebug("SetPLL");
    QThread::msleep(5);
    SetLMK04906(60);
}

void CSetParam::SetLTC2000Reg(CH_ID ch, unsigned char value)
{
    SetFPGA_reg(REG_LTC_SEL, static_cast<unsigned char>(ch == CH1 ? 0 : 1));
    SetFPGA_reg(REG_LTC_DATA, value);
}
