// Channel pairs end to end through the controller: coupling settings and
// coupled values as remote requests give them (setValueCmd), merge and its
// exclusions, the phase synchronisation they force, the sync output, and the
// registers the simulated FPGA receives.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QSignalSpy>
#include <cmath>
#include <limits>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "hardware/cchcharacter.h"
#include "param/sys_param.h"
#include "tests/common/controller_fixture.h"

namespace {
CH_DATA& rec(CH_ID c) { return sys_param::ch(c); }
} // namespace

class Pairs : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        if (HasFatalFailure())
            return;
        for (int c = CH1; c <= CH4; ++c) {
            Channel* chan = ctrl->channelAt(c);
            chan->switchToBase(BASE_Sine, 0);
            rec(CH_ID(c)).WorkMode = WORK_BASE;
        }
    }
    // A remote request as the command rows send it, applied by the
    // controller's event loop.
    void remote(int target, int index, double v)
    {
        emit ctrl->setValueCmd(target, index, v);
        // The request, then the applies it queues.
        for (int k = 0; k < 3; ++k)
            QCoreApplication::processEvents();
    }
    channelModel* entry(CH_ID c, int index) { return ctrl->channelAt(c)->entry(index); }
    channelModel* pairEntry(CH_ID pair, int index) { return ctrl->GetChModelFormIndex(pair, index); }
    channelModel* sysEntry(int index) { return ctrl->GetChModelFormIndex(CH_SYS, index); }
    static QList<int> shownIndices(const QVariantList& l)
    {
        QList<int> out;
        for (const QVariant& v : l)
            out << qobject_cast<channelModel*>(v.value<QObject*>())->paramindex;
        return out;
    }
};

TEST_F(Pairs, FrequencyCouplingByRatioFollowsBothWaysIntoThePhaseIncrements)
{
    remote(CH1, PARAM_INDEX_CHSWITCH, 1);
    remote(CH2, PARAM_INDEX_CHSWITCH, 1);
    remote(CH1, PARAM_INDEX_FREQ, 1000);
    remote(CH2, PARAM_INDEX_FREQ, 1000);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQRATE, 2);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    EXPECT_TRUE(rec(CH1).ChCoupleFreqSW);
    EXPECT_FALSE(rec(CH2).ChCoupleFreqSW) << "pair settings live with the pair's first channel";
    // Switching on settles the first channel to the partner's present value.
    EXPECT_DOUBLE_EQ(rec(CH1).Frequency, 500);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, 1000);

    // CH1 leading: scpi_rows.py (back to back); CH2 leading here.
    remote(CH2, PARAM_INDEX_FREQ, 6000);
    EXPECT_DOUBLE_EQ(rec(CH1).Frequency, 3000);
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(3000));
    EXPECT_EQ(chValue(CH2, REG_PHASE_INC, 8), ref::inc64(6000));
    EXPECT_TRUE(entry(CH1, PARAM_INDEX_FREQ)->m_couplestate);
    EXPECT_TRUE(entry(CH2, PARAM_INDEX_FREQ)->m_couplestate);

    // The other pair is untouched.
    const double ch4 = rec(CH4).Frequency;
    remote(CH3, PARAM_INDEX_FREQ, 777);
    EXPECT_DOUBLE_EQ(rec(CH4).Frequency, ch4);
}

TEST_F(Pairs, DeviationCouplingRoundsDownToOneMicrohertz)
{
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQTYPE, 1);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQDEV, 0.1);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    remote(CH1, PARAM_INDEX_FREQ, 1.23456789);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, 1.334567);
    remote(CH2, PARAM_INDEX_FREQ, 10);
    EXPECT_DOUBLE_EQ(rec(CH1).Frequency, 9.9);
}

TEST_F(Pairs, AmplitudeAndPhaseCouplingFollowThePartner)
{
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLTYPE, 1);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLDEV, 0.5);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLSW, 1);
    remote(CH1, PARAM_INDEX_AMP, 1.0);
    EXPECT_NEAR(rec(CH2).Vpp, 1.5, 1e-12);

    remote(COUPLE34, PARAM_INDEX_CHCOUPLEPHASERATE, 3);
    remote(COUPLE34, PARAM_INDEX_CHCOUPLEPHASESW, 1);
    remote(CH3, PARAM_INDEX_PHASE, 20);
    EXPECT_NEAR(rec(CH4).Phase, 60, 1e-12);
    remote(CH4, PARAM_INDEX_PHASE, 90);
    EXPECT_NEAR(rec(CH3).Phase, 30, 1e-12);
}

TEST_F(Pairs, SwitchingOnBeyondThisChannelsReachMovesThePartnerAsFarAsItGoes)
{
    // CH1 cannot go below its minimum: it takes that, and CH2 would need
    // more than its square range allows, so it stops at its maximum.
    ctrl->channelAt(CH2)->switchToBase(BASE_Square, 0);
    ctrl->channelAt(CH2)->entry(PARAM_INDEX_FREQ)->UpdateRange();
    const DataInfo* own = entry(CH1, PARAM_INDEX_FREQ)->descriptor(0);
    const DataInfo* part = entry(CH2, PARAM_INDEX_FREQ)->descriptor(0);
    remote(CH2, PARAM_INDEX_FREQ, 1000);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQTYPE, 1);
    const double dev = pairEntry(COUPLE12, PARAM_INDEX_CHCOUPLEFREQDEV)->descriptor(0)->Max;
    ASSERT_GT(dev, part->Max) << "the deviation may exceed the square range of CH2";
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQDEV, dev);
    QSignalSpy tips(ctrl->channelAt(CH1), &Channel::sendTipsMessage);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    EXPECT_DOUBLE_EQ(rec(CH1).Frequency, own->Min);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, part->Max);
    EXPECT_FALSE(entry(CH1, PARAM_INDEX_FREQ)->m_couplestate);
    EXPECT_FALSE(entry(CH2, PARAM_INDEX_FREQ)->m_couplestate);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips.at(0).at(1).toInt(), int(ERROR_COUPLE));

    // Switched off, no failure is shown any more.
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQSW, 0);
    EXPECT_TRUE(entry(CH1, PARAM_INDEX_FREQ)->m_couplestate);
    EXPECT_TRUE(entry(CH2, PARAM_INDEX_FREQ)->m_couplestate);
}

TEST_F(Pairs, ACouplingThatCannotApplyChangesNoValue)
{
    ctrl->channelAt(CH1)->switchToBase(BASE_DC, 0);
    const double f1 = rec(CH1).Frequency, f2 = rec(CH2).Frequency;
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQRATE, 3);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    EXPECT_DOUBLE_EQ(rec(CH1).Frequency, f1);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, f2);
    EXPECT_FALSE(entry(CH2, PARAM_INDEX_FREQ)->m_couplestate);
    EXPECT_FALSE(entry(CH1, PARAM_INDEX_FREQ)->m_couplestate);

    // Phase coupling with a noise partner: nothing moves either.
    ctrl->channelAt(CH4)->switchToBase(BASE_Noise, 0);
    const double p3 = rec(CH3).Phase, p4 = rec(CH4).Phase;
    remote(COUPLE34, PARAM_INDEX_CHCOUPLEPHASERATE, 2);
    remote(COUPLE34, PARAM_INDEX_CHCOUPLEPHASESW, 1);
    EXPECT_DOUBLE_EQ(rec(CH3).Phase, p3);
    EXPECT_DOUBLE_EQ(rec(CH4).Phase, p4);
    EXPECT_FALSE(entry(CH4, PARAM_INDEX_PHASE)->m_couplestate);
}

TEST_F(Pairs, BadCouplingInputNeverReachesTheRecordOrARegister)
{
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQRATE, 2);
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQRATE, bad);
        EXPECT_DOUBLE_EQ(rec(CH1).ChCoupleFreqRate, 2) << bad;
    }
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLDEV, 0.25);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLDEV, -std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(rec(CH1).ChCoupleAmplDev, 0.25);

    // A pair other than the two, or a channel's entry sent to a pair: no
    // record changes.
    const QByteArray before(reinterpret_cast<const char*>(&sys_param::HWinfo), sizeof(HardWareInfo));
    remote(COUPLE34 + 1, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    remote(COUPLE12, PARAM_INDEX_FREQ, 77);
    remote(9, PARAM_INDEX_FREQ, 77);
    remote(CH1, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    remote(-1, PARAM_INDEX_CHCOUPLEFREQSW, 1);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&sys_param::HWinfo), sizeof(HardWareInfo)), before);

    // A ratio of 0 in the record itself (a damaged block): the coupling is
    // refused and CH2 keeps its value and its phase increment.
    remote(CH1, PARAM_INDEX_CHSWITCH, 1);
    remote(CH2, PARAM_INDEX_CHSWITCH, 1);
    remote(CH2, PARAM_INDEX_FREQ, 4000);
    rec(CH1).ChCoupleFreqSW = true;
    rec(CH1).ChCoupleFreqRate = 0;
    fpga().clearWrites();
    remote(CH1, PARAM_INDEX_FREQ, 1500);
    EXPECT_DOUBLE_EQ(rec(CH2).Frequency, 4000);
    EXPECT_FALSE(entry(CH2, PARAM_INDEX_FREQ)->m_couplestate);
    EXPECT_EQ(chValue(CH2, REG_PHASE_INC, 8), ref::inc64(4000));
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(1500));
}

TEST_F(Pairs, EachPairShowsNineEntriesAndTheTypeSwapsRatioForDeviation)
{
    QSignalSpy announced(&ctrl->ui(), &Uidata::ch12CoupleSetListChanged);
    QList<int> shown = shownIndices(ctrl->ui().ch12CoupleSetList);
    ASSERT_EQ(shown.size(), 9);
    EXPECT_TRUE(shown.contains(PARAM_INDEX_CHCOUPLEFREQRATE));
    EXPECT_FALSE(shown.contains(PARAM_INDEX_CHCOUPLEFREQDEV));

    remote(COUPLE12, PARAM_INDEX_CHCOUPLEFREQTYPE, 1);
    shown = shownIndices(ctrl->ui().ch12CoupleSetList);
    ASSERT_EQ(shown.size(), 9);
    EXPECT_TRUE(shown.contains(PARAM_INDEX_CHCOUPLEFREQDEV));
    EXPECT_FALSE(shown.contains(PARAM_INDEX_CHCOUPLEFREQRATE));
    EXPECT_EQ(announced.count(), 1);
    EXPECT_EQ(shownIndices(ctrl->ui().ch34CoupleSetList).size(), 9);
    EXPECT_TRUE(shownIndices(ctrl->ui().ch34CoupleSetList).contains(PARAM_INDEX_CHCOUPLEFREQRATE));
}

TEST_F(Pairs, PhaseCouplingAndMergeForcePhaseSynchronisationAndHoldIt)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    channelModel* mode = sysEntry(PARAM_INDEX_SYSPHASESYNC);
    remote(CH_SYS, PARAM_INDEX_SYSPHASESYNC, 0);
    ASSERT_FALSE(sys_param::HWinfo.PhaseSyncType);
    fpga().clearWrites();

    remote(COUPLE12, PARAM_INDEX_CHCOUPLEPHASESW, 1);
    EXPECT_TRUE(sys_param::HWinfo.PhaseSyncType);
    EXPECT_TRUE(mode->mask);
    ASSERT_GE(tips.count(), 1);
    EXPECT_EQ(tips.last().at(1).toInt(), int(TIPS_PHASE_COUPLE_NEED_PHASESYNC));
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0})) << "the phase mode's reset";

    // Leaving the mode while the coupling needs it is refused, remotely too.
    fpga().clearWrites();
    tips.clear();
    remote(CH_SYS, PARAM_INDEX_SYSPHASESYNC, 0);
    EXPECT_TRUE(sys_param::HWinfo.PhaseSyncType);
    ASSERT_GE(tips.count(), 1);
    EXPECT_EQ(tips.first().at(1).toInt(), int(TIPS_PHASE_COUPLE_NEED_PHASESYNC));
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0})) << "the phases restart once, synchronised";

    // A merge also needs it: switching phase coupling off keeps the mask.
    remote(CH3, PARAM_INDEX_CHMERGE, 3);
    remote(COUPLE12, PARAM_INDEX_CHCOUPLEPHASESW, 0);
    EXPECT_TRUE(mode->mask);
    remote(CH3, PARAM_INDEX_CHMERGE, 0);
    EXPECT_FALSE(mode->mask);
    EXPECT_TRUE(sys_param::HWinfo.PhaseSyncType) << "the mode itself stays as it was";

    // Merging while the mode is off switches it on with the merge tip.
    remote(CH_SYS, PARAM_INDEX_SYSPHASESYNC, 0);
    ASSERT_FALSE(sys_param::HWinfo.PhaseSyncType) << "nothing needs it any more";
    tips.clear();
    remote(CH4, PARAM_INDEX_CHMERGE, 4);
    EXPECT_TRUE(sys_param::HWinfo.PhaseSyncType);
    EXPECT_TRUE(mode->mask);
    bool mergeTip = false;
    for (const auto& t : tips)
        mergeTip |= t.at(1).toInt() == int(TIPS_MERGE_NEED_PHASESYNC);
    EXPECT_TRUE(mergeTip);
}

TEST_F(Pairs, MergeRaisesTheSmallerLoadAndProgramsTheSum)
{
    remote(CH1, PARAM_INDEX_CHLOAD, 50);
    remote(CH2, PARAM_INDEX_CHLOAD, CChCharacter::HighR);
    remote(CH1, PARAM_INDEX_CHSWITCH, 1);
    remote(CH2, PARAM_INDEX_CHSWITCH, 1);
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    fpga().clearWrites();
    remote(CH1, PARAM_INDEX_CHMERGE, 1);
    EXPECT_NE(rec(CH1).ChMerge, 0u); // the loads it raises: scpi_rows.py
    bool loadTip = false;
    for (const auto& t : tips)
        loadTip |= t.at(0).toInt() == MESSAGE_TYPE_TIPS && t.at(1).toInt() == int(TIPS_MERGE_MUST_EQUAL_LOAD);
    EXPECT_TRUE(loadTip);
    EXPECT_EQ(chValue(CH1, REG_MERGE_EN, 1), 1u);
    EXPECT_FALSE(chWrites(CH1, REG_MERGE_GAIN).isEmpty());
    // CH1 adds CH2's signal: a new CH2 amplitude re-applies CH1's gain.
    const uint64_t gain = chValue(CH1, REG_MERGE_GAIN, 2);
    fpga().clearWrites();
    remote(CH2, PARAM_INDEX_AMP, rec(CH2).Vpp / 2);
    ASSERT_FALSE(chWrites(CH1, REG_MERGE_GAIN).isEmpty()) << "the merging channel follows its partner";
    EXPECT_NE(chValue(CH1, REG_MERGE_GAIN, 2), gain);
    // The sum excludes the amplitude functions of both channels.
    for (CH_ID c : {CH1, CH2}) {
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHAMPLIMIT)->mask);
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHNOISESUMSW)->mask);
    }
    EXPECT_TRUE(pairEntry(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLSW)->mask);

    remote(CH1, PARAM_INDEX_CHMERGE, 0);
    EXPECT_EQ(chValue(CH1, REG_MERGE_EN, 1), 0u);
    EXPECT_FALSE(entry(CH2, PARAM_INDEX_CHAMPLIMIT)->mask);
    EXPECT_FALSE(pairEntry(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLSW)->mask);
}

TEST_F(Pairs, AmplitudeLimitOnThePartnerEndsTheMergeAndMasksBoth)
{
    remote(CH1, PARAM_INDEX_CHSWITCH, 1);
    remote(CH2, PARAM_INDEX_CHSWITCH, 1);
    remote(CH1, PARAM_INDEX_CHMERGE, 1);
    ASSERT_NE(rec(CH1).ChMerge, 0u);
    ASSERT_EQ(chValue(CH1, REG_MERGE_EN, 1), 1u);
    // The merge masks the limit on screen; a remote request still sets it.
    remote(CH2, PARAM_INDEX_CHAMPLIMIT, 1);
    EXPECT_TRUE(rec(CH2).AmpLimit);
    EXPECT_EQ(rec(CH1).ChMerge, 0u);
    EXPECT_EQ(chValue(CH1, REG_MERGE_EN, 1), 0u) << "CH1 is applied without the sum";
    EXPECT_TRUE(entry(CH1, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_TRUE(entry(CH2, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_TRUE(pairEntry(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLSW)->mask);

    // Noise sum on CH1 keeps the masks when the limit goes.
    remote(CH1, PARAM_INDEX_CHNOISESUMSW, 1);
    remote(CH2, PARAM_INDEX_CHAMPLIMIT, 0);
    EXPECT_TRUE(entry(CH1, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_TRUE(entry(CH2, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_TRUE(pairEntry(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLSW)->mask);
    remote(CH1, PARAM_INDEX_CHNOISESUMSW, 0);
    EXPECT_FALSE(entry(CH1, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_FALSE(entry(CH2, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_FALSE(pairEntry(COUPLE12, PARAM_INDEX_CHCOUPLEAMPLSW)->mask);
    EXPECT_FALSE(entry(CH3, PARAM_INDEX_CHMERGE)->mask) << "the other pair is free";
}

TEST_F(Pairs, AmplitudeCouplingExcludesLimitNoiseSumAndMerge)
{
    remote(COUPLE34, PARAM_INDEX_CHCOUPLEAMPLSW, 1);
    for (CH_ID c : {CH3, CH4}) {
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHAMPLIMIT)->mask);
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHNOISESUMSW)->mask);
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHMERGE)->mask);
    }
    EXPECT_FALSE(entry(CH1, PARAM_INDEX_CHMERGE)->mask);
    remote(COUPLE34, PARAM_INDEX_CHCOUPLEAMPLSW, 0);
    for (CH_ID c : {CH3, CH4}) {
        EXPECT_FALSE(entry(c, PARAM_INDEX_CHAMPLIMIT)->mask);
        EXPECT_FALSE(entry(c, PARAM_INDEX_CHMERGE)->mask);
    }
}

TEST_F(Pairs, SyncOutputRunsAtTheModeRateHalvedAboveTheSquareBandwidth)
{
    remote(CH1, PARAM_INDEX_CHSWITCH, 1);
    remote(CH1, PARAM_INDEX_CHSYNCOUT, 1);
    EXPECT_EQ(ctrl->channelAt(CH3)->alterfun, int(CHANNEL_ALTERFUN_SYNCOUT));
    EXPECT_TRUE(entry(CH3, PARAM_INDEX_CHMERGE)->mask) << "a sync output cannot merge";

    // Sweep with the internal trigger: one sync pulse per sweep.
    Channel* c1 = ctrl->channelAt(CH1);
    rec(CH1).WorkMode = WORK_SCAN;
    rec(CH1).TrigerSource = TRIGSOURCE_INNER;
    c1->switchToScan(0);
    remote(CH1, PARAM_INDEX_SWEEPTIME, 0.25);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], 4);
    EXPECT_EQ(chValue(CH3, REG_PHASE_INC, 8), ref::inc64(4));

    rec(CH1).WorkMode = WORK_BASE;
    c1->switchToBase(BASE_Sine, 0);
    const double top = CSetParam::state.pCharacter[CH3].Bandwidth.freqSquare;
    ASSERT_GT(top, 0);
    remote(CH1, PARAM_INDEX_FREQ, top * 1.5);
    EXPECT_DOUBLE_EQ(sys_param::SyncFrequency[CH3], top * 0.75);
    EXPECT_EQ(chValue(CH3, REG_PHASE_INC, 8), ref::inc64(top * 0.75));
}

TEST_F(Pairs, ReferenceClockPhaseModeAndSeparatorAreAnsweredByTheController)
{
    fpga().clearWrites();
    remote(CH_SYS, PARAM_INDEX_SYSCLKOUT, 1);
    EXPECT_EQ(addresses(), QList<unsigned> {REG_CLK_SOURCE}) << "the clock output touches nothing else";
    EXPECT_EQ(value(REG_CLK_SOURCE, 1), 2u);

    fpga().clearWrites();
    remote(CH_SYS, PARAM_INDEX_SYSCLKSOURCE, 1);
    EXPECT_TRUE(ctrl->supervision().externalReferenceValid());
    EXPECT_EQ(value(REG_CLK_SOURCE, 1), 3u);
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0}));
    EXPECT_LT(lastWrite(REG_CLK_SOURCE), firstWrite(REG_SYNC_RESET)) << "the phases restart on the new clock";
    remote(CH_SYS, PARAM_INDEX_SYSCLKSOURCE, 0);
    EXPECT_FALSE(ctrl->supervision().externalReferenceValid());
    EXPECT_EQ(value(REG_CLK_SOURCE, 1), 2u);

    // Phase mode: the reset pulses only when synchronising.
    remote(CH_SYS, PARAM_INDEX_SYSPHASESYNC, 1);
    fpga().clearWrites();
    remote(CH_SYS, PARAM_INDEX_SYSPHASESYNC, 0);
    EXPECT_EQ(writesTo(REG_SYNC_RESET), 0);
    remote(CH_SYS, PARAM_INDEX_SYSPHASESYNC, 1);
    EXPECT_EQ(writesAt(REG_SYNC_RESET), (QList<uint64_t> {15, 0}));

    // Separator: every plain number is shown again, switches are not.
    QSignalSpy number(entry(CH2, PARAM_INDEX_FREQ), &channelModel::listvalueChanged);
    QSignalSpy ratio(pairEntry(COUPLE34, PARAM_INDEX_CHCOUPLEFREQRATE), &channelModel::listvalueChanged);
    QSignalSpy sw(entry(CH2, PARAM_INDEX_CHSWITCH), &channelModel::listvalueChanged);
    const int sep = int(sys_param::HWinfo.Separator);
    remote(CH_SYS, PARAM_INDEX_SYSSEPARATOR, sep == 0 ? 1 : 0);
    EXPECT_GE(number.count(), 1);
    EXPECT_GE(ratio.count(), 1);
    EXPECT_EQ(sw.count(), 0);
}

TEST_F(Pairs, StoredPhaseCouplingOfTheSecondPairMasksThePhaseModeAtStartUp)
{
    channelModel* mode = sysEntry(PARAM_INDEX_SYSPHASESYNC);
    mode->wmask(false);
    rec(CH3).ChCouplePhaseSW = true;
    ctrl->InitCoupleSetlist();
    EXPECT_TRUE(mode->mask);

    // The rebuilt entries still reach the pair's first channel.
    remote(COUPLE34, PARAM_INDEX_CHCOUPLEPHASERATE, 2);
    remote(CH3, PARAM_INDEX_PHASE, 15);
    EXPECT_NEAR(rec(CH4).Phase, 30, 1e-12);
}

TEST_F(Pairs, StoredPairStateIsAppliedWhenTheScreensAreUp)
{
    rec(CH1).ChCoupleAmplSW = true;
    rec(CH2).SyncOut = true;
    rec(CH1).ChCouplePhaseSW = true;
    sys_param::HWinfo.PhaseSyncType = false;
    ctrl->applyStoredPairState();
    EXPECT_EQ(ctrl->channelAt(CH4)->alterfun, int(CHANNEL_ALTERFUN_SYNCOUT));
    EXPECT_TRUE(entry(CH4, PARAM_INDEX_CHMERGE)->mask);
    EXPECT_TRUE(entry(CH3, PARAM_INDEX_CHMERGE)->mask);
    for (CH_ID c : {CH1, CH2}) {
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHAMPLIMIT)->mask);
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHNOISESUMSW)->mask);
        EXPECT_TRUE(entry(c, PARAM_INDEX_CHMERGE)->mask);
    }
    EXPECT_TRUE(sys_param::HWinfo.PhaseSyncType);
    EXPECT_TRUE(sysEntry(PARAM_INDEX_SYSPHASESYNC)->mask);
}
