// Vpp-to-Vrms ratios used by the tables and the noise sum.
#include <gtest/gtest.h>
#include <cmath>
#include "param/CUnit.h"

TEST(CUnit, ArbRatioIsTheMeasuredRmsOfTheTable)
{
    short sq[4] = {32767, -32767, 32767, -32767};
    CUnit::CalcVrmsRatioShort(CH3, sq, 4, 32767);
    EXPECT_DOUBLE_EQ(CUnit::GetArbVrms(CH3), 1.0);
    EXPECT_DOUBLE_EQ(CUnit::VppToVrmsRatio(CH3, BASE_Arb, 1e3), 0.5);
    short half[2] = {50, -50};
    CUnit::CalcVrmsRatioShort(CH3, half, 2, 100);
    EXPECT_DOUBLE_EQ(CUnit::GetArbVrms(CH3), 0.5);
    // A ratio that is not positive reads as 1.
    CUnit::SetArbVrms(CH3, 0);
    EXPECT_EQ(CUnit::GetArbVrms(CH3), 1.0);
}

TEST(CUnit, NoiseRatioBlendsTowardsTheNextRow)
{
    EXPECT_DOUBLE_EQ(CUnit::NoiseRatio(1e5), 2.597014925);
    // 5.5e5 falls to the 1e6 row: t = (1e6 - 5.5e5) / (1e7 - 1e6) = 0.05.
    const double t = 0.05;
    EXPECT_NEAR(CUnit::NoiseRatio(5.5e5), 2.592964824 * t + (1 - t) * 2.599009901, 1e-12);
    EXPECT_NEAR(CUnit::VppToVrmsRatio(CH1, BASE_Noise, 1e5), 1 / 2.597014925, 1e-12);
}
