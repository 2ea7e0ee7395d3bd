// The system tick in the controller: output protection, temperature, screen
// saver, power key, USB disk, the factory interval and last-state saving.
#include "tests/supervision/supervision_fixture.h"
#include <QFileInfo>
#include <cstddef>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "param/sysparm.h"

namespace {
const unsigned kSafeStatus = 0x81C;
const unsigned kOutput = 0x61;  // per-channel output relay
const unsigned kSafeClr = 0x60; // per-channel overload latch clear
const qint64 kMinute = 60 * 1000;
const char kBlank[] = "/sys/class/graphics/fb0/blank";
const char kPowerKey[] = "/sys/class/gpio/gpio2/value";
} // namespace

// The bits, the latch clear and the error list of the running program:
// SupervisedProgram.OverloadBitsAndTemperatureReachTheErrorList. Here: the
// relay and the state of the protected channel and of its partner.
TEST_F(SupervisionTest, BothOverloadBitsOfAChannelOpenItsRelayOnly)
{
    start();
    switchOn(CH1);
    switchOn(CH2);
    ASSERT_EQ(chValue(0, kOutput, 1), 1u);
    fpga().clearWrites();
    fpga().poke(kSafeStatus, QByteArray(1, char(0x03)));
    tick();
    EXPECT_FALSE(on(CH1));
    EXPECT_EQ(chValue(0, kOutput, 1), 0u);
    EXPECT_TRUE(on(CH2));
    EXPECT_TRUE(chWrites(1, kOutput).isEmpty());
    EXPECT_TRUE(ctrl->channelAt(CH1)->safeOff);
    EXPECT_TRUE(calls().contains("tips 2 1 CH1:")) << calls().join('\n').toStdString();
}

TEST_F(SupervisionTest, OverloadOfASyncOutputChannelSwitchesItsSourceOff)
{
    start();
    switchOn(CH2);
    ctrl->channelAt(CH4)->alterfun = CHANNEL_ALTERFUN_SYNCOUT;
    fpga().poke(kSafeStatus, QByteArray(1, char(0xC0)));
    tick();
    EXPECT_FALSE(on(CH2));
    EXPECT_EQ(chValue(1, kOutput, 1), 0u);
    EXPECT_EQ(errors(), QList<int> {-802});
    EXPECT_TRUE(calls().contains("tips 2 1 CH4:"));
}

TEST_F(SupervisionTest, OverloadOfTheDigitalOutputChannelSwitchesTheDigitalOutputOff)
{
    start();
    ctrl->channelAt(CH3)->alterfun = CHANNEL_ALTERFUN_DIGITAL;
    sys_param::digitalSW = true;
    fpga().poke(kSafeStatus, QByteArray(1, char(0x30)));
    tick();
    EXPECT_FALSE(sys_param::digitalSW);
    EXPECT_EQ(errors(), QList<int> {-802});
    EXPECT_TRUE(calls().contains("tips 2 1 CH3:")) << calls().join('\n').toStdString();
    // Already off: listed again, but nothing to switch and no message.
    clearCalls();
    fpga().poke(kSafeStatus, QByteArray(1, char(0x30)));
    tick();
    EXPECT_EQ(errors(), QList<int> {-802});
    EXPECT_TRUE(calls().filter("tips 2").isEmpty());
    ctrl->channelAt(CH3)->alterfun = CHANNEL_ALTERFUN_CLOSED;
}

TEST_F(SupervisionTest, ScreenSaverBlanksAfterWholeIdleMinutesAndActivityWakesIt)
{
    start();
    sys_param::HWinfo.Screensaver = 1;
    ctrl->clrSavescreen();
    const qint64 t0 = supervision::now();
    supervision::now() = t0 + 4 * kMinute + 59 * 1000;
    tick();
    EXPECT_FALSE(ctrl->screenSaved());
    EXPECT_EQ(readFile(kBlank), QByteArray("0\n"));

    supervision::now() = t0 + 5 * kMinute;
    tick();
    EXPECT_TRUE(ctrl->screenSaved());
    EXPECT_EQ(readFile(kBlank), QByteArray("1\n"));
    EXPECT_TRUE(calls().contains("screensave true"));

    // A key beep or a remote parameter command records the activity.
    EXPECT_TRUE(ctrl->clrSavescreen());
    tick();
    EXPECT_FALSE(ctrl->screenSaved());
    EXPECT_EQ(readFile(kBlank), QByteArray("0\n"));

    // Setting 4: an hour.
    sys_param::HWinfo.Screensaver = 4;
    const qint64 t1 = supervision::now();
    supervision::now() = t1 + 59 * kMinute + 59 * 1000;
    tick();
    EXPECT_FALSE(ctrl->screenSaved());
    supervision::now() = t1 + 60 * kMinute;
    tick();
    EXPECT_TRUE(ctrl->screenSaved());

    // Setting 0 leaves the display as it is.
    sys_param::HWinfo.Screensaver = 0;
    ctrl->clrSavescreen();
    tick();
    EXPECT_EQ(readFile(kBlank), QByteArray("1\n"));
    // Blank and back-light are written directly, never through the shell.
    for (const QString& c : ShellRunner::recorded())
        EXPECT_FALSE(c.contains("blank") || c.contains("brightness")) << c.toStdString();
}

TEST_F(SupervisionTest, PowerKeyForOneTickOnlyWakesTheScreen)
{
    start();
    sys_param::HWinfo.Screensaver = 1;
    supervision::now() += 6 * kMinute;
    tick();
    ASSERT_TRUE(ctrl->screenSaved());
    writeFile(kPowerKey, "0\n");
    tick();
    EXPECT_FALSE(ctrl->screenSaved());
    EXPECT_EQ(readFile(kBlank), QByteArray("0\n"));
    writeFile(kPowerKey, "1\n");
    tick();
    EXPECT_TRUE(ShellRunner::recorded().isEmpty()) << ShellRunner::recorded().join('\n').toStdString();
    EXPECT_EQ(readFile("/sys/class/gpio/gpio117/value").trimmed(), QByteArray("0"));
}

// The folder name in any letter case, and the file browser closing with the
// disk.
TEST_F(SupervisionTest, UpgradeQuestionOpensForAPackageAndClosesWithTheDisk)
{
    QDir(file("/media/usbdisk")).removeRecursively();
    start();
    // A disk without a package asks nothing, and its removal closes nothing.
    writeFile("/media/usbdisk/photos/a.txt", "x");
    tick();
    ASSERT_TRUE(ctrl->supervision().usbDiskPresent());
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_NONE);
    ASSERT_TRUE(QDir(file("/media/usbdisk")).removeRecursively());
    tick();
    EXPECT_TRUE(calls().filter("info").isEmpty()) << calls().join('\n').toStdString();

    writeFile("/media/usbdisk/ornav96t_V2.1/update.uas", "package");
    tick();
    EXPECT_TRUE(calls().contains("info askWindow 1")) << calls().join('\n').toStdString();
    EXPECT_EQ(ctrl->upgradePackage().folder(), QString("/media/usbdisk/ornav96t_V2.1"));
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_UPGTADE);
    sys_param::storagePlace[CH1] = 2;
    ASSERT_TRUE(QDir(file("/media/usbdisk")).removeRecursively());
    tick();
    EXPECT_TRUE(calls().contains("info closed 0")) << calls().join('\n').toStdString();
    EXPECT_TRUE(calls().contains("hidefouce"));
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_NONE);
    sys_param::storagePlace[CH1] = 0;
}

TEST_F(SupervisionTest, UpgradePackageIsNeverFoundThroughALink)
{
    QTemporaryDir outside;
    QDir().mkpath(outside.path() + "/ORNAV96T_X");
    QFile pkg(outside.path() + "/ORNAV96T_X/update.uas");
    ASSERT_TRUE(pkg.open(QIODevice::WriteOnly));
    pkg.close();
    ASSERT_TRUE(QFile::link(outside.path() + "/ORNAV96T_X", file("/media/usbdisk/ORNAV96T_LINK")));
    QDir().mkpath(file("/media/usbdisk/ORNAV96T_FILE"));
    ASSERT_TRUE(QFile::link(pkg.fileName(), file("/media/usbdisk/ORNAV96T_FILE/update.uas")));
    start(false);
    EXPECT_FALSE(ctrl->haveUpgradefile());
    EXPECT_TRUE(ctrl->upgradePackage().folder().isEmpty());
    writeFile("/media/usbdisk/ORNAV96T_REAL/update.uas", "package");
    EXPECT_TRUE(ctrl->haveUpgradefile());
    EXPECT_EQ(ctrl->upgradePackage().folder(), QString("/media/usbdisk/ORNAV96T_REAL"));
}

TEST_F(SupervisionTest, FactoryIntervalRunsOnlyTheProtectionPoll)
{
    start();
    switchOn(CH1);
    switchOn(CH2);
    emit ctrl->cmdSetTimer(10);
    emit ctrl->cmdStopTimer();
    setTemperature("70000");
    QDir(file("/media/usbdisk")).removeRecursively();
    tick();
    EXPECT_TRUE(on(CH1));
    EXPECT_FLOAT_EQ(CSetParam::state.boardtemp, 25.0f);
    EXPECT_TRUE(ctrl->supervision().usbDiskPresent());
    fpga().poke(kSafeStatus, QByteArray(1, char(0x0C)));
    tick();
    EXPECT_TRUE(on(CH1));
    EXPECT_FALSE(on(CH2));

    emit ctrl->cmdSetTimer(500);
    emit ctrl->cmdStopTimer();
    tick();
    EXPECT_FALSE(on(CH1));
    EXPECT_FALSE(ctrl->supervision().usbDiskPresent());
}

TEST_F(SupervisionTest, LastStateSavesOnlyChangedBytesAndSurvivesARestart)
{
    const QString eeprom = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom";
    setting("powerUpValue", 1);
    start();
    ASSERT_EQ(ctrl->sysParm()->powerUpSet, 1);
    const QByteArray before = readFile(eeprom);
    ctrl->sysParm()->resetWriteLog();

    // A remote setter's request, as the SCPI handler emits it.
    emit ctrl->setValueCmd(CH1, PARAM_INDEX_FREQ, 12345.0);
    settle();
    ASSERT_DOUBLE_EQ(sys_param::HWinfo.PDT[0].Frequency, 12345.0);
    tick();
    const QByteArray after = readFile(eeprom);
    ASSERT_EQ(after.size(), before.size());
    // The frequency and the period derived from it (two doubles in a row).
    const int freqAt = int(offsetof(HardWareInfo, PDT) + offsetof(CH_DATA, Frequency));
    static_assert(offsetof(CH_DATA, Period) == offsetof(CH_DATA, Frequency) + 8, "period follows frequency");
    int changed = 0;
    for (int i = 0; i < after.size(); ++i) {
        if (after[i] == before[i])
            continue;
        ++changed;
        const bool inFreq = i >= freqAt && i < freqAt + 16;
        const bool inCrc = i < 4;
        EXPECT_TRUE(inFreq || inCrc) << "byte " << i;
    }
    EXPECT_GT(changed, 0);
    for (int off : ctrl->sysParm()->eepromByteOffsets())
        EXPECT_TRUE((off >= freqAt && off < freqAt + 16) || off < 4) << off;
    // Nothing changed: nothing written, not even the shadow copy.
    ctrl->sysParm()->resetWriteLog();
    ASSERT_TRUE(QFile::remove(file(SysParm::kShadowPath)));
    tick();
    EXPECT_EQ(ctrl->sysParm()->eepromWrites(), 0);
    EXPECT_FALSE(QFile::exists(file(SysParm::kShadowPath)));

    // Restart: the live record is forgotten, the EEPROM gives it back.
    delete ctrl;
    ctrl = nullptr;
    delete root;
    root = nullptr;
    CSetParam::CloseDevice();
    sys_param::HWinfo.PDT[0].Frequency = 1.0;
    start(false);
    EXPECT_DOUBLE_EQ(sys_param::HWinfo.PDT[0].Frequency, 12345.0);
}

TEST_F(SupervisionTest, FactoryPowerUpChoiceSavesNothing)
{
    const QString eeprom = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom";
    start();
    ASSERT_EQ(ctrl->sysParm()->powerUpSet, 0);
    const QByteArray before = readFile(eeprom);
    emit ctrl->setValueCmd(CH1, PARAM_INDEX_FREQ, 2345.0);
    settle();
    tick();
    EXPECT_EQ(readFile(eeprom), before);
}

TEST_F(SupervisionTest, StartUpDeviceCheckListsWhatIsMissing)
{
    QFile::remove(file("/dev/mmcblk0"));
    QFile::remove(file("/dev/input/event0"));
    start(false);
    EXPECT_TRUE(startCalls.contains("powerinfo ERROR!\nTouch  :no found\nTF card:no found\n8"))
        << startCalls.join('|').toStdString();
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_POWERUPINFO);
}

TEST_F(SupervisionTest, StartUpDeviceCheckIsQuietOnACompleteBoard)
{
    start(false);
    EXPECT_TRUE(startCalls.filter("powerinfo").isEmpty()) << startCalls.join('|').toStdString();
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_NONE);
}

TEST_F(SupervisionTest, BrightnessSettingGoesToTheBacklightFile)
{
    start();
    const char* level = "/sys/devices/platform/backlight/backlight/backlight/brightness";
    ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSBACKLIGHT)->SetValue(2, 0);
    settle();
    EXPECT_EQ(readFile(level), QByteArray("3\n"));
    writeFile(level, "x");
    // The same level again is not written.
    ctrl->brightnessChanged();
    EXPECT_EQ(readFile(level), QByteArray("x"));
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());
}
