// The whole chain: a real client (pyvisa-py over VXI-11) sets a channel of
// the real program on a simulated board, and `ornav-sim scope` measures what
// comes out of the connector, computed from the simulated FPGA's registers.
// Tolerances: the scale word resolves 1/65535 of the range (61 uV on the
// 4 V range), the fine offset DAC 0.11 mV, the printed values have six digits.
#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <cmath>
#include "tests/common/instrument_process.h"

namespace {

class ScopeClients : public TestRig::InstrumentSuite {
protected:
    // Sends the commands over VXI-11, each followed by *OPC? so that it has
    // run before the next; a step "f:PATH" sends the bytes of that file as
    // one message (the upload the step before armed with "WARB#:CARRier").
    // True when the client finished cleanly.
    static bool send(const QStringList& commands)
    {
        static const char kScript[] = R"(import sys
steps = sys.argv[1:]
for n, c in enumerate(steps):
    if c.startswith('f:'):
        i.write_raw(open(c[2:], 'rb').read())
    else:
        i.write(c)
    # After "WARB#:CARRier" the next message is the file itself.
    if n + 1 == len(steps) or not steps[n + 1].startswith('f:'):
        i.query('*OPC?')
)";
        int rc = -1;
        TestRig::runPython(TestRig::visaScript(kScript, 30000), commands, &rc, 120000);
        return rc == 0;
    }
    // ornav-sim scope on channel ch; its printed measurements.
    static QString scope(int ch, const QStringList& args)
    {
        int rc = -1;
        const QByteArray out = sim(QStringList {"scope", QString::number(ch)} + args, &rc);
        return rc == 0 ? QString::fromUtf8(out) : QString();
    }
    // A printed measurement in base units ("Freq   1.00000 kHz" -> 1000).
    static double value(const QString& out, const QString& name)
    {
        const QRegularExpression re("^" + name + "\\s+(-?[0-9.]+) ?([pnumkMG]?)", QRegularExpression::MultilineOption);
        const auto m = re.match(out);
        if (!m.hasMatch())
            return std::nan("");
        static const QString prefixes = "pnum kMG";
        const int e = m.captured(2).isEmpty() ? 4 : prefixes.indexOf(m.captured(2));
        return m.captured(1).toDouble() * std::pow(1000.0, e - 4);
    }
    // The samples of a --csv trace.
    static QVector<double> trace(const QString& file)
    {
        QVector<double> v;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return v;
        f.readLine();
        while (!f.atEnd()) {
            const QList<QByteArray> p = f.readLine().trimmed().split(',');
            if (p.size() == 2)
                v << p[1].toDouble();
        }
        return v;
    }
    static QStringList continuous(int ch, const QString& wave)
    {
        const QString c = QStringLiteral("CHANnel%1:").arg(ch);
        return {c + "MODE CONTinue", c + "BASe:WAVe " + wave, c + "OUTPut ON"};
    }
};

} // namespace

// Set for a 50 ohm load, the level at the load is the set one and the
// open-circuit voltage twice that; the square, the other shapes and the
// high-impedance levels are rows of scope_rows.py.
TEST_F(ScopeClients, FiftyOhmLoadAndPulseAndRampEdges)
{
    ASSERT_TRUE(send(continuous(1, "SINe") +
                     QStringList {"CHANnel1:LOAD 50", "CHANnel1:BASe:FREQuency 1000", "CHANnel1:BASe:AMPLitude 2",
                                  "CHANnel1:BASe:OFFSet 0.5"}));
    QString out = scope(1, {"--span", "10e-3", "--points", "100000", "--load", "50"});
    EXPECT_NEAR(value(out, "Vpp"), 2.0, 2e-3) << out.toStdString();
    EXPECT_NEAR(value(out, "Mean"), 0.5, 1e-3) << out.toStdString();
    out = scope(1, {"--span", "10e-3", "--points", "100000"});
    EXPECT_NEAR(value(out, "Vpp"), 4.0, 4e-3) << out.toStdString();
    EXPECT_NEAR(value(out, "Mean"), 1.0, 2e-3) << out.toStdString();
    ASSERT_TRUE(send({"CHANnel1:LOAD 1000000"}));

    ASSERT_TRUE(send(continuous(2, "PULSe") +
                     QStringList {"CHANnel2:BASe:FREQuency 1000000", "CHANnel2:BASe:DUTY 40",
                                  "CHANnel2:PULSe:RISe 10e-9", "CHANnel2:PULSe:FALL 20e-9"}));
    out = scope(2, {"--span", "2e-6", "--points", "200000"});
    EXPECT_NEAR(value(out, "Rise"), 10e-9, 0.1e-9) << out.toStdString();
    EXPECT_NEAR(value(out, "Fall"), 20e-9, 0.2e-9) << out.toStdString();
    EXPECT_NEAR(value(out, "Duty"), 40, 0.05) << out.toStdString();

    ASSERT_TRUE(
        send(continuous(2, "RAMP") + QStringList {"CHANnel2:BASe:FREQuency 1000", "CHANnel2:RAMP:SYMMetry 25"}));
    out = scope(2, {"--span", "5e-3", "--points", "100000"});
    EXPECT_NEAR(value(out, "Rise"), 0.8 * 0.25e-3, 1e-6) << out.toStdString();
    EXPECT_NEAR(value(out, "Fall"), 0.8 * 0.75e-3, 1e-6) << out.toStdString();
}

// Every wave, work mode and mode kind, each at three spans: set over
// pyvisa-py, sampled by `ornav-sim scope --csv`, measured by the tool and by
// numpy on the same samples (the table and its tolerances: scope_rows.py).
TEST_F(ScopeClients, EveryModeMeasuredByTheToolAndByNumpy)
{
    int rc = -1;
    const QByteArray out = TestRig::runPython(QString(ORNAV_SOURCE_DIR) + "/tests/clients/scope_rows.py",
                                              {root(), TestRig::buildPath("tools/ornav-sim")}, &rc, 600000);
    EXPECT_EQ(rc, 0) << out.constData();
}

TEST_F(ScopeClients, OutputOffMeasuresZero)
{
    ASSERT_TRUE(send(continuous(1, "SINe") + QStringList {"CHANnel1:BASe:AMPLitude 2", "CHANnel1:BASe:OFFSet 1"}));
    EXPECT_GT(value(scope(1, {"--span", "1e-3"}), "Vmax"), 1.9);
    ASSERT_TRUE(send({"CHANnel1:OUTPut OFF"}));
    const QString out = scope(1, {"--span", "1e-3"});
    EXPECT_TRUE(out.contains("Output off")) << out.toStdString();
    EXPECT_EQ(value(out, "Vmax"), 0);
    EXPECT_EQ(value(out, "Vmin"), 0);
}

// An uploaded arbitrary wave comes out with its shape: four steps of a
// quarter period each, normalised by the upload to the full 16-bit range and
// played at 2 Vpp. Tolerance: a sample word resolves 2 V / 65534 = 31 uV, the
// scale word 61 uV, the fine offset DAC 0.11 mV; 2 mV leaves room for the
// rounding of the normalisation (one word) and the wave's own filter.
TEST_F(ScopeClients, UploadedArbitraryWaveKeepsItsShape)
{
    const int n = 1024;
    const int levels[4] = {-20000, 0, 20000, 10000};
    QByteArray bsv = "[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:" + QByteArray::number(n) + "\r\n";
    for (int i = 0; i < n; ++i) {
        const uint16_t w = uint16_t(int16_t(levels[i / (n / 4)]));
        bsv.append(char(w & 0xFF));
        bsv.append(char(w >> 8));
    }
    const QString path = root() + "/steps.bsv";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bsv);
    f.close();
    ASSERT_TRUE(send(continuous(1, "ARB") +
                     QStringList {"CHANnel1:BASe:FREQuency 1000", "CHANnel1:BASe:AMPLitude 2", "CHANnel1:BASe:OFFSet 0",
                                  "WARB1:CARRier \"steps.bsv\"", "f:" + path}));
    const QString csv = root() + "/steps.csv";
    const QString out = scope(1, {"--span", "4e-3", "--points", "40000", "--csv", csv});
    EXPECT_NEAR(value(out, "Freq"), 1000, 0.01) << out.toStdString();
    const QVector<double> v = trace(csv);
    ASSERT_EQ(v.size(), 40000);
    // The middle half of each quarter of the second and third periods.
    for (int period = 1; period <= 2; ++period)
        for (int k = 0; k < 4; ++k) {
            const int from = period * 10000 + k * 2500 + 625, to = from + 1250;
            const auto [lo, hi] = std::minmax_element(v.begin() + from, v.begin() + to);
            const double expect = levels[k] / 20000.0;
            EXPECT_NEAR(*lo, expect, 2e-3) << "period " << period << " quarter " << k;
            EXPECT_NEAR(*hi, expect, 2e-3) << "period " << period << " quarter " << k;
        }
}
