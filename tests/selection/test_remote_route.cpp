// Remote values reach the parameter record and the FPGA through the editing
// models, as a front-panel entry would.
#include <QSignalSpy>
#include <cmath>
#include <limits>
#include "tests/selection/selection_fixture.h"


TEST_F(Selection, RemoteFrequencyChangesTheRecordAndThePhaseIncrement)
{
    ctrl->chSignalSelected(0, 0, BASE_Sine, true, BASE_Sine);
    ctrl->ChannelOnOff(CH1, true);
    settle();
    emit ctrl->setValueCmd(0, PARAM_INDEX_FREQ, 1500);
    settle();
    EXPECT_DOUBLE_EQ(sys_param::ch(CH1).Frequency, 1500);
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(1500));
    emit ctrl->setValueCmd(0, PARAM_INDEX_FREQ, 2345.5);
    settle();
    EXPECT_EQ(chValue(CH1, REG_PHASE_INC, 8), ref::inc64(2345.5));
}

TEST_F(Selection, RemoteValuesOutsideTheRangeAreClampedAndNaNIsRefused)
{
    ctrl->chSignalSelected(2, 0, BASE_Sine, true, BASE_Sine);
    settle();
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    emit ctrl->setValueCmd(2, PARAM_INDEX_FREQ, 1e15);
    settle();
    channelModel* f = entry(2, PARAM_INDEX_FREQ);
    ASSERT_NE(f, nullptr);
    EXPECT_DOUBLE_EQ(sys_param::ch(CH3).Frequency, f->m_param->Max);
    EXPECT_LT(sys_param::ch(CH3).Frequency, 1e15);
    EXPECT_EQ(Sys_ErrorPop(), -801);
    EXPECT_GE(tips.count(), 1);
    EXPECT_EQ(tips.at(0).at(1).toInt(), int(TIPS_OUT_OF_RANGE));

    const double before = sys_param::ch(CH3).Frequency;
    emit ctrl->setValueCmd(2, PARAM_INDEX_FREQ, std::numeric_limits<double>::quiet_NaN());
    settle();
    EXPECT_DOUBLE_EQ(sys_param::ch(CH3).Frequency, before);
    EXPECT_EQ(Sys_ErrorPop(), -801);
    EXPECT_TRUE(std::isfinite(sys_param::ch(CH3).Frequency));
}

TEST_F(Selection, CouplingTargetsOnlyTakeCouplingIndices)
{
    const double before = sys_param::ch(CH1).Frequency;
    emit ctrl->setValueCmd(COUPLE12, PARAM_INDEX_FREQ, 77);
    emit ctrl->setValueCmd(9, PARAM_INDEX_FREQ, 77);
    settle();
    EXPECT_DOUBLE_EQ(sys_param::ch(CH1).Frequency, before);
}

TEST_F(Selection, ModelLookUpTakesTheChannelsListAndRefusesOtherLists)
{
    channelModel* f = ctrl->GetChModelFormIndex(CH2, PARAM_INDEX_FREQ);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ch, CH2);
    EXPECT_EQ(f->paramindex, int(PARAM_INDEX_FREQ));
    EXPECT_EQ(ctrl->GetChModelFormIndex(CH_ID(42), PARAM_INDEX_FREQ), nullptr);
    EXPECT_EQ(ctrl->GetChModelFormIndex(CH1, 5000), nullptr);
}

TEST_F(Selection, OnOffGoesThroughTheSwitchEntry)
{
    ctrl->ChannelOnOff(CH2, true);
    settle();
    EXPECT_TRUE(sys_param::OnOff[CH2]);
    EXPECT_EQ(chValue(CH2, REG_OUTPUT, 1), 1u);
    ctrl->ChannelOnOff(CH2, false);
    settle();
    EXPECT_FALSE(sys_param::OnOff[CH2]);
}

TEST_F(Selection, CopyTakesThePartnersSettingsAndKeepsTheOwnOutputState)
{
    sys_param::ch(CH4).Frequency = 12345;
    sys_param::OnOff[CH3] = true;
    sys_param::OnOff[CH4] = false;
    ctrl->channalCopy(CH3);
    settle();
    EXPECT_DOUBLE_EQ(sys_param::ch(CH3).Frequency, 12345);
    EXPECT_TRUE(sys_param::OnOff[CH3]);
}

TEST_F(Selection, MergeIsRefusedWhileThePairAddsNoise)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    sys_param::SetChNoiseSumSW(CH2, 1);
    ctrl->uidata.mergeClick(0, true);
    EXPECT_EQ(sys_param::ch(CH1).ChMerge, 0);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips.at(0).at(1).toInt(), int(TIPS_CONFILICT_NOISESUM_AND_MERGE));
    sys_param::SetChNoiseSumSW(CH2, 0);
    ctrl->uidata.mergeClick(0, true);
    EXPECT_EQ(sys_param::ch(CH1).ChMerge, 1);
}

TEST_F(Selection, EachPairShowsNineCouplingEntriesByItsTypes)
{
    sys_param::SetChCoupleFreqType(COUPLE12, 0);  // ratio
    ctrl->UpdateCoupleSetList(COUPLE12);
    auto indices = [&] {
        QList<int> out;
        for (const QVariant& v : ctrl->uidata.ch12CoupleSetList)
            out.append(qobject_cast<channelModel*>(v.value<QObject*>())->paramindex);
        return out;
    };
    QList<int> l = indices();
    EXPECT_EQ(l.size(), 9);
    EXPECT_TRUE(l.contains(PARAM_INDEX_CHCOUPLEFREQRATE));
    EXPECT_FALSE(l.contains(PARAM_INDEX_CHCOUPLEFREQDEV));
    sys_param::SetChCoupleFreqType(COUPLE12, 1);  // deviation
    ctrl->UpdateCoupleSetList(COUPLE12);
    l = indices();
    EXPECT_EQ(l.size(), 9);
    EXPECT_FALSE(l.contains(PARAM_INDEX_CHCOUPLEFREQRATE));
    EXPECT_TRUE(l.contains(PARAM_INDEX_CHCOUPLEFREQDEV));
}

TEST_F(Selection, RemoteCouplingAndSystemValuesReachTheirModels)
{
    emit ctrl->setValueCmd(COUPLE34, PARAM_INDEX_CHCOUPLEAMPLRATE, 2.5);
    settle();
    EXPECT_DOUBLE_EQ(sys_param::GetChCoupleAmplRate(COUPLE34), 2.5);
    emit ctrl->setValueCmd(CH_SYS, PARAM_INDEX_SYSBEEP, 0);
    settle();
    EXPECT_EQ(sys_param::GetBeep(CH_SYS), 0.0);
    emit ctrl->setValueCmd(CH_SYS, PARAM_INDEX_SYSBEEP, 1);
    settle();
    EXPECT_EQ(sys_param::GetBeep(CH_SYS), 1.0);
}
