// The controller's routing of keys against the stand-in screens (main.qml):
// refused keys, beeps, screen-saver wake, remote lock, long press, help page,
// overview, ask dialog, channel page and the model-key path.
#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QSignalSpy>
#include <QThread>
#include "hardware/ckeyqthread.h"
#include "tests/selection/selection_fixture.h"

class KeyDispatch : public Selection {
protected:
    void SetUp() override
    {
        pc_lock = false;
        keyLockRemoteMode = false;
        Selection::SetUp();
        // The key reader sets up the expanders first (LED and key port
        // writes); what the tests count starts after that.
        ASSERT_NE(ctrl->keyReader(), nullptr);
        for (int i = 0; i < 300 && !ctrl->keyReader()->IsReady(); ++i)
            QThread::msleep(10);
        ASSERT_TRUE(ctrl->keyReader()->IsReady());
        sys_param::HWinfo.Beep = true;
        ctrl->chSignalSelected(0, 0, BASE_Sine, true, BASE_Sine);
        ctrl->ChannelOnOff(CH1, true);
        settle();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        pc_lock = false;
        keyLockRemoteMode = false;
        Ornav72::setUptimeOffset(0);
        Selection::TearDown();
    }
    // Buzzer settings written since the last call (8 key beep, 10 warning).
    QList<uint64_t> beeps()
    {
        const QList<uint64_t> b = writesAt(REG_BUZZER);
        fpga().clearWrites();
        return b;
    }
    QObject* inputList() const { return obj("ch1mc")->findChild<QObject*>("inputlistview"); }
    channelModel* freq() { return entry(0, PARAM_INDEX_FREQ); }
};

TEST_F(KeyDispatch, KeysOutsideThePanelRangeOnlyGiveTheWarningBeep)
{
    key(31);
    key(70);
    key(0x80 | Key_Sine); // only OK has a long press
    EXPECT_EQ(beeps(), (QList<uint64_t> {10, 10}));
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
}

TEST_F(KeyDispatch, BeepsFollowTheSourceTheSettingAndTheRemoteLock)
{
    Ornav72::setUptimeOffset(3600000);
    ctrl->beep(KEY_FROM_REMOTE);
    EXPECT_TRUE(beeps().isEmpty());
    EXPECT_GE(ctrl->supervision().lastActivity(), 3600000); // activity all the same
    ctrl->beep(KEY_FROM_UI);
    EXPECT_EQ(writesAt(REG_BEEP), QList<uint64_t> {1});
    EXPECT_EQ(beeps(), QList<uint64_t> {8});
    pc_lock = true;
    ctrl->beep(KEY_FROM_FRONT_PANEL);
    ctrl->warnBeep(KEY_FROM_FRONT_PANEL);
    EXPECT_EQ(beeps(), QList<uint64_t> {10});
    pc_lock = false;
    sys_param::HWinfo.Beep = false;
    ctrl->beep(KEY_FROM_FRONT_PANEL);
    ctrl->warnBeep(KEY_FROM_FRONT_PANEL);
    EXPECT_TRUE(beeps().isEmpty());
}

TEST_F(KeyDispatch, TheFirstKeyOfTheScreenSaverOnlyWakes)
{
    // Six idle minutes with the five-minute saver: the tick blanks the screen.
    sys_param::HWinfo.Screensaver = 1;
    Ornav72::setUptimeOffset(6 * 60 * 1000);
    ctrl->SysTimer_Slots();
    ASSERT_TRUE(ctrl->screenSaved());
    beeps();
    key(Key_Square);
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
    EXPECT_EQ(beeps(), QList<uint64_t> {8});
    // Remote keys are not held up by the screen saver.
    key(Key_Square, 1, KEY_FROM_REMOTE);
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Square);
    EXPECT_EQ(chValue(CH1, REG_BASE_WAVE, 1), uint64_t(FPGA_BASE_PULSE));
}

// The remote lock as the controller applies it (the key reader's own lock
// is KeyReader's); Utility's release and the keys after it: FrontPanel
// (tests/clients).
TEST_F(KeyDispatch, RemoteLockShowsTheLockTipAndUtilityOnlyReleasesIt)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    pc_lock = true;
    ctrl->keyReader()->lockALLKey();
    key(Key_Square);
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
    EXPECT_EQ(beeps(), QList<uint64_t> {10}); // the tip itself is silent (where 0)
    ASSERT_FALSE(tips.isEmpty());
    EXPECT_EQ(tips[0][1].toInt(), TIPS_LOCKED);
    key(Key_Utility);
    EXPECT_FALSE(ctrl->keyReader()->IsKeylock());
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 0); // used up, no tab change
}

TEST_F(KeyDispatch, WithKeyLockCommandsALockedPanelSaysNothing)
{
    keyLockRemoteMode = true;
    pc_lock = true;
    key(Key_Utility);
    key(Key_Square);
    EXPECT_TRUE(pc_lock);
    EXPECT_TRUE(beeps().isEmpty());
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
}

// The capture itself and the OK that is no OK: FrontPanel (tests/clients);
// the numbering of the files: CaptureTest.
TEST_F(KeyDispatch, OkHeldWithoutTheUsbDiskReportsItMissing)
{
    ASSERT_TRUE(QDir(dir.path() + "/media/usbdisk").removeRecursively());
    beeps();
    key(Key_Ok | 0x80);
    EXPECT_EQ(Sys_ErrorPop(), -808);
    EXPECT_TRUE(beeps().contains(10));
    EXPECT_FALSE(QDir(dir.path() + "/media/usbdisk/ORNAV96T").exists());
}

TEST_F(KeyDispatch, HelpPageOverviewAndAskDialogTakeTheKeysFirst)
{
    QObject* top = obj("topmain");
    top->setProperty("state", "helpviewframe");
    key(Key_Square);
    EXPECT_EQ(obj("helpview")->property("shownKey").toInt(), int(Key_Square));
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
    key(Key_Cancel); // not a key of the help page
    EXPECT_EQ(obj("helpview")->property("shownKey").toInt(), int(Key_Square));

    top->setProperty("state", "overviewframe");
    key(Key_Square);
    EXPECT_EQ(top->property("state").toString(), QString("normalframe"));
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Square);

    ctrl->setAskWindowType(Uidata::ASK_FACTORY);
    key(Key_Ok);
    key(Key_Sine);
    EXPECT_EQ(obj("askWindow")->property("keys").toList(), (QVariantList {int(Key_Ok), int(Key_Sine)}));
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Square);
}

TEST_F(KeyDispatch, ChannelKeysSwitchTabsAndToggleTheShownOutput)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    key(Key_Ch3);
    settle();
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 2);
    EXPECT_EQ(ctrl->currentChannel(), CH3);
    EXPECT_EQ(writesTo(REG_LED_PORT), 3); // the channel's LEDs
    EXPECT_FALSE(sys_param::OnOff[CH3]);
    key(Key_Ch3);
    settle();
    EXPECT_TRUE(sys_param::OnOff[CH3]);
    EXPECT_EQ(chValue(CH3, REG_OUTPUT, 1), 1u);
    key(Key_WARB);
    ASSERT_FALSE(tips.isEmpty());
    EXPECT_EQ(tips.last()[1].toInt(), TIPS_WARB_NOAVALID);
    key(Key_Utility);
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 4);
    // On the utility tab Utility returns to the current channel.
    key(Key_Utility);
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 2);
    // chChanged ignores what is not a channel.
    ctrl->chChanged(CH_SYS);
    EXPECT_EQ(ctrl->currentChannel(), CH3);
}

TEST_F(KeyDispatch, ArrowsMoveTheListAndTheWave)
{
    QObject* list = inputList();
    ASSERT_NE(list, nullptr);
    key(Key_Down); // the list takes the focus first
    ASSERT_TRUE(list->property("activeFocus").toBool());
    EXPECT_EQ(list->property("currentIndex").toInt(), 0);
    key(Key_Down);
    EXPECT_EQ(list->property("currentIndex").toInt(), 1);
    key(Key_Up);
    EXPECT_EQ(list->property("currentIndex").toInt(), 0);
    key(Key_Right);
    settle();
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Square);
    key(Key_Left);
    settle();
    EXPECT_EQ(sys_param::GetChBaseWave(CH1), BASE_Sine);
    // OK then hands the knob to the entry: FrontPanel (tests/clients).
}

TEST_F(KeyDispatch, TheModelPathRefusesMaskedModelsAndLendsArrowsToTheUnitRow)
{
    QObject* list = inputList();
    key(Key_Ok); // focus the list
    channelModel* f = freq();
    ASSERT_NE(f, nullptr);
    f->mask = true;
    beeps();
    ctrl->keyPress(Key_5, 1, CH1, PARAM_INDEX_FREQ, KEY_FROM_FRONT_PANEL);
    EXPECT_EQ(beeps(), QList<uint64_t> {10});
    EXPECT_FALSE(f->rparamfocus());
    f->mask = false;

    key(Key_5);
    ASSERT_TRUE(f->inputting);
    QObject* vk = obj("vk");
    vk->setProperty("subkvisible", true);
    key(Key_Down);
    EXPECT_EQ(vk->property("knobKeys").toList(), QVariantList {int(Key_Down)});
    EXPECT_TRUE(f->inputting);
    EXPECT_EQ(list->property("currentIndex").toInt(), 0);
    // OK ends the number in the highlighted unit: it started on the unit
    // shown (kHz) and Down moved it to Hz.
    key(Key_Ok);
    EXPECT_FALSE(f->inputting);
    EXPECT_DOUBLE_EQ(sys_param::ch(CH1).Frequency, 5);
    // A parameter index that no model of the list has: the warning.
    beeps();
    ctrl->keyPress(Key_1, 1, CH1, 9999, KEY_FROM_FRONT_PANEL);
    EXPECT_EQ(beeps(), QList<uint64_t> {10});
}

TEST_F(KeyDispatch, RemoteTouchWritesTheEventsOrReportsTheMissingDevice)
{
    QFile dev(dir.path() + "/dev/input/event0");
    ASSERT_TRUE(dev.remove());
    EXPECT_EQ(ctrl->simulateClick(10, 10, 1), 1);
    ASSERT_TRUE(dev.open(QIODevice::WriteOnly));
    dev.close();
    pc_lock = true;
    QObject* mask = obj("screenmask");
    mask->setProperty("enabled", true);
    EXPECT_EQ(ctrl->simulateClick(5000, -20, 1), 0);
    settle();
    EXPECT_TRUE(mask->property("enabled").toBool()); // back on after the touch
    EXPECT_EQ(ctrl->simulateClick(640, 400, 0), 0);
    ASSERT_TRUE(dev.open(QIODevice::ReadOnly));
    const QByteArray all = dev.readAll();
    ASSERT_EQ(all.size(), 12 * 24);
    auto value = [&](int i) {
        int32_t v;
        memcpy(&v, all.constData() + i * 24 + 20, 4);
        return v;
    };
    EXPECT_EQ(value(1), 799); // 800 - (-20), clamped
    EXPECT_EQ(value(2), 0);   // 1280 - 5000, clamped
}

TEST_F(KeyDispatch, TheKeyReaderSetsUpBothExpanders)
{
    // Key matrix rows and columns, no GPIO columns, key events with interrupt.
    EXPECT_EQ(fpga().keyChipReg(0x1D), 0xFF);
    EXPECT_EQ(fpga().keyChipReg(0x1E), 0x1F);
    EXPECT_EQ(fpga().keyChipReg(0x1F), 0x00);
    EXPECT_EQ(fpga().keyChipReg(0x01), 0x11);
    // LED pins are general-purpose outputs.
    for (uint8_t r : {0x23, 0x24, 0x25})
        EXPECT_EQ(fpga().ledChipReg(r), 0xFF) << int(r);
}
