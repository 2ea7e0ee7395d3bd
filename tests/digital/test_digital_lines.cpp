// The simulated digital output lines, read back by sigrok-cli's protocol
// decoders: what a logic analyser on CH2..CH4 would decode.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "simboard/digital_lines.h"
#include "tests/common/sigrok_decode.h"

namespace {

class LineTrace : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!sigrokAvailable())
            GTEST_SKIP() << "sigrok-cli is not installed (scripts/deps.sh installs it)";
        ASSERT_TRUE(dir.isValid());
    }
    QString write(const DigitalLines::Setup& s, const QByteArray& data, const QByteArray& flags = QByteArray())
    {
        QByteArray vcd;
        QString why;
        EXPECT_TRUE(DigitalLines::trace(s, data, flags, &vcd, &why)) << why.toStdString();
        const QString path = dir.filePath(QString("t%1.vcd").arg(++n));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(vcd);
        return path;
    }
    static QByteArray parity(const QByteArray& data, bool odd)
    {
        QByteArray p;
        for (char c : data) {
            int ones = 0;
            for (int k = 0; k < 8; ++k)
                ones += (uint8_t(c) >> k) & 1;
            p.append(char(odd ? (ones & 1) == 0 : (ones & 1)));
        }
        return p;
    }
    QTemporaryDir dir;
    int n = 0;
};

TEST_F(LineTrace, UartWithFiveDataBitsSendsTheLowBitsOnly)
{
    DigitalLines::Setup s;
    s.kind = DigitalLines::Uart;
    s.bitClock = 115200;
    s.uartDataBits = 5;
    s.uartStopBits = 1;
    const QString f = write(s, QByteArray("\x1f\x01\x35", 3));
    const QStringList got = sigrokDecode(f, "uart:rx=TX:baudrate=115200:data_bits=5", "uart=rx-data");
    EXPECT_EQ(hexBytes(got), QByteArray("\x1f\x01\x15", 3)) << got.join('|').toStdString();
}

TEST_F(LineTrace, EachManualSendIsOneTransmission)
{
    DigitalLines::Setup s;
    s.kind = DigitalLines::Uart;
    s.bitClock = 115200;
    s.transmissions = 3;
    const QStringList got = sigrokDecode(write(s, "ab"), "uart:rx=TX:baudrate=115200", "uart=rx-data");
    EXPECT_EQ(hexBytes(got), QByteArray("ababab"));
    s.transmissions = 0;
    EXPECT_TRUE(sigrokDecode(write(s, "ab"), "uart:rx=TX:baudrate=115200", "uart=rx-data").isEmpty());
}

TEST(LineTraceSetup, NothingIsDrawnForAnOutputThatIsOffOrHasNoClock)
{
    DigitalLines::Setup s;
    QByteArray vcd;
    QString why;
    EXPECT_FALSE(DigitalLines::trace(s, "x", QByteArray(), &vcd, &why));
    EXPECT_TRUE(why.contains("off"));
    s.kind = DigitalLines::Spi;
    EXPECT_FALSE(DigitalLines::trace(s, "x", QByteArray(), &vcd, &why));
    EXPECT_TRUE(why.contains("clock"));
}

} // namespace
