// The system supervision of the real program on a simulated board, driven
// from outside: overload bits set with ornav-sim, the thermometer file, the
// power-key line, the settings file and the shell log;
// the instrument error list read over VXI-11 with pyvisa-py.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include "simboard/simroot.h"
#include "tests/common/instrument_process.h"

namespace {

class SupervisedProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SimRoot::create(dir.path())); }
    void start() { ASSERT_TRUE(program.start({"vxi11_init ok!", "UI start-up done"}, 20000)) << output().constData(); }
    // Reads the program's output until it holds text (at most 20 s).
    bool waitFor(const QByteArray& text, int from = 0) { return program.waitFor(text, 20000, from); }
    const QByteArray& output() { return program.output(); }
    // Lets the program run for ms while collecting its output.
    void runFor(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            program.process().waitForReadyRead(50);
            program.output();
        }
    }
    QString file(const QString& boardPath) const { return dir.path() + boardPath; }
    void writeFile(const QString& boardPath, const QByteArray& text) const
    {
        QDir().mkpath(QFileInfo(file(boardPath)).absolutePath());
        QFile f(file(boardPath));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray readFile(const QString& boardPath) const
    {
        QFile f(file(boardPath));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void setTemperature(const QByteArray& milli) const
    {
        writeFile(SimRoot::kThermometerFile, "90 01 4b 46 7f ff 0c 10 1c t=" + milli + "\n");
    }
    int sim(const QStringList& args, QByteArray* out = nullptr)
    {
        int code = -1;
        const QByteArray o = TestRig::runSim(dir.path(), args, &code);
        if (out)
            *out = o;
        return code;
    }
    // Every code on the error list, newest first, read over VXI-11.
    QList<QByteArray> errorList()
    {
        QList<QByteArray> codes;
        for (const QByteArray& l : TestRig::visaLines("for n in range(10):\n"
                                                      "    e = i.query('SYSTem:ERRor?').strip()\n"
                                                      "    print(e)\n"
                                                      "    if e.startswith('0,'): break\n"))
            codes << l.left(l.indexOf(','));
        return codes;
    }

    QTemporaryDir dir;
    TestRig::InstrumentProcess program {dir.path()};
};

TEST_F(SupervisedProgram, OverloadBitsAndTemperatureReachTheErrorList)
{
    start();
    // One bit of CH2 set: ignored.
    ASSERT_EQ(sim({"poke", "0x81C", "0x04"}), 0);
    runFor(1500);
    EXPECT_FALSE(output().contains("protected!!!"));
    // Both bits of CH1: CH1 is protected and its latch cleared.
    ASSERT_EQ(sim({"poke", "0x81C", "0x07"}), 0);
    ASSERT_TRUE(waitFor("CH1 protected!!!")) << output().constData();
    EXPECT_FALSE(output().contains("CH2 protected!!!"));
    QByteArray log;
    ASSERT_EQ(sim({"log"}, &log), 0);
    EXPECT_TRUE(log.contains("0x0060 01")) << log.constData();
    EXPECT_FALSE(log.contains("0x0160 01")) << log.constData();
    EXPECT_EQ(errorList(), (QList<QByteArray> {"-802", "0"}));

    // Exactly 65.0 °C keeps the outputs; 65.01 °C protects all four.
    const int mark = output().size();
    setTemperature("65000");
    ASSERT_TRUE(waitFor("board temperature 65.00", mark)) << output().constData();
    runFor(600);
    EXPECT_EQ(output().indexOf("protected!!!", mark), -1);
    setTemperature("65010");
    ASSERT_TRUE(waitFor("CH4 protected!!!", mark)) << output().constData();
    EXPECT_EQ(errorList(), (QList<QByteArray> {"-802", "-802", "-802", "-802", "0"}));
    // The same reading on the next ticks reports nothing more.
    runFor(1500);
    EXPECT_EQ(errorList(), QList<QByteArray> {"0"});
}

TEST_F(SupervisedProgram, StaticAddressIsSetWithExactlyTheseCommands)
{
    QSettings(file("/home/root/settings.ini"), QSettings::IniFormat).setValue("IPSetType", 1);
    start();
    ASSERT_TRUE(waitFor("set gatway ip cmd:route add default gw 192.168.1.1")) << output().constData();
    // The log line comes just before the route commands run.
    QElapsedTimer t;
    t.start();
    while (!readFile("/var/log/ornav-shell.log").contains("route add default gw") && t.elapsed() < 20000)
        runFor(50);
    const QByteArray shell = readFile("/var/log/ornav-shell.log");
    EXPECT_TRUE(shell.contains("killall udhcpc\n"
                               "ifconfig eth0 192.168.1.10 255.255.255.0\n"
                               "route del default\n"
                               "route del default\n"
                               "route add default gw 192.168.1.1\n"))
        << shell.constData();
    EXPECT_FALSE(shell.contains("udhcpc&"));
}

TEST_F(SupervisedProgram, ScreenSaverBlanksAfterTheSetIdleTime)
{
    start();
    // The factory setting blanks after 30 idle minutes.
    writeFile("/var/run/ornav-uptime-offset", QByteArray::number(29 * 60 * 1000));
    // The tick writes the blanking state; on a busy machine its first
    // write may take a while. Once written, it must stay unblanked.
    QElapsedTimer first;
    first.start();
    while (readFile("/sys/class/graphics/fb0/blank") != "0\n" && first.elapsed() < 10000)
        runFor(100);
    runFor(1500);
    EXPECT_EQ(readFile("/sys/class/graphics/fb0/blank"), QByteArray("0\n"));
    writeFile("/var/run/ornav-uptime-offset", QByteArray::number(31 * 60 * 1000));
    QElapsedTimer t;
    t.start();
    while (readFile("/sys/class/graphics/fb0/blank") != "1\n" && t.elapsed() < 20000)
        runFor(100);
    EXPECT_EQ(readFile("/sys/class/graphics/fb0/blank"), QByteArray("1\n"));
    EXPECT_FALSE(readFile("/var/log/ornav-shell.log").contains("blank"));
}

TEST_F(SupervisedProgram, PowerKeyHeldShutsDownCleanly)
{
    start();
    writeFile("/sys/class/gpio/gpio2/value", "0\n");
    // Held over several ticks; the supply is cut once the key is let go.
    runFor(2000);
    EXPECT_EQ(program.process().state(), QProcess::Running);
    writeFile("/sys/class/gpio/gpio2/value", "1\n");
    ASSERT_TRUE(program.process().waitForFinished(15000));
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << output().constData();
    EXPECT_EQ(program.process().exitCode(), 0) << output().constData();
    EXPECT_TRUE(readFile("/var/log/ornav-shell.log").endsWith("umount -a -r\nsync\nsleep 1\n"))
        << readFile("/var/log/ornav-shell.log").constData();
    EXPECT_EQ(readFile("/sys/class/gpio/gpio117/value").trimmed(), QByteArray("1"));
}

} // namespace
