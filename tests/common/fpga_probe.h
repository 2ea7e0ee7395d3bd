#pragma once
// Readers of what the simulated FPGA received, the reference constants of
// the register formulas (written out here, apart from the code under test),
// and a capture of the Qt log. Shared by the test programs.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QVector>
#include <QtGlobal>
#include <cmath>
#include <cstdint>
#include "simboard/simfpga.h"

namespace ref {
const double FCLK = 3.125e8;
const double W64 = 9223372036854775808.0; // 2^63
const double W48 = 140737488355327.0;     // 2^47 - 1
const double W48F = 281474976710655.0;    // 2^48 - 1
const double W32 = 4294967295.0;          // 2^32 - 1
const double W36 = 34359738368.0;         // 2^35
const double SLOPE_K = 0.000209712;
const double SLOPE_MIN = 8388608.0;

inline uint64_t inc64(double f) { return uint64_t(std::ceil(f * W64 / FCLK)); }
inline uint64_t inc48(double f) { return uint64_t(std::ceil(f * W48 / FCLK)); }
inline uint64_t phaseWord(double deg) { return uint64_t(deg * W32 / 360); }
inline uint64_t depthWord(double percent) { return uint64_t(percent * W48 / 100); }
} // namespace ref

struct FpgaProbe {
    static SimFpga& fpga() { return SimFpga::instance(); }
    static unsigned reg(int ch, unsigned offset) { return unsigned(ch) * 0x100 + offset; }

    // Little-endian bytes as a number.
    static uint64_t number(const QByteArray& b)
    {
        uint64_t v = 0;
        for (int k = b.size() - 1; k >= 0; --k)
            v = (v << 8) | uint8_t(b.at(k));
        return v;
    }
    // The register value now held at address, n bytes, least significant first.
    static uint64_t value(unsigned address, int n) { return number(fpga().peek(address, n)); }
    static uint64_t chValue(int ch, unsigned offset, int n) { return value(reg(ch, offset), n); }

    // Every write to one address as a number, in order.
    static QList<uint64_t> writesAt(unsigned address)
    {
        QList<uint64_t> out;
        for (const auto& w : fpga().writes())
            if (w.address == address)
                out << number(w.bytes);
        return out;
    }
    static QList<uint64_t> chWrites(int ch, unsigned offset) { return writesAt(reg(ch, offset)); }
    static int writesTo(unsigned address) { return writesAt(address).size(); }
    // The addresses written, in order.
    static QList<unsigned> addresses()
    {
        QList<unsigned> out;
        for (const auto& w : fpga().writes())
            out << w.address;
        return out;
    }
    // Position of the first / last write to an address (-1 when none).
    static int firstWrite(unsigned address) { return addresses().indexOf(address); }
    static int lastWrite(unsigned address) { return addresses().lastIndexOf(address); }
    // Position of the first (or last) write of one value to an address.
    static int writeOf(unsigned address, uint64_t v, bool last = false)
    {
        const auto w = fpga().writes();
        int found = -1;
        for (int i = 0; i < w.size(); ++i) {
            if (w[i].address != address || number(w[i].bytes) != v)
                continue;
            found = i;
            if (!last)
                return i;
        }
        return found;
    }
    // The words last streamed to a port target (empty when none).
    static QVector<quint64> stream(const QString& name)
    {
        QVector<quint64> out;
        fpga().stream(name, &out);
        return out;
    }
};

// Collects the Qt log while it lives.
class LogCapture {
public:
    LogCapture()
    {
        active() = this;
        prev_ = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(prev_);
        active() = nullptr;
    }
    QStringList lines;
    bool contains(const QString& s) const
    {
        for (const QString& l : lines)
            if (l.contains(s))
                return true;
        return false;
    }

private:
    static LogCapture*& active()
    {
        static LogCapture* a = nullptr;
        return a;
    }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& msg)
    {
        if (active())
            active()->lines << msg;
    }
    QtMessageHandler prev_;
};
