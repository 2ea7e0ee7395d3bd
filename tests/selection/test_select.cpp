// Mode, base-wave and type selection through the channel pages, and the
// check of the shared trigger/FSK connector.
#include <QSignalSpy>
#include "tests/selection/selection_fixture.h"
#include "app/signal/csignal.h"

TEST_F(Selection, ModeKeyThroughThePageSwitchesToTheModeAndShowsItsEntries)
{
    sys_param::SetChModType(CH1, MT_AM);
    ctrl->chModSelected(0, 1);
    settle();
    EXPECT_EQ(sys_param::ch(CH1).WorkMode, u32(WORK_MODULATION));
    const QList<int> list = shown(0);
    EXPECT_TRUE(list.contains(PARAM_INDEX_MODDEPTHAM));
    EXPECT_TRUE(list.contains(PARAM_INDEX_MODSOURCE));
    EXPECT_FALSE(list.contains(PARAM_INDEX_SWEEPTIME));
    // The mode signal carries the stored base wave.
    Channel* c = ctrl->channelAt(CH1);
    ASSERT_NE(c->currentSignal, nullptr);
    EXPECT_EQ(c->currentSignal->baseSignal, c->baseSignal[int(sys_param::ch(CH1).BaseWave)]);
    // The page received the list too.
    QObject* page = obj("ch1mc");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->property("entries").toList().size(), list.size());

    // Back to continuous: the base wave's list.
    ctrl->chModSelected(0, 0);
    settle();
    EXPECT_EQ(sys_param::ch(CH1).WorkMode, u32(WORK_BASE));
    EXPECT_FALSE(shown(0).contains(PARAM_INDEX_MODDEPTHAM));
}

TEST_F(Selection, WaveKeyChoosesTheBaseWaveAndItsEntries)
{
    ctrl->chBaseWaveSelected(1, BASE_Pulse, 0);
    settle();
    EXPECT_EQ(sys_param::ch(CH2).BaseWave, u32(BASE_Pulse));
    // The pulse's whole list: ParamLists.
    EXPECT_TRUE(shown(1).contains(PARAM_INDEX_DUTYPULSE));
}

TEST_F(Selection, RemoteModeAndIndexSelectASweepAndMarkTheListBrowser)
{
    ctrl->setModeIndexCmdProcess(1, 2, 0);
    settle();
    EXPECT_EQ(sys_param::ch(CH2).WorkMode, u32(WORK_SCAN));
    EXPECT_EQ(sys_param::ch(CH2).SweepType & 3u, 0u);
    EXPECT_TRUE(ctrl->listFileShown(1));
    EXPECT_TRUE(shown(1).contains(PARAM_INDEX_SWEEPTIME));
    // A mode outside 0..3 changes nothing.
    ctrl->setModeIndexCmdProcess(1, 7, 0);
    settle();
    EXPECT_EQ(sys_param::ch(CH2).WorkMode, u32(WORK_SCAN));
}

TEST_F(Selection, ListSweepReloadsItsListOnlyWhenOneIsNamed)
{
    QSignalSpy lists(ctrl, &Ornav72::chListCmd);
    sys_param::SetChListFileDir(CH1, "", 0);
    sys_param::SetChSweepType(CH1, ST_LIST);
    ctrl->chSignalSelected(0, 2, ST_LIST & 3, false, int(sys_param::ch(CH1).BaseWave));
    EXPECT_EQ(lists.count(), 0);
    const char path[] = "/run/media/mmcblk0p1/f.csv";
    sys_param::SetChListFileDir(CH1, path, int(sizeof path - 1));
    ctrl->chSignalSelected(0, 2, ST_LIST & 3, false, int(sys_param::ch(CH1).BaseWave));
    ASSERT_EQ(lists.count(), 1);
    EXPECT_EQ(lists.at(0).at(1).toString(), QString(path));
    EXPECT_FALSE(lists.at(0).at(2).toBool());
}

namespace {
// CH1 on, in a linear sweep with its trigger output on: it drives the port.
void driveThePortFromCh1(Ornav72* ctrl)
{
    sys_param::SetChBaseWave(CH1, BASE_Sine);
    sys_param::OnOff[CH1] = true;
    sys_param::ch(CH1).TrigerOut = 1;
    ctrl->chSignalSelected(0, 2, 0, false, BASE_Sine);
}
} // namespace

// Another channel that would listen on the port while CH1 drives it: an
// external FSK is turned internal, a gated burst switches its channel off;
// either way -810 and the tip naming CH1.
TEST_F(Selection, ListenersOfThePortGiveWayWhileAnotherChannelDrivesIt)
{
    const struct {
        CH_ID ch;
        int mode, kind, tip;
    } rows[] = {{CH2, 1, int(MT_FSK & 63), TIPS_IOCONFILICT_BEMODFY},
                {CH3, 3, BT_GATE & 3, TIPS_IOCONFILICT_MODFYFALSE}};
    for (const auto& r : rows) {
        driveThePortFromCh1(ctrl);
        int out = 0, modIn = 0, trigIn = 0;
        ctrl->channelTrigOut(out, modIn, trigIn);
        ASSERT_EQ(out, 1);
        while (Sys_ErrorCount() > 0)
            Sys_ErrorPop();
        QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
        sys_param::SetChBaseWave(r.ch, BASE_Sine);
        sys_param::OnOff[r.ch] = true;
        sys_param::ch(r.ch).ModSrc = true;
        sys_param::SetChModType(r.ch, MT_FSK);
        sys_param::SetChBurstType(r.ch, BT_GATE);
        ctrl->chSignalSelected(r.ch, r.mode, r.kind, false, BASE_Sine);
        if (r.mode == 1)
            EXPECT_FALSE(sys_param::ch(r.ch).ModSrc);
        else
            EXPECT_FALSE(sys_param::OnOff[r.ch]);
        EXPECT_EQ(Sys_ErrorPop(), -810) << "CH" << r.ch + 1;
        bool shownTip = false;
        for (const QList<QVariant>& t : tips)
            shownTip |= t.at(0).toInt() == MESSAGE_TYPE_TIPS && t.at(1).toInt() == r.tip && t.at(3).toString() == "CH1";
        EXPECT_TRUE(shownTip) << "CH" << r.ch + 1;
    }
}

TEST_F(Selection, ASecondDriverOfThePortLosesItsTriggerOutput)
{
    driveThePortFromCh1(ctrl);
    while (Sys_ErrorCount() > 0)
        Sys_ErrorPop();
    sys_param::SetChBaseWave(CH4, BASE_Sine);
    sys_param::OnOff[CH4] = true;
    sys_param::ch(CH4).TrigerOut = 1;
    ctrl->chSignalSelected(3, 2, 0, false, BASE_Sine);
    EXPECT_EQ(sys_param::ch(CH4).TrigerOut, 0);
    EXPECT_EQ(Sys_ErrorPop(), -810);
    // Were both to drive it, each names the other; channel numbers in order.
    sys_param::ch(CH4).TrigerOut = 1;
    QString names;
    EXPECT_TRUE(ctrl->conflictIOCheck(CH1, names));
    EXPECT_EQ(names, QString("CH4"));
    EXPECT_TRUE(ctrl->conflictIOCheck(CH4, names));
    EXPECT_EQ(names, QString("CH1"));
    // A channel that is off never conflicts.
    sys_param::OnOff[CH2] = false;
    EXPECT_FALSE(ctrl->conflictIOCheck(CH2, names));
}

TEST_F(Selection, ManualTriggerButtonFollowsTheTriggerSource)
{
    QObject* ch1 = obj("ch1cc");
    QObject* button = ch1 ? ch1->findChild<QObject*>("handltrig") : nullptr;
    ASSERT_NE(button, nullptr);
    sys_param::ch(CH1).TrigerSource = 3;
    ctrl->chSignalSelected(0, 2, 0, false, BASE_Sine);
    EXPECT_TRUE(button->property("visible").toBool());
    sys_param::ch(CH1).TrigerSource = 0;
    ctrl->setHandlTrig(CH1);
    EXPECT_FALSE(button->property("visible").toBool());
}
