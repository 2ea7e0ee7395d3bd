// The Python driver (python/ornav72) and its examples against the running
// program on a simulated board, with Debian's /usr/bin/python3, PyMeasure
// and pyvisa-py over VXI-11: python/tests/test_driver.py checks every
// property's round trip, the client-side checks, the uploads (table stream
// of the simulated FPGA) and the screen capture; every example must run to
// its end.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <vector>

namespace {

QString bin(const char* name) { return QString(ORNAV_BIN_DIR) + "/" + name; }
QString src(const char* name) { return QString(ORNAV_SOURCE_DIR) + "/" + name; }

class PythonDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        QProcess init;
        init.start(bin("tools/ornav-sim"), {"--root", dir->path(), "init"});
        ASSERT_TRUE(init.waitForFinished(60000));
        ASSERT_EQ(init.exitCode(), 0) << init.readAllStandardError().constData();
        proc = new QProcess;
        proc->setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("ORNAV_ROOT");
        proc->setProcessEnvironment(env);
        proc->start(bin("ornav72"), {"--root", dir->path()});
        ASSERT_TRUE(proc->waitForStarted(10000));
        for (int i = 0; i < 300 && !output.contains("vxi11_init ok!"); ++i) {
            proc->waitForReadyRead(100);
            output += proc->readAll();
            if (proc->state() != QProcess::Running)
                break;
        }
        serverUp = output.contains("vxi11_init ok!");
    }
    static void TearDownTestSuite()
    {
        if (proc) {
            ::kill(pid_t(proc->processId()), SIGTERM);
            proc->waitForFinished(15000);
            delete proc;
            proc = nullptr;
        }
        delete dir;
        dir = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(serverUp) << output.constData(); }

    struct Run {
        int code = -1;
        QString out;
    };
    // Runs a Python file with the package on the path; output and errors merged.
    static Run python(const QString& file, const QStringList& args, const QString& cwd = QString())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PYTHONPATH", src("python"));
        env.insert("PYTHONDONTWRITEBYTECODE", "1");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (!cwd.isEmpty())
            p.setWorkingDirectory(cwd);
        p.start("/usr/bin/python3", QStringList{file} + args);
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
    static Run driverTests(const QString& cls)
    {
        return python(src("python/tests/test_driver.py"), {dir->path(), bin("tools/ornav-sim"), cls});
    }
    static Run example(const char* name, const QStringList& args = {})
    {
        return python(src("python/examples/") + name, QStringList{"TCPIP::127.0.0.1::inst0::INSTR"} + args,
                      dir->path());
    }

    static QTemporaryDir* dir;
    static QProcess* proc;
    static QByteArray output;
    static bool serverUp;
};
QTemporaryDir* PythonDriver::dir = nullptr;
QProcess* PythonDriver::proc = nullptr;
QByteArray PythonDriver::output;
bool PythonDriver::serverUp = false;

TEST_F(PythonDriver, EveryPropertyRoundTrips)
{
    const Run r = driverTests("RoundTrips");
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
}

TEST_F(PythonDriver, OutOfRangeValuesAreRefusedBeforeSending)
{
    const Run r = driverTests("ClientSideChecks");
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
}

TEST_F(PythonDriver, UploadsCaptureAndErrorList)
{
    const Run r = driverTests("Transfers");
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
}

TEST_F(PythonDriver, ExampleWaveformOn)
{
    const Run r = example("waveform_on.py");
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("CH1: square, 10000 Hz, 2 Vpp, duty 25 %, output on")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("errors: none")) << r.out.toStdString();
}

TEST_F(PythonDriver, ExampleFrequencyStepsReadsTheCounter)
{
    // The simulated counter input: what the counter registers would hold.
    QProcess::execute(bin("tools/ornav-sim"), {"--root", dir->path(), "counter", "5000", "40"});
    const Run r = example("frequency_steps.py", {"1000", "3000", "3"});
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("    1000.000       5000.000      40.00")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("    3000.000       5000.000      40.00")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("errors: none")) << r.out.toStdString();
}

TEST_F(PythonDriver, ExampleArbUploadPlaysTheWave)
{
    const Run r = example("arb_upload.py");
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("CH1 plays 8192 points at 5000 Hz, 3 Vpp")) << r.out.toStdString();
    // The damped sine of the example as the driver sends it (16-bit words,
    // peak at full scale); not symmetric about zero, so the instrument
    // stretches it from its lowest to its highest word over -32767..32767.
    std::vector<double> w(8192);
    double peak = 0;
    for (int i = 0; i < 8192; ++i) {
        const double t = i / 8192.0;
        w[i] = std::sin(2 * M_PI * 8 * t) * std::exp(-4 * t);
        peak = std::max(peak, std::fabs(w[i]));
    }
    std::vector<int> words(8192);
    for (int i = 0; i < 8192; ++i)
        words[i] = int(std::nearbyint(w[i] / peak * 32767));
    const auto [lo, hi] = std::minmax_element(words.begin(), words.end());
    const double mid = (*lo + *hi) / 2.0, scale = 2.0 * 32767 / (*hi - *lo);
    ASSERT_GT(std::fabs(mid), 1.0);
    QProcess p;
    p.start(bin("tools/ornav-sim"), {"--root", dir->path(), "stream", "table:1:base"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 8192);
    for (int i = 0; i < 8192; ++i)
        ASSERT_EQ(lines[i].trimmed().toLongLong(), (long long)uint16_t(int16_t(std::round((words[i] - mid) * scale))))
            << i;
}

TEST_F(PythonDriver, ExampleScreenshotSavesAPng)
{
    const Run r = example("screenshot.py", {"shot.png"});
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    QFile f(dir->path() + "/shot.png");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8));
}

} // namespace
