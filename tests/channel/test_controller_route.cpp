// The controller's side of the road: its four channels, their pairing, the
// queued apply of a changed channel (with a merging partner), and the sync
// output role of CH3/CH4.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>
#include "hardware/CSetParam.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "WaveView/psewave.h"
#include "app/signal/csignal.h"
#include "platform/platformroot.h"
#include "simboard/simfpga.h"
#include "tests/common/controller_fixture.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

class ControllerRoute : public ControllerTest {};

// The pairing itself shows in what the pairs do: Pairs (coupling, merge,
// the sync output of CH3 and CH4).
TEST_F(ControllerRoute, AChangeIsAppliedThroughTheEventLoop)
{
    Channel* ch1 = ctrl->channelAt(CH1);
    ch1->switchToBase(BASE_Sine, 0);
    ch1->entry(PARAM_INDEX_FREQ)->SetValue(1234, 0);
    ch1->entry(PARAM_INDEX_CHSWITCH)->SetValue(1, 0);
    EXPECT_EQ(writesTo(unsigned(CH1) * 0x100 + REG_PHASE_INC), 0) << "the apply is queued";
    QCoreApplication::processEvents();
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(1234));
    EXPECT_EQ(chValue(CH1, REG_OUTPUT, 1), 1u);
    EXPECT_GT(writesTo(REG_LED_PORT), 0) << "the panel LEDs follow";
}

TEST_F(ControllerRoute, ApplyingAChannelAppliesThePartnerThatMergesIt)
{
    sys_param::ch(CH2).ChMerge = 0;
    ctrl->chParamChanged(CH1);
    EXPECT_EQ(writesTo(unsigned(CH2) * 0x100 + REG_OUTPUT), 0);
    sys_param::ch(CH2).ChMerge = 2;
    SimFpga::instance().clearWrites();
    ctrl->chParamChanged(CH1);
    EXPECT_GT(writesTo(unsigned(CH1) * 0x100 + REG_OUTPUT), 0);
    EXPECT_GT(writesTo(unsigned(CH2) * 0x100 + REG_OUTPUT), 0);
    sys_param::ch(CH2).ChMerge = 0;
}

// The role itself and the sync frequency: Pairs and Screens. A sync channel
// already carrying the digital output keeps that role.
TEST_F(ControllerRoute, ASyncOutputLeavesTheDigitalRoleOfItsChannel)
{
    ctrl->channelAt(CH3)->alterfun = CHANNEL_ALTERFUN_DIGITAL;
    sys_param::ch(CH1).SyncOut = true;
    ctrl->ChannelSyncOut(CH1);
    EXPECT_EQ(ctrl->channelAt(CH3)->alterfun, int(CHANNEL_ALTERFUN_DIGITAL));
    sys_param::ch(CH1).SyncOut = false;
}

TEST_F(ControllerRoute, PreviewFollowsTheFocusedEntryOfTheSignal)
{
    PseWave pse;
    Channel* ch2 = ctrl->channelAt(CH2);
    ch2->setpse(&pse);
    for (Signal* s : ch2->modulateSignal)
        EXPECT_EQ(s->psewave, &pse);
    Signal* sine = ch2->baseSignal.at(BASE_Sine);
    channelModel* amp = ch2->entry(PARAM_INDEX_AMP);
    sine->paramSelected(amp);
    EXPECT_EQ(pse.curSignal, sine);
    EXPECT_EQ(pse.repaintRequests, 1);
    EXPECT_EQ(sine->focuseParam, amp);
    sine->paramSelected(amp);
    EXPECT_EQ(pse.repaintRequests, 1) << "the same entry again repaints nothing";
    ch2->entry(PARAM_INDEX_FREQ)->curSignal = sine;
    ch2->entry(PARAM_INDEX_FREQ)->disfocused();
    EXPECT_EQ(sine->focuseParam, ch2->entry(PARAM_INDEX_FREQ));
    EXPECT_EQ(pse.repaintRequests, 2);
}
