// The digital protocol output (SPI, I2C, UART on CH2..CH4). The FPGA takes
// the bytes to send through a data port with a companion byte each (the
// UART parity bit, 0 otherwise), a bit clock and, for automatic sending, an
// interval increment.
#include "hardware/CSetParam.h"
#include "hardware/fpga_scales.h"
#include "param/sys_param.h"
#include <cmath>

using namespace fpga_scale;

namespace {
int ones(unsigned char b)
{
    int n = 0;
    for (; b; b &= static_cast<unsigned char>(b - 1))
        ++n;
    return n;
}

void sendByte(unsigned char data, unsigned char flag)
{
    CSetParam::SetFPGA_reg(REG_DIG_DATA, data);
    CSetParam::SetFPGA_reg(REG_DIG_FLAG, flag);
}
} // namespace

void CSetParam::SetDigitalSW(unsigned char v) { SetFPGA_reg(REG_DIG_SW, v); }

void CSetParam::SetDigitalTrigType(bool b) { SetFPGA_reg(REG_DIG_TRIG_TYPE, static_cast<unsigned char>(b ? 1 : 0)); }

void CSetParam::SetDigitalMannulTrig()
{
    SetFPGA_reg(REG_DIG_MANUAL, static_cast<unsigned char>(1));
    SetFPGA_reg(REG_DIG_MANUAL, static_cast<unsigned char>(0));
}

void CSetParam::SetDigitalAutoInterval(double rate)
{
    if (!std::isnan(rate))
        SetFPGA_reg(REG_DIG_INTERVAL, static_cast<unsigned long long>(toWord(rate * W48F / FCLK, 6)), 6u);
}

void CSetParam::SetDigitalClk(double f)
{
    if (!std::isnan(f))
        SetFPGA_reg(REG_DIG_CLK, static_cast<unsigned int>(toWord(f * W32 / FCLK, 4)), 4u);
}

void CSetParam::SetDigitalUartDataBits(unsigned char v) { SetFPGA_reg(REG_DIG_UART_BITS, v); }

void CSetParam::SetDigitalUartParityType(unsigned char v) { SetFPGA_reg(REG_DIG_UART_PARITY, v); }

void CSetParam::SetDigitalUartStopBits(unsigned char v) { SetFPGA_reg(REG_DIG_UART_STOP, v); }

void CSetParam::SetDigitalData(const char* bytes, unsigned n)
{
    if (bytes == nullptr)
        n = 0;
    if (n > kDigitalMaxBytes)
        n = kDigitalMaxBytes;
    const HardWareInfo& hw = sys_param::HWinfo;
    const bool parity = hw.digitalType == DIGITAL_UART && hw.digitalUARTParity != 0;
    SetFPGA_reg(REG_DIG_LOAD, static_cast<unsigned char>(1));
    if (hw.digitalType == DIGITAL_I2C) {
        // The address byte(s) go first, the R/W bit (0, write) in bit 0.
        const unsigned a = hw.digitalI2CAddr;
        if (a < 128) {
            sendByte(static_cast<unsigned char>((a * 2) & 0xFF), 0);
        } else {
            // 10-bit address: 11110 A9 A8 0, then A7..A0.
            sendByte(static_cast<unsigned char>(0xF0 | ((a >> 7) & 6)), 0);
            sendByte(static_cast<unsigned char>(a & 0xFF), 0);
        }
    }
    for (unsigned i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        unsigned char flag = 0;
        if (parity)
            flag = hw.digitalUARTParity == 1 ? static_cast<unsigned char>(ones(b) & 1)
                : hw.digitalUARTParity == 2  ? static_cast<unsigned char>((ones(b) & 1) == 0 ? 1 : 0)
                                             : 0;
        sendByte(b, flag);
    }
    SetFPGA_reg(REG_DIG_LOAD, static_cast<unsigned char>(0));
}
