#pragma once
// The output lines of the digital protocol output, as a logic analyser on
// CH2..CH4 would record them. The FPGA shifts the loaded bytes out at the
// programmed bit clock:
//  - UART on CH4 (TX): idle high, start bit, data bits least significant
//    first, the companion byte's bit 0 as parity bit when parity is on, stop
//    bits high;
//  - SPI on CH2 (SCLK), CH3 (CS, active low) and CH4 (MOSI): clock idle low,
//    data most significant bit first, changed on the falling edge and read on
//    the rising one (mode 0); the bit clock runs at twice the SCLK rate;
//  - I2C on CH3 (SCL) and CH4 (SDA): start condition, every byte of the data
//    port (the address byte(s) come first in the stream) most significant bit
//    first followed by an acknowledge slot, stop condition; the bit clock runs
//    at twice the SCL rate. The simulated bus holds one target that
//    acknowledges every byte, so each acknowledge slot reads low.
// The result is a VCD text.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace DigitalLines {

enum Kind { Off = 0, Spi = 1, I2c = 2, Uart = 3 };

struct Setup {
    int kind = Off;       // REG_DIG_SW
    double bitClock = 0;  // Hz, from the REG_DIG_CLK increment
    int uartDataBits = 8; // 4..8
    bool uartParity = false;
    int uartStopBits = 1;  // 1..2
    int transmissions = 1; // how many times the data goes out
};

// The bit clock the FPGA runs for an increment word (FCLK * word / (2^32 - 1)).
double bitClockOf(uint32_t increment);

// The VCD trace of the transmissions of data (flags: the companion bytes,
// may be shorter than data). False with a reason when nothing can be drawn
// (output off, no clock).
bool trace(const Setup& setup, const QByteArray& data, const QByteArray& flags, QByteArray* vcd,
           QString* error = nullptr);

} // namespace DigitalLines
