// Runs the real program on a simulated board root.
#include <gtest/gtest.h>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QFile>
#include <csignal>
#include "app/ornav72.h"
#include "simboard/simroot.h"

namespace {
QString program() { return QString(ORNAV_BIN_DIR) + "/ornav72"; }

struct ProgramRun {
    QProcess proc;
    QByteArray output;
    bool startedUp = false;
};

void startProgram(ProgramRun& r, const QString& root)
{
    r.proc.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("ORNAV_ROOT");
    r.proc.setProcessEnvironment(env);
    r.proc.start(program(), {"--root", root});
    ASSERT_TRUE(r.proc.waitForStarted(10000));
    for (int i = 0; i < 300 && !r.output.contains("ornav72 running"); ++i) {
        r.proc.waitForReadyRead(100);
        r.output += r.proc.readAll();
        if (r.proc.state() != QProcess::Running)
            break;
    }
    r.startedUp = r.output.contains("ornav72 running");
}
} // namespace

// SIGTERM, with clients busy: ProgramExit (tests/clients). Here: SIGINT.
TEST(ProgramStartup, StartsOnASimulatedRootAndStopsCleanlyOnSigint)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    ProgramRun r;
    startProgram(r, dir.path());
    ASSERT_TRUE(r.startedUp) << r.output.constData();
    EXPECT_TRUE(r.output.contains("running on the simulated board at " + dir.path().toUtf8()));
    EXPECT_TRUE(r.output.contains("read system info :ORNAV46Q;EN;600"));
    // Still up a moment later.
    r.proc.waitForFinished(700);
    ASSERT_EQ(r.proc.state(), QProcess::Running);
    ::kill(pid_t(r.proc.processId()), SIGINT);
    ASSERT_TRUE(r.proc.waitForFinished(15000));
    r.output += r.proc.readAll();
    EXPECT_EQ(r.proc.exitStatus(), QProcess::NormalExit) << r.output.constData();
    EXPECT_EQ(r.proc.exitCode(), 0) << r.output.constData();
    EXPECT_TRUE(r.output.contains("ornav72 stopped"));
}

TEST(ProgramStartup, MissingSerialNumberIsDerivedFromTheSimulatedMac)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    {
        QSettings s(dir.path() + "/home/root/settings.ini", QSettings::IniFormat);
        s.setValue("SN", "");
    }
    QFile mac(dir.path() + "/sys/class/net/eth0/address");
    ASSERT_TRUE(mac.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mac.write("00:00:00:00:01:00\n");
    mac.close();
    ProgramRun r;
    startProgram(r, dir.path());
    ASSERT_TRUE(r.startedUp) << r.output.constData();
    EXPECT_TRUE(r.output.contains("serial Num:256 mac:00:00:00:00:01:00")) << r.output.constData();
    r.proc.terminate();
    ASSERT_TRUE(r.proc.waitForFinished(15000));
    QSettings s(dir.path() + "/home/root/settings.ini", QSettings::IniFormat);
    EXPECT_EQ(s.value("SN").toString(), QString("256"));
}

TEST(SerialNumber, FromMacText)
{
    EXPECT_EQ(Ornav72::serialFromMac("00:00:00:00:01:00"), QString("256"));
    // 0x0a1b2c3d4e5f computed by hand.
    EXPECT_EQ(Ornav72::serialFromMac("0a:1b:2c:3d:4e:5f"), QString::number(0x0a1b2c3d4e5fULL));
    EXPECT_EQ(Ornav72::serialFromMac("ff:ff:ff:ff:ff:ff"), QString("281474976710655"));
    EXPECT_EQ(Ornav72::serialFromMac("00:11:22"), QString("1234567891234"));
    EXPECT_EQ(Ornav72::serialFromMac(""), QString("1234567891234"));
}

TEST(SimulatedRoot, HoldsTheBoardFilesAndKeepsExistingState)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    QFile eeprom(dir.path() + "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom");
    ASSERT_TRUE(eeprom.open(QIODevice::ReadWrite));
    EXPECT_EQ(eeprom.size(), 4536);
    EXPECT_EQ(eeprom.readAll(), QByteArray(4536, '\0'));
    eeprom.seek(10);
    eeprom.write("\x55", 1);
    eeprom.close();
    for (int line : {2, 117, 60, 41})
        EXPECT_TRUE(QFile::exists(dir.path() + QString("/sys/class/gpio/gpio%1/value").arg(line))) << line;
    for (const char* d : {"/home/root", "/media/usbdisk", "/run/media/mmcblk0p1", "/usr/share/ArbWaveLib"})
        EXPECT_TRUE(QFile::exists(dir.path() + d)) << d;
    // Re-initialising keeps what the board stored.
    ASSERT_TRUE(SimRoot::create(dir.path()));
    ASSERT_TRUE(eeprom.open(QIODevice::ReadOnly));
    EXPECT_EQ(eeprom.readAll().at(10), '\x55');
}
