// Front-panel keys on the utility pages of the real screens: the system
// list's columns wrap (the short last column too), the coupling grids move
// by column and into the other pair, Left goes back to the menu, and the
// counter and digital pages move between their own controls; mode and wave
// keys are refused there.
#include "tests/utilityscreens/utility_fixture.h"

TEST_F(UtilityScreens, TheSystemListWrapsWithinEachColumnAndLeftReturnsToTheMenu)
{
    toUtility(5);
    QObject* sys = in("UtilitySystemSet", "syslistview");
    QObject* lan = in("UtilitySystemSet", "syslanlistview");
    QObject* menu = obj("utilitymenu");
    ASSERT_NE(sys, nullptr);
    ASSERT_NE(lan, nullptr);
    ASSERT_EQ(ctrl->ui().syssetlist.size(), 13);
    focus(sys, 0);
    key(Key_Up);
    EXPECT_EQ(at(sys), 5);
    key(Key_Down);
    EXPECT_EQ(at(sys), 0);
    // Keys back to back (a script): the second goes from where the first
    // went, before the screen has shown it.
    ctrl->keyPress(Key_Up, 1, KEY_FROM_REMOTE);
    ctrl->keyPress(Key_Up, 1, KEY_FROM_REMOTE);
    settle();
    EXPECT_EQ(at(sys), 4);
    key(Key_Down);
    key(Key_Down);
    EXPECT_EQ(at(sys), 0);
    key(Key_Right);
    EXPECT_EQ(at(sys), 6);
    key(Key_Up);
    EXPECT_EQ(at(sys), 11);
    key(Key_Down);
    EXPECT_EQ(at(sys), 6);
    // The factory reset is alone in the third column: Up and Down stay on it.
    key(Key_Right);
    EXPECT_EQ(at(sys), 12);
    key(Key_Down);
    EXPECT_EQ(at(sys), 12);
    key(Key_Up);
    EXPECT_EQ(at(sys), 12);
    EXPECT_EQ(sys->property("count").toInt(), 13);
    key(Key_Left);
    EXPECT_EQ(at(sys), 6);
    // Right from the second column goes to the network list, Left back.
    key(Key_Down);
    key(Key_Right);
    EXPECT_TRUE(focused(lan));
    key(Key_Left);
    EXPECT_TRUE(focused(sys));
    key(Key_Left);
    EXPECT_EQ(at(sys), 1);
    // Left in the first column: the menu takes the focus, the page stays.
    key(Key_Left);
    EXPECT_FALSE(focused(sys));
    EXPECT_TRUE(focused(menu));
    EXPECT_EQ(obj("utilitylayout")->property("currentIndex").toInt(), 5);
    EXPECT_EQ(obj("utility")->property("menuIndex").toInt(), 5);
    // An arrow from the menu puts the focus back on the page's first list.
    key(Key_Down);
    EXPECT_TRUE(focused(lan) || focused(sys));
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

TEST_F(UtilityScreens, TheCouplingGridsMoveByColumnAndIntoTheOtherPair)
{
    toUtility(1);
    QObject* a = in("ChannalCoupleSet12", "CoupleSetListview");
    QObject* b = in("ChannalCoupleSet34", "CoupleSetListview");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(ctrl->ui().ch12CoupleSetList.size(), 9);
    focus(a, 0);
    key(Key_Right);
    EXPECT_EQ(at(a), 3);
    key(Key_Right);
    EXPECT_EQ(at(a), 6);
    // From the last column of pair 1/2 into the first of pair 3/4.
    key(Key_Right);
    EXPECT_TRUE(focused(b));
    EXPECT_EQ(at(b), 0);
    key(Key_Left);
    EXPECT_TRUE(focused(a));
    EXPECT_EQ(at(a), 6);
    key(Key_Down);
    key(Key_Down);
    EXPECT_EQ(at(a), 8);
    // The bottom row continues in the top row of pair 3/4, same column.
    key(Key_Down);
    EXPECT_TRUE(focused(b));
    EXPECT_EQ(at(b), 6);
    key(Key_Up);
    EXPECT_TRUE(focused(a));
    EXPECT_EQ(at(a), 8);
    // Left from the first column goes back to the menu.
    a->setProperty("currentIndex", 1);
    key(Key_Left);
    EXPECT_TRUE(focused(obj("utilitymenu")));
    EXPECT_EQ(obj("utility")->property("menuIndex").toInt(), 1);
}

TEST_F(UtilityScreens, OkOnACouplingSwitchSwitchesTheCoupling)
{
    toUtility(1);
    QObject* a = in("ChannalCoupleSet12", "CoupleSetListview");
    ASSERT_EQ(sys_param::GetChCoupleFreqSW(COUPLE12), 0);
    focus(a, 0);
    key(Key_Ok);
    EXPECT_NE(sys_param::GetChCoupleFreqSW(COUPLE12), 0);
    // A touch on the switch switches it back.
    ctrl->ui().sendch12CoupleSetListChanged();
    settle();
    call(root(), "utilityEntryTouched", {QVariant::fromValue(ctrl->ui().ch12CoupleSetList[0].value<QObject*>()), 4});
    settle();
    EXPECT_EQ(sys_param::GetChCoupleFreqSW(COUPLE12), 0);
}

TEST_F(UtilityScreens, LeftOnTheMergeAndCounterPagesReturnsToTheMenu)
{
    toUtility(2);
    QObject* merge = in("UtilityMerge", "mergesetlistview");
    focus(merge, 2);
    key(Key_Left);
    EXPECT_FALSE(focused(merge));
    EXPECT_EQ(obj("utility")->property("menuIndex").toInt(), 2);

    toUtility(3);
    QObject* counter = obj("UtilityCounterSet");
    QObject* list = in("UtilityCounterSet", "countersetlistview");
    focus(list, 0);
    // Right on the list moves to the clear button, Left comes back, and
    // Left on the list leaves for the menu.
    key(Key_Right);
    EXPECT_EQ(counter->property("focusIndex").toInt(), 1);
    key(Key_Left);
    EXPECT_EQ(counter->property("focusIndex").toInt(), 0);
    EXPECT_TRUE(focused(list));
    key(Key_Left);
    EXPECT_FALSE(focused(list));
    EXPECT_EQ(obj("utility")->property("menuIndex").toInt(), 3);
}

TEST_F(UtilityScreens, TheDigitalPageMovesBetweenItsControlsAndUpDownChangesTheFunction)
{
    toUtility(4);
    QObject* page = obj("UtilityDigitalSet");
    QObject* list = in("UtilityDigitalSet", "digitallistview");
    sys_param::HWinfo.digitalType = DIGITAL_SPI;
    // From the menu an arrow focuses the page at its function selector.
    key(Key_Right);
    EXPECT_TRUE(focused(list));
    EXPECT_EQ(page->property("focusIndex").toInt(), 0);
    key(Key_Down);
    EXPECT_EQ(int(sys_param::HWinfo.digitalType), int(DIGITAL_I2C));
    EXPECT_EQ(page->property("fun").toInt(), 1);
    key(Key_Up);
    key(Key_Up);
    EXPECT_EQ(int(sys_param::HWinfo.digitalType), int(DIGITAL_UART));
    // Right to the list: its keys are the controller's (Up/Down move in it).
    key(Key_Right);
    EXPECT_EQ(page->property("focusIndex").toInt(), 1);
    key(Key_Down);
    EXPECT_EQ(at(list), 1);
    // Right again: the data, then the output switch; OK switches it on.
    key(Key_Right);
    key(Key_Right);
    EXPECT_EQ(page->property("focusIndex").toInt(), 3);
    key(Key_Ok);
    settle();
    EXPECT_TRUE(sys_param::digitalSW);
    EXPECT_TRUE(page->property("outputOn").toBool());
    // Left all the way back to the menu.
    for (int i = 0; i < 4; ++i)
        key(Key_Left);
    EXPECT_EQ(obj("utility")->property("menuIndex").toInt(), 4);
    EXPECT_TRUE(log->warnings.isEmpty()) << log->warnings.join('\n').toStdString();
}

TEST_F(UtilityScreens, DataTypedOnTheDigitalPageReachesTheOutputBuffer)
{
    toUtility(4);
    QObject* page = obj("UtilityDigitalSet");
    sys_param::HWinfo.digitalfromat = false;
    call(page, "reload");
    key(Key_Right); // focus on the page
    call(page, "setfocusIndex", {2});
    key(Key_Ok); // start typing
    EXPECT_TRUE(page->property("typing").toBool());
    for (int k : {Key_1, Key_2, Key_Dot, Key_7, Key_Backspace, Key_3})
        key(k);
    EXPECT_EQ(page->property("inputText").toString(), QStringLiteral("12 3"));
    key(Key_Ok);
    settle();
    EXPECT_EQ(ctrl->digital().digitalData(), QByteArray("\x12\x03", 2));
}

TEST_F(UtilityScreens, ModeAndWaveKeysAreRefusedAndChannelKeysLeave)
{
    key(Key_Utility);
    ASSERT_EQ(obj("tabs")->property("current").toInt(), 4);
    sys_param::HWinfo.Beep = true;
    fpga().clearWrites();
    key(Key_Sweep);
    key(Key_Noise);
    EXPECT_EQ(writesAt(REG_BUZZER), (QList<uint64_t> {10, 10}));
    key(Key_Ch2);
    EXPECT_EQ(obj("tabs")->property("current").toInt(), 1);
    EXPECT_EQ(ctrl->currentChannel(), CH2);
}

TEST_F(UtilityScreens, ChannelSettingListsSkipMaskedChannels)
{
    toUtility(0);
    // The channels' setting lists are not filled by this part of the program
    // yet: give each a few of its channel's models.
    for (int ch = 0; ch < 4; ++ch) {
        QList<channelModel*> some = ctrl->channelAt(ch)->chParaList.mid(0, 3);
        ctrl->ui().chSetList[ch] = Channel::channelModeltoVariant(&some);
    }
    ctrl->ui().sendAllChsetListChanged();
    settle();
    QObject* l1 = in("utilitySetch1", "setlistview");
    QObject* l3 = in("utilitySetch3", "setlistview");
    // CH2 serves another role (digital output): its list is greyed.
    ctrl->ChDisableDisUpdate(CH2, CHANNEL_ALTERFUN_DIGITAL, QStringLiteral("UART-TX"), false);
    settle();
    ASSERT_TRUE(obj("utilitySetch2")->property("mask").toBool());
    focus(l1, 0);
    key(Key_Right);
    EXPECT_TRUE(focused(l3));
    key(Key_Left);
    EXPECT_TRUE(focused(l1));
}

TEST_F(UtilityScreens, TheCounterPageKeepsKeysOffItsListUnlessFocused)
{
    toUtility(3);
    QObject* counter = obj("UtilityCounterSet");
    QObject* l = in("UtilityCounterSet", "countersetlistview");
    ASSERT_FALSE(ctrl->ui().counterSetlist.isEmpty());
    focus(l, 0);
    counter->setProperty("focusIndex", 1);
    key(Key_Down);
    EXPECT_EQ(counter->property("pageKeys").toList(), QVariantList {int(Key_Down)});
    counter->setProperty("focusIndex", 0);
    key(Key_Down);
    EXPECT_EQ(at(l), 1);
    EXPECT_EQ(counter->property("pageKeys").toList().size(), 1);
}

TEST_F(UtilityScreens, TheHiddenSequenceOfTheSystemPageShowsTheDetailedVersions)
{
    toUtility(5);
    QObject* system = obj("UtilitySystemSet");
    // A wrong last digit, then the sequence with a stray key in between
    // (keys outside the sequence leave it as it is).
    for (int k : {Key_Dot, Key_6, Key_Symbol, Key_2, Key_5, Key_8})
        key(k);
    EXPECT_TRUE(system->property("versions").toString().isEmpty());
    for (int k : {Key_Dot, Key_6, Key_Symbol, Key_1, Key_2, Key_5, Key_9})
        key(k);
    EXPECT_EQ(system->property("versions").toString(),
              QString("%1 %2").arg(Ornav72::GetSoftwareVersion(), sys_param::LogicVersion));
    EXPECT_TRUE(ctrl->factoryModel());
}
