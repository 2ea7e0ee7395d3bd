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
