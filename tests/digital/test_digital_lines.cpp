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

TEST_F(LineTrace, UartFramesDecodeAtTheirBaudRateBitsParityAndStopBits)
{
    DigitalLines::Setup s;
    s.kind = DigitalLines::Uart;
    s.bitClock = 9600;
    s.uartDataBits = 8;
    s.uartParity = true;
    s.uartStopBits = 2;
    const QByteArray data("\x00\xff\x55Hi", 5);
    const QString f = write(s, data, parity(data, true));
    QByteArray diag;
    const QStringList got = sigrokDecode(f, "uart:rx=TX:baudrate=9600:data_bits=8:parity=odd:stop_bits=2",
                                         "uart=rx-data", &diag);
    EXPECT_EQ(hexBytes(got), data) << got.join('|').toStdString() << diag.constData();
    // The parity bits agree with odd parity, the stop bits are there: no
    // parity errors, no frame warnings.
    const QStringList warnings = sigrokDecode(f, "uart:rx=TX:baudrate=9600:data_bits=8:parity=odd:stop_bits=2",
                                              "uart=rx-parity-err:rx-warnings");
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('|').toStdString();
    // Read as even parity, every byte is flagged.
    const QStringList wrong = sigrokDecode(f, "uart:rx=TX:baudrate=9600:data_bits=8:parity=even:stop_bits=2",
                                           "uart=rx-parity-err");
    EXPECT_EQ(wrong.size(), data.size()) << wrong.join('|').toStdString();
}

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

TEST_F(LineTrace, SpiBytesGoOutMostSignificantBitFirstUnderChipSelect)
{
    DigitalLines::Setup s;
    s.kind = DigitalLines::Spi;
    s.bitClock = 2e6; // 1 MHz SCLK
    const QByteArray data("\xa5\x01\x80Hello", 8);
    const QString f = write(s, data);
    const QStringList got = sigrokDecode(f, "spi:clk=SCLK:mosi=MOSI:cs=CS", "spi=mosi-data");
    EXPECT_EQ(hexBytes(got), data) << got.join('|').toStdString();
    // Read as LSB first the bytes come out mirrored: the order is real.
    const QStringList lsb = sigrokDecode(f, "spi:clk=SCLK:mosi=MOSI:cs=CS:bitorder=lsb-first", "spi=mosi-data");
    ASSERT_FALSE(lsb.isEmpty());
    EXPECT_EQ(hexBytes(lsb).left(1), QByteArray("\xa5", 1));
    EXPECT_EQ(hexBytes(lsb).mid(1, 2), QByteArray("\x80\x01", 2));
}

TEST_F(LineTrace, I2cShowsAddressByteDataAndAcknowledgedSlots)
{
    DigitalLines::Setup s;
    s.kind = DigitalLines::I2c;
    s.bitClock = 2e5; // 100 kHz SCL
    const QString f = write(s, QByteArray("\xa0\x12\x34", 3)); // address 0x50, write
    const QStringList got = sigrokDecode(f, "i2c:scl=SCL:sda=SDA", "i2c=start:address-write:data-write:ack:nack:stop");
    EXPECT_EQ(got, QStringList({"Start", "Write", "Address write: 50", "ACK", "Data write: 12", "ACK", "Data write: 34",
                                "ACK", "Stop"}))
        << got.join('|').toStdString();
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
