// Remote values reach the parameter record and the FPGA through the editing
// models, as a front-panel entry would.
#include <QSignalSpy>
#include <cmath>
#include <limits>
#include "tests/selection/selection_fixture.h"

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
    ctrl->ui().mergeClick(0, true);
    EXPECT_EQ(sys_param::ch(CH1).ChMerge, 0);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips.at(0).at(1).toInt(), int(TIPS_CONFILICT_NOISESUM_AND_MERGE));
    sys_param::SetChNoiseSumSW(CH2, 0);
    ctrl->ui().mergeClick(0, true);
    EXPECT_EQ(sys_param::ch(CH1).ChMerge, 1);
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
