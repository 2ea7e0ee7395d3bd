// Selected-digit moves and arrow/knob steps of the editing models.
#include <gtest/gtest.h>
#include "param/paramvalue.h"

namespace {

DataInfo freqInfo()
{
    DataInfo d{};
    d.HType = IsPlus;
    d.UType = UintFre;
    d.Min = 1e-6;
    d.Max = 6e8;
    d.Length = 20;
    d.MinBit = -6;
    d.MinStep = -6;
    return d;
}

TEST(DigitSelection, MovesWithinTheRangeAndRightPastTheEndSelectsTheUnit)
{
    DataInfo d = freqInfo();
    int sel = 8;
    // 10^9 > 6e8: no digit above the hundreds of megahertz.
    EXPECT_FALSE(AddSelectBit(d, sel, false));
    EXPECT_EQ(sel, 8);
    sel = 7;
    EXPECT_TRUE(AddSelectBit(d, sel, false));
    EXPECT_EQ(sel, 8);
    sel = -5;
    EXPECT_TRUE(AddSelectBit(d, sel, true));
    EXPECT_EQ(sel, -6);
    EXPECT_FALSE(AddSelectBit(d, sel, true));
    EXPECT_EQ(sel, -7);  // the unit
    EXPECT_TRUE(AddSelectBit(d, sel, false));
    EXPECT_EQ(sel, -6);
    // Plain numbers have no unit to select.
    d.UType = UintNum;
    d.MinBit = 0;
    sel = 0;
    EXPECT_FALSE(AddSelectBit(d, sel, true));
    EXPECT_EQ(sel, 0);
}

TEST(ArrowSteps, StepAtTheSelectedDigitClampedToTheRange)
{
    double v = 1234.5;
    int sel = 1;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, 3, sel, -6));
    EXPECT_DOUBLE_EQ(v, 1264.5);
    sel = 8;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, 9, sel, -6));
    EXPECT_DOUBLE_EQ(v, 6e8);
    EXPECT_FALSE(AddF64Data(v, 6e8, 1e-6, 1, sel, -6));
    v = 0.5;
    sel = 0;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, -1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 1e-6);
}

TEST(ArrowSteps, DownAtALeadingOneKeepsTheDigitCount)
{
    double v = 1000;
    int sel = 3;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, -1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 900);
    EXPECT_EQ(sel, 2);
    v = 1500;
    sel = 3;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, -1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 500);
    EXPECT_EQ(sel, 2);
    // Mirrored for negative values stepping up.
    v = -1000;
    sel = 3;
    EXPECT_TRUE(AddF64Data(v, 10, -10000, 1, sel, -3));
    EXPECT_DOUBLE_EQ(v, -900);
    // A leading digit other than 1 steps plainly.
    v = 2000;
    sel = 3;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, -1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 1000);
    EXPECT_EQ(sel, 3);
}

TEST(ArrowSteps, WithTheUnitSelectedTheValueScalesByTenWhenItStaysInRange)
{
    double v = 5e7;
    int sel = -7;
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, 1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 5e8);
    EXPECT_FALSE(AddF64Data(v, 6e8, 1e-6, 1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 5e8);
    EXPECT_TRUE(AddF64Data(v, 6e8, 1e-6, -1, sel, -6));
    EXPECT_DOUBLE_EQ(v, 5e7);
}

double g_value = 0;
double getV(CH_ID) { return g_value; }
int g_writes = 0;
void setV(CH_ID, double v)
{
    g_value = v;
    ++g_writes;
}

TEST(ArrowSteps, ParamValueAddWritesOnlyAChange)
{
    DataInfo d = freqInfo();
    d.GetValue = getV;
    d.SetValue = setV;
    g_value = 6e8;
    g_writes = 0;
    int sel = 0;
    EXPECT_FALSE(paramValueAdd(d, CH1, 1, sel));
    EXPECT_EQ(g_writes, 0);
    EXPECT_TRUE(paramValueAdd(d, CH1, -1, sel));
    EXPECT_EQ(g_writes, 1);
    EXPECT_DOUBLE_EQ(g_value, 6e8 - 1);
}

} // namespace
