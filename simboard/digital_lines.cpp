#include "simboard/digital_lines.h"
#include "hardware/fpga_scales.h"
#include <QVector>
#include <algorithm>
#include <cmath>

namespace DigitalLines {
namespace {

// A level change on one line, at a time counted in quarter bit periods.
struct Change {
    qint64 quarter;
    int line;
    int level;
};

struct Lines {
    QVector<QByteArray> names;
    QVector<int> idle;
    QVector<Change> changes;
    void set(qint64 q, int line, int level) { changes.append({q, line, level}); }
};

// Idle time before, between and after transmissions: two bit periods.
const qint64 kGap = 8;

qint64 uart(Lines& l, qint64 q, const Setup& s, const QByteArray& data, const QByteArray& flags)
{
    const int bits = std::min(8, std::max(4, s.uartDataBits));
    const int stops = std::min(2, std::max(1, s.uartStopBits));
    for (int i = 0; i < data.size(); ++i) {
        const unsigned b = uint8_t(data[i]);
        l.set(q, 0, 0); // start bit
        q += 4;
        for (int k = 0; k < bits; ++k, q += 4)
            l.set(q, 0, int((b >> k) & 1));
        if (s.uartParity) {
            l.set(q, 0, i < flags.size() ? int(uint8_t(flags[i]) & 1) : 0);
            q += 4;
        }
        l.set(q, 0, 1);
        q += 4 * stops;
    }
    return q;
}

// Lines: 0 SCLK, 1 CS, 2 MOSI. One bit is four quarters: MOSI set as the
// clock falls, clock high for the second half.
qint64 spi(Lines& l, qint64 q, const QByteArray& data)
{
    l.set(q, 1, 0);
    q += 2;
    for (char c : data) {
        const unsigned b = uint8_t(c);
        for (int k = 7; k >= 0; --k) {
            l.set(q, 2, int((b >> k) & 1));
            l.set(q + 2, 0, 1);
            l.set(q + 4, 0, 0);
            q += 4;
        }
    }
    q += 2;
    l.set(q, 1, 1);
    l.set(q, 2, 0);
    return q;
}

// Lines: 0 SCL, 1 SDA. SDA changes a quarter into the low phase of SCL,
// SCL is high for the second half of each bit.
qint64 i2c(Lines& l, qint64 q, const QByteArray& data)
{
    l.set(q, 1, 0); // start: SDA falls while SCL is high
    q += 2;
    l.set(q, 0, 0);
    q += 2;
    auto bit = [&](int level) {
        l.set(q + 1, 1, level);
        l.set(q + 2, 0, 1);
        l.set(q + 4, 0, 0);
        q += 4;
    };
    for (char c : data) {
        const unsigned b = uint8_t(c);
        for (int k = 7; k >= 0; --k)
            bit(int((b >> k) & 1));
        bit(0); // the target acknowledges
    }
    l.set(q + 1, 1, 0); // stop: SDA rises while SCL is high
    l.set(q + 2, 0, 1);
    l.set(q + 3, 1, 1);
    return q + 4;
}

// Timescale of the trace: the coarsest power of ten that still gives a
// quarter bit at least five ticks.
void timescale(double quarterSeconds, double* tick, const char** text)
{
    static const struct {
        double seconds;
        const char* text;
    } scales[] = {{1e-3, "1 ms"},  {1e-4, "100 us"}, {1e-5, "10 us"},   {1e-6, "1 us"},   {1e-7, "100 ns"},
                  {1e-8, "10 ns"}, {1e-9, "1 ns"},   {1e-10, "100 ps"}, {1e-11, "10 ps"}, {1e-12, "1 ps"}};
    for (const auto& s : scales) {
        *tick = s.seconds;
        *text = s.text;
        if (quarterSeconds / s.seconds >= 5)
            return;
    }
}
} // namespace

double bitClockOf(uint32_t increment) { return double(increment) * fpga_scale::FCLK / fpga_scale::W32; }

bool trace(const Setup& s, const QByteArray& data, const QByteArray& flags, QByteArray* vcd, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (s.kind != Spi && s.kind != I2c && s.kind != Uart)
        return fail(QStringLiteral("the digital output is off"));
    if (!(s.bitClock > 0))
        return fail(QStringLiteral("the digital output has no bit clock"));

    Lines l;
    // UART sends one bit per clock; SPI and I2C one bit per two clocks.
    const double quarter = s.kind == Uart ? 1 / (4 * s.bitClock) : 1 / (2 * s.bitClock);
    if (s.kind == Uart) {
        l.names = {"TX"};
        l.idle = {1};
    } else if (s.kind == Spi) {
        l.names = {"SCLK", "CS", "MOSI"};
        l.idle = {0, 1, 0};
    } else {
        l.names = {"SCL", "SDA"};
        l.idle = {1, 1};
    }
    qint64 q = kGap;
    for (int n = 0; n < s.transmissions; ++n) {
        if (s.kind == Uart)
            q = uart(l, q, s, data, flags);
        else if (s.kind == Spi)
            q = spi(l, q, data);
        else
            q = i2c(l, q, data);
        q += kGap;
    }
    std::stable_sort(l.changes.begin(), l.changes.end(),
                     [](const Change& a, const Change& b) { return a.quarter < b.quarter; });

    double tick = 1e-9;
    const char* scaleText = "1 ns";
    timescale(quarter, &tick, &scaleText);
    const double ticksPerQuarter = quarter / tick;
    auto at = [&](qint64 quarters) { return qint64(std::llround(double(quarters) * ticksPerQuarter)); };

    QByteArray out;
    out += "$version ornav-sim digital-trace $end\n";
    out += QByteArray("$timescale ") + scaleText + " $end\n";
    out += "$scope module digital $end\n";
    for (int i = 0; i < l.names.size(); ++i)
        out += "$var wire 1 " + QByteArray(1, char('!' + i)) + ' ' + l.names[i] + " $end\n";
    out += "$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n";
    QVector<int> level = l.idle;
    for (int i = 0; i < l.names.size(); ++i)
        out += QByteArray::number(level[i]) + char('!' + i) + '\n';
    out += "$end\n";
    qint64 lastTime = -1;
    for (const Change& c : l.changes) {
        if (level[c.line] == c.level)
            continue;
        level[c.line] = c.level;
        const qint64 t = at(c.quarter);
        if (t != lastTime) {
            out += '#' + QByteArray::number(t) + '\n';
            lastTime = t;
        }
        out += QByteArray::number(c.level) + char('!' + c.line) + '\n';
    }
    out += '#' + QByteArray::number(at(q)) + '\n';
    *vcd = out;
    return true;
}

} // namespace DigitalLines
