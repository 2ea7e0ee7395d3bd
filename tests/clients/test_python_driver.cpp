// The Python driver (python/ornav72) and its examples against the running
// program on a simulated board, with Debian's /usr/bin/python3, PyMeasure
// and pyvisa-py over VXI-11: python/tests/test_driver.py checks every
// property's round trip, the client-side checks, the uploads (table stream
// of the simulated FPGA) and the screen capture; every example must run to
// its end.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include "tests/common/instrument_process.h"

namespace {

QString src(const char* name) { return QString(ORNAV_SOURCE_DIR) + "/" + name; }

// One program for the suite, on a root made by "ornav-sim init" (with the
// built-in wave library, as on a real instrument).
class PythonDriver : public TestRig::InstrumentSuite {
protected:
    static void SetUpTestSuite()
    {
        startOn([](const QString& root) {
            int code = -1;
            TestRig::runSim(root, {"init"}, &code);
            return code == 0;
        });
    }

    struct Run {
        int code = -1;
        QString out;
    };
    // Runs a Python file under /usr/bin/python3 with the package on the
    // path, in the root folder; output and errors merged.
    static Run python(const QString& file, const QStringList& args, const QString& program = "/usr/bin/python3")
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PYTHONPATH", src("python"));
        env.insert("PYTHONDONTWRITEBYTECODE", "1");
        env.insert("ORNAV_ROOT", root()); // the examples that read the simulated board
        env.insert("ORNAV_SIM", TestRig::buildPath("tools/ornav-sim"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setWorkingDirectory(root());
        p.start(program, QStringList {file} + args);
        Run r;
        if (!p.waitForFinished(300000)) {
            p.kill();
            p.waitForFinished(5000);
            r.out = "<timeout> " + QString::fromLocal8Bit(p.readAll());
            return r;
        }
        r.out = QString::fromLocal8Bit(p.readAll());
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }
    static Run driverTests(const QString& cls, const QString& resource)
    {
        return python(src("python/tests/test_driver.py"),
                      {root(), TestRig::buildPath("tools/ornav-sim"), resource, cls});
    }
    static Run example(const char* name, const QStringList& args = {})
    {
        return python(src("python/examples/") + name, QStringList {"TCPIP::127.0.0.1::inst0::INSTR"} + args);
    }
};

// The driver's own tests, class by class. The raw socket has no END marker:
// the driver sends uploads as definite-length blocks there, and the same
// transfers must arrive word for word.
TEST_F(PythonDriver, DriverTestsPassOnEveryTransport)
{
    const struct {
        const char* cls;
        const char* resource;
    } rows[] = {
        {"RoundTrips", "TCPIP::127.0.0.1::inst0::INSTR"},
        {"ClientSideChecks", "TCPIP::127.0.0.1::inst0::INSTR"},
        {"Transfers", "TCPIP::127.0.0.1::inst0::INSTR"},
        {"Transfers", "TCPIP::127.0.0.1::5025::SOCKET"},
    };
    for (const auto& row : rows) {
        const Run r = driverTests(row.cls, row.resource);
        EXPECT_EQ(r.code, 0) << row.cls << " over " << row.resource << ":\n" << r.out.toStdString();
    }
}

// The driver's examples (python/examples) run to their end and print what
// they did; the counter's simulated input is what its registers would hold.
TEST_F(PythonDriver, ExamplesRunAndReport)
{
    int code = -1;
    sim({"counter", "5000", "40"}, &code);
    ASSERT_EQ(code, 0);
    const struct {
        const char* file;
        QStringList args;
        QStringList lines;
    } rows[] = {
        {"waveform_on.py", {}, {"CH1: square, 10000 Hz, 2 Vpp, duty 25 %, output on", "errors: none"}},
        {"frequency_steps.py",
         {"1000", "3000", "3"},
         {"    1000.000       5000.000      40.00", "    3000.000       5000.000      40.00", "errors: none"}},
        {"arb_upload.py", {}, {"CH1 plays 8192 points at 5000 Hz, 3 Vpp"}},
        {"screenshot.py", {"shot.png"}, {}},
    };
    for (const auto& row : rows) {
        const Run r = example(row.file, row.args);
        ASSERT_EQ(r.code, 0) << row.file << ":\n" << r.out.toStdString();
        for (const QString& line : row.lines)
            EXPECT_TRUE(r.out.contains(line)) << row.file << ":\n" << r.out.toStdString();
    }
    // The samples' way into the table: Transfers.test_arb_upload_reaches_the_channel_table.
    EXPECT_EQ(sim({"stream", "table:1:base"}).trimmed().split('\n').size(), 8192);
    QFile f(root() + "/shot.png");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8));
}

// The programming guide's examples (docs/examples, Python and lxi-tools) run
// to their end against the instrument; each checks the error list itself.
TEST_F(PythonDriver, ProgrammingGuideExamplesRun)
{
    const QDir dir(src("docs/examples"));
    const QStringList names = dir.entryList({"*.py", "*.sh"}, QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 7);
    for (const QString& name : names) {
        const Run r = python(dir.filePath(name), {}, name.endsWith(".sh") ? "/bin/bash" : "/usr/bin/python3");
        EXPECT_EQ(r.code, 0) << name.toStdString() << ":\n" << r.out.toStdString();
        if (name == "lxi_coupling.sh") { // CH2 follows CH1's 3 kHz at twice the frequency
            EXPECT_TRUE(r.out.contains("CH2 frequency: 6.000000e+03")) << r.out.toStdString();
        }
    }
}

} // namespace
