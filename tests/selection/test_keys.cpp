// Front-panel keys and the knob on a channel's frequency entry.
#include <QSignalSpy>
#include <cmath>
#include "tests/selection/selection_fixture.h"

class Keys : public Selection {
protected:
    void SetUp() override
    {
        Selection::SetUp();
        ctrl->chSignalSelected(0, 0, BASE_Sine, true, BASE_Sine);
        settle();
        f = entry(0, PARAM_INDEX_FREQ);
        ASSERT_NE(f, nullptr);
        f->SetValue(1000, f->runit());
        ctrl->ChannelOnOff(CH1, true);
        settle();
        sys_param::SetSeparator(CH_SYS, 0);
    }
    channelModel* f = nullptr;
};

// The number with its unit button: Screens.EveryUnitButtonStoresTheUnitItShows.
TEST_F(Keys, TypedDigitsRefuseASecondPointAndAMinusOnAPositiveValue)
{
    EXPECT_EQ(f->onKeyEvent(Key_5, 0), QString());
    EXPECT_TRUE(f->rparamfocus());
    EXPECT_EQ(f->onKeyEvent(Key_Dot, 0), QString());
    EXPECT_EQ(f->onKeyEvent(Key_2, 0), QString());
    EXPECT_EQ(f->onKeyEvent(Key_Dot, 0), QString("error"));
    EXPECT_EQ(f->onKeyEvent(Key_Symbol, 0), QString("error"));
    EXPECT_EQ(f->rlistvalue(), QString("5.2"));
}

TEST_F(Keys, TypingIsLimitedToTheEntrysLengthAndBackspaceCanCancel)
{
    const int length = f->m_param->Length;
    ASSERT_GT(length, 0);
    for (int i = 0; i < length; ++i)
        ASSERT_EQ(f->onKeyEvent(Key_1, 0), QString()) << i;
    EXPECT_EQ(f->onKeyEvent(Key_1, 0), QString("error"));
    for (int i = 0; i < length - 1; ++i)
        ASSERT_EQ(f->onKeyEvent(Key_Backspace, 0), QString());
    EXPECT_EQ(f->onKeyEvent(Key_Backspace, 0), QString("quit"));
    EXPECT_DOUBLE_EQ(sys_param::ch(CH1).Frequency, 1000);
}

TEST_F(Keys, TheFirstOkOnlySelectsThenCancelLeaves)
{
    EXPECT_EQ(f->onKeyEvent(Key_Ok, 0), QString());
    EXPECT_TRUE(f->rparamfocus());
    EXPECT_DOUBLE_EQ(sys_param::ch(CH1).Frequency, 1000);
    EXPECT_EQ(f->onKeyEvent(Key_Cancel, 0), QString("quit"));
    EXPECT_FALSE(f->rparamfocus());
}
