// The front panel of the real program on a simulated board: key events
// injected into the simulated FPGA with "ornav-sim key", keys, locks and
// touches sent over VXI-11 by pyvisa-py, and what a user would see change
// read back from the FPGA registers, the write log and the board root.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include "simboard/simroot.h"
#include "tests/common/instrument_process.h"

namespace {

QString bin(const char* name) { return TestRig::buildPath(name); }

// Scan codes of the panel (bit 7 set = pressed).
const int kSine = 21, kSquare = 31, kUtility = 65, kOk = 5, kUp = 122, kCh1 = 71;
const int kPressed = 0x80;
// Generator codes in the channel's REG_BASE_WAVE: in continuous mode the
// square comes from the pulse generator.
const int kGenSine = 0, kGenSquare = 1, kGenTriangle = 6;

class FrontPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        // Remote control up and the key reader listening to the FPGA.
        ASSERT_TRUE(program.start({"vxi11_init ok!", "key reader ready"})) << program.output().constData();
        // The scanning thread starts polling one second after start-up.
        QThread::msleep(1200);
    }
    QByteArray sim(const QStringList& args, int* status = nullptr) { return TestRig::runSim(dir.path(), args, status); }
    void key(int code) { ASSERT_EQ(simStatus({"key", QString::number(code)}), 0); }
    int simStatus(const QStringList& args)
    {
        int s = -1;
        sim(args, &s);
        return s;
    }
    // A press and its release, as the expander reports a short tap.
    void tap(int scan)
    {
        key(scan | kPressed);
        key(scan);
        settleKeys();
    }
    // Long enough for the scanner (10 ms polls), the key thread and the
    // controller to have handled what was queued.
    static void settleKeys() { QThread::msleep(300); }
    // An output that is off parks the channel at DC: the CH1 key on its own
    // page switches the output on, so the registers show the waveform.
    // The start-up apply of the stored settings belongs to another part of
    // the program; choosing sine builds channel 1's parameter list.
    void outputOn()
    {
        tap(kCh1);
        ASSERT_EQ(regBecomes(0x61, 1), 1);
        sim({"log", "--clear"});
        tap(kSine);
        ASSERT_TRUE(written("0x0001 00")); // the sine applied
    }
    // Reads until done(reading) or 5 s have passed (a busy machine may take
    // longer than settleKeys()); the last reading.
    template <class Read, class Done>
    static auto poll(Read read, Done done)
    {
        auto v = read();
        for (int i = 0; i < 50 && !done(v); ++i) {
            QThread::msleep(100);
            v = read();
        }
        return v;
    }
    bool written(const QByteArray& line)
    {
        return poll([&] { return sim({"log"}); }, [&](const QByteArray& log) { return log.contains(line); })
            .contains(line);
    }
    QStringList scpiBecomes(const QString& query, const QString& value)
    {
        return poll([&] { return scpi({query}); }, [&](const QStringList& r) { return r == QStringList {value}; });
    }
    int reg(unsigned address) { return sim({"peek", QString::number(address)}).trimmed().toInt(nullptr, 16); }
    int regBecomes(unsigned address, int value)
    {
        return poll([&] { return reg(address); }, [&](int v) { return v == value; });
    }
    double frequencyBecomes(double f)
    {
        return poll([&] { return ch1Frequency(); }, [&](double v) { return std::fabs(v - f) <= 1e-6; });
    }
    double ch1Frequency()
    {
        const QList<QByteArray> bytes = sim({"peek", "3", "8"}).trimmed().split(' ');
        double inc = 0;
        for (int i = bytes.size() - 1; i >= 0; --i)
            inc = inc * 256 + bytes[i].toInt(nullptr, 16);
        return inc * 3.125e8 / 9223372036854775808.0;
    }
    // Buzzer settings written since the log was last cleared (8 key beep, 10 warning).
    QList<int> buzzer()
    {
        QList<int> out;
        for (const QByteArray& line : sim({"log", "--clear"}).split('\n'))
            if (line.startsWith("0x0700 "))
                out << line.mid(7).trimmed().toInt(nullptr, 16);
        return out;
    }

    // Runs SCPI lines through pyvisa-py; a line with '?' is a query whose
    // reply becomes one output line. The closing *OPC? returns once
    // everything sent before it has been carried out.
    QStringList scpi(const QStringList& lines)
    {
        QString body;
        for (const QString& l : lines) {
            const QString quoted = "'" + QString(l).replace("'", "\\'") + "'";
            body += l.contains('?') ? "print(i.query(" + quoted + ").rstrip('\\r\\n'))\n" : "i.write(" + quoted + ")\n";
        }
        const QString out = QString::fromLatin1(TestRig::runPython(TestRig::visaScript(body + "i.query('*OPC?')\n")));
        return out.split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    TestRig::InstrumentProcess program {dir.path()};
};

TEST_F(FrontPanel, WaveKeysFromThePanelAndOverVxi11SwitchTheGenerator)
{
    outputOn();
    ASSERT_EQ(reg(0x01), kGenSine);
    tap(kSquare);
    EXPECT_EQ(regBecomes(0x01, kGenSquare), kGenSquare);
    // A change from the panel reaches the next query, no remote command
    // in between.
    EXPECT_EQ(scpi({"KEY:SQUare:LED?"}), QStringList {"1"});
    scpi({"KEY:RAMP"});
    settleKeys();
    EXPECT_EQ(regBecomes(0x01, kGenTriangle), kGenTriangle);
    tap(kSine);
    EXPECT_EQ(regBecomes(0x01, kGenSine), kGenSine);
    // A scan code that is not on the panel changes nothing.
    tap(0x30);
    EXPECT_EQ(reg(0x01), kGenSine);
}

TEST_F(FrontPanel, KnobStepsMergeAndStepTheFocusedDigit)
{
    outputOn();
    ASSERT_NEAR(ch1Frequency(), 1000.0, 1e-6);
    tap(kOk); // the parameter list takes the focus
    tap(kOk); // the frequency entry takes the keys (leading digit, 10^3)
    // Three knob steps in a burst: the reader hands them on merged.
    for (int i = 0; i < 3; ++i)
        key(kUp | kPressed);
    settleKeys();
    EXPECT_NEAR(frequencyBecomes(4000.0), 4000.0, 1e-6);
}

TEST_F(FrontPanel, LockedKeyWarnsAndChangesNothing)
{
    outputOn();
    QStringList r = scpi({"KEY:SINe:LOCK ON", "KEY:LOCK?", "KEY:SQUare:LOCK ON", "KEY:SQUare:LOCK?"});
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0], QString("0000100000000000000000000000000000000"));
    EXPECT_EQ(r[0].size(), 37);
    EXPECT_EQ(r[1], QString("1"));
    buzzer();
    tap(kSquare);
    EXPECT_EQ(reg(0x01), kGenSine); // still sine
    EXPECT_EQ(buzzer(), QList<int> {10});
    // Unlocked again, the same key acts without a warning.
    scpi({"KEY:SQUare:LOCK OFF", "KEY:SQUare:LOCK?"});
    buzzer();
    tap(kSquare);
    EXPECT_EQ(regBecomes(0x01, kGenSquare), kGenSquare);
    EXPECT_FALSE(buzzer().contains(10));
}

TEST_F(FrontPanel, OkHeldCapturesTheScreenToTheUsbDiskAndIsNoOk)
{
    outputOn();
    tap(kOk); // the parameter list takes the focus
    key(kOk | kPressed);
    QThread::msleep(900);
    key(kOk);
    settleKeys();
    QDir captures(dir.path() + "/media/usbdisk/ORNAV96T");
    QStringList files;
    for (int i = 0; i < 50 && files.isEmpty(); ++i) {
        QThread::msleep(100);
        files = captures.entryList({"screenshot*"}, QDir::Files);
    }
    ASSERT_EQ(files, QStringList {"screenshot1.bmp"});
    QFile f(captures.filePath(files[0]));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));
    EXPECT_GT(f.size(), 1280 * 800);
    // The release gave no OK: the knob still moves in the list instead of
    // stepping the frequency.
    key(kUp | kPressed);
    settleKeys();
    EXPECT_NEAR(ch1Frequency(), 1000.0, 1e-6);
    // A short OK does take the entry.
    tap(kOk);
    key(kUp | kPressed);
    settleKeys();
    EXPECT_NEAR(frequencyBecomes(2000.0), 2000.0, 1e-6);
}

// The panel locked by "SYSTem:LOCK ON": a key warns and changes nothing, and
// UTILITY gives the panel back; after any "KEY:...:LOCK" command it no longer
// does.
TEST_F(FrontPanel, UtilityReleasesTheRemoteLockUnlessAKeyLockCommandCame)
{
    outputOn();
    ASSERT_EQ(scpi({"SYSTem:LOCK ON", "SYSTem:LOCK?"}), QStringList {"1"});
    buzzer();
    tap(kSquare);
    EXPECT_EQ(reg(0x01), kGenSine);
    EXPECT_EQ(buzzer(), QList<int> {10});
    tap(kUtility);
    EXPECT_EQ(scpiBecomes("SYSTem:LOCK?", "0"), QStringList {"0"});
    tap(kSquare);
    EXPECT_EQ(regBecomes(0x01, kGenSquare), kGenSquare);

    ASSERT_EQ(scpi({"KEY:NUM0:LOCK?", "SYSTem:LOCK ON"}), QStringList {"0"});
    tap(kUtility);
    tap(kSine);
    EXPECT_EQ(scpi({"SYSTem:LOCK?"}), QStringList {"1"});
    EXPECT_EQ(reg(0x01), kGenSquare);
}

TEST_F(FrontPanel, RemoteTouchWritesClampedEventsAndPressesTheScreen)
{
    // Without a y position nothing is touched, and that is no error.
    EXPECT_EQ(scpi({"MOUSE DOWN,5", "SYSTem:ERRor?"}), QStringList {"0,\"No error\""});
    QFile dev(dir.path() + "/dev/input/event0");
    EXPECT_EQ(dev.size(), 0);
    scpi({"MOUSE DOWN,0,0", "MOUSE UP,0,0"});
    ASSERT_TRUE(dev.open(QIODevice::ReadOnly));
    const QByteArray all = dev.readAll();
    const int size = 24; // struct input_event on this machine
    ASSERT_EQ(all.size(), 12 * size);
    struct E {
        int type, code, value;
    };
    auto at = [&](int i) {
        const char* p = all.constData() + i * size + 16;
        E e;
        e.type = uint8_t(p[0]) | uint8_t(p[1]) << 8;
        e.code = uint8_t(p[2]) | uint8_t(p[3]) << 8;
        e.value = int32_t(uint32_t(uint8_t(p[4])) | uint32_t(uint8_t(p[5])) << 8 | uint32_t(uint8_t(p[6])) << 16 |
                          uint32_t(uint8_t(p[7])) << 24);
        return e;
    };
    // Press: tracking id 1, X 799, Y 1279, touch 2, width 2, BTN_TOUCH 1, ABS_X, ABS_Y, report;
    // release: tracking id -1, BTN_TOUCH 0, report.
    const E want[12] = {{3, 0x39, 1},   {3, 0x35, 799},  {3, 0x36, 1279}, {3, 0x30, 2},  {3, 0x32, 2},  {1, 0x14a, 1},
                        {3, 0x00, 799}, {3, 0x01, 1279}, {0, 0, 0},       {3, 0x39, -1}, {1, 0x14a, 0}, {0, 0, 0}};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(QList<int>({at(i).type, at(i).code, at(i).value}),
                  QList<int>({want[i].type, want[i].code, want[i].value}))
            << "event " << i;
    // A tap on channel 1's output button switches the output on.
    ASSERT_EQ(scpi({"KEY:CH1:LED?"}), QStringList {"0"});
    scpi({"MOUSE DOWN,1175,130", "MOUSE UP,1175,130"});
    QThread::msleep(500);
    EXPECT_EQ(scpi({"KEY:CH1:LED?"}), QStringList {"1"});
    EXPECT_EQ(regBecomes(0x61, 1), 1);
}

TEST_F(FrontPanel, AFloodOfKeyEventsLeavesTheInstrumentAnswering)
{
    auto rss = [this]() {
        QFile f(QString("/proc/%1/status").arg(program.process().processId()));
        if (!f.open(QIODevice::ReadOnly))
            return -1L;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        return -1L;
    };
    const long before = rss();
    ASSERT_GT(before, 0);
    // 1,000 events (ORNAV_FLOOD_KEYS for the endurance form of 10,000) from a
    // shell loop while a client keeps asking *IDN?.
    const int pairs =
        (qEnvironmentVariableIsSet("ORNAV_FLOOD_KEYS") ? qEnvironmentVariableIntValue("ORNAV_FLOOD_KEYS") : 1000) / 2;
    QProcess flood;
    flood.start("/bin/sh",
                {"-c",
                 QString("i=0; while [ $i -lt %3 ]; do \"%1\" --root \"%2\" key 0xfa; "
                         "\"%1\" --root \"%2\" key 0x7a; i=$((i+1)); done")
                     .arg(bin("tools/ornav-sim"), dir.path())
                     .arg(pairs)});
    ASSERT_TRUE(flood.waitForStarted());
    int answered = 0;
    while (!flood.waitForFinished(2000)) {
        const QStringList r = scpi({"*IDN?"});
        ASSERT_EQ(r.size(), 1);
        EXPECT_TRUE(r[0].startsWith("VELTRIX Technologies,")) << qPrintable(r[0]);
        ++answered;
    }
    EXPECT_EQ(flood.exitCode(), 0);
    EXPECT_GT(answered, 0);
    ASSERT_EQ(program.process().state(), QProcess::Running);
    EXPECT_EQ(scpi({"*IDN?"}).size(), 1);
    EXPECT_LT(rss() - before, 20 * 1024L); // kB
}

} // namespace
