// The simulated digital output lines as a logic analyser on CH2..CH4 reads
// them with sigrok-cli's decoders: the settings the program's own tests
// (tests/clients, DigitalClients) do not reach.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "simboard/digital_lines.h"
#include "tests/common/sigrok_decode.h"

TEST(LineTrace, DataBitsAndTransmissionsOfTheUart)
{
    if (!sigrokAvailable())
        GTEST_SKIP() << "sigrok-cli is not installed (scripts/deps.sh installs it)";
    QTemporaryDir dir;
    struct Row {
        int dataBits, transmissions;
        QByteArray data, decoded;
        const char* decoder;
    };
    const Row rows[] = {
        // Five data bits send the low bits only.
        {5, 1, QByteArray("\x1f\x01\x35", 3), QByteArray("\x1f\x01\x15", 3), "uart:rx=TX:baudrate=115200:data_bits=5"},
        // Each manual send is one transmission; none, nothing on the line.
        {8, 3, "ab", "ababab", "uart:rx=TX:baudrate=115200"},
        {8, 0, "ab", "", "uart:rx=TX:baudrate=115200"},
    };
    for (const Row& r : rows) {
        DigitalLines::Setup s;
        s.kind = DigitalLines::Uart;
        s.bitClock = 115200;
        s.uartDataBits = r.dataBits;
        s.transmissions = r.transmissions;
        QByteArray vcd;
        QString why;
        ASSERT_TRUE(DigitalLines::trace(s, r.data, QByteArray(), &vcd, &why)) << why.toStdString();
        QFile f(dir.filePath("t.vcd"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(vcd);
        f.close();
        const QStringList got = sigrokDecode(f.fileName(), r.decoder, "uart=rx-data");
        EXPECT_EQ(hexBytes(got), r.decoded)
            << r.dataBits << " bits, " << r.transmissions << " sends: " << got.join('|').toStdString();
    }
}

TEST(LineTrace, NothingIsDrawnForAnOutputThatIsOffOrHasNoClock)
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
