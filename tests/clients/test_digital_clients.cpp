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

    static QList<QByteArray> visa(const QByteArray& body) { return TestRig::visaLines(QString::fromUtf8(body)); }
    // The output lines as a VCD file; empty on failure.
    static QString trace(const char* name)
    {
        const QString file = root() + "/" + name;
        QProcess p;
        p.start(tool("tools/ornav-sim"), {"--root", root(), "digital-trace", file});
        p.waitForFinished(30000);
        return p.exitCode() == 0 && QFile::exists(file) ? file : QString();
    }
    // Sends "Hello" once by manual trigger with the protocol that setup
    // chooses; prints the error list, then what query gives.
    static QList<QByteArray> sendHello(const QByteArray& setup, const QByteArray& query)
    {
        return visa("i.write('DIGital OFF')\n"
                    "i.write('DIGital:FORMat CHAR')\n" +
                    setup +
                    "i.write('DIGital:AS OFF')\n"
                    "i.write('DIGital:DATa')\n"
                    "i.write_raw(b'Hello')\n"
                    "i.write('DIGital ON')\n"
                    "i.write('DIGital:TRIGger')\n"
                    "print(i.query('SYSTem:ERRor?').strip())\n"
                    "print(" +
                    query + ")\n");
    }
};

using Lines = QList<QByteArray>;
const QByteArray kNoError = "0,\"No error\"";

TEST_F(DigitalClients, UartHelloDecodesWithItsBaudRateBitsParityAndStopBits)
{
    EXPECT_EQ(sendHello("i.write('DIGital:TYPe UART')\n"
                        "i.write('DIGital:UART:BAUDrate 115200')\n"
                        "i.write('DIGital:UART:DATa 8')\n"
                        "i.write('DIGital:UART:PARity EVEN')\n"
                        "i.write('DIGital:UART:STOP 2')\n",
                        "i.query_binary_values('DIGital:DATa?', datatype='B', container=bytes)"),
              (Lines {kNoError, "b'Hello'"}));
    const QString vcd = trace("uart.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    const QString uart = "uart:rx=TX:baudrate=%1:data_bits=8:parity=even:stop_bits=2";
    QByteArray diag;
    const QStringList got = sigrokDecode(vcd, uart.arg(115200), "uart=rx-data", &diag);
    EXPECT_EQ(hexBytes(got), QByteArray("Hello")) << got.join('|').toStdString() << diag.constData();
    EXPECT_TRUE(sigrokDecode(vcd, uart.arg(115200), "uart=rx-parity-err:rx-warnings").isEmpty());
    // At another baud rate the same lines do not read as "Hello".
    EXPECT_NE(hexBytes(sigrokDecode(vcd, uart.arg(57600), "uart=rx-data")), QByteArray("Hello"));
}

TEST_F(DigitalClients, RemoteDataKeepsTheFirst2048Bytes)
{
    EXPECT_EQ(visa("data = bytes((k * 7) % 256 for k in range(3000))\n"
                   "i.write('DIGital:DATa')\n"
                   "i.write_raw(data)\n"
                   "got = i.query_binary_values('DIGital:DATa?', datatype='B', container=bytes)\n"
                   "print(len(got), got == data[:2048])\n"
                   "print(i.query('SYSTem:ERRor?').strip())\n"),
              (Lines {"2048 True", kNoError}));
}

TEST_F(DigitalClients, SpiAtOneMegahertzDecodesTheBytes)
{
    EXPECT_EQ(sendHello("i.write('DIGital:TYPe SPI')\n"
                        "i.write('DIGital:SPI:CLOCk 1MHZ')\n",
                        "i.query('DIGital:SPI:CLOCk?').strip()"),
              (Lines {kNoError, "1000000"}));
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
    EXPECT_EQ(sendHello("i.write('DIGital:TYPe IIC')\n"
                        "i.write('DIGital:IIC:CLOCk 100kHZ')\n"
                        "i.write('DIGital:IIC:ADDRess 80')\n",
                        "i.query('DIGital:IIC:ADDRess?').strip()"),
              (Lines {kNoError, "80"}));
    const QString dec = "i2c:scl=SCL:sda=SDA";
    const QStringList hello = {"Data write: 48", "Data write: 65", "Data write: 6C", "Data write: 6C",
                               "Data write: 6F"};
    QString vcd = trace("i2c7.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    // The decoder also marks the R/W bit of the address byte ("Write").
    QStringList got = sigrokDecode(vcd, dec, "i2c=address-write:data-write");
    got.removeAll("Write");
    EXPECT_EQ(got, QStringList {"Address write: 50"} + hello) << got.join('|').toStdString();
    EXPECT_TRUE(sigrokDecode(vcd, dec, "i2c=nack").isEmpty());

    // 10-bit address 0x2A5 = 677: the decoder knows 7-bit addresses only, so
    // the first byte 11110 A9 A8 0 reads as a write to 0x78 | A9A8 and the
    // second, A7..A0, as a data byte. An address beyond 10 bits is out of
    // the entry's range: refused, and the stored one stays.
    EXPECT_EQ(visa("i.write('DIGital:IIC:ADDRess 677')\n"
                   "print(i.query('SYSTem:ERRor?').strip())\n"
                   "i.write('DIGital:TRIGger')\n"
                   "print(i.query('DIGital:IIC:ADDRess?').strip())\n"
                   "i.write('DIGital:IIC:ADDRess 1024')\n"
                   "print(i.query('SYSTem:ERRor?').strip())\n"
                   "print(i.query('DIGital:IIC:ADDRess?').strip())\n"),
              (Lines {kNoError, "677", "-801,\"Out of range!\"", "677"}));
    vcd = trace("i2c10.vcd");
    ASSERT_FALSE(vcd.isEmpty());
    got = sigrokDecode(vcd, dec, "i2c=address-write:data-write");
    got.removeAll("Write");
    EXPECT_EQ(got, QStringList({"Address write: 7A", "Data write: A5"}) + hello) << got.join('|').toStdString();
}

TEST_F(DigitalClients, NoTransmissionWithoutATriggerAndNoTriggerWhileOff)
{
    EXPECT_EQ(visa("i.write('DIGital OFF')\n"
                   "i.write('DIGital:TRIGger')\n"
                   "print(i.query('SYSTem:ERRor?').strip())\n"
                   "i.write('DIGital:TYPe UART')\n"
                   "i.write('DIGital:AS OFF')\n"
                   "i.write('DIGital ON')\n"
                   "print(i.query('DIGital?').strip())\n"),
              (Lines {"-200,\"Execution error\"", "1"}));
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
        const char* settled; // the display refreshes once a second
    } rows[] = {{"12345.678", 12345.678, 1 / 12345.678, "f > 0"}, {"0", 0, 0, "f == 0"}};
    for (const auto& r : rows) {
        int code = 0;
        sim({"counter", r.input, "30"}, &code);
        ASSERT_EQ(code, 0);
        const QList<QByteArray> out = visa(QByteArray("import time\n"
                                                      "i.write('SYSTem:CYMometer ON')\n"
                                                      "for n in range(100):\n"
                                                      "    f = float(i.query('SYSTem:CYMometer:FREQuency?'))\n"
                                                      "    if ") +
                                           r.settled +
                                           ": break\n"
                                           "    time.sleep(0.1)\n"
                                           "print(f, float(i.query('SYSTem:CYMometer:PERiod?')))\n");
        const QList<QByteArray> f = out.value(0).split(' ');
        ASSERT_EQ(f.size(), 2) << out.join('\n').constData();
        EXPECT_NEAR(f[0].toDouble(), r.freq, 0.01) << r.input;
        EXPECT_NEAR(f[1].toDouble(), r.period, 1e-9) << r.input;
    }
}

} // namespace
