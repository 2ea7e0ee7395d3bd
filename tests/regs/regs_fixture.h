#pragma once
// Shared pieces of the register-programming tests: a simulated board with
// the register device open, the factory record, and readers of what the
// simulated FPGA received. Reference constants are written out here, apart
// from the code under test.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <cmath>
#include <cstdint>
#include <vector>
#include "CSetParam.h"
#include "platformroot.h"
#include "simfpga.h"
#include "simroot.h"
#include "sys_param.h"

namespace ref {
const double FCLK = 3.125e8;
const double W64 = 9223372036854775808.0;   // 2^63
const double W48 = 140737488355327.0;       // 2^47 - 1
const double W48F = 281474976710655.0;      // 2^48 - 1
const double W32 = 4294967295.0;            // 2^32 - 1
const double W36 = 34359738368.0;           // 2^35
const double SLOPE_K = 0.000209712;
const double SLOPE_MIN = 8388608.0;

inline uint64_t inc64(double f) { return uint64_t(std::ceil(f * W64 / FCLK)); }
inline uint64_t inc48(double f) { return uint64_t(std::ceil(f * W48 / FCLK)); }

struct Slope {
    uint32_t mantissa;
    int n;
};
// An edge e at carrier increment K: s = SLOPE_K / (K e), doubled n times
// until it reaches 2^23.
inline Slope slope(double K, double e)
{
    double s = SLOPE_K / (K * e);
    if (std::fabs(s) < 1e-16)
        s = SLOPE_MIN;
    int n = 0;
    while (s < SLOPE_MIN) {
        s *= 2;
        ++n;
    }
    return Slope{uint32_t(s), n};
}
} // namespace ref

class RegsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        ASSERT_TRUE(PlatformRoot::simulated());
        ASSERT_TRUE(CSetParam::OpenDevice());
        sys_param::setFactoryValues(sys_param::HWinfo);
        for (int ch = 0; ch < 4; ++ch) {
            sys_param::OnOff[ch] = false;
            sys_param::syncManual[ch] = false;
            CSetParam::pCharacter[ch].LED = 0;
            CSetParam::pCharacter[ch].ClearAcCalValue();
            CSetParam::pCharacter[ch].SetAllDCCalValue(1.0, 0.0);
        }
        sys_param::SetPhaseSyncType(CH_SYS, 0);
        CSetParam::chAllLed = 0;
        CSetParam::isAcCal = false;
        CSetParam::isDcCal = false;
        CSetParam::ForgetWrittenState();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        for (int ch = 0; ch < 4; ++ch)
            CSetParam::pCharacter[ch].ClearAcCalValue();
        CSetParam::CloseDevice();
        PlatformRoot::setRoot(QString());
    }

    static SimFpga& fpga() { return SimFpga::instance(); }
    static CH_DATA& rec(CH_ID ch) { return sys_param::HWinfo.PDT[ch]; }
    static unsigned reg(CH_ID ch, unsigned offset) { return unsigned(ch) * 0x100 + offset; }

    // The register value now held at address, n bytes, least significant first.
    static uint64_t value(unsigned address, int n)
    {
        const QByteArray b = fpga().peek(address, n);
        uint64_t v = 0;
        for (int k = n - 1; k >= 0; --k)
            v = (v << 8) | uint8_t(b.at(k));
        return v;
    }
    static uint64_t chValue(CH_ID ch, unsigned offset, int n) { return value(reg(ch, offset), n); }

    // Every write to one address as a number (little-endian), in order.
    static QList<uint64_t> writesAt(unsigned address)
    {
        QList<uint64_t> out;
        for (const auto& w : fpga().writes()) {
            if (w.address != address)
                continue;
            uint64_t v = 0;
            for (int k = w.bytes.size() - 1; k >= 0; --k)
                v = (v << 8) | uint8_t(w.bytes.at(k));
            out << v;
        }
        return out;
    }
    // The addresses written, in order.
    static QList<unsigned> addresses()
    {
        QList<unsigned> out;
        for (const auto& w : fpga().writes())
            out << w.address;
        return out;
    }
    static QVector<quint64> stream(const QString& name)
    {
        QVector<quint64> v;
        EXPECT_TRUE(fpga().stream(name, &v)) << name.toStdString();
        return v;
    }

    QTemporaryDir dir;
};

// Collects the Qt log while it lives.
class LogCapture {
public:
    LogCapture() { active() = this; prev_ = qInstallMessageHandler(&LogCapture::handler); }
    ~LogCapture() { qInstallMessageHandler(prev_); active() = nullptr; }
    QStringList lines;
    bool contains(const QString& s) const
    {
        for (const QString& l : lines)
            if (l.contains(s))
                return true;
        return false;
    }

private:
    static LogCapture*& active() { static LogCapture* a = nullptr; return a; }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& msg)
    {
        if (active())
            active()->lines << msg;
    }
    QtMessageHandler prev_;
};
