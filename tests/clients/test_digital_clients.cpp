// The digital protocol output and the counter of the real program, driven by
// pyvisa-py over VXI-11. The output lines the simulated FPGA draws are
// decoded with sigrok-cli's uart, spi and i2c decoders; the counter input is
// set with ornav-sim. The output's command rows (limits, refusals) are in
// scpi_rows.py, its round trips in the driver's table.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include "tests/common/instrument_process.h"
#include "tests/common/sigrok_decode.h"

namespace {

QString tool(const char* name) { return TestRig::buildPath(name); }

class DigitalClients : public TestRig::InstrumentSuite {
protected:
    void SetUp() override
    {
        InstrumentSuite::SetUp();
        if (HasFatalFailure())
            return;
        if (!sigrokAvailable())
            GTEST_SKIP() << "sigrok-cli is not installed (scripts/deps.sh installs it)";
    }

    // Runs the pyvisa statements (instrument `i`) and returns what they print.
    static QList<QByteArray> visa(const QByteArray& body, int* exitCode = nullptr)
    {
        QProcess p;
        p.start("/usr/bin/python3", {"-c", TestRig::visaScript(QString::fromUtf8(body))});
        p.waitForStarted(10000);
        p.waitForFinished(60000);
        if (exitCode)
            *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
        const QByteArray err = p.readAllStandardError();
        if (!err.isEmpty())
            lines << ("stderr: " + err);
        return lines;
    }
    // The output lines as a VCD file; empty on failure.
    static QString trace(const char* name)
    {
        const QString file = root() + "/" + name;
        QProcess p;
        p.start(tool("tools/ornav-sim"), {"--root", root(), "digital-trace", file});
        p.waitForFinished(30000);
        return p.exitCode() == 0 && QFile::exists(file) ? file : QString();
    }
    // The common part of sending "Hello" once by manual trigger.
    static QByteArray sendHello()
    {
        return "i.write('DIGital:DATa')\n"
               "i.write_raw(b'Hello')\n"
               "i.write('DIGital ON')\n"
               "i.write('DIGital:TRIGger')\n"
               "print(i.query('SYSTem:ERRor?').strip())\n";
    }
};

TEST_F(DigitalClients, UartHelloDecodesWithItsBaudRateBitsParityAndStopBits)
{
    int code = 0;
    const QList<QByteArray> out = visa("i.write('DIGital OFF')\n"
                                       "i.write('DIGital:FORMat CHAR')\n"
                                       "i.write('DIGital:TYPe UART')\n"
                                       "i.write('DIGital:UART:BAUDrate 115200')\n"
                                       "i.write('DIGital:UART:DATa 8')\n"
                                       "i.write('DIGital:UART:PARity EVEN')\n"
                                       "i.write('DIGital:UART:STOP 2')\n"
                                       "i.write('DIGital:AS OFF')\n" +
                                           sendHello() +
                                           "print(i.query_binary_values('DIGital:DATa?', datatype='B', container=bytes))\n",
                                       &code);
    ASSERT_EQ(code, 0) << out.join('\n').constData();
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0], QByteArray("0,\"No error\""));
    EXPECT_EQ(out[1], QByteArray("b'Hello'"));

    const QString vcd = trace("uart.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    QByteArray diag;
    const QStringList got =
        sigrokDecode(vcd, "uart:rx=TX:baudrate=115200:data_bits=8:parity=even:stop_bits=2", "uart=rx-data", &diag);
    EXPECT_EQ(hexBytes(got), QByteArray("Hello")) << got.join('|').toStdString() << diag.constData();
    EXPECT_TRUE(sigrokDecode(vcd, "uart:rx=TX:baudrate=115200:data_bits=8:parity=even:stop_bits=2",
                             "uart=rx-parity-err:rx-warnings")
                    .isEmpty());
    // At another baud rate the same lines do not read as "Hello".
    EXPECT_NE(hexBytes(sigrokDecode(vcd, "uart:rx=TX:baudrate=57600:data_bits=8:parity=even:stop_bits=2",
                                    "uart=rx-data")),
              QByteArray("Hello"));
}

TEST_F(DigitalClients, RemoteDataKeepsTheFirst2048Bytes)
{
    int code = 0;
    const QList<QByteArray> out =
        visa("data = bytes((k * 7) % 256 for k in range(3000))\n"
             "i.write('DIGital:DATa')\n"
             "i.write_raw(data)\n"
             "got = i.query_binary_values('DIGital:DATa?', datatype='B', container=bytes)\n"
             "print(len(got), got == data[:2048])\n"
             "print(i.query('SYSTem:ERRor?').strip())\n",
             &code);
    ASSERT_EQ(code, 0) << out.join('\n').constData();
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0], QByteArray("2048 True"));
    EXPECT_EQ(out[1], QByteArray("0,\"No error\""));
}

TEST_F(DigitalClients, SpiAtOneMegahertzDecodesTheBytes)
{
    int code = 0;
    const QList<QByteArray> out = visa("i.write('DIGital OFF')\n"
                                       "i.write('DIGital:FORMat CHAR')\n"
                                       "i.write('DIGital:TYPe SPI')\n"
                                       "i.write('DIGital:SPI:CLOCk 1MHZ')\n"
                                       "i.write('DIGital:AS OFF')\n" +
                                           sendHello() + "print(i.query('DIGital:SPI:CLOCk?').strip())\n",
                                       &code);
    ASSERT_EQ(code, 0) << out.join('\n').constData();
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0], QByteArray("0,\"No error\""));
    EXPECT_EQ(out[1], QByteArray("1000000"));
    const QString vcd = trace("spi.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    const QStringList got = sigrokDecode(vcd, "spi:clk=SCLK:mosi=MOSI:cs=CS", "spi=mosi-data");
    EXPECT_EQ(hexBytes(got), QByteArray("Hello")) << got.join('|').toStdString();
    // The VCD's clock runs at 1 MHz: two edges per microsecond of SCLK.
    QFile f(vcd);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("$var wire 1 ! SCLK $end"));
}

TEST_F(DigitalClients, I2cSendsTheSevenBitAndTheTenBitAddress)
{
    int code = 0;
    QList<QByteArray> out = visa("i.write('DIGital OFF')\n"
                                 "i.write('DIGital:FORMat CHAR')\n"
                                 "i.write('DIGital:TYPe IIC')\n"
                                 "i.write('DIGital:IIC:CLOCk 100kHZ')\n"
                                 "i.write('DIGital:IIC:ADDRess 80')\n"
                                 "i.write('DIGital:AS OFF')\n" +
                                     sendHello() + "print(i.query('DIGital:IIC:ADDRess?').strip())\n",
                                 &code);
    ASSERT_EQ(code, 0) << out.join('\n').constData();
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0], QByteArray("0,\"No error\""));
    EXPECT_EQ(out[1], QByteArray("80"));
    QString vcd = trace("i2c7.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    const QString dec = "i2c:scl=SCL:sda=SDA";
    // The decoder also marks the R/W bit of the address byte ("Write").
    QStringList got = sigrokDecode(vcd, dec, "i2c=address-write:data-write");
    got.removeAll("Write");
    EXPECT_EQ(got, QStringList({"Address write: 50", "Data write: 48", "Data write: 65", "Data write: 6C",
                                "Data write: 6C", "Data write: 6F"}))
        << got.join('|').toStdString();
    EXPECT_TRUE(sigrokDecode(vcd, dec, "i2c=nack").isEmpty());

    // 10-bit address 0x2A5 = 677: the decoder knows 7-bit addresses only, so
    // the first byte 11110 A9 A8 0 reads as a write to 0x78 | A9A8 and the
    // second, A7..A0, as a data byte.
    out = visa("i.write('DIGital:IIC:ADDRess 677')\n"
               "print(i.query('SYSTem:ERRor?').strip())\n"
               "i.write('DIGital:TRIGger')\n"
               "print(i.query('DIGital:IIC:ADDRess?').strip())\n"
               "i.write('DIGital:IIC:ADDRess 1024')\n"
               "print(i.query('SYSTem:ERRor?').strip())\n"
               "print(i.query('DIGital:IIC:ADDRess?').strip())\n",
               &code);
    ASSERT_EQ(code, 0) << out.join('\n').constData();
    ASSERT_GE(out.size(), 4);
    EXPECT_EQ(out[0], QByteArray("0,\"No error\""));
    EXPECT_EQ(out[1], QByteArray("677"));
    // An address beyond 10 bits is out of the entry's range: refused, and
    // the stored one stays.
    EXPECT_EQ(out[2], QByteArray("-801,\"Out of range!\""));
    EXPECT_EQ(out[3], QByteArray("677"));
    vcd = trace("i2c10.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    got = sigrokDecode(vcd, dec, "i2c=address-write:data-write");
    got.removeAll("Write");
    ASSERT_EQ(got.size(), 7) << got.join('|').toStdString();
    EXPECT_EQ(got[0], QString("Address write: 7A")); // 0x78 | (0x2A5 >> 8)
    EXPECT_EQ(got[1], QString("Data write: A5"));
    EXPECT_EQ(got.mid(2), QStringList({"Data write: 48", "Data write: 65", "Data write: 6C", "Data write: 6C",
                                       "Data write: 6F"}));
}

TEST_F(DigitalClients, NoTransmissionWithoutATriggerAndNoTriggerWhileOff)
{
    int code = 0;
    const QList<QByteArray> out = visa("i.write('DIGital OFF')\n"
                                       "i.write('DIGital:TRIGger')\n"
                                       "print(i.query('SYSTem:ERRor?').strip())\n"
                                       "i.write('DIGital:TYPe UART')\n"
                                       "i.write('DIGital:AS OFF')\n"
                                       "i.write('DIGital ON')\n"
                                       "print(i.query('DIGital?').strip())\n",
                                       &code);
    ASSERT_EQ(code, 0) << out.join('\n').constData();
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0], QByteArray("-200,\"Execution error\""));
    EXPECT_EQ(out[1], QByteArray("1"));
    const QString vcd = trace("idle.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    EXPECT_TRUE(sigrokDecode(vcd, "uart:rx=TX:baudrate=115200", "uart=rx-data").isEmpty());
}

// The readings themselves: python/tests/test_driver.py (test_counter_readings).
// Once the input is removed the reading is "no signal", not the last value.
TEST_F(DigitalClients, CounterReadsNoSignalOnceTheInputIsRemoved)
{
    const struct {
        const char* input;
        double freq, period;
        const char* settled;  // the display refreshes once a second
    } rows[] = {{"12345.678", 12345.678, 1 / 12345.678, "f > 0"}, {"0", 0, 0, "f == 0"}};
    for (const auto& r : rows) {
        int code = 0;
        sim({"counter", r.input, "30"}, &code);
        ASSERT_EQ(code, 0);
        const QList<QByteArray> out = visa(QByteArray("import time\n"
                                                      "i.write('SYSTem:CYMometer ON')\n"
                                                      "for n in range(100):\n"
                                                      "    f = float(i.query('SYSTem:CYMometer:FREQuency?'))\n"
                                                      "    if ") + r.settled + ": break\n"
                                               "    time.sleep(0.1)\n"
                                               "print(f, float(i.query('SYSTem:CYMometer:PERiod?')))\n",
                                           &code);
        ASSERT_EQ(code, 0) << out.join('\n').constData();
        const QList<QByteArray> f = out.value(0).split(' ');
        ASSERT_EQ(f.size(), 2) << out.join('\n').constData();
        EXPECT_NEAR(f[0].toDouble(), r.freq, 0.01) << r.input;
        EXPECT_NEAR(f[1].toDouble(), r.period, 1e-9) << r.input;
    }
}

} // namespace
