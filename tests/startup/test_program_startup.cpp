// Runs the real program on a simulated board root.
#include <gtest/gtest.h>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QFile>
#include <csignal>
#include "app/ornav72.h"
#include "simboard/simroot.h"
#include "tests/common/instrument_process.h"

// SIGTERM, with clients busy: ProgramExit (tests/clients). Here: SIGINT.
TEST(ProgramStartup, StartsOnASimulatedRootAndStopsCleanlyOnSigint)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    TestRig::InstrumentProcess p(dir.path());
    ASSERT_TRUE(p.start({"ornav72 running"})) << p.output().constData();
    EXPECT_TRUE(p.output().contains("running on the simulated board at " + dir.path().toUtf8()));
    EXPECT_TRUE(p.output().contains("read system info :ORNAV46Q;EN;600"));
    // Still up a moment later.
    p.process().waitForFinished(700);
    ASSERT_TRUE(p.running());
    ::kill(pid_t(p.process().processId()), SIGINT);
    ASSERT_TRUE(p.process().waitForFinished(15000));
    EXPECT_EQ(p.process().exitStatus(), QProcess::NormalExit) << p.output().constData();
    EXPECT_EQ(p.process().exitCode(), 0) << p.output().constData();
    EXPECT_TRUE(p.output().contains("ornav72 stopped"));
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
    TestRig::InstrumentProcess p(dir.path());
    ASSERT_TRUE(p.start({"ornav72 running"})) << p.output().constData();
    EXPECT_TRUE(p.output().contains("serial Num:256 mac:00:00:00:00:01:00")) << p.output().constData();
    ASSERT_TRUE(p.stop());
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
