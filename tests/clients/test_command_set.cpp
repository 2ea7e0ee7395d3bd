// The command set end to end: the real program on a fresh simulated board,
// driven over VXI-11 by pyvisa-py with the table of scpi_rows.py (one test
// per group of rows), and the start-up with a stored record.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "simboard/simroot.h"
#include "tests/common/instrument_process.h"

namespace {

QString bin(const char* name) { return TestRig::buildPath(name); }
QString script() { return QString(ORNAV_SOURCE_DIR) + "/tests/clients/scpi_rows.py"; }
const char kEeprom[] = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom";

// Serving once the screens are up and the stored settings queued.
const QList<QByteArray> kReady = {"ornav72 running", "vxi11_init ok!"};

QByteArray run(const QString& program, const QStringList& args, int* exitCode)
{
    return TestRig::runProgram(program, args, exitCode, 240000, true);
}

class CommandSet : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SimRoot::create(dir.path())); }

    // Runs one group of the table against a fresh instrument; every case of
    // the group must pass.
    void group(const char* name)
    {
        TestRig::InstrumentProcess inst(dir.path());
        ASSERT_TRUE(inst.start(kReady)) << inst.output().constData();
        int code = 0;
        const QByteArray out = run("/usr/bin/python3", {script(), dir.path(), bin("tools/ornav-sim"), name}, &code);
        EXPECT_EQ(code, 0) << out.constData() << "\ninstrument:\n" << inst.output().constData();
        EXPECT_FALSE(out.contains("FAIL")) << out.constData();
        EXPECT_TRUE(out.contains("ok ")) << out.constData();
    }

    QByteArray peek(unsigned address, int count)
    {
        int code = 0;
        const QByteArray out =
            TestRig::runSim(dir.path(), {"peek", QString::number(address), QString::number(count)}, &code);
        EXPECT_EQ(code, 0);
        return out.trimmed();
    }

    QTemporaryDir dir;
};

TEST_F(CommandSet, SystemRows) { group("system"); }
TEST_F(CommandSet, ChannelOutputRows) { group("output"); }
TEST_F(CommandSet, BaseWaveRows) { group("base"); }
TEST_F(CommandSet, ModeRows) { group("modes"); }
TEST_F(CommandSet, CouplingAndMergeRows) { group("couple"); }
TEST_F(CommandSet, RefusedCommandsChangeNothing) { group("refused"); }
TEST_F(CommandSet, StatusAndCommonRows) { group("status"); }
TEST_F(CommandSet, RecordBlockResetAndDataTransfer) { group("config"); }
TEST_F(CommandSet, ResetRederivesMasksAndLimitsFromTheNewRecord) { group("reset"); }
TEST_F(CommandSet, AmplitudeFiguresFollowTheWaveformAndLoad) { group("amplitude"); }
// Back-to-back settings applied in order with their side effects, and
// "*OPC?" answering only once the registers hold the result.
TEST_F(CommandSet, BackToBackSettingsApplyInOrder)
{
    // With the wave library in place: hundreds of resets load its files.
    int code = 0;
    TestRig::runSim(dir.path(), {"init"}, &code);
    ASSERT_EQ(code, 0);
    group("road");
}

// A record stored as the last state comes back after a restart, and the
// start-up brings every channel's registers to it: the same registers as
// when each channel is entered again by hand.
TEST_F(CommandSet, StoredSettingsReachTheHardwareAtStart)
{
    const QString fetch =
        "import sys\n"
        "for c in ['CHANnel1:BASe:FREQuency 1234', 'CHANnel2:BASe:WAVe SQUare', 'CHANnel3:BASe:AMPLitude 2',\n"
        "          'CHANnel4:LOAD 50']:\n"
        "    i.write(c)\n"
        "data = bytes(i.query_binary_values('SYSTem:CONFigure?', datatype='B', container=bytes))\n"
        "open(sys.argv[1], 'wb').write(data)\n"
        "print(i.query('SYSTem:ERRor?').strip())\n";
    const QString image = dir.path() + "/record.bin";
    {
        TestRig::InstrumentProcess first(dir.path());
        ASSERT_TRUE(first.start(kReady)) << first.output().constData();
        ASSERT_EQ(TestRig::visaLines(fetch, {image}), QList<QByteArray> {"0,\"No error\""});
    }
    // The record becomes the EEPROM's last state, chosen for power-up.
    QFile rec(image);
    ASSERT_TRUE(rec.open(QIODevice::ReadOnly));
    const QByteArray bytes = rec.readAll();
    ASSERT_EQ(bytes.size(), 4536);
    QFile eeprom(dir.path() + kEeprom);
    ASSERT_TRUE(eeprom.open(QIODevice::WriteOnly));
    ASSERT_EQ(eeprom.write(bytes), 4536);
    eeprom.close();
    QFile ini(dir.path() + "/home/root/settings.ini");
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("powerUpValue=1\n");
    ini.close();

    TestRig::InstrumentProcess second(dir.path());
    ASSERT_TRUE(second.start(kReady)) << second.output().constData();
    // Outputs always start switched off.
    EXPECT_EQ(TestRig::visaLines("i.write('SYSTem:BEEP ON')\n" // waits for what the start-up queued
                                 "print(i.query('CHANnel1:BASe:FREQuency?').strip())\n"
                                 "print(i.query('CHANnel2:BASe:WAVe?').strip())\n"
                                 "print(i.query('CHANnel4:LOAD?').strip())\n"
                                 "print(i.query('CHANnel1:OUTPut?').strip())\n"),
              (QList<QByteArray> {"1.234000e+03", "SQUare", "50", "0"}))
        << second.output().constData();

    // Every channel block was written at start: not the all-zero power-on
    // state of the FPGA, relay open, and what a re-entry of each channel
    // writes is what is already there.
    QByteArrayList zero;
    for (int k = 0; k < 0x90; ++k)
        zero << "00";
    QList<QByteArray> atStart;
    for (int ch = 0; ch < 4; ++ch) {
        atStart << peek(unsigned(ch) * 0x100, 0x90);
        EXPECT_NE(atStart.last(), zero.join(' ')) << "CH" << ch + 1;
        EXPECT_EQ(peek(unsigned(ch) * 0x100 + 0x61, 1), QByteArray("00")) << "CH" << ch + 1;
    }
    EXPECT_EQ(TestRig::visaLines("for n in range(1, 5):\n"
                                 "    i.write('CHANnel%d:OUTPut OFF' % n)\n"
                                 "print(i.query('SYSTem:ERRor?').strip())\n"),
              QList<QByteArray> {"0,\"No error\""});
    for (int ch = 0; ch < 4; ++ch)
        EXPECT_EQ(peek(unsigned(ch) * 0x100, 0x90), atStart[ch]) << "CH" << ch + 1;
}

} // namespace
