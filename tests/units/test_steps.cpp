// Selected-digit moves and arrow/knob steps of the editing models.
#include <gtest/gtest.h>
#include "param/paramvalue.h"

namespace {

DataInfo freqInfo()
{
    DataInfo d {};
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
    EXPECT_EQ(sel, -7); // the unit
    EXPECT_TRUE(AddSelectBit(d, sel, false));
    EXPECT_EQ(sel, -6);
    // Plain numbers have no unit to select.
    d.UType = UintNum;
    d.MinBit = 0;
    sel = 0;
    EXPECT_FALSE(AddSelectBit(d, sel, true));
    EXPECT_EQ(sel, 0);
}

// AddF64Data(value, max, min, steps, selected digit, smallest digit): the
// value and selected digit after the step, and whether it changed.
TEST(ArrowSteps, StepsAtTheSelectedDigit)
{
    struct Row {
        double v, max, min;
        int steps, sel, minBit;
        bool changed;
        double after;
        int selAfter;
    };
    const Row rows[] = {
        {1234.5, 6e8, 1e-6, 3, 1, -6, true, 1264.5, 1},
        // Clamped to the range; at the limit nothing changes.
        {1234.5, 6e8, 1e-6, 9, 8, -6, true, 6e8, 8},
        {6e8, 6e8, 1e-6, 1, 8, -6, false, 6e8, 8},
        {0.5, 6e8, 1e-6, -1, 0, -6, true, 1e-6, 0},
        // Down at a leading 1 keeps the digit count (mirrored for negative
        // values stepping up); another leading digit steps plainly.
        {1000, 6e8, 1e-6, -1, 3, -6, true, 900, 2},
        {1500, 6e8, 1e-6, -1, 3, -6, true, 500, 2},
        {-1000, 10, -10000, 1, 3, -3, true, -900, 2},
        {2000, 6e8, 1e-6, -1, 3, -6, true, 1000, 3},
        // The unit selected: times or divided by ten while it stays in range.
        {5e7, 6e8, 1e-6, 1, -7, -6, true, 5e8, -7},
        {5e8, 6e8, 1e-6, 1, -7, -6, false, 5e8, -7},
        {5e8, 6e8, 1e-6, -1, -7, -6, true, 5e7, -7},
    };
    for (const Row& r : rows) {
        double v = r.v;
        int sel = r.sel;
        EXPECT_EQ(AddF64Data(v, r.max, r.min, r.steps, sel, r.minBit), r.changed) << r.v << " " << r.steps;
        EXPECT_DOUBLE_EQ(v, r.after) << r.v << " " << r.steps;
        EXPECT_EQ(sel, r.selAfter) << r.v << " " << r.steps;
    }
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
